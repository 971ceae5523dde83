#include "canvas/print_pages.h"

#include <algorithm>
#include <cmath>

namespace ry {

PrintLayout LayOutPrint(const PrintArea& drawing, double pageWidth, double pageHeight,
                        double screenScale) {
    PrintLayout out;
    out.Scale = screenScale > 0 ? screenScale : 1;
    if (drawing.Width <= 0 || drawing.Height <= 0 || pageWidth <= 0 || pageHeight <= 0) {
        out.Pages.push_back({0, 0, drawing});
        return out;
    }
    const double fit = std::min(pageWidth / drawing.Width, pageHeight / drawing.Height);
    const double smallest = out.Scale * kMinPrintScale;
    if (fit >= smallest) {
        // One page: as on screen, or shrunk no further than still readable.
        out.Scale = std::min(out.Scale, fit);
    } else {
        // The fewest pages at the smallest readable size, then as large as those pages allow.
        // A tiny remainder (rounding) does not start another row or column.
        constexpr double kSlack = 1e-9;
        out.Columns =
            std::max(1, static_cast<int>(std::ceil(drawing.Width * smallest / pageWidth - kSlack)));
        out.Rows = std::max(
            1, static_cast<int>(std::ceil(drawing.Height * smallest / pageHeight - kSlack)));
        out.Scale = std::min({out.Scale, out.Columns * pageWidth / drawing.Width,
                              out.Rows * pageHeight / drawing.Height});
    }
    const double tileWidth = pageWidth / out.Scale;
    const double tileHeight = pageHeight / out.Scale;
    for (int row = 0; row < out.Rows; ++row) {
        for (int column = 0; column < out.Columns; ++column) {
            PrintArea area;
            area.Left = drawing.Left + column * tileWidth;
            area.Top = drawing.Top + row * tileHeight;
            area.Width = std::min(tileWidth, drawing.Left + drawing.Width - area.Left);
            area.Height = std::min(tileHeight, drawing.Top + drawing.Height - area.Top);
            out.Pages.push_back({column, row, area});
        }
    }
    return out;
}

bool FitsLandscapeBetter(const PrintArea& drawing, double pageWidth, double pageHeight,
                         double header, double screenScale) {
    const PrintLayout portrait = LayOutPrint(drawing, pageWidth, pageHeight - header, screenScale);
    const PrintLayout landscape = LayOutPrint(drawing, pageHeight, pageWidth - header, screenScale);
    if (landscape.Pages.size() != portrait.Pages.size())
        return landscape.Pages.size() < portrait.Pages.size();
    return landscape.Scale > portrait.Scale * 1.01;
}

} // namespace ry
