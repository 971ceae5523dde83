#pragma once

// A module box on the canvas: a framed panel with the module's title, its type's icon and its
// box text, and under the text a line of its key settings while the designer shows them. It
// draws itself from the module record on every paint. The start module's box
// carries a green "Start" tab above its top-left corner (below its bottom-left corner when it
// stands at the canvas's top); the tab is no part of the box for the mouse.

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
    // The start mark, on the start module's box only.
    void SetStartMark(bool shown);
    bool HasStartMark() const { return startMark_ != nullptr; }
    // Where the start mark is drawn, in box pixels.
    QRect StartMarkRect() const;

    // Where the parts lie inside the box.
    static QRect TitleRect();
    static QRect IconRect();
    static QRect TextRect();
    // The line of key settings at the foot of the text (View > Show Settings); the box text
    // keeps what lies above it.
    static QRect SettingsRect();

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    enum { Type = UserType + 1 };
    int type() const override { return Type; }

protected:
    QVariant itemChange(GraphicsItemChange change, const QVariant& value) override;

private:
    ScriptDocument& document_;
    int box_;
    int height_ = 0;
    void PlaceStartMark();

    QGraphicsItem* startMark_ = nullptr; // a child item while the box bears the mark
};

// The icon of a module type's icon index (0..15), drawn at the icon's size.
const QPixmap& TypeIconPixmap(int iconIndex);

} // namespace ry
