#pragma once
// Link conversion for an offline copy: every reference of a stored page or
// style sheet is rewritten so that the copy, opened from disk, finds its own
// files, and everything it did not store still works online. Only the bytes
// of references change; the rest of the document stays as it was.
#include "web/today_scanner.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorone::today {

// What a stored file is read as: a page (HTML, XHTML, SVG), a style sheet,
// or neither. The answer's Content-Type decides; a file without one (found
// on disk, fetched by ftp) goes by its extension.
std::optional<DocKind> DocumentKindOf(std::string_view contentType, std::string_view localPath);

// What the mirror holds: the stored file of a normalised URL.
class StoredFiles {
public:
    virtual ~StoredFiles() = default;
    // The file's path below the download folder (CP932, "/" separators), or
    // null when the URL has no stored file.
    virtual const std::string* FileOf(const std::string& url) const = 0;
};

struct ConvertedDocument {
    // One rewritten reference: the range [offset, offset + length) of the
    // old document became written bytes of the new one.
    struct Edit {
        std::size_t offset = 0;
        std::size_t length = 0;
        std::size_t written = 0;
    };

    std::string bytes;
    std::vector<Edit> edits;
    // References rewritten to a stored file, and to an absolute address.
    int toFiles = 0;
    int toNetwork = 0;
};

// docUrl: the normalised address the document came from; docFile: its own
// path below the download folder. A reference to a stored file becomes the
// relative path from docFile to it, a reference to anything else its
// absolute URL; fragments are kept, and a <base href> is pointed at the
// document itself so relative paths stay relative to its file. References
// that are not web links (mailto:, javascript:, a lone "#x") are left alone.
ConvertedDocument ConvertDocument(std::string_view bytes, DocKind kind, std::string_view charset,
                                  const std::string& docUrl, const std::string& docFile, const StoredFiles& files);

// The relative reference from the file fromFile to the file toFile, both
// paths below the same folder (CP932, "/" separators), written as a browser
// opening fromFile under file:// resolves it: each name as its UTF-8 bytes
// on disk, everything but letters, digits and "-._~@=" percent-escaped.
std::string RelativeReference(std::string_view fromFile, std::string_view toFile);

} // namespace zorone::today
