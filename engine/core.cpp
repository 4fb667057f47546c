#include "engine/core.h"

#include "engine/classic_rules.h"
#include "engine/today_rules.h"
#include "res/texts.h"

namespace zorone {

Core::Core(platform::MessageLoop& l, platform::UiServices& u, platform::UrlService* s)
    : loop(l)
    , ui(u)
    , urls(s)
    , classicRules(std::make_unique<ClassicRules>())
    , todayRules(std::make_unique<TodayRules>())
    , robots([&l] {
        if (!l.IsPending(platform::kWmCrawlNext))
            l.Post({platform::kWmCrawlNext, 0, 0, {}});
    })
{
    window.statusText = res::kFullColon;
    window.startCaption = res::kCaptionStart;
    window.title = res::kAppTitle;
    window.trayTip = res::kTrayTip;
}

Core::~Core() = default;

WebRules& RulesOf(const Core& core)
{
    return core.settings.m_nWebRules == 1 ? *core.todayRules : *core.classicRules;
}

} // namespace zorone
