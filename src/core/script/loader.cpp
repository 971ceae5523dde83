#include "script/loader.h"

#include "script/file_io.h"
#include "script/module_types.h"
#include "script/number_text.h"
#include "script/protected_script.h"
#include "script/text.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace ry {

namespace {

// What a key handler works on.
struct Entry {
    ScriptTables& tables;
    Host& host;
    std::int16_t script;
    std::int16_t module;
    std::string_view line;  // the whole trimmed line
    std::string_view key;   // the key as the table spells it
    std::string_view value; // the text after the first "=", not trimmed
    std::string_view& rest; // the lines after this one

    ModuleRecord& Module() { return tables.Module(module); }
    ScriptRecord& Script() { return tables.Script(script); }
    std::string Text() const { return std::string(Trim(value)); }
    std::string_view Cut(size_t width) const { return Trim(value).substr(0, width); }
};

void SetInt16(std::int16_t& field, std::string_view text) {
    if (auto v = TextToInt16(text))
        field = *v;
}

void SetInt32(std::int32_t& field, std::string_view text) {
    if (auto v = TextToInt32(text))
        field = *v;
}

// Values written with a trailing "\" or "/" continue on the next line. The field grows by one
// line and a CR LF for each continued line.
void ReadContinued(std::string& field, std::string_view text, std::string_view& rest, bool trimNext,
                   bool lineEndAfterLast) {
    while (!text.empty() && (text.back() == '\\' || text.back() == '/')) {
        field.append(text.substr(0, text.size() - 1));
        field.append(kCrLf);
        std::string_view next = TakeLine(rest);
        text = trimNext ? Trim(next) : next;
    }
    field.append(text);
    if (lineEndAfterLast)
        field.append(kCrLf);
}

} // namespace

bool EndsScriptText(std::string_view line) {
    return line.starts_with("VbsHoldPlay=") || line.starts_with("Position=") ||
           IStartsWith(line, "on {");
}

