#include "base/designer.h"

#include "base/registry.h"

#include "base/password_dialogs.h"
#include "base/program_folders.h"
#include "base/text_codec.h"
#include "canvas/box_geometry.h"

#include <QApplication>
#include <QWidget>

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
        OpenDocument* document = OpenDocumentOfScript(script);
        savePassword_ = new SavePasswordDialog(*this, document ? document->Widget().window()
                                                               : QApplication::activeWindow());
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

void Designer::SetBoxSettings(bool shown) {
    if (shown == boxSettings_)
        return;
    boxSettings_ = shown;
    emit boxSettingsChanged(shown);
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

OpenDocument* Designer::DocumentInSlot(int slot) const {
    if (slot < 1 || slot > DocumentSlotCount())
        return nullptr;
    const DocumentSlot& d = documents_[static_cast<size_t>(slot - 1)];
    return d.widget ? d.document : nullptr;
}

DocumentWindow* Designer::Document(int slot) const {
    OpenDocument* document = DocumentInSlot(slot);
    return document ? &document->AsWindow() : nullptr;
}

int Designer::TakeDocumentSlot(OpenDocument& document) {
    const DocumentSlot taken{&document, &document.Widget()};
    for (size_t i = 0; i < documents_.size(); ++i) {
        if (!documents_[i].widget) {
            documents_[i] = taken;
            return static_cast<int>(i) + 1;
        }
    }
    documents_.push_back(taken);
    return DocumentSlotCount();
}

void Designer::ReleaseDocumentSlot(int slot) {
    if (slot >= 1 && slot <= DocumentSlotCount())
        documents_[static_cast<size_t>(slot - 1)] = {};
    if (currentDocument_ == slot)
        currentDocument_ = 0;
    emit documentReleased(slot);
}

int Designer::OpenDocumentCount() const {
    int n = 0;
    for (const DocumentSlot& d : documents_)
        n += d.widget ? 1 : 0;
    return n;
}

OpenDocument* Designer::OpenDocumentOfScript(int script) const {
    for (const DocumentSlot& d : documents_)
        if (d.widget && d.document->Script() == script)
            return d.document;
    return nullptr;
}

DocumentWindow* Designer::DocumentOfScript(int script) const {
    OpenDocument* document = OpenDocumentOfScript(script);
    return document ? &document->AsWindow() : nullptr;
}

} // namespace ry
