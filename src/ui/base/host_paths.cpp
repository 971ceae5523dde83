#include "base/host_paths.h"

#include <QFile>
#include <QFileInfo>

namespace ry {

QString AbsoluteScriptPath(const QString& given) {
    if (given.isEmpty())
        return {};
    const QString name = QFileInfo::exists(given) ? given : given.trimmed();
    if (name.isEmpty())
        return {};
    return QFileInfo(name).absoluteFilePath();
}

bool IsWholeHostName(const QByteArray& bytes) {
    return QFile::encodeName(QFile::decodeName(bytes)) == bytes;
}

} // namespace ry
