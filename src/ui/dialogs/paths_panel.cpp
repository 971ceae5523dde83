#include "dialogs/paths_panel.h"

#include "base/designer.h"
#include "base/elided_combo_box.h"
#include "base/text_codec.h"
#include "script/field_text.h"
#include "script/records.h"
#include "script/text.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace ry {

namespace {

const QString kVoicemailBox = QStringLiteral("Voicemail Box");

} // namespace

void ShowFieldEnabled(QWidget* field, bool enabled) {
    field->setEnabled(enabled);
    const QPalette& system = QApplication::palette();
    QPalette palette = field->palette();
    // The background says at a glance which fields the current choices use.
    palette.setColor(QPalette::Base, enabled ? system.color(QPalette::Active, QPalette::Base)
                                             : system.color(QPalette::Active, QPalette::Window));
    field->setPalette(palette);
}

PathsPanel::PathsPanel(Designer& designer, std::int16_t module, QWidget* parent)
    : QWidget(parent), designer_(designer), module_(module), trigger_(new QComboBox(this)),
      timeout_(new QLineEdit(this)), destination_(new ElidedComboBox(16, this)),
      boxNumber_(new QLineEdit(this)), add_(new QPushButton(QStringLiteral("Add"), this)),
      text_(new QPlainTextEdit(this)) {
    setObjectName(QStringLiteral("frmDbiPathsSet"));
    setWindowTitle(QStringLiteral("Set Paths"));
    setProperty("Tag", QString::number(module));

    trigger_->setObjectName(QStringLiteral("cmbTrig"));
    trigger_->setEditable(true);
    trigger_->setInsertPolicy(QComboBox::NoInsert);
    trigger_->setToolTip(QStringLiteral("What triggers this path"));
    timeout_->setObjectName(QStringLiteral("txtTout"));
    timeout_->setToolTip(QStringLiteral("Timeouit time in seconds"));
    destination_->setObjectName(QStringLiteral("cmbDest"));
    destination_->setToolTip(QStringLiteral("Destination module"));
    // As wide as the panel gives it, whatever the longest title (ElidedComboBox): never wider
    // than the screen.
    boxNumber_->setObjectName(QStringLiteral("txtDestId"));
    boxNumber_->setToolTip(QStringLiteral("The ID of the Voicemail Box"));
    add_->setObjectName(QStringLiteral("cmdAddPath"));
    add_->setAutoDefault(false);
    text_->setObjectName(QStringLiteral("txtPaths"));
    text_->setTabChangesFocus(true);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    text_->setFont(font);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("On :"), this), 0, 0);
    grid->addWidget(trigger_, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Sec :"), this), 0, 2);
    grid->addWidget(timeout_, 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Goto :"), this), 1, 0);
    grid->addWidget(destination_, 1, 1);
    grid->addWidget(new QLabel(QStringLiteral("Box :"), this), 1, 2);
    grid->addWidget(boxNumber_, 1, 3);
    grid->addWidget(add_, 1, 4);
    grid->addWidget(text_, 2, 0, 1, 5);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);
    timeout_->setMaximumWidth(60);
    boxNumber_->setMaximumWidth(60);

    connect(trigger_, &QComboBox::currentTextChanged, this, &PathsPanel::TriggerChanged);
    connect(destination_, &QComboBox::currentIndexChanged, this, &PathsPanel::DestinationChanged);
    connect(timeout_, &QLineEdit::editingFinished, this, &PathsPanel::TimeoutLeft);
    connect(add_, &QPushButton::clicked, this, &PathsPanel::AddPath);
    connect(text_, &QPlainTextEdit::textChanged, this, [this] {
        if (loading_)
            return;
        edited_ = true;
        emit edited();
    });
    TriggerChanged();
    DestinationChanged();
}

void PathsPanel::SetTriggers(const std::vector<std::string_view>& captions) {
    trigger_->clear();
    for (std::string_view caption : captions)
        trigger_->addItem(ToQt(caption));
    trigger_->setCurrentIndex(captions.empty() ? -1 : 0);
    TriggerChanged();
}

