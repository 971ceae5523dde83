#pragma once

// The main window's toolbar: a row of buttons, each named by its key, that run commands of
// the main window or start the engine and its companion programs.

#include <QToolBar>

namespace ry {

class Designer;
class MainWindow;

class MainToolbar : public QToolBar {
    Q_OBJECT
public:
    MainToolbar(MainWindow& main, Designer& designer);

    // "New", "Open", "Save", "Script Properties", "Set and Run Current Script", "Setup Wizard",
    // "Voicemail Manager", "Delete", "Call Log".
    static const QStringList& Keys();
    QAction* Button(const QString& key) const;
    // What a button does, by its key; an unknown key does nothing.
    void Clicked(const QString& key);

private:
    MainWindow& main_;
    Designer& designer_;
};

// Makes the active document's script the engine's script, on every line, and starts the
// engine. A script that is not saved in a file yet is saved instead, after telling the user.
void SetAndRunCurrentScript(Designer& designer, MainWindow& main);

} // namespace ry
