#pragma once
// The end of a crawl that rewrites links: every page and style sheet the
// crawl stored is converted for offline reading (see web/today_converter.h),
// a slice at a time on the user-interface thread so that the window keeps
// answering, and the crawl's report follows when the last one is done.
#include "engine/core.h"

namespace zorone {

// Whether the crawl that is ending has documents to convert.
bool LinkConversionPending(const Core& core);

// Starts converting the documents of core.storedThisCrawl; FinishCrawl is
// called again once every one is converted (or could not be).
void StartLinkConversion(Core& core);

} // namespace zorone
