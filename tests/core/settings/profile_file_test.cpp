#include "settings/profile_file.h"

#include "temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <string>

#include <sys/stat.h>

namespace ry {
namespace {

namespace fs = std::filesystem;

struct ReadCase {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    const char* expected; // nullptr: the key is not found
};

TEST(ProfileRead, FindsValuesTheWayThePlatformDoes) {
    const ReadCase cases[] = {
        {"plain", "[A]\r\nk=v\r\n", "A", "k", "v"},
        {"case of section and key", "[pbx]\r\nHANGUPONDTMF=#\r\n", "PBX", "HangupOnDtmf", "#"},
        {"accented letters fold", "[\xC9t\xE9]\r\nk=1\r\n", "\xE9T\xC9", "k", "1"},
        {"blanks around names and value", "  [ A ] \r\n\t k \t=  v w \t\r\n", "A", "k", "v w"},
        {"names given with blanks", "[A]\r\nk=v\r\n", " A ", " k ", "v"},
        {"first key wins", "[A]\r\nk=1\r\nK=2\r\n", "A", "k", "1"},
        {"only the first section counts", "[A]\r\nx=1\r\n[B]\r\n[a]\r\nk=2\r\n", "A", "k", nullptr},
        {"first section's key", "[A]\r\nk=1\r\n[a]\r\nk=2\r\n", "a", "k", "1"},
        {"key in another section", "[A]\r\nk=1\r\n[B]\r\n", "B", "k", nullptr},
        {"key before any section", "k=1\r\n[A]\r\n", "A", "k", nullptr},
        {"value holding =", "[A]\r\nk=a=b==c\r\n", "A", "k", "a=b==c"},
        {"empty value", "[A]\r\nk=\r\n", "A", "k", ""},
        {"comment is not a key", "[A]\r\n;k=1\r\n  ; k=2\r\n", "A", "k", nullptr},
        {"semicolon in a value is text", "[A]\r\nk=1 ; note\r\n", "A", "k", "1 ; note"},
        {"line without = is not a key", "[A]\r\nk\r\nk v\r\n", "A", "k", nullptr},
        {"[ without ] is not a header", "[A]\r\n[B\r\nk=1\r\n", "A", "k", "1"},
        {"text after ] ignored", "[A] ; first\r\nk=1\r\n", "A", "k", "1"},
        {"name up to the first ]", "[A]B]\r\nk=1\r\n", "A", "k", "1"},
        {"LF line ends", "[A]\nx=0\nk=v\n", "A", "k", "v"},
        {"no final line end", "[A]\r\nk=v", "A", "k", "v"},
        {"lone CR stays in the line", "[A]\r\nj=1\rk=2\r\n", "A", "j", "1\rk=2"},
        {"lone CR line is no key", "[A]\r\nj=1\rk=2\r\n", "A", "k", nullptr},
        {"blank lines", "\r\n\r\n[A]\r\n\r\nk=v\r\n\r\n", "A", "k", "v"},
        {"empty text", "", "A", "k", nullptr},
        {"empty key never matches", "[A]\r\n=v\r\n", "A", "", nullptr},
        {"empty section never matches", "[]\r\nk=v\r\n", "", "k", nullptr},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<std::string_view> v = FindProfileValue(c.text, c.section, c.key);
        if (c.expected == nullptr) {
            EXPECT_FALSE(v.has_value());
        } else {
            ASSERT_TRUE(v.has_value());
            EXPECT_EQ(*v, c.expected);
        }
    }
    // NUL is an ordinary byte of the value.
    EXPECT_EQ(FindProfileValue(std::string("[A]\r\nk=a\0b\r\n", 12), "A", "k"),
              std::string_view("a\0b", 3));
}

TEST(ProfileRead, StringReadDropsOneQuotePairAndStopsAt511) {
    struct {
        const char* value;
        const char* expected;
    } const cases[] = {
        {"\"quoted\"", "quoted"},       {"'single'", "single"},
        {"\"\"x\"\"", "\"x\""},         {"\"open", "\"open"},
        {"'mixed\"", "'mixed\""},       {"\"", "\""},
        {" \" padded \" ", " padded "}, {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ReadProfileString(std::string("[A]\r\nk=") + c.value + "\r\n", "A", "k"),
                  c.expected);
    }
    std::string longValue(600, 'x');
    EXPECT_EQ(ReadProfileString("[A]\r\nk=" + longValue, "A", "k"), std::string(511, 'x'));
    EXPECT_EQ(ReadProfileString("[A]\r\nk=\"" + longValue + "\"", "A", "k"), std::string(511, 'x'));
    EXPECT_EQ(ReadProfileString("[A]\r\n", "A", "k"), "");
}

TEST(ProfileRead, IntReadTakesTheLeadingNumber) {
    struct {
        const char* value;
        std::int32_t expected;
    } const cases[] = {
        {"12", 12},
        {"12ab", 12},
        {"-4", -4},
        {"+7", 7},
        {"ab", 0},
        {"-", 0},
        {"1 2", 1},
        {"0x1F", 31},
        {"0XfF", 255},
        {"-0x10", -16},
        {"0x", 0},
        {"0xg", 0},
        {"007", 7},
        {"2147483647", 2147483647},
        {"2147483648", -2147483647 - 1}, // wraps as the platform's read does
        {"4294967296", 0},
        {"99999999999999999999999", -159383553},
        {"\"42\"", 42},
        {"12.9", 12},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(ReadProfileInt(std::string("[A]\r\nk=") + c.value + "\r\n", "A", "k", 99),
                  c.expected);
    }
    // The default only when the value is missing or empty.
    EXPECT_EQ(ReadProfileInt("[A]\r\n", "A", "k", 20), 20);
    EXPECT_EQ(ReadProfileInt("[A]\r\nk=\r\n", "A", "k", 20), 20);
    EXPECT_EQ(ReadProfileInt("[A]\r\nk=\"\"\r\n", "A", "k", 20), 20);
    EXPECT_EQ(ReadProfileInt("", "A", "k", -3), -3);
}

struct WriteCase {
    const char* name;
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

TEST(ProfileWrite, ChangesOneKeyAndKeepsEveryOtherByte) {
    const std::string file = "; engine settings\r\n"
                             "\r\n"
                             "[PBX]\r\n"
                             "Transfer_Prefix = ,,\r\n"
                             "; the tone length\r\n"
                             "DurationDtmfTone=80\r\n"
                             "\r\n"
                             "[RyKem]\r\n"
                             "DesignAreaWidth=3000\r\n";
    const WriteCase cases[] = {
        {"replace keeps the key's spelling and blanks", file, "pbx", "TRANSFER_PREFIX", "9",
         "; engine settings\r\n\r\n[PBX]\r\nTransfer_Prefix = 9\r\n; the tone length\r\n"
         "DurationDtmfTone=80\r\n\r\n[RyKem]\r\nDesignAreaWidth=3000\r\n"},
        {"new key after the section's last key", file, "PBX", "HangupOnDtmf", "#",
         "; engine settings\r\n\r\n[PBX]\r\nTransfer_Prefix = ,,\r\n; the tone length\r\n"
         "DurationDtmfTone=80\r\nHangupOnDtmf=#\r\n\r\n[RyKem]\r\nDesignAreaWidth=3000\r\n"},
        {"new key in the last section", file, "RyKem", "DesignAreaHeight", "2500",
         file + "DesignAreaHeight=2500\r\n"},
        {"new section at the end", file, "Brand", "Name", "Acme",
         file + "[Brand]\r\nName=Acme\r\n"},
        {"empty text", "", "A", "k", "v", "[A]\r\nk=v\r\n"},
        {"section without keys", "[A]\r\n; none yet\r\n\r\n[B]\r\n", "A", "k", "v",
         "[A]\r\nk=v\r\n; none yet\r\n\r\n[B]\r\n"},
        {"header is the last line, no line end", "[A]", "A", "k", "v", "[A]\r\nk=v\r\n"},
        {"last key has no line end", "[A]\r\nx=1", "A", "k", "v", "[A]\r\nx=1\r\nk=v\r\n"},
        {"replace in the last line without line end", "[A]\r\nk=1", "A", "k", "22", "[A]\r\nk=22"},
        {"new section after a text without final line end", "[A]\r\nx=1", "B", "k", "v",
         "[A]\r\nx=1\r\n[B]\r\nk=v\r\n"},
        {"duplicate sections: the first one", "[A]\r\nx=1\r\n[B]\r\n[A]\r\nk=2\r\n", "A", "k", "3",
         "[A]\r\nx=1\r\nk=3\r\n[B]\r\n[A]\r\nk=2\r\n"},
        {"duplicate keys: the first one", "[A]\r\nk=1\r\nk=2\r\n", "A", "K", "3",
         "[A]\r\nk=3\r\nk=2\r\n"},
        {"value with = and quotes", "[A]\r\nk=1\r\n", "A", "k", "\"a=b\"", "[A]\r\nk=\"a=b\"\r\n"},
        {"empty value", "[A]\r\nk=1\r\n", "A", "k", "", "[A]\r\nk=\r\n"},
        {"trailing blanks of the old value go", "[A]\r\nk=1  \t\r\n", "A", "k", "2",
         "[A]\r\nk=2\r\n"},
        {"blanks-only old value", "[A]\r\nk=   \r\n", "A", "k", "2", "[A]\r\nk=   2\r\n"},
        {"names written trimmed", "", " A ", " k ", " v ", "[A]\r\nk= v \r\n"},
        {"lines without = and comments are no keys", "[A]\r\nk\r\n;k=0\r\n", "A", "k", "1",
         "[A]\r\nk=1\r\nk\r\n;k=0\r\n"},
        {"keys before any section stay", "k=0\r\n", "A", "k", "1", "k=0\r\n[A]\r\nk=1\r\n"},
        {"LF file gets LF lines", "[A]\nx=1\n", "A", "k", "v", "[A]\nx=1\nk=v\n"},
        {"LF file, new section", "[A]\nx=1", "B", "k", "v", "[A]\nx=1\n[B]\nk=v\n"},
        {"LF file, replaced line keeps its LF", "[A]\nk=1\n", "A", "k", "2", "[A]\nk=2\n"},
        {"mixed ends follow the first line", "[A]\r\nx=1\n", "A", "k", "v", "[A]\r\nx=1\nk=v\r\n"},
        {"lone CR is not a line end: the header line swallows k=1", "[A]\rk=1\r\n", "A", "k", "2",
         "[A]\rk=1\r\nk=2\r\n"},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<std::string> after = SetProfileString(c.before, c.section, c.key, c.value);
        ASSERT_TRUE(after.has_value());
        EXPECT_EQ(*after, c.after);
        EXPECT_EQ(ReadProfileString(*after, c.section, c.key),
                  ReadProfileString(std::string("[S]\r\nk=") + c.value, "S", "k"));
    }
}

TEST(ProfileWrite, RefusesWhatTheFileCannotHold) {
    const struct {
        const char* section;
        std::string key;
        std::string value;
    } cases[] = {
        {"", "k", "v"},
        {"  ", "k", "v"},
        {"A", "", "v"},
        {"A", "k", "two\r\nlines"},
        {"A", "k", "lf\nonly"},
        {"A", "k", "cr\ronly"},
        {"A", "k", std::string("n\0l", 3)},
        {"A", "k=", "v"},
        {"A", ";k", "v"},
        {"A", "[k", "v"},
        {"A]", "k", "v"},
        {"A\r\n[B", "k", "v"},
        {"A", "k\nx", "v"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key + "/" + c.value);
        EXPECT_FALSE(SetProfileString("[A]\r\nk=1\r\n", c.section, c.key, c.value).has_value());
    }
}

TEST(ProfileFile, StaysLinearOnALongLine) {
    std::string text = "[A]\r\n" + std::string(10'000'000, 'x') + "\r\nk=1";
    EXPECT_EQ(ReadProfileString(text, "A", "k"), "1");
    std::optional<std::string> after = SetProfileString(text, "A", "k", "2");
    ASSERT_TRUE(after.has_value());
    EXPECT_EQ(after->size(), text.size());
    std::string noBreaks(10'000'000, '[');
    EXPECT_EQ(ReadProfileString(noBreaks, "A", "k"), "");
}

class ProfileFileOnDisk : public ::testing::Test {
protected:
    static std::string Slurp(const fs::path& p) { return test::ReadAll(p.string()); }
    size_t FileCount() const {
        return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {}));
    }

