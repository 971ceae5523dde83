#include "base/file_dialogs.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "script/loader.h"

#include <QDir>
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

QString FileDialogs::Choose(QWidget* owner, const QString& current, bool save, const QString& title,
                            const QString& filter, int slot, std::int16_t script) {
    QString& remembered = folders_[static_cast<size_t>(slot)];
    QString folder = remembered;
    if (folder.isEmpty() && !current.isEmpty()) {
        folder = ToQt(SplitPath(FromQt(current)));
        // A sound file named relative to its script (often with Windows backslashes) lies
        // below the script's folder, not below wherever the program was started.
        const QString base = ScriptFolder(script);
        if (!folder.isEmpty() && !base.isEmpty() && QDir::isRelativePath(folder))
            folder = base + QString(folder).replace(QLatin1Char('\\'), QLatin1Char('/'));
    }
    if (folder.isEmpty())
        folder = designer_.ProgramFolder() + QDir::separator() + QStringLiteral("Scripts");
    FileRequest request;
    request.kind = save ? FileRequest::Save : FileRequest::Open;
    request.title = title;
    request.filter = QtFileFilter(filter);
    request.folder = folder;
    const QString chosen = designer_.Prompts().ChooseFile(owner, request);
    if (!chosen.isEmpty())
        remembered = ToQt(SplitPath(FromQt(chosen)));
    return chosen;
}

QString FileDialogs::ScriptFolder(std::int16_t script) const {
    if (!ScriptTables::IsScriptIndex(script))
        return {};
    return ToQt(designer_.Tables().Script(script).FolderPath);
}

QString FileDialogs::RelativeToScript(const QString& path, std::int16_t script) const {
    const QString folder = ScriptFolder(script);
    if (!folder.isEmpty() && path.startsWith(folder))
        return path.mid(folder.size());
    return path;
}

QString FileDialogs::SelectFile_ScriptSave(QWidget* owner, const QString& current) {
    const QString t = designer_.BrandName();
    return Choose(owner, current, true, QStringLiteral("Save Script File"),
                  t + QStringLiteral(" Script (*.rys)|*.rys|") + t +
                      QStringLiteral(" Protected Script (*.ryp)|*.ryp|"),
                  0);
}

QString FileDialogs::SelectFile_SoundSave(QWidget* owner, const QString& current,
                                          std::int16_t script) {
    return RelativeToScript(Choose(owner, current, true, QStringLiteral("Save Sound File"),
                                   QStringLiteral("Wave File (*.wav)|*.wav|"), 0, script),
                            script);
}

QString FileDialogs::SelectFile_Sound(QWidget* owner, const QString& current, std::int16_t script) {
    return RelativeToScript(
        Choose(owner, current, false, QStringLiteral("Select sound file"),
               QStringLiteral("Wave Files (*.wav)|*.wav|Text To Speech (TTS) Text (*.txt)|*.txt|"),
               1, script),
        script);
}

QString FileDialogs::SelectFile_VbScript(QWidget* owner, const QString& current) {
    return Choose(owner, current, false, QStringLiteral("Select VB Script file"),
                  QStringLiteral("VB Script Files (*.vbs)|*.vbs|"), 2);
}

QString FileDialogs::SelectFile_Database(QWidget* owner, const QString& current) {
    return Choose(owner, current, false, QStringLiteral("Select database file"),
                  QStringLiteral("Access Database Files (*.mdb)|*.mdb|Excel Spreadsheet Files "
                                 "(*.xls)|*.xls|"),
                  3);
}

QString FileDialogs::SelectFile_Program(QWidget* owner, const QString& current) {
    return Choose(owner, current, false, QStringLiteral("Select Program"),
                  QStringLiteral("Programs|*.exe;*.com;*.pif;*.bat|All Files|*.*"), 4);
}

QString FileDialogs::SelectFile_Text(QWidget* owner, const QString& current) {
    return Choose(owner, current, false, QStringLiteral("Select Text File"),
                  QStringLiteral("Text Files|*.txt|All Files|*.*"), 5);
}

QString FileDialogs::SelectFile_Any(QWidget* owner, const QString& current) {
    return Choose(owner, current, false, QStringLiteral("Select File"),
                  QStringLiteral("All Files|*.*"), 6);
}

QString FileDialogs::SelectFile_Script(QWidget* owner, const QString& current) {
    const QString t = designer_.BrandName();
    return Choose(owner, current, false, QStringLiteral("Select ") + t + QStringLiteral(" Script"),
                  t + QStringLiteral(" Script|*.rys|") + t +
                      QStringLiteral(" Protected Script (*.ryp)|*.ryp|"),
                  7);
}

} // namespace ry