namespace {

// A Run VB Script module's script text: every line up to "VbsHoldPlay=", taken as it stands.
void ReadScriptText(Entry& e) {
    std::string& script = e.Module().PlayFileSlot(1);
    std::string_view first = Trim(e.value);
    if (!first.empty() && (first.back() == '\\' || first.back() == '/')) {
        ReadContinued(script, first, e.rest, false, true);
    } else {
        script.append(first);
        script.append(kCrLf);
        while (!e.rest.empty()) {
            std::string_view probe = e.rest;
            std::string_view line = TakeLine(probe);
            if (line.starts_with("VbsHoldPlay=")) {
                e.Module().PlayFileSlot(2) = std::string(Trim(line.substr(12)));
                e.rest = probe;
                break;
            }
            // The module's position and paths end the script too. They are left in place to
            // be read as they normally are, so a script text that is not followed by its
            // "VbsHoldPlay" line does not cost the module its paths and position.
            if (EndsScriptText(line))
                break;
            script.append(line);
            script.append(kCrLf);
            e.rest = probe;
        }
    }
    script = std::string(Trim(script));
}

void ReadPosition(Entry& e) {
    ModuleRecord& m = e.Module();
    std::string_view v = e.value;
    size_t comma = v.find(',');
    if (comma != std::string_view::npos) {
        if (auto x = RoundToInt32(LeadingValue(v.substr(0, comma))))
            m.PositionX = *x < 0 ? 0 : *x;
        v.remove_prefix(comma + 1);
    }
    if (auto y = RoundToInt32(LeadingValue(v)))
        m.PositionY = *y < 0 ? 0 : *y;
}

// "Replay=count,pause": the whole part of each number; the pause from at most three
// characters. Without a comma neither value changes.
void ReadReplay(Entry& e) {
    ModuleRecord& m = e.Module();
    size_t comma = e.value.find(',');
    if (comma == std::string_view::npos)
        return;
    auto whole = [](std::string_view text, std::int16_t& field) {
        if (auto v = ParseNumber(text))
            if (auto r = RoundToInt16(std::floor(*v)))
                field = *r;
    };
    whole(e.value.substr(0, comma), m.ReplayCount);
    whole(e.value.substr(comma + 1, 3), m.ReplayPause);
}

// The entry digit 0..5 right after a Make Call key; -1 for anything else.
int EntryDigit(const Entry& e) {
    if (e.line.size() <= e.key.size())
        return -1;
    char d = e.line[e.key.size()];
    return d >= '0' && d <= '5' ? d - '0' : -1;
}

using Handler = void (*)(Entry&);

struct KeyRule {
    std::string_view key;
    Handler handle;
    bool header = false;            // a script key; module keys need a current module
    bool lineWithoutEquals = false; // a line without "=" is taken whole as the value
};

#define RY_TEXT(field) [](Entry& e) { e.Module().field = e.Text(); }
#define RY_SLOT(n) [](Entry& e) { e.Module().PlayFileSlot(n) = e.Text(); }
#define RY_INT(field) [](Entry& e) { SetInt16(e.Module().field, e.value); }
#define RY_LONG(field) [](Entry& e) { SetInt32(e.Module().field, e.value); }
#define RY_DIAL_TEXT(field)                                                                        \
    [](Entry& e) {                                                                                 \
        if (int d = EntryDigit(e); d >= 0)                                                         \
            e.Module().field[static_cast<size_t>(d)] = e.Text();                                   \
    }
#define RY_DIAL_INT(field)                                                                         \
    [](Entry& e) {                                                                                 \
        if (int d = EntryDigit(e); d >= 0)                                                         \
            SetInt16(e.Module().field[static_cast<size_t>(d)], e.value);                           \
    }
#define RY_HEADER_TEXT(field) [](Entry& e) { e.Script().field = e.Text(); }

// The keys in the order they are tested; keys match as prefixes of the line, so the order
// decides between keys that begin alike.
const std::vector<KeyRule>& KeyRules() {
    static const std::vector<KeyRule> rules = {
        {"Type",
         [](Entry& e) {
             ModuleRecord& m = e.Module();
             m.Type = e.Text();
             if (m.Type == kTypeMakeCallOld) {
                 m.Type = std::string(kTypePhoneMessage);
             } else if (m.Type == kTypeTransferCall) {
                 m.ReplayCount = 2;
                 m.ReplayPause = 1;
             }
         },
         false, true},
        {"Position", ReadPosition, false, true},
        {"DispSize",
         [](Entry& e) {
             if (auto v = RoundToInt16(LeadingValue(e.value)))
                 e.Module().DispSize = *v;
         },
         false, true},
        {"Txt", [](Entry& e) { ReadContinued(e.Module().Txt, Trim(e.value), e.rest, true, false); },
         false, true},
        {"VbScript", ReadScriptText, false, true},
        {"PlayFile",
         [](Entry& e) {
             size_t eq = e.line.find('=');
             auto n = RoundToInt16(LeadingValue(e.line.substr(8, eq - 8)));
             if (n && *n >= 1 && *n <= 10)
                 e.Module().PlayFileSlot(*n) = e.Text();
         }},
        {"strTtsText", RY_TEXT(strTtsText)},
        {"RecFile", RY_TEXT(RecFile)},
        {"Confirm", [](Entry& e) { e.Module().Confirm = ToUpperAnsi(e.Cut(2)) == "ON"; }},
        {"SayNbrType", [](Entry& e) { e.Module().SayNbrType = std::string(e.Cut(100)); }},
        {"NumberToSay", RY_SLOT(3)},
        {"ProgramToRun", RY_SLOT(1)},
        {"RunHoldPlay", RY_SLOT(2)},
        {"RunMode", [](Entry& e) { SetInt16(e.Module().RunMode, e.Cut(2)); }},
        {"VbsFileToRun", RY_SLOT(3)},
        {"VbsWait", [](Entry& e) { SetInt16(e.Module().RunWait, e.Cut(2)); }},
        {"VbsHoldPlay", RY_SLOT(2)},
        {"RunWait", [](Entry& e) { SetInt16(e.Module().RunWait, e.Cut(2)); }},
        {"Get Numbers", [](Entry& e) { SetInt16(e.Module().GetNbrLenEnforce, e.Cut(2)); }},
        {"GetNbrLenMax", RY_INT(GetNbrLenMax)},
        {"GetNbrLenEnforce", [](Entry& e) { SetInt16(e.Module().GetNbrLenEnforce, e.Cut(1)); }},
        {"DbDatabase", RY_TEXT(DbDatabase)},
        {"DbUser", RY_TEXT(DbUser)},
        {"DbConnectString", RY_TEXT(DbConnectString)},
        {"strEmailAddrTo", RY_TEXT(strEmailAddrTo)},
        {"strEmailSubject", RY_TEXT(strEmailSubject)},
        {"strEmailMessageText",
         [](Entry& e) {
             ReadContinued(e.Module().strEmailMessageText, Trim(e.value), e.rest, true, false);
         }},
        {"strEmailAttachmentFileName", RY_TEXT(strEmailAttachmentFileName)},
        {"iEmailAttachmentDeleteAfterSend", RY_INT(iEmailAttachmentDeleteAfterSend)},
        {"strEmailReturnAddress", RY_TEXT(strEmailReturnAddress)},
        {"strEmailReturnName", RY_TEXT(strEmailReturnName)},
        {"strEmailCC", RY_TEXT(strEmailCC)},
        {"strEmailBCC", RY_TEXT(strEmailBCC)},
        {"lEmailSendRetries", RY_LONG(lEmailSendRetries)},
        {"lEmailRetriesDelay", RY_LONG(lEmailRetriesDelay)},
        {"strEmailSendMethod_1", RY_TEXT(strEmailSendMethod_1)},
        {"strEmailSmtpServ_1", RY_TEXT(strEmailSmtpServ_1)},
        {"lEmailSmtpPort_1", RY_LONG(lEmailSmtpPort_1)},
        {"iEmailSmtpUseAuth_1", RY_INT(iEmailSmtpUseAuth_1)},
        {"strEmailSmtpAuthUser_1", RY_TEXT(strEmailSmtpAuthUser_1)},
        {"strEmailSmtpAuthPassword_1", RY_TEXT(strEmailSmtpAuthPassword_1)},
        {"strEmailSendMethod_2", RY_TEXT(strEmailSendMethod_2)},
        {"strEmailSmtpServ_2", RY_TEXT(strEmailSmtpServ_2)},
        {"lEmailSmtpPort_2", RY_LONG(lEmailSmtpPort_2)},
        {"iEmailSmtpUseAuth_2", RY_INT(iEmailSmtpUseAuth_2)},
        {"strEmailSmtpAuthUser_2", RY_TEXT(strEmailSmtpAuthUser_2)},
        {"strEmailSmtpAuthPassword_2", RY_TEXT(strEmailSmtpAuthPassword_2)},
        {"iTimeSwitch_Type", RY_INT(iTimeSwitch_Type)},
        {"sTimeSwitch_DateTimeToTest", RY_TEXT(sTimeSwitch_DateTimeToTest)},
        {"dTimeSwitch_DateStart",
         [](Entry& e) {
             if (auto d = ParseScriptDate(Trim(e.value)))
                 e.Module().dTimeSwitch_DateStart = *d;
         }},
        {"dTimeSwitch_DateEnd",
         [](Entry& e) {
             if (auto d = ParseScriptDate(Trim(e.value)))
                 e.Module().dTimeSwitch_DateEnd = *d;
         }},
        {"sTimeSwitch_DaysSelected", RY_TEXT(sTimeSwitch_DaysSelected)},
        {"strXferDestExt", RY_SLOT(1)},
        {"iXferType", RY_INT(iXferType)},
        {"sXfer2ndLegLinesListFile", RY_TEXT(sXfer2ndLegLinesListFile)},
        {"sXferPlayWhileDialing", RY_SLOT(2)},
        {"sXferAnnounceMsg", RY_SLOT(3)},
        {"sDialPhone", RY_DIAL_TEXT(sDialPhone)},
        {"sDialWelc", RY_DIAL_TEXT(sDialWelc)},
        {"sDialScript", RY_DIAL_TEXT(sDialScript)},
        {"sDialVariables", RY_DIAL_TEXT(sDialVariables)},
        {"sDialLineSelection", RY_DIAL_TEXT(sDialLineSelection)},
        {"sDialRetry", RY_DIAL_INT(sDialRetry)},
        {"sDialDelay ", RY_DIAL_INT(sDialDelay)},
        {"sDncPhoneNumber", RY_TEXT(sDncPhoneNumber)},
        {"sDncMaxConnectTime", RY_TEXT(sDncMaxConnectTime)},
        {"sDncEndConnectCode", RY_TEXT(sDncEndConnectCode)},
        {"sDncPlayWhileConnecting", RY_TEXT(sDncPlayWhileConnecting)},
        {"Expression", RY_SLOT(1)},
        {"ExprNewRV", RY_TEXT(ExprNewRV)},
        {"ExprStoreRV", RY_INT(ExprStoreRV)},
        {"DbSql", RY_TEXT(DbSql)},
        {"PagerType", RY_TEXT(PagerType)},
        {"PagerTelNbr", RY_TEXT(PagerTelNbr)},
        {"PagerId", RY_TEXT(PagerId)},
        {"PagerPassword", RY_TEXT(PagerPassword)},
        {"PagerMessage", RY_TEXT(PagerMessage)},
        {"PagerLineSelection", RY_TEXT(PagerLineSelection)},
        {"PlayTone", [](Entry& e) { e.Module().PlayTone = ToUpperAnsi(e.Cut(2)) == "ON"; }},
        {"Replay", ReadReplay},
        {"strDdeType", RY_TEXT(strDdeType)},
        {"strDdeLinkTopic", RY_TEXT(strDdeLinkTopic)},
        {"strDdeLinkItem", RY_TEXT(strDdeLinkItem)},
        {"strDdeCommand", RY_TEXT(strDdeCommand)},

        {"Version",
         [](Entry& e) {
             std::string version = e.Text();
             e.Script().Version = version;
             if (ToUpperAnsi(version) > ToUpperAnsi(kProgramVersion))
                 e.host.ShowMessage("This RYS file was saved using\r\nversion " + version +
                                    " of Ryvane.");
         },
         true, true},
        {"Password", [](Entry&) {}, true, true},
        {"DefaultModuleDisplayHeight", RY_HEADER_TEXT(DefaultModuleDisplayHeight), true, true},
        {"StartModule", RY_HEADER_TEXT(StartModule), true, true},
        {"RunAtHangup", RY_HEADER_TEXT(RunAtHangup), true, true},
        {"StartWithoutAnswer",
         [](Entry& e) {
             if (auto v = TextToInt16(Trim(e.value)))
                 e.Script().StartWithoutAnswer = *v != 0;
         },
         true, true},
        {"CtmAsiName", RY_HEADER_TEXT(CtmAsiName), true, true},
    };
    return rules;
}

#undef RY_TEXT
#undef RY_SLOT
#undef RY_INT
#undef RY_LONG
#undef RY_DIAL_TEXT
#undef RY_DIAL_INT
#undef RY_HEADER_TEXT

// The rules that can match a line beginning with a given letter, in table order; testing only
// these gives the same first match as testing the whole table.
const std::array<std::vector<const KeyRule*>, 256>& RulesByFirstLetter() {
    static const auto index = [] {
        std::array<std::vector<const KeyRule*>, 256> byLetter;
        for (const KeyRule& r : KeyRules()) {
            auto upper = static_cast<unsigned char>(ToUpperAnsi(r.key[0]));
            auto lower = static_cast<unsigned char>(ToLowerAnsi(r.key[0]));
            byLetter[upper].push_back(&r);
            if (lower != upper)
                byLetter[lower].push_back(&r);
        }
        return byLetter;
    }();
    return index;
}

void ReadPathLines(ScriptTables& tables, Host& host, std::int16_t script, std::int16_t module,
                   std::string_view firstLine, std::string_view& rest) {
    std::string paths(firstLine);
    std::string_view positionLine;
    bool positionFound = false;
    while (!rest.empty()) {
        std::string_view line = TakeLine(rest);
        if (IStartsWith(line, "Position=")) {
            positionLine = Trim(line);
            positionFound = true;
            break;
        }
        paths.append(kCrLf);
        paths.append(line);
    }
    if (ScriptTables::IsModuleIndex(module))
        tables.Module(module).PathText = std::move(paths);
    if (positionFound) {
        std::int16_t current = module;
        ProcessRysEntry(tables, host, script, current, positionLine, rest);
    }
}

bool IsModuleInChain(const ScriptTables& tables, std::int16_t script, std::string_view title) {
    bool found = false;
    ForEachModule(tables, script, [&](std::int16_t, const ModuleRecord& m) {
        if (!found && IEquals(m.Title, title))
            found = true;
    });
    return found;
}

// Returns every record of a failed load, modules in the reverse of their allocation, so that
// the free lists are exactly as they were before the load.
void ReleaseFailedLoad(ScriptTables& tables, std::int16_t script) {
    std::vector<std::int16_t> chain;
    ForEachModule(tables, script, [&](std::int16_t m, ModuleRecord&) { chain.push_back(m); });
    ScriptRecord& s = tables.Script(script);
    s.FirstModule = -1;
    s.LastModule = -1;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        tables.MemStructRym_Free(*it);
    s.NotFromFile = false;
    tables.MemStructRys_FreeAll(script);
}

} // namespace

