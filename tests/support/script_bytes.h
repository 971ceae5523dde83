#pragma once

#include <QByteArray>

#include <tuple>
#include <vector>

namespace ry::test {

// A script file of modules titled as given, one beside the other, each at `x`, `y`.
inline QByteArray ScriptBytes(const std::vector<std::tuple<const char*, int, int>>& modules,
                              const char* start = nullptr) {
    QByteArray out = "Version=5.0\r\n";
    if (start)
        out += QByteArray("StartModule=") + start + "\r\n";
    out += "\r\n";
    for (const auto& [title, x, y] : modules)
        out += QByteArray("[") + title + "]\r\nType=Play\r\nDispSize=69\r\nTxt=Hi\r\n\r\n" +
               QByteArray("Position=") + QByteArray::number(x) + "," + QByteArray::number(y) +
               "\r\n\r\n";
    return out;
}

} // namespace ry::test
