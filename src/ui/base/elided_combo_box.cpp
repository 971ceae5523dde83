#include "base/elided_combo_box.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace ry {

ElidedComboBox::ElidedComboBox(int leastCharacters, QWidget* parent) : QComboBox(parent) {
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(leastCharacters);
}

void ElidedComboBox::paintEvent(QPaintEvent*) {
    // As the combo box paints itself, with the chosen text shortened to its field.
    QStylePainter painter(this);
    painter.setPen(palette().color(QPalette::Text));
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    option.currentText =
        option.fontMetrics.elidedText(option.currentText, Qt::ElideMiddle, field.width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace ry
