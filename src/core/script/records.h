#pragma once

// The in-memory model of every open script: two fixed tables of plain records addressed by
// 1-based index. A script is a record in the script table plus a singly linked chain of
// records in the module table; all open scripts share the one pool of module records.

#include "script/datetime.h"
#include "script/file_io.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ry {

inline constexpr int kScriptCapacity = 100;
inline constexpr int kModuleCapacity = 1000;
// Modules allowed in one script; the canvas checks it when modules are added.
inline constexpr std::int16_t ModuleLimit = 1000;

struct ScriptRecord {
    std::string Version;
    std::string DefaultModuleDisplayHeight; // exactly "short" means short boxes
    std::string StartModule;
    std::string RunAtHangup;
    bool StartWithoutAnswer = false;
    std::string CtmAsiName;
    std::string FileName;
    std::string FileDateTime;
    std::string FolderPath;
    bool NotFromFile = true;
    std::int16_t ModuleCount = 0;
    std::int16_t FirstModule = -1;
    std::int16_t LastModule = -1;
    bool IsFree = false;
    std::int16_t DocumentIndex = -1;
    bool Modified = false;
    std::int16_t NextFree = -1;
    std::int16_t DocState = 0;
    std::string Password; // upper case; "NOTSET" means a protected save must ask for one

    // The file on disk as the script last read or wrote it (not among the listed fields of
    // record_fields.h: they describe the disk, not the script).
    FileStamp DiskStamp;
    bool ReadCutShort = false; // a protected file longer than its read limit: its end is lost
    bool ReadWithOtherLineEnds = false; // its lines ended in LF or CR alone; it is saved with CR LF
};

struct ModuleRecord {
    std::string Type;
    std::int16_t ScriptIndex = 0;
    std::int16_t DispSize = 0;
    std::int16_t BoxDisplayMode = 2; // 4 selected, 2 not selected
    std::string Title;
    std::string Txt;
    // Slots 1..10 at [0]..[9]; see PlayFileSlot.
    std::array<std::string, 10> PlayFile;
    std::int16_t ReplayCount = 2;
    std::int16_t ReplayPause = 5;
    std::int16_t RunMode = 1;
    std::int16_t RunWait = 1;
    bool Confirm = false;
    std::int16_t GetNbrLenEnforce = 0;
    std::int16_t GetNbrLenMax = 0;
    std::string RecFile;
    std::string PathText;
    bool PlayTone = false;
    std::string SayNbrType;
    std::string DbDatabase;
    std::string DbUser;
    std::string DbConnectString;
    std::string DbSql;
    std::string strEmailAddrTo;
    std::string strEmailSubject;
    std::string strEmailMessageText;
    std::string strEmailAttachmentFileName;
    std::int16_t iEmailAttachmentDeleteAfterSend = 0;
    std::string strEmailReturnAddress;
    std::string strEmailReturnName;
    std::string strEmailCC;
    std::string strEmailBCC;
    std::int32_t lEmailSendRetries = 3;
    std::int32_t lEmailRetriesDelay = 10;
    std::string strEmailSendMethod_1;
    std::string strEmailSmtpServ_1;
    std::int32_t lEmailSmtpPort_1 = 0;
    std::int16_t iEmailSmtpUseAuth_1 = 0;
    std::string strEmailSmtpAuthUser_1;
    std::string strEmailSmtpAuthPassword_1;
    std::string strEmailSendMethod_2;
    std::string strEmailSmtpServ_2;
    std::int32_t lEmailSmtpPort_2 = 0;
    std::int16_t iEmailSmtpUseAuth_2 = 0;
    std::string strEmailSmtpAuthUser_2;
    std::string strEmailSmtpAuthPassword_2;
    std::string strTtsText;
    std::int16_t iTimeSwitch_Type = 1;
    std::string sTimeSwitch_DateTimeToTest;
    DateTime dTimeSwitch_DateStart = DateTime::Today();
    DateTime dTimeSwitch_DateEnd = {2099, 12, 31, 23, 59, 0};
    std::string sTimeSwitch_DaysSelected = "MoTuWeThFrSaSu";
    std::int16_t iXferType = 0;
    std::string sXfer2ndLegLinesListFile;
    std::string strDdeType;
    std::string strDdeLinkTopic;
    std::string strDdeLinkItem;
    std::string strDdeCommand;
    // Make Call entries 0..5.
    std::array<std::string, 6> sDialPhone;
    std::array<std::string, 6> sDialWelc;
    std::array<std::string, 6> sDialScript;
    std::array<std::string, 6> sDialVariables;
    std::array<std::string, 6> sDialLineSelection;
    std::array<std::int16_t, 6> sDialRetry = {2, 2, 2, 2, 2, 2};
    std::array<std::int16_t, 6> sDialDelay = {5, 5, 5, 5, 5, 5};
    std::string sDncPhoneNumber;
    std::string sDncMaxConnectTime;
    std::string sDncEndConnectCode;
    std::string sDncPlayWhileConnecting;
    std::string sDncTimeWarningMsg;    // not stored in the file
    std::string sDncTimeWarningPlayAt; // not stored in the file
    std::string PagerType;
    std::string PagerTelNbr;
    std::string PagerId;
    std::string PagerPassword;
    std::string PagerMessage;
    std::string PagerLineSelection;
    std::string ExprNewRV;
    std::int16_t ExprStoreRV = 0;
    std::int32_t PositionX = 0;
    std::int32_t PositionY = 0;
    bool IsFree = false;
    std::int16_t BoxIndex = -1;
    std::int16_t NextModule = -1;

