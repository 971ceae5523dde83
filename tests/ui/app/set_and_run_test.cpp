// The toolbar's Set and Run and the RY.INI it writes, named in any language.

#include "designer_fixture.h"

#include "app/toolbar.h"
#include "base/text_codec.h"
#include "settings/profile_file.h"

#include <filesystem>

namespace ry::test {
namespace {

const QByteArray kScript = "Version=5.0\r\nStartModule=Desk\r\n\r\n[Desk]\r\nType=Play\r\n"
                           "Position=10,10\r\n";

using RyIniWrites = DesignerTest;

// Set and Run starts the engine only once RY.INI holds the script for every line.
TEST_F(RyIniWrites, SetAndRunStopsAtAFailedRyIniWrite) {
    const QString ini =
        WriteFile(QStringLiteral("RY.INI"), "[LineConfig]\r\nTapiDeviceCount=2\r\n");
    MakeMain();
    const QString path = WriteFile(QStringLiteral("desk.rys"), kScript);
    ASSERT_NE(OpenInMain(path), nullptr);
    launcher_->startable.insert(ProgramFolder() + "/RyMulti.exe");

    // A RY.INI that cannot be written (too large here; read-only or in a read-only folder for
    // an ordinary user) is named with the reason.
    std::filesystem::resize_file(HostPath(ini), kProfileSizeLimit + 1);
    prompter_.messages.clear();
    SetAndRunCurrentScript(D(), Main());
    EXPECT_TRUE(launcher_->started.empty());
    ASSERT_FALSE(prompter_.messages.empty());
    EXPECT_EQ(prompter_.messages.back().text,
              "Could not write " + ini +
                  ": larger than 16 MiB, the most that is read\r\nThe engine was not started.");

    // A script name that RY.INI cannot hold would send the engine to another file.
    WriteFile(QStringLiteral("RY.INI"), "[LineConfig]\r\nTapiDeviceCount=1\r\n");
    const QString japanese = WriteFile(QStringLiteral("日本.rys"), kScript);
    ASSERT_NE(OpenInMain(japanese), nullptr);
    SetAndRunCurrentScript(D(), Main());
    EXPECT_TRUE(launcher_->started.empty());
    EXPECT_TRUE(prompter_.messages.back().text.contains("characters that RY.INI cannot hold"));
    EXPECT_EQ(Slurp(ini), "[LineConfig]\r\nTapiDeviceCount=1\r\n");

    // A name it can hold is written in its Windows-1252 form, and the engine starts.
    const QString french = WriteFile(QStringLiteral("café.rys"), kScript);
    ASSERT_NE(OpenInMain(french), nullptr);
    SetAndRunCurrentScript(D(), Main());
    EXPECT_EQ(launcher_->started.size(), 1u);
    EXPECT_TRUE(Slurp(ini).contains(QByteArray("Script=") + QFile::encodeName(ProgramFolder()) +
                                    "/caf\xe9.rys\r\n"))
        << Slurp(ini).toStdString();
}

} // namespace
} // namespace ry::test
