#pragma once

// The one crossing between the core's Windows-1252 bytes and Qt's text, and the one between
// paths on disk (the host's own encoding, UTF-8 on Linux) and Qt's text.

#include <QString>

#include <string>
#include <string_view>

namespace ry {

QString ToQt(std::string_view cp1252);
std::string FromQt(const QString& text);

// A path on disk as the core takes it: the host's encoding, never Windows-1252. Script file
// names (ScriptRecord::FileName, FolderPath) and RY.INI's path are held so.
std::string HostPath(const QString& path);
QString FromHostPath(std::string_view path);

// True when Windows-1252 holds every character of the text, so that it is stored in a script
// or RY.INI as it is (a file name there would otherwise name another file).
bool FitsCp1252(const QString& text);

// The folder part of a path up to and including its last "/" or "\" ("" when it has none),
// as SplitPath gives it, without a detour through the Windows-1252 conversion.
QString FolderOfPath(const QString& path);

} // namespace ry
