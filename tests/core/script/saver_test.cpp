#include "script/saver.h"

#include "script/loader.h"
#include "script/record_fields.h"
#include "script/text.h"

#include "core/script/script_builder.h"
#include "recording_host.h"
#include "temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>

#include <csignal>
#include <sys/resource.h>

namespace ry {
namespace {

using test::AddModule;
using test::NewScript;
using test::ReadAll;
using test::RecordingHost;
using test::TempDir;

// Boxes as the canvas would report them, with modules left without a box on request.
class FakeBoxes : public BoxSource {
public:
    std::map<std::int16_t, BoxState> boxes;
    std::optional<BoxState> Box(std::int16_t module) const override {
        auto it = boxes.find(module);
        if (it == boxes.end())
            return std::nullopt;
        return it->second;
    }
};

class SaverTest : public ::testing::Test {
protected:
    std::unique_ptr<ScriptTables> tables = std::make_unique<ScriptTables>();
    RecordingHost host;
    ProtectedWriter writer;
    TempDir dir;

    std::int16_t SaveAs(std::int16_t script, const std::string& path, const BoxSource& boxes) {
        tables->Script(script).FileName = path;
        return SaveScriptFile(*tables, host, boxes, writer, script);
    }
};

TEST_F(SaverTest, WritesTheLayout) {
    std::int16_t s = NewScript(*tables);
    ModuleRecord& play = AddModule(*tables, s, "Play", "Welcome", 10, 20);
    play.PlayFileSlot(1) = "hello.wav";
    play.PlayFileSlot(3) = "menu.wav";
    play.PathText = "on {1} goto [Bye]\r\n";
    AddModule(*tables, s, "Hangup the Call", "Bye", 200, 20);
    FakeBoxes boxes;
    boxes.boxes[1] = {"Greeting\r\nand menu", 69};
    boxes.boxes[2] = {"Hangup the call.", 24};

    std::string file = dir.File("out.rys");
    ASSERT_EQ(SaveAs(s, file, boxes), kSaveWritten);
    EXPECT_EQ(ReadAll(file), "Version=5.0\r\n"
                             "DefaultModuleDisplayHeight=long\r\n"
                             "StartModule=Welcome\r\n"
                             "RunAtHangup=\r\n"
                             "StartWithoutAnswer=0\r\n"
                             "CtmAsiName=\r\n"
                             "\r\n"
                             "[Welcome]\r\n"
                             "Type=Play\r\n"
                             "DispSize=69\r\n"
                             "Txt=Greeting\\\r\n"
                             "and menu\r\n"
                             "PlayFile1=hello.wav\r\n"
                             "PlayFile3=menu.wav\r\n"
                             "Replay=2,5\r\n"
                             "strTtsText=\r\n"
                             "on {1} goto [Bye]\r\n"
                             "\r\n"
                             "Position=10,20\r\n"
                             "\r\n"
                             "[Bye]\r\n"
                             "Type=Hangup the Call\r\n"
                             "DispSize=24\r\n"
                             "Txt=Hangup the call.\r\n"
                             "\r\n"
                             "Position=200,20\r\n");
    EXPECT_EQ(play.Txt, "Greeting\r\nand menu") << "the box text is collected into the module";
}

TEST_F(SaverTest, TypeSpecificRules) {
    std::int16_t s = NewScript(*tables);
    AddModule(*tables, s, "Get Numbers", "G");
    AddModule(*tables, s, "Evaluate", "E").PlayFileSlot(1) = "a + b\r\nc";
    AddModule(*tables, s, "play", "P").PlayFileSlot(1) = "x.wav";
    AddModule(*tables, s, "Record", "R").PlayTone = true;
    AddModule(*tables, s, "Dial and Conference", "D").sDncPhoneNumber = "555";
    std::string text = BuildScriptText(*tables, s, RecordBoxes(*tables));

    EXPECT_NE(text.find("GetNbrLenEnforce=0\r\nConfirm=OFF"), std::string::npos);
    EXPECT_EQ(text.find("GetNbrLenMax"), std::string::npos);
    EXPECT_NE(text.find("Expression=a + b\r\nExprNewRV="), std::string::npos);
    EXPECT_EQ(text.find("PlayFile1=x.wav"), std::string::npos) << "type names match exactly";
    EXPECT_NE(text.find("RecFile=\r\nPlayTone=ON"), std::string::npos);
    EXPECT_NE(text.find("sDncPhoneNumber0=555\r\nsDncMaxConnectTime0="), std::string::npos);
}

TEST_F(SaverTest, ModuleWithoutBoxGetsTheDescriptionPlaceholder) {
    std::int16_t s = NewScript(*tables);
    AddModule(*tables, s, "Play", "A").DispSize = 30;
    FakeBoxes none;
    ASSERT_EQ(SaveAs(s, dir.File("a.rys"), none), kSaveWritten);
    std::string text = ReadAll(dir.File("a.rys"));
    EXPECT_NE(text.find("DispSize=30\r\nTxt=Module description...\r\n"), std::string::npos);
}

TEST_F(SaverTest, ScriptTextAndHoldSound) {
    struct Case {
        const char* script;
        const char* written;
    } cases[] = {
        {"MsgBox 1", "VbScript=MsgBox 1\r\nVbsHoldPlay=h.wav"},
        // A text ending in a line end (as every text read back does) needs no other.
        {"a\r\nb\r\n", "VbScript=a\r\nb\r\nVbsHoldPlay=h.wav"},
        {"a\r\nb\r\n\r\n", "VbScript=a\r\nb\r\n\r\nVbsHoldPlay=h.wav"},
        // A last line after a blank one starts its own line for the hold sound, never glued.
        {"a\r\n\r\nb", "VbScript=a\r\n\r\nb\r\nVbsHoldPlay=h.wav"},
        {"  a  ", "VbScript=a\r\nVbsHoldPlay=h.wav"},
        // Lines the reader would take for the end of the text go out with a blank in front.
        {"x = 1\r\nPosition=5\r\non {1} goto [B]\r\nON {\r\nVbsHoldPlay=1",
         "VbScript=x = 1\r\n Position=5\r\n on {1} goto [B]\r\n ON {\r\n VbsHoldPlay=1\r\n"
         "VbsHoldPlay=h.wav"},
        // The same words in the first line, or not at the start of a line, stay as they are.
        {"Position=5\r\nx = Position=5",
         "VbScript=Position=5\r\nx = Position=5\r\nVbsHoldPlay=h.wav"},
        // A first line that would read as continued starts on the line after the key.
        {"' see http://x/\r\ny = 1", "VbScript=\r\n' see http://x/\r\ny = 1\r\nVbsHoldPlay=h.wav"},
        {"a\\  \r\n[B]", "VbScript=\r\na\\  \r\n[B]\r\nVbsHoldPlay=h.wav"},
        // So does a first line ending in a blank, which the key's line would lose.
        {"x \r\ny", "VbScript=\r\nx \r\ny\r\nVbsHoldPlay=h.wav"},
        {"x \\\r\ny", "VbScript=\r\nx \\\r\ny\r\nVbsHoldPlay=h.wav"},
        {"x /", "VbScript=\r\nx /\r\nVbsHoldPlay=h.wav"},
        {"x  \r\n\r\ny  ", "VbScript=\r\nx  \r\n\r\ny\r\nVbsHoldPlay=h.wav"},
        // Later lines are read as they stand: blanks and backslashes at their ends stay.
        {"x\r\ny \\\r\nz ", "VbScript=x\r\ny \\\r\nz\r\nVbsHoldPlay=h.wav"},
        {"\r\n\r\nx \r\n", "VbScript=\r\n\r\nx \r\nVbsHoldPlay=h.wav"},
    };
    for (const Case& c : cases) {
        auto t = std::make_unique<ScriptTables>();
        std::int16_t s = NewScript(*t);
        ModuleRecord& m = AddModule(*t, s, "Run VB Script", "V");
        m.PlayFileSlot(1) = c.script;
        m.PlayFileSlot(2) = "h.wav";
        std::string text = BuildScriptText(*t, s, RecordBoxes(*t));
        EXPECT_NE(text.find(std::string("\r\n") + c.written + "\r\n"), std::string::npos)
            << c.script << "\n"
            << text;

        // What is written reads back to the same hold sound, and writing it again is stable.
        std::string file = (std::filesystem::temp_directory_path() / "ry-vbs.rys").string();
        std::ofstream(file, std::ios::binary) << text;
        RecordingHost h;
        std::int16_t back = RysScriptLoad(*t, h, file);
        ASSERT_GE(back, 1);
        const ModuleRecord& r = t->Module(t->Script(back).FirstModule);
        EXPECT_EQ(r.PlayFileSlot(2), "h.wav") << c.script;
        // The text comes back whole, in the module it was in; only the blanks and line ends
        // the writing put in front of lines differ.
        EXPECT_EQ(t->Script(back).ModuleCount, 1) << c.script;
        auto lines = [](std::string_view text) {
            std::string out;
            for (text = Trim(text); !text.empty();) {
                std::string_view line = TrimLeft(TakeLine(text));
                if (!line.empty() || !out.empty())
                    out.append(line).append("|");
            }
            // A text ending in a line end may gain one on the first reading.
            while (out.ends_with("||"))
                out.pop_back();
            return out;
        };
        EXPECT_EQ(lines(r.PlayFileSlot(1)), lines(c.script)) << c.script;
        // The first resave of what the designer wrote gives the same bytes.
        std::string again = BuildScriptText(*t, back, RecordBoxes(*t));
        EXPECT_EQ(again, text) << c.script;
        std::ofstream(file, std::ios::binary) << again;
        std::int16_t third = RysScriptLoad(*t, h, file);
        EXPECT_EQ(BuildScriptText(*t, third, RecordBoxes(*t)), again) << c.script;
        std::filesystem::remove(file);
    }
}

// A module of each type with every field its type stores set to something other than the
// default, so that a lost or misplaced key shows.
void FillEveryType(ScriptTables& t, std::int16_t s) {
    int x = 0;
    auto add = [&](std::string_view type) -> ModuleRecord& {
        ModuleRecord& m = AddModule(t, s, type, std::string(type) + " module", x, x / 2);
        x += 170;
        m.Txt = "Line one\r\nLine two";
        m.PathText = "on {1} goto [Play module]\r\non {timeout 5} gosub [Record module] return "
                     "[Play module] rvset\r\n[Count]{1}\r\n";
        return m;
    };
    ModuleRecord& play = add("Play");
    play.PlayFileSlot(1) = "a.wav";
    play.PlayFileSlot(10) = "j.wav";
    play.ReplayCount = 3;
    play.ReplayPause = 7;
    play.strTtsText = "Hello there";
    ModuleRecord& rec = add("Record");
    rec.RecFile = "msg.wav";
    rec.PlayTone = true;
    ModuleRecord& get = add("Get Numbers");
    get.PlayFileSlot(2) = "enter.wav";
    get.GetNbrLenEnforce = 2;
    get.GetNbrLenMax = 6;
    get.Confirm = true;
    ModuleRecord& say = add("Say Numbers");
    say.SayNbrType = "Date - MMDD";
    say.PlayFileSlot(1) = "[Amount]";
    ModuleRecord& run = add("Run Program");
    run.PlayFileSlot(1) = "C:\\Tools\\lookup.exe /x";
    run.PlayFileSlot(2) = "hold.wav";
    run.RunMode = 3;
    run.RunWait = 0;
    ModuleRecord& db = add("Database Query");
    db.DbDatabase = "C:\\data\\customers.mdb";
    db.DbUser = "admin";
    db.DbConnectString = "DSN=x;UID=y";
    db.DbSql = "SELECT * FROM Customers WHERE Id = [CallerId]";
    ModuleRecord& ev = add("Evaluate");
    ev.PlayFileSlot(1) = "[a] + 1";
    ev.ExprNewRV = "Total";
    ev.ExprStoreRV = 1;
    ModuleRecord& mail = add("Send Email");
    mail.strEmailAddrTo = "ops@example.com";
    mail.strEmailSubject = "Call";
    mail.strEmailMessageText = "Hello\r\nA caller left a message.\r\n";
    mail.strEmailAttachmentFileName = "msg.wav";
    mail.iEmailAttachmentDeleteAfterSend = 1;
    mail.strEmailReturnAddress = "ivr@example.com";
    mail.strEmailReturnName = "IVR";
    mail.strEmailCC = "cc@example.com";
    mail.strEmailBCC = "bcc@example.com";
    mail.lEmailSendRetries = 4;
    mail.lEmailRetriesDelay = 30;
    mail.strEmailSendMethod_1 = "SMTP";
    mail.strEmailSmtpServ_1 = "smtp.example.com";
    mail.lEmailSmtpPort_1 = 587;
    mail.iEmailSmtpUseAuth_1 = 1;
    mail.strEmailSmtpAuthUser_1 = "user";
    mail.strEmailSmtpAuthPassword_1 = "pw";
    mail.strEmailSendMethod_2 = "MAPI";
    mail.strEmailSmtpServ_2 = "backup";
    mail.lEmailSmtpPort_2 = 25;
    mail.iEmailSmtpUseAuth_2 = 0;
    mail.strEmailSmtpAuthUser_2 = "u2";
    mail.strEmailSmtpAuthPassword_2 = "p2";
    ModuleRecord& ts = add("Time Switch");
    ts.iTimeSwitch_Type = 2;
    ts.sTimeSwitch_DateTimeToTest = "[Now]";
    ts.dTimeSwitch_DateStart = {2024, 2, 29, 8, 30, 0};
    ts.dTimeSwitch_DateEnd = {2030, 1, 1, 17, 0, 59};
    ts.sTimeSwitch_DaysSelected = "MoTuWe";
    add("TTS").strTtsText = "Spoken text";
    ModuleRecord& xfer = add("Transfer Call");
    xfer.PlayFileSlot(1) = "201";
    xfer.PlayFileSlot(2) = "ring.wav";
    xfer.PlayFileSlot(3) = "announce.wav";
    xfer.iXferType = 3;
    xfer.sXfer2ndLegLinesListFile = "lines.txt";
    xfer.ReplayCount = 2;
    xfer.ReplayPause = 1;
    ModuleRecord& call = add("Phone Message");
    for (size_t d = 0; d < 3; ++d) {
        call.sDialPhone[d] = "555-010" + std::to_string(d);
        call.sDialWelc[d] = "welcome.wav";
        call.sDialScript[d] = "outbound.rys";
        call.sDialVariables[d] = "[a]=1";
        call.sDialLineSelection[d] = "1-4";
        call.sDialRetry[d] = static_cast<std::int16_t>(d + 3);
        call.sDialDelay[d] = static_cast<std::int16_t>(d + 10);
    }
    ModuleRecord& dnc = add("Dial and Conference");
    dnc.sDncPhoneNumber = "555-0199";
    dnc.sDncMaxConnectTime = "60";
    dnc.sDncEndConnectCode = "#";
    dnc.sDncPlayWhileConnecting = "wait.wav";
    ModuleRecord& vbs = add("Run VB Script");
    vbs.PlayFileSlot(1) = "Dim x\r\n  x = 1\r\n\r\n";
    vbs.PlayFileSlot(2) = "hold.wav";
    vbs.PlayFileSlot(3) = "C:\\lib\\helper.vbs";
    vbs.RunWait = 0;
    ModuleRecord& dde = add("DDE");
    dde.strDdeType = "Poke";
    dde.strDdeLinkTopic = "Excel|Sheet1";
    dde.strDdeLinkItem = "R1C1";
    dde.strDdeCommand = "[Value]";
    ModuleRecord& pager = add("Pager Message");
    pager.PagerType = "Numeric";
    pager.PagerTelNbr = "555-0100";
    pager.PagerId = "42";
    pager.PagerPassword = "secret";
    pager.PagerMessage = "Call back";
    pager.PagerLineSelection = "2";
    ModuleRecord& hang = add("Hangup the Call");
    hang.PathText.clear();
    ScriptRecord& r = t.Script(s);
    r.StartModule = "Record module";
    r.RunAtHangup = "after.rys";
    r.StartWithoutAnswer = true;
    r.CtmAsiName = "Office";
    r.DefaultModuleDisplayHeight = "short";
}

TEST_F(SaverTest, SaveThenLoadGivesTheSameRecords) {
    std::int16_t s = NewScript(*tables);
    FillEveryType(*tables, s);
    std::string file = dir.File("all.rys");
    RecordBoxes boxes(*tables);
    ASSERT_EQ(SaveAs(s, file, boxes), kSaveWritten);

    std::int16_t back = RysScriptLoad(*tables, host, file);
    ASSERT_GE(back, 1);
    ASSERT_EQ(tables->Script(back).ModuleCount, tables->Script(s).ModuleCount);

    VisitScriptFields(
        [](std::string_view name, FieldKind kind, const auto& saved, const auto& loaded) {
            if (kind == FieldKind::Content)
                EXPECT_EQ(saved, loaded) << name;
        },
        tables->Script(s), tables->Script(back));

    std::int16_t a = tables->Script(s).FirstModule, b = tables->Script(back).FirstModule;
    for (; a >= 1 && b >= 1; a = tables->Module(a).NextModule, b = tables->Module(b).NextModule) {
        const ModuleRecord& saved = tables->Module(a);
        const ModuleRecord& loaded = tables->Module(b);
        VisitModuleFields(
            [&](std::string_view name, FieldKind kind, const auto& x, const auto& y) {
                if (kind != FieldKind::Content || name.starts_with("sDncTimeWarning"))
                    return; // not stored in the file
                if (saved.Type == "Run VB Script" && name == "PlayFile")
                    return; // compared below
                EXPECT_EQ(x, y) << saved.Title << "." << name;
            },
            saved, loaded);
        if (saved.Type == "Run VB Script") {
            // The script text keeps its lines; a blank line separates it from the hold sound.
            EXPECT_EQ(loaded.PlayFileSlot(1), "Dim x\r\n  x = 1\r\n\r\n");
            EXPECT_EQ(loaded.PlayFileSlot(2), saved.PlayFileSlot(2));
            EXPECT_EQ(loaded.PlayFileSlot(3), saved.PlayFileSlot(3));
        }
    }
}

TEST_F(SaverTest, LoadThenSaveOfItsOwnOutputIsByteIdentical) {
    std::int16_t s = NewScript(*tables);
    FillEveryType(*tables, s);
    std::string first = dir.File("first.rys");
    RecordBoxes boxes(*tables);
    ASSERT_EQ(SaveAs(s, first, boxes), kSaveWritten);
    std::int16_t loaded = RysScriptLoad(*tables, host, first);
    std::string second = dir.File("second.rys");
    ASSERT_EQ(SaveAs(loaded, second, boxes), kSaveWritten);
    std::int16_t again = RysScriptLoad(*tables, host, second);
    std::string third = dir.File("third.rys");
    ASSERT_EQ(SaveAs(again, third, boxes), kSaveWritten);
    EXPECT_EQ(ReadAll(second), ReadAll(third));
    EXPECT_EQ(ReadAll(first), ReadAll(second));
}

TEST_F(SaverTest, ModifiedIsClearedOnlyBySuccess) {
    std::int16_t s = NewScript(*tables);
    AddModule(*tables, s, "Play", "A");
    tables->Script(s).Modified = true;
    RecordBoxes boxes(*tables);
    EXPECT_EQ(SaveAs(s, dir.File("missing-folder/a.rys"), boxes), kSaveFailed);
    EXPECT_TRUE(tables->Script(s).Modified);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0],
              "Error opening " + dir.File("missing-folder/a.rys") + "\r\nFile not saved.");
    EXPECT_EQ(SaveAs(s, dir.File("a.rys"), boxes), kSaveWritten);
    EXPECT_FALSE(tables->Script(s).Modified);
}