    // Slot n (1..10) of the general string slots.
    std::string& PlayFileSlot(int n) { return PlayFile[static_cast<size_t>(n - 1)]; }
    const std::string& PlayFileSlot(int n) const { return PlayFile[static_cast<size_t>(n - 1)]; }
};

// The two tables with their free lists. Freed records go to the front of their list, so the
// index freed last is handed out next. The application owns one instance; every test makes
// its own.
class ScriptTables {
public:
    ScriptTables() { MemStructInit(); }

    // Builds both free lists: every record free, in index order.
    void MemStructInit();

    // A fresh script index (1..100), or -1 when all are in use.
    std::int16_t MemStructRys_Get();
    void MemStructRys_Clear(std::int16_t script);
    void MemStructRys_Free(std::int16_t script);
    // Frees the script and every module of its chain, unless it was never filled from a file
    // or the designer (NotFromFile).
    void MemStructRys_FreeAll(std::int16_t script);

    // A fresh module index (1..1000), not linked into any script, or -1 when the pool is empty.
    std::int16_t MemStructRym_Get();
    // The free record `module` taken out of the free list wherever it stands in it, cleared as
    // MemStructRym_Get clears; false when it is not free. Undoing a delete gives a module back
    // the record number it had, which its title and the next new module's number show.
    bool MemStructRym_Take(std::int16_t module);
    void MemStructRym_ClearRym(std::int16_t module);
    void MemStructRym_Free(std::int16_t module);
    std::int16_t MemStructRym_FreeCount() const;

    ScriptRecord& Script(int index) { return scripts_[static_cast<size_t>(index - 1)]; }
    const ScriptRecord& Script(int index) const { return scripts_[static_cast<size_t>(index - 1)]; }
    ModuleRecord& Module(int index) { return modules_[static_cast<size_t>(index - 1)]; }
    const ModuleRecord& Module(int index) const { return modules_[static_cast<size_t>(index - 1)]; }

    static bool IsScriptIndex(int index) { return index >= 1 && index <= kScriptCapacity; }
    static bool IsModuleIndex(int index) { return index >= 1 && index <= kModuleCapacity; }

    std::int16_t ScriptFreeHead() const { return scriptFreeHead_; }
    std::int16_t ModuleFreeHead() const { return moduleFreeHead_; }

private:
    // Sized once, never resized; on the heap because the module pool is several megabytes.
    std::vector<ScriptRecord> scripts_ = std::vector<ScriptRecord>(kScriptCapacity);
    std::vector<ModuleRecord> modules_ = std::vector<ModuleRecord>(kModuleCapacity);
    std::int16_t scriptFreeHead_ = 1;
    std::int16_t moduleFreeHead_ = 1;
};

// Appends a freshly allocated module to the end of a script's chain and counts it.
void AppendModuleToScript(ScriptTables& tables, std::int16_t script, std::int16_t module);

// Calls f(index, record) for each module of a script in chain order. The walk stops after
// the table's capacity, so a damaged chain cannot loop forever.
template <class Tables, class F> void ForEachModule(Tables& tables, int script, F&& f) {
    int guard = 0;
    for (int m = tables.Script(script).FirstModule;
         m >= 1 && m <= kModuleCapacity && guard < kModuleCapacity; ++guard) {
        auto& rec = tables.Module(m);
        int next = rec.NextModule;
        f(static_cast<std::int16_t>(m), rec);
        m = next;
    }
}

} // namespace ry
