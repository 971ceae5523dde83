#include "paths/produced_triggers.h"

#include "paths/path_line.h"
#include "paths/path_text.h"
#include "script/module_types.h"
#include "script/text.h"

#include <algorithm>
#include <string>
#include <vector>

namespace ry {

namespace {

// Keys a caller can press, as the exact number a Get Numbers path waits for.
bool IsKeyedNumber(std::string_view t) {
    return !t.empty() && std::all_of(t.begin(), t.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '*' || c == '#';
    });
}

// "timeout" with or without its seconds.
bool IsTimeout(std::string_view t) {
    if (t.substr(0, 7) != "timeout")
        return false;
    const std::string_view seconds = TrimBlanks(t.substr(7));
    return std::all_of(seconds.begin(), seconds.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

bool TypeProducesTrigger(std::string_view type, std::string_view trigger) {
    const std::string t = ToLowerAnsi(TrimBlanks(trigger));
    if (t.empty() || type == kTypeHangup)
        return false;
    if (type == kTypeTimeSwitch)
        return t == "true" || t == "false";
    // The paths panel lists the old name's triggers under the new one.
    const std::vector<std::string_view> captions =
        TriggerCaptions(type == kTypeMakeCallOld ? kTypePhoneMessage : type);
    if (captions.empty())
        return true;
    for (std::string_view caption : captions) {
        if (caption == "exact_number") {
            if (IsKeyedNumber(t))
                return true;
        } else if (caption == "Insert Result Here") {
            return true;
        } else if (ToLowerAnsi(cmbTrig2Act(caption)) == t ||
                   (caption == "Timeout" && IsTimeout(t))) {
            return true;
        }
    }
    return false;
}

} // namespace ry