static_assert(kModuleCapacity == 1000, "LoadFailureReason names the module limit");

std::string_view LoadFailureReason(int result) {
    switch (result) {
    case kLoadBadFileName:
        return "the file does not exist, its name is unusable, or 100 scripts are open";
    case kLoadNotAScript:
        return "the file does not decipher to a script (damaged, or not protected with this "
               "program)";
    case kLoadWrongPassword:
        return "wrong password";
    case kLoadNothingDeciphered:
        return "the protected file is empty";
    case kLoadFailed:
        return "the file could not be read";
    case kLoadModuleLimit:
        return "this version has a limit of 1000 modules per script";
    default:
        return result >= 1 ? "loaded" : "load failed";
    }
}

std::string LoadFailureCause(const std::string& fileName, int result) {
    if (result != kLoadBadFileName && result != kLoadFailed)
        return std::string(LoadFailureReason(result));
    // The loader's codes cover several causes each; the file system tells which.
    const std::string file = fileName.substr(0, fileName.find('|'));
    if (file.empty())
        return "no file name given";
    struct stat st {};
    if (::stat(file.c_str(), &st) != 0) {
        switch (errno) {
        case ENOENT:
            return "there is no such file";
        case ELOOP:
            return "too many levels of symbolic links (the links lead round in a loop)";
        case ENOTDIR:
            return "there is no such file (a part of its path is not a folder)";
        case EACCES:
            return "a folder on its path cannot be opened (no permission)";
        default:
            return std::strerror(errno);
        }
    }
    if (S_ISDIR(st.st_mode))
        return "it is a folder, not a file";
    if (S_ISFIFO(st.st_mode))
        return "it is a named pipe (FIFO), not a file";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        return "it is a device, not a file";
    if (S_ISSOCK(st.st_mode))
        return "it is a socket, not a file";
    if (!S_ISREG(st.st_mode))
        return "it is not a regular file";
    if (static_cast<std::uint64_t>(st.st_size) > kScriptSizeLimit)
        return "it is larger than " + SizeLimitText(kScriptSizeLimit) +
               ", the most a script file may hold";
    const FileRead read = ReadRegularFile(file, kScriptSizeLimit, 1);
    if (read.error == EACCES)
        return "the file cannot be read (no permission)";
    if (!read.Ok())
        return "the file cannot be read: " + FileReadProblem(read, kScriptSizeLimit);
    if (result == kLoadFailed)
        return "the 1000 module records are all in use";
    return std::string(LoadFailureReason(result));
}

