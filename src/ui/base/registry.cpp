#include "base/registry.h"

#include "script/number_text.h"

#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>

namespace ry {

namespace {

constexpr qsizetype kValueBufferChars = 1024; // the stored text and its terminating zero

const QChar kSep = QLatin1Char('\\');

// Enters a group of the settings for the life of the scope; "" is the root.
class GroupScope {
public:
    GroupScope(QSettings& settings, const QString& group)
        : settings_(settings), used_(!group.isEmpty()) {
        if (used_)
            settings_.beginGroup(group);
    }
    ~GroupScope() {
        if (used_)
            settings_.endGroup();
    }
    GroupScope(const GroupScope&) = delete;
    GroupScope& operator=(const GroupScope&) = delete;

private:
    QSettings& settings_;
    bool used_;
};

std::optional<QString> FindIgnoringCase(const QStringList& names, const QString& wanted) {
    for (const QString& n : names)
        if (n.compare(wanted, Qt::CaseInsensitive) == 0)
            return n;
    return std::nullopt;
}

// Value names become QSettings keys, where "/" and "\" would name groups.
bool UsableValueName(const QString& name) {
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(kSep);
}

[[noreturn]] void Fail(const char* operation, const QString& description) {
    throw RegistryError(std::string("CRegistry:") + operation, description.toStdString());
}

void RequireOpen(bool open, const char* operation) {
    if (!open)
        Fail(operation, QStringLiteral("No key is currently open."));
}

std::unique_ptr<QSettings> OpenSettings(const QString& organization, const QString& application,
                                        std::unique_ptr<QTemporaryDir>& scratch) {
    // The file is named here rather than left to QSettings, so that the file checked is the
    // file read.
    if (UnusableSettingsFile(organization, application).isEmpty())
        return std::make_unique<QSettings>(UserSettingsFile(organization, application),
                                           QSettings::IniFormat);
    scratch = std::make_unique<QTemporaryDir>();
    return std::make_unique<QSettings>(scratch->filePath(QStringLiteral("settings.conf")),
                                       QSettings::IniFormat);
}

} // namespace

QString UserSettingsFile(const QString& organization, const QString& application) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + organization + QLatin1Char('/') + application +
           QStringLiteral(".conf");
}

QString UnusableSettingsFile(const QString& organization, const QString& application) {
    const QFileInfo file(UserSettingsFile(organization, application));
    return file.exists() && !file.isFile() ? file.absoluteFilePath() : QString();
}

CRegistry::CRegistry() : CRegistry(QStringLiteral("Cordaxa"), QStringLiteral("Ryvane")) {}

CRegistry::CRegistry(const QString& organization, const QString& application)
    : settings_(OpenSettings(organization, application, scratch_)),
      appKey_(QStringLiteral("Software\\") + organization + kSep + application) {}

CRegistry::~CRegistry() {
    CloseKey();
    settings_->sync();
}

void CRegistry::OpenKey(std::uint32_t rootKey, const QString& subKey, bool createIfMissing) {
    CloseKey();
    QString path = subKey;
    if (path.startsWith(kSep))
        path.remove(0, 1);
    path.replace(QLatin1Char('/'), kSep);

    auto fail = [&]() {
        Fail("OpenKey", (createIfMissing ? QStringLiteral("Failed to create key ")
                                         : QStringLiteral("Failed to open key ")) +
                            path + QLatin1Char('.'));
    };

    // Only the application's own key and the keys below it live in the settings.
    if (rootKey != kHkeyCurrentUser || !path.startsWith(appKey_, Qt::CaseInsensitive))
        fail();
    QString below = path.mid(appKey_.size());
    if (below.endsWith(kSep))
        below.chop(1);
    if (!below.isEmpty() && !below.startsWith(kSep))
        fail(); // "Software\Cordaxa\RyvaneX" is another key
    QStringList parts = below.isEmpty() ? QStringList() : below.mid(1).split(kSep);

    // Each level is matched without regard to case; a missing level ends the walk, and the
    // rest of the path is either created with the spelling given or reported missing.
    QStringList groups;
    bool exists = true;
    for (const QString& part : parts) {
        if (part.isEmpty())
            fail();
        std::optional<QString> existing;
        if (exists) {
            GroupScope scope(*settings_, groups.join(QLatin1Char('/')));
            existing = FindIgnoringCase(settings_->childGroups(), part);
        }
        if (!existing) {
            if (!createIfMissing)
                fail();
            exists = false;
        }
        groups.append(existing.value_or(part));
    }

    open_ = true;
    rootKey_ = rootKey;
    currentKey_ = path;
    group_ = groups.join(QLatin1Char('/'));
}

