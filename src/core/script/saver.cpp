#include "script/saver.h"

#include "canvas/box_geometry.h"
#include "script/datetime.h"
#include "script/file_io.h"
#include "script/loader.h"
#include "script/module_types.h"
#include "script/text.h"

#include <string>

namespace ry {

namespace {

// Appends the lines of the file layout; every line but the first is preceded by CR LF.
class ScriptWriter {
public:
    explicit ScriptWriter(std::string& out) : out_(out) {}

    void Line(std::string_view text) {
        out_ += kCrLf;
        out_ += text;
    }
    // A key's value is one line: the loader ends it at the first CR LF and would read what
    // follows as lines of their own (a "[" line as a new module). A slot can hold several
    // lines when its module was given a VB Script text by hand; only the first is written.
    // The loader reads every line trimmed, so blanks at either end of a value are left out:
    // written, they would be lost on the next load, and the resave would differ.
    void Key(std::string_view key, std::string_view value) {
        out_ += kCrLf;
        out_ += key;
        out_ += '=';
        out_ += Trim(value.substr(0, value.find(kCrLf)));
    }
    void Key(std::string_view key, long value) { Key(key, std::to_string(value)); }
    void OnOff(std::string_view key, bool on) { Key(key, on ? "ON" : "OFF"); }
    void Keyed(std::string_view key, char digit, std::string_view value) {
        out_ += kCrLf;
        out_ += key;
        out_ += digit;
        out_ += '=';
        out_ += Trim(value.substr(0, value.find(kCrLf)));
    }

    // A value that may hold CR LF: every line but the last ends with "\". Each line is read
    // trimmed, up to the "\": blanks at the start of a line, and at the end of the last one,
    // are left out, as the next load would lose them.
    void Continued(std::string_view key, std::string_view value) {
        out_ += kCrLf;
        out_ += key;
        out_ += '=';
        for (size_t cut; (cut = value.find(kCrLf)) != std::string_view::npos;) {
            out_ += TrimLeft(value.substr(0, cut));
            out_ += '\\';
            out_ += kCrLf;
            value.remove_prefix(cut + 2);
        }
        value = Trim(value);
        out_ += value;
        // A last line ending in "\" or "/" would read as continued and swallow the next key
        // line. Continuing it onto an empty line keeps both: it reads back with a line end.
        if (!value.empty() && (value.back() == '\\' || value.back() == '/')) {
            out_ += '\\';
            out_ += kCrLf;
        }
    }

