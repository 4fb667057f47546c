#pragma once
// "ナン・ゾロネ？": the lifetime download counter as a rank title.
#include "engine/core.h"

#include <string>

namespace zorone {

// The rank title of a lifetime count; negative counts and counts from
// 1000000000 on are "測定不能".
const std::string& RankTitle(int totalDownloads);

// 32776: the count in the text, its rank in the title, an OK button.
void ShowStatistics(Core& core);

} // namespace zorone
