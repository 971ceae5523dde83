#include "cli_host.h"
#include "commands.h"

#include "layout/arrange.h"
#include "script/saver.h"

#include <memory>
#include <ostream>

namespace ry::cli {

// Lays the script's boxes out from the top down and saves it under the output name; nothing
// but the boxes' places changes.
int RunArrange(const Args& given, std::ostream&, std::ostream& err) {
    Args args = given;
    bool missing = false;
    auto password = TakeOption(args, "--password", missing);
    if (missing)
        return UsageError(err, "--password needs a value");
    if (args.size() != 2)
        return UsageError(err, "arrange takes an input and an output file");
    auto tables = std::make_unique<ScriptTables>();
    CliHost host(err, password.value_or(""));
    auto script = LoadScriptForCommand(*tables, host, args[0], err);
    if (!script)
        return 1;

    const ArrangeInput input = ArrangeInputOf(*tables, *script);
    const auto places = ArrangeBoxes(input.graph);
    for (size_t i = 0; i < input.modules.size(); ++i) {
        ModuleRecord& m = tables->Module(input.modules[i]);
        m.PositionX = (*places)[i].x;
        m.PositionY = (*places)[i].y;
    }

    ScriptRecord& s = tables->Script(*script);
    s.FileName = args[1];
    if (password && s.Password.empty())
        s.Password = *password;
    if (s.Password.empty())
        s.Password = "NOTSET";
    RecordBoxes boxes(*tables);
    ProtectedWriter writer;
    if (SaveScriptFile(*tables, host, boxes, writer, *script) != kSaveWritten) {
        err << "rys: " << args[1] << ": not saved\n";
        return 1;
    }
    return 0;
}

} // namespace ry::cli
