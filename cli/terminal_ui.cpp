#include "cli/terminal_ui.h"

#include "platform/code_page.h"
#include "res/texts.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cstdio>

namespace zorone::cli {
namespace {

constexpr auto kRenderInterval = std::chrono::milliseconds(100);

// The longest start of a UTF-8 text that fits the columns; Japanese text is
// double width (half-width katakana counted double too: close enough).
std::string CutToWidth(const std::string& utf8, int columns)
{
    int width = 0;
    size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        const size_t len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        const int w = c < 0x80 ? 1 : c >= 0xE0 ? 2 : 1;
        if (width + w > columns)
            break;
        width += w;
        i += len;
    }
    return utf8.substr(0, i);
}

} // namespace

TerminalUi::TerminalUi(bool quiet)
    : m_quiet(quiet)
    , m_tty(::isatty(STDERR_FILENO) == 1)
{
    winsize ws {};
    if (m_tty && ::ioctl(STDERR_FILENO, TIOCGWINSZ, &ws) == 0 && ws.ws_col > 10)
        m_columns = ws.ws_col;
}

platform::MbAnswer TerminalUi::MessageBox(const std::string& text, const std::string& caption,
                                          platform::MbButtons buttons)
{
    // The report at the end of a crawl is the program's result: stdout.
    // Everything else is said on stderr; questions are answered with their
    // safe default, and a quiet run keeps them to itself.
    const bool report = caption == res::kCaptionReport;
    const bool question = buttons != platform::MbButtons::Ok;
    if (!(m_quiet && question)) {
        ClearLine();
        const std::string line = platform::Cp932ToUtf8(caption) + ": " + platform::Cp932ToUtf8(text) + "\n";
        std::fputs(line.c_str(), report ? stdout : stderr);
        std::fflush(report ? stdout : stderr);
    }
    switch (buttons) {
    case platform::MbButtons::Ok:
        return platform::MbAnswer::Ok;
    case platform::MbButtons::YesNo:
        return platform::MbAnswer::No;
    case platform::MbButtons::YesNoCancel:
        break;
    }
    return platform::MbAnswer::Cancel;
}

void TerminalUi::OnWindowChanged(WindowPart part)
{
    if (part == WindowPart::Status || part == WindowPart::Title)
        Render(false);
}

std::string TerminalUi::StatusLine() const
{
    if (!m_window)
        return {};
    std::string head;
    if (m_window->title.compare(0, res::kTitlePrefix.size(), res::kTitlePrefix) == 0)
        head = m_window->title.substr(res::kTitlePrefix.size());
    int done = 0;
    int listed = 0;
    std::sscanf(head.c_str(), "%d/%d", &done, &listed);
    std::string bar = "[";
    constexpr int kBar = 20;
    const int filled = listed > 0 ? static_cast<int>(static_cast<long long>(done) * kBar / listed) : 0;
    for (int i = 0; i < kBar; ++i)
        bar += i < filled ? '#' : '-';
    bar += "] ";
    return bar + head + " " + platform::Cp932ToUtf8(m_window->statusText);
}

void TerminalUi::Render(bool force)
{
    if (m_quiet || !m_window)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && now - m_lastRender < kRenderInterval)
        return;
    m_lastRender = now;
    const std::string line = StatusLine();
    if (m_tty) {
        std::fprintf(stderr, "\r\033[K%s", CutToWidth(line, m_columns - 1).c_str());
        m_lineShown = true;
    } else if (line != m_lastPrinted) {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
    m_lastPrinted = line;
    std::fflush(stderr);
}

void TerminalUi::ClearLine()
{
    if (m_tty && m_lineShown) {
        std::fputs("\r\033[K", stderr);
        m_lineShown = false;
    }
}

void TerminalUi::Flush()
{
    Render(true);
    if (m_tty && m_lineShown) {
        std::fputc('\n', stderr);
        m_lineShown = false;
    }
    std::fflush(stderr);
}

void TerminalUi::Error(const std::string& utf8Line)
{
    ClearLine();
    std::fprintf(stderr, "%s\n", utf8Line.c_str());
    std::fflush(stderr);
}

} // namespace zorone::cli
