#include "settings/ct_media_dialog.h"

#include "base/companions.h"
#include "base/designer.h"
#include "base/help_topics.h"
#include "base/text_codec.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <string>
#include <string_view>

namespace ry {

namespace {

constexpr std::string_view kSection = "CTMedia";

std::string LoadScriptKey(int n) {
    return "LoadScript" + std::to_string(n);
}

QLabel* WrappedLabel(const QString& text) {
    auto* label = new QLabel(text);
    label->setWordWrap(true);
    return label;
}

} // namespace

CtMediaDialog::CtMediaDialog(Designer& designer, DocumentWindow& window, QWidget* parent)
    : SettingsDialog(designer, QStringLiteral("frmPropCtMedia"), QStringLiteral("CT Media Options"),
                     parent),
      window_(&window), script_(window.Script()), scripts_(new QListWidget),
      add_(new QPushButton(QStringLiteral("&Add..."))),
      delete_(new QPushButton(QStringLiteral("Delete"))), asi_(new QLineEdit) {
    scripts_->setObjectName(QStringLiteral("listScripts"));
    add_->setObjectName(QStringLiteral("cmdAddScript"));
    delete_->setObjectName(QStringLiteral("cmdDelete"));
    asi_->setObjectName(QStringLiteral("txtCtmAsi"));
    add_->setAutoDefault(false);
    delete_->setAutoDefault(false);

    {
        QVBoxLayout* page = AddPage(QStringLiteral("Scripts"));
        page->addWidget(WrappedLabel(QStringLiteral(
            "Ryvane Scripts which will be loaded when Ryvane for CT Media starts.")));
        auto* row = new QHBoxLayout;
        row->addWidget(scripts_, 1);
        auto* buttons = new QVBoxLayout;
        buttons->addWidget(add_);
        buttons->addWidget(delete_);
        buttons->addStretch(1);
        row->addLayout(buttons);
        page->addLayout(row, 1);
        page->addWidget(WrappedLabel(QStringLiteral(
            "ASI based routing rules determine which script will be used to handle an incoming "
            "call.")));
    }
    {
        QVBoxLayout* page = AddPage(QStringLiteral("ASI"));
        page->addWidget(WrappedLabel(
            QStringLiteral("ASI (Application Service Identifer) by which this script will be "
                           "known to the CT Media server.")));
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("ASI :")));
        row->addWidget(asi_, 1);
        page->addLayout(row);
        page->addWidget(WrappedLabel(
            QStringLiteral("ASI is used when specifying call routing in CT Media's SCR_Routing "
                           "Rules and SCR_ASIMap files.")));
        page->addWidget(WrappedLabel(QStringLiteral("If no ASI is specified the default value of "
                                                    "\"asiRyvane\" is assigned to the script.")));
        page->addWidget(WrappedLabel(QStringLiteral(
            "Information on how calls can be routed to different scripts based on "
            "Date/Time/CallerID/CalledID/LineID etc. can be found in \"CT Media Administrators "
            "Guide\", Chapter 7.")));
        page->addStretch(1);
    }

    asi_->setText(ToQt(designer.Tables().Script(script_).CtmAsiName));
    IniFile& ini = designer.Ini();
    for (int n = 1; n <= kLoadScriptCount; ++n) {
        const std::string file = ini.IniReadString(kSection, LoadScriptKey(n));
        if (!file.empty())
            scripts_->addItem(ToQt(file));
    }
    Tabs().setCurrentIndex(0);
    ListChanged();

    connect(add_, &QPushButton::clicked, this, &CtMediaDialog::AddScript);
    connect(delete_, &QPushButton::clicked, this, &CtMediaDialog::DeleteScript);
    connect(asi_, &QLineEdit::textEdited, this, &CtMediaDialog::EnableApply);
}

void CtMediaDialog::ListChanged() {
    // The engine reads twenty keys; a twenty-first entry would be written where nothing reads
    // it, and lost the next time the list is shown.
    add_->setEnabled(scripts_->count() < kLoadScriptCount);
}

void CtMediaDialog::AddScript() {
    if (scripts_->count() >= kLoadScriptCount)
        return;
    const QString file = designer().Files().SelectFile_Script(this, QString());
    if (file.isEmpty())
        return;
    // RY.INI holds Windows-1252: a name it cannot hold would load another script.
    if (!FitsCp1252(file)) {
        designer().Message(file + QStringLiteral("\r\nThis name holds characters that RY.INI "
                                                 "cannot hold. Save the script under another "
                                                 "name, then add it."),
                           MessageIcon::Exclamation, MessageButtons::Ok, this);
        return;
    }
    scripts_->addItem(file);
    ListChanged();
    EnableApply();
}

void CtMediaDialog::DeleteScript() {
    const int row = scripts_->currentRow();
    if (row < 0 || !scripts_->currentItem()->isSelected())
        return;
    delete scripts_->takeItem(row);
    ListChanged();
    EnableApply();
}

void CtMediaDialog::Help() {
    designer().Programs().ShowHelp(help::kCtMedia);
}

void CtMediaDialog::Store() {
    if (window_ && window_->Script() == script_)
        window_->Document().SetCtmAsiName(asi_->text());
    // The list is written from "LoadScript1" on, without gaps; the keys after it are emptied
    // so that no script removed from the list is still loaded.
    IniFile& ini = designer().Ini();
    const int count = scripts_->count();
    for (int n = 1; n <= count; ++n) {
        const QString file = scripts_->item(n - 1)->text();
        if (!file.isEmpty())
            ini.IniWriteString(kSection, LoadScriptKey(n), FromQt(file));
    }
    for (int n = count + 1; n <= kLoadScriptCount; ++n)
        ini.IniWriteString(kSection, LoadScriptKey(n), "");
}

void ShowCtMediaScripts(Designer& designer, DocumentWindow& window) {
    CtMediaDialog dialog(designer, window, window.window());
    designer.Prompts().Exec(dialog);
}

} // namespace ry