OtherLineEnds ReadLineEndsAsWritten(std::string& text) {
    size_t crlf = 0, lf = 0, cr = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++crlf;
                ++i;
            } else {
                ++cr;
            }
        } else if (text[i] == '\n') {
            ++lf;
        }
    }
    if (lf == 0 && cr == 0)
        return {};
    std::string read;
    read.reserve(text.size() + lf + cr);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            read.append(kCrLf);
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            read.push_back(c);
        }
    }
    text = std::move(read);
    std::vector<std::string_view> kinds;
    if (crlf > 0)
        kinds.push_back("CR LF");
    if (lf > 0)
        kinds.push_back("LF");
    if (cr > 0)
        kinds.push_back("CR");
    OtherLineEnds ends;
    for (size_t k = 0; k < kinds.size(); ++k) {
        if (k > 0)
            ends.kinds += k + 1 == kinds.size() ? " and " : ", ";
        ends.kinds += kinds[k];
    }
    ends.mixed = kinds.size() > 1;
    return ends;
}

std::string SplitPath(std::string_view path, std::string* fileName) {
    size_t cut = path.find_last_of("\\/");
    std::string_view folder =
        cut == std::string_view::npos ? std::string_view{} : path.substr(0, cut + 1);
    if (fileName)
        *fileName = std::string(path.substr(folder.size()));
    return std::string(folder);
}

