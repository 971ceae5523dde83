#pragma once

// The module palette: one button per tool, the selection pointer "Arrow" and one per module
// type, exactly one of them pressed. Pressing a button makes its key the designer's current
// tool; the canvases follow the tool with their pointers.

#include <QStringList>
#include <QToolBar>

class QActionGroup;

namespace ry {

class Designer;

class Palette : public QToolBar {
    Q_OBJECT
public:
    explicit Palette(Designer& designer, QWidget* parent = nullptr);

    // The tools in button order: "Arrow", the fifteen module types of the original palette,
    // then "Dial and Conference".
    static const QStringList& Keys();
    // A button by its key; null for a key no button has.
    QAction* Button(const QString& key) const;

private:
    // The pressed button follows the tool, however it was chosen.
    void ShowTool(const QString& tool);

    Designer& designer_;
    QActionGroup* group_;
};

} // namespace ry
