#pragma once

// Every field of the two records by name, in record order, for code that treats records as
// data: printing, comparing, snapshots. The script's notes of its file on disk (DiskStamp,
// ReadCutShort, ReadWithOtherLineEnds) are left out: they describe the disk, not the script.

#include "script/records.h"

namespace ry {

// Whether the script file holds the field, or it describes the record's place in the tables,
// the program's state or the window showing it.
enum class FieldKind { Content, Bookkeeping };

// clang-format off
#define RY_SCRIPT_FIELDS(X) \
    X(Version, Content) \
    X(DefaultModuleDisplayHeight, Content) \
    X(StartModule, Content) \
    X(RunAtHangup, Content) \
    X(StartWithoutAnswer, Content) \
    X(CtmAsiName, Content) \
    X(FileName, Bookkeeping) \
    X(FileDateTime, Bookkeeping) \
    X(FolderPath, Bookkeeping) \
    X(NotFromFile, Bookkeeping) \
    X(ModuleCount, Content) \
    X(FirstModule, Bookkeeping) \
    X(LastModule, Bookkeeping) \
    X(IsFree, Bookkeeping) \
    X(DocumentIndex, Bookkeeping) \
    X(Modified, Bookkeeping) \
    X(NextFree, Bookkeeping) \
    X(DocState, Bookkeeping) \
    X(Password, Bookkeeping)

#define RY_MODULE_FIELDS(X) \
    X(Type, Content) \
    X(ScriptIndex, Bookkeeping) \
    X(DispSize, Content) \
    X(BoxDisplayMode, Bookkeeping) \
    X(Title, Content) \
    X(Txt, Content) \
    X(PlayFile, Content) \
    X(ReplayCount, Content) \
    X(ReplayPause, Content) \
    X(RunMode, Content) \
    X(RunWait, Content) \
    X(Confirm, Content) \
    X(GetNbrLenEnforce, Content) \
    X(GetNbrLenMax, Content) \
    X(RecFile, Content) \
    X(PathText, Content) \
    X(PlayTone, Content) \
    X(SayNbrType, Content) \
    X(DbDatabase, Content) \
    X(DbUser, Content) \
    X(DbConnectString, Content) \
    X(DbSql, Content) \
    X(strEmailAddrTo, Content) \
    X(strEmailSubject, Content) \
    X(strEmailMessageText, Content) \
    X(strEmailAttachmentFileName, Content) \
    X(iEmailAttachmentDeleteAfterSend, Content) \
    X(strEmailReturnAddress, Content) \
    X(strEmailReturnName, Content) \
    X(strEmailCC, Content) \
    X(strEmailBCC, Content) \
    X(lEmailSendRetries, Content) \
    X(lEmailRetriesDelay, Content) \
    X(strEmailSendMethod_1, Content) \
    X(strEmailSmtpServ_1, Content) \
    X(lEmailSmtpPort_1, Content) \
    X(iEmailSmtpUseAuth_1, Content) \
    X(strEmailSmtpAuthUser_1, Content) \
    X(strEmailSmtpAuthPassword_1, Content) \
    X(strEmailSendMethod_2, Content) \
    X(strEmailSmtpServ_2, Content) \
    X(lEmailSmtpPort_2, Content) \
    X(iEmailSmtpUseAuth_2, Content) \
    X(strEmailSmtpAuthUser_2, Content) \
    X(strEmailSmtpAuthPassword_2, Content) \
    X(strTtsText, Content) \
    X(iTimeSwitch_Type, Content) \
    X(sTimeSwitch_DateTimeToTest, Content) \
    X(dTimeSwitch_DateStart, Content) \
    X(dTimeSwitch_DateEnd, Content) \
    X(sTimeSwitch_DaysSelected, Content) \
    X(iXferType, Content) \
    X(sXfer2ndLegLinesListFile, Content) \
    X(strDdeType, Content) \
    X(strDdeLinkTopic, Content) \
    X(strDdeLinkItem, Content) \
    X(strDdeCommand, Content) \
    X(sDialPhone, Content) \
    X(sDialWelc, Content) \
    X(sDialScript, Content) \
    X(sDialVariables, Content) \
    X(sDialLineSelection, Content) \
    X(sDialRetry, Content) \
    X(sDialDelay, Content) \
    X(sDncPhoneNumber, Content) \
    X(sDncMaxConnectTime, Content) \
    X(sDncEndConnectCode, Content) \
    X(sDncPlayWhileConnecting, Content) \
    X(sDncTimeWarningMsg, Content) \
    X(sDncTimeWarningPlayAt, Content) \
    X(PagerType, Content) \
    X(PagerTelNbr, Content) \
    X(PagerId, Content) \
    X(PagerPassword, Content) \
    X(PagerMessage, Content) \
    X(PagerLineSelection, Content) \
    X(ExprNewRV, Content) \
    X(ExprStoreRV, Content) \
    X(PositionX, Content) \
    X(PositionY, Content) \
    X(IsFree, Bookkeeping) \
    X(BoxIndex, Bookkeeping) \
    X(NextModule, Bookkeeping)
// clang-format on

// Calls f(name, kind, field of each record...) for every field of script records, so one
// visit can read several records side by side.
template <class F, class... Records> void VisitScriptFields(F&& f, Records&... records) {
#define RY_VISIT_FIELD(name, kind) f(#name, FieldKind::kind, records.name...);
    RY_SCRIPT_FIELDS(RY_VISIT_FIELD)
#undef RY_VISIT_FIELD
}

// The same for module records.
template <class F, class... Records> void VisitModuleFields(F&& f, Records&... records) {
#define RY_VISIT_FIELD(name, kind) f(#name, FieldKind::kind, records.name...);
    RY_MODULE_FIELDS(RY_VISIT_FIELD)
#undef RY_VISIT_FIELD
}

} // namespace ry
