#pragma once

// View choices kept in the user's settings from one run to the next, each read as it was
// left and on when nothing was stored.

#include <QString>

namespace ry {

// A choice that is on or off, by its value name under the designer's View key ("PathLabels",
// "ShowSettings"). Settings that cannot be read count as on; one that cannot be written is
// let go, as the choice is a convenience.
bool ReadViewChoice(const QString& name);
void WriteViewChoice(const QString& name, bool on);

// View > Show Settings: the line of key settings under each box's text.
inline bool ReadShowSettings() {
    return ReadViewChoice(QStringLiteral("ShowSettings"));
}
inline void WriteShowSettings(bool shown) {
    WriteViewChoice(QStringLiteral("ShowSettings"), shown);
}

} // namespace ry
