#include "canvas/box_editor.h"

#include "base/text_codec.h"
#include "canvas/box_item.h"
#include "canvas/canvas_view.h"
#include "canvas/script_document.h"
#include "paths/rename.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>

#include <algorithm>

namespace ry {

BoxEditor::BoxEditor(ScriptDocument& document, CanvasView& view, QObject* parent)
    : QObject(parent), document_(document), view_(view) {
    connect(view.horizontalScrollBar(), &QScrollBar::valueChanged, this, &BoxEditor::Place);
    connect(view.verticalScrollBar(), &QScrollBar::valueChanged, this, &BoxEditor::Place);
    connect(&view, &CanvasView::zoomChanged, this, &BoxEditor::Place);
    connect(&document, &ScriptDocument::boxChanged, this, &BoxEditor::BoxChanged);
    connect(&document, &ScriptDocument::boxRemoved, this, &BoxEditor::BoxRemoved);
}

BoxEditor::~BoxEditor() {
    delete widget_;
}

void BoxEditor::EditTitle(int box) {
    Open(box, Field::Title);
}

void BoxEditor::EditText(int box) {
    Open(box, Field::Text);
}

void BoxEditor::Open(int box, Field field) {
    Commit();
    const std::int16_t module = document_.ModuleOfBox(box);
    if (module < 1)
        return;
    if (field == Field::Text && document_.BoxHeight(box) <= BoxItem::TextRect().top())
        return; // a short box shows no text
    if (!document_.IsSelected(box))
        document_.SelectOnlyBox(box);

    const ModuleRecord& m = document_.Module(module);
    QWidget* widget = nullptr;
    if (field == Field::Title) {
        auto* line = new QLineEdit(ToQt(m.Title), view_.viewport());
        line->setObjectName(QStringLiteral("DoBoxTitle(%1)").arg(box));
        line->setFrame(false);
        line->selectAll();
        widget = line;
    } else {
        QString text = ToQt(m.Txt);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        auto* edit = new QPlainTextEdit(text, view_.viewport());
        edit->setObjectName(QStringLiteral("DoBoxText(%1)").arg(box));
        edit->setFrameShape(QFrame::NoFrame);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        widget = edit;
    }
    widget->installEventFilter(this);
    field_ = field;
    box_ = box;
    module_ = module;
    widget_ = widget;
    Place();
    widget->show();
    widget->setFocus(Qt::MouseFocusReason);
}

void BoxEditor::Place() {
    if (!widget_)
        return;
    const ModuleRecord& m = document_.Module(module_);
    QRect part = field_ == Field::Title ? BoxItem::TitleRect() : BoxItem::TextRect();
    if (field_ == Field::Text)
        part.setHeight(document_.BoxHeight(box_) - part.top());
    part.translate(m.PositionX, m.PositionY);
    widget_->setGeometry(view_.mapFromScene(QRectF(part)).boundingRect().adjusted(0, 0, -1, -1));
    // The box's own text size, at the view's zoom.
    QFont font = view_.font();
    font.setPixelSize(std::max(1, qRound(11 * view_.Zoom() / 100.0)));
    widget_->setFont(font);
}

void BoxEditor::Commit() {
    if (field_ == Field::None)
        return;
    // Closing the field takes its focus away, which comes back here: forget it first.
    const Field field = field_;
    const std::int16_t module = module_;
    const int box = box_;
    QPointer<QWidget> widget = widget_;
    field_ = Field::None;
    box_ = 0;
    module_ = -1;
    widget_ = nullptr;

    if (widget && document_.ModuleOfBox(box) == module) {
        if (field == Field::Title) {
            const QString typed = static_cast<QLineEdit*>(widget.data())->text();
            // A title with nothing left once cleaned would turn every path to the module into
            // "[]": the box keeps its title instead.
            if (!CleanModuleTitle(FromQt(typed)).empty())
                document_.RenameModule(module, typed);
        } else {
            document_.SetBoxText(module,
                                 static_cast<QPlainTextEdit*>(widget.data())->toPlainText());
        }
    }
    if (widget) {
        widget->removeEventFilter(this);
        widget->hide();
        widget->deleteLater();
    }
}

void BoxEditor::Cancel() {
    if (field_ == Field::None)
        return;
    QPointer<QWidget> widget = widget_;
    field_ = Field::None;
    box_ = 0;
    module_ = -1;
    widget_ = nullptr;
    if (widget) {
        widget->removeEventFilter(this);
        widget->hide();
        widget->deleteLater();
    }
}

void BoxEditor::BoxChanged(int box) {
    if (box != box_ || field_ == Field::None)
        return;
    // The text field goes when its box becomes short; otherwise it follows the box.
    if (field_ == Field::Text && document_.BoxHeight(box) <= BoxItem::TextRect().top())
        Commit();
    else
        Place();
}

void BoxEditor::BoxRemoved(int box) {
    if (box == box_)
        Cancel();
}

bool BoxEditor::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget_)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::FocusOut:
        // A menu or a message box opened over the field leaves it open.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            Commit();
        break;
    case QEvent::ShortcutOverride:
        // Escape belongs to the field (it gives up the edit), not to the window's Escape.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
            event->accept();
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            Cancel();
            return true;
        }
        if (field_ == Field::Title &&
            (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            Commit();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ry
