// A protected script's bytes, opened with a fixed password as the designer does and without
// one as the engine does. What deciphers to a script is loaded, saved, protected again and
// reopened, which must give back the same text and password.
//
// The mutator works on the deciphered text: changing the enciphered bytes at random would
// mostly give noise that is not a script, and a byte inserted there would shift the key
// under everything after it.

#include "fuzz_support.h"
#include "script/protected_script.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

constexpr std::string_view kPassword = "Fuzz Word";

const std::string& Key() {
    static const std::string key = ry::ScriptKey();
    return key;
}

} // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    // Now and then the bytes themselves, so that damage to the file is tried as well.
    if (seed % 8 == 0)
        return LLVMFuzzerMutate(data, size, maxSize);
    std::string plain = ry::DecryptScriptText(ry::fuzz::AsText(data, size), Key());
    plain.resize(std::max(size, maxSize));
    std::size_t n = LLVMFuzzerMutate(reinterpret_cast<std::uint8_t*>(plain.data()), size, maxSize);
    plain.resize(n);
    std::string cipher = ry::EncryptScriptText(plain, Key());
    std::memcpy(data, cipher.data(), n);
    return n;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ry;
    using namespace ry::fuzz;
    ScriptTables& tables = SharedTables();
    QuietHost host;
    host.password = std::string(kPassword);
    const std::string password = ToUpperAnsi(kPassword);

    // The loader reads a protected file only this far.
    std::string_view bytes = AsText(data, size).substr(0, kProtectedReadLimit);
    ProtectedOpenResult engine = OpenProtectedText(host, bytes, kCallerEngine);
    ProtectedOpenResult designer = OpenProtectedText(host, bytes, kCallerDesigner);
    RY_FUZZ_CHECK(designer.result == 0 || designer.result == kLoadNotAScript ||
                  designer.result == kLoadWrongPassword ||
                  designer.result == kLoadNothingDeciphered);
    if (designer.result != 0)
        return 0;
    // What the designer opens, the engine opens the same; the password was checked.
    RY_FUZZ_CHECK(engine.result == 0);
    RY_FUZZ_CHECK(engine.text == designer.text && engine.password == designer.password);
    RY_FUZZ_CHECK(ToUpperAnsi(designer.password) == password);

    std::int16_t script = LoadText(tables, host, designer.text);
    if (script < 1) {
        RY_FUZZ_CHECK(TablesAreWhole(tables));
        return 0;
    }
    CheckLoadedScript(tables, script);
    const std::string text = SaveAndRelease(tables, script);

    // Protected again as the writer does it, the script opens with its text and password.
    const std::string plain = InsertPasswordLine(text, password);
    const std::string cipher = EncryptScriptText(plain, Key());
    if (cipher.size() > kProtectedReadLimit)
        return 0; // the writer refuses to write it
    ProtectedOpenResult reopened = OpenProtectedText(host, cipher, kCallerDesigner);
    RY_FUZZ_CHECK(reopened.result == 0);
    RY_FUZZ_CHECK(reopened.text == plain);
    RY_FUZZ_CHECK(reopened.password == password);
    return 0;
}
