#include "rys.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

namespace ry::cli {
namespace {

namespace fs = std::filesystem;

class RysIni : public ::testing::Test {
protected:
    int Run(std::vector<std::string> args) {
        out_.str("");
        err_.str("");
        return RunRys(args, out_, err_);
    }
    void Put(const std::string& text) { temp_.Write("RY.INI", text); }
    std::string Slurp() { return test::ReadAll(ini_); }

    test::TempDir temp_;
    const fs::path& dir_ = temp_.path();
    std::string ini_ = temp_.File("RY.INI");
    std::ostringstream out_;
    std::ostringstream err_;
};

TEST_F(RysIni, GetPrintsTheStringRead) {
    Put("[PBX]\r\nTransfer_Prefix = \"9,\" \r\n[Brand]\r\nName=Caf\xE9\r\n");
    EXPECT_EQ(Run({"ini", "get", ini_, "pbx", "TRANSFER_PREFIX"}), 0);
    EXPECT_EQ(out_.str(), "9,\n");
    EXPECT_EQ(Run({"ini", "get", ini_, "Brand", "Name"}), 0);
    EXPECT_EQ(out_.str(), "Caf\xC3\xA9\n"); // Windows-1252 in the file, UTF-8 on the terminal
    EXPECT_EQ(Run({"ini", "get", ini_, "Brand", "Http"}), 0);
    EXPECT_EQ(out_.str(), "\n");
    EXPECT_EQ(Run({"ini", "get", (dir_ / "none.ini").string(), "Brand", "Name"}), 0);
    EXPECT_EQ(out_.str(), "\n");
}

TEST_F(RysIni, GetIntTakesTheLeadingNumberOrTheDefault) {
    Put("[PBX]\r\nDurationHookflash=12ab\r\nInBandSignalWait=\r\nX=abc\r\n");
    const struct {
        const char* key;
        const char* defaultValue;
        const char* printed;
    } cases[] = {
        {"DurationHookflash", "0", "12\n"},
        {"InBandSignalWait", "20", "20\n"}, // empty value
        {"Missing", "-5", "-5\n"},
        {"X", "7", "0\n"}, // present but not a number
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(Run({"ini", "get", ini_, "PBX", c.key, "--int", c.defaultValue}), 0);
        EXPECT_EQ(out_.str(), c.printed);
    }
}

TEST_F(RysIni, SetChangesOneKeyAndKeepsTheRest) {
    Put("; edited by hand\r\n[PBX]\r\nHangupOnDtmf=*\r\n\r\n[Brand]\r\nName=X\r\n");
    EXPECT_EQ(Run({"ini", "set", ini_, "pbx", "hangupondtmf", "#"}), 0);
    EXPECT_EQ(Run({"ini", "set", ini_, "PBX", "Transfer_Prefix", "a=b"}), 0);
    EXPECT_EQ(Run({"ini", "set", ini_, "CTMedia", "DefaultScript", "Caf\xC3\xA9.rys"}), 0);
    EXPECT_EQ(Slurp(), "; edited by hand\r\n[PBX]\r\nHangupOnDtmf=#\r\nTransfer_Prefix=a=b\r\n"
                       "\r\n[Brand]\r\nName=X\r\n[CTMedia]\r\nDefaultScript=Caf\xE9.rys\r\n");
    EXPECT_EQ(out_.str(), "");
}

TEST_F(RysIni, UsageErrorsExitTwoAndFailedWritesOne) {
    const std::vector<std::vector<std::string>> usage = {
        {"ini"},
        {"ini", "list", ini_},
        {"ini", "get", ini_, "A"},
        {"ini", "get", ini_, "A", "k", "--int"},
        {"ini", "get", ini_, "A", "k", "--int", "x"},
        {"ini", "get", ini_, "A", "k", "--hex", "1"},
        {"ini", "set", ini_, "A", "k"},
        {"ini", "set", ini_, "A", "k=", "v"},
        {"ini", "set", ini_, "A", "k", "two\nlines"},
    };
    for (const auto& args : usage) {
        SCOPED_TRACE(args.size());
        EXPECT_EQ(Run(args), 2);
        EXPECT_NE(err_.str().find("Usage: rys"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(ini_));

    EXPECT_EQ(Run({"ini", "set", (dir_ / "missing" / "RY.INI").string(), "A", "k", "v"}), 1);
    EXPECT_NE(err_.str().find("could not write"), std::string::npos);

    fs::create_directory(ini_);
    EXPECT_EQ(Run({"ini", "get", ini_, "A", "k"}), 1);
    EXPECT_EQ(Run({"ini", "set", ini_, "A", "k", "v"}), 1);
}

} // namespace
} // namespace ry::cli
