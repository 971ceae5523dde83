// Each module dialog's Help button opens the manual at its module type's own page.

#include "dialog_fixture.h"

#include "base/help_topics.h"
#include "base/help_window.h"
#include "base/tab_chain.h"
#include "dialogs/dialog_factory.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

namespace ry::test {
namespace {

class DialogHelpTest : public DialogTest {
protected:
    // A module of every type, "The <type>", on the canvas.
    void AddOneOfEveryType() {
        for (std::string_view type : kAllModuleTypes)
            Add(type, "The " + std::string(type));
        Show();
    }
    ModuleDialog* OpenType(std::string_view type) { return Open("The " + std::string(type)); }
};

TEST_F(DialogHelpTest, EveryDialogsHelpOpensItsTypesPageOfTheManual) {
    // The manual as it ships.
    const QDir manual(QStringLiteral(RY_HELP_DIR));
    QDir(folder_.path()).mkpath(QStringLiteral("help"));
    for (const QString& name : manual.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(manual.filePath(name), folder_.path() + "/help/" + name));

    AddOneOfEveryType();
    for (std::string_view type : kAllModuleTypes) {
        SCOPED_TRACE(std::string(type));
        ModuleDialog* d = OpenType(type);
        ASSERT_NE(d, nullptr);
        auto* help = Child<QPushButton>(d, "cmdHelp");
        ASSERT_TRUE(help->isEnabled());
        const std::string page(help::PageOfTopic(FormOfType(type).helpTopic));
        // F1 in a field opens the same page as the button.
        QTest::keyClick(Child<QLineEdit>(d, "txtModTitle"), Qt::Key_F1);
        HelpWindow* window = designer_->Programs().OpenHelpWindow();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->CurrentPage().toStdString(), page);
        window->ShowPage(QStringLiteral("index.html"));
        help->click();
        EXPECT_EQ(window->CurrentPage().toStdString(), page);
        // The page is the type's own; a type without a dialog of its own has the DDE one's.
        const QString title = window->findChild<QTextBrowser*>()->documentTitle();
        const std::string_view shown = type == kTypeTts ? kTypeDde : type;
        EXPECT_TRUE(title.contains(QString::fromLatin1(shown.data(), int(shown.size()))))
            << title.toStdString();
        d->close();
    }
    EXPECT_TRUE(prompter_.messages.empty());
}

TEST_F(DialogHelpTest, TheTabKeyStartsAtTheTitleAndEndsAtTheButtons) {
    AddOneOfEveryType();
    for (std::string_view type : kAllModuleTypes) {
        SCOPED_TRACE(std::string(type));
        ModuleDialog* d = OpenType(type);
        ASSERT_NE(d, nullptr);
        const QList<QWidget*> chain = TabChain(*d);
        ASSERT_GE(chain.size(), 5);
        EXPECT_EQ(chain.first()->objectName(), "txtModTitle");
        QStringList last;
        for (QWidget* w : chain.mid(chain.size() - 4))
            last << w->objectName();
        QStringList all;
        for (QWidget* w : chain)
            all << w->objectName();
        EXPECT_EQ(last, QStringList({"cmdOK", "cmdCancel", "cmdApply", "cmdHelp"}))
            << all.join(QLatin1Char(' ')).toStdString();
        // The fields Tab reaches on the page shown go from the top down.
        int previous = -1;
        for (QWidget* w : chain.mid(0, chain.size() - 4)) {
            if (!w->isVisibleTo(d))
                continue;
            const int y = w->mapTo(d, QPoint(0, 0)).y();
            EXPECT_GE(y, previous - 6) << w->objectName().toStdString() << " in "
                                       << all.join(QLatin1Char(' ')).toStdString();
            previous = y;
        }
        d->close();
    }
}

} // namespace
} // namespace ry::test
