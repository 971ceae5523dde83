#pragma once

// The nine most recently opened or saved scripts, most recent first, kept in step with the
// registry key "Software\Cordaxa\Ryvane\Recent File List" (values "File1".."File9").

#include <QObject>
#include <QString>

#include <array>

namespace ry {

class RecentFiles : public QObject {
    Q_OBJECT
public:
    static constexpr int kCount = 9;

    explicit RecentFiles(QObject* parent = nullptr) : QObject(parent) {}

    // Reads the nine entries from the registry; registry errors leave entries empty.
    void Load();
    // Moves `path` to position 1 (an entry equal to it, letter case counting, moves up; a new
    // path pushes out position 9) and writes all nine entries to the registry.
    void Add(const QString& path);

    // Position 1..9; "" when empty.
    QString At(int position) const { return entries_[static_cast<size_t>(position - 1)]; }

signals:
    void changed();

private:
    std::array<QString, kCount> entries_;
};

} // namespace ry
