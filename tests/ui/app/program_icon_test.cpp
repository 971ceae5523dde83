// The program's own icon on its windows.

#include "designer_fixture.h"

#include <QIcon>
#include <QImage>
#include <QMdiSubWindow>
#include <QPixmap>

namespace ry::test {
namespace {

using ProgramIcon = DesignerTest;

TEST_F(ProgramIcon, TheMainAndTheDocumentWindowsShowIt) {
    MakeMain();
    ASSERT_NE(Active(), nullptr);
    const QImage program = QIcon(QStringLiteral(":/icons/program.svg")).pixmap(32).toImage();
    ASSERT_FALSE(program.isNull()) << "the icon is built into the program";
    auto* document = qobject_cast<QMdiSubWindow*>(Active()->parentWidget());
    ASSERT_NE(document, nullptr);
    for (QWidget* window : {static_cast<QWidget*>(&Main()), static_cast<QWidget*>(document)}) {
        SCOPED_TRACE(window->metaObject()->className());
        EXPECT_EQ(window->windowIcon().pixmap(32).toImage(), program);
    }
}

} // namespace
} // namespace ry::test
