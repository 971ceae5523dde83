#include "base/view_choices.h"

#include "base/registry.h"

#include <QString>

namespace ry {

namespace {

const QString kViewKey = QStringLiteral("Software\\Cordaxa\\Ryvane\\View");
const QString kShowSettingsValue = QStringLiteral("ShowSettings");

} // namespace

bool ReadShowSettings() {
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kViewKey, true);
        const bool shown = registry.ReadValue(kShowSettingsValue) != QLatin1String("0");
        registry.CloseKey();
        return shown;
    } catch (const RegistryError&) {
        return true;
    }
}

void WriteShowSettings(bool shown) {
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kViewKey, true);
        registry.WriteValue(kShowSettingsValue, shown ? QStringLiteral("1") : QStringLiteral("0"));
        registry.CloseKey();
    } catch (const RegistryError&) {
        // A view choice is a convenience: the boxes change all the same.
    }
}

} // namespace ry
