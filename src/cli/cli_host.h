#pragma once

#include "script/host.h"
#include "script/records.h"

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

// Takes the flag `name` out of args wherever it stands; whether it was there.
bool TakeFlag(std::vector<std::string>& args, std::string_view name);

// Takes "--name VALUE" out of args; nothing when absent. Sets `missingValue` when the option
// is the last argument.
std::optional<std::string> TakeOption(std::vector<std::string>& args, std::string_view name,
                                      bool& missingValue);

} // namespace ry::cli
