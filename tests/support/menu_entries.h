#pragma once

// The main window's menu entries as a test reaches them: by name, chosen as the user would.

#include "app/main_window.h"

#include <QAction>

#include <gtest/gtest.h>

namespace ry::test {

inline QAction* MenuEntry(MainWindow& main, const QString& name) {
    QAction* action = main.MenuAction(name);
    EXPECT_NE(action, nullptr) << name.toStdString();
    return action;
}

inline void ChooseMenuEntry(MainWindow& main, const QString& name) {
    if (QAction* action = MenuEntry(main, name))
        action->trigger();
}

} // namespace ry::test
