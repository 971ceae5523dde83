#include "cli_host.h"
#include "commands.h"
#include "options.h"

#include "layout/arrange.h"
#include "script/records.h"

#include <charconv>
#include <ostream>

namespace ry::cli {

namespace {

// "WIDTHxHEIGHT" in pixels, each from a box's width up to the canvas's limit.
std::optional<std::pair<int, int>> ReadArea(std::string_view text) {
    const auto x = text.find_first_of("xX");
    if (x == std::string_view::npos)
        return std::nullopt;
    int w = 0, h = 0;
    const auto first = std::from_chars(text.data(), text.data() + x, w);
    const auto second = std::from_chars(text.data() + x + 1, text.data() + text.size(), h);
    if (first.ec != std::errc{} || first.ptr != text.data() + x || second.ec != std::errc{} ||
        second.ptr != text.data() + text.size() || w < 200 || h < 200 || w > 32000 || h > 32000)
        return std::nullopt;
    return std::pair{w, h};
}

} // namespace

// Lays the script's boxes out from the top down inside the design area and saves it under the
// output name; nothing but the boxes' places changes. When the boxes need more room than the
// area, says how much and saves nothing.
int RunArrange(const Args& args, std::ostream&, std::ostream& err) {
    static const Syntax syntax{.usage = "arrange IN OUT [--area WIDTHxHEIGHT] [--password P]",
                               .options = {{"--password"}, {"--area", "a size such as 2000x2000"}},
                               .minPositional = 2,
                               .maxPositional = 2,
                               .countMessage = "arrange takes an input and an output file"};
    const auto read = ReadCommandLine(syntax, args, err);
    if (!read)
        return 2;
    std::pair<int, int> area{2000, 2000};
    if (const auto given = read->Value("--area")) {
        const auto size = ReadArea(*given);
        if (!size)
            return UsageError(err, syntax,
                              "--area needs a size from 200x200 to 32000x32000, such as 2000x2000");
        area = *size;
    }
    const auto password = read->Value("--password");
    bool tooSmall = false;
    const int code =
        RewriteScriptFile(read->positional[0], read->positional[1], password.value_or(""), err,
                          [&](ScriptTables& tables, std::int16_t script) {
                              const ArrangeInput input =
                                  ArrangeInputOf(tables, script, {}, area.first, area.second);
                              const auto arranged = ArrangeBoxes(input.graph);
                              if (!arranged->fits) {
                                  err << "rys: " << read->positional[0] << ": "
                                      << RoomNeededMessage(*arranged, area.first, area.second)
                                      << " Nothing was saved; give a larger --area.\n";
                                  tooSmall = true;
                                  return false;
                              }
                              for (size_t i = 0; i < input.modules.size(); ++i) {
                                  ModuleRecord& m = tables.Module(input.modules[i]);
                                  m.PositionX = static_cast<std::int16_t>(arranged->at[i].x);
                                  m.PositionY = static_cast<std::int16_t>(arranged->at[i].y);
                              }
                              KeepPasswordForCopy(tables.Script(script), password);
                              return true;
                          });
    return tooSmall ? 1 : code;
}

} // namespace ry::cli
