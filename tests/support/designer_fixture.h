#pragma once

#include "app/main_window.h"
#include "base/designer.h"
#include "canvas/canvas_scene.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "dialogs/module_dialogs.h"

#include "fake_launcher.h"
#include "fake_prompter.h"
#include "menu_entries.h"
#include "test_home.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace ry::test {

// A designer with a program folder of its own, empty settings, questions answered by a
// FakePrompter and companion programs replaced by a FakeLauncher; MakeMain starts the main
// window on it as the program does.
class DesignerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ClearSettings();
        ASSERT_TRUE(folder_.isValid());
    }
    void TearDown() override {
        main_.reset();
        moduleDialogs_.reset();
        designer_.reset();
    }

    QString ProgramFolder() const { return folder_.path(); }
    // A file of the program folder (folders on the way are made); returns its path.
    QString WriteFile(const QString& name, const QByteArray& bytes) const {
        const QString path = folder_.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // Opens a script in the main window; its window becomes the active one.
    DocumentWindow* OpenInMain(const QString& path) {
        Main().Documents().OpenScript(path);
        DocumentWindow* window = Active();
        EXPECT_TRUE(window && window->Caption() == path) << path.toStdString();
        return window;
    }
    // A file's bytes; empty when it cannot be read.
    static QByteArray Slurp(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    Designer& MakeDesigner() {
        // A second designer in one test: the table of the first goes with it.
        moduleDialogs_.reset();
        designer_ = std::make_unique<Designer>(prompter_, ProgramFolder());
        designer_->ReadSettings();
        moduleDialogs_ = std::make_unique<ModuleDialogTable>(*designer_);
        auto launcher = std::make_unique<FakeLauncher>();
        launcher_ = launcher.get();
        designer_->Programs().SetLauncher(std::move(launcher));
        return *designer_;
    }
    MainWindow& MakeMain(const QString& commandLine = {}) {
        if (!designer_)
            MakeDesigner();
        main_ = std::make_unique<MainWindow>(*designer_, commandLine);
        main_->show();
        return *main_;
    }

    Designer& D() { return *designer_; }
    MainWindow& Main() { return *main_; }
    DocumentWindow* Active() { return main_->ActiveDocumentWindow(); }
    ScriptDocument& Doc() { return Active()->Document(); }
    QAction* Menu(const QString& name) { return MenuEntry(*main_, name); }
    void Choose(const QString& name) { ChooseMenuEntry(*main_, name); }
    // The document windows in slot order.
    std::vector<DocumentWindow*> Windows() const {
        std::vector<DocumentWindow*> out;
        for (int slot = 1; slot <= designer_->DocumentSlotCount(); ++slot)
            if (DocumentWindow* w = designer_->Document(slot))
                out.push_back(w);
        return out;
    }
    // Titles of the modules of the active script, in chain order.
    QStringList Titles() {
        QStringList out;
        ForEachModule(D().Tables(), Active()->Script(), [&](std::int16_t, const ModuleRecord& m) {
            out << QString::fromStdString(m.Title);
        });
        return out;
    }

    // A part of a document's canvas as the screen shows it.
    static QImage RenderCanvas(DocumentWindow& window, const QRect& area) {
        QImage image(area.size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        window.Scene().render(&painter, QRectF(QPointF(0, 0), area.size()), area);
        return image;
    }

    FakePrompter prompter_;
    FakeLauncher* launcher_ = nullptr;
    QTemporaryDir folder_;
    std::unique_ptr<Designer> designer_;
    std::unique_ptr<ModuleDialogTable> moduleDialogs_;
    std::unique_ptr<MainWindow> main_;
};

} // namespace ry::test
