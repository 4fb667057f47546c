#include "res/main_dialog.h"

#include "res/texts.h"

namespace zorone::res {
namespace {

using K = ControlKind;

// Creation order is tab order.
const DialogControl kMainControls[] = {
    { kStaticId, K::Label, &kLabelUrl, 3, 7, 30, 8 },
    { 1047, K::ComboSorted, nullptr, 43, 5, 195, 13 },
    { kStaticId, K::Label, &kLabelFolder, 3, 22, 38, 8 },
    { 1046, K::ComboUnsorted, nullptr, 43, 20, 160, 13 },
    { 1001, K::Button, &kCaptionBrowse, 205, 20, 33, 13 },
    { kStaticId, K::Label, &kLabelList, 3, 42, 110, 8 },
    { 1003, K::Button, &kCaptionStart, 136, 38, 44, 14 },
    { 1007, K::Button, &kCaptionClear, 190, 38, 44, 14 },
    { 1004, K::ListView, nullptr, 3, 54, 236, 146 },
    { 1011, K::SummaryEdit, nullptr, 3, 203, 236, 46 },
    { 1009, K::Label, &kLabelStatus, 0, 255, 20, 8 },
    { 1008, K::ProgressBar, nullptr, 21, 255, 52, 8 },
    { 1012, K::Label, &kFullColon, 75, 255, 164, 8 },
};

const DialogTemplate kMain { 102, &kAppTitle, 242, 263, kMainControls };

} // namespace

const DialogTemplate& MainDialog()
{
    return kMain;
}

} // namespace zorone::res
