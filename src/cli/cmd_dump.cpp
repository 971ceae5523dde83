#include "cli_host.h"
#include "commands.h"
#include "json_writer.h"
#include "options.h"

#include "script/record_fields.h"
#include "script/text.h"

#include <memory>
#include <ostream>
#include <type_traits>

namespace ry::cli {

namespace {

// Whether a host path's bytes are UTF-8 as they stand (JSON must be).
bool IsUtf8(std::string_view s) {
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t length = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (length == 0 || i + length > s.size())
            return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2)
                return false;
        i += length;
    }
    return true;
}

// Writes one record field as JSON: text converted to UTF-8, numbers as numbers, booleans as
// true/false, dates in ISO form, the slot arrays as arrays.
struct FieldWriter {
    JsonWriter& json;

    template <class T> void operator()(std::string_view name, FieldKind, const T& value) const {
        Write(name, value);
    }

    void Write(std::string_view name, const std::string& v) const {
        // The file's name and folder are the host's own text (UTF-8), not record text.
        const bool hostPath = name == "FileName" || name == "FolderPath";
        json.String(name, hostPath && IsUtf8(v) ? v : Cp1252ToUtf8(v));
    }
    void Write(std::string_view name, bool v) const { json.Bool(name, v); }
    void Write(std::string_view name, std::int16_t v) const { json.Number(name, v); }
    void Write(std::string_view name, std::int32_t v) const { json.Number(name, v); }
    void Write(std::string_view name, const DateTime& v) const {
        json.String(name, FormatIsoDate(v));
    }
    template <class T, size_t N>
    void Write(std::string_view name, const std::array<T, N>& values) const {
        json.BeginArray(name);
        for (const T& v : values) {
            if constexpr (std::is_same_v<T, std::string>)
                json.String(Cp1252ToUtf8(v));
            else
                json.Number(v);
        }
        json.EndArray();
    }
};

} // namespace

void WriteScriptJson(const ScriptTables& tables, std::int16_t script, std::ostream& out) {
    JsonWriter json(out);
    FieldWriter field{json};
    json.BeginObject();
    VisitScriptFields(field, tables.Script(script));
    json.BeginArray("Modules");
    ForEachModule(tables, script, [&](std::int16_t index, const ModuleRecord& m) {
        json.BeginObject();
        json.Number("Index", index);
        VisitModuleFields(field, m);
        json.EndObject();
    });
    json.EndArray();
    json.EndObject();
}

int RunDump(const Args& args, std::ostream& out, std::ostream& err) {
    static const Syntax syntax{.usage = "dump FILE [--password P]",
                               .options = {{"--password"}},
                               .minPositional = 1,
                               .maxPositional = 1,
                               .countMessage = "dump takes one script file"};
    const auto read = ReadCommandLine(syntax, args, err);
    if (!read)
        return 2;
    auto tables = std::make_unique<ScriptTables>();
    CliHost host(err, read->Value("--password").value_or(""));
    auto script = LoadScriptForCommand(*tables, host, read->positional[0], err);
    if (!script)
        return 1;
    WriteScriptJson(*tables, *script, out);
    return 0;
}

} // namespace ry::cli
