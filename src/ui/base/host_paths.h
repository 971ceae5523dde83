#pragma once

// Paths as they enter the designer from outside: the command line, the recent list, a
// dialog. They are the host's own text; on this system blanks round a name are part of it.

#include <QByteArray>
#include <QString>

namespace ry {

// `given` as an absolute path, so that nothing later depends on the folder the designer was
// started in: a file that exists as given keeps its name whole, anything else loses the blanks
// round it. Empty for a name that is empty or blank.
QString AbsoluteScriptPath(const QString& given);

// Whether the bytes of a name on the command line come back whole from the designer's text:
// a name that is not valid in the host's encoding would be opened, and saved, as another file.
bool IsWholeHostName(const QByteArray& bytes);

} // namespace ry
