#pragma once

// Every field of the two records by name, in record order, for code that treats records as
// data: printing, comparing, snapshots.

#include "script/records.h"

#include <type_traits>

namespace ry {

// Whether the script file holds the field, or it describes the record's place in the tables,
// the program's state or the window showing it.
enum class FieldKind { Content, Bookkeeping };

// Calls f(name, field, kind) for each field of a script record.
template <class Record, class F> void VisitScriptFields(Record& s, F&& f) {
    static_assert(std::is_same_v<std::remove_const_t<Record>, ScriptRecord>);
    constexpr auto C = FieldKind::Content;
    constexpr auto B = FieldKind::Bookkeeping;
    f("Version", s.Version, C);
    f("DefaultModuleDisplayHeight", s.DefaultModuleDisplayHeight, C);
    f("StartModule", s.StartModule, C);
    f("RunAtHangup", s.RunAtHangup, C);
    f("StartWithoutAnswer", s.StartWithoutAnswer, C);
    f("CtmAsiName", s.CtmAsiName, C);
    f("FileName", s.FileName, B);
    f("FileDateTime", s.FileDateTime, B);
    f("FolderPath", s.FolderPath, B);
    f("NotFromFile", s.NotFromFile, B);
    f("ModuleCount", s.ModuleCount, C);
    f("FirstModule", s.FirstModule, B);
    f("LastModule", s.LastModule, B);
    f("IsFree", s.IsFree, B);
    f("DocumentIndex", s.DocumentIndex, B);
    f("Modified", s.Modified, B);
    f("NextFree", s.NextFree, B);
    f("DocState", s.DocState, B);
    f("Password", s.Password, B);
}

// Calls f(name, field, kind) for each field of a module record.
template <class Record, class F> void VisitModuleFields(Record& m, F&& f) {
    static_assert(std::is_same_v<std::remove_const_t<Record>, ModuleRecord>);
    constexpr auto C = FieldKind::Content;
    constexpr auto B = FieldKind::Bookkeeping;
    f("Type", m.Type, C);
    f("ScriptIndex", m.ScriptIndex, B);
    f("DispSize", m.DispSize, C);
    f("BoxDisplayMode", m.BoxDisplayMode, B);
    f("Title", m.Title, C);
    f("Txt", m.Txt, C);
    f("PlayFile", m.PlayFile, C);
    f("ReplayCount", m.ReplayCount, C);
    f("ReplayPause", m.ReplayPause, C);
    f("RunMode", m.RunMode, C);
    f("RunWait", m.RunWait, C);
    f("Confirm", m.Confirm, C);
    f("GetNbrLenEnforce", m.GetNbrLenEnforce, C);
    f("GetNbrLenMax", m.GetNbrLenMax, C);
    f("RecFile", m.RecFile, C);
    f("PathText", m.PathText, C);
    f("PlayTone", m.PlayTone, C);
    f("SayNbrType", m.SayNbrType, C);
    f("DbDatabase", m.DbDatabase, C);
    f("DbUser", m.DbUser, C);
    f("DbConnectString", m.DbConnectString, C);
    f("DbSql", m.DbSql, C);
    f("strEmailAddrTo", m.strEmailAddrTo, C);
    f("strEmailSubject", m.strEmailSubject, C);
    f("strEmailMessageText", m.strEmailMessageText, C);
    f("strEmailAttachmentFileName", m.strEmailAttachmentFileName, C);
    f("iEmailAttachmentDeleteAfterSend", m.iEmailAttachmentDeleteAfterSend, C);
    f("strEmailReturnAddress", m.strEmailReturnAddress, C);
    f("strEmailReturnName", m.strEmailReturnName, C);
    f("strEmailCC", m.strEmailCC, C);
    f("strEmailBCC", m.strEmailBCC, C);
    f("lEmailSendRetries", m.lEmailSendRetries, C);
    f("lEmailRetriesDelay", m.lEmailRetriesDelay, C);
    f("strEmailSendMethod_1", m.strEmailSendMethod_1, C);
    f("strEmailSmtpServ_1", m.strEmailSmtpServ_1, C);
    f("lEmailSmtpPort_1", m.lEmailSmtpPort_1, C);
    f("iEmailSmtpUseAuth_1", m.iEmailSmtpUseAuth_1, C);
    f("strEmailSmtpAuthUser_1", m.strEmailSmtpAuthUser_1, C);
    f("strEmailSmtpAuthPassword_1", m.strEmailSmtpAuthPassword_1, C);
    f("strEmailSendMethod_2", m.strEmailSendMethod_2, C);
    f("strEmailSmtpServ_2", m.strEmailSmtpServ_2, C);
    f("lEmailSmtpPort_2", m.lEmailSmtpPort_2, C);
    f("iEmailSmtpUseAuth_2", m.iEmailSmtpUseAuth_2, C);
    f("strEmailSmtpAuthUser_2", m.strEmailSmtpAuthUser_2, C);
    f("strEmailSmtpAuthPassword_2", m.strEmailSmtpAuthPassword_2, C);
    f("strTtsText", m.strTtsText, C);
    f("iTimeSwitch_Type", m.iTimeSwitch_Type, C);
    f("sTimeSwitch_DateTimeToTest", m.sTimeSwitch_DateTimeToTest, C);
    f("dTimeSwitch_DateStart", m.dTimeSwitch_DateStart, C);
    f("dTimeSwitch_DateEnd", m.dTimeSwitch_DateEnd, C);
    f("sTimeSwitch_DaysSelected", m.sTimeSwitch_DaysSelected, C);
    f("iXferType", m.iXferType, C);
    f("sXfer2ndLegLinesListFile", m.sXfer2ndLegLinesListFile, C);
    f("strDdeType", m.strDdeType, C);
    f("strDdeLinkTopic", m.strDdeLinkTopic, C);
    f("strDdeLinkItem", m.strDdeLinkItem, C);
    f("strDdeCommand", m.strDdeCommand, C);
    f("sDialPhone", m.sDialPhone, C);
    f("sDialWelc", m.sDialWelc, C);
    f("sDialScript", m.sDialScript, C);
    f("sDialVariables", m.sDialVariables, C);
    f("sDialLineSelection", m.sDialLineSelection, C);
    f("sDialRetry", m.sDialRetry, C);
    f("sDialDelay", m.sDialDelay, C);
    f("sDncPhoneNumber", m.sDncPhoneNumber, C);
    f("sDncMaxConnectTime", m.sDncMaxConnectTime, C);
    f("sDncEndConnectCode", m.sDncEndConnectCode, C);
    f("sDncPlayWhileConnecting", m.sDncPlayWhileConnecting, C);
    f("sDncTimeWarningMsg", m.sDncTimeWarningMsg, C);
    f("sDncTimeWarningPlayAt", m.sDncTimeWarningPlayAt, C);
    f("PagerType", m.PagerType, C);
    f("PagerTelNbr", m.PagerTelNbr, C);
    f("PagerId", m.PagerId, C);
    f("PagerPassword", m.PagerPassword, C);
    f("PagerMessage", m.PagerMessage, C);
    f("PagerLineSelection", m.PagerLineSelection, C);
    f("ExprNewRV", m.ExprNewRV, C);
    f("ExprStoreRV", m.ExprStoreRV, C);
    f("PositionX", m.PositionX, C);
    f("PositionY", m.PositionY, C);
    f("IsFree", m.IsFree, B);
    f("BoxIndex", m.BoxIndex, B);
    f("NextModule", m.NextModule, B);
}

} // namespace ry
