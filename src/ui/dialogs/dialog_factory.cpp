#include "dialogs/dialog_factory.h"

#include "base/help_topics.h"
#include "dialogs/database_query_dialog.h"
#include "dialogs/dde_dialog.h"
#include "dialogs/dial_conference_dialog.h"
#include "dialogs/email_dialog.h"
#include "dialogs/evaluate_dialog.h"
#include "dialogs/get_numbers_dialog.h"
#include "dialogs/hangup_dialog.h"
#include "dialogs/make_call_dialog.h"
#include "dialogs/pager_dialog.h"
#include "dialogs/play_dialog.h"
#include "dialogs/record_dialog.h"
#include "dialogs/run_program_dialog.h"
#include "dialogs/say_numbers_dialog.h"
#include "dialogs/time_switch_dialog.h"
#include "dialogs/transfer_dialog.h"
#include "dialogs/vb_script_dialog.h"
#include "script/module_types.h"

#include <array>

namespace ry {

namespace {

struct FormEntry {
    std::string_view type;
    const char* name;
    int helpTopic;
};

constexpr std::array<FormEntry, 15> kForms = {{
    {kTypePlay, "frmDbiPlay", help::kPlay},
    {kTypeRecord, "frmDbiRec", help::kRecord},
    {kTypeGetNumbers, "frmDbiGetNbrs", help::kGetNumbers},
    {kTypeSayNumbers, "frmDbiSayNbrs", help::kSayNumbers},
    {kTypeTransferCall, "frmDbiXfer", help::kTransferCall},
    {kTypePhoneMessage, "frmDbiDialout", help::kMakeCall},
    {kTypePagerMessage, "frmDbiPage", help::kPagerMessage},
    {kTypeSendEmail, "frmDbiEmail", help::kSendEmail},
    {kTypeDatabaseQuery, "frmDbiDbQuery", help::kDatabaseQuery},
    {kTypeRunProgram, "frmDbiRun", help::kRunProgram},
    {kTypeEvaluate, "frmDbiEvalExpr", help::kEvaluate},
    {kTypeRunVbScript, "frmDbiVbScript", help::kRunVbScript},
    {kTypeHangup, "frmDbiHangupCall", help::kHangup},
    {kTypeTimeSwitch, "frmDbiTimeSwitch", help::kTimeSwitch},
    {kTypeDialAndConference, "frmDbiDialAndConferece", help::kDialAndConference},
}};

} // namespace

ModuleDialogForm FormOfType(std::string_view type) {
    for (const FormEntry& entry : kForms)
        if (entry.type == type)
            return {QString::fromLatin1(entry.name), entry.helpTopic, type != kTypeHangup};
    // DDE, and any type this designer does not know, such as "TTS".
    return {QStringLiteral("frmDbiDde"), help::kDde, true};
}

ModuleDialog* CreateModuleDialog(Designer& designer, std::string_view type,
                                 const ModuleDialogSetup& setup) {
    const ModuleDialogForm form = FormOfType(type);
    if (type == kTypePlay)
        return new PlayDialog(designer, setup, form);
    if (type == kTypeRecord)
        return new RecordDialog(designer, setup, form);
    if (type == kTypeGetNumbers)
        return new GetNumbersDialog(designer, setup, form);
    if (type == kTypeSayNumbers)
        return new SayNumbersDialog(designer, setup, form);
    if (type == kTypeTimeSwitch)
        return new TimeSwitchDialog(designer, setup, form);
    if (type == kTypeDatabaseQuery)
        return new DatabaseQueryDialog(designer, setup, form);
    if (type == kTypeEvaluate)
        return new EvaluateDialog(designer, setup, form);
    if (type == kTypeRunProgram)
        return new RunProgramDialog(designer, setup, form);
    if (type == kTypeRunVbScript)
        return new VbScriptDialog(designer, setup, form);
    if (type == kTypeSendEmail)
        return new EmailDialog(designer, setup, form);
    if (type == kTypePagerMessage)
        return new PagerDialog(designer, setup, form);
    if (type == kTypeTransferCall)
        return new TransferDialog(designer, setup, form);
    if (type == kTypePhoneMessage)
        return new MakeCallDialog(designer, setup, form);
    if (type == kTypeDialAndConference)
        return new DialConferenceDialog(designer, setup, form);
    if (type == kTypeHangup)
        return new HangupDialog(designer, setup, form);
    // DDE, and any type this designer does not know, such as "TTS".
    return new DdeDialog(designer, setup, form);
}

} // namespace ry
