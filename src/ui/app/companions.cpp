#include "app/companions.h"

#include "app/designer.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>

namespace ry {

namespace {

class DesktopLauncher : public Launcher {
public:
    bool StartProgram(const QString& program, const QStringList& arguments) override {
        return QProcess::startDetached(program, arguments);
    }
    bool OpenUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
    void PlaySound(const QString&) override {}
};

} // namespace

std::unique_ptr<Launcher> MakeDesktopLauncher() {
    return std::make_unique<DesktopLauncher>();
}

Companions::Companions(Designer& designer)
    : designer_(designer), launcher_(MakeDesktopLauncher()) {}

Companions::~Companions() = default;

bool Companions::Run(const QString& programName, const QStringList& arguments) {
    const QString path = designer_.ProgramFolder() + QDir::separator() + programName;
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
    Run(QStringLiteral("RyLv.exe"), {scriptFile});
}

void Companions::PlaySoundFile(const QString&, std::int16_t) {}

void Companions::ShowHelp(int) {}

} // namespace ry
