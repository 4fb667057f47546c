#include "app/statistics.h"

#include "res/texts.h"

namespace zorone {
namespace {

struct Rank {
    int below; // the rank holds counts from the previous row's bound up to this
    const std::string& title;
};

// Replaces the first occurrence of a printf placeholder. The texts are CP932,
// whose trail bytes never equal '%', so a byte search is safe.
std::string Fill(const std::string& format, std::string_view placeholder, const std::string& value)
{
    std::string out = format;
    const size_t at = out.find(placeholder);
    if (at != std::string::npos)
        out.replace(at, placeholder.size(), value);
    return out;
}

} // namespace

const std::string& RankTitle(int totalDownloads)
{
    static const Rank kRanks[] = {
        { 100, res::kRankTester },
        { 1000, res::kRankBeginner },
        { 10000, res::kRankOrdinary },
        { 50000, res::kRankRough },
        { 100000, res::kRankManiac },
        { 1000000, res::kRankMasterManiac },
        { 10000000, res::kRankMaster },
        { 100000000, res::kRankGod },
        { 1000000000, res::kRankMonkey },
    };
    if (totalDownloads < 0)
        return res::kRankUnmeasurable;
    for (const Rank& r : kRanks) {
        if (totalDownloads < r.below)
            return r.title;
    }
    return res::kRankUnmeasurable;
}

void ShowStatistics(Core& core)
{
    const int n = core.settings.m_nTotalDownloadCount;
    core.ui.MessageBox(Fill(res::kMsgTotalDownloads, "%d", std::to_string(n)),
        Fill(res::kCaptionRank, "%s", RankTitle(n)), platform::MbButtons::Ok);
}

} // namespace zorone
