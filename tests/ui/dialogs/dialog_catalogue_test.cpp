// Every module type opens its own dialog, and every field of every dialog is a change that
// Apply keeps and closing asks about.

#include "dialog_fixture.h"
#include "dialogs/paths_panel.h"
#include "script/module_types.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QRadioButton>
#include <QTabWidget>

namespace ry::test {
namespace {

using CatalogueTest = DialogTest;

struct Form {
    std::string_view type;
    const char* name;
    std::vector<const char*> tabs; // "Paths" last unless the module has no paths
};

const std::vector<Form>& Forms() {
    static const std::vector<Form> forms = {
        {"Play", "frmDbiPlay", {"Play", "Paths"}},
        {"Record", "frmDbiRec", {"Record ", "Paths"}},
        {"Get Numbers", "frmDbiGetNbrs", {"Get Numbers", "Sound Files", "Paths"}},
        {"Say Numbers", "frmDbiSayNbrs", {"Say Numbers", "Paths"}},
        {"Run Program", "frmDbiRun", {"Run Program", "Paths"}},
        {"Database Query", "frmDbiDbQuery", {"Database Query", "Paths"}},
        {"Evaluate", "frmDbiEvalExpr", {"Evaluate Expression", "Paths"}},
        {"Send Email", "frmDbiEmail", {"Email", "Misc", "Send Method 1", "Send Method 2", "Paths"}},
        {"Time Switch", "frmDbiTimeSwitch", {"Time Switch", "Paths"}},
        {"TTS", "frmDbiDde", {"DDE Details", "Paths"}},
        {"Transfer Call",
         "frmDbiXfer",
         {"Transfer Call ", "Dial and Conference", "Announce Messages", "Paths"}},
        {"Phone Message",
         "frmDbiDialout",
         {"Make Call ", "Alternative Contact", "Second Alternative", "Paths"}},
        {"Dial and Conference", "frmDbiDialAndConferece", {"Make Call ", "Paths"}},
        {"Run VB Script", "frmDbiVbScript", {"Run VB Script", "Play", "Paths"}},
        {"DDE", "frmDbiDde", {"DDE Details", "Paths"}},
        {"Pager Message", "frmDbiPage", {"Pager Details", "Paths"}},
        {"Hangup the Call", "frmDbiHangupCall", {"Hangup Call"}},
        {"Fax", "frmDbiDde", {"DDE Details", "Paths"}}, // a type this designer does not know
    };
    return forms;
}

TEST_F(CatalogueTest, EveryTypeOpensItsOwnDialog) {
    ASSERT_EQ(Forms().size(), kAllModuleTypes.size() + 1);
    for (const Form& form : Forms())
        Add(form.type, form.type);
    Show();
    for (const Form& form : Forms()) {
        SCOPED_TRACE(std::string(form.type));
        ModuleDialog* d = Open(form.type);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->objectName(), form.name);
        QStringList tabs;
        for (int i = 0; i < d->Tabs().count(); ++i)
            tabs << d->Tabs().tabText(i);
        QStringList expected;
        for (const char* tab : form.tabs)
            expected << tab;
        EXPECT_EQ(tabs, expected);
        EXPECT_EQ(d->Paths() != nullptr, expected.last() == "Paths");
        EXPECT_EQ(d->CurrentTab(), 0);
        EXPECT_FALSE(d->IsDirty());
        d->close();
    }
}

// The fields a user edits: named controls of the type's pages, not the paths panel's.
std::vector<QWidget*> TypeFields(ModuleDialog* d) {
    std::vector<QWidget*> out;
    for (QWidget* w : d->findChildren<QWidget*>()) {
        const QString name = w->objectName();
        if (name.isEmpty() || name.startsWith("qt_") || name == "txtModTitle")
            continue;
        if (d->Paths() && (w == d->Paths() || d->Paths()->isAncestorOf(w)))
            continue;
        if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) ||
            qobject_cast<QComboBox*>(w) || qobject_cast<QCheckBox*>(w) ||
            qobject_cast<QRadioButton*>(w) || qobject_cast<QDateTimeEdit*>(w))
            out.push_back(w);
    }
    return out;
}

// Changes what the field holds, as the user would.
void Edit(QWidget* w) {
    if (auto* line = qobject_cast<QLineEdit*>(w))
        line->setText(line->text() + "9");
    else if (auto* box = qobject_cast<QPlainTextEdit*>(w))
        box->setPlainText(box->toPlainText() + "x");
    else if (auto* list = qobject_cast<QComboBox*>(w))
        list->setCurrentIndex(list->currentIndex() == 0 ? 1 : 0);
    else if (auto* option = qobject_cast<QRadioButton*>(w))
        option->setChecked(!option->isChecked());
    else if (auto* check = qobject_cast<QCheckBox*>(w))
        check->setChecked(!check->isChecked());
    else if (auto* picker = qobject_cast<QDateTimeEdit*>(w))
        picker->setDateTime(picker->dateTime().addSecs(60));
}

TEST_F(CatalogueTest, EveryFieldEditIsAChangeToApply) {
    for (const Form& form : Forms())
        Add(form.type, form.type);
    Show();
    for (const Form& form : Forms()) {
        ModuleDialog* d = Open(form.type);
        ASSERT_NE(d, nullptr);
        for (QWidget* field : TypeFields(d)) {
            // An option already chosen changes nothing when chosen again.
            if (auto* option = qobject_cast<QRadioButton*>(field); option && option->isChecked())
                continue;
            Edit(field);
            EXPECT_TRUE(d->IsDirty()) << form.name << " " << field->objectName().toStdString();
            d->Apply();
        }
        d->close();
        EXPECT_TRUE(prompter_.messages.empty()) << form.name;
    }
}

} // namespace
} // namespace ry::test
