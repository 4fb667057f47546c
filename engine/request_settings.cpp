#include "engine/request_settings.h"

#include "engine/core.h"

namespace zorone {

platform::RequestOptions RequestOptionsOf(const Settings& settings)
{
    platform::RequestOptions o;
    o.userAgent = settings.m_sUserAgent;
    o.headers = platform::SplitHeaderLines(settings.m_sHeaders);
    o.cookieFile = settings.m_sCookieFile;
    return o;
}

std::string ApplyRequestSettings(Core& core)
{
    const platform::RequestOptions options = RequestOptionsOf(core.settings);
    if (std::string why = platform::CheckRequestOptions(options); !why.empty())
        return why;
    return core.urls ? core.urls->SetRequestOptions(options) : std::string();
}

} // namespace zorone
