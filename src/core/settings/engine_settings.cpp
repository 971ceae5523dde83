#include "settings/engine_settings.h"

#include "script/file_io.h"
#include "script/number_text.h"
#include "script/text.h"
#include "settings/profile_file.h"
#include "settings/program_folder.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace ry {

namespace {

std::int32_t AtLeast(std::int32_t v, std::int32_t low) {
    return v < low ? low : v;
}

// Values kept in 16 bits: out-of-range file values are held at the nearest 16-bit value.
std::int16_t To16(std::int32_t v) {
    if (v < std::numeric_limits<std::int16_t>::min())
        return std::numeric_limits<std::int16_t>::min();
    if (v > std::numeric_limits<std::int16_t>::max())
        return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(v);
}

std::int16_t Limit16(std::int32_t v, std::int32_t low, std::int32_t high) {
    return To16(v < low ? low : (v > high ? high : v));
}

} // namespace

void IniFile::SetIniPath() {
    SetIniPath(ProgramFolder());
}

void IniFile::SetIniPath(std::string_view folder) {
    iniPath_ = FindIniFile(folder);
}

std::string IniFile::TextForRead() {
    if (iniPath_.empty()) {
        host_.ShowMessage("RY.INI path not set");
        return {};
    }
    std::string problem;
    std::optional<std::string> text = ReadProfileFile(iniPath_, &problem);
    if (text) {
        problemShown_.clear();
        return std::move(*text);
    }
    // Read as if missing; said once for each file and reason, not on each of its reads.
    std::string said = iniPath_ + '\n' + problem;
    if (said != problemShown_) {
        problemShown_ = said;
        host_.ShowMessage(PathForText(iniPath_) + ": " + problem +
                          ".\r\nIts settings are not read, and it is not written.");
    }
    return {};
}

std::string IniFile::IniReadString(std::string_view section, std::string_view key) {
    return ReadProfileString(TextForRead(), section, key);
}

std::int32_t IniFile::IniReadInt(std::string_view section, std::string_view key) {
    return IniReadIntDefault(section, key, 0);
}

std::int32_t IniFile::IniReadIntDefault(std::string_view section, std::string_view key,
                                        std::int32_t defaultValue) {
    return ReadProfileInt(TextForRead(), section, key, defaultValue);
}

void IniFile::IniWriteString(std::string_view section, std::string_view key,
                             std::string_view value) {
    lastIniWriteError_.clear();
    lastIniWriteResult_ = WriteProfileString(iniPath_, section, key, value, &lastIniWriteError_);
    if (lastIniWriteResult_ == 0 && iniPath_.empty())
        lastIniWriteError_ = "RY.INI path not set";
}

void IniFile::ReadAllSettings(EngineSettings& settings) {
    SetIniPath();
    ReadSettingsFromFile(settings);
}

void IniFile::ReadAllSettings(EngineSettings& settings, std::string_view folder) {
    SetIniPath(folder);
    ReadSettingsFromFile(settings);
}

