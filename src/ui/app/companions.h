#pragma once

// The programs and services outside the designer that it starts: the engine and its
// companion programs, the sound recorder, sound playback, the help file and web pages. They
// are reached through a Launcher, which tests replace so that nothing is started.

#include <QString>
#include <QStringList>
#include <QUrl>

#include <cstdint>
#include <memory>

namespace ry {

class Designer;

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

// The real desktop: QProcess::startDetached, QDesktopServices, QSoundEffect.
std::unique_ptr<Launcher> MakeDesktopLauncher();

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

    // Plays a sound file named in a module of `script`: the name as given, else in the
    // script's folder. Reports an empty name, an invalid one and a missing file.
    void PlaySoundFile(const QString& file, std::int16_t script);

    // Opens the help file at a topic number.
    void ShowHelp(int topic);

private:
    bool Run(const QString& programName, const QStringList& arguments);

    Designer& designer_;
    std::unique_ptr<Launcher> launcher_;
};

} // namespace ry
