#pragma once

// View choices kept in the user's settings from one run to the next, each read as it was
// left and on when nothing was stored.

namespace ry {

// View > Show Settings: the line of key settings under each box's text.
bool ReadShowSettings();
void WriteShowSettings(bool shown);

} // namespace ry
