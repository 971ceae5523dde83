#pragma once

// The programs and services outside the designer that it starts: the engine and its
// companion programs, the sound recorder, sound playback, the manual and web pages. They
// are reached through a Launcher, which tests replace so that nothing is started.

#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <memory>

namespace ry {

class Designer;
class HelpWindow;

class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts a program in a window of its own without waiting; false when it cannot start.
    virtual bool StartProgram(const QString& program, const QStringList& arguments) = 0;
    // Opens a document or web address with the desktop's handler; false when none could.
    virtual bool OpenUrl(const QUrl& url) = 0;
    // Plays a sound file, replacing any sound playing; returns at once.
    virtual void PlaySound(const QString& file) = 0;
};

// The real desktop: QProcess::startDetached, QDesktopServices, QSoundEffect (wave files).
std::unique_ptr<Launcher> MakeDesktopLauncher();

// The first of `folders` that holds the manual's contents page; the first folder when none
// does.
QString FindHelpFolder(const QStringList& folders);

class Companions {
public:
    explicit Companions(Designer& designer);
    ~Companions();

    Launcher& launcher() { return *launcher_; }
    void SetLauncher(std::unique_ptr<Launcher> launcher) { launcher_ = std::move(launcher); }

    // Program folder + "/SetupAide.exe", "/RyMulti.exe", "/RyVmMgr.exe"; a program that cannot
    // be started is reported with its path and "Could not be found.".
    void RunSetupAide();
    void RunEngine();
    void RunVoicemailManager();
    // The call-log viewer with the script's file name (empty or not) as its one argument.
    void RunCallLog(const QString& scriptFile);

    // Plays a sound file named in a module of `script`, replacing any sound playing, and
    // returns at once. Reports an empty name ("No sound file specified"), a name that cannot
    // be looked up ("Invalid Filename") and a file found nowhere.
    void PlaySoundFile(const QString& file, std::int16_t script);
    // Where a module's sound file is: the name as given (backslashes also read as slashes),
    // else below the script's folder when the name is relative, else the name's last part in
    // the script's folder. "" when none of them exists.
    QString FindSoundFile(const QString& file, std::int16_t script) const;
    // The paths FindSoundFile tries, in its order.
    QStringList SoundFilePlaces(const QString& file, std::int16_t script) const;

    // Opens the manual at a topic's page (base/help_topics.h) in the designer's one help
    // window, titled with the brand; a number that is no topic opens the contents. With
    // `search` the cursor goes to the window's search field. A page that is not in the help
    // folder is reported with its path.
    void ShowHelp(int topic, bool search = false);
    // The help window, once one was opened; nullptr before.
    HelpWindow* OpenHelpWindow() const { return help_.get(); }
    // Where the manual's pages are: the folder "help" of the program folder, else of the
    // executable's folder, else the installed one beside it (FindHelpFolder).
    QString HelpFolder() const;

    // The program folder + "/" + name.
    QString ProgramPath(const QString& name) const;

private:
    bool Run(const QString& programName, const QStringList& arguments);

    Designer& designer_;
    std::unique_ptr<Launcher> launcher_;
    std::unique_ptr<HelpWindow> help_;
};

} // namespace ry
