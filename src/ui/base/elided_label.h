#pragma once

// A one-line label for texts of any length (file names, module titles): it asks for room to
// show a few characters only, and shows what does not fit as "…" in the middle, so a long
// text never widens the window that holds it. text() and the tooltip keep the whole text.

#include <QLabel>

namespace ry {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ry
