#include "settings/engine_settings.h"
#include "settings/program_folder.h"

#include "recording_host.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace ry {
namespace {

namespace fs = std::filesystem;

class EngineSettingsTest : public ::testing::Test {
protected:
    void Put(const std::string& name, const std::string& text) { temp_.Write(name, text); }
    std::string Slurp(const std::string& name) { return test::ReadAll(temp_.File(name)); }
    EngineSettings ReadWith(const std::string& iniText) {
        Put("RY.INI", iniText);
        EngineSettings s;
        ini_.ReadAllSettings(s, dir_.string());
        return s;
    }

    test::TempDir temp_;
    const fs::path& dir_ = temp_.path();
    test::RecordingHost host_;
    IniFile ini_{host_};
};

TEST_F(EngineSettingsTest, MissingFileGivesEveryDefault) {
    EngineSettings s;
    s.RecEditor = "changed";
    s.ThreeWayMaxTalkTime = 1;
    ini_.ReadAllSettings(s, dir_.string());
    ini_.ReadBrand(s);
    EXPECT_EQ(s, EngineSettings{});
    EXPECT_EQ(s.RecEditor, "SNDREC32.EXE ");
    EXPECT_EQ(s.BrandName, "Ryvane");
    EXPECT_EQ(s.DesignAreaWidth, 2000);
    EXPECT_EQ(s.InBandSignalWait, 2.0f);
    EXPECT_TRUE(host_.messages.empty());
    EXPECT_EQ(ini_.IniPath(), (dir_ / "RY.INI").string());
}

struct LimitCase {
    const char* section;
    const char* key;
    const char* value;
    std::function<std::int32_t(const EngineSettings&)> field;
    std::int32_t expected;
};

TEST_F(EngineSettingsTest, NumbersAreHeldToTheirLimits) {
    const LimitCase cases[] = {
        {"PBX", "3WayMaxTalkTime", "7", &EngineSettings::ThreeWayMaxTalkTime, 30},
        {"PBX", "3WayMaxTalkTime", "10", &EngineSettings::ThreeWayMaxTalkTime, 30},
        {"PBX", "3WayMaxTalkTime", "11", &EngineSettings::ThreeWayMaxTalkTime, 11},
        {"PBX", "3WayMaxTalkTime", "99999", &EngineSettings::ThreeWayMaxTalkTime, 21600},
        {"PlayRecordConfig", "SilenceDetectLevel", "-4", &EngineSettings::SilenceDetectLevel, -4},
        {"PlayRecordConfig", "SilenceDetectLevel", "101", &EngineSettings::SilenceDetectLevel, 100},
        {"PlayRecordConfig", "SilenceDetectLevel", "-70000", &EngineSettings::SilenceDetectLevel,
         -32768},
        {"PlayRecordConfig", "SilenceDetectLength", "0", &EngineSettings::SilenceDetectLength, 1},
        {"PlayRecordConfig", "SilenceDetectLength", "601", &EngineSettings::SilenceDetectLength,
         600},
        {"RYDialer", "AM_SilenceDetectLevel", "0", &EngineSettings::AM_SilenceDetectLevel, 5},
        {"RYDialer", "AM_SilenceDetectLevel", "5", &EngineSettings::AM_SilenceDetectLevel, 5},
        {"RYDialer", "AM_SilenceDetectLevel", "6", &EngineSettings::AM_SilenceDetectLevel, 6},
        {"RYDialer", "AM_SilenceDetectLevel", "101", &EngineSettings::AM_SilenceDetectLevel, 100},
        {"RYDialer", "AM_SilenceDetectLength", "9", &EngineSettings::AM_SilenceDetectLength, 10},
        {"RYDialer", "AM_SilenceDetectLength", "700", &EngineSettings::AM_SilenceDetectLength, 600},
        {"moduleGetNbrs", "Timeout_Confirm", "0", &EngineSettings::Timeout_Confirm, 6},
        {"moduleGetNbrs", "Timeout_Confirm", "61", &EngineSettings::Timeout_Confirm, 6},
        {"moduleGetNbrs", "Timeout_Confirm", "60", &EngineSettings::Timeout_Confirm, 60},
        {"moduleGetNbrs", "Timeout_1stDigit", "1", &EngineSettings::Timeout_1stDigit, 1},
        {"moduleGetNbrs", "Timeout_Interdigit", "-1", &EngineSettings::Timeout_Interdigit, 6},
        {"RyKem", "DesignAreaWidth", "1999", &EngineSettings::DesignAreaWidth, 2000},
        {"RyKem", "DesignAreaHeight", "50000", &EngineSettings::DesignAreaHeight, 50000},
        {"RYconfig", "DDEtimeout", "29", &EngineSettings::DDEtimeout, 30},
        {"RYconfig", "DDEtimeout", "301", &EngineSettings::DDEtimeout, 300},
        {"PBX", "AnnouncedTransfersMaxWaitTime", "4",
         &EngineSettings::AnnouncedTransfersMaxWaitTime, 5},
        {"PBX", "AnnouncedTransfersMaxWaitTime", "121",
         &EngineSettings::AnnouncedTransfersMaxWaitTime, 120},
        {"PBX", "PauseAfterHookflash", "0", &EngineSettings::PauseAfterHookflash, 1},
        {"PBX", "PauseAfterHookflash", "51", &EngineSettings::PauseAfterHookflash, 50},
        {"PBX", "DurationHookflash", "70000", &EngineSettings::DurationHookflash, 32767},
        {"PBX", "DurationDtmfTone", "80ms", &EngineSettings::DurationDtmfTone, 80},
        {"PBX", "LineCompleteTransferOnTransferAccept", "-1",
         &EngineSettings::LineCompleteTransferOnTransferAccept, -1},
        {"Voicemail", "RecLengthMax", "120", &EngineSettings::RecLengthMax, 120},
        {"Voicemail", "RecLengthMax", " 12.5 ", &EngineSettings::RecLengthMax, 12},
        {"Voicemail", "RecLengthMax", "-7", &EngineSettings::RecLengthMax, -7},
        // Not a 16-bit number: the default rather than a stop to the reading.
        {"Voicemail", "RecLengthMax", "12ab", &EngineSettings::RecLengthMax, 300},
        {"Voicemail", "RecLengthMax", "40000", &EngineSettings::RecLengthMax, 300},
        {"Voicemail", "VmbMaxSize", "abc", &EngineSettings::VmbMaxSize, 60},
        {"Voicemail", "VmbMaxSize", "0", &EngineSettings::VmbMaxSize, 0},
        {"Voicemail", "VmbMaxSize", "&H1E", &EngineSettings::VmbMaxSize, 30},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.value);
        EngineSettings s =
            ReadWith(std::string("[") + c.section + "]\r\n" + c.key + "=" + c.value + "\r\n");
        EXPECT_EQ(c.field(s), c.expected);
    }
}

