#include "commands.h"

#include "layout/arrange.h"
#include "script/records.h"

#include <ostream>

namespace ry::cli {

// Lays the script's boxes out from the top down and saves it under the output name; nothing
// but the boxes' places changes.
int RunArrange(const Args& args, std::ostream&, std::ostream& err) {
    static const Syntax syntax{.usage = "arrange IN OUT [--password P]",
                               .options = {{"--password"}},
                               .minPositional = 2,
                               .maxPositional = 2,
                               .countMessage = "arrange takes an input and an output file"};
    return SaveCopy(syntax, args, err, [](ScriptTables& tables, std::int16_t script) {
        const ArrangeInput input = ArrangeInputOf(tables, script);
        const auto places = ArrangeBoxes(input.graph);
        for (size_t i = 0; i < input.modules.size(); ++i) {
            ModuleRecord& m = tables.Module(input.modules[i]);
            m.PositionX = (*places)[i].x;
            m.PositionY = (*places)[i].y;
        }
    });
}

} // namespace ry::cli
