#pragma once

// How a drawing is laid out on printed pages: at its size on screen when it fits one page,
// shrunk to fit one page as long as it stays readable, and otherwise spread over as few pages
// as the smallest readable size allows, in rows and columns read left to right, top to bottom.

#include <vector>

namespace ry {

// The smallest size a printed drawing takes, as a part of its size on screen: below it the
// box titles are too small to read, and the drawing goes onto more pages instead.
inline constexpr double kMinPrintScale = 0.75;

// A part of the drawing, in drawing pixels.
struct PrintArea {
    double Left = 0;
    double Top = 0;
    double Width = 0;
    double Height = 0;
};

struct PrintPage {
    int Column = 0; // from 0, left to right
    int Row = 0;    // from 0, top to bottom
    PrintArea Area; // the part of the drawing this page shows
};

struct PrintLayout {
    // Device pixels per drawing pixel.
    double Scale = 1;
    int Columns = 1;
    int Rows = 1;
    // Row by row, each row left to right.
    std::vector<PrintPage> Pages;
};

// The pages for `drawing` on pages whose printable part (after the header) is `pageWidth` by
// `pageHeight` device pixels, where `screenScale` device pixels show one drawing pixel at its
// size on screen. The scale lies between `screenScale * kMinPrintScale` and `screenScale`. An
// empty drawing or page gives one page of the drawing.
PrintLayout LayOutPrint(const PrintArea& drawing, double pageWidth, double pageHeight,
                        double screenScale);

// Whether landscape pages suit the drawing better than portrait ones: it needs fewer of them,
// or as many and is printed larger. Portrait when both are alike. `pageWidth` and `pageHeight`
// are a portrait page's printable size; `header` is taken off the height either way.
bool FitsLandscapeBetter(const PrintArea& drawing, double pageWidth, double pageHeight,
                         double header, double screenScale);

} // namespace ry
