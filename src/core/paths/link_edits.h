#pragma once

// Editing the paths a connector stands for. The paths are named by their links: which "on {"
// of the path text each one is, counted from 0 as PathLinks counts them.

#include <string>
#include <string_view>
#include <vector>

namespace ry {

// `pathText` without the paths of `links`: the whole line of each, with its line end, and the
// lines after it that continue the path (those starting with "[", "return" or "rvset", as
// assignments and return lines do). Links the text does not have are ignored.
std::string RemoveLinks(std::string_view pathText, const std::vector<int>& links);

// `pathText` with the destination of each of `links` (the title between its first brackets)
// made `title`; links without a destination are left as they are.
std::string RetargetLinks(std::string_view pathText, const std::vector<int>& links,
                          std::string_view title);

} // namespace ry
