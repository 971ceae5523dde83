#pragma once

// A main window on the offscreen screen with settings, registry and program folder of its
// own, a launcher that starts nothing, and helpers that drive the active canvas with the
// mouse in canvas pixels.

#include "app/main_window.h"
#include "base/companions.h"
#include "base/designer.h"
#include "base/text_codec.h"
#include "canvas/box_item.h"
#include "canvas/canvas_interaction.h"
#include "canvas/canvas_scene.h"
#include "canvas/canvas_view.h"
#include "canvas/context_menus.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "dialogs/module_dialogs.h"

#include "fake_prompter.h"
#include "menu_entries.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace ry::test {

class RecordingLauncher : public Launcher {
public:
    struct Start {
        QString program;
        QStringList arguments;
    };
    std::vector<Start> started;
    std::vector<QUrl> opened;
    bool startSucceeds = true;
    bool openSucceeds = true;

    bool StartProgram(const QString& program, const QStringList& arguments) override {
        started.push_back({program, arguments});
        return startSucceeds;
    }
    bool OpenUrl(const QUrl& url) override {
        opened.push_back(url);
        return openSucceeds;
    }
    void PlaySound(const QString&) override {}
};

class EditingTest : public ::testing::Test {
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

    void SetUp() override { Start(""); }
    void TearDown() override { Stop(); }

    // As the program ends: the documents close, then the main window goes.
    void Stop() {
        if (main_)
            for (int slot = 1; slot <= designer_->DocumentSlotCount(); ++slot)
                if (DocumentWindow* window = designer_->Document(slot))
                    window->Discard();
        main_.reset();
        moduleDialogs_.reset();
        designer_.reset();
    }

    // A fresh designer and main window whose program folder holds `ini` as RY.INI (no file
    // when empty).
    void Start(const std::string& ini) {
        Stop();
        folder_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(folder_->isValid());
        if (!ini.empty())
            WriteFile(IniPath(), ini);
        designer_ = std::make_unique<Designer>(prompter_, folder_->path());
        designer_->ReadSettings();
        moduleDialogs_ = std::make_unique<ModuleDialogTable>(*designer_);
        auto launcher = std::make_unique<RecordingLauncher>();
        launcher_ = launcher.get();
        designer_->Programs().SetLauncher(std::move(launcher));
        main_ = std::make_unique<MainWindow>(*designer_);
        main_->resize(1000, 800);
        main_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
        // Room for the boxes the tests look at, whatever size the window started with.
        if (QMdiSubWindow* frame = main_->MdiArea().activeSubWindow())
            frame->resize(800, 600);
    }

    QString IniPath() const { return folder_->filePath(QStringLiteral("RY.INI")); }
    static void WriteFile(const QString& path, const std::string& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }

    DocumentWindow& Window() { return *main_->ActiveDocumentWindow(); }
    ScriptDocument& Doc() { return Window().Document(); }
    CanvasInteraction& Canvas() { return Window().Interaction(); }
    CanvasView& View() { return Window().View(); }
    QWidget* Viewport() { return View().viewport(); }
    ModuleRecord& ModuleIn(int box) { return Doc().Module(Doc().ModuleOfBox(box)); }
    QPoint PositionOf(int box) {
        const ModuleRecord& m = ModuleIn(box);
        return {m.PositionX, m.PositionY};
    }
    QString TitleOf(int box) { return ToQt(ModuleIn(box).Title); }
    std::vector<int> SelectedBoxes() {
        std::vector<int> out;
        for (int box : Doc().Boxes())
            if (Doc().IsSelected(box))
                out.push_back(box);
        return out;
    }

    // A module of `type` placed with its box's top-left at `at`, through the document.
    int Place(const QString& type, QPoint at) {
        const QString tool = designer_->CurrentTool();
        designer_->SetCurrentTool(type);
        const int box = Doc().PlaceModule(at);
        designer_->SetCurrentTool(tool);
        return box;
    }
    // The document's first box moved out of the corner, and two more boxes: three boxes at
    // known places, none selected, the script not modified.
    std::vector<int> ThreeBoxes(QPoint a, QPoint b, QPoint c) {
        const int first = Doc().Boxes().front();
        Doc().MoveModules({{Doc().ModuleOfBox(first), a}});
        std::vector<int> boxes{first, Place(QStringLiteral("Play"), b),
                               Place(QStringLiteral("Record"), c)};
        Doc().DeselectAllBoxes();
        Doc().Record().Modified = false;
        return boxes;
    }

    // The mouse, in canvas pixels.
    QPoint ToViewport(QPoint canvas) { return View().mapFromScene(QPointF(canvas)); }
    void Press(QPoint canvas, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(Viewport(), button, {}, ToViewport(canvas));
    }
    void MoveTo(QPoint canvas) { QTest::mouseMove(Viewport(), ToViewport(canvas)); }
    void Release(QPoint canvas, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseRelease(Viewport(), button, {}, ToViewport(canvas));
    }
    void Click(QPoint canvas, Qt::MouseButton button = Qt::LeftButton) {
        Press(canvas, button);
        Release(canvas, button);
    }
    void Drag(QPoint from, QPoint to) {
        Press(from);
        MoveTo((from + to) / 2);
        MoveTo(to);
        Release(to);
    }
    // Points on the parts of a box.
    QPoint FrameOf(int box) { return PositionOf(box) + QPoint(102, 10); }
    QPoint TitleOfBox(int box) { return PositionOf(box) + QPoint(20, 12); }
    QPoint IconOf(int box) { return PositionOf(box) + QPoint(120, 10); }
    QPoint TextOf(int box) { return PositionOf(box) + QPoint(40, 45); }

    // A part of the canvas as drawn, in canvas pixels.
    QImage Render(const QRect& area) {
        QImage image(area.size(), QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        Window().Scene().render(&painter, QRectF(QPointF(0, 0), area.size()), area);
        return image;
    }
    // How many pixels of `area` show exactly `rgb`.
    int PixelsOf(const QRect& area, QRgb rgb) {
        const QImage image = Render(area);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += image.pixel(x, y) == rgb;
        return n;
    }

    // A main-window menu entry, by name.
    QAction* Menu(const QString& name) { return MenuEntry(*main_, name); }
    void Choose(const QString& name) { ChooseMenuEntry(*main_, name); }

    // Right press on a box's frame, then the menu item `key`.
    void ChooseFromBoxMenu(int box, const QString& key) {
        Click(FrameOf(box), Qt::RightButton);
        ContextMenus& menus = Canvas().Menus();
        EXPECT_TRUE(menus.ModuleMenu().isVisible());
        menus.ModuleMenu().hide();
        QAction* item = menus.Item(key);
        ASSERT_NE(item, nullptr) << key.toStdString();
        item->trigger();
    }

    FakePrompter prompter_;
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<Designer> designer_;
    std::unique_ptr<ModuleDialogTable> moduleDialogs_;
    RecordingLauncher* launcher_ = nullptr;
    std::unique_ptr<MainWindow> main_;

    static inline QTemporaryDir* home_ = nullptr;
};

} // namespace ry::test
