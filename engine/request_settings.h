#pragma once
// The request settings (cookies file, User-Agent, extra headers) handed to
// the URL service at the start of a crawl.
#include "platform/request_options.h"
#include "settings/settings.h"

#include <string>

namespace zorone {

struct Core;

platform::RequestOptions RequestOptionsOf(const Settings& settings);

// Gives the URL service the settings' request options and loads the
// cookies file. The reason when they cannot be used (a header that is none,
// an unreadable cookies file), else "".
std::string ApplyRequestSettings(Core& core);

} // namespace zorone
