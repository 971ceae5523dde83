#include "app/designer.h"
#include "app/main_window.h"
#include "canvas/canvas_scene.h"
#include "canvas/canvas_view.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"

#include "fake_prompter.h"

#include <QImage>
#include <QPainter>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace ry {
namespace {

TEST(OpenScript, ShowsTheExample) {
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir home;
    test::FakePrompter prompter;
    Designer designer(prompter, home.path());
    designer.ReadSettings();
    MainWindow main(designer);
    main.OpenScript(QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
    DocumentWindow* window = main.ActiveDocumentWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Document().Boxes().size(), 7u);
    QImage image(900, 700, QImage::Format_ARGB32);
    QPainter painter(&image);
    window->Scene().render(&painter, QRectF(0, 0, 900, 700), QRectF(0, 0, 900, 700));
    painter.end();
    image.save(QStringLiteral("/tmp/office-line.png"));
}

} // namespace
} // namespace ry