void IniFile::ReadSettingsFromFile(EngineSettings& s) {
    s.RecEditor = IniReadString("PlayRecordConfig", "RecEditor");
    if (s.RecEditor.empty())
        s.RecEditor = kDefaultRecEditor;

    s.WorkspaceJetUser = IniReadString("DatabaseWorkspace", "WorkspaceJetUser");
    s.WorkspaceJEtPassword = IniReadString("DatabaseWorkspace", "WorkspaceJEtPassword");
    s.WorkspaceOdbcUser = IniReadString("DatabaseWorkspace", "WorkspaceOdbcUser");
    s.WorkspaceOdbcPassword = IniReadString("DatabaseWorkspace", "WorkspaceOdbcPassword");

    // A value that is not a 16-bit number keeps the default rather than stopping the reading
    // of every setting after it.
    std::string text = IniReadString("Voicemail", "RecLengthMax");
    s.RecLengthMax = text.empty() ? 300 : TextToInt16(text).value_or(300);
    text = IniReadString("Voicemail", "VmbMaxSize");
    s.VmbMaxSize = text.empty() ? 60 : TextToInt16(text).value_or(60);

    s.DesignAreaHeight = AtLeast(IniReadInt("RyKem", "DesignAreaHeight"), 2000);
    s.DesignAreaWidth = AtLeast(IniReadInt("RyKem", "DesignAreaWidth"), 2000);

    s.ShellHandler = IniReadString("VBScript", "ShellHandler");

    s.SilenceDetectLength = Limit16(IniReadInt("PlayRecordConfig", "SilenceDetectLength"), 1, 600);
    s.SilenceDetectLevel =
        To16(std::min(IniReadInt("PlayRecordConfig", "SilenceDetectLevel"), 100));

    s.AM_DetectionMode = ToLowerAnsi(IniReadString("RYDialer", "AM_DetectionMode")) == "disabled"
                             ? "disabled"
                             : "enabled";
    s.AM_SilenceDetectLength = Limit16(IniReadInt("RYDialer", "AM_SilenceDetectLength"), 10, 600);
    s.AM_SilenceDetectLevel = Limit16(IniReadInt("RYDialer", "AM_SilenceDetectLevel"), 5, 100);

    // The engine generates transfer signals itself unless both lines are set to hand them to
    // the modem ("AT") and the boards ("TAPI").
    s.TransferControl_Modem = IniReadString("PBX", "TransferControl_Modem");
    if (s.TransferControl_Modem == "AT") {
        s.TransferControlGenerate = false;
    } else {
        s.TransferControl_Modem = "Generate";
        s.TransferControlGenerate = true;
    }
    s.TransferControl_TelBoards = IniReadString("PBX", "TransferControl_TelBoards");
    if (s.TransferControl_TelBoards != "TAPI") {
        s.TransferControl_TelBoards = "Generate";
        s.TransferControlGenerate = true;
    }

    s.Transfer_Prefix = IniReadString("PBX", "Transfer_Prefix");
    s.Transfer_AnnounceAccept = IniReadString("PBX", "Transfer_AnnounceAccept");
    s.Transfer_AnnounceDecline = IniReadString("PBX", "Transfer_AnnounceDecline");
    s.Conference_Prefix = IniReadString("PBX", "Conference_Prefix");
    s.Conference_BlindSuffix = IniReadString("PBX", "Conference_BlindSuffix");
    s.Conference_AnnounceAccept = IniReadString("PBX", "Conference_AnnounceAccept");
    s.Conference_AnnounceDecline = IniReadString("PBX", "Conference_AnnounceDecline");
    s.DurationHookflash = To16(IniReadInt("PBX", "DurationHookflash"));
    s.DurationDtmfTone = To16(IniReadInt("PBX", "DurationDtmfTone"));
    s.InBandSignalWait =
        static_cast<float>(IniReadIntDefault("PBX", "InBandSignalWait", 20) / 10.0);
    s.InBandSignalWait_Interdigit =
        static_cast<float>(IniReadIntDefault("PBX", "InBandSignalWait_Interdigit", 5) / 10.0);
    s.HangupOnDtmf = IniReadString("PBX", "HangupOnDtmf");

    s.DDEtimeout = Limit16(IniReadInt("RYconfig", "DDEtimeout"), 30, 300);
    s.AnnouncedTransfersMaxWaitTime =
        Limit16(IniReadInt("PBX", "AnnouncedTransfersMaxWaitTime"), 5, 120);
    s.PauseAfterHookflash = Limit16(IniReadInt("PBX", "PauseAfterHookflash"), 1, 50);
    // A three-way call shorter than 10 seconds is taken as unset, not as the shortest time.
    std::int32_t talk = IniReadInt("PBX", "3WayMaxTalkTime");
    s.ThreeWayMaxTalkTime = talk <= 10 ? 30 : Limit16(talk, 11, 21600);
    s.LineCompleteTransferOnTransferAccept =
        To16(IniReadInt("PBX", "LineCompleteTransferOnTransferAccept"));

    s.OnError_Unavailable = IniReadString("OnError", "OnError_Unavailable");

    s.OnGetNumbersRxDigit = IniReadString("moduleGetNbrs", "OnGetNumbersRxDigit");
    auto timeout = [this](std::string_view key) -> std::int16_t {
        std::int32_t v = IniReadInt("moduleGetNbrs", key);
        return static_cast<std::int16_t>(v < 1 || v > 60 ? 6 : v);
    };
    s.Timeout_1stDigit = timeout("Timeout_1stDigit");
    s.Timeout_Interdigit = timeout("Timeout_Interdigit");
    s.Timeout_Confirm = timeout("Timeout_Confirm");
}

void IniFile::ReadBrand(EngineSettings& settings) {
    settings.BrandName = IniReadString("Brand", "Name");
    if (settings.BrandName.empty())
        settings.BrandName = kDefaultBrandName;
    settings.BrandUrl = IniReadString("Brand", "Http");
    if (settings.BrandUrl.empty())
        settings.BrandUrl = kDefaultBrandUrl;
}

} // namespace ry
