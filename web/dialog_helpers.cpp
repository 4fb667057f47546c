#include "web/dialog_helpers.h"

#include "res/texts.h"

namespace zorone::CSiteUtil {

std::string BrowseForFolder(platform::UiServices& ui, const std::string& /*current*/)
{
    std::string folder = ui.PickFolder(res::kTitleBrowseFolder);
    if (folder.empty())
        return folder;
    if (folder.back() != '/' && folder.back() != '\\')
        folder += '/';
    return folder;
}

std::string AskOpenFileName(platform::UiServices& ui, const std::string& defaultName, const std::string& filter)
{
    std::string path = ui.PickOpenFile(defaultName, filter);
    return path.empty() ? defaultName : path;
}

std::string AskSaveFileName(platform::UiServices& ui, const std::string& defaultExtension, const std::string& filter)
{
    std::string path = ui.PickSaveFile(defaultExtension, filter);
    return path.empty() ? defaultExtension : path;
}

} // namespace zorone::CSiteUtil
