#pragma once

// `rykem --export-picture SCRIPT OUT`: the drawing of a script written as a picture without a
// window, as File > Export Picture writes it.

#include "canvas/around_boxes.h"

#include <QString>
#include <QStringList>

namespace ry {

// The option that asks for it.
inline constexpr const char* kExportPictureOption = "--export-picture";

// Loads `script` and writes its drawing to `out` (.svg, .png or .pdf). 0 when the picture was
// written; 1 with the reason on standard error when the script does not load or the picture
// cannot be written. Needs a QApplication; shows nothing and asks nothing.
int ExportPictureCommand(const QString& script, const QString& out,
                         RouteStyle style = RouteStyle::AroundBoxes, int scale = 1);

// Takes "--scale N" (a PNG picture N times the canvas's size, 1 to 4) out of the command
// line's arguments, wherever it stands. False for a value that is no such number or a missing
// one.
bool TakeScaleOption(QStringList& args, int& scale);

// Takes "--route-style classic|around-boxes" out of the command line's arguments, wherever it
// stands, into `style`. False for a value that names no style or a missing one.
bool TakeRouteStyleOption(QStringList& args, RouteStyle& style);

} // namespace ry
