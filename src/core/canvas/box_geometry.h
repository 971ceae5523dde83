#pragma once

// Sizes of a module box on the canvas, in canvas pixels.

#include <string_view>

namespace ry {

inline constexpr int kBoxWidth = 155;
inline constexpr int kLongBoxHeight = 69;
// The top of the box text: a short box shows only its title row.
inline constexpr int kShortBoxHeight = 24;

// The height a box is drawn with for a module's stored DispSize: long from the midpoint of
// the two heights up, short below it.
constexpr int BoxHeightFor(int dispSize) {
    return 2 * dispSize >= kShortBoxHeight + kLongBoxHeight ? kLongBoxHeight : kShortBoxHeight;
}

// The default height of new boxes for a script's DefaultModuleDisplayHeight: exactly
// "short" gives the short height, anything else the long one.
constexpr int DefaultBoxHeight(std::string_view defaultModuleDisplayHeight) {
    return defaultModuleDisplayHeight == "short" ? kShortBoxHeight : kLongBoxHeight;
}

} // namespace ry
