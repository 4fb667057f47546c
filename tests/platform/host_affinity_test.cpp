#include "platform/host_affinity.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorone::platform {
namespace {

// A script of opens ('+') and ends ('-') of transfers to hosts, with the
// worker each open must get.
struct Step {
    char op;
    std::string host;
    bool pinned;
    int worker; // for '+': the expected worker; for '-': the worker it ran on
};

TEST(HostAffinity, TransfersGoWhereTheirHostHasAnIdleConnection)
{
    const struct {
        const char* name;
        std::vector<Step> steps;
    } scripts[] = {
        { "one after the other stays on one worker",
            { { '+', "a", false, 0 }, { '-', "a", false, 0 }, { '+', "a", false, 0 }, { '-', "a", false, 0 },
                { '+', "a", false, 0 } } },
        { "at once they spread, then reuse the workers that opened connections",
            { { '+', "a", false, 0 }, { '+', "a", false, 1 }, { '+', "a", false, 2 }, { '-', "a", false, 1 },
                { '+', "a", false, 1 }, { '-', "a", false, 0 }, { '-', "a", false, 2 }, { '+', "a", false, 0 },
                { '+', "a", false, 2 }, { '+', "a", false, 3 } } },
        { "a pinned host keeps one worker however many run",
            { { '+', "s", true, 0 }, { '+', "s", true, 0 }, { '+', "a", false, 1 }, { '+', "s", true, 0 },
                { '-', "s", true, 0 }, { '+', "s", false, 0 } } },
        { "a host pinned later keeps the worker with the most connections",
            { { '+', "b", false, 0 }, { '+', "a", false, 1 }, { '+', "c", false, 2 }, { '+', "d", false, 3 },
                { '+', "e", false, 0 }, { '+', "a", false, 1 }, { '+', "a", true, 1 } } },
    };
    for (const auto& script : scripts) {
        SCOPED_TRACE(script.name);
        HostAffinity affinity(4);
        for (size_t i = 0; i < script.steps.size(); ++i) {
            const Step& s = script.steps[i];
            if (s.op == '+')
                EXPECT_EQ(affinity.Choose(s.host, s.pinned), s.worker) << "step " << i;
            else
                affinity.Release(s.host, s.worker);
        }
    }
}

TEST(HostAffinity, HostKeysNameSchemeHostAndPort)
{
    const struct {
        const char* url;
        const char* key;
    } cases[] = {
        { "http://Example.com/a/b.html", "http://example.com:80" },
        { "https://example.com/x?y#z", "https://example.com:443" },
        { "http://[::1]:81/", "http://[::1]:81" },
        { "not a url", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(HostKeyOf(c.url), c.key) << c.url;
}

} // namespace
} // namespace zorone::platform
