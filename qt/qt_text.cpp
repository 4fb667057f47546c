#include "qt/qt_text.h"

#include "platform/code_page.h"

namespace zorone::qt {

QString ToQt(std::string_view cp932)
{
    const std::string utf8 = platform::Cp932ToUtf8(cp932);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQt(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    return platform::Utf8ToCp932(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

QString ToQtLines(std::string_view cp932)
{
    QString text = ToQt(cp932);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

std::string FromQtLines(const QString& text)
{
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return FromQt(lines);
}

} // namespace zorone::qt
