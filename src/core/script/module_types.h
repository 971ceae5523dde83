#pragma once

// The catalogue of module types: the exact type names the script file stores, the text a new
// module starts with, and the index of the type's icon.

#include <array>
#include <string_view>

namespace ry {

inline constexpr std::string_view kTypePlay = "Play";
inline constexpr std::string_view kTypeRecord = "Record";
inline constexpr std::string_view kTypeGetNumbers = "Get Numbers";
inline constexpr std::string_view kTypeSayNumbers = "Say Numbers";
inline constexpr std::string_view kTypeRunProgram = "Run Program";
inline constexpr std::string_view kTypeDatabaseQuery = "Database Query";
inline constexpr std::string_view kTypeEvaluate = "Evaluate";
inline constexpr std::string_view kTypeSendEmail = "Send Email";
inline constexpr std::string_view kTypeTimeSwitch = "Time Switch";
inline constexpr std::string_view kTypeTts = "TTS";
inline constexpr std::string_view kTypeTransferCall = "Transfer Call";
inline constexpr std::string_view kTypePhoneMessage = "Phone Message"; // the Make Call module
inline constexpr std::string_view kTypeDialAndConference = "Dial and Conference";
inline constexpr std::string_view kTypeRunVbScript = "Run VB Script";
inline constexpr std::string_view kTypeDde = "DDE";
inline constexpr std::string_view kTypePagerMessage = "Pager Message";
inline constexpr std::string_view kTypeHangup = "Hangup the Call";

// The older name of the Make Call type, still found in files.
inline constexpr std::string_view kTypeMakeCallOld = "Make Call";

// Every type name of the catalogue, in catalogue order.
inline constexpr std::array<std::string_view, 17> kAllModuleTypes = {kTypePlay,
                                                                     kTypeRecord,
                                                                     kTypeGetNumbers,
                                                                     kTypeSayNumbers,
                                                                     kTypeRunProgram,
                                                                     kTypeDatabaseQuery,
                                                                     kTypeEvaluate,
                                                                     kTypeSendEmail,
                                                                     kTypeTimeSwitch,
                                                                     kTypeTts,
                                                                     kTypeTransferCall,
                                                                     kTypePhoneMessage,
                                                                     kTypeDialAndConference,
                                                                     kTypeRunVbScript,
                                                                     kTypeDde,
                                                                     kTypePagerMessage,
                                                                     kTypeHangup};

// A Transfer Call's methods (its iXferType, 0..5) as its dialog captions them.
inline constexpr std::array<std::string_view, 6> kTransferMethods = {
    "PBX Blind Transfer",
    "PBX Announced Transfer",
    "3 Way Blind Conference Call",
    "3 Way Announced Conference Call",
    "CT Media Call Handoff to another Application",
    "Dialout on another line and conference ( Dialogic only )",
};

// The text a new module of the type starts with; empty for a name not in the table.
std::string_view TypeDescription(std::string_view typeName);
// 0..15; 0 for a name not in the table. Names are compared exactly.
int TypeIconIndex(std::string_view typeName);

} // namespace ry
