#pragma once

// The designer's per-user settings (window position, recent files) as a registry of keys and
// string values, kept in the user's QSettings of organization "Cordaxa", application
// "Ryvane": the INI file ~/.config/Cordaxa/Ryvane.conf.
//
// How registry paths map onto the settings: the application's own key
// "Software\Cordaxa\Ryvane" below HKEY_CURRENT_USER is the root of the QSettings; each key
// below it is a group of the same name ("Software\Cordaxa\Ryvane\ScreenPos" is the group
// "ScreenPos"), and each string value is a QSettings key of that group. Key and value names
// match without regard to letter case, as in the registry; a new key or value takes the
// spelling it is created with. Keys outside the application's key, or below another root,
// cannot be opened.
//
// QSettings has no empty groups: a key exists while it holds a value or a key below it, and
// creating a key writes nothing until a value is written into it. The application's own key
// always exists.
//
// A settings file that is there but is not a regular file (a named pipe, a device, a folder)
// is never read nor written, since reading a pipe would block the start: the settings are then
// taken as missing, and what is written lasts only as long as the CRegistry.

#include <QString>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

class QSettings;
class QTemporaryDir;

namespace ry {

// Root key handles as the registry numbers them.
inline constexpr std::uint32_t kHkeyCurrentUser = 0x80000001u;
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;

// The number every registry failure carries.
inline constexpr std::uint32_t kRegistryErrorNumber = 0x80040002u;

// A registry failure: its number, the operation it came from ("CRegistry:OpenKey", ...) and
// the text for the user; what() is the description.
class RegistryError : public std::runtime_error {
public:
    RegistryError(std::string source, const std::string& description)
        : std::runtime_error(description), source_(std::move(source)) {}

    std::uint32_t Number() const { return kRegistryErrorNumber; }
    const std::string& Source() const { return source_; }
    std::string Description() const { return what(); }

private:
    std::string source_;
};

// One open registry key at a time. Every operation that fails throws RegistryError.
class CRegistry {
public:
    CRegistry();
    // Another organization and application: the root key becomes
    // "Software\<organization>\<application>".
    CRegistry(const QString& organization, const QString& application);
    ~CRegistry();
    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // Closes any open key, then opens `subKey` below `rootKey` (one leading "\" dropped, "/"
    // taken as "\"), creating it when it is missing and `createIfMissing` is set. Throws
    // "Failed to create key <path>." or "Failed to open key <path>.".
    void OpenKey(std::uint32_t rootKey, const QString& subKey, bool createIfMissing);
    // Closes the open key and deletes it with its values. A key that has keys below it is
    // not deleted: "Failed to delete key <path>.".
    void DeleteKey();
    // Closes the open key, if any, and empties CurrentKey.
    void CloseKey();

    // The text of a value of the open key; "" when it is missing, empty or longer than 1023
    // characters. Throws "No key is currently open." without an open key.
    QString ReadValue(const QString& name) const;
    // Writes a string value. Throws "No key is currently open." or
    // "Failed to write new value to <name> from Registry.".
    void WriteValue(const QString& name, const QString& value);
    // Throws "No key is currently open." or "Failed to delete value <name> from Registry."
    // (a missing value included).
    void DeleteValue(const QString& name);

    bool IsOpen() const { return open_; }
    // The path given to the last open, after its "\" and "/" were tidied; "" when closed.
    const QString& CurrentKey() const { return currentKey_; }

    // Statistics of the open key; "Failed to retrieve key information." without one.
    int NumOfSubKeys() const;
    int MaxSubkeyNameLength() const;
    int NumOfValues() const;
    int MaxValueNameLength() const;
    int MaxValueLength() const; // characters of the longest value

private:
    struct KeyInfo {
        int subKeys = 0;
        int maxSubKeyName = 0;
        int values = 0;
        int maxValueName = 0;
        int maxValue = 0;
    };
    KeyInfo RefreshKeyInfo() const;
    // The spelling of an existing value name, or `name` itself when it is new.
    QString StoredValueName(const QString& name) const;

    std::unique_ptr<QTemporaryDir> scratch_; // holds the settings when the real file is unusable
    std::unique_ptr<QSettings> settings_;
    QString appKey_; // "Software\<organization>\<application>"
    bool open_ = false;
    std::uint32_t rootKey_ = 0;
    QString currentKey_;
    QString group_; // the QSettings group of the open key, "" for the application's key
};

// The user's settings file for `organization` and `application`, the one file the registry
// reads and writes: <config folder>/<organization>/<application>.conf.
QString UserSettingsFile(const QString& organization = QStringLiteral("Cordaxa"),
                         const QString& application = QStringLiteral("Ryvane"));

// The user's settings file when it exists but is not a regular file (following links); ""
// otherwise.
QString UnusableSettingsFile(const QString& organization = QStringLiteral("Cordaxa"),
                             const QString& application = QStringLiteral("Ryvane"));

// A number stored as the text of a value of the open key, converted as script values are
// (TextToInt32): `defaultValue` when the value is empty or is not a number that fits 32 bits.
std::int32_t ReadRegLong(const CRegistry& registry, const QString& name, std::int32_t defaultValue);

} // namespace ry
