#include "check/checker.h"

#include "paths/destinations.h"
#include "paths/path_text.h"
#include "script/file_io.h"
#include "script/host.h"
#include "script/loader.h"
#include "script/module_types.h"
#include "script/protected_script.h"
#include "script/text.h"
#include "walk/walk.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <unordered_map>
#include <unordered_set>

namespace ry {

namespace {

constexpr auto npos = std::string_view::npos;

// ---------------------------------------------------------------------------------------------
// The module chain

// The script's modules in chain order. A damaged chain that comes back to a module it has
// already passed ends there, so no module is checked twice.
std::vector<std::int16_t> ChainOf(const ScriptTables& tables, std::int16_t script) {
    std::vector<std::int16_t> chain;
    std::vector<bool> met(kModuleCapacity + 1, false);
    for (int m = tables.Script(script).FirstModule;
         ScriptTables::IsModuleIndex(m) && !met[static_cast<size_t>(m)];
         m = tables.Module(m).NextModule) {
        met[static_cast<size_t>(m)] = true;
        chain.push_back(static_cast<std::int16_t>(m));
    }
    return chain;
}

// ---------------------------------------------------------------------------------------------
// Paths

// One path of a module: its trigger without braces and the titles it leads to without
// brackets. Views into the module's path text.
struct PathLine {
    std::string_view Trigger;
    std::string_view Verb; // "goto", "gosub" or "return"
    std::string_view Destination;
    std::string_view ReturnTo;
};

// The paths as tidying reads them, and so as the normal form holds them.
std::vector<PathLine> ReadPathLines(std::string_view pathText) {
    std::vector<PathLine> paths;
    for (const PathParts& p : ReadPaths(pathText))
        paths.push_back(
            {Undelimited(p.Trigger), p.Verb, Undelimited(p.Destination), Undelimited(p.ReturnTo)});
    return paths;
}

// ---------------------------------------------------------------------------------------------
// Triggers

// What the paths panel offers each type, as the words written between the braces.
enum class TriggerSet {
    Keys,        // Play, Record: the twelve keys and timeout
    KeysOutcome, // Say Numbers: keys, success, fail, timeout
    Outcome,     // success, fail, timeout
    GetNumbers,  // success, fail, timeout, "*" and the exact number typed by the designer
    Placed,      // Make Call, Pager Message: success, fail
    Conference,  // Dial and Conference: the states of the placed call
    Result,      // Evaluate, Time Switch: true, false and any result value typed
    Unchecked,   // Hangup (its paths are a problem of their own) and types the panel lists
                 // nothing for, whose triggers are typed freely
};

TriggerSet TriggersOf(std::string_view type) {
    if (type == kTypePlay || type == kTypeRecord)
        return TriggerSet::Keys;
    if (type == kTypeSayNumbers)
        return TriggerSet::KeysOutcome;
    if (type == kTypeRunProgram || type == kTypeDatabaseQuery || type == kTypeSendEmail ||
        type == kTypeTransferCall || type == kTypeRunVbScript || type == kTypeDde)
        return TriggerSet::Outcome;
    if (type == kTypeGetNumbers)
        return TriggerSet::GetNumbers;
    if (type == kTypePhoneMessage || type == kTypeMakeCallOld || type == kTypePagerMessage)
        return TriggerSet::Placed;
    if (type == kTypeDialAndConference)
        return TriggerSet::Conference;
    if (type == kTypeEvaluate || type == kTypeTimeSwitch)
        return TriggerSet::Result;
    return TriggerSet::Unchecked;
}

bool IsDigitText(std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsKey(std::string_view t) {
    return t.size() == 1 && (IsDigitText(t) || t == "*" || t == "#");
}

// "timeout" with the seconds the designer writes after it; the bare word is taken as well.
bool IsTimeout(std::string_view t) {
    return IStartsWith(t, "timeout") && IsDigitText(TrimBlanks(t.substr(7)));
}

bool IsOutcome(std::string_view t) {
    return IEquals(t, "success") || IEquals(t, "fail");
}

// Keys a caller can press, as the exact number a Get Numbers path waits for.
bool IsKeyedNumber(std::string_view t) {
    return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '*' || c == '#';
    });
}

// Why a trigger is wrong for its module type; empty when the type offers it. Triggers are
// compared without letter case and without blanks at either end inside the braces.
std::string TriggerProblem(TriggerSet set, std::string_view type, std::string_view written) {
    std::string_view t = TrimBlanks(written);
    bool offered = false;
    switch (set) {
    case TriggerSet::Keys:
        offered = IsKey(t) || IsTimeout(t);
        break;
    case TriggerSet::KeysOutcome:
        offered = IsKey(t) || IsOutcome(t) || IsTimeout(t);
        break;
    case TriggerSet::Outcome:
        offered = IsOutcome(t) || IsTimeout(t);
        break;
    case TriggerSet::GetNumbers:
        if (IEquals(t, "exact_number"))
            return "trigger {" + std::string(written) +
                   "} is the trigger list's placeholder: type the number instead";
        // "nonumbers" is a word the paths panel writes for a caption of its own.
        offered = IsOutcome(t) || IsTimeout(t) || IEquals(t, "nonumbers") || IsKeyedNumber(t);
        break;
    case TriggerSet::Placed:
        offered = IsOutcome(t);
        break;
    case TriggerSet::Conference:
        for (std::string_view w :
             {"call end", "busy", "error", "no line", "no ring tone", "fast busy"})
            offered = offered || IEquals(t, w);
        offered = offered || IsTimeout(t);
        break;
    case TriggerSet::Result:
        if (IEquals(t, "Insert Result Here"))
            return "trigger {" + std::string(written) +
                   "} is the trigger list's placeholder: type the result value instead";
        offered = true;
        break;
    case TriggerSet::Unchecked:
        offered = true;
        break;
    }
    if (offered)
        return {};
    return "trigger {" + std::string(written) + "} is not one a " + std::string(type) +
           " module offers";
}

// ---------------------------------------------------------------------------------------------
// Files

// Whether a file name can be judged here at all.
enum class Lookup { Found, Missing, CannotTell };

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = LowerAscii(c);
    return out;
}