    // A VB Script text: its lines as they are, then the hold sound. The hold sound follows
    // the text directly when the text ends with a line end (as every text read from a file
    // does), so a resave adds no blank line; otherwise it starts a line of its own, so it can
    // never be glued to the script's last line.
    //
    // Some lines would not read back as written: a line after the first that the reader
    // takes for the end of the text goes out with one blank in front (else the lines after
    // it would be read as keys and sections of the file). The first line is read trimmed,
    // and continued when it ends in "\" or "/": one that ends in either, or in a blank,
    // goes out on the line after an empty "VbScript=", where it is read as it stands. Either
    // is the same VB Script to the engine, and the file reads back to the same text, so a
    // resave writes the same bytes.
    void ScriptText(std::string_view script, std::string_view holdPlay) {
        script = Trim(script);
        out_ += kCrLf;
        out_ += "VbScript=";
        const std::string_view firstLine = script.substr(0, script.find(kCrLf));
        const std::string_view asRead = Trim(firstLine);
        bool firstPiece = true;
        if (asRead != firstLine ||
            (!asRead.empty() && (asRead.back() == '\\' || asRead.back() == '/'))) {
            out_ += kCrLf;
            firstPiece = false;
        }
        auto piece = [&](std::string_view text) {
            if (!firstPiece && EndsScriptText(text))
                out_ += ' ';
            out_ += text;
            firstPiece = false;
        };
        bool anyCut = false; // the text holds a line end
        for (size_t cut; (cut = script.find(kCrLf)) != std::string_view::npos;) {
            anyCut = true;
            piece(script.substr(0, cut));
            out_ += kCrLf;
            script.remove_prefix(cut + 2);
        }
        piece(script);
        const bool direct = anyCut && script.empty();
        if (!direct)
            out_ += kCrLf;
        out_ += "VbsHoldPlay=";
        out_ += Trim(holdPlay); // read trimmed
    }

private:
    std::string& out_;
};

void WriteTypeKeys(ScriptWriter& w, const ModuleRecord& m) {
    const std::string& t = m.Type;
    if (t == kTypePlay || t == kTypeGetNumbers || t == kTypeSayNumbers) {
        for (int n = 1; n <= 10; ++n)
            if (!m.PlayFileSlot(n).empty())
                w.Key("PlayFile" + std::to_string(n), m.PlayFileSlot(n));
        w.Key("Replay", std::to_string(m.ReplayCount) + "," + std::to_string(m.ReplayPause));
    }
    if (t == kTypePlay) {
        w.Key("strTtsText", m.strTtsText);
    } else if (t == kTypeRecord) {
        w.Key("RecFile", m.RecFile);
        w.OnOff("PlayTone", m.PlayTone);
    } else if (t == kTypeGetNumbers) {
        w.Key("GetNbrLenEnforce", m.GetNbrLenEnforce);
        if (m.GetNbrLenEnforce > 0)
            w.Key("GetNbrLenMax", m.GetNbrLenMax);
        w.OnOff("Confirm", m.Confirm);
    } else if (t == kTypeSayNumbers) {
        w.Key("SayNbrType", m.SayNbrType);
    } else if (t == kTypeRunProgram) {
        w.Key("ProgramToRun", m.PlayFileSlot(1));
        w.Key("RunHoldPlay", m.PlayFileSlot(2));
        w.Key("RunMode", m.RunMode);
        w.Key("RunWait", m.RunWait);
    } else if (t == kTypeDatabaseQuery) {
        w.Key("DbDatabase", m.DbDatabase);
        w.Key("DbUser", m.DbUser);
        w.Key("DbConnectString", m.DbConnectString);
        w.Key("DbSql", m.DbSql);
    } else if (t == kTypeEvaluate) {
        std::string_view expr = m.PlayFileSlot(1);
        w.Key("Expression", expr.substr(0, expr.find(kCrLf)));
        w.Key("ExprNewRV", m.ExprNewRV);
        w.Key("ExprStoreRV", m.ExprStoreRV);
    } else if (t == kTypeSendEmail) {
        w.Key("strEmailAddrTo", m.strEmailAddrTo);
        w.Key("strEmailSubject", m.strEmailSubject);
        w.Continued("strEmailMessageText", m.strEmailMessageText);
        w.Key("strEmailAttachmentFileName", m.strEmailAttachmentFileName);
        w.Key("iEmailAttachmentDeleteAfterSend", m.iEmailAttachmentDeleteAfterSend);
        w.Key("strEmailReturnAddress", m.strEmailReturnAddress);
        w.Key("strEmailReturnName", m.strEmailReturnName);
        w.Key("strEmailCC", m.strEmailCC);
        w.Key("strEmailBCC", m.strEmailBCC);
        w.Key("lEmailSendRetries", m.lEmailSendRetries);
        w.Key("lEmailRetriesDelay", m.lEmailRetriesDelay);
        w.Key("strEmailSendMethod_1", m.strEmailSendMethod_1);
        w.Key("strEmailSmtpServ_1", m.strEmailSmtpServ_1);
        w.Key("lEmailSmtpPort_1", m.lEmailSmtpPort_1);
        w.Key("iEmailSmtpUseAuth_1", m.iEmailSmtpUseAuth_1);
        w.Key("strEmailSmtpAuthUser_1", m.strEmailSmtpAuthUser_1);
        w.Key("strEmailSmtpAuthPassword_1", m.strEmailSmtpAuthPassword_1);
        w.Key("strEmailSendMethod_2", m.strEmailSendMethod_2);
        w.Key("strEmailSmtpServ_2", m.strEmailSmtpServ_2);
        w.Key("lEmailSmtpPort_2", m.lEmailSmtpPort_2);
        w.Key("iEmailSmtpUseAuth_2", m.iEmailSmtpUseAuth_2);
        w.Key("strEmailSmtpAuthUser_2", m.strEmailSmtpAuthUser_2);
        w.Key("strEmailSmtpAuthPassword_2", m.strEmailSmtpAuthPassword_2);
    } else if (t == kTypeTimeSwitch) {
        w.Key("iTimeSwitch_Type", m.iTimeSwitch_Type);
        w.Key("sTimeSwitch_DateTimeToTest", m.sTimeSwitch_DateTimeToTest);
        w.Key("dTimeSwitch_DateStart", FormatScriptDate(m.dTimeSwitch_DateStart));
        w.Key("dTimeSwitch_DateEnd", FormatScriptDate(m.dTimeSwitch_DateEnd));
        w.Key("sTimeSwitch_DaysSelected", m.sTimeSwitch_DaysSelected);
    } else if (t == kTypeTts) {
        w.Key("strTtsText", m.strTtsText);
    } else if (t == kTypeTransferCall) {
        w.Key("strXferDestExt", m.PlayFileSlot(1));
        w.Key("iXferType", m.iXferType);
        w.Key("sXfer2ndLegLinesListFile", m.sXfer2ndLegLinesListFile);
        w.Key("sXferPlayWhileDialing", m.PlayFileSlot(2));
        w.Key("sXferAnnounceMsg", m.PlayFileSlot(3));
    } else if (t == kTypePhoneMessage) {
        for (size_t d = 0; d < 3; ++d) {
            const char digit = static_cast<char>('0' + d);
            w.Keyed("sDialPhone", digit, m.sDialPhone[d]);
            w.Keyed("sDialWelc", digit, m.sDialWelc[d]);
            w.Keyed("sDialScript", digit, m.sDialScript[d]);
            w.Keyed("sDialVariables", digit, m.sDialVariables[d]);
            w.Keyed("sDialLineSelection", digit, m.sDialLineSelection[d]);
            w.Keyed("sDialRetry", digit, std::to_string(m.sDialRetry[d]));
            w.Keyed("sDialDelay ", digit, std::to_string(m.sDialDelay[d]));
        }
    } else if (t == kTypeDialAndConference) {
        w.Keyed("sDncPhoneNumber", '0', m.sDncPhoneNumber);
        w.Keyed("sDncMaxConnectTime", '0', m.sDncMaxConnectTime);
        w.Keyed("sDncEndConnectCode", '0', m.sDncEndConnectCode);
        w.Keyed("sDncPlayWhileConnecting", '0', m.sDncPlayWhileConnecting);
    } else if (t == kTypeRunVbScript) {
        w.Key("VbsFileToRun", m.PlayFileSlot(3));
        w.Key("VbsWait", m.RunWait);
        w.ScriptText(m.PlayFileSlot(1), m.PlayFileSlot(2));
    } else if (t == kTypeDde) {
        w.Key("strDdeType", m.strDdeType);
        w.Key("strDdeLinkTopic", m.strDdeLinkTopic);
        w.Key("strDdeLinkItem", m.strDdeLinkItem);
        w.Key("strDdeCommand", m.strDdeCommand);
    } else if (t == kTypePagerMessage) {
        w.Key("PagerType", m.PagerType);
        w.Key("PagerTelNbr", m.PagerTelNbr);
        w.Key("PagerId", m.PagerId);
        w.Key("PagerPassword", m.PagerPassword);
        w.Key("PagerMessage", m.PagerMessage);
        w.Key("PagerLineSelection", m.PagerLineSelection);
    }
}

} // namespace

std::optional<BoxState> RecordBoxes::Box(std::int16_t module) const {
    const ModuleRecord& m = tables_.Module(module);
    int size = m.DispSize;
    if (size < 1 && ScriptTables::IsScriptIndex(m.ScriptIndex))
        size = DefaultBoxHeight(tables_.Script(m.ScriptIndex).DefaultModuleDisplayHeight);
    return BoxState{m.Txt, BoxHeightFor(size)};
}

void CollectBoxTexts(ScriptTables& tables, std::int16_t script, const BoxSource& boxes) {
    ForEachModule(tables, script, [&](std::int16_t index, ModuleRecord& m) {
        if (auto box = boxes.Box(index))
            m.Txt = std::move(box->text);
        else
            m.Txt = std::string(kNoBoxText);
    });
}

std::string BuildScriptText(const ScriptTables& tables, std::int16_t script,
                            const BoxSource& boxes) {
    const ScriptRecord& s = tables.Script(script);
    std::string out = "Version=5.0";
    out.reserve(static_cast<size_t>(s.ModuleCount) * 512 + 256);
    ScriptWriter w(out);
    w.Key("DefaultModuleDisplayHeight", s.DefaultModuleDisplayHeight);
    w.Key("StartModule", s.StartModule);
    w.Key("RunAtHangup", s.RunAtHangup);
    w.Key("StartWithoutAnswer", s.StartWithoutAnswer ? "1" : "0");
    w.Key("CtmAsiName", s.CtmAsiName);
    ForEachModule(tables, script, [&](std::int16_t index, const ModuleRecord& m) {
        w.Line("");
        w.Line("[" + m.Title + "]");
        w.Key("Type", m.Type);
        auto box = boxes.Box(index);
        w.Key("DispSize", box ? box->height : m.DispSize);
        w.Continued("Txt", m.Txt);
        WriteTypeKeys(w, m);
        w.Line(m.PathText);
        w.Key("Position", std::to_string(m.PositionX) + "," + std::to_string(m.PositionY));
    });
    return out;
}

std::int16_t RysScriptSave(ScriptTables& tables, Host& host, const BoxSource& boxes,
                           ProtectedWriter& writer, std::string_view fileName, std::int16_t script,
                           bool protect) {
    host.SetBusy(true);
    std::string text = BuildScriptText(tables, script, boxes);
    std::int16_t result = kSaveWritten;
    if (protect) {
        writer.ProtectedSaveText = std::move(text);
        writer.ProtectedFileName = std::string(fileName);
        switch (writer.WriteProtectedScript(tables, host, script, tables.Script(script).Password)) {
        case ProtectedWriter::Written:
            result = kSaveWritten;
            break;
        case ProtectedWriter::WaitingForPassword:
            result = kSaveWaitingForPassword;
            break;
        case ProtectedWriter::Failed:
            result = kSaveFailed;
            break;
        }
    } else {
        text += kCrLf;
        std::string error = WriteFileReplacing(std::string(fileName), text);
        if (!error.empty()) {
            host.WriteEngineLog("RysScriptSave [" + std::string(fileName) + "] " + error);
            // A file left alone for want of a copy of its old content can be opened: the
            // message says what kept it from being written.
            const std::string why = error.starts_with(kNoCopyOfOldContent)
                                        ? "\r\nI" + error.substr(1) + "."
                                        : std::string{};
            host.ShowMessage("Error opening " + PathForText(fileName) + "\r\nFile not saved." +
                             why);
            result = kSaveFailed;
        }
    }
    host.SetBusy(false);
    return result;
}

std::int16_t SaveScriptFile(ScriptTables& tables, Host& host, const BoxSource& boxes,
                            ProtectedWriter& writer, std::int16_t script) {
    CollectBoxTexts(tables, script, boxes);
    const std::string fileName = tables.Script(script).FileName;
    std::int16_t result = RysScriptSave(tables, host, boxes, writer, fileName, script,
                                        IsProtectedScriptName(fileName));
    if (result == kSaveWritten)
        NoteScriptFileWritten(tables.Script(script));
    return result;
}

void NoteScriptFileWritten(ScriptRecord& s) {
    s.Modified = false;
    s.DiskStamp = StampOfFile(s.FileName);
    s.ReadCutShort = false;
    s.ReadWithOtherLineEnds = false;
}

bool ScriptFileChangedOnDisk(const ScriptRecord& s) {
    if (!s.DiskStamp.Known())
        return false;
    FileStamp now = StampOfFile(s.FileName);
    return now.Known() && now != s.DiskStamp;
}

} // namespace ry
