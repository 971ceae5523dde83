#pragma once

// What the core asks of the program that runs it: messages for the user, the status line,
// passwords for protected scripts and the engine's diagnostic log. The designer's windows
// implement it; the command-line tool and the tests answer it directly.

#include <cstdint>
#include <string>
#include <string_view>

namespace ry {

class Host {
public:
    virtual ~Host() = default;

    // A message box titled with the brand name.
    virtual void ShowMessage(std::string_view /*text*/) {}
    // The first panel of the main window's status bar.
    virtual void ShowStatusText(std::string_view /*text*/) {}
    // The engine's diagnostic log; the designer writes nothing.
    virtual void WriteEngineLog(std::string_view /*text*/) {}
    // Busy pointer while a script is written.
    virtual void SetBusy(bool /*busy*/) {}

    // The password typed to open a protected script; empty when the dialog was closed
    // without OK.
    virtual std::string AskOpenPassword() { return {}; }
    // A protected save has no password yet. The host asks for one (its dialog need not be
    // modal) and completes the save through the protected writer once it is confirmed.
    virtual void RequestSavePassword(std::int16_t /*script*/) {}
};

} // namespace ry
