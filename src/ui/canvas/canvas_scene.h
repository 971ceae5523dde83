#pragma once

// The canvas of one document: a white area of the configured size holding one BoxItem per
// box, with the connectors painted underneath from the path texts on every repaint.

#include <QGraphicsScene>

#include <unordered_map>

namespace ry {

class BoxItem;
class ScriptDocument;

class CanvasScene : public QGraphicsScene {
    Q_OBJECT
public:
    CanvasScene(ScriptDocument& document, const QSize& canvasSize, QObject* parent = nullptr);

    ScriptDocument& Document() { return document_; }
    BoxItem* Item(int box) const;
    // The box whose item lies topmost under a canvas point; 0 for the empty canvas.
    int BoxAt(const QPointF& point) const;

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;

private:
    void AddBox(int box);
    void RemoveBox(int box);
    void RefreshBox(int box);

    ScriptDocument& document_;
    std::unordered_map<int, BoxItem*> items_;
};

} // namespace ry
