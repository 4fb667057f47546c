#include "engine/core.h"

#include "res/texts.h"

namespace zorone {

Core::Core(platform::MessageLoop& l, platform::UiServices& u, platform::UrlService* s)
    : loop(l)
    , ui(u)
    , urls(s)
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

} // namespace zorone
