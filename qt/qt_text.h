#pragma once
// The window's text boundary: CP932 inside Zorone, QString in Qt.
#include <QString>

#include <string>
#include <string_view>

namespace zorone::qt {

QString ToQt(std::string_view cp932);
std::string FromQt(const QString& text);

// Multi-line texts are kept with CR LF inside; Qt's widgets want LF only.
QString ToQtLines(std::string_view cp932);
// And back: every line break becomes CR LF.
std::string FromQtLines(const QString& text);

} // namespace zorone::qt
