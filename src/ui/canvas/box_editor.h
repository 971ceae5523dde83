#pragma once

// Editing a box's title or text in place: one field at a time, laid over the box part it
// edits. The field applies its text to the module when it loses the focus, when Enter ends a
// title, or when the canvas is pressed elsewhere; Escape drops the change.

#include <QObject>
#include <QPointer>

#include <cstdint>

class QWidget;

namespace ry {

class CanvasView;
class ScriptDocument;

class BoxEditor : public QObject {
    Q_OBJECT
public:
    enum class Field { None, Title, Text };

    BoxEditor(ScriptDocument& document, CanvasView& view, QObject* parent = nullptr);
    ~BoxEditor() override;

    // Opens a field over the box's title or text, applying any field open before. The box
    // becomes the only selected one unless it is selected already.
    void EditTitle(int box);
    void EditText(int box);

    // Applies the open field, if any, and closes it: a title goes through the rename rule, a
    // text becomes the module's box text.
    void Commit();
    // Closes the open field without applying it.
    void Cancel();

    Field Editing() const { return field_; }
    int EditedBox() const { return box_; }
    // The open field (a QLineEdit for a title, a QPlainTextEdit for a text), or null.
    QWidget* Widget() const { return widget_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Open(int box, Field field);
    void Place();
    void BoxChanged(int box);
    void BoxRemoved(int box);

    ScriptDocument& document_;
    CanvasView& view_;
    Field field_ = Field::None;
    int box_ = 0;
    std::int16_t module_ = -1;
    QPointer<QWidget> widget_;
};

} // namespace ry