TEST_F(EngineSettingsTest, ABadNumberDoesNotStopTheSettingsAfterIt) {
    EngineSettings s = ReadWith("[Voicemail]\r\nRecLengthMax=lots\r\n"
                                "[moduleGetNbrs]\r\nTimeout_Confirm=9\r\n");
    EXPECT_EQ(s.RecLengthMax, 300);
    EXPECT_EQ(s.Timeout_Confirm, 9);
}

TEST_F(EngineSettingsTest, TextSettingsAndTheirRules) {
    EngineSettings s = ReadWith("[PlayRecordConfig]\r\nRecEditor=audacity\r\n"
                                "[DatabaseWorkspace]\r\nworkspacejetpassword=secret\r\n"
                                "[RYDialer]\r\nAM_DetectionMode=DisAbled\r\n"
                                "[PBX]\r\nInBandSignalWait=15\r\nInBandSignalWait_Interdigit=\r\n"
                                "Conference_BlindSuffix=\"*3 \"\r\n");
    EXPECT_EQ(s.RecEditor, "audacity");
    EXPECT_EQ(s.WorkspaceJEtPassword, "secret");
    EXPECT_EQ(s.AM_DetectionMode, "disabled");
    EXPECT_EQ(s.InBandSignalWait, 1.5f);
    EXPECT_EQ(s.InBandSignalWait_Interdigit, 0.5f);
    EXPECT_EQ(s.Conference_BlindSuffix, "*3 ");

    EXPECT_EQ(ReadWith("[RYDialer]\r\nAM_DetectionMode=off\r\n").AM_DetectionMode, "enabled");
}

TEST_F(EngineSettingsTest, TransferControl) {
    const struct {
        const char* modem;
        const char* boards;
        const char* storedModem;
        const char* storedBoards;
        bool generate;
    } cases[] = {
        {"AT", "TAPI", "AT", "TAPI", false},
        {"at", "TAPI", "Generate", "TAPI", true},
        {"AT", "tapi", "AT", "Generate", true},
        {"Generate", "Generate", "Generate", "Generate", true},
        {"", "", "Generate", "Generate", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.modem) + "/" + c.boards);
        std::string before = std::string("[PBX]\r\nTransferControl_Modem=") + c.modem +
                             "\r\nTransferControl_TelBoards=" + c.boards + "\r\n";
        EngineSettings s = ReadWith(before);
        EXPECT_EQ(s.TransferControl_Modem, c.storedModem);
        EXPECT_EQ(s.TransferControl_TelBoards, c.storedBoards);
        EXPECT_EQ(s.TransferControlGenerate, c.generate);
        EXPECT_EQ(Slurp("RY.INI"), before); // reading never changes the file
    }
}

