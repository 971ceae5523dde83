#include "script/protected_script.h"

#include "script/file_io.h"
#include "script/loader.h"
#include "script/saver.h"
#include "script/text.h"

#include <string>

namespace ry {

namespace {

// The key's scrambled form; its check value is verified by the tests.
constexpr std::string_view kStoredScriptKey = "98BB0C440A35";

std::string PreparedKey(std::string_view key) {
    return ToUpperAnsi(Trim(key));
}

template <int Sign> std::string Shift(std::string_view text, std::string_view rawKey) {
    std::string key = PreparedKey(rawKey);
    std::string out(text);
    if (key.empty())
        return out;
    const size_t n = key.size();
    for (size_t j = 0; j < out.size(); ++j) {
        auto k = static_cast<unsigned char>(key[(j + 1) % n]);
        auto c = static_cast<unsigned char>(out[j]);
        out[j] = static_cast<char>(static_cast<unsigned char>(c + Sign * k));
    }
    return out;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

int HexByte(std::string_view two) {
    int hi = HexDigit(two[0]), lo = HexDigit(two[1]);
    return hi < 0 || lo < 0 ? -1 : hi * 16 + lo;
}

std::string NotSavedMessage(std::string_view what, std::string_view fileName) {
    return std::string(what) + std::string(fileName) + "\r\nFile not saved.";
}

} // namespace

bool IsProtectedScriptName(std::string_view fileName) {
    return fileName.size() >= 4 && IEquals(fileName.substr(fileName.size() - 4), ".RYP");
}

std::string EncryptScriptText(std::string_view text, std::string_view key) {
    return Shift<1>(text, key);
}

std::string DecryptScriptText(std::string_view text, std::string_view key) {
    return Shift<-1>(text, key);
}

std::string DecodeStoredString(std::string_view s) {
    if (s.size() < 10)
        return {};
    const size_t pairs = (s.size() - 4) / 2;
    std::string out;
    unsigned previous = 43;
    unsigned check = 1328;
    for (size_t i = 0; i < pairs; ++i) {
        int b = HexByte(s.substr(2 * i, 2));
        if (b < 0)
            return {};
        out.push_back(static_cast<char>((static_cast<unsigned>(b) - previous) & 0xFF));
        previous = static_cast<unsigned>(b);
        check = (check + 3 * static_cast<unsigned>(b) + 7) & 0xFFFF;
    }
    std::string_view tail = s.substr(s.size() - 4);
    int hi = HexByte(tail.substr(0, 2)), lo = HexByte(tail.substr(2, 2));
    if (hi < 0 || lo < 0 || static_cast<unsigned>(hi * 256 + lo) != check)
        return {};
    return out.substr(2);
}

std::string ScriptKey() {
    return DecodeStoredString(kStoredScriptKey);
}

ProtectedOpenResult OpenProtectedText(Host& host, std::string_view fileBytes,
                                      std::string_view callerId) {
    ProtectedOpenResult r;
    const bool engine = callerId == kCallerEngine;
    std::string entered;
    if (!engine)
        entered = ToUpperAnsi(Trim(host.AskOpenPassword()));
    std::string text = DecryptScriptText(fileBytes, ScriptKey());
    // An empty file deciphers to nothing; that is told apart from a file that deciphers to
    // something other than a script.
    if (text.empty()) {
        host.WriteEngineLog("Decrypt Error : no file returned");
        r.result = kLoadNothingDeciphered;
        return r;
    }
    if (!IStartsWith(text, "Version=")) {
        host.WriteEngineLog("DecryptScriptText error strDecryptedFile=[" + text + "]");
        r.result = kLoadNotAScript;
        return r;
    }
    // "Version=5.0" CR LF "Password=" is 22 characters; the password runs to the line's end.
    std::string_view afterLabel =
        std::string_view(text).substr(text.size() < 22 ? text.size() : 22);
    std::string stored(afterLabel.substr(0, afterLabel.find(kCrLf)));
    if (!engine && ToUpperAnsi(stored) != entered) {
        host.WriteEngineLog("Decrypt Error : the password typed does not match");
        r.result = kLoadWrongPassword;
        return r;
    }
    r.password = std::move(stored);
    r.text = std::move(text);
    return r;
}

std::string InsertPasswordLine(std::string_view scriptText, std::string_view password) {
    std::string p(scriptText.substr(0, 13));
    p += "Password=";
    p += password;
    p += kCrLf;
    if (scriptText.size() > 13)
        p += scriptText.substr(13);
    return p;
}

ProtectedWriter::Result ProtectedWriter::WriteProtectedScript(ScriptTables& tables, Host& host,
                                                              std::int16_t script,
                                                              std::string_view password) {
    std::string pw = ToUpperAnsi(Trim(password));
    tables.Script(script).Password = pw;
    if (pw == "NOTSET") {
        PendingProtectedScript = script;
        host.RequestSavePassword(script);
        return WaitingForPassword;
    }
    std::string cipher = EncryptScriptText(InsertPasswordLine(ProtectedSaveText, pw), ScriptKey());
    // The reader stops at its limit, so a longer file would open cut short and lose its end
    // at the next save.
    if (cipher.size() > kProtectedReadLimit) {
        host.ShowMessage("The protected script would be " + std::to_string(cipher.size()) +
                         " bytes long; a protected script can hold at most " +
                         std::to_string(kProtectedReadLimit) +
                         " bytes.\r\nSave it as a .rys "
                         "script instead, or split it.\r\nFile not saved.");
        return Failed;
    }
    std::string error = WriteFileReplacing(ProtectedFileName, cipher);
    if (!error.empty()) {
        host.WriteEngineLog("WriteProtectedScript [" + ProtectedFileName + "] " + error);
        host.ShowMessage(NotSavedMessage("Error opening ", PathForText(ProtectedFileName)));
        return Failed;
    }
    return Written;
}

ProtectedWriter::Result ProtectedWriter::CompletePendingSave(ScriptTables& tables, Host& host,
                                                             std::string_view password) {
    std::int16_t script = PendingProtectedScript;
    PendingProtectedScript = 0;
    if (!ScriptTables::IsScriptIndex(script))
        return Failed;
    Result r = WriteProtectedScript(tables, host, script, password);
    if (r == Written)
        NoteScriptFileWritten(tables.Script(script));
    return r;
}

} // namespace ry
