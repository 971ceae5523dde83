// rykem --help and --version.

#include "app/program_info.h"

#include <gtest/gtest.h>

#include <regex>

namespace ry {
namespace {

TEST(InfoOptionText, OnlyTheOptionAloneIsAnswered) {
    const ProgramFolders folders{"/home/u/.local/share/Cordaxa/Ryvane", "/usr/share/ryvane", true};
    struct Case {
        QStringList arguments;
        bool answered;
    };
    const Case cases[] = {
        {{}, false},
        {{QStringLiteral("office-line.rys")}, false},
        // The command line is one script path, spaces and all.
        {{QStringLiteral("--help"), QStringLiteral("me.rys")}, false},
        {{QStringLiteral("--versions")}, false},
        {{QStringLiteral("--help")}, true},
        {{QStringLiteral("-h")}, true},
        {{QStringLiteral("--version")}, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(InfoOptionText(c.arguments, folders).has_value(), c.answered)
            << c.arguments.join(QLatin1Char(' ')).toStdString();

    const std::string version =
        InfoOptionText({QStringLiteral("--version")}, folders).value().toStdString();
    EXPECT_TRUE(std::regex_match(version, std::regex("rykem [0-9]+\\.[0-9]+\\.[0-9]+\n")))
        << version;

    const QString help = InfoOptionText({QStringLiteral("--help")}, folders).value();
    EXPECT_TRUE(help.startsWith(QStringLiteral("Usage: rykem [SCRIPT]\n")));
    for (const char* option : {"--export-picture", "--route-style", "--scale"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
    EXPECT_TRUE(
        help.contains(QStringLiteral("\nProgram folder: /home/u/.local/share/Cordaxa/Ryvane\n")));
    EXPECT_TRUE(help.contains(QStringLiteral("\nRead-only data: /usr/share/ryvane\n")));
}

TEST(CommandLineArguments, LeaveOutTheProgramsName) {
    char program[] = "rykem";
    char script[] = "my script.rys";
    char* argv[] = {program, script, nullptr};
    EXPECT_EQ(CommandLineArguments(2, argv), QStringList{QStringLiteral("my script.rys")});
    EXPECT_TRUE(CommandLineArguments(1, argv).isEmpty());
}

} // namespace
} // namespace ry