TEST_F(EngineSettingsTest, Brand) {
    EngineSettings s;
    Put("RY.INI", "[Brand]\r\nName=Acme Lines\r\nHttp=\r\n");
    ini_.SetIniPath(dir_.string());
    ini_.ReadBrand(s);
    EXPECT_EQ(s.BrandName, "Acme Lines");
    EXPECT_EQ(s.BrandUrl, kDefaultBrandUrl);
}

TEST_F(EngineSettingsTest, UnsetPathIsReportedOnEveryReadAndYieldsTheDefault) {
    EXPECT_EQ(ini_.IniPath(), "");
    EXPECT_EQ(ini_.IniReadString("Brand", "Name"), "");
    EXPECT_EQ(ini_.IniReadInt("PBX", "DurationHookflash"), 0);
    EXPECT_EQ(ini_.IniReadIntDefault("PBX", "InBandSignalWait", 20), 20);
    EXPECT_EQ(host_.messages, std::vector<std::string>(3, "RY.INI path not set"));

    ini_.IniWriteString("Brand", "Name", "x"); // not reported, only recorded
    EXPECT_EQ(ini_.LastIniWriteResult(), 0);
    EXPECT_EQ(host_.messages.size(), 3u);
}

TEST_F(EngineSettingsTest, WriteThenReadThroughTheFile) {
    ini_.SetIniPath(dir_.string());
    ini_.IniWriteString("CTMedia", "DefaultScript", "/scripts/main.rys");
    EXPECT_NE(ini_.LastIniWriteResult(), 0);
    ini_.IniWriteString("TapiDevice1", "Script", "/scripts/main.rys");
    EXPECT_EQ(Slurp("RY.INI"), "[CTMedia]\r\nDefaultScript=/scripts/main.rys\r\n"
                               "[TapiDevice1]\r\nScript=/scripts/main.rys\r\n");
    EXPECT_EQ(ini_.IniReadString("ctmedia", "defaultscript"), "/scripts/main.rys");

    ini_.IniWriteString("CTMedia", "Bad", "two\r\nlines");
    EXPECT_EQ(ini_.LastIniWriteResult(), 0);
}

TEST_F(EngineSettingsTest, FindsTheFileInAnyLetterCaseAndKeepsTheFolder) {
    fs::path folder = dir_ / "Program Files" / "Ryvane";
    fs::create_directories(folder);
    std::ofstream(folder / "ry.ini", std::ios::binary) << "[Brand]\r\nName=Lower\r\n";

    ini_.SetIniPath(folder.string() + "/");
    EXPECT_EQ(ini_.IniPath(), (folder / "ry.ini").string());
    EXPECT_EQ(ini_.IniReadString("Brand", "Name"), "Lower");
    ini_.IniWriteString("Brand", "Http", "x");
    EXPECT_NE(ini_.LastIniWriteResult(), 0);
    EXPECT_FALSE(fs::exists(folder / "RY.INI")); // the existing file was written

    // The exact name is preferred when several spellings exist.
    std::ofstream(folder / "RY.INI", std::ios::binary) << "";
    std::ofstream(folder / "Ry.Ini", std::ios::binary) << "";
    ini_.SetIniPath(folder.string());
    EXPECT_EQ(ini_.IniPath(), (folder / "RY.INI").string());

    // Only a file counts; without one, RY.INI is named (and later created).
    fs::path empty = dir_ / "Empty";
    fs::create_directories(empty / "ry.ini");
    ini_.SetIniPath(empty.string());
    EXPECT_EQ(ini_.IniPath(), (empty / "RY.INI").string());

    ini_.SetIniPath("");
    EXPECT_EQ(ini_.IniPath(), "");
}

TEST(ProgramFolder, IsRyvaneHomeOrTheExecutablesFolder) {
    const char* saved = std::getenv("RYVANE_HOME");
    std::string savedValue = saved ? saved : "";

    ::setenv("RYVANE_HOME", "/opt/Ryvane//", 1);
    EXPECT_EQ(ProgramFolder(), "/opt/Ryvane");
    ::setenv("RYVANE_HOME", "", 1);
    std::string exeFolder = fs::read_symlink("/proc/self/exe").parent_path().string();
    EXPECT_EQ(ProgramFolder(), exeFolder);
    ::unsetenv("RYVANE_HOME");
    EXPECT_EQ(ProgramFolder(), exeFolder);

    if (saved)
        ::setenv("RYVANE_HOME", savedValue.c_str(), 1);
}

} // namespace
} // namespace ry
