#include "engine/today_file_record.h"

#include "platform/code_page.h"
#include "web/file_text.h"
#include "web/local_path.h"

namespace zorone {

void FileRecord::Open(const std::string& folder)
{
    if (folder == m_folder)
        return;
    m_folder = folder;
    m_files.clear();
    m_urls.clear();
    const std::string text = CSiteUtil::LoadFileText(folder + std::string(kFileName));
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line = std::string_view(text).substr(start, end - start);
        const size_t tab = line.find('\t');
        if (tab != std::string_view::npos && tab > 0 && tab + 1 < line.size())
            Remember(std::string(line.substr(0, tab)), platform::Utf8ToCp932(line.substr(tab + 1)));
        start = end + 1;
    }
}

void FileRecord::Note(const std::string& url, const std::string& file)
{
    const auto known = m_files.find(url);
    if (known != m_files.end() && known->second == file)
        return;
    Remember(url, file);
    CSiteUtil::AppendFileText(m_folder + std::string(kFileName), url + "\t" + platform::Cp932ToUtf8(file) + "\n");
}

void FileRecord::Remember(const std::string& url, const std::string& file)
{
    // Addresses are ASCII without blanks; a line that says otherwise was not
    // written here.
    if (url.find_first_of("\t\r\n ") != std::string::npos || file.find_first_of("\t\r\n") != std::string::npos)
        return;
    m_files[url] = file;
    m_urls[file] = url;
}

const std::string* FileRecord::FileOf(const std::string& url) const
{
    const auto found = m_files.find(url);
    return found == m_files.end() ? nullptr : &found->second;
}

const std::string* FileRecord::UrlOf(const std::string& file) const
{
    const auto found = m_urls.find(file);
    return found == m_urls.end() ? nullptr : &found->second;
}

} // namespace zorone
