#pragma once

// Marks on a canvas showing how its script differs from another version of it: added boxes and
// paths in green, changed boxes framed in blue, removed boxes and paths drawn dashed where they
// were. Like the Test Call highlight it is no part of the document: never selected, the mouse
// passes through it, and it follows the boxes as they move. Removing it leaves the canvas as it
// was.

#include <QGraphicsObject>
#include <QPoint>
#include <QRect>
#include <QString>

#include <cstdint>
#include <vector>

namespace ry {

class CanvasScene;

struct ChangeMarkSet {
    struct Ghost {
        QRect rect; // where the removed box stood
        QString title;
    };
    struct Link {
        std::int16_t from = -1; // modules of the canvas's script
        std::int16_t to = -1;
    };
    struct GoneLink {
        QPoint from, to; // canvas pixels
    };
    std::vector<int> addedBoxes;
    std::vector<int> changedBoxes;
    std::vector<Ghost> removedBoxes;
    std::vector<Link> addedPaths;
    std::vector<GoneLink> removedPaths;
};

class ChangeMarks : public QGraphicsObject {
    Q_OBJECT
public:
    static inline const QColor kAdded{0, 150, 60};
    static inline const QColor kChanged{40, 90, 220};
    static inline const QColor kRemoved{200, 30, 30};

    // Adds itself to the scene, which owns it.
    explicit ChangeMarks(CanvasScene& scene);

    void Show(ChangeMarkSet marks);
    const ChangeMarkSet& Marks() const { return marks_; }

    QRectF boundingRect() const override;
    void paint(QPainter* painter, const QStyleOptionGraphicsItem* option, QWidget* widget) override;

    enum { Type = UserType + 41 };
    int type() const override { return Type; }

private:
    CanvasScene& scene_;
    ChangeMarkSet marks_;
};

} // namespace ry