// A name as the recorded-file set compares it: trimmed, "\" for "/", without letter case.
std::string NormalName(std::string_view name) {
    std::string out = LowerAscii(TrimBlanks(name));
    std::replace(out.begin(), out.end(), '\\', '/');
    return out;
}

// "C:\..." or "C:..." with a drive letter, or "\\server\share\...".
bool IsWindowsRooted(std::string_view name) {
    if (name.size() >= 2 && name[1] == ':' &&
        ((name[0] >= 'A' && name[0] <= 'Z') || (name[0] >= 'a' && name[0] <= 'z')))
        return true;
    return name.starts_with("\\\\") || name.starts_with("//");
}

// Looks files up as playing a sound does: the name as it stands, then in the script's
// folder. Scripts come from Windows, so "\" separates folders and letter case does not count
// (a name is looked for in its folder's listing when it is not there as written). Answers are
// kept, so a name used by many modules costs one look-up.
class FileFinder {
public:
    explicit FileFinder(std::string scriptFolder) : folder_(std::move(scriptFolder)) {}

    Lookup Find(std::string_view written) {
        std::string_view name = TrimBlanks(written);
        if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
            name = TrimBlanks(name.substr(1, name.size() - 2));
        // Result variables ("[Amount]"), environment variables and wildcards are filled in
        // by the engine during the call; a drive or a Windows share only the engine's own
        // machine can look into.
        if (name.empty() || name.find_first_of("[%*?\"<>|") != npos || IsWindowsRooted(name))
            return Lookup::CannotTell;
        std::string path = Cp1252ToUtf8(name);
        std::replace(path.begin(), path.end(), '\\', '/');

        if (Exists(path))
            return Lookup::Found;
        if (path.front() != '/' && Exists(folder_ + path))
            return Lookup::Found;
        std::string fileName;
        SplitPath(path, &fileName);
        if (!fileName.empty() && Exists(folder_ + fileName))
            return Lookup::Found;
        return Lookup::Missing;
    }

private:
    bool Exists(const std::string& path) {
        // No system takes a longer path; walking one a part at a time would cost its length
        // once per part.
        constexpr std::size_t kLongestPath = 4096;
        if (path.size() > kLongestPath)
            return false;
        auto [it, fresh] = known_.try_emplace(path, false);
        if (fresh)
            it->second = IsExistingFile(path) || ExistsInAnyCase(path);
        return it->second;
    }

