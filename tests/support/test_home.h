#pragma once

#include <QByteArray>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>

namespace ry::test {

// The designer's tests keep the user's settings (window position, recent files) in a home
// folder of their own, so that neither the user's settings nor another test program are
// touched. Qt fixes where settings live the first time they are used, so the whole test
// program shares one home, made before anything reads a setting.
inline const QString& TestHome() {
    static QTemporaryDir home;
    static const bool ready = [] {
        ::setenv("HOME", home.path().toLocal8Bit().constData(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        QStandardPaths::setTestModeEnabled(true);
        return true;
    }();
    (void)ready;
    static const QString path = home.path();
    return path;
}

// Empties the designer's settings in the test home.
inline void ClearSettings() {
    TestHome();
    QSettings settings(QStringLiteral("Cordaxa"), QStringLiteral("Ryvane"));
    settings.clear();
    settings.sync();
}

} // namespace ry::test
