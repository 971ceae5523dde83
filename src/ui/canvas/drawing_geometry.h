#pragma once

// The geometry of a canvas's drawing, from the layout the canvas paints: for the JSON picture
// (`rykem --export-picture X.json`) and the groups of the SVG picture.

#include "canvas/picture_geometry.h"

namespace ry {

class CanvasScene;

// Every box where it stands, and every connector and stub with its line, label and tag as the
// canvas draws them now.
PictureGeometry DrawingGeometry(CanvasScene& scene);

} // namespace ry
