#pragma once
// Which file holds which address, for today's rules: kept in memory for the
// session and in a small record in the download folder, so that a later
// crawl, another process included, knows where every stored URL went and
// which URL a stored file came from (a converted page links to files, not
// addresses). One "URL<TAB>path" line per stored file, path below the
// download folder in UTF-8; later lines win.
#include <string>
#include <string_view>
#include <unordered_map>

namespace zorone {

class FileRecord {
public:
    // The record's name in the download folder.
    static constexpr std::string_view kFileName = ".zorone-files";

    // Makes folder (CP932, ending in "/") the download folder of the record,
    // reading what an earlier crawl recorded there; the same folder again
    // keeps what is known.
    void Open(const std::string& folder);

    // Notes that url's body is at file (CP932, below the folder), in memory
    // and at the end of the record. A record that cannot be written costs
    // only the knowledge a later process would have had.
    void Note(const std::string& url, const std::string& file);

    // The file of url, or null; the URL a file came from, or null.
    const std::string* FileOf(const std::string& url) const;
    const std::string* UrlOf(const std::string& file) const;

    const std::unordered_map<std::string, std::string>& Files() const { return m_files; }

private:
    void Remember(const std::string& url, const std::string& file);

    std::string m_folder;
    std::unordered_map<std::string, std::string> m_files;
    std::unordered_map<std::string, std::string> m_urls;
};

} // namespace zorone