void PathsPanel::FillDestinationList(std::int16_t script) {
    const int chosenModule =
        destination_->currentIndex() >= 0 ? destination_->currentData().toInt() : 0;
    const QString chosenText = destination_->currentText();
    {
        const QSignalBlocker quiet(destination_);
        destination_->clear();
        if (ScriptTables::IsScriptIndex(script))
            ForEachModule(designer_.Tables(), script, [&](std::int16_t m, const ModuleRecord& r) {
                destination_->addItem(ToQt(r.Title), int{m});
            });
        for (std::string_view voicemail : kVoicemailDestinations)
            destination_->addItem(ToQt(voicemail), 0);
        int index = -1;
        if (chosenModule > 0)
            index = destination_->findData(chosenModule);
        else if (!chosenText.isEmpty())
            index = destination_->findText(chosenText, Qt::MatchExactly);
        // A list that was empty selects its first item when filled; nothing is chosen yet.
        destination_->setCurrentIndex(index);
    }
    DestinationChanged();
}

QString PathsPanel::DestinationTitle(std::int16_t module) const {
    const int index = destination_->findData(int{module});
    return index < 0 || module < 1 ? QString() : destination_->itemText(index);
}

void PathsPanel::LoadPathsText() {
    if (!ScriptTables::IsModuleIndex(module_))
        return;
    loading_ = true;
    SetPathsText(designer_.Tables().Module(module_).PathText);
    loading_ = false;
    edited_ = false;
}

void PathsPanel::ResetLineFields() {
    boxNumber_->clear();
    timeout_->clear();
    ShowFieldEnabled(timeout_, false);
    DestinationChanged();
}

std::string PathsPanel::PathsText() const {
    // The box ends lines with LF; path texts end them with CR LF.
    return ReplaceAll(FromQt(text_->toPlainText()), "\n", kCrLf);
}

void PathsPanel::SetPathsText(const std::string& text) {
    if (text == PathsText())
        return;
    text_->setPlainText(ToQt(ReplaceAll(text, kCrLf, "\n")));
}

void PathsPanel::RenameInText(const QString& oldTitle, const QString& newTitle) {
    if (!edited_)
        return;
    loading_ = true;
    SetPathsText(RenameInPathText(PathsText(), FromQt(oldTitle), FromQt(newTitle)));
    loading_ = false;
}

PathLine PathsPanel::BuildLine() const {
    const std::string trigger = FromQt(trigger_->currentText());
    const std::string timeout = FromQt(timeout_->text());
    const std::string destination = FromQt(destination_->currentText());
    const std::string boxNumber = FromQt(boxNumber_->text());
    return BuildPathLine({trigger, timeout, destination, boxNumber});
}

void PathsPanel::Append(const std::string& line) {
    SetPathsText(AppendPathLine(PathsText(), line));
    lastAdded_ = line;
}

void PathsPanel::AddPath() {
    const PathLine path = BuildLine();
    switch (path.Missing) {
    case PathLine::Problem::NoDestination:
        designer_.Message(QStringLiteral("Please select destination module"),
                          MessageIcon::Information, MessageButtons::Ok, window());
        destination_->setFocus();
        return;
    case PathLine::Problem::NoBoxNumber:
        designer_.Message(QStringLiteral("Please specify Voicemail Box Number"),
                          MessageIcon::Information, MessageButtons::Ok, window());
        boxNumber_->setFocus();
        return;
    case PathLine::Problem::None:
        break;
    }
    timeout_->setText(ToQt(path.Timeout));
    Append(path.Line);
}

bool PathsPanel::AddPendingPath() {
    const PathLine path = BuildLine();
    if (path.Missing != PathLine::Problem::None)
        return false;
    timeout_->setText(ToQt(path.Timeout));
    if (path.Line == lastAdded_ || PathsText().find(path.Line) != std::string::npos)
        return false;
    Append(path.Line);
    return true;
}

void PathsPanel::TriggerChanged() {
    ShowFieldEnabled(timeout_, trigger_->currentText().toLower() == QLatin1String("timeout"));
}

void PathsPanel::DestinationChanged() {
    ShowFieldEnabled(boxNumber_, destination_->currentText() == kVoicemailBox);
}

void PathsPanel::TimeoutLeft() {
    const QString clamped = ToQt(ClampNumberText(FromQt(timeout_->text()), 0, 3600));
    if (clamped != timeout_->text())
        timeout_->setText(clamped);
}

} // namespace ry
