#pragma once

// A mark on a canvas around one box: a thick violet frame drawn over the boxes, for a walk
// through the script to show where the call is; it never covers the box's start mark. It is no part
// of the document: it is never selected, the mouse passes through it (a click finds the box under
// it), and it follows its box when the box moves or changes height, and goes when the box does.

#include <QGraphicsObject>

namespace ry {

class CanvasScene;

class BoxHighlight : public QGraphicsObject {
    Q_OBJECT
public:
    // Adds itself to the scene, which owns it; it marks no box at first.
    explicit BoxHighlight(CanvasScene& scene);

    // Marks `box`; 0, or a box the canvas does not have, marks none.
    void Mark(int box);
    int Marked() const { return box_; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    enum { Type = UserType + 40 };
    int type() const override { return Type; }

    // The frame's colour, no other mark's.
    static QColor Colour();

private:
    // Takes the marked box's place and size again.
    void Follow();

    CanvasScene& scene_;
    int box_ = 0;
    QRectF frame_;
};

} // namespace ry
