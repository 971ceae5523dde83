#pragma once

// The one crossing between the core's Windows-1252 bytes and Qt's text.

#include <QString>

#include <string>
#include <string_view>

namespace ry {

QString ToQt(std::string_view cp1252);
std::string FromQt(const QString& text);

} // namespace ry
