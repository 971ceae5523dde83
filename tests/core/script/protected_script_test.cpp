#include "script/protected_script.h"

#include "script/loader.h"
#include "script/saver.h"
#include "script/text.h"

#include "core/script/script_builder.h"
#include "recording_host.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <memory>

namespace ry {
namespace {

using test::AddModule;
using test::NewScript;
using test::ReadAll;
using test::RecordingHost;
using test::TempDir;

TEST(ScriptKey, IsBuiltFromItsCheckedStoredForm) {
    std::string key = ScriptKey();
    ASSERT_EQ(key.size(), 2u);
    // The stored form's check value, 0x0A35, guards it: a changed digit gives no key.
    EXPECT_EQ(DecodeStoredString("98BB0C440A36"), "");
    EXPECT_EQ(DecodeStoredString("98BB0C440A35"), key);
}

TEST(DecodeStoredString, Rules) {
    EXPECT_EQ(DecodeStoredString("98BB0C44"), "") << "shorter than ten characters";
    EXPECT_EQ(DecodeStoredString("98BB0C44XX35"), "") << "not hexadecimal";
    // Each byte is the sum of its character and the byte before (starting from 43); the check
    // adds 3 * byte + 7 to 1328. "xyAB": bytes A3 1C 5D 9F, check 0x0A7D.
    EXPECT_EQ(DecodeStoredString("A31C5D9F0A7D"), "AB");
}

TEST(Cipher, RoundTripsEveryByteAndUsesTheKeyFromItsSecondCharacter) {
    std::string all;
    for (int i = 0; i < 256; ++i)
        all.push_back(static_cast<char>(i));
    for (std::string_view key : {"ab", "Q8", " x ", "LONGERKEY"})
        EXPECT_EQ(DecryptScriptText(EncryptScriptText(all, key), key), all) << key;
    // "A" + "C" = 0x84, "A" + "B" = 0x83: trimmed, upper-cased key, second character first.
    EXPECT_EQ(EncryptScriptText("AAAA", " bc"), "\x84\x83\x84\x83");
    EXPECT_EQ(EncryptScriptText("text", "  "), "text") << "an empty key changes nothing";
    EXPECT_EQ(EncryptScriptText("\xff", "AA")[0], static_cast<char>(0xff + 'A' - 256));
}

class ProtectedTest : public ::testing::Test {
protected:
    std::unique_ptr<ScriptTables> tables = std::make_unique<ScriptTables>();
    RecordingHost host;
    ProtectedWriter writer;
    TempDir dir;
    std::int16_t script = 0;

    void SetUp() override {
        script = NewScript(*tables);
        AddModule(*tables, script, "Play", "Welcome").PlayFileSlot(1) = "hello.wav";
        AddModule(*tables, script, "Hangup the Call", "Bye");
        tables->Script(script).Modified = true;
    }

