#include "base/view_choices.h"

#include "base/registry.h"

namespace ry {

namespace {

const QString kViewKey = QStringLiteral("Software\\Cordaxa\\Ryvane\\View");

} // namespace

bool ReadViewChoice(const QString& name) {
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kViewKey, true);
        const bool on = registry.ReadValue(name) != QLatin1String("0");
        registry.CloseKey();
        return on;
    } catch (const RegistryError&) {
        return true;
    }
}

void WriteViewChoice(const QString& name, bool on) {
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kViewKey, true);
        registry.WriteValue(name, on ? QStringLiteral("1") : QStringLiteral("0"));
        registry.CloseKey();
    } catch (const RegistryError&) {
        // The view changes all the same.
    }
}

} // namespace ry
