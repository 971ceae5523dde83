#pragma once

// A designer with a program folder of its own, a launcher that starts nothing, and one
// document window showing a script built in the tables; module dialogs are opened as a click
// on a box's icon opens them.

#include "base/companions.h"
#include "base/designer.h"
#include "base/text_codec.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "dialogs/module_dialog.h"
#include "dialogs/module_dialogs.h"
#include "dialogs/paths_panel.h"

#include "core/script/script_builder.h"
#include "fake_prompter.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace ry::test {

class StartNothing : public Launcher {
public:
    struct Start {
        QString program;
        QStringList arguments;
    };
    std::vector<Start> started;
    QStringList played;
    bool startSucceeds = true;

    bool StartProgram(const QString& program, const QStringList& arguments) override {
        started.push_back({program, arguments});
        return startSucceeds;
    }
    bool OpenUrl(const QUrl&) override { return true; }
    void PlaySound(const QString& file) override { played << file; }
};

class DialogTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        home_ = new QTemporaryDir();
        ASSERT_TRUE(home_->isValid());
        ::setenv("HOME", home_->path().toLocal8Bit().constData(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        QStandardPaths::setTestModeEnabled(true);
    }
    static void TearDownTestSuite() {
        delete home_;
        home_ = nullptr;
    }

    void SetUp() override {
        ASSERT_TRUE(folder_.isValid());
        QDir(folder_.path()).mkpath(QStringLiteral("system/vbs"));
        designer_ = std::make_unique<Designer>(prompter_, folder_.path());
        designer_->ReadSettings();
        moduleDialogs_ = std::make_unique<ModuleDialogTable>(*designer_);
        auto launcher = std::make_unique<StartNothing>();
        launcher_ = launcher.get();
        designer_->Programs().SetLauncher(std::move(launcher));
        script_ = NewScript(designer_->Tables());
        prompter_.messages.clear();
    }
    void TearDown() override {
        window_.reset();
        moduleDialogs_.reset();
        designer_.reset();
    }

    ScriptTables& Tables() { return designer_->Tables(); }

    // A module of the script being built; call Show() once all are added.
    ModuleRecord& Add(std::string_view type, std::string_view title) {
        return AddModule(Tables(), script_, type, title, 20 + 150 * count_++, 20);
    }
    std::int16_t ModuleTitled(std::string_view title) {
        std::int16_t found = -1;
        ForEachModule(Tables(), script_, [&](std::int16_t m, const ModuleRecord& r) {
            if (r.Title == title && found < 1)
                found = m;
        });
        return found;
    }
    // The document window with a box for every module.
    void Show() {
        window_ = std::make_unique<DocumentWindow>(*designer_, script_);
        ForEachModule(Tables(), script_, [&](std::int16_t m, const ModuleRecord& r) {
            window_->Document().CreateModuleBox(r.PositionX, r.PositionY, m);
        });
        window_->Document().DeselectAllBoxes();
        Tables().Script(script_).Modified = false;
    }
    ScriptDocument& Doc() { return window_->Document(); }

    // Opens the dialog of the module titled `title` as a click on its box's icon does.
    ModuleDialog* Open(std::string_view title) {
        const std::int16_t module = ModuleTitled(title);
        EXPECT_GE(module, 1) << title;
        window_->DoBoxInfo_Click(Tables().Module(module).BoxIndex);
        return designer_->Dialogs().DialogOfModule(module);
    }

    template <class T> static T* Child(QWidget* dialog, const char* name) {
        T* child = dialog->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static QLineEdit* Field(QWidget* dialog, const char* name) {
        return Child<QLineEdit>(dialog, name);
    }
    // The user leaves a field after typing into it.
    static void Type(QLineEdit* field, const QString& text) {
        field->setText(text);
        emit field->editingFinished();
    }
    static void Choose(QComboBox* list, const QString& text) {
        const int index = list->findText(text);
        ASSERT_GE(index, 0) << text.toStdString();
        list->setCurrentIndex(index);
    }
    static QStringList Items(QComboBox* list) {
        QStringList out;
        for (int i = 0; i < list->count(); ++i)
            out << list->itemText(i);
        return out;
    }

    void WriteFile(const QString& relative, const std::string& bytes) {
        QFile file(folder_.filePath(relative));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    static QTemporaryDir* home_;
    QTemporaryDir folder_;
    FakePrompter prompter_;
    std::unique_ptr<Designer> designer_;
    std::unique_ptr<ModuleDialogTable> moduleDialogs_;
    StartNothing* launcher_ = nullptr;
    std::int16_t script_ = -1;
    int count_ = 0;
    std::unique_ptr<DocumentWindow> window_;
};

inline QTemporaryDir* DialogTest::home_ = nullptr;

} // namespace ry::test
