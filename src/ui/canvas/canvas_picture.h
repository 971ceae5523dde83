#pragma once

// The drawing of a canvas as a picture, for File > Export Picture, `rykem --export-picture`
// and printing: every box, connector, label, stub and tag, without what only the mouse needs
// (out-handles, highlights, a rubber band).

#include <QRectF>
#include <QString>

class QPainter;

namespace ry {

class CanvasScene;

// The part of the canvas that holds the drawing, with a small margin all round (beyond the
// canvas's edge for boxes at its edge); a small area at the top-left for a canvas without
// boxes.
QRectF DrawingArea(CanvasScene& scene);

// Paints `area` of the canvas into `target` of the painter's device.
void PaintDrawing(QPainter& painter, CanvasScene& scene, const QRectF& area, const QRectF& target);

enum class PictureFormat { Unknown, Svg, Png, Pdf, Json };
// The format a file name's extension asks for (.svg, .png, .pdf, .json, any letter case).
PictureFormat PictureFormatOf(const QString& fileName);

// Writes the whole drawing to `fileName` in the format of its extension: SVG (texts stay text),
// PNG at the canvas's own size times `scale` (1 to kMaxPictureScale), or PDF on one page of the
// drawing's size, or JSON: the drawing's geometry (see picture_geometry.h). The file is replaced only once the picture is complete. False, with the reason in
// `error`, for an unknown extension or a file that cannot be written.
bool WritePicture(CanvasScene& scene, const QString& fileName, const QString& title, QString* error,
                  int scale = 1);
inline constexpr int kMaxPictureScale = 4;

} // namespace ry
