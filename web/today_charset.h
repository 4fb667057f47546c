#pragma once
// Charset names and the conversion of reference texts to UTF-8.
#include <string>
#include <string_view>

namespace zorone::today {

// The lower-case canonical name of a charset label ("Shift-JIS", "x-sjis",
// "Windows-31J" -> "shift_jis"; "ISO-8859-1", "us-ascii" -> "windows-1252",
// as browsers read them); an unknown label lower-cased and trimmed; "" for a
// text that cannot be a label (other than letters, digits and "-_.:", or
// longer than 40 bytes).
std::string CanonicalCharset(std::string_view label);

// The canonical charset named by "charset=" in a Content-Type value ("text/html;
// charset=EUC-JP"), or "".
std::string CharsetFromContentType(std::string_view content);

// In a double-byte charset the second byte of a character can be "\" (0x5C),
// which CSS would otherwise read as an escape.
enum class LeadBytes {
    None,
    ShiftJis, // 0x81-0x9F and 0xE0-0xFC start two bytes
    Wide,     // GBK, GB18030, Big5: 0x81-0xFE
};

// Converts the raw text of references of one document to UTF-8. Text that is
// all ASCII (without the escapes of ISO-2022) is taken as it is; only a text
// with other bytes reaches a converter. An iconv converter is opened at the first such text and kept for
// the document.
class TextDecoder {
public:
    explicit TextDecoder(std::string_view charset);
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    // False for UTF-16, whose markup cannot be read byte by byte.
    bool AsciiCompatible() const { return m_kind != Kind::Utf16; }
    // How the bytes of region (style sheet text) pair up.
    LeadBytes LeadBytesOf(std::string_view region) const;
    // raw as UTF-8; bytes that cannot be converted are kept for FinishLink to
    // replace.
    std::string ToUtf8(std::string_view raw);

private:
    enum class Kind { Utf8, Guess, ShiftJis, Iconv, Utf16 };
    std::string IconvToUtf8(std::string_view raw);

    Kind m_kind = Kind::Guess;
    std::string m_charset;
    LeadBytes m_lead = LeadBytes::None;
    // ISO-2022 text is all 7-bit bytes: an escape, not a high byte, tells
    // that it holds more than ASCII.
    bool m_escapeCoded = false;
    void* m_iconv = nullptr; // iconv_t, opened on first use
    bool m_iconvFailed = false;
};

} // namespace zorone::today
