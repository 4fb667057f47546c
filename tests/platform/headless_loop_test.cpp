#include "platform/headless_loop.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace zorone::platform {
namespace {

TEST(HeadlessLoop, DispatchesInOrderAndReportsPendingWithoutRemoving)
{
    HeadlessLoop loop;
    std::vector<unsigned> seen;
    loop.SetHandler([&](const Message& m) { seen.push_back(m.id); });
    loop.Post({kWmCrawlNext, 0, 0, {}});
    loop.PostTask([&] { seen.push_back(1); });
    EXPECT_TRUE(loop.IsPending(kWmCrawlNext));
    EXPECT_TRUE(loop.IsPending(kWmCrawlNext)); // still there
    EXPECT_FALSE(loop.IsPending(kWmCrawlKick));
    EXPECT_TRUE(loop.DispatchOne());
    EXPECT_FALSE(loop.IsPending(kWmCrawlNext));
    EXPECT_TRUE(loop.DispatchOne());
    EXPECT_FALSE(loop.DispatchOne());
    EXPECT_EQ(seen, (std::vector<unsigned> {kWmCrawlNext, 1}));
}

TEST(HeadlessLoop, RunsUntilQuitWithPostsFromOtherThreads)
{
    HeadlessLoop loop;
    int count = 0;
    std::thread poster([&] {
        for (int i = 0; i < 100; ++i)
            loop.PostTask([&] { ++count; });
        loop.PostTask([&] { loop.Quit(7); });
    });
    EXPECT_EQ(loop.Run(), 7);
    poster.join();
    EXPECT_EQ(count, 100);
}

TEST(HeadlessLoop, NestedDispatchFromInsideAHandler)
{
    HeadlessLoop loop;
    std::vector<int> order;
    loop.PostTask([&] {
        order.push_back(1);
        loop.DispatchOne(); // like a long operation keeping the window alive
        order.push_back(3);
    });
    loop.PostTask([&] { order.push_back(2); });
    loop.DispatchPending();
    EXPECT_EQ(order, (std::vector<int> {1, 2, 3}));
}

} // namespace
} // namespace zorone::platform
