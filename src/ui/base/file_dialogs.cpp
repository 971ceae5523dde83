#include "base/file_dialogs.h"

#include "base/designer.h"
#include "base/registry.h"
#include "base/text_codec.h"
#include "script/loader.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace ry {

QString QtFileFilter(const QString& barFilter) {
    const QStringList parts = barFilter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (!description.contains(QLatin1Char('(')))
            description += QStringLiteral(" (") + patterns + QLatin1Char(')');
        else if (!description.contains(patterns))
            description += QStringLiteral(" (") + patterns + QLatin1Char(')');
        filters << description;
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

const QString kFoldersKey = QStringLiteral("Software\\Cordaxa\\Ryvane\\Folders");

QString StoredFolderName(int slot) {
    return QStringLiteral("Kind%1").arg(slot);
}

bool IsFolder(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

QString FileDialogs::StartFolder(const QString& current, int slot, std::int16_t script,
                                 bool moduleFile) const {
    // The script a module's file belongs to: the one given, else the active document's.
    if (moduleFile && !ScriptTables::IsScriptIndex(script))
        if (const OpenDocument* document = designer_.DocumentInSlot(designer_.CurrentDocument()))
            script = document->Script();
    const QString scriptFolder = ScriptFolder(script);
    QStringList candidates;
    candidates << folders_[static_cast<size_t>(slot)];
    if (!current.isEmpty()) {
        QString folder = FolderOfPath(current);
        // A file named relative to its script (often with Windows backslashes) lies below the
        // script's folder, not below wherever the program was started.
        if (!folder.isEmpty() && !scriptFolder.isEmpty() && QDir::isRelativePath(folder))
            folder = scriptFolder + folder;
        candidates << folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    }
    if (moduleFile)
        candidates << scriptFolder;
    candidates << designer_.ProgramFolder() + QStringLiteral("/Scripts") << StoredFolder(slot);
    if (const OpenDocument* document = designer_.DocumentInSlot(designer_.CurrentDocument()))
        candidates << ScriptFolder(document->Script());
    candidates << designer_.ProgramFolder() << QDir::homePath();
    // A folder that is not there would be taken for a file name typed into the dialog.
    for (const QString& folder : candidates)
        if (IsFolder(folder))
            return folder;
    return {};
}

QString FileDialogs::StoredFolder(int slot) const {
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kFoldersKey, true);
        const QString folder = registry.ReadValue(StoredFolderName(slot));
        registry.CloseKey();
        return folder;
    } catch (const RegistryError&) {
        return {};
    }
}

void FileDialogs::StoreFolder(int slot, const QString& folder) {
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kFoldersKey, true);
        registry.WriteValue(StoredFolderName(slot), folder);
        registry.CloseKey();
    } catch (const RegistryError&) {
        // Only a convenience for the next start.
    }
}

QString FileDialogs::Choose(QWidget* owner, const QString& current, bool save, const QString& title,
                            const QString& filter, int slot, std::int16_t script, bool moduleFile,
                            QString* selectedFilter) {
    FileRequest request;
    request.selectedFilter = selectedFilter;
    request.kind = save ? FileRequest::Save : FileRequest::Open;
    request.title = title;
    request.filter = QtFileFilter(filter);
    request.folder = StartFolder(current, slot, script, moduleFile);
    QString chosen = designer_.Prompts().ChooseFile(owner, request);
    if (!chosen.isEmpty()) {
        // The name is kept whole and made absolute: nothing later may depend on the folder the
        // designer was started in.
        chosen = QFileInfo(chosen).absoluteFilePath();
        folders_[static_cast<size_t>(slot)] = FolderOfPath(chosen);
        StoreFolder(slot, FolderOfPath(chosen));
    }
    return chosen;
}

QString FileDialogs::ScriptFolder(std::int16_t script) const {
    if (!ScriptTables::IsScriptIndex(script))
        return {};
    QString folder = FromHostPath(designer_.Tables().Script(script).FolderPath);
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')) &&
        !folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('/');
    return folder;
}