std::int16_t ProcessRysEntry(ScriptTables& tables, Host& host, std::int16_t script,
                             std::int16_t& module, std::string_view line, std::string_view& rest) {
    if (line.empty())
        return 0;
    ScriptRecord& s = tables.Script(script);
    if (line[0] == '[') {
        size_t close = line.find(']');
        std::string_view title =
            close == std::string_view::npos ? std::string_view{} : Trim(line.substr(1, close - 1));
        std::int16_t m = tables.MemStructRym_Get();
        if (m < 1)
            return -1;
        if (ScriptTables::IsModuleIndex(module)) {
            tables.Module(module).NextModule = m;
        } else {
            s.FirstModule = m;
            if (s.StartModule.empty())
                s.StartModule = std::string(title);
        }
        ++s.ModuleCount;
        s.LastModule = m;
        module = m;
        ModuleRecord& rec = tables.Module(m);
        rec.Title = std::string(title);
        rec.ScriptIndex = script;
        host.ShowStatusText("Loading Module " + std::to_string(s.ModuleCount));
        return 0;
    }
    if (IStartsWith(line, "ON ")) {
        ReadPathLines(tables, host, script, module, line, rest);
        return 0;
    }
    for (const KeyRule* rule : RulesByFirstLetter()[static_cast<unsigned char>(line[0])]) {
        if (!IStartsWith(line, rule->key))
            continue;
        if (!rule->header && !ScriptTables::IsModuleIndex(module))
            return 0; // a module key before the first section has no module
        size_t eq = line.find('=');
        std::string_view value;
        if (eq != std::string_view::npos)
            value = line.substr(eq + 1);
        else if (rule->lineWithoutEquals)
            value = line;
        else
            return 0;
        Entry e{tables, host, script, module, line, rule->key, value, rest};
        rule->handle(e);
        return 0;
    }
    return 0;
}