    // Walks the path a folder at a time, taking each part in whatever letter case the
    // folder holds it.
    bool ExistsInAnyCase(const std::string& path) {
        namespace fs = std::filesystem;
        std::string at = path.starts_with('/') ? "/" : "";
        std::string_view rest = path;
        while (!rest.empty()) {
            std::size_t cut = rest.find('/');
            std::string_view part = rest.substr(0, cut);
            rest = cut == npos ? std::string_view{} : rest.substr(cut + 1);
            if (part.empty() || part == ".")
                continue;
            std::error_code ec;
            std::string next = at + std::string(part);
            if (part != ".." && !fs::exists(fs::path(next), ec)) {
                const auto& listing = Listing(at);
                auto hit = listing.find(LowerAscii(part));
                if (hit == listing.end())
                    return false;
                next = at + hit->second;
            }
            at = next;
            if (!rest.empty())
                at += '/';
        }
        return IsExistingFile(at);
    }

    // The names in a folder by their lower-case form ("" is the working folder).
    const std::unordered_map<std::string, std::string>& Listing(const std::string& folder) {
        auto [it, fresh] = listings_.try_emplace(folder);
        if (!fresh)
            return it->second;
        namespace fs = std::filesystem;
        std::error_code ec;
        fs::directory_iterator dir(folder.empty() ? fs::path(".") : fs::path(folder), ec);
        for (fs::directory_iterator end; !ec && dir != end; dir.increment(ec)) {
            std::string name = dir->path().filename().string();
            it->second.try_emplace(LowerAscii(name), name);
        }
        return it->second;
    }

    std::string folder_;
    std::unordered_map<std::string, bool> known_;
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> listings_;
};

// A program's command line: a quoted program name, or words of which the program is the
// shortest run that names an existing file (so "C:\Program Files\x.exe" needs no quotes, as
// when Windows starts it). A program named without a folder is found through the system's
// search path, which only the engine's machine knows.
Lookup FindProgram(FileFinder& files, std::string_view commandLine) {
    std::string_view line = TrimBlanks(commandLine);
    if (line.starts_with('"')) {
        std::size_t close = line.find('"', 1);
        line = line.substr(1, close == npos ? npos : close - 1);
        return line.find_first_of("\\/") == npos ? Lookup::CannotTell : files.Find(line);
    }
    std::string_view first = line.substr(0, line.find(' '));
    if (first.find_first_of("\\/") == npos)
        return Lookup::CannotTell;
    constexpr int kMostWords = 16;
    std::size_t end = first.size();
    for (int words = 1; words <= kMostWords; ++words) {
        Lookup found = files.Find(line.substr(0, end));
        if (found != Lookup::Missing)
            return found;
        if (end >= line.size())
            break;
        std::size_t next = line.find_first_not_of(' ', end);
        end = next == npos ? line.size() : std::min(line.find(' ', next), line.size());
    }
    return Lookup::Missing;
}

enum class FileRole { Plain, Program };

struct NamedFile {
    std::string What;
    const std::string& Name;
    FileRole Role = FileRole::Plain;
};

// The files a module names that must exist before a call reaches it. Play, Get Numbers and
// Say Numbers modules play every sound-file slot the script file keeps for them (PlayFile1
// to PlayFile10, whether or not their dialogs show that slot), except the number a Say
// Numbers module says. Left out: the file a Record module records into (the recording makes
// it), the Send Email attachment (often a file the call itself has just recorded), fields the
// module's settings do not use, and the sounds the script file does not keep: the Database
// Query's sound played while querying and the Dial and Conference time message.
std::vector<NamedFile> FilesNamedBy(const ModuleRecord& m) {
    std::vector<NamedFile> files;
    auto slot = [&](int n, std::string what) {
        files.push_back({std::move(what), m.PlayFileSlot(n)});
    };
    const std::string& type = m.Type;
    if (type == kTypePlay || type == kTypeGetNumbers || type == kTypeSayNumbers) {
        for (int n = 1; n <= static_cast<int>(m.PlayFile.size()); ++n)
            if (n != 2 || type != kTypeSayNumbers) // slot 2 holds the number to say
                slot(n, "sound file");
    } else if (type == kTypeRunProgram) {
        files.push_back({"program", m.PlayFileSlot(1), FileRole::Program});
        slot(2, "hold sound file");
    } else if (type == kTypeRunVbScript) {
        slot(3, "VB Script file"); // slot 1 holds the script text itself
        slot(2, "hold sound file");
    } else if (type == kTypeTransferCall) {
        if (m.iXferType == 5)
            slot(2, "on-hold sound file");
        if (m.iXferType == 1 || m.iXferType == 3)
            slot(3, "announce sound file");
    } else if (type == kTypePhoneMessage || type == kTypeMakeCallOld) {
        for (size_t i = 0; i < m.sDialPhone.size(); ++i) {
            if (TrimBlanks(m.sDialPhone[i]).empty())
                continue; // a contact without a number is never called
            std::string contact = " of contact " + std::to_string(i + 1);
            files.push_back({"welcome sound file" + contact, m.sDialWelc[i]});
            files.push_back({"script or sound file" + contact, m.sDialScript[i]});
        }
    } else if (type == kTypeDialAndConference) {
        files.push_back({"hold sound file", m.sDncPlayWhileConnecting});
    }
    return files;
}

