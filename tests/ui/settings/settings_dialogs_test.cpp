// The settings dialogs: script properties, the PBX strings of RY.INI and the CT Media
// scripts. What each shows, what Apply and OK store, and that Cancel stores nothing.

#include "designer_fixture.h"

#include "base/help_window.h"
#include "base/tab_chain.h"
#include "base/text_codec.h"
#include "settings/profile_file.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <optional>
#include <string>

namespace ry::test {
namespace {

const QByteArray kScript =
    QByteArrayLiteral("Version=5.0\r\n"
                      "StartModule=Menu\r\n"
                      "RunAtHangup=/scripts/survey.rys\r\n"
                      "StartWithoutAnswer=0\r\n"
                      "CtmAsiName=asiOffice\r\n"
                      "\r\n"
                      "[Welcome]\r\nType=Play\r\nTxt=Hi\r\nPosition=10,10\r\n"
                      "\r\n"
                      "[Menu]\r\nType=Play\r\nTxt=Pick\r\nPosition=10,150\r\n"
                      "\r\n"
                      "[Bye]\r\nType=Play\r\nTxt=Bye\r\nPosition=10,300\r\n");

const QByteArray kIni = QByteArrayLiteral("[PBX]\r\n"
                                          "Transfer_Prefix=&F\r\n"
                                          "MsgLampOnTrigger=FIRSTNEW\r\n"
                                          "HangupOnDtmf=D\r\n"
                                          "TransferControl_Modem=AT\r\n"
                                          "TransferControl_TelBoards=Generate\r\n"
                                          "\r\n"
                                          "[CTMedia]\r\n"
                                          "; scripts the engine loads\r\n"
                                          "LoadScript1=/scripts/one.rys\r\n"
                                          "LoadScript2=/scripts/two.rys\r\n"
                                          "LoadScript5=/scripts/five.rys\r\n");

class SettingsDialogs : public DesignerTest {
protected:
    // The main window on a program folder holding `ini` as RY.INI, with kScript open.
    void Start(const QByteArray& ini = kIni) {
        iniPath_ = WriteFile(QStringLiteral("RY.INI"), ini);
        scriptPath_ = WriteFile(QStringLiteral("office.rys"), kScript);
        MakeMain();
        Main().Documents().OpenScript(scriptPath_);
        ASSERT_EQ(Active()->Caption(), scriptPath_);
    }
    // Opens a dialog from its menu entry; `handler` fills it in as the user would.
    void Open(const QString& menu, std::function<void(QDialog&)> handler) {
        bool ran = false;
        prompter_.dialogs.push_back([&](QDialog& dialog) {
            ran = true;
            handler(dialog);
            return dialog.result();
        });
        Choose(menu);
        EXPECT_TRUE(ran) << menu.toStdString();
        prompter_.dialogs.clear();
    }
    QByteArray IniBytes() const {
        QFile file(iniPath_);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A key of RY.INI as the file holds it; nothing when the key is missing.
    std::optional<std::string> Ini(std::string_view section, std::string_view key) const {
        const std::string text = IniBytes().toStdString();
        auto value = FindProfileValue(text, section, key);
        return value ? std::optional<std::string>(std::string(*value)) : std::nullopt;
    }

    template <class T> static T& Child(QDialog& dialog, const QString& name) {
        T* child = dialog.findChild<T*>(name);
        if (!child)
            ADD_FAILURE() << "no " << name.toStdString();
        return *child;
    }
    static void Click(QDialog& dialog, const char* button) {
        Child<QPushButton>(dialog, QString::fromLatin1(button)).click();
    }
    static bool ApplyEnabled(QDialog& dialog) {
        return Child<QPushButton>(dialog, QStringLiteral("cmdApply")).isEnabled();
    }

    QString iniPath_;
    QString scriptPath_;
};

// ---- Opening from the Edit menu.

TEST_F(SettingsDialogs, EachOpensModalAndCentredFromTheEditMenu) {
    Start();
    const struct {
        const char* menu;
        const char* name;
        const char* caption;
    } cases[] = {
        {"mnuEdit(4)", "frmDocProp", "Script Properties"},
        {"mnuEdit(5)", "frmPbxConfig", "PBX Strings"},
        {"mnuEdit(6)", "frmPropCtMedia", "CT Media Options"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.menu);
        Open(QString::fromLatin1(c.menu), [&](QDialog& dialog) {
            EXPECT_EQ(dialog.objectName(), QString::fromLatin1(c.name));
            EXPECT_EQ(dialog.windowTitle(), QString::fromLatin1(c.caption));
            EXPECT_TRUE(dialog.isModal());
            EXPECT_FALSE(ApplyEnabled(dialog));
            dialog.show();
            const QPoint centre = dialog.screen()->availableGeometry().center();
            EXPECT_LE((dialog.frameGeometry().center() - centre).manhattanLength(), 2);
            dialog.reject();
        });
    }

    // The CT Media entry follows the PBX entry, and no two entries share a shortcut.
    QAction* ctMedia = Menu(QStringLiteral("mnuEdit(6)"));
    EXPECT_EQ(ctMedia->text(), QStringLiteral("CT &Media Scripts"));
    QList<QAction*> edit;
    for (QMenu* menu : Main().findChildren<QMenu*>())
        if (menu->actions().contains(ctMedia))
            edit = menu->actions();
    const qsizetype pbx = edit.indexOf(Menu(QStringLiteral("mnuEdit(5)")));
    ASSERT_GE(pbx, 0);
    EXPECT_EQ(edit.value(pbx + 1), ctMedia);
    QMap<QKeySequence, QString> taken;
    for (QAction* action : Main().findChildren<QAction*>()) {
        if (action->shortcut().isEmpty() || !action->objectName().startsWith(QLatin1String("mnu")))
            continue;
        EXPECT_FALSE(taken.contains(action->shortcut()))
            << action->objectName().toStdString() << " and "
            << taken.value(action->shortcut()).toStdString();
        taken.insert(action->shortcut(), action->objectName());
    }
}

TEST_F(SettingsDialogs, HelpAndF1OpenTheDialogsPageOfTheManualWhichStaysUsable) {
    Start();
    const struct {
        const char* menu;
        const char* page;
    } cases[] = {
        {"mnuEdit(4)", "script-properties.html"},
        {"mnuEdit(5)", "pbx-strings.html"},
        {"mnuEdit(6)", "ct-media.html"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.menu);
        WriteFile(QStringLiteral("help/") + QLatin1String(c.page), "<html/>");
        Open(QString::fromLatin1(c.menu), [&](QDialog& dialog) {
            // Modal to its window only: the manual, a window of its own, takes input beside it.
            EXPECT_EQ(dialog.windowModality(), Qt::WindowModal);
            dialog.show();
            Click(dialog, "cmdHelp");
            HelpWindow* help = D().Programs().OpenHelpWindow();
            ASSERT_NE(help, nullptr);
            EXPECT_EQ(help->CurrentPage(), QLatin1String(c.page));
            EXPECT_FALSE(dialog.isAncestorOf(help));
            help->close();
            // F1 is a shortcut of the dialog's window, which has the keyboard.
            QApplication::setActiveWindow(&dialog);
            QTest::keyClick(&dialog, Qt::Key_F1);
            EXPECT_TRUE(help->isVisible());
            EXPECT_EQ(help->CurrentPage(), QLatin1String(c.page));
            help->close();
            // Tab goes through the fields, then OK, Cancel, Apply and Help.
            QStringList last;
            for (QWidget* w : TabChain(dialog).mid(TabChain(dialog).size() - 4))
                last << w->objectName();
            EXPECT_EQ(last, QStringList({"cmdOK", "cmdCancel", "cmdApply", "cmdHelp"}));
            dialog.reject();
        });
        EXPECT_TRUE(prompter_.messages.empty()) << prompter_.MessageTexts().join('|').toStdString();
    }
}

// ---- Cancel.

TEST_F(SettingsDialogs, CancelLeavesRyIniAndTheScriptAsTheyWere) {
    Start();
    const struct {
        const char* menu;
        std::function<void(FakePrompter&, QDialog&)> edit;
    } cases[] = {
        {"mnuEdit(4)",
         [](FakePrompter&, QDialog& d) {
             Child<QComboBox>(d, QStringLiteral("cmbStartModule")).setCurrentIndex(2);
             Child<QLineEdit>(d, QStringLiteral("txtScriptAfterCall")).setText(QStringLiteral("x"));
             Child<QCheckBox>(d, QStringLiteral("chkRunBeforeAnswer")).setChecked(true);
         }},
        {"mnuEdit(5)",
         [](FakePrompter&, QDialog& d) {
             for (QLineEdit* box : d.findChildren<QLineEdit*>())
                 box->setText(QStringLiteral("changed"));
             Child<QComboBox>(d, QStringLiteral("cmbLampOnSelection")).setCurrentIndex(2);
             Child<QComboBox>(d, QStringLiteral("cmbLampOffSelection")).setCurrentIndex(3);
         }},
        {"mnuEdit(6)",
         [](FakePrompter& prompter, QDialog& d) {
             auto& list = Child<QListWidget>(d, QStringLiteral("listScripts"));
             list.setCurrentRow(0);
             Click(d, "cmdDelete");
             prompter.files = {QStringLiteral("/scripts/added.rys")};
             Click(d, "cmdAddScript");
             QTest::keyClicks(&Child<QLineEdit>(d, QStringLiteral("txtCtmAsi")),
                              QStringLiteral("X"));
         }},
    };
    const QByteArray before = IniBytes();
    const ScriptRecord record = Doc().Record();
    ASSERT_FALSE(record.Modified);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.menu);
        Open(QString::fromLatin1(c.menu), [&](QDialog& dialog) {
            c.edit(prompter_, dialog);
            EXPECT_TRUE(ApplyEnabled(dialog));
            Click(dialog, "cmdCancel");
        });
        EXPECT_EQ(IniBytes(), before);
        const ScriptRecord& now = Doc().Record();
        EXPECT_EQ(now.StartModule, record.StartModule);
        EXPECT_EQ(now.RunAtHangup, record.RunAtHangup);
        EXPECT_EQ(now.StartWithoutAnswer, record.StartWithoutAnswer);
        EXPECT_EQ(now.CtmAsiName, record.CtmAsiName);
        EXPECT_FALSE(now.Modified);
        EXPECT_EQ(D().Settings().HangupOnDtmf, "D");
    }
}

// ---- Script properties.

TEST_F(SettingsDialogs, ScriptPropertiesShowsTheScriptAndOkStoresEveryField) {
    Start();
    QSignalSpy modified(&Doc(), &ScriptDocument::modifiedChanged);
    Open(QStringLiteral("mnuEdit(4)"), [&](QDialog& dialog) {
        auto& start = Child<QComboBox>(dialog, QStringLiteral("cmbStartModule"));
        QStringList titles;
        for (int i = 0; i < start.count(); ++i)
            titles << start.itemText(i);
        EXPECT_EQ(titles, (QStringList{QStringLiteral("Welcome"), QStringLiteral("Menu"),
                                       QStringLiteral("Bye")}));
        EXPECT_EQ(start.currentText(), QStringLiteral("Menu"));
        auto& after = Child<QLineEdit>(dialog, QStringLiteral("txtScriptAfterCall"));
        EXPECT_EQ(after.text(), QStringLiteral("/scripts/survey.rys"));
        auto& early = Child<QCheckBox>(dialog, QStringLiteral("chkRunBeforeAnswer"));
        EXPECT_FALSE(early.isChecked());

        start.setCurrentIndex(2);
        after.setText(QStringLiteral("  /scripts/goodbye.rys "));
        early.setChecked(true);
        Click(dialog, "cmdOK");
    });
    const ScriptRecord& s = Doc().Record();
    EXPECT_EQ(s.StartModule, "Bye");
    EXPECT_EQ(s.RunAtHangup, "/scripts/goodbye.rys");
    EXPECT_TRUE(s.StartWithoutAnswer);
    EXPECT_TRUE(s.Modified);
    ASSERT_EQ(modified.size(), 1);
    EXPECT_EQ(modified.first().at(0).toBool(), true);
}

TEST_F(SettingsDialogs, ScriptPropertiesEveryFieldEnablesApply) {
    Start();
    const struct {
        const char* field;
        std::function<void(QDialog&)> edit;
        std::function<void(const ScriptRecord&)> stored;
    } cases[] = {
        {"start module",
         [](QDialog& d) {
             Child<QComboBox>(d, QStringLiteral("cmbStartModule")).setCurrentIndex(0);
         },
         [](const ScriptRecord& s) { EXPECT_EQ(s.StartModule, "Welcome"); }},
        {"after-call script",
         [](QDialog& d) {
             QTest::keyClicks(&Child<QLineEdit>(d, QStringLiteral("txtScriptAfterCall")),
                              QStringLiteral("x"));
         },
         [](const ScriptRecord& s) { EXPECT_EQ(s.RunAtHangup, "/scripts/survey.rysx"); }},
        {"start without answering",
         [](QDialog& d) { Child<QCheckBox>(d, QStringLiteral("chkRunBeforeAnswer")).click(); },
         [](const ScriptRecord& s) { EXPECT_TRUE(s.StartWithoutAnswer); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.field);
        Doc().Record().Modified = false;
        Open(QStringLiteral("mnuEdit(4)"), [&](QDialog& dialog) {
            ASSERT_FALSE(ApplyEnabled(dialog));
            c.edit(dialog);
            ASSERT_TRUE(ApplyEnabled(dialog));
            Click(dialog, "cmdApply");
            EXPECT_FALSE(ApplyEnabled(dialog));
            c.stored(Doc().Record());
            EXPECT_TRUE(Doc().Record().Modified);
            Click(dialog, "cmdCancel");
        });
    }
}

TEST_F(SettingsDialogs, AStartModuleThatNoLongerExistsSelectsNothing) {
    Start();
    Doc().Record().StartModule = "Gone";
    Open(QStringLiteral("mnuEdit(4)"), [&](QDialog& dialog) {
        EXPECT_EQ(Child<QComboBox>(dialog, QStringLiteral("cmbStartModule")).currentIndex(), -1);
        Click(dialog, "cmdOK");
    });
    EXPECT_EQ(Doc().Record().StartModule, "");
    EXPECT_TRUE(Doc().Record().Modified);
}

TEST_F(SettingsDialogs, SelectReplacesTheAfterCallScriptAndACancelKeepsIt) {
    Start();
    Open(QStringLiteral("mnuEdit(4)"), [&](QDialog& dialog) {
        auto& after = Child<QLineEdit>(dialog, QStringLiteral("txtScriptAfterCall"));
        prompter_.files = {QStringLiteral("/scripts/chosen.rys")};
        Click(dialog, "cmdScriptSelect");
        EXPECT_EQ(after.text(), QStringLiteral("/scripts/chosen.rys"));
        ASSERT_EQ(prompter_.fileRequests.size(), 1u);
        EXPECT_EQ(prompter_.fileRequests[0].kind, FileRequest::Open);
        EXPECT_EQ(prompter_.fileRequests[0].title, QStringLiteral("Select Ryvane Script"));
        // A cancelled file dialog loses nothing typed in the field.
        after.setText(QStringLiteral("typed.rys"));
        Click(dialog, "cmdScriptSelect");
        EXPECT_EQ(after.text(), QStringLiteral("typed.rys"));
        Click(dialog, "cmdOK");
    });
    EXPECT_EQ(Doc().Record().RunAtHangup, "typed.rys");
}

// ---- PBX strings.

// Every text box and the key of section "PBX" it edits.
const std::pair<int, const char*> kPbxStrings[] = {
    {0, "Transfer_Prefix"},
    {1, "Transfer_AnnounceAccept"},
    {2, "Transfer_AnnounceDecline"},
    {3, "Conference_Prefix"},
    {4, "Conference_BlindSuffix"},
    {5, "Conference_AnnounceAccept"},
    {6, "Conference_AnnounceDecline"},
    {11, "CmdMsgLampOn"},
    {12, "CmdMsgLampOff"},
    {21, "DialMsgLampOnPrefix"},
    {22, "DialMsgLampOnSuffix"},
    {23, "DialMsgLampOffPrefix"},
    {24, "DialMsgLampOffSuffix"},
    {25, "DialMsgLampLineOutSelect"},
};

QString PbxBox(int index) {
    return QStringLiteral("txtPbxString(%1)").arg(index);
}

TEST_F(SettingsDialogs, PbxEveryBoxShowsItsKeyAndApplyWritesItAsTyped) {
    QByteArray ini = "[PBX]\r\nHangupOnDtmf=D\r\nMsgLampOnTrigger=FIRSTNEW\r\n"
                     "MsgLampOffTrigger=ONLOGOUT\r\n";
    for (const auto& [index, key] : kPbxStrings)
        ini += QByteArray(key) + "=old" + QByteArray::number(index) + "\r\n";
    Start(ini);

    Open(QStringLiteral("mnuEdit(5)"), [&](QDialog& dialog) {
        for (const auto& [index, key] : kPbxStrings) {
            auto& box = Child<QLineEdit>(dialog, PbxBox(index));
            EXPECT_EQ(box.text(), QStringLiteral("old%1").arg(index)) << key;
            box.setText(index == 3 ? QString() : QStringLiteral("*%1#,").arg(index));
        }
        auto& hangup = Child<QLineEdit>(dialog, QStringLiteral("txtHangupOnDtmfKey"));
        EXPECT_EQ(hangup.text(), QStringLiteral("D"));
        hangup.setText(QStringLiteral("#"));
        Child<QComboBox>(dialog, QStringLiteral("cmbLampOnSelection")).setCurrentIndex(2);
        Click(dialog, "cmdApply");

        // Apply has written everything; the dialog stays open.
        for (const auto& [index, key] : kPbxStrings)
            EXPECT_EQ(Ini("PBX", key),
                      index == 3 ? std::string() : "*" + std::to_string(index) + "#,")
                << key;
        EXPECT_EQ(Ini("PBX", "HangupOnDtmf"), "#");
        EXPECT_EQ(D().Settings().HangupOnDtmf, "#");
        EXPECT_EQ(Ini("PBX", "MsgLampOnTrigger"), "DISABLE");
        EXPECT_EQ(Ini("PBX", "MsgLampOffTrigger"), "ONLOGOUT");
        Click(dialog, "cmdCancel");
    });
    EXPECT_EQ(Ini("PBX", "HangupOnDtmf"), "#");
}

TEST_F(SettingsDialogs, PbxLampListsShowTheStoredRuleAndWriteItsValue) {
    Start();
    const struct {
        const char* on; // nullptr: the key is missing
        const char* off;
        int onShown, offShown;
        const char* onWritten;
        const char* offWritten;
    } cases[] = {
        {"FIRSTNEW", "ONLOGIN", 1, 1, "FIRSTNEW", "ONLOGIN"},
        {"DISABLE", "DISABLE", 2, 3, "DISABLE", "DISABLE"},
        {"ALLNEW", "ONLOGOUT", 0, 2, "ALLNEW", "ONLOGOUT"},
        // A value the list does not know shows, and is written, as the first entry.
        {"SOMETIMES", "LATER", 0, 0, "ALLNEW", "NONEWMSGS"},
        {nullptr, nullptr, 0, 0, "ALLNEW", "NONEWMSGS"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.on ? c.on : "(missing)");
        QByteArray ini = "[PBX]\r\n";
        if (c.on)
            ini +=
                QByteArray("MsgLampOnTrigger=") + c.on + "\r\nMsgLampOffTrigger=" + c.off + "\r\n";
        WriteFile(QStringLiteral("RY.INI"), ini);
        Open(QStringLiteral("mnuEdit(5)"), [&](QDialog& dialog) {
            auto& on = Child<QComboBox>(dialog, QStringLiteral("cmbLampOnSelection"));
            auto& off = Child<QComboBox>(dialog, QStringLiteral("cmbLampOffSelection"));
            EXPECT_EQ(on.currentIndex(), c.onShown);
            EXPECT_EQ(off.currentIndex(), c.offShown);
            if (c.onShown == 1) {
                EXPECT_EQ(on.currentText(), QStringLiteral("When the first new message arrives."));
            }
            Click(dialog, "cmdOK");
        });
        EXPECT_EQ(Ini("PBX", "MsgLampOnTrigger"), c.onWritten);
        EXPECT_EQ(Ini("PBX", "MsgLampOffTrigger"), c.offWritten);
    }
}

TEST_F(SettingsDialogs, PbxTheTransferNoticeShowsUnlessBothKeysSayGenerate) {
    Start();
    const struct {
        const char* modem;
        const char* boards;
        bool shown;
    } cases[] = {
        {"Generate", "Generate", false},
        {"Generate", "TAPI", true},
        {"AT", "Generate", true},
        {"AT", "TAPI", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.modem) + " " + c.boards);
        WriteFile(QStringLiteral("RY.INI"),
                  QByteArray("[PBX]\r\nTransferControl_Modem=") + c.modem +
                      "\r\nTransferControl_TelBoards=" + c.boards + "\r\n");
        Open(QStringLiteral("mnuEdit(5)"), [&](QDialog& dialog) {
            auto& notice = Child<QLabel>(dialog, QStringLiteral("lblSettNotUsed"));
            auto& button = Child<QPushButton>(dialog, QStringLiteral("cmdSetGenerate"));
            EXPECT_EQ(!notice.isHidden(), c.shown);
            EXPECT_EQ(!button.isHidden(), c.shown);
            EXPECT_EQ(button.isEnabled(), c.shown);
            if (c.shown) {
                EXPECT_EQ(notice.text(),
                          QStringLiteral("Note: Ryvane has detected that the above settings are "
                                         "NOT used by Ryvane to perform call transfers. Current "
                                         "setting is: ") +
                              QLatin1String(c.modem) + QStringLiteral(" / ") +
                              QLatin1String(c.boards));
            }
            dialog.reject();
        });
    }
}

TEST_F(SettingsDialogs, PbxSetGenerateWritesAtOnceAndAloneEvenWhenCancelled) {
    Start();
    Open(QStringLiteral("mnuEdit(5)"), [&](QDialog& dialog) {
        Child<QLineEdit>(dialog, PbxBox(0)).setText(QStringLiteral("not kept"));
        Click(dialog, "cmdSetGenerate");
        EXPECT_EQ(Ini("PBX", "TransferControl_Modem"), "Generate");
        EXPECT_EQ(Ini("PBX", "TransferControl_TelBoards"), "Generate");
        EXPECT_EQ(Child<QLabel>(dialog, QStringLiteral("lblSettNotUsed")).text(),
                  QStringLiteral("RY.INI's PBX / TransferControl settings updated to "
                                 "\"Generate\". You will need to restart Ryvane before the new "
                                 "settings will take effect."));
        auto& button = Child<QPushButton>(dialog, QStringLiteral("cmdSetGenerate"));
        EXPECT_TRUE(button.isHidden());
        EXPECT_FALSE(button.isEnabled());
        Click(dialog, "cmdCancel");
    });
    EXPECT_EQ(Ini("PBX", "TransferControl_Modem"), "Generate");
    EXPECT_EQ(Ini("PBX", "Transfer_Prefix"), "&F");
    EXPECT_EQ(Ini("PBX", "Conference_Prefix"), std::nullopt);
}

// ---- CT Media scripts.

QStringList Entries(QDialog& dialog) {
    QStringList out;
    auto* list = dialog.findChild<QListWidget*>(QStringLiteral("listScripts"));
    for (int i = 0; list && i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

TEST_F(SettingsDialogs, CtMediaWritesTheListWithoutGapsAndEmptiesTheRest) {
    Start();
    Open(QStringLiteral("mnuEdit(6)"), [&](QDialog& dialog) {
        EXPECT_EQ(Entries(dialog), (QStringList{QStringLiteral("/scripts/one.rys"),
                                                QStringLiteral("/scripts/two.rys"),
                                                QStringLiteral("/scripts/five.rys")}));
        auto& asi = Child<QLineEdit>(dialog, QStringLiteral("txtCtmAsi"));
        EXPECT_EQ(asi.text(), QStringLiteral("asiOffice"));
        asi.selectAll();
        QTest::keyClicks(&asi, QStringLiteral("asiSales "));
        EXPECT_TRUE(ApplyEnabled(dialog));
        Click(dialog, "cmdOK");
    });
    const char* expected[] = {"/scripts/one.rys", "/scripts/two.rys", "/scripts/five.rys"};
    for (int n = 1; n <= 20; ++n) {
        SCOPED_TRACE(n);
        EXPECT_EQ(Ini("CTMedia", "LoadScript" + std::to_string(n)), n <= 3 ? expected[n - 1] : "");
    }
    EXPECT_EQ(Doc().Record().CtmAsiName, "asiSales ");
    EXPECT_TRUE(Doc().Record().Modified);
}

TEST_F(SettingsDialogs, CtMediaAddAndDelete) {
    Start();
    Open(QStringLiteral("mnuEdit(6)"), [&](QDialog& dialog) {
        auto& list = Child<QListWidget>(dialog, QStringLiteral("listScripts"));
        Click(dialog, "cmdDelete"); // nothing selected
        EXPECT_EQ(list.count(), 3);
        EXPECT_FALSE(ApplyEnabled(dialog));

        list.setCurrentRow(1);
        Click(dialog, "cmdDelete");
        EXPECT_TRUE(ApplyEnabled(dialog));
        Click(dialog, "cmdApply");

        prompter_.files = {QStringLiteral("/scripts/new.rys")};
        Click(dialog, "cmdAddScript");
        EXPECT_EQ(prompter_.fileRequests.back().title, QStringLiteral("Select Ryvane Script"));
        EXPECT_TRUE(ApplyEnabled(dialog));
        Click(dialog, "cmdAddScript"); // cancelled
        EXPECT_EQ(Entries(dialog), (QStringList{QStringLiteral("/scripts/one.rys"),
                                                QStringLiteral("/scripts/five.rys"),
                                                QStringLiteral("/scripts/new.rys")}));
        Click(dialog, "cmdOK");
    });
    EXPECT_EQ(Ini("CTMedia", "LoadScript2"), "/scripts/five.rys");
    EXPECT_EQ(Ini("CTMedia", "LoadScript3"), "/scripts/new.rys");
    EXPECT_EQ(Ini("CTMedia", "LoadScript4"), "");
}

// RY.INI holds Windows-1252: a name inside it is written so, a name outside it is refused.
TEST_F(SettingsDialogs, CtMediaTakesOnlyNamesRyIniCanHold) {
    Start();
    Open(QStringLiteral("mnuEdit(6)"), [&](QDialog& dialog) {
        prompter_.files = {QStringLiteral("/scripts/日本.rys"),
                           QStringLiteral("/scripts/café.rys")};
        Click(dialog, "cmdAddScript");
        EXPECT_TRUE(prompter_.messages.back().text.contains(
            QStringLiteral("characters that RY.INI cannot hold")));
        EXPECT_EQ(Entries(dialog).size(), 3);
        Click(dialog, "cmdAddScript");
        EXPECT_EQ(Entries(dialog).size(), 4);
        Click(dialog, "cmdOK");
    });
    EXPECT_EQ(Ini("CTMedia", "LoadScript4"), "/scripts/caf\xe9.rys");
}

TEST_F(SettingsDialogs, CtMediaTakesNoMoreScriptsThanTheEngineReads) {
    QByteArray ini = "[CTMedia]\r\n";
    for (int n = 1; n <= 20; ++n)
        ini += "LoadScript" + QByteArray::number(n) + "=/s/" + QByteArray::number(n) + ".rys\r\n";
    Start(ini);
    Open(QStringLiteral("mnuEdit(6)"), [&](QDialog& dialog) {
        auto& add = Child<QPushButton>(dialog, QStringLiteral("cmdAddScript"));
        EXPECT_EQ(Entries(dialog).size(), 20);
        EXPECT_FALSE(add.isEnabled());
        Child<QListWidget>(dialog, QStringLiteral("listScripts")).setCurrentRow(19);
        Click(dialog, "cmdDelete");
        EXPECT_TRUE(add.isEnabled());
        Click(dialog, "cmdCancel");
    });
}

} // namespace
} // namespace ry::test
