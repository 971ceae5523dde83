#include "cli_host.h"
#include "commands.h"
#include "json_writer.h"
#include "options.h"
#include "terminal_text.h"

#include "check/checker.h"
#include "script/text.h"

#include <memory>
#include <ostream>

namespace ry::cli {

namespace {

// What a script-wide problem shows where a module's title would stand.
constexpr std::string_view kScriptColumn = "(script)";

struct FileProblem {
    const std::string* file;
    Problem problem;
};

void WriteLines(const std::vector<FileProblem>& found, std::ostream& out) {
    for (const FileProblem& f : found) {
        const Problem& p = f.problem;
        out << TerminalText(*f.file) << ": "
            << TerminalText(p.Module >= 1 ? Cp1252ToUtf8(p.Title) : std::string(kScriptColumn))
            << ": " << TerminalText(Cp1252ToUtf8(p.Reason)) << "\n";
    }
}

void WriteJson(const std::vector<FileProblem>& found, std::ostream& out) {
    JsonWriter json(out);
    json.BeginArray();
    for (const FileProblem& f : found) {
        const Problem& p = f.problem;
        json.BeginObject();
        json.String("file", *f.file);
        json.String("module", Cp1252ToUtf8(p.Title));
        json.Number("moduleIndex", p.Module);
        json.String("kind", ProblemKindName(p.Kind));
        json.String("reason", Cp1252ToUtf8(p.Reason));
        json.EndObject();
    }
    json.EndArray();
    out << "\n";
}

} // namespace

// Checks each script and prints its problems. Exit status: 0 none, 1 some, 2 when a script
// does not load (the others are still checked) or the command line is wrong.
int RunCheck(const Args& args, std::ostream& out, std::ostream& err) {
    static const Syntax syntax{.usage = "check FILE... [--json] [--password P]",
                               .flags = {"--json"},
                               .options = {{"--password"}},
                               .minPositional = 1,
                               .maxPositional = kAnyNumber,
                               .countMessage = "check takes one or more script files"};
    const auto read = ReadCommandLine(syntax, args, err);
    if (!read)
        return 2;

    auto tables = std::make_unique<ScriptTables>();
    CliHost host(err, read->Value("--password").value_or(""));
    bool loadFailed = false;
    std::vector<FileProblem> found;
    for (const std::string& file : read->positional) {
        auto script = LoadScriptForCommand(*tables, host, file, err);
        if (!script) {
            loadFailed = true;
            continue;
        }
        CheckOptions options;
        options.WrittenStartModule = WrittenStartModuleOfFile(file);
        for (Problem& p : CheckScript(*tables, *script, options))
            found.push_back({&file, std::move(p)});
        // The module records are shared by all scripts: each script gives its back.
        tables->MemStructRys_FreeAll(*script);
    }
    if (read->Flag("--json"))
        WriteJson(found, out);
    else
        WriteLines(found, out);
    if (loadFailed)
        return 2;
    return found.empty() ? 0 : 1;
}

} // namespace ry::cli
