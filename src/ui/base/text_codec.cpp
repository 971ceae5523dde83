#include "base/text_codec.h"

#include "script/text.h"

#include <QByteArray>
#include <QFile>

#include <algorithm>

namespace ry {

QString ToQt(std::string_view cp1252) {
    return QString::fromStdString(Cp1252ToUtf8(cp1252));
}

std::string FromQt(const QString& text) {
    return Utf8ToCp1252(text.toStdString());
}

bool FitsCp1252(const QString& text) {
    return ToQt(FromQt(text)) == text;
}

std::string HostPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString FromHostPath(std::string_view path) {
    return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

QString FolderOfPath(const QString& path) {
    const qsizetype cut =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return cut < 0 ? QString() : path.left(cut + 1);
}

} // namespace ry
