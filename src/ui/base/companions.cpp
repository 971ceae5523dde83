#include "base/companions.h"

#include "base/designer.h"
#include "base/help_topics.h"
#include "base/help_window.h"
#include "base/text_codec.h"
#include "script/loader.h"
#include "settings/program_folder.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSoundEffect>

#include <filesystem>
#include <system_error>

namespace ry {

namespace {

constexpr int kBrowserStartMs = 2000;

class DesktopLauncher : public Launcher {
public:
    bool StartProgram(const QString& program, const QStringList& arguments) override {
        return QProcess::startDetached(program, arguments);
    }
    bool OpenUrl(const QUrl& url) override {
        if (url.isLocalFile())
            return QDesktopServices::openUrl(url);
        // QDesktopServices reports success once xdg-open has started, even when it then
        // finds no browser. xdg-open ends at once with an error then, so it is given a moment.
        auto* opener = new QProcess;
        opener->start(QStringLiteral("xdg-open"), {url.toString()});
        if (!opener->waitForStarted(3000)) {
            delete opener;
            return false;
        }
        if (opener->waitForFinished(kBrowserStartMs)) {
            const bool opened =
                opener->exitStatus() == QProcess::NormalExit && opener->exitCode() == 0;
            delete opener;
            return opened;
        }
        // Still running: it has a browser to start, which may stay in its foreground.
        QObject::connect(opener, &QProcess::finished, opener, &QObject::deleteLater);
        return true;
    }
    void PlaySound(const QString& file) override {
        // One effect for the whole program: a new sound replaces the one playing. It is made
        // on first use so that a run that plays nothing never starts the audio back end.
        if (!sound_)
            sound_ = std::make_unique<QSoundEffect>();
        sound_->stop();
        sound_->setSource(QUrl::fromLocalFile(file));
        sound_->play(); // plays once loaded; returns at once
    }

private:
    std::unique_ptr<QSoundEffect> sound_;
};

enum class FileProbe { Exists, Missing, Invalid };

// Whether a file of that name exists; Invalid when the name itself cannot be looked up (a
// NUL inside it, a name too long for the file system).
FileProbe Probe(const QString& name) {
    if (name.contains(QChar(0)))
        return FileProbe::Invalid;
    std::error_code error;
    const auto status = std::filesystem::status(QFile::encodeName(name).toStdString(), error);
    if (error && error != std::errc::no_such_file_or_directory &&
        error != std::errc::not_a_directory)
        return FileProbe::Invalid;
    return std::filesystem::is_regular_file(status) ? FileProbe::Exists : FileProbe::Missing;
}

QString Slashed(QString name) {
    return name.replace(QLatin1Char('\\'), QLatin1Char('/'));
}

} // namespace

std::unique_ptr<Launcher> MakeDesktopLauncher() {
    return std::make_unique<DesktopLauncher>();
}

Companions::Companions(Designer& designer)
    : designer_(designer), launcher_(MakeDesktopLauncher()) {}

Companions::~Companions() = default;

QString Companions::ProgramPath(const QString& name) const {
    return designer_.ProgramFolder() + QLatin1Char('/') + name;
}

bool Companions::Run(const QString& programName, const QStringList& arguments) {
    const QString path = ProgramPath(programName);
    if (launcher_->StartProgram(path, arguments))
        return true;
    designer_.Message(path + QStringLiteral("\r\nCould not be found."));
    return false;
}

void Companions::RunSetupAide() {
    Run(QStringLiteral("SetupAide.exe"), {});
}

void Companions::RunEngine() {
    Run(QStringLiteral("RyMulti.exe"), {});
}

void Companions::RunVoicemailManager() {
    Run(QStringLiteral("RyVmMgr.exe"), {});
}

void Companions::RunCallLog(const QString& scriptFile) {
    // An absolute name: a script called "-x.rys" is never taken for an option.
    Run(QStringLiteral("RyLv.exe"),
        {scriptFile.isEmpty() ? scriptFile : QFileInfo(scriptFile).absoluteFilePath()});
}

QStringList Companions::SoundFilePlaces(const QString& file, std::int16_t script) const {
    const QString folder = ScriptTables::IsScriptIndex(script)
                               ? FromHostPath(designer_.Tables().Script(script).FolderPath)
                               : QString();
    QStringList candidates{file};
    // Scripts written on Windows name files with backslashes.
    if (file.contains(QLatin1Char('\\')))
        candidates << Slashed(file);
    if (!folder.isEmpty()) {
        // Sound files chosen inside the script's folder are stored relative to it, so a file
        // in a folder below the script's is found there ...
        if (QFileInfo(Slashed(file)).isRelative())
            candidates << Slashed(folder) + Slashed(file);
        // ... and any file is looked for by its name next to the script.
        candidates << Slashed(folder) + file.mid(FolderOfPath(file).size());
    }
    return candidates;
}

QString Companions::FindSoundFile(const QString& file, std::int16_t script) const {
    for (const QString& candidate : SoundFilePlaces(file, script))
        if (Probe(candidate) == FileProbe::Exists)
            return candidate;
    return {};
}

void Companions::PlaySoundFile(const QString& file, std::int16_t script) {
    if (file.isEmpty()) {
        designer_.Message(QStringLiteral("No sound file specified"));
        return;
    }
    if (Probe(file) == FileProbe::Invalid) {
        designer_.Message(QStringLiteral("Invalid Filename"));
        return;
    }
    const QString found = FindSoundFile(file, script);
    if (found.isEmpty()) {
        // Where it was looked for, as full paths: a name relative to nothing says little.
        // A relative name is also tried from the folder the designer runs in, which tells the
        // user nothing unless it is the only place.
        const QStringList tried = SoundFilePlaces(file, script);
        QStringList places;
        for (const QString& place : tried)
            if (QFileInfo(place).isAbsolute() && !places.contains(place))
                places << place;
        if (places.isEmpty())
            places << QFileInfo(tried.value(tried.size() - 1)).absoluteFilePath();
        designer_.Message(QStringLiteral("Sound file: ") + file +
                          QStringLiteral("\r\nCould not be found. Looked for:\r\n") +
                          places.join(QStringLiteral("\r\n")));
        return;
    }
    launcher_->PlaySound(found);
}

QString FindHelpFolder(const QStringList& folders) {
    for (const QString& folder : folders)
        if (QFileInfo(QDir(folder).filePath(QString::fromLatin1(help::kContentsPage))).isFile())
            return folder;
    return folders.value(0);
}

QString Companions::HelpFolder() const {
    // A program folder set by RYVANE_HOME may be an engine's folder without the manual; the
    // manual is then the one that came with this program, beside it or installed with it.
    const QString exe = QString::fromStdString(ExecutableFolder());
    QStringList folders{designer_.DataFolder() + QStringLiteral("/help")};
    if (!exe.isEmpty())
        folders << exe + QStringLiteral("/help")
                << QDir::cleanPath(exe + QLatin1Char('/') +
                                   QString::fromLatin1(kInstalledDataFromExecutable.data(),
                                                       kInstalledDataFromExecutable.size()) +
                                   QStringLiteral("/help"));
    return FindHelpFolder(folders);
}

void Companions::ShowHelp(int topic, bool search) {
    QString page = QString::fromLatin1(help::PageOfTopic(topic));
    if (page.isEmpty())
        page = QString::fromLatin1(help::kContentsPage);
    const QString folder = HelpFolder();
    const QString file = QDir(folder).filePath(page.section(QLatin1Char('#'), 0, 0));
    if (!QFileInfo(file).isFile()) {
        designer_.Message(file + QStringLiteral("\r\nCould not be found."));
        return;
    }
    // One window, reused; it reads the folder it was made for.
    if (!help_ || help_->Folder() != folder)
        help_ = std::make_unique<HelpWindow>(folder, designer_.BrandName());
    help_->ShowPage(page);
    if (search)
        help_->FocusSearch();
}

} // namespace ry
