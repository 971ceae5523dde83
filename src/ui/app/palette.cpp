#include "app/palette.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "canvas/box_item.h"
#include "script/module_types.h"

#include <QAction>
#include <QActionGroup>
#include <QPainter>
#include <QPainterPath>

namespace ry {

namespace {

struct Tool {
    const char* key;
    const char* tooltip;
};

constexpr Tool kTools[] = {
    {"Arrow", ""},
    {"Play", "Play Sound File"},
    {"Record", "Record Sound File"},
    {"Get Numbers", "Capture Entered Number"},
    {"Say Numbers", "Speak Number/Amount/Date etc."},
    {"Transfer Call", "Transfer Call"},
    {"Phone Message", "Send Voice Message to Telephone"},
    {"Pager Message", "Send Pager Message"},
    {"Send Email", "Send Email"},
    {"Database Query", "Query Database"},
    {"Run Program", "Run Another Program"},
    {"Time Switch", "Time Switch"},
    {"Evaluate", "Evaluate Expression"},
    {"Run VB Script", "Run VB Script"},
    {"DDE", "Dynamic Data Exchange"},
    {"Hangup the Call", "Hangup Call"},
    // Not on the original palette; without it a module of this type could not be added.
    {"Dial and Conference", "Dial and Conference"},
};

QIcon ArrowIcon() {
    QPixmap pixmap(BoxItem::IconRect().size());
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, true);
    QPainterPath arrow;
    const QPointF tip(pixmap.width() / 2.0 - 4, 2);
    arrow.moveTo(tip);
    arrow.lineTo(tip + QPointF(0, 15));
    arrow.lineTo(tip + QPointF(4, 11));
    arrow.lineTo(tip + QPointF(7, 17));
    arrow.lineTo(tip + QPointF(9, 16));
    arrow.lineTo(tip + QPointF(6, 10));
    arrow.lineTo(tip + QPointF(11, 10));
    arrow.closeSubpath();
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::black);
    p.drawPath(arrow);
    return QIcon(pixmap);
}

} // namespace

const QStringList& Palette::Keys() {
    static const QStringList keys = [] {
        QStringList out;
        for (const Tool& tool : kTools)
            out << QLatin1String(tool.key);
        return out;
    }();
    return keys;
}

Palette::Palette(Designer& designer, QWidget* parent)
    : QToolBar(QStringLiteral("Modules"), parent), designer_(designer),
      group_(new QActionGroup(this)) {
    setObjectName(QStringLiteral("asxToolbarModules"));
    setOrientation(Qt::Vertical);
    setIconSize(BoxItem::IconRect().size());
    group_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (const Tool& tool : kTools) {
        const QString key = QLatin1String(tool.key);
        QAction* button = addAction(key);
        button->setObjectName(key);
        button->setToolTip(QLatin1String(tool.tooltip));
        button->setCheckable(true);
        button->setIcon(key == QLatin1String(kArrowTool)
                            ? ArrowIcon()
                            : QIcon(TypeIconPixmap(TypeIconIndex(FromQt(key)))));
        group_->addAction(button);
        connect(button, &QAction::triggered, this, [this, key] { designer_.SetCurrentTool(key); });
    }
    connect(&designer, &Designer::currentToolChanged, this, &Palette::ShowTool);
    ShowTool(designer.CurrentTool());
}

QAction* Palette::Button(const QString& key) const {
    for (QAction* action : group_->actions())
        if (action->objectName() == key)
            return action;
    return nullptr;
}

void Palette::ShowTool(const QString& tool) {
    if (QAction* button = Button(tool))
        button->setChecked(true);
}

} // namespace ry
