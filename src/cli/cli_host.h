#pragma once

#include "script/host.h"
#include "script/records.h"

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace ry::cli {

// The command line's answers to the core: messages go to standard error, the password comes
// from the --password option.
class CliHost : public Host {
public:
    explicit CliHost(std::ostream& err, std::string password = {})
        : err_(err), password_(std::move(password)) {}

    void ShowMessage(std::string_view text) override;
    std::string AskOpenPassword() override { return password_; }
    void RequestSavePassword(std::int16_t script) override;

    // Messages shown so far, for commands that fail on them.
    int MessageCount() const { return messages_; }

private:
    std::ostream& err_;
    std::string password_;
    int messages_ = 0;
};

// Why a script did not load (the loader's result), in words: a file that cannot be opened says
// why it cannot.
std::string LoadFailureInWords(const std::string& file, int result);

// Loads a script for a command. On failure prints one line "rys: FILE: not loaded: cause" to
// `err` and returns nothing.
std::optional<std::int16_t> LoadScriptForCommand(ScriptTables& tables, CliHost& host,
                                                 const std::string& file, std::ostream& err);

// Loads a script; on failure `why` holds the cause in words and nothing is returned.
std::optional<std::int16_t> LoadScript(ScriptTables& tables, CliHost& host, const std::string& file,
                                       std::string& why);

// Loads IN, lets `edit` change its records and saves them as OUT as the designer would, unless
// `edit` answers false. Returns 0, or 1 when the script did not load or was not saved (said on
// `err`).
int RewriteScriptFile(const std::string& in, const std::string& out, const std::string& password,
                      std::ostream& err,
                      const std::function<bool(ScriptTables&, std::int16_t script)>& edit);

// The password a copy is saved under: the one it was opened with, else the one given, else the
// mark of a script that has none yet.
void KeepPasswordForCopy(ScriptRecord& s, const std::optional<std::string>& given);

} // namespace ry::cli
