#include "base/designer.h"

#include "base/registry.h"

#include "base/password_dialogs.h"
#include "base/program_folders.h"
#include "base/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/document_window.h"

#include <QApplication>

namespace ry {

// Messages of the core become message boxes titled with the brand name; the status line goes
// to the main window.
class Designer::CoreHostImpl : public Host {
public:
    explicit CoreHostImpl(Designer& d) : d_(d) {}
    void ShowMessage(std::string_view text) override { d_.Message(ToQt(text)); }
    void ShowStatusText(std::string_view text) override { d_.ShowStatusText(ToQt(text)); }
    void SetBusy(bool busy) override {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }
    std::string AskOpenPassword() override {
        OpenPasswordDialog dialog(QApplication::activeWindow());
        if (d_.Prompts().Exec(dialog) != QDialog::Accepted)
            return {};
        return FromQt(dialog.Password());
    }
    void RequestSavePassword(std::int16_t script) override { d_.AskSavePassword(script); }

private:
    Designer& d_;
};

Designer::Designer(Prompter& prompter, const QString& programFolder, QObject* parent)
    : QObject(parent), prompter_(prompter), tables_(std::make_unique<ScriptTables>()),
      host_(std::make_unique<CoreHostImpl>(*this)), ini_(std::make_unique<IniFile>(*host_)),
      defaultDisplayHeight_(kLongBoxHeight) {
    const ProgramFolders folders = DesignerFolders(programFolder);
    programFolder_ = QString::fromStdString(folders.home);
    dataFolder_ = QString::fromStdString(folders.data);
}

Designer::~Designer() {
    // The dialog gives up its waiting save, which needs the writer still there.
    delete savePassword_;
}

void Designer::ReadSettings() {
    ini_->ReadAllSettings(settings_, programFolder_.toStdString());
    ini_->ReadBrand(settings_);
}

SavePasswordDialog* Designer::SavePasswordPrompt() const {
    return savePassword_ && savePassword_->isVisible() ? savePassword_.data() : nullptr;
}

void Designer::AskSavePassword(std::int16_t script) {
    // The dialog is not modal: the user may go on working, and even ask for another protected
    // save, which then takes the dialog over (the writer keeps one waiting save).
    if (!savePassword_) {
        DocumentWindow* window = DocumentOfScript(script);
        savePassword_ =
            new SavePasswordDialog(*this, window ? window->window() : QApplication::activeWindow());
    }
    savePassword_->SetScript(script);
    savePassword_->show();
    savePassword_->raise();
    savePassword_->activateWindow();
}

QString Designer::BrandName() const {
    return ToQt(settings_.BrandName);
}

QString Designer::BrandUrl() const {
    return ToQt(settings_.BrandUrl);
}

MessageAnswer Designer::Message(const QString& text, MessageIcon icon, MessageButtons buttons,
                                QWidget* owner) {
    return prompter_.Message(owner ? owner : QApplication::activeWindow(), BrandName(), text, icon,
                             buttons);
}

void Designer::WarnOfUnusableSettings() {
    const QString file = UnusableSettingsFile();
    if (file.isEmpty())
        return;
    Message(QStringLiteral("The settings file ") + file +
                QStringLiteral(" is not a regular file, so it is not read: the designer starts "
                               "with its default settings and does not keep changes to them.\r\n"
                               "Remove or rename it to keep your settings again."),
            MessageIcon::Exclamation);
}

void Designer::SetCurrentTool(const QString& tool) {
    if (tool == currentTool_)
        return;
    currentTool_ = tool;
    emit currentToolChanged(tool);
}

void Designer::SetRouteStyle(RouteStyle style) {
    if (style == routeStyle_)
        return;
    routeStyle_ = style;
    emit routeStyleChanged();
}

void Designer::SetPathLabels(bool shown) {
    if (shown == pathLabels_)
        return;
    pathLabels_ = shown;
    emit pathLabelsChanged(shown);
}

void Designer::SetDefaultDisplayHeight(int height) {
    if (height == defaultDisplayHeight_)
        return;
    defaultDisplayHeight_ = height;
    emit defaultDisplayHeightChanged(height);
}

QSize Designer::CanvasSize() const {
    return {std::max(2000, settings_.DesignAreaWidth), std::max(2000, settings_.DesignAreaHeight)};
}

DocumentWindow* Designer::Document(int slot) const {
    if (slot < 1 || slot > DocumentSlotCount())
        return nullptr;
    return documents_[static_cast<size_t>(slot - 1)];
}

int Designer::TakeDocumentSlot(DocumentWindow* window) {
    for (size_t i = 0; i < documents_.size(); ++i) {
        if (!documents_[i]) {
            documents_[i] = window;
            return static_cast<int>(i) + 1;
        }
    }
    documents_.emplace_back(window);
    return DocumentSlotCount();
}

void Designer::ReleaseDocumentSlot(int slot) {
    if (slot >= 1 && slot <= DocumentSlotCount())
        documents_[static_cast<size_t>(slot - 1)] = nullptr;
    if (currentDocument_ == slot)
        currentDocument_ = 0;
}

int Designer::OpenDocumentCount() const {
    int n = 0;
    for (const auto& d : documents_)
        n += d ? 1 : 0;
    return n;
}

DocumentWindow* Designer::DocumentOfScript(int script) const {
    for (const auto& d : documents_)
        if (d && d->Script() == script)
            return d;
    return nullptr;
}

} // namespace ry
