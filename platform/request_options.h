#pragma once
// What every request of a crawl carries besides its URL: the User-Agent, the
// user's extra headers and the cookies to start from. Texts are checked
// here, before anything is sent, so a header can never smuggle a line break
// into a request.
#include <string>
#include <string_view>
#include <vector>

namespace zorone::platform {

struct RequestOptions {
    // Empty: the service's own, which names Zorone and its version.
    std::string userAgent;
    // "Name: value" lines, each accepted by CheckHeaderLine.
    std::vector<std::string> headers;
    // A Netscape/Mozilla cookies.txt (CP932 path) loaded into the cookie jar
    // before the first request; empty for none.
    std::string cookieFile;
};

// Why line is no request header ("Name: value", the name an HTTP token, no
// CR, LF or zero byte anywhere), or "" when it is one. The value is never
// quoted back: it may be a secret.
std::string CheckHeaderLine(std::string_view line);
// Why text cannot be a User-Agent (a control byte, CR and LF included), or "".
std::string CheckUserAgent(std::string_view text);
// Why the cookies file cannot be read (missing, a folder, no permission), or
// "". The transfer library would ignore such a file without a word.
// Reasons hold the path as given (CP932), as every text inside does.
std::string CheckCookieFile(const std::string& path);
// Every problem of options at once, one a line; "" when there is none.
std::string CheckRequestOptions(const RequestOptions& options);

// The header lines of a multi-line text (the profile keeps them one a line):
// blank lines dropped, CR LF and LF both ending a line.
std::vector<std::string> SplitHeaderLines(std::string_view text);

} // namespace zorone::platform