void CRegistry::CloseKey() {
    if (!open_)
        return;
    open_ = false;
    currentKey_.clear();
}

void CRegistry::DeleteKey() {
    QString path = currentKey_;
    QString group = group_;
    bool wasOpen = open_;
    CloseKey();
    auto fail = [&]() {
        Fail("DeleteKey", QStringLiteral("Failed to delete key ") + path + QLatin1Char('.'));
    };
    if (!wasOpen)
        fail();
    {
        GroupScope scope(*settings_, group);
        if (!settings_->childGroups().isEmpty())
            fail();
        for (const QString& key : settings_->childKeys())
            settings_->remove(key);
    }
    settings_->sync();
    if (settings_->status() == QSettings::AccessError)
        fail();
}

QString CRegistry::StoredValueName(const QString& name) const {
    GroupScope scope(*settings_, group_);
    return FindIgnoringCase(settings_->childKeys(), name).value_or(name);
}

QString CRegistry::ReadValue(const QString& name) const {
    RequireOpen(open_, "ReadValue");
    if (!UsableValueName(name))
        return {};
    QString stored = StoredValueName(name);
    GroupScope scope(*settings_, group_);
    QVariant v = settings_->value(stored);
    // A hand-edited value with commas comes back as a list.
    QString text = v.typeId() == QMetaType::QStringList ? v.toStringList().join(QLatin1Char(','))
                                                        : v.toString();
    if (text.size() >= kValueBufferChars)
        return {};
    return text;
}

void CRegistry::WriteValue(const QString& name, const QString& value) {
    RequireOpen(open_, "WriteValue");
    auto fail = [&]() {
        Fail("WriteValue", QStringLiteral("Failed to write new value to ") + name +
                               QStringLiteral(" from Registry."));
    };
    if (!UsableValueName(name))
        fail();
    QString stored = StoredValueName(name);
    {
        GroupScope scope(*settings_, group_);
        settings_->setValue(stored, value);
    }
    settings_->sync();
    if (settings_->status() == QSettings::AccessError)
        fail();
}

void CRegistry::DeleteValue(const QString& name) {
    RequireOpen(open_, "DeleteValue");
    auto fail = [&]() {
        Fail("DeleteValue",
             QStringLiteral("Failed to delete value ") + name + QStringLiteral(" from Registry."));
    };
    if (!UsableValueName(name))
        fail();
    {
        GroupScope scope(*settings_, group_);
        std::optional<QString> stored = FindIgnoringCase(settings_->childKeys(), name);
        if (!stored)
            fail();
        settings_->remove(*stored);
    }
    settings_->sync();
    if (settings_->status() == QSettings::AccessError)
        fail();
}

CRegistry::KeyInfo CRegistry::RefreshKeyInfo() const {
    if (!open_)
        Fail("RefreshKeyInfo", QStringLiteral("Failed to retrieve key information."));
    KeyInfo info;
    GroupScope scope(*settings_, group_);
    const QStringList groups = settings_->childGroups();
    const QStringList keys = settings_->childKeys();
    info.subKeys = static_cast<int>(groups.size());
    info.values = static_cast<int>(keys.size());
    for (const QString& g : groups)
        info.maxSubKeyName = std::max(info.maxSubKeyName, static_cast<int>(g.size()));
    for (const QString& k : keys) {
        info.maxValueName = std::max(info.maxValueName, static_cast<int>(k.size()));
        info.maxValue =
            std::max(info.maxValue, static_cast<int>(settings_->value(k).toString().size()));
    }
    return info;
}

int CRegistry::NumOfSubKeys() const {
    return RefreshKeyInfo().subKeys;
}
int CRegistry::MaxSubkeyNameLength() const {
    return RefreshKeyInfo().maxSubKeyName;
}
int CRegistry::NumOfValues() const {
    return RefreshKeyInfo().values;
}
int CRegistry::MaxValueNameLength() const {
    return RefreshKeyInfo().maxValueName;
}
int CRegistry::MaxValueLength() const {
    return RefreshKeyInfo().maxValue;
}

std::int32_t ReadRegLong(const CRegistry& registry, const QString& name,
                         std::int32_t defaultValue) {
    return TextToInt32(registry.ReadValue(name).toStdString()).value_or(defaultValue);
}

} // namespace ry