// ---------------------------------------------------------------------------------------------
// Fields

bool Blank(std::string_view text) {
    return TrimBlanks(text).empty();
}

// What a module lacks of what its type needs to do its work on the call, each field named as
// its dialog captions it. Fields that may stay empty (a prompt the engine replaces by its own,
// a subject, the alternative contacts of a Make Call) are not asked for.
std::vector<std::string> EmptyFields(const ModuleRecord& m) {
    std::vector<std::string> out;
    auto need = [&](const std::string& value, std::string_view caption) {
        if (Blank(value))
            out.push_back("\"" + std::string(caption) + "\" is empty");
    };
    auto needEither = [&](const std::string& a, std::string_view captionA, const std::string& b,
                          std::string_view captionB) {
        if (Blank(a) && Blank(b))
            out.push_back("neither \"" + std::string(captionA) + "\" nor \"" +
                          std::string(captionB) + "\" is filled in");
    };
    const std::string& type = m.Type;
    if (type == kTypePlay) {
        needEither(m.PlayFileSlot(1), "Sound file to play", m.strTtsText, "Text to speak");
    } else if (type == kTypeRecord) {
        need(m.RecFile, "Sound file to record");
    } else if (type == kTypeSayNumbers) {
        need(m.PlayFileSlot(2), "Number to say");
    } else if (type == kTypeDatabaseQuery) {
        needEither(m.DbDatabase, "Database or ODBC Data Source", m.DbConnectString,
                   "Connect String");
        need(m.DbSql, "SQL Query");
    } else if (type == kTypeEvaluate) {
        need(m.PlayFileSlot(1), "Expression to Evaluate");
    } else if (type == kTypeRunProgram) {
        need(m.PlayFileSlot(1), "Program to run");
    } else if (type == kTypeRunVbScript) {
        need(m.PlayFileSlot(1), "VBScript");
    } else if (type == kTypeSendEmail) {
        need(m.strEmailAddrTo, "To");
    } else if (type == kTypeTransferCall) {
        need(m.PlayFileSlot(1), "Phone");
    } else if (type == kTypePhoneMessage || type == kTypeMakeCallOld) {
        need(m.sDialPhone[0], "Phone");
    } else if (type == kTypeDialAndConference) {
        need(m.sDncPhoneNumber, "Phone");
    } else if (type == kTypePagerMessage) {
        need(m.PagerTelNbr, "Telephone");
        if (m.PagerType == "RUN_PAGER_PET")
            need(m.PagerId, "Pager");
        need(m.PagerMessage, "Message");
    } else if (type == kTypeDde) {
        need(m.strDdeLinkTopic, "DDE Topic");
        need(m.strDdeCommand, IEquals(m.strDdeType, "Execute") ? "Command" : "Data");
    }
    return out;
}

// ---------------------------------------------------------------------------------------------
// The check

struct ModuleScan {
    std::int16_t Index = -1;
    std::string Tidy;
    std::vector<PathLine> Paths;
};

std::string Bracketed(std::string_view title) {
    return "[" + std::string(title) + "]";
}

} // namespace

std::string_view ProblemKindName(ProblemKind kind) {
    switch (kind) {
    case ProblemKind::BadStartModule:
        return "bad-start-module";
    case ProblemKind::DuplicateTitle:
        return "duplicate-title";
    case ProblemKind::Unreachable:
        return "unreachable";
    case ProblemKind::HangupWithPaths:
        return "hangup-with-paths";
    case ProblemKind::UntidyPaths:
        return "untidy-paths";
    case ProblemKind::UnofferedTrigger:
        return "unoffered-trigger";
    case ProblemKind::UnknownDestination:
        return "unknown-destination";
    case ProblemKind::MissingFile:
        return "missing-file";
    case ProblemKind::DuplicateTrigger:
        return "duplicate-trigger";
    case ProblemKind::NoPaths:
        return "no-paths";
    case ProblemKind::EmptyField:
        return "empty-field";
    }
    return "unknown";
}

