// The stored-string decoder on any text, and on the encoded form of any text, which must
// decode to that text; and the script cipher, whose deciphering undoes its enciphering for
// any key.

#include "fuzz_support.h"
#include "script/protected_script.h"
#include "script/text.h"

#include <cstdint>
#include <string>

namespace {

// The stored form of `plain` behind two salt characters: each byte is the previous stored
// byte plus the character, in hexadecimal, then the check value in four hexadecimal digits.
std::string Encode(std::string_view salt, std::string_view plain) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    unsigned previous = 43;
    unsigned check = 1328;
    auto put = [&](unsigned byte) {
        out += kHex[byte >> 4];
        out += kHex[byte & 15];
    };
    for (char c : std::string(salt) + std::string(plain)) {
        unsigned b = (static_cast<unsigned char>(c) + previous) & 0xFF;
        put(b);
        previous = b;
        check = (check + 3 * b + 7) & 0xFFFF;
    }
    put(check >> 8);
    put(check & 0xFF);
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ry;
    const std::string_view input = fuzz::AsText(data, size);

    // Anything decoded holds one character per two hexadecimal digits, the salt removed.
    const std::string decoded = DecodeStoredString(input);
    RY_FUZZ_CHECK(decoded.empty() || decoded.size() == (size - 4) / 2 - 2);

    if (size >= 2) {
        const std::string_view salt = input.substr(0, 2), plain = input.substr(2);
        const std::string encoded = Encode(salt, plain);
        RY_FUZZ_CHECK(DecodeStoredString(encoded) == plain);
        // Lower-case digits read the same.
        RY_FUZZ_CHECK(DecodeStoredString(ToLowerAnsi(encoded)) == plain);
    }

    // The first line is the key, the rest the text.
    std::string_view text = input;
    const std::string_view key = TakeLine(text);
    const std::string cipher = EncryptScriptText(text, key);
    RY_FUZZ_CHECK(cipher.size() == text.size());
    RY_FUZZ_CHECK(DecryptScriptText(cipher, key) == text);
    return 0;
}
