#pragma once

// Qt 6.4's rich and plain text fields paste whatever the clipboard hands them without asking
// whether it handed anything: with nothing copied (normal after a login) the window system's
// clipboard has no data, and Ctrl+V, Shift+Insert or a middle click ends the program. The
// guard watches every text field of the application and drops such a paste while there is
// nothing to paste.

#include <QObject>

class QEvent;

namespace ry {

class PasteGuard : public QObject {
    Q_OBJECT
public:
    // Watches the whole application for as long as it lives.
    explicit PasteGuard(QObject* parent = nullptr);
    ~PasteGuard() override;

    // Whether `event`, sent to `watched`, would paste from a clipboard that holds nothing.
    static bool IsEmptyPaste(QObject* watched, QEvent* event);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace ry
