#pragma once

// The one place where the designer asks the user for a file: nine kinds of dialog, each with
// its title and filter. Each starts in a folder that exists (one that does not would be
// taken for a file name), the first of: the folder where the last file of its kind was
// chosen in this run; the folder of the field's current file; for a module's files (sounds
// and the Select buttons of module dialogs) the folder of its script, else of the active
// one; the program's "Scripts" folder; the folder where the last file of its kind was chosen
// in an earlier run (kept as "Software\Cordaxa\Ryvane\Folders"); the active script's
// folder; the program folder; the home folder.

#include <QString>

#include <array>
#include <cstdint>

class QWidget;

namespace ry {

class Designer;

class FileDialogs {
public:
    explicit FileDialogs(Designer& designer) : designer_(designer) {}

    // Each takes the dialog's owner and the current text of the field being edited, and
    // returns the chosen path, or "" when the user cancelled.
    QString SelectFile_ScriptSave(QWidget* owner, const QString& current);
    // Sound files come back relative to the folder of `script` when they lie below it, with
    // "\" between the parts as the engine's files hold them ("prompts\menu.wav").
    QString SelectFile_SoundSave(QWidget* owner, const QString& current, std::int16_t script);
    QString SelectFile_Sound(QWidget* owner, const QString& current, std::int16_t script);
    QString SelectFile_VbScript(QWidget* owner, const QString& current);
    QString SelectFile_Database(QWidget* owner, const QString& current);
    QString SelectFile_Program(QWidget* owner, const QString& current);
    QString SelectFile_Text(QWidget* owner, const QString& current);
    QString SelectFile_Any(QWidget* owner, const QString& current);
    QString SelectFile_Script(QWidget* owner, const QString& current);

    // The folder the next dialog of a kind starts in (0..7), for tests.
    QString RememberedFolder(int slot) const { return folders_[static_cast<size_t>(slot)]; }

private:
    // `script`, when given, is the script a sound file belongs to: a relative current name
    // starts the dialog below the script's folder. `moduleFile`: a file a module names.
    QString Choose(QWidget* owner, const QString& current, bool save, const QString& title,
                   const QString& filter, int slot, std::int16_t script = 0,
                   bool moduleFile = false, QString* selectedFilter = nullptr);
    QString StartFolder(const QString& current, int slot, std::int16_t script,
                        bool moduleFile) const;
    // The folder of a kind from an earlier run, and keeping it for the next.
    QString StoredFolder(int slot) const;
    static void StoreFolder(int slot, const QString& folder);
    // The folder of a saved script, with its final separator; "" for a script never saved.
    QString ScriptFolder(std::int16_t script) const;
    // A path below the script's folder as the rest of it, "\" between its parts.
    QString RelativeToScript(const QString& path, std::int16_t script) const;

    Designer& designer_;
    std::array<QString, 8> folders_;
};

// A script's name as saved: a name without an extension gets the one of the Save dialog's
// chosen filter, ".ryp" for the protected scripts' and ".rys" otherwise.
QString WithScriptExtension(const QString& file, const QString& filter);

// A "description|pattern|description|pattern" filter in Qt's "description (pattern);;..."
// form; patterns already named in the description are not repeated.
QString QtFileFilter(const QString& barFilter);

} // namespace ry
