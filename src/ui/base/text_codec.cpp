#include "base/text_codec.h"

#include "script/text.h"

namespace ry {

QString ToQt(std::string_view cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

std::string FromQt(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}

} // namespace ry