class SaveFailureTest : public SaverTest {
protected:
    std::int16_t script = 0;
    std::string target;
    const std::string oldContents = "the user's previous script\r\n";

    void SetUp() override {
        script = NewScript(*tables);
        ModuleRecord& m = AddModule(*tables, script, "Play", "A");
        m.Txt = std::string(200000, 'x'); // large enough to fail half way
        tables->Script(script).Modified = true;
        target = dir.Write("keep.rys", oldContents);
    }
    void ExpectOldFileKept() {
        EXPECT_EQ(ReadAll(target), oldContents);
        EXPECT_TRUE(tables->Script(script).Modified);
        ASSERT_FALSE(host.messages.empty());
        EXPECT_EQ(host.messages.back(), "Error opening " + target + "\r\nFile not saved.");
        size_t files = 0;
        for (auto& e : std::filesystem::directory_iterator(dir.path()))
            files += e.is_regular_file();
        EXPECT_EQ(files, 1u) << "no temporary file is left behind";
    }
};

TEST_F(SaveFailureTest, DiskFullHalfWayKeepsTheOldFile) {
    // A file size limit makes the write fail part way, as a full disk does.
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 4096;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::int16_t result = SaveAs(script, target, RecordBoxes(*tables));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, kSaveFailed);
    ExpectOldFileKept();
}

