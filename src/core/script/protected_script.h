#pragma once

// Protected scripts (".ryp"): the script text with its password line, enciphered with the
// program's key. Only a program with the same key reads them.

#include "script/host.h"
#include "script/records.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ry {

// A protected file is read only this far, so no protected file may be written longer.
inline constexpr size_t kProtectedReadLimit = 65000;

// True for a name ending ".ryp" in any letter case.
bool IsProtectedScriptName(std::string_view fileName);

// Each character shifted by a character of the key (trimmed, upper case), the key's
// characters taken in turn starting from its second. An empty key leaves the text as it is.
std::string EncryptScriptText(std::string_view text, std::string_view key);
std::string DecryptScriptText(std::string_view text, std::string_view key);

// The text a scrambled hexadecimal form stands for, or "" when its check value is wrong.
std::string DecodeStoredString(std::string_view scrambled);

// The program's script key, built from its stored form.
std::string ScriptKey();

struct ProtectedOpenResult {
    std::int16_t result = 0; // 0, or a load failure code (-4, -5, -6)
    std::string text;        // the deciphered script text
    std::string password;    // the password stored in the file
};

// Deciphers a protected file's bytes (already cut to the read limit). The designer asks the
// host for the password and checks it; the engine (`callerId` "RYMULTI") does neither.
ProtectedOpenResult OpenProtectedText(Host& host, std::string_view fileBytes,
                                      std::string_view callerId);

// The protected plain text: the script text with "Password=" and the password inserted as
// its second line.
std::string InsertPasswordLine(std::string_view scriptText, std::string_view password);

// Writes protected scripts. A save whose script has no password yet waits here, with its
// text and file name, until the host's password dialog completes it.
class ProtectedWriter {
public:
    enum Result { Written = 0, WaitingForPassword = 1, Failed = -1 };

    // Set by the saver before WriteProtectedScript.
    std::string ProtectedSaveText;
    std::string ProtectedFileName;
    // The script waiting for a password; 0 when none.
    std::int16_t PendingProtectedScript = 0;

    // Sets the script's password (trimmed, upper case) and writes the file; with "NOTSET"
    // the host is asked for a password instead and the save waits.
    Result WriteProtectedScript(ScriptTables& tables, Host& host, std::int16_t script,
                                std::string_view password);

    // The password dialog's OK: writes the waiting save with the password typed and, when
    // it is written, clears the script's modified mark.
    Result CompletePendingSave(ScriptTables& tables, Host& host, std::string_view password);
};

} // namespace ry
