#pragma once
// A core with nothing to fetch and nobody to answer, for fuzz targets that
// feed the engine's readers. Built once per process: constructing one per
// input would slow the fuzzer down for nothing.
#include "engine/core.h"
#include "platform/headless_loop.h"
#include "platform/headless_ui.h"
#include "settings/settings.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace zorone::fuzz {

struct FuzzCore {
    FuzzCore()
        : core(loop, ui, nullptr)
    {
        core.settings = DefaultSettings("/nonexistent/zorone-fuzz/");
        core.settings.m_sPath = "/nonexistent/zorone-fuzz/dl/";
        core.settings.m_sTopURL = "http://example.test/dir/top.html";
    }
    platform::HeadlessLoop loop;
    platform::HeadlessUi ui;
    Core core;
};

inline std::string_view AsText(const std::uint8_t* data, std::size_t size)
{
    return { reinterpret_cast<const char*>(data), size };
}

// A broken property is a finding like a crash: abort so the fuzzer keeps
// the input.
inline void Require(bool property)
{
    if (!property)
        std::abort();
}

} // namespace zorone::fuzz
