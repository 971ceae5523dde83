#pragma once

// The canvas of one document: a white area of the configured size holding one BoxItem per
// box, with the connectors painted underneath from the path texts on every repaint. Connectors
// are drawn to where the boxes stand on the canvas, so they follow boxes being dragged; the
// box of the start module carries the start mark.

#include "canvas/connector_painter.h"

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
    // The box of the module the script starts at; 0 when no box shows it.
    int StartBox() const { return startBox_; }
    // Whether connectors carry their trigger labels (the designer's View > Path Labels).
    bool LabelsShown() const;

    // A box item moved (dragged, or put back): its connectors are routed and painted again.
    void BoxMoved();

    // The connectors, labels and tags as drawn now: worked out again only after the drawing
    // changed (an edit, an undo, a box moved, another route style or labels on or off).
    const ConnectorLayout& Connectors();
    ConnectorOptions CurrentConnectorOptions() const;

signals:
    // The number of labels and tags left out for want of a free spot changed.
    void labelsLeftOutChanged(int count);

protected:
    void drawBackground(QPainter* painter, const QRectF& rect) override;

private:
    void AddBox(int box);
    void RemoveBox(int box);
    void RefreshBox(int box);
    // Puts the start mark on the start module's box after anything that may move it: Script
    // Properties, a rename, an undo, a box made or removed.
    void FollowStartModule();

    // The connectors are to be laid out again before the next paint.
    void ConnectorsChanged();

    ScriptDocument& document_;
    // What the connectors are drawn from: every module's title, path text and box, the style
    // and the labels. A change made past the document operations is seen all the same.
    std::size_t ConnectorFingerprint() const;

    ConnectorLayout connectors_;
    bool connectorsStale_ = true;
    std::size_t fingerprint_ = 0;
    int leftOut_ = 0;
    std::unordered_map<int, BoxItem*> items_;
    int startBox_ = 0;
};

} // namespace ry
