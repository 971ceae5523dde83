#pragma once

// Writing a script in the file layout the loader reads, as a plain ".rys" file or through the
// protected writer as a ".ryp" file.

#include "script/host.h"
#include "script/protected_script.h"
#include "script/records.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ry {

// What the canvas shows for a module: its box text and its box's current height.
struct BoxState {
    std::string text;
    int height = 0;
};

// The canvas side of a save. A module without a box has no state.
class BoxSource {
public:
    virtual ~BoxSource() = default;
    virtual std::optional<BoxState> Box(std::int16_t module) const = 0;
};

// Every module shown in a box that shows its record: the box text is the module's text and
// the box height follows the module's stored height, as right after opening the script.
class RecordBoxes : public BoxSource {
public:
    explicit RecordBoxes(const ScriptTables& tables) : tables_(tables) {}
    std::optional<BoxState> Box(std::int16_t module) const override;

private:
    const ScriptTables& tables_;
};

// The box text given to a module that has no box when it is saved.
inline constexpr std::string_view kNoBoxText = "Module description...";

// Copies each module's box text into its record (kNoBoxText for a module without a box).
void CollectBoxTexts(ScriptTables& tables, std::int16_t script, const BoxSource& boxes);

// The script's text in the file layout, without the final CR LF.
std::string BuildScriptText(const ScriptTables& tables, std::int16_t script,
                            const BoxSource& boxes);

// Save results.
enum SaveResult : std::int16_t {
    kSaveWritten = 0,
    kSaveFailed = -1,           // the file could not be written; the old file is untouched
    kSaveWaitingForPassword = 2 // a protected save waits for the host's password dialog
};

// Builds the text and writes it to `fileName`: plain, or protected when `protect` is set.
std::int16_t RysScriptSave(ScriptTables& tables, Host& host, const BoxSource& boxes,
                           ProtectedWriter& writer, std::string_view fileName, std::int16_t script,
                           bool protect);

// Saves a script under its FileName (which must be set): box texts collected, protected for
// a ".ryp" name, and the modified mark cleared once the file is written.
std::int16_t SaveScriptFile(ScriptTables& tables, Host& host, const BoxSource& boxes,
                            ProtectedWriter& writer, std::int16_t script);

// After the script's file was written: the modified mark cleared and the file's new stamp
// kept; the notes of how the old file read (cut short, LF line ends) no longer hold.
void NoteScriptFileWritten(ScriptRecord& s);

// True when the script's file is no longer the one it last read or wrote: another program
// replaced or changed it. False for a script never read from or written to a file, and when
// the file is gone (saving then loses nothing).
bool ScriptFileChangedOnDisk(const ScriptRecord& s);

} // namespace ry
