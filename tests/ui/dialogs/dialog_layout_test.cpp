// Module dialogs opened from the main window as the user opens them: the keys that turn their
// tabs, and a layout that shows every page, caption and field whole within the screen.

#include "designer_fixture.h"

#include "dialogs/module_dialog.h"
#include "dialogs/paths_panel.h"
#include "script/module_types.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <string>

namespace ry::test {
namespace {

class DialogLayoutTest : public DesignerTest {
protected:
    // The main window with a script of one module of each type named, titled by its type.
    void Start(const std::vector<const char*>& types) {
        QByteArray bytes = "Version=5.0\r\n\r\n";
        int x = 20;
        for (const char* type : types) {
            bytes += QByteArray("[") + type + "]\r\nType=" + type +
                     "\r\nDispSize=69\r\nTxt=Hi\r\n\r\nPosition=" + QByteArray::number(x) +
                     ",20\r\n\r\n";
            x += 200;
        }
        path_ = WriteFile(QStringLiteral("types.rys"), bytes);
        MakeMain();
        Main().Documents().OpenScript(path_);
        ASSERT_EQ(Active()->Caption(), path_);
    }
    std::int16_t ModuleOf(const std::string& title) {
        for (int box : Doc().Boxes())
            if (Doc().Module(Doc().ModuleOfBox(box)).Title == title)
                return Doc().ModuleOfBox(box);
        ADD_FAILURE() << "no module " << title.substr(0, 40);
        return -1;
    }
    // Opens a module's dialog as a click on its box's icon does.
    ModuleDialog* Open(const std::string& title) {
        const std::int16_t module = ModuleOf(title);
        Active()->DoBoxInfo_Click(Doc().Module(module).BoxIndex);
        ModuleDialog* dialog = D().Dialogs().DialogOfModule(module);
        EXPECT_NE(dialog, nullptr) << title.substr(0, 40);
        return dialog;
    }
    static QSize Available() {
        return QGuiApplication::primaryScreen()->availableGeometry().size();
    }

    QString path_;
};

// The key goes where a user's key goes: to the widget with the focus in the active dialog,
// through the whole application, where the multiple-document area also listens for it.
TEST_F(DialogLayoutTest, CtrlTabTurnsTheDialogsTabsNotTheScripts) {
    Start({"Play"});
    Main().NewScript();
    Main().BringToFront(Windows()[1]); // the script of the dialog, with another beside it
    DocumentWindow* script = Active();
    ModuleDialog* d = Open("Play");
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d->Tabs().count(), 2);
    d->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(d));
    d->findChild<QLineEdit*>(QStringLiteral("txtModTitle"))->setFocus();
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    ASSERT_TRUE(d->isAncestorOf(focus));

    EXPECT_EQ(d->CurrentTab(), 0);
    QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(d->CurrentTab(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(d->CurrentTab(), 0);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(d->CurrentTab(), 1) << "the last tab comes before the first";
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Control);
    QCoreApplication::processEvents();
    EXPECT_EQ(Active(), script);
}

TEST_F(DialogLayoutTest, EveryPageAndTabCaptionShowsWhole) {
    Start({"Hangup the Call", "Phone Message", "Play"});
    for (const char* title : {"Hangup the Call", "Phone Message", "Play"}) {
        SCOPED_TRACE(title);
        ModuleDialog* d = Open(title);
        ASSERT_NE(d, nullptr);
        QCoreApplication::processEvents();
        QTabBar* bar = d->Tabs().tabBar();
        EXPECT_GE(bar->width(), bar->sizeHint().width());
        for (int i = 0; i < bar->count(); ++i) {
            SCOPED_TRACE(bar->tabText(i).toStdString());
            EXPECT_GE(bar->tabRect(i).width(),
                      bar->fontMetrics().horizontalAdvance(bar->tabText(i)));
            EXPECT_LE(bar->tabRect(i).right(), bar->width());
        }
        // A page is more than a strip under its tab.
        EXPECT_GE(d->Tabs().currentWidget()->height(), 60);
        // Sound and file boxes leave room for a path beside their buttons.
        for (auto* field : d->findChildren<QLineEdit*>()) {
            const QString name = field->objectName();
            if (name.startsWith(QLatin1String("txtSoundFile")) ||
                name.startsWith(QLatin1String("txtWelc"))) {
                EXPECT_GE(field->width(), field->fontMetrics().averageCharWidth() * 40)
                    << name.toStdString();
            }
        }
        // The paths panel stands inside its page with a margin.
        if (PathsPanel* paths = d->Paths()) {
            d->SelectTab(d->Tabs().count() - 1);
            QCoreApplication::processEvents();
            EXPECT_GT(paths->geometry().left(), 0);
            EXPECT_GT(paths->geometry().top(), 0);
        }
        d->CloseWithoutAsking();
    }
    auto* hangup = Open("Hangup the Call");
    EXPECT_NE(hangup->findChild<QLabel*>(QStringLiteral("lblHangup")), nullptr);
}

// The screen here is 800 pixels wide: a 1600-pixel screen at scale 2. Every dialog's layout
// shrinks to it, so that none is cut off at the right with its Help button.
TEST_F(DialogLayoutTest, EveryDialogFitsAScreenOf800PixelsWithItsButtonsInSight) {
    std::vector<std::string> types(kAllModuleTypes.begin(), kAllModuleTypes.end());
    std::vector<const char*> names;
    for (const std::string& type : types)
        names.push_back(type.c_str());
    Start(names);
    ASSERT_LE(Available().width(), 800);
    for (const std::string& type : types) {
        SCOPED_TRACE(type);
        ModuleDialog* d = Open(type);
        ASSERT_NE(d, nullptr);
        for (int tab = 0; tab < d->Tabs().count(); ++tab) {
            d->SelectTab(tab);
            QCoreApplication::processEvents();
            EXPECT_LE(d->minimumSizeHint().width(), Available().width()) << tab;
            EXPECT_LE(d->frameGeometry().width(), Available().width()) << tab;
        }
        for (const char* button : {"cmdOK", "cmdCancel", "cmdApply", "cmdHelp"}) {
            auto* b = d->findChild<QPushButton*>(QString::fromLatin1(button));
            ASSERT_NE(b, nullptr) << button;
            EXPECT_LE(b->mapTo(d, QPoint(b->width(), 0)).x(), d->width()) << button;
        }
        d->CloseWithoutAsking();
    }
}

TEST_F(DialogLayoutTest, ALongTitleNeverMakesADialogWiderThanTheScreen) {
    Start({"Play", "Phone Message", "Dial and Conference"});
    // A title of 100 000 characters: its own dialog shows it, every other lists it as a
    // destination.
    const std::string longTitle(100000, 'x');
    Doc().RenameModule(ModuleOf("Play"), QString::fromStdString(longTitle));
    ASSERT_EQ(Doc().Module(ModuleOf(longTitle)).Title, longTitle);
    for (const std::string& title :
         {longTitle, std::string("Phone Message"), std::string("Dial and Conference")}) {
        SCOPED_TRACE(title.substr(0, 20));
        ModuleDialog* d = Open(title);
        ASSERT_NE(d, nullptr);
        QCoreApplication::processEvents();
        EXPECT_LE(d->frameGeometry().width(), Available().width());
        EXPECT_LE(d->frameGeometry().height(), Available().height());
        auto* ok = d->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        EXPECT_LE(ok->mapTo(d, QPoint(ok->width(), 0)).x(), d->width());
        d->CloseWithoutAsking();
    }
}

} // namespace
} // namespace ry::test
