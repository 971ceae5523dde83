// The say-number library reader on any text: the engine installs the library, and people and
// other programs edit it. The types read are bounded in number and length, hold no line
// break, and every name the Say Numbers dialog looks up is found or not without a fault.

#include "fuzz_support.h"
#include "script/say_number.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

bool OneLine(std::string_view s, std::size_t limit) {
    return s.size() <= limit && s.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ry;
    const std::string_view text = fuzz::AsText(data, size);

    const std::vector<SayNumberType> types = ParseSayNumberLibrary(text);
    RY_FUZZ_CHECK(types.size() <= kSayNumberTypeLimit);
    // Each type takes a marker line and the five lines after it.
    RY_FUZZ_CHECK(types.empty() || text.find("'###") != std::string_view::npos);
    std::vector<std::string> names;
    for (const SayNumberType& t : types) {
        RY_FUZZ_CHECK(OneLine(t.Name, 50) && OneLine(t.Label, 50) && OneLine(t.Extra, 200));
        names.push_back(t.Name);
    }

    // The stored name is any text: the library's own names are found at their last place.
    const int found = FindSayNumberType(names, text);
    RY_FUZZ_CHECK(found >= -1 && found < static_cast<int>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int at = FindSayNumberType(names, names[i]);
        RY_FUZZ_CHECK(at >= static_cast<int>(i) && names[static_cast<std::size_t>(at)] == names[i]);
    }
    const std::string current = ConvertSayNbrType(text);
    RY_FUZZ_CHECK(std::find(kSayNumberTypes.begin(), kSayNumberTypes.end(), current) !=
                  kSayNumberTypes.end());
    return 0;
}
