#include "base/recent_files.h"

#include "base/registry.h"

#include <QDir>

namespace ry {

namespace {
const QString kKey = QStringLiteral("Software\\Cordaxa\\Ryvane\\Recent File List");
}

void RecentFiles::Load() {
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kKey, true);
        for (int n = 1; n <= kCount; ++n) {
            const QString entry = registry.ReadValue(QStringLiteral("File%1").arg(n));
            // A relative entry names a file in a folder nobody remembers: opened from here it
            // would be another script, and a save would overwrite that one.
            entries_[static_cast<size_t>(n - 1)] = QDir::isAbsolutePath(entry) ? entry : QString();
        }
        registry.CloseKey();
    } catch (const RegistryError&) {
        // The list stays as far as it was read.
    }
    emit changed();
}

void RecentFiles::Add(const QString& path) {
    int p = kCount;
    for (int i = 1; i < kCount; ++i) {
        if (entries_[static_cast<size_t>(i - 1)] == path) {
            p = i;
            break;
        }
    }
    for (int i = p; i > 1; --i)
        entries_[static_cast<size_t>(i - 1)] = entries_[static_cast<size_t>(i - 2)];
    entries_[0] = path;
    try {
        CRegistry registry;
        registry.OpenKey(kHkeyCurrentUser, kKey, true);
        // Every write reaches the disk on its own, so values that hold the entry already are
        // left alone: saving the script that is first in the list writes nothing.
        for (int n = 1; n <= kCount; ++n) {
            const QString name = QStringLiteral("File%1").arg(n);
            const QString& entry = entries_[static_cast<size_t>(n - 1)];
            if (registry.ReadValue(name) != entry)
                registry.WriteValue(name, entry);
        }
        registry.CloseKey();
    } catch (const RegistryError&) {
        // Errors are ignored: the list in memory is still right.
    }
    emit changed();
}

} // namespace ry
