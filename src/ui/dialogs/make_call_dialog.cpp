#include "dialogs/make_call_dialog.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "script/field_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ry {

MakeCallDialog::MakeCallDialog(Designer& designer, const ModuleDialogSetup& setup,
                               const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    const QString tabs[kContacts] = {QStringLiteral("Make Call "),
                                     QStringLiteral("Alternative Contact"),
                                     QStringLiteral("Second Alternative")};
    const QString frames[kContacts] = {QStringLiteral("Call Details"),
                                       QStringLiteral("Call Details - Alternative Contact"),
                                       QStringLiteral("Call Details - Second Alternative Contact")};
    for (int i = 0; i < kContacts; ++i) {
        Contact& c = contacts_[static_cast<size_t>(i)];
        QWidget* page = AddPage(tabs[i]);
        QGridLayout* grid = FramedGrid(page, frames[i]);
        QWidget* frame = grid->parentWidget();
        auto field = [&](int row, const QString& label, const char* name, const QString& tip) {
            grid->addWidget(new QLabel(label, frame), row, 0);
            QLineEdit* box = MakeLineEdit(Indexed(QString::fromLatin1(name), i), frame, tip);
            grid->addWidget(box, row, 1);
            return box;
        };
        c.phone = field(0, QStringLiteral("Phone :"), "txtPhone",
                        QStringLiteral("Telephone number to call"));
        c.welcome =
            AddFileRow(grid, 1, QStringLiteral("Welcome :"), Indexed(QStringLiteral("txtWelc"), i),
                       Indexed(QStringLiteral("Command1"), i), QStringLiteral("Select"))
                .file;
        c.welcome->setToolTip(QStringLiteral("Welcome message to play (optional)"));
        c.script = AddFileRow(grid, 2, QStringLiteral("Script/Wav :"),
                              Indexed(QStringLiteral("txtScript"), i),
                              Indexed(QStringLiteral("Command2"), i), QStringLiteral("Select"),
                              [this](const QString& current) {
                                  return this->designer().Files().SelectFile_Script(this, current);
                              })
                       .file;
        c.script->setToolTip(QStringLiteral("Ryvane script (.rys/.ryp)"));
        c.variables = field(3, QStringLiteral("Variables :"), "txtVariables",
                            QStringLiteral("Result Variables which can be used by that call"));
        c.lines = field(4, QStringLiteral("Lines Used :"), "txtLineSelection",
                        QStringLiteral("Leave blank to allow any of the lines to be used."));
        c.retries = field(5, QStringLiteral("Retries :"), "txtReplayCount", {});
        c.pause = field(6, QStringLiteral("Pause between redials :"), "txtPauseTime", {});
        grid->addWidget(new QLabel(QStringLiteral("minutes"), frame), 6, 2);
    }
}

void MakeCallDialog::LoadFields(const ModuleRecord& m) {
    for (size_t i = 0; i < contacts_.size(); ++i) {
        Contact& c = contacts_[i];
        c.phone->setText(ToQt(m.sDialPhone[i]));
        c.welcome->setText(ToQt(m.sDialWelc[i]));
        c.script->setText(ToQt(m.sDialScript[i]));
        c.variables->setText(ToQt(m.sDialVariables[i]));
        c.lines->setText(ToQt(m.sDialLineSelection[i]));
        c.retries->setText(QString::number(m.sDialRetry[i]));
        c.pause->setText(QString::number(m.sDialDelay[i]));
    }
}

void MakeCallDialog::ApplyFields(ModuleRecord& m) {
    for (size_t i = 0; i < contacts_.size(); ++i) {
        Contact& c = contacts_[i];
        m.sDialPhone[i] = FromQt(c.phone->text());
        m.sDialWelc[i] = FromQt(c.welcome->text());
        m.sDialScript[i] = FromQt(c.script->text());
        m.sDialVariables[i] = FromQt(c.variables->text());
        m.sDialLineSelection[i] = FromQt(c.lines->text());
        // A cleared box is no retries (no pause); text that is no number keeps the stored
        // value, which the box shows again, so what is shown is what the module holds.
        m.sDialRetry[i] = FieldInt16(FromQt(c.retries->text()), m.sDialRetry[i]);
        c.retries->setText(QString::number(m.sDialRetry[i]));
        m.sDialDelay[i] = FieldInt16(FromQt(c.pause->text()), m.sDialDelay[i]);
        c.pause->setText(QString::number(m.sDialDelay[i]));
    }
}

} // namespace ry
