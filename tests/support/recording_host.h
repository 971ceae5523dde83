#pragma once

#include "script/host.h"

#include <string>
#include <vector>

namespace ry::test {

// Answers the core like a user would, and remembers what it was shown.
class RecordingHost : public Host {
public:
    std::vector<std::string> messages;
    std::vector<std::string> statusTexts;
    std::string password;                   // typed when a protected script is opened
    int passwordQuestions = 0;              // how often a password was asked for on opening
    std::vector<std::int16_t> saveRequests; // protected saves waiting for a password

    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void ShowStatusText(std::string_view text) override { statusTexts.emplace_back(text); }
    std::string AskOpenPassword() override {
        ++passwordQuestions;
        return password;
    }
    void RequestSavePassword(std::int16_t script) override { saveRequests.push_back(script); }
};

} // namespace ry::test