std::vector<Problem> CheckScript(const ScriptTables& tables, std::int16_t script,
                                 const CheckOptions& options) {
    std::vector<Problem> problems;
    if (!ScriptTables::IsScriptIndex(script))
        return problems;
    const ScriptRecord& s = tables.Script(script);
    const std::vector<std::int16_t> chain = ChainOf(tables, script);
    const TitleIndex titles(tables, script);
    FileFinder files(s.FolderPath);

    auto scriptProblem = [&](ProblemKind kind, std::string reason) {
        problems.push_back({kind, -1, {}, std::move(reason)});
    };

    // The start module, found as the loader accepts it: exactly, else in any letter case.
    // Calls start at the first module when it names none.
    const std::string& start =
        options.WrittenStartModule ? *options.WrittenStartModule : s.StartModule;
    std::int16_t startModule = titles.Find(start);
    for (size_t i = 0; startModule < 1 && i < chain.size(); ++i)
        if (IEquals(tables.Module(chain[i]).Title, start))
            startModule = chain[i];
    if (chain.empty()) {
        scriptProblem(ProblemKind::BadStartModule, "the script has no modules");
    } else if (startModule < 1) {
        startModule = chain.front();
        std::string first = Bracketed(tables.Module(startModule).Title);
        scriptProblem(ProblemKind::BadStartModule,
                      start.empty()
                          ? "no start module is set; calls start at the first module, " + first
                          : "start module " + Bracketed(start) +
                                " names no module; calls start at the first module, " + first);
    }

    if (options.CheckFiles && !TrimBlanks(s.RunAtHangup).empty() &&
        files.Find(s.RunAtHangup) == Lookup::Missing)
        scriptProblem(ProblemKind::MissingFile,
                      "script run at hang-up \"" + s.RunAtHangup + "\" not found");

    // Every module's paths, read once from their normal form.
    std::vector<ModuleScan> scans(chain.size());
    for (size_t i = 0; i < chain.size(); ++i) {
        scans[i].Index = chain[i];
        scans[i].Tidy = TidyPathsText(tables.Module(chain[i]).PathText);
        scans[i].Paths = ReadPathLines(tables.Module(chain[i]).PathText);
    }

    // Reachable modules: from the start module along every destination that names a module.
    // The paths of a hang-up module are never taken.
    std::vector<bool> reached(kModuleCapacity + 1, false);
    std::vector<size_t> position(kModuleCapacity + 1, 0);
    for (size_t i = 0; i < chain.size(); ++i)
        position[static_cast<size_t>(chain[i])] = i;
    std::vector<std::int16_t> queue;
    if (startModule >= 1) {
        reached[static_cast<size_t>(startModule)] = true;
        queue.push_back(startModule);
    }
    for (size_t q = 0; q < queue.size(); ++q) {
        const ModuleScan& scan = scans[position[static_cast<size_t>(queue[q])]];
        if (tables.Module(scan.Index).Type == kTypeHangup)
            continue;
        for (const PathLine& p : scan.Paths) {
            for (std::string_view title : {p.Destination, p.ReturnTo}) {
                if (title.empty())
                    continue;
                std::int16_t to = DestinationModule(titles, title);
                if (to >= 1 && !reached[static_cast<size_t>(to)]) {
                    reached[static_cast<size_t>(to)] = true;
                    queue.push_back(to);
                }
            }
        }
    }

    // Files that a Record module of the script records into exist once a call has recorded.
    std::unordered_set<std::string> recorded;
    for (std::int16_t m : chain)
        if (tables.Module(m).Type == kTypeRecord && !TrimBlanks(tables.Module(m).RecFile).empty())
            recorded.insert(NormalName(tables.Module(m).RecFile));

    const std::string startTitle =
        startModule >= 1 ? Bracketed(tables.Module(startModule).Title) : std::string{};
    for (const ModuleScan& scan : scans) {
        const ModuleRecord& m = tables.Module(scan.Index);
        auto add = [&](ProblemKind kind, std::string reason) {
            problems.push_back({kind, scan.Index, m.Title, std::move(reason)});
        };

        if (std::int16_t first = titles.Find(m.Title); first >= 1 && first != scan.Index)
            add(ProblemKind::DuplicateTitle,
                "an earlier module has the same title; paths lead only to that one");
        if (!reached[static_cast<size_t>(scan.Index)])
            add(ProblemKind::Unreachable, "no path leads here from the start module " + startTitle);
        const bool hangup = m.Type == kTypeHangup;
        if (hangup && !scan.Paths.empty())
            add(ProblemKind::HangupWithPaths, "the call ends here, so its paths are never taken");
        if (scan.Tidy != m.PathText)
            add(ProblemKind::UntidyPaths, "tidying would change the paths");
        if (hangup)
            continue;

        const TriggerSet triggers = TriggersOf(m.Type);
        for (const PathLine& p : scan.Paths)
            if (std::string why = TriggerProblem(triggers, m.Type, p.Trigger); !why.empty())
                add(ProblemKind::UnofferedTrigger, std::move(why));

        for (const PathLine& p : scan.Paths) {
            auto check = [&](std::string_view title, std::string_view how) {
                if (title.empty() || DestinationModule(titles, title) >= 1 ||
                    IsVoicemailDestination(title))
                    return;
                add(ProblemKind::UnknownDestination, "path on {" + std::string(p.Trigger) + "} " +
                                                         std::string(how) + " " + Bracketed(title) +
                                                         ", which names no module");
            };
            check(p.Destination, p.Verb == "gosub" ? "calls" : "leads to");
            check(p.ReturnTo, "returns to");
        }

        for (const NamedFile& f : options.CheckFiles ? FilesNamedBy(m) : std::vector<NamedFile>{}) {
            if (TrimBlanks(f.Name).empty() || recorded.contains(NormalName(f.Name)))
                continue;
            Lookup found =
                f.Role == FileRole::Program ? FindProgram(files, f.Name) : files.Find(f.Name);
            if (found == Lookup::Missing)
                add(ProblemKind::MissingFile,
                    f.What + " \"" + std::string(TrimBlanks(f.Name)) + "\" not found");
        }

        // The first path whose trigger takes an event is the one taken.
        std::unordered_map<std::string, std::string_view> firstByKey;
        for (const PathLine& p : scan.Paths) {
            auto [first, fresh] = firstByKey.try_emplace(TriggerKey(p.Trigger), p.Trigger);
            if (!fresh)
                add(ProblemKind::DuplicateTrigger, "path on {" + std::string(p.Trigger) +
                                                       "} is never taken: the earlier path on {" +
                                                       std::string(first->second) +
                                                       "} takes the same events");
        }

        if (scan.Paths.empty() && m.Type != kTypeTransferCall)
            add(ProblemKind::NoPaths, "the module has no paths, so the call has nowhere to go");

        for (std::string& why : EmptyFields(m))
            add(ProblemKind::EmptyField, std::move(why));
    }
    // Titles, triggers and file names are the user's text; the reason stays one line.
    for (Problem& p : problems)
        std::replace_if(
            p.Reason.begin(), p.Reason.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return problems;
}

std::string WrittenStartModule(std::string_view scriptText) {
    // The loader's own reading into tables of their own, stopped before it settles the start
    // module. Nobody is shown anything: the script has been loaded for real already.
    auto tables = std::make_unique<ScriptTables>();
    Host quiet;
    std::int16_t script = tables->MemStructRys_Get();
    std::int16_t module = -1;
    while (!scriptText.empty()) {
        std::string_view line = Trim(TakeLine(scriptText));
        if (ProcessRysEntry(*tables, quiet, script, module, line, scriptText) < 0)
            break;
    }
    return tables->Script(script).StartModule;
}

std::optional<std::string> WrittenStartModuleOfFile(const std::string& fileName) {
    std::string name = fileName.substr(0, fileName.find('|'));
    std::string bytes;
    const bool isProtected = IsProtectedScriptName(name);
    if (!ReadFileBytes(name, bytes, isProtected ? kProtectedReadLimit : std::string::npos))
        return std::nullopt;
    if (isProtected) {
        Host quiet;
        // Read as the engine reads it: the password was checked when the script was loaded.
        ProtectedOpenResult opened = OpenProtectedText(quiet, bytes, kCallerEngine);
        if (opened.result != 0)
            return std::nullopt;
        bytes = std::move(opened.text);
    }
    // Line ends as the loader read them.
    ReadLineEndsAsWritten(bytes);
    return WrittenStartModule(bytes);
}

} // namespace ry
