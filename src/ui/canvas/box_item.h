#pragma once

// A module box on the canvas: a framed panel with the module's title, its type's icon and its
// box text. It draws itself from the module record on every paint.

#include <QGraphicsItem>

namespace ry {

class ScriptDocument;

class BoxItem : public QGraphicsItem {
public:
    // The parts of a box a press can land on.
    enum class Part { Frame, Title, Icon, Text };

    BoxItem(ScriptDocument& document, int box);

    int Box() const { return box_; }
    // Position and height from the model.
    void Refresh();
    Part PartAt(const QPointF& local) const;

    // Where the parts lie inside the box.
    static QRect TitleRect();
    static QRect IconRect();
    static QRect TextRect();

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    enum { Type = UserType + 1 };
    int type() const override { return Type; }

private:
    ScriptDocument& document_;
    int box_;
    int height_ = 0;
};

// The icon of a module type's icon index (0..15), drawn at the icon's size.
const QPixmap& TypeIconPixmap(int iconIndex);

} // namespace ry