std::int16_t InterpretScriptText(ScriptTables& tables, Host& host, std::int16_t script,
                                 std::string_view text) {
    std::int16_t module = -1;
    while (!text.empty()) {
        std::string_view line = Trim(TakeLine(text));
        std::int16_t r = ProcessRysEntry(tables, host, script, module, line, text);
        if (r < 0) {
            host.WriteEngineLog("ProcessRysEntry => " + std::to_string(r));
            host.WriteEngineLog("RysScriptLoad [" + tables.Script(script).FileName +
                                "] line: no free module record");
            ReleaseFailedLoad(tables, script);
            return kLoadModuleLimit;
        }
    }
    ScriptRecord& s = tables.Script(script);
    if (ScriptTables::IsModuleIndex(s.FirstModule) &&
        !IsModuleInChain(tables, script, s.StartModule))
        s.StartModule = tables.Module(s.FirstModule).Title;
    return 0;
}

std::int16_t RysScriptLoad(ScriptTables& tables, Host& host, std::string_view fileName,
                           std::string_view callerId) {
    std::string name(fileName.substr(0, fileName.find('|')));
    if (name.empty() || name.find('*') != std::string::npos || name.back() == '\\' ||
        name.back() == '/' || !IsExistingFile(name)) {
        host.WriteEngineLog("eng   cannot load script " + name);
        return kLoadBadFileName;
    }
    host.WriteEngineLog("Script Load " + name);
    std::int16_t script = tables.MemStructRys_Get();
    if (script < 1) {
        host.WriteEngineLog("MemStructRys_Get returned " + std::to_string(script));
        return kLoadBadFileName;
    }
    ScriptRecord& s = tables.Script(script);
    s.FileName = name;
    s.FileDateTime = FileModificationTime(name);
    s.NotFromFile = false;
    s.FolderPath = SplitPath(name);

    const bool isProtected = IsProtectedScriptName(name);
    FileRead read = ReadRegularFile(name, kScriptSizeLimit,
                                    isProtected ? kProtectedReadLimit : std::string::npos);
    if (!read.Ok()) {
        host.WriteEngineLog("RysScriptLoad [" + name + "] line:0, " +
                            FileReadProblem(read, kScriptSizeLimit));
        if (read.status == FileReadStatus::TooLarge)
            host.ShowMessage(PathForText(name) + " is larger than " +
                             SizeLimitText(kScriptSizeLimit) +
                             ", the most a script file may hold.\r\nIt was not loaded.");
        ReleaseFailedLoad(tables, script);
        return kLoadFailed;
    }
    s.DiskStamp = read.stamp;
    for (const std::string& backup : InterruptedSaveBackups(name))
        host.ShowMessage(PathForText(name) +
                         ": a save of this file was interrupted before it finished, so it may "
                         "hold part of the new content.\r\nIts content from before that save is "
                         "kept in " +
                         PathForText(backup) +
                         ". Check the script, and remove that copy once you no longer need it.");
    std::string contents = std::move(read.bytes);
    if (isProtected) {
        ProtectedOpenResult opened = OpenProtectedText(host, contents, callerId);
        if (opened.result != 0) {
            ReleaseFailedLoad(tables, script);
            return opened.result;
        }
        s.Password = opened.password;
        contents = std::move(opened.text);
        if (read.cut) {
            s.ReadCutShort = true;
            host.ShowMessage(PathForText(name) + " is " + std::to_string(read.size) +
                             " bytes long, but a protected script is read only as far as " +
                             std::to_string(kProtectedReadLimit) +
                             " bytes.\r\nThe end of the script was not read; saving over "
                             "this file would lose it.");
        }
    }
    if (const OtherLineEnds ends = ReadLineEndsAsWritten(contents)) {
        s.ReadWithOtherLineEnds = true;
        host.ShowMessage(PathForText(name) +
                         (ends.mixed
                              ? " mixes its line ends (" + ends.kinds +
                                    "). Every one of them was read as a line end"
                              : " ends its lines with " + ends.kinds + " alone. It was read with " +
                                    ends.kinds + " as the line end") +
                         ", and it will be saved with CR LF line ends.");
    }
    if (const std::int16_t interpreted = InterpretScriptText(tables, host, script, contents))
        return interpreted;
    // A file with text in it that gives neither a module nor a script setting is no script
    // this designer can read: saving over it would put an empty script in its place.
    if (s.ModuleCount == 0 && s.Version.empty() && s.StartModule.empty() &&
        contents.find_first_not_of(" \t\r\n") != std::string::npos)
        host.ShowMessage(PathForText(name) +
                         " holds no modules and no script settings that could be read: it may "
                         "not be a script. Saving it would replace it with an empty script.");
    return script;
}

} // namespace ry