TEST_F(SaveFailureTest, ReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read |
                                                 std::filesystem::perms::owner_exec);
    EXPECT_EQ(SaveAs(script, target, RecordBoxes(*tables)), kSaveFailed);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    ExpectOldFileKept();
}

TEST_F(SaverTest, DeviceThatIsFullReportsTheFailure) {
    std::int16_t s = NewScript(*tables);
    AddModule(*tables, s, "Play", "A");
    tables->Script(s).Modified = true;
    EXPECT_EQ(SaveAs(s, "/dev/full", RecordBoxes(*tables)), kSaveFailed);
    EXPECT_TRUE(tables->Script(s).Modified);
    EXPECT_EQ(host.messages.back(), "Error opening /dev/full\r\nFile not saved.");
}

TEST_F(SaverTest, SymbolicLinkIsFollowedAndPermissionsKept) {
    std::int16_t s = NewScript(*tables);
    AddModule(*tables, s, "Play", "A");
    std::string real = dir.Write("real.rys", "old");
    std::filesystem::permissions(real, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write);
    std::string link = dir.File("link.rys");
    std::filesystem::create_symlink(real, link);
    ASSERT_EQ(SaveAs(s, link, RecordBoxes(*tables)), kSaveWritten);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_NE(ReadAll(real).find("[A]"), std::string::npos);
    EXPECT_EQ(std::filesystem::status(real).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

} // namespace
} // namespace ry

