#include "settings/doc_properties_dialog.h"

#include "base/designer.h"
#include "base/elided_combo_box.h"
#include "base/text_codec.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ry {

DocPropertiesDialog::DocPropertiesDialog(Designer& designer, DocumentWindow& window,
                                         QWidget* parent)
    : SettingsDialog(designer, QStringLiteral("frmDocProp"), QStringLiteral("Script Properties"),
                     parent),
      window_(&window), script_(window.Script()), startModule_(new ElidedComboBox(20)),
      scriptAfterCall_(new QLineEdit), select_(new QPushButton(QStringLiteral("&Select"))),
      runBeforeAnswer_(new QCheckBox(
          QStringLiteral("Start the script without answering the call. The decision to answer "
                         "the call can be made inside the script."))) {
    startModule_->setObjectName(QStringLiteral("cmbStartModule"));
    // As wide as the dialog gives it, whatever the longest title (ElidedComboBox): a title
    // of hundreds of characters would otherwise push the dialog, and its buttons, off the
    // screen.
    scriptAfterCall_->setObjectName(QStringLiteral("txtScriptAfterCall"));
    select_->setObjectName(QStringLiteral("cmdScriptSelect"));
    runBeforeAnswer_->setObjectName(QStringLiteral("chkRunBeforeAnswer"));
    select_->setAutoDefault(false);

    QVBoxLayout* page = AddPage(QStringLiteral("Script"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("Scripts start module:")), 0, 0);
    grid->addWidget(startModule_, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Script to run when call is finished:")), 1, 0);
    grid->addWidget(scriptAfterCall_, 1, 1);
    grid->addWidget(select_, 1, 2);
    grid->setColumnStretch(1, 1);
    page->addLayout(grid);
    page->addWidget(runBeforeAnswer_);
    page->addStretch(1);

    // The titles in chain order, the start module chosen as the loader finds it: its own
    // spelling first, else the first title that differs only in letter case. One that names
    // no module leaves nothing chosen.
    const ScriptTables& tables = designer.Tables();
    const ScriptRecord& s = tables.Script(script_);
    ForEachModule(tables, script_, [&](std::int16_t, const ModuleRecord& m) {
        startModule_->addItem(ToQt(m.Title));
    });
    const QString start = ToQt(s.StartModule);
    int chosen = startModule_->findText(start, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (chosen < 0)
        chosen = startModule_->findText(start, Qt::MatchFixedString);
    startModule_->setCurrentIndex(chosen);
    storedStart_ = start;
    shownStart_ = chosen;
    scriptAfterCall_->setText(ToQt(s.RunAtHangup));
    runBeforeAnswer_->setChecked(s.StartWithoutAnswer);

    // Every field enables Apply, not only the start module: all three are stored by Apply,
    // and a change the user cannot apply on its own would look ignored.
    connect(startModule_, &QComboBox::currentIndexChanged, this, &DocPropertiesDialog::EnableApply);
    connect(scriptAfterCall_, &QLineEdit::textChanged, this, &DocPropertiesDialog::EnableApply);
    connect(runBeforeAnswer_, &QCheckBox::toggled, this, &DocPropertiesDialog::EnableApply);
    connect(select_, &QPushButton::clicked, this, &DocPropertiesDialog::SelectScript);
}

void DocPropertiesDialog::SelectScript() {
    // The chosen file replaces the field; a cancelled dialog leaves what was typed there, as
    // every other Select button does.
    const QString chosen = designer().Files().SelectFile_Script(this, scriptAfterCall_->text());
    if (!chosen.isEmpty())
        scriptAfterCall_->setText(chosen);
}

void DocPropertiesDialog::Store() {
    // The document may have gone while the dialog was open; its script is then no longer
    // this dialog's to change.
    if (!window_ || window_->Script() != script_)
        return;
    // The start module as stored while the user chose no other: a spelling in another letter
    // case stays as the file has it rather than being taken for none.
    const int chosen = startModule_->currentIndex();
    const QString start =
        chosen >= 0 && chosen == shownStart_ ? storedStart_ : startModule_->currentText();
    window_->Document().SetScriptProperties(start, scriptAfterCall_->text().trimmed(),
                                            runBeforeAnswer_->isChecked());
}

void DocPropertiesDialog::Help() {
    designer().Programs().ShowHelp(kHelpTopic);
}

void ShowScriptProperties(Designer& designer, DocumentWindow& window) {
    DocPropertiesDialog dialog(designer, window, window.window());
    designer.Prompts().Exec(dialog);
}

} // namespace ry
