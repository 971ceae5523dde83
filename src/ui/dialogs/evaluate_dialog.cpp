#include "dialogs/evaluate_dialog.h"

#include "base/text_codec.h"
#include "script/field_text.h"
#include "script/text.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace ry {

EvaluateDialog::EvaluateDialog(Designer& designer, const ModuleDialogSetup& setup,
                               const ModuleDialogForm& form)
    : ModuleDialog(designer, setup, form) {
    QWidget* page = AddPage(QStringLiteral("Evaluate Expression"));
    QGridLayout* grid = PageGrid(page);
    grid->addWidget(new QLabel(QStringLiteral("Expression to Evaluate :"), page), 0, 0);
    expression_ = MakeTextBox(QStringLiteral("txtSoundFile"), page, true);
    grid->addWidget(expression_, 1, 0);
    grid->setRowStretch(1, 1);
    grid->addWidget(
        new QLabel(QStringLiteral("Assign result to the following Result Variable :"), page), 2, 0);
    resultVariable_ =
        MakeLineEdit(QStringLiteral("txtNewRV"), page, QStringLiteral("Result Variable name"));
    SetFixedPitch(resultVariable_);
    grid->addWidget(resultVariable_, 3, 0);
    storeInLog_ = new QCheckBox(QStringLiteral("Store results in log file"), page);
    storeInLog_->setObjectName(QStringLiteral("chkStoreRVinLog"));
    WatchEdits(storeInLog_);
    grid->addWidget(storeInLog_, 4, 0);
}

void EvaluateDialog::LoadFields(const ModuleRecord& m) {
    expression_->setPlainText(FromStored(m.PlayFileSlot(1)));
    resultVariable_->setText(ToQt(m.ExprNewRV));
    storeInLog_->setChecked(m.ExprStoreRV != 0);
}

void EvaluateDialog::ApplyFields(ModuleRecord& m) {
    // The engine reads the expression from one line: the lines typed are joined as they
    // stand, and the box shows the joined text.
    m.PlayFileSlot(1) = FoldLineBreaks(ToStored(expression_->toPlainText()), "");
    const QString joined = FromStored(m.PlayFileSlot(1));
    if (joined != expression_->toPlainText())
        expression_->setPlainText(joined);
    const std::string variable(Trim(FromQt(resultVariable_->text())));
    if (ToQt(variable) != resultVariable_->text())
        resultVariable_->setText(ToQt(variable));
    m.ExprNewRV = variable;
    m.ExprStoreRV = storeInLog_->isChecked() ? 1 : 0;
}

} // namespace ry