namespace ry {
namespace {

TEST_F(SaverTest, ValueEndingInASlashKeepsTheNextKey) {
    std::int16_t s = NewScript(*tables);
    ModuleRecord& mail = AddModule(*tables, s, "Send Email", "Mail");
    mail.Txt = "ends with a backslash\\";
    mail.strEmailMessageText = "Details at\r\nhttp://example.com/";
    mail.strEmailAttachmentFileName = "report.txt";
    std::string file = dir.File("slash.rys");
    ASSERT_EQ(SaveAs(s, file, RecordBoxes(*tables)), kSaveWritten);

    std::int16_t back = RysScriptLoad(*tables, host, file);
    ASSERT_GE(back, 1);
    const ModuleRecord& r = tables->Module(tables->Script(back).FirstModule);
    EXPECT_EQ(r.Txt, "ends with a backslash\\\r\n");
    EXPECT_EQ(r.strEmailMessageText, "Details at\r\nhttp://example.com/\r\n");
    EXPECT_EQ(r.strEmailAttachmentFileName, "report.txt");
    EXPECT_EQ(r.Type, "Send Email");

    // Saving what was read writes the same file again.
    std::string again = dir.File("again.rys");
    ASSERT_EQ(SaveAs(back, again, RecordBoxes(*tables)), kSaveWritten);
    EXPECT_EQ(ReadAll(again), ReadAll(file));
}

} // namespace
} // namespace ry
