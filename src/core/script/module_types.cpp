#include "script/module_types.h"

namespace ry {

namespace {

struct TypeInfo {
    std::string_view name;
    int icon;
    std::string_view description;
};

constexpr std::array<TypeInfo, 16> kTypeInfo = {{
    {kTypePlay, 0, "Play a sound file, then await a response..."},
    {kTypeRecord, 1,
     "Record a sound file, and go down different paths depending on what digit was pressed to "
     "terminate recording..."},
    {kTypeGetNumbers, 2,
     "Play a prompt asking the caller to enter a sequence of numbers, speak the sequence back to "
     "the caller and ask them to confirm it. Go down different paths depending on the numbers "
     "entered..."},
    {kTypeDatabaseQuery, 3,
     "Search the database for data. You can then use the returned results later in your script "
     "(see Result Variables), eg: in the Say Number module or as parameters to the program "
     "calles in a Run Program module."},
    {kTypeRunProgram, 4,
     "Run the program, and read in the results file created. The results supplied can then be "
     "used in other parts of the script (see Result Variables)."},
    {kTypeSayNumbers, 5,
     "Say the number, amount, date or the digits. See the list o options to see how the number "
     "supplied can be interpreted and spoken out..."},
    {kTypeEvaluate, 6,
     "Evaluate the Result Variable specified, and select the path which matches the current "
     "value of the Result Variable"},
    {kTypeSendEmail, 7, "Send email message and attachments."},
    {kTypeTransferCall, 8, "Transfer call to the selected extension."},
    {kTypePhoneMessage, 9,
     "Schedule a call to be made to a telephone number and run a RY script when the phone is "
     "answered."},
    {kTypeRunVbScript, 10, "Run a VB Script."},
    {kTypeHangup, 11, "Hangup the call."},
    {kTypePagerMessage, 12, "Send a message to a pager or mobile phone."},
    {kTypeDde, 13, "Execute a DDE command or Poke data using DDE."},
    {kTypeDialAndConference, 14,
     "Dial a telephone number and connect (conference) the current call to the new call."},
    {kTypeTimeSwitch, 15,
     "If current time is within the time range specifed in this module then the \"True\" path "
     "is taken, otherwise the \"False\" path is taken."},
}};

const TypeInfo* Find(std::string_view name) {
    for (const TypeInfo& t : kTypeInfo)
        if (t.name == name)
            return &t;
    return nullptr;
}

} // namespace

std::string_view TypeDescription(std::string_view typeName) {
    const TypeInfo* t = Find(typeName);
    return t ? t->description : std::string_view{};
}

int TypeIconIndex(std::string_view typeName) {
    const TypeInfo* t = Find(typeName);
    return t ? t->icon : 0;
}

} // namespace ry