    test::TempDir temp_;
    const fs::path& dir_ = temp_.path();
    std::string path_ = temp_.File("RY.INI");
};

TEST_F(ProfileFileOnDisk, MissingFileReadsEmptyAndIsCreated) {
    EXPECT_EQ(ReadProfileFile(path_), "");
    ASSERT_TRUE(WriteProfileString(path_, "PBX", "HangupOnDtmf", "#"));
    EXPECT_EQ(Slurp(path_), "[PBX]\r\nHangupOnDtmf=#\r\n");
    EXPECT_EQ(FileCount(), 1u); // no temporary file left behind
}

TEST_F(ProfileFileOnDisk, WriteKeepsTheRestAndTheFileMode) {
    temp_.Write("RY.INI", "; hand-written\r\n[A]\r\nk=1\r\n");
    ::chmod(path_.c_str(), 0640);
    ASSERT_TRUE(WriteProfileString(path_, "A", "k", "2"));
    EXPECT_EQ(Slurp(path_), "; hand-written\r\n[A]\r\nk=2\r\n");
    EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(FileCount(), 1u);
}

TEST_F(ProfileFileOnDisk, WriteThroughASymbolicLinkKeepsTheLink) {
    fs::path real = dir_ / "engine.ini";
    temp_.Write("engine.ini", "[A]\r\nk=1\r\n");
    fs::create_symlink(real, path_);
    ASSERT_TRUE(WriteProfileString(path_, "A", "k", "2"));
    EXPECT_TRUE(fs::is_symlink(path_));
    EXPECT_EQ(Slurp(real), "[A]\r\nk=2\r\n");
}

TEST_F(ProfileFileOnDisk, FailedWritesLeaveEverythingInPlace) {
    // A folder in the way of the file: nothing can be read, so nothing is written.
    fs::create_directory(path_);
    EXPECT_EQ(ReadProfileFile(path_), std::nullopt);
    EXPECT_FALSE(WriteProfileString(path_, "A", "k", "v"));
    EXPECT_TRUE(fs::is_directory(path_));
    EXPECT_EQ(FileCount(), 1u);

    EXPECT_FALSE(WriteProfileString((dir_ / "missing" / "RY.INI").string(), "A", "k", "v"));
    EXPECT_FALSE(WriteProfileString("", "A", "k", "v"));

    // A refused write leaves the file as it was.
    fs::remove(path_);
    temp_.Write("RY.INI", "[A]\r\nk=1\r\n");
    EXPECT_FALSE(WriteProfileString(path_, "A", "k", "x\r\n[B]"));
    EXPECT_EQ(Slurp(path_), "[A]\r\nk=1\r\n");
}

} // namespace
} // namespace ry