    std::int16_t Save(const std::string& file, const std::string& password) {
        tables->Script(script).FileName = file;
        tables->Script(script).Password = password;
        return SaveScriptFile(*tables, host, RecordBoxes(*tables), writer, script);
    }
};

TEST_F(ProtectedTest, NewNameAsksForThePasswordThenWrites) {
    std::string file = dir.File("secret.RyP");
    EXPECT_EQ(Save(file, "NOTSET"), kSaveWaitingForPassword);
    EXPECT_EQ(host.saveRequests, std::vector<std::int16_t>{script});
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(tables->Script(script).Modified) << "nothing is saved until the password is given";

    EXPECT_EQ(writer.CompletePendingSave(*tables, host, " Open Sesame "), ProtectedWriter::Written);
    EXPECT_EQ(writer.PendingProtectedScript, 0);
    EXPECT_FALSE(tables->Script(script).Modified);
    EXPECT_EQ(tables->Script(script).Password, "OPEN SESAME");

    std::string plain = DecryptScriptText(ReadAll(file), ScriptKey());
    EXPECT_TRUE(
        plain.starts_with("Version=5.0\r\nPassword=OPEN SESAME\r\nDefaultModuleDisplayHeight="))
        << plain.substr(0, 60);
    EXPECT_FALSE(plain.ends_with("\r\n")) << "nothing follows the last byte";
}

TEST_F(ProtectedTest, OpensWithThePasswordInAnyCase) {
    std::string file = dir.File("s.ryp");
    ASSERT_EQ(Save(file, "Secret"), kSaveWritten);

    struct Case {
        const char* typed;
        std::string_view caller;
        std::int16_t expected; // 0: loads
    } cases[] = {
        {"secret", kCallerDesigner, 0},
        {"  SeCrEt ", kCallerDesigner, 0},
        {"wrong", kCallerDesigner, kLoadWrongPassword},
        {"", kCallerDesigner, kLoadWrongPassword},
        {"", kCallerEngine, 0},
    };
    for (const Case& c : cases) {
        auto t = std::make_unique<ScriptTables>();
        RecordingHost h;
        h.password = c.typed;
        std::int16_t r = RysScriptLoad(*t, h, file, c.caller);
        EXPECT_EQ(h.passwordQuestions, c.caller == kCallerEngine ? 0 : 1);
        if (c.expected == 0) {
            ASSERT_GE(r, 1) << c.typed;
            EXPECT_EQ(t->Script(r).Password, "SECRET");
            EXPECT_EQ(t->Script(r).ModuleCount, 2);
            EXPECT_EQ(t->Module(t->Script(r).FirstModule).PlayFileSlot(1), "hello.wav");
        } else {
            EXPECT_EQ(r, c.expected) << c.typed;
            EXPECT_EQ(t->MemStructRym_FreeCount(), 1000);
            EXPECT_TRUE(t->Script(1).IsFree);
        }
    }
}

TEST_F(ProtectedTest, DamagedAndEmptyFiles) {
    host.password = "x";
    EXPECT_EQ(RysScriptLoad(*tables, host, dir.Write("junk.ryp", "plain text, not enciphered")),
              kLoadNotAScript);
    EXPECT_EQ(RysScriptLoad(*tables, host, dir.Write("empty.ryp", "")), kLoadNothingDeciphered);
    EXPECT_EQ(tables->MemStructRym_FreeCount(), 998) << "only the two modules of SetUp";
}

TEST_F(ProtectedTest, EmptyPasswordOpensWithEmptyPassword) {
    std::string file = dir.File("open.ryp");
    ASSERT_EQ(Save(file, ""), kSaveWritten);
    host.password = "";
    EXPECT_GE(RysScriptLoad(*tables, host, file), 1);
}

TEST_F(ProtectedTest, ScriptTooLargeForTheReaderIsNotWritten) {
    std::string file = dir.Write("big.ryp", "old contents");
    tables->Module(tables->Script(script).FirstModule).Txt = std::string(70000, 'x');
    EXPECT_EQ(Save(file, "pw"), kSaveFailed);
    EXPECT_EQ(ReadAll(file), "old contents");
    EXPECT_TRUE(tables->Script(script).Modified);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("65000"), std::string::npos);
    EXPECT_TRUE(host.messages[0].ends_with("File not saved."));
}

TEST_F(ProtectedTest, ReaderStopsAtTheLimit) {
    // A file written by another program past the limit is read only that far.
    std::string text = "Version=5.0\r\nPassword=PW\r\n[A]\r\nTxt=" + std::string(70000, 'y');
    std::string file = dir.Write("long.ryp", EncryptScriptText(text, ScriptKey()));
    host.password = "pw";
    std::int16_t s = RysScriptLoad(*tables, host, file);
    ASSERT_GE(s, 1);
    EXPECT_EQ(tables->Module(tables->Script(s).FirstModule).Txt.size(),
              kProtectedReadLimit - (text.size() - 70000));
}

TEST_F(ProtectedTest, FailedWriteKeepsTheOldFile) {
    std::string file = dir.File("no-such-folder/s.ryp");
    EXPECT_EQ(Save(file, "pw"), kSaveFailed);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], "Error opening " + file + "\r\nFile not saved.");
    EXPECT_TRUE(tables->Script(script).Modified);
}

} // namespace
} // namespace ry
