#pragma once

// The engine's settings that the designer reads from RY.INI at start-up, and the typed reads
// and writes of that file that the rest of the program uses. The application owns one
// IniFile and one EngineSettings; nothing here is global.

#include "script/host.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace ry {

inline constexpr std::string_view kDefaultRecEditor = "SNDREC32.EXE "; // trailing blank kept
inline constexpr std::string_view kDefaultBrandName = "Ryvane";
inline constexpr std::string_view kDefaultBrandUrl = "https://www.ryvane.com/";

// Every value with the default it has when RY.INI is missing or empty. Field names are the
// file's key names; text is Windows-1252.
struct EngineSettings {
    // [PlayRecordConfig]
    std::string RecEditor{kDefaultRecEditor};
    std::int16_t SilenceDetectLength = 1;
    std::int16_t SilenceDetectLevel = 0;
    // [DatabaseWorkspace]
    std::string WorkspaceJetUser;
    std::string WorkspaceJEtPassword; // the key is spelt with a capital E in the file
    std::string WorkspaceOdbcUser;
    std::string WorkspaceOdbcPassword;
    // [Voicemail]
    std::int32_t RecLengthMax = 300;
    std::int32_t VmbMaxSize = 60;
    // [RyKem]
    std::int32_t DesignAreaHeight = 2000;
    std::int32_t DesignAreaWidth = 2000;
    // [VBScript]
    std::string ShellHandler;
    // [RYDialer]
    std::string AM_DetectionMode{"enabled"}; // "enabled" or "disabled"
    std::int16_t AM_SilenceDetectLength = 10;
    std::int16_t AM_SilenceDetectLevel = 5;
    // [PBX]
    std::string TransferControl_Modem{"Generate"};     // "AT" or "Generate"
    std::string TransferControl_TelBoards{"Generate"}; // "TAPI" or "Generate"
    bool TransferControlGenerate = true;
    std::string Transfer_Prefix;
    std::string Transfer_AnnounceAccept;
    std::string Transfer_AnnounceDecline;
    std::string Conference_Prefix;
    std::string Conference_BlindSuffix;
    std::string Conference_AnnounceAccept;
    std::string Conference_AnnounceDecline;
    std::int16_t DurationHookflash = 0;
    std::int16_t DurationDtmfTone = 0;
    float InBandSignalWait = 2.0f;            // seconds; the file holds tenths
    float InBandSignalWait_Interdigit = 0.5f; // seconds; the file holds tenths
    std::string HangupOnDtmf;
    std::int16_t AnnouncedTransfersMaxWaitTime = 5;
    std::int16_t PauseAfterHookflash = 1;
    std::int16_t ThreeWayMaxTalkTime = 30; // key "3WayMaxTalkTime"
    std::int16_t LineCompleteTransferOnTransferAccept = 0;
    // [RYconfig]
    std::int16_t DDEtimeout = 30;
    // [OnError]
    std::string OnError_Unavailable;
    // [moduleGetNbrs]
    std::string OnGetNumbersRxDigit;
    std::int16_t Timeout_1stDigit = 6;
    std::int16_t Timeout_Interdigit = 6;
    std::int16_t Timeout_Confirm = 6;
    // [Brand]
    std::string BrandName{kDefaultBrandName};
    std::string BrandUrl{kDefaultBrandUrl};

    bool operator==(const EngineSettings&) const = default;
};

// The open RY.INI: its path and the result of the last write.
class IniFile {
public:
    // `host` shows the messages of the reads; it must outlive this object.
    explicit IniFile(Host& host) : host_(host) {}

    // Finds RY.INI in the program folder (ProgramFolder) or in `folder`. An empty folder
    // leaves the path empty.
    void SetIniPath();
    void SetIniPath(std::string_view folder);
    const std::string& IniPath() const { return iniPath_; }

    // The value, "" when the file, section or key is missing; at most 511 characters. When
    // the path has not been set, the message "RY.INI path not set" is shown first.
    std::string IniReadString(std::string_view section, std::string_view key);
    // The value's leading number; 0 when missing or not a number.
    std::int32_t IniReadInt(std::string_view section, std::string_view key);
    // The value's leading number; `defaultValue` when the key is missing or empty.
    std::int32_t IniReadIntDefault(std::string_view section, std::string_view key,
                                   std::int32_t defaultValue);

    // Sets one key, keeping every other line of the file; a failure is not reported but
    // leaves LastIniWriteResult at 0 and its reason in LastIniWriteError.
    void IniWriteString(std::string_view section, std::string_view key, std::string_view value);
    // Non-zero when the last write succeeded.
    int LastIniWriteResult() const { return lastIniWriteResult_; }
    // Why the last write failed ("Permission denied", ...); "" after a write that worked.
    const std::string& LastIniWriteError() const { return lastIniWriteError_; }

    // SetIniPath (the program folder, or `folder`), then every start-up value into
    // `settings`, with its default and limits.
    void ReadAllSettings(EngineSettings& settings);
    void ReadAllSettings(EngineSettings& settings, std::string_view folder);
    // BrandName and BrandUrl from section "Brand"; the defaults when empty.
    void ReadBrand(EngineSettings& settings);

private:
    // The file's text for one read; "" when missing or unreadable. A file that exists but
    // cannot be read (too large, not a regular file) is reported once.
    std::string TextForRead();
    void ReadSettingsFromFile(EngineSettings& settings);

    Host& host_;
    std::string iniPath_;
    int lastIniWriteResult_ = 0;
    std::string lastIniWriteError_;
    std::string problemShown_; // the path and reason of the last unreadable file reported
};

} // namespace ry
