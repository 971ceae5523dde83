// Each module dialog's Help button opens the manual at its module type's own page.

#include "dialog_fixture.h"

#include "base/help_topics.h"
#include "base/help_window.h"
#include "dialogs/dialog_factory.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTextBrowser>

namespace ry::test {
namespace {

using DialogHelpTest = DialogTest;

TEST_F(DialogHelpTest, EveryDialogsHelpOpensItsTypesPageOfTheManual) {
    // The manual as it ships.
    const QDir manual(QStringLiteral(RY_HELP_DIR));
    QDir(folder_.path()).mkpath(QStringLiteral("help"));
    for (const QString& name : manual.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(manual.filePath(name), folder_.path() + "/help/" + name));

    for (std::string_view type : kAllModuleTypes)
        Add(type, "The " + std::string(type));
    Show();
    for (std::string_view type : kAllModuleTypes) {
        SCOPED_TRACE(std::string(type));
        ModuleDialog* d = Open("The " + std::string(type));
        ASSERT_NE(d, nullptr);
        auto* help = Child<QPushButton>(d, "cmdHelp");
        ASSERT_TRUE(help->isEnabled());
        help->click();
        HelpWindow* window = designer_->Programs().OpenHelpWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->CurrentPage().toStdString(),
                  std::string(help::PageOfTopic(FormOfType(type).helpTopic)));
        // The page is the type's own; a type without a dialog of its own has the DDE one's.
        const QString title = window->findChild<QTextBrowser*>()->documentTitle();
        const std::string_view shown = type == kTypeTts ? kTypeDde : type;
        EXPECT_TRUE(title.contains(QString::fromLatin1(shown.data(), int(shown.size()))))
            << title.toStdString();
        d->close();
    }
    EXPECT_TRUE(prompter_.messages.empty());
}

} // namespace
} // namespace ry::test
