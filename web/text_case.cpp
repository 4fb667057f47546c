#include "web/text_case.h"

#include "platform/code_page.h"

namespace zorone {

void MakeLowerCp932(std::string& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (platform::IsLeadByte(c))
            ++i;
        else if (c >= 'A' && c <= 'Z')
            text[i] = static_cast<char>(c + ('a' - 'A'));
    }
}

std::string ToLowerCp932(std::string_view text)
{
    std::string s(text);
    MakeLowerCp932(s);
    return s;
}

} // namespace zorone
