#include "base/elided_label.h"

#include <QPainter>
#include <QStyle>

namespace ry {

namespace {

// The least width asked for, in average characters.
constexpr int kLeastCharacters = 8;

} // namespace

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QSize ElidedLabel::minimumSizeHint() const {
    const QSize full = QLabel::minimumSizeHint();
    const QMargins margins = contentsMargins();
    return {std::min(full.width(), fontMetrics().averageCharWidth() * kLeastCharacters +
                                       margins.left() + margins.right()),
            full.height()};
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
    style()->drawItemText(&painter, area, QStyle::visualAlignment(layoutDirection(), alignment()),
                          palette(), isEnabled(), shown, foregroundRole());
}

} // namespace ry
