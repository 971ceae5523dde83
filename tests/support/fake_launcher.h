#pragma once

#include "base/companions.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <vector>

namespace ry::test {

// Starts nothing: remembers what the designer asked for and answers as told.
class FakeLauncher : public Launcher {
public:
    struct Started {
        QString program;
        QStringList arguments;
    };
    std::vector<Started> started;
    std::vector<QUrl> opened;
    QStringList played;
    // Programs that start; any other program "cannot be found".
    QSet<QString> startable;
    bool urlsOpen = true;

    bool StartProgram(const QString& program, const QStringList& arguments) override {
        started.push_back({program, arguments});
        return startable.contains(program);
    }
    bool OpenUrl(const QUrl& url) override {
        opened.push_back(url);
        return urlsOpen;
    }
    void PlaySound(const QString& file) override { played << file; }
};

} // namespace ry::test