QString FileDialogs::RelativeToScript(const QString& path, std::int16_t script) const {
    const QString folder = ScriptFolder(script);
    // Below the script's folder: the rest of the name, with the backslashes the engine's files
    // hold.
    if (!folder.isEmpty() && path.startsWith(folder))
        return path.mid(folder.size()).replace(QLatin1Char('/'), QLatin1Char('\\'));
    return path;
}

QString WithScriptExtension(const QString& file, const QString& filter) {
    if (file.isEmpty() || !QFileInfo(file).suffix().isEmpty())
        return file;
    return file + (filter.contains(QStringLiteral("*.ryp")) ? QStringLiteral(".ryp")
                                                            : QStringLiteral(".rys"));
}

QString FileDialogs::SelectFile_ScriptSave(QWidget* owner, const QString& current) {
    const QString t = designer_.BrandName();
    QString filter;
    const QString chosen = Choose(owner, current, true, QStringLiteral("Save Script File"),
                                  t + QStringLiteral(" Script (*.rys)|*.rys|") + t +
                                      QStringLiteral(" Protected Script (*.ryp)|*.ryp|"),
                                  0, 0, false, &filter);
    // A name typed without an extension gets the filter's, so that Open lists the file.
    return WithScriptExtension(chosen, filter);
}

QString FileDialogs::SelectFile_SoundSave(QWidget* owner, const QString& current,
                                          std::int16_t script) {
    return RelativeToScript(Choose(owner, current, true, QStringLiteral("Save Sound File"),
                                   QStringLiteral("Wave File (*.wav)|*.wav|"), 0, script, true),
                            script);
}

QString FileDialogs::SelectFile_Sound(QWidget* owner, const QString& current, std::int16_t script) {
    return RelativeToScript(
        Choose(owner, current, false, QStringLiteral("Select sound file"),
               QStringLiteral("Wave Files (*.wav)|*.wav|Text To Speech (TTS) Text (*.txt)|*.txt|"),
               1, script, true),
        script);
}

QString FileDialogs::SelectFile_VbScript(QWidget* owner, const QString& current) {
    return Choose(owner, current, false, QStringLiteral("Select VB Script file"),
                  QStringLiteral("VB Script Files (*.vbs)|*.vbs|"), 2, 0, true);
}

QString FileDialogs::SelectFile_Database(QWidget* owner, const QString& current) {
    return Choose(owner, current, false, QStringLiteral("Select database file"),
                  QStringLiteral("Access Database Files (*.mdb)|*.mdb|Excel Spreadsheet Files "
                                 "(*.xls)|*.xls|"),
                  3, 0, true);
}

QString FileDialogs::SelectFile_Program(QWidget* owner, const QString& current) {
    return Choose(owner, current, false, QStringLiteral("Select Program"),
                  QStringLiteral("Executables|*|Programs|*.exe;*.com;*.pif;*.bat|All Files|*.*"), 4,
                  0, true);
}

QString FileDialogs::SelectFile_Text(QWidget* owner, const QString& current) {
    return Choose(owner, current, false, QStringLiteral("Select Text File"),
                  QStringLiteral("Text Files|*.txt|All Files|*.*"), 5, 0, true);
}

QString FileDialogs::SelectFile_Any(QWidget* owner, const QString& current) {
    return Choose(owner, current, false, QStringLiteral("Select File"),
                  QStringLiteral("All Files|*.*"), 6, 0, true);
}

QString FileDialogs::SelectFile_Script(QWidget* owner, const QString& current) {
    const QString t = designer_.BrandName();
    return Choose(owner, current, false, QStringLiteral("Select ") + t + QStringLiteral(" Script"),
                  t + QStringLiteral(" Script|*.rys|") + t +
                      QStringLiteral(" Protected Script (*.ryp)|*.ryp|"),
                  7);
}

} // namespace ry
