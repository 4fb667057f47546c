#pragma once
// Finds the links of one document: a single pass over its bytes, with no HTML
// parsing, that reads the value after every "name=" whose name is one of the
// configured attribute names, and turns each usable value into an absolute
// URL. Status, progress and the add step belong to the caller.
#include <string>
#include <string_view>

namespace zorone {

// Receives the links in document order.
class LinkSink {
public:
    virtual ~LinkSink() = default;
    // url is absolute ("http://" or "ftp://"); query and fragment are still
    // on it.
    virtual void OnLink(std::string url) = 0;

    enum class Dropped {
        OtherScheme, // mailto:, javascript:, file:, data: and the like
        Unusable,    // a value that makes no address
    };
    // A value that is no link to fetch, as it stood in the document; links
    // to a place in the same page ("#top") are no link at all and never come
    // here.
    virtual void OnDropped(std::string_view value, Dropped why)
    {
        (void)value;
        (void)why;
    }
};

// folderUrl: the document's folder (GetUrlFolder of its URL), which relative
// links are resolved against. tags: the comma-separated attribute names
// ("href,background,src"), compared without ASCII case. A value still open at
// the end of the text is dropped. Allocates per link found, not per byte.
void ScanLinks(std::string_view folderUrl, std::string_view text, std::string_view tags, LinkSink& sink);

} // namespace zorone
