#include "dialogs/module_dialog.h"

#include "base/designer.h"
#include "base/tab_chain.h"
#include "base/text_codec.h"
#include "base/window_placement.h"
#include "canvas/document_window.h"
#include "canvas/script_document.h"
#include "dialogs/paths_panel.h"
#include "script/field_text.h"
#include "script/number_text.h"
#include "script/text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <filesystem>
#include <limits>
#include <system_error>

namespace ry {

namespace {

// Beyond the title bar's height, how far a dialog opens from the one opened before it.
constexpr int kDialogStepMargin = 8;

// Blanks (only the space, as the script format trims) removed at both ends.
QString TrimBlanksOnly(const QString& text) {
    return ToQt(Trim(FromQt(text)));
}

enum class FileState { Exists, Missing, Invalid };

// Whether a sound file can be recorded into: Invalid when the name cannot name a file (a NUL
// in it, no file name after the last folder, a folder, a name the file system refuses).
FileState ProbeFile(const QString& name) {
    if (name.contains(QChar(0)) || name.endsWith(QLatin1Char('/')))
        return FileState::Invalid;
    std::error_code error;
    const auto status = std::filesystem::status(QFile::encodeName(name).toStdString(), error);
    if (error && error != std::errc::no_such_file_or_directory &&
        error != std::errc::not_a_directory)
        return FileState::Invalid;
    if (std::filesystem::is_directory(status))
        return FileState::Invalid;
    return std::filesystem::exists(status) ? FileState::Exists : FileState::Missing;
}

} // namespace

// Fields filled by the dialog itself do not count as the user's edits.
class ModuleDialog::LoadingScope {
public:
    explicit LoadingScope(ModuleDialog& dialog) : dialog_(dialog) { ++dialog_.loading_; }
    ~LoadingScope() { --dialog_.loading_; }
    LoadingScope(const LoadingScope&) = delete;
    LoadingScope& operator=(const LoadingScope&) = delete;

private:
    ModuleDialog& dialog_;
};

ModuleDialog::ModuleDialog(Designer& designer, const ModuleDialogSetup& setup,
                           const ModuleDialogForm& form)
    // Owned by the document's top window, not the document: inside the multiple-document
    // area, Ctrl+Tab would go to the area, which takes it for switching scripts.
    : QDialog(setup.window ? setup.window->window() : nullptr), designer_(designer), setup_(setup),
      form_(form), window_(setup.window), tabs_(new QTabWidget(this)), title_(new QLineEdit(this)),
      apply_(new QPushButton(QStringLiteral("Apply"), this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)),
      help_(new QPushButton(QStringLiteral("&Help"), this)) {
    setObjectName(form.name);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    // The opener finds a module's open dialog by its module number.
    setProperty("Tag", QString::number(setup.module));

    tabs_->setObjectName(QStringLiteral("tbsOptions"));
    // Every tab's caption shows whole: the dialog is as wide as its tabs.
    tabs_->tabBar()->setUsesScrollButtons(false);
    tabs_->tabBar()->setElideMode(Qt::ElideNone);
    title_->setObjectName(QStringLiteral("txtModTitle"));
    title_->setToolTip(QStringLiteral("Module title"));
    apply_->setObjectName(QStringLiteral("cmdApply"));
    apply_->setEnabled(false);
    apply_->setAutoDefault(false);
    ok_->setObjectName(QStringLiteral("cmdOK"));
    ok_->setDefault(true);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    cancel_->setAutoDefault(false);
    help_->setObjectName(QStringLiteral("cmdHelp"));
    help_->setAutoDefault(false);
    help_->setEnabled(form.helpTopic > 0);

    auto* layout = new QVBoxLayout(this);
    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(new QLabel(QStringLiteral("Title :"), this));
    titleRow->addWidget(title_, 1);
    layout->addLayout(titleRow);
    layout->addWidget(tabs_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(apply_);
    buttons->addWidget(help_);
    layout->addLayout(buttons);

    connect(title_, &QLineEdit::textChanged, this, &ModuleDialog::MarkDirty);
    connect(title_, &QLineEdit::editingFinished, this, [this] {
        const QString trimmed = TrimBlanksOnly(title_->text());
        if (trimmed != title_->text())
            title_->setText(trimmed);
    });
    connect(apply_, &QPushButton::clicked, this, &ModuleDialog::Apply);
    connect(ok_, &QPushButton::clicked, this, &ModuleDialog::Ok);
    connect(cancel_, &QPushButton::clicked, this, &QWidget::close);
    connect(help_, &QPushButton::clicked, this,
            [this] { designer_.Programs().ShowHelp(form_.helpTopic); });

    if (form.hasPaths) {
        paths_ = new PathsPanel(designer, setup.module, this);
        paths_->hide();
        connect(paths_, &PathsPanel::edited, this, &ModuleDialog::MarkDirty);
    }
}

ModuleDialog::~ModuleDialog() {
    // The fields outlive this part of the dialog: hiding the window as it goes takes their
    // focus, and what they signal then must not reach a dialog that is no longer there.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

DocumentWindow* ModuleDialog::ParentForm() const {
    return window_;
}

ScriptDocument* ModuleDialog::Document() const {
    return window_ ? &window_->Document() : nullptr;
}

void ModuleDialog::ShowTitle(const QString& title) {
    QString caption = title;
    // "[*]" in a window title is Qt's placeholder for the modified mark.
    caption.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    setWindowTitle(caption);
    title_->setText(title);
    shownTitle_ = title;
}

void ModuleDialog::BuildPathsPage() {
    QWidget* page =
        AddPage(QStringLiteral("Paths"), QStringLiteral("Set paths leaving this module"));
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(paths_);
}

void ModuleDialog::Load() {
    if (!ScriptTables::IsModuleIndex(setup_.module))
        return;
    {
        const LoadingScope loading(*this);
        if (paths_)
            BuildPathsPage();
        const ModuleRecord& record = designer_.Tables().Module(setup_.module);
        ShowTitle(ToQt(record.Title));
        LoadFields(record);
        if (paths_) {
            paths_->FillDestinationList(setup_.script);
            paths_->ResetLineFields();
            paths_->LoadPathsText();
            paths_->show();
            paths_->DestinationChanged();
        }
        if (SelectsFirstTabOnLoad())
            SelectTab(0);
    }
    WatchKeys();
    OrderTabChain(*this, title_, {ok_, cancel_, apply_, help_});
    FitToScreen();
    PlaceBesideTheLastOpened();
    show();
    // Stores what was loaded in its normal form and leaves the dialog clean.
    Apply();
}

void ModuleDialog::Apply() {
    ScriptDocument* document = Document();
    if (!document || !ScriptTables::IsModuleIndex(setup_.module))
        return;
    ModuleRecord edited = designer_.Tables().Module(setup_.module);
    ApplyFields(edited);
    std::optional<QString> pathText;
    if (paths_) {
        paths_->AddPendingPath();
        pathText = ToQt(paths_->PathsText());
    }
    applying_ = true;
    const TitleChange change =
        document->ApplyModule(setup_.module, edited, pathText, title_->text());
    applying_ = false;
    {
        const LoadingScope loading(*this);
        ShowTitle(ToQt(change.Title));
        if (paths_) {
            paths_->FillDestinationList(setup_.script);
            paths_->LoadPathsText();
        }
    }
    apply_->setEnabled(false);
}

void ModuleDialog::Ok() {
    Apply();
    close();
}

bool ModuleDialog::IsDirty() const {
    return apply_->isEnabled();
}

void ModuleDialog::MarkDirty() {
    if (!IsLoading())
        apply_->setEnabled(true);
}

int ModuleDialog::CurrentTab() const {
    return tabs_->currentIndex();
}

void ModuleDialog::SelectTab(int index) {
    if (index >= 0 && index < tabs_->count())
        tabs_->setCurrentIndex(index);
}

void ModuleDialog::NextTab() {
    if (tabs_->count() > 0)
        tabs_->setCurrentIndex((tabs_->currentIndex() + 1) % tabs_->count());
}

void ModuleDialog::PreviousTab() {
    if (tabs_->count() > 0)
        tabs_->setCurrentIndex((tabs_->currentIndex() + tabs_->count() - 1) % tabs_->count());
}

void ModuleDialog::FitToScreen() {
    const QScreen* screen = setup_.window ? setup_.window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // A long text (a title or file name of any length) never makes the dialog wider or
    // taller than the screen: its field scrolls instead.
    const QSize available = screen->availableGeometry().size();
    setMaximumSize(available);
    adjustSize();
    resize(size().boundedTo(available));
}

void ModuleDialog::PlaceBesideTheLastOpened() {
    const QWidget* previous = setup_.opensBeside;
    if (!previous || !previous->isVisible() || !screen())
        return;
    // One title bar down and right of the last one, so that both captions show.
    const int step = style()->pixelMetric(QStyle::PM_TitleBarHeight) + kDialogStepMargin;
    move(OffsetPlace(previous->frameGeometry(), frameGeometry().size(),
                     screen()->availableGeometry(), step));
}

void ModuleDialog::CloseWithoutAsking() {
    closeWithoutAsking_ = true;
    close();
}

void ModuleDialog::RefreshDestinations() {
    if (paths_ && !applying_)
        paths_->FillDestinationList(setup_.script);
}

void ModuleDialog::TitleRenamed(std::int16_t module, const QString& newTitle) {
    if (applying_)
        return;
    if (module == setup_.module && title_->text() == shownTitle_) {
        // Renamed on its box: a title field left as it was follows, so that the next Apply
        // does not rename the module back.
        const LoadingScope loading(*this);
        ShowTitle(newTitle);
    }
    if (!paths_)
        return;
    const QString oldTitle = paths_->DestinationTitle(module);
    paths_->FillDestinationList(setup_.script);
    if (!paths_->PathsEdited())
        paths_->LoadPathsText();
    else if (!oldTitle.isNull())
        paths_->RenameInText(oldTitle, newTitle);
}

void ModuleDialog::StoredPathsChanged() {
    if (paths_ && !applying_ && !paths_->PathsEdited())
        paths_->LoadPathsText();
}

void ModuleDialog::ModuleRestored() {
    if (applying_ || IsDirty() || !ScriptTables::IsModuleIndex(setup_.module))
        return;
    const LoadingScope loading(*this);
    const ModuleRecord& record = designer_.Tables().Module(setup_.module);
    ShowTitle(ToQt(record.Title));
    LoadFields(record);
    if (paths_) {
        paths_->FillDestinationList(setup_.script);
        paths_->LoadPathsText();
    }
}

QWidget* ModuleDialog::AddPage(const QString& caption, const QString& toolTip) {
    auto* page = new QWidget(tabs_);
    page->setObjectName(Indexed(QStringLiteral("picOptions"), tabs_->count()));
    const int index = tabs_->addTab(page, caption);
    if (!toolTip.isEmpty())
        tabs_->setTabToolTip(index, toolTip);
    return page;
}

QGridLayout* ModuleDialog::PageGrid(QWidget* page) {
    if (auto* grid = qobject_cast<QGridLayout*>(page->layout()))
        return grid;
    return new QGridLayout(page);
}

QGridLayout* ModuleDialog::FramedGrid(QWidget* page, const QString& caption) {
    auto* layout = new QVBoxLayout(page);
    auto* frame = new QGroupBox(caption, page);
    layout->addWidget(frame);
    layout->addStretch(1);
    auto* grid = new QGridLayout(frame);
    grid->setColumnStretch(1, 1);
    return grid;
}

QLabel* ModuleDialog::MakeLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* ModuleDialog::MakeLineEdit(const QString& name, QWidget* parent,
                                      const QString& toolTip) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    // A line edit cuts its text to 32767 characters by default; a longer stored value would
    // be cut by merely opening the dialog, whose closing Apply stores what the fields hold.
    field->setMaxLength(std::numeric_limits<int>::max());
    if (!toolTip.isEmpty())
        field->setToolTip(toolTip);
    WatchEdits(field);
    return field;
}

QPlainTextEdit* ModuleDialog::MakeTextBox(const QString& name, QWidget* parent, bool fixedPitch) {
    auto* box = new QPlainTextEdit(parent);
    box->setObjectName(name);
    // As in the other fields, Tab moves on to the next control.
    box->setTabChangesFocus(true);
    if (fixedPitch)
        SetFixedPitch(box);
    WatchEdits(box);
    return box;
}

void ModuleDialog::SetFixedPitch(QWidget* field) {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    field->setFont(font);
}

void ModuleDialog::WatchEdits(QLineEdit* field) {
    connect(field, &QLineEdit::textChanged, this, &ModuleDialog::MarkDirty);
}

void ModuleDialog::WatchEdits(QPlainTextEdit* field) {
    connect(field, &QPlainTextEdit::textChanged, this, &ModuleDialog::MarkDirty);
}

void ModuleDialog::WatchEdits(QComboBox* field) {
    connect(field, &QComboBox::currentIndexChanged, this, &ModuleDialog::MarkDirty);
    connect(field, &QComboBox::editTextChanged, this, &ModuleDialog::MarkDirty);
}

void ModuleDialog::WatchEdits(QAbstractButton* field) {
    connect(field, &QAbstractButton::toggled, this, &ModuleDialog::MarkDirty);
}

void ModuleDialog::WatchEdits(QDateTimeEdit* field) {
    connect(field, &QDateTimeEdit::dateTimeChanged, this, &ModuleDialog::MarkDirty);
}

QLineEdit* ModuleDialog::MakeNumberField(const QString& name, QWidget* parent, int min, int max,
                                         const QString& toolTip) {
    QLineEdit* field = MakeLineEdit(name, parent, toolTip);
    MakeNumeric(field, min, max);
    return field;
}

void ModuleDialog::MakeNumeric(QLineEdit* field, int min, int max) {
    numberRanges_[field] = {min, max};
    connect(field, &QLineEdit::editingFinished, this, [this, field] { ClampField(field); });
}

void ModuleDialog::ClampField(QLineEdit* field) {
    const auto range = numberRanges_.find(field);
    if (range == numberRanges_.end())
        return;
    const QString clamped =
        ToQt(ClampNumberText(FromQt(field->text()), range->second.first, range->second.second));
    if (clamped != field->text())
        field->setText(clamped);
}

std::int16_t ModuleDialog::NumberValue(QLineEdit* field) {
    if (const auto value = TextToInt16(FromQt(field->text())))
        return *value;
    // Text that is no number (the field was never left, so it was not normalised) is taken as
    // leaving the field would make it.
    ClampField(field);
    return TextToInt16(FromQt(field->text())).value_or(0);
}

SoundRow ModuleDialog::AddSoundRow(QGridLayout* grid, int row, const QString& label, int boxIndex,
                                   int buttonIndex, bool playButtons, FileChooser choose) {
    QWidget* page = grid->parentWidget();
    SoundRow out;
    if (!label.isEmpty()) {
        // A long caption wraps rather than widen the dialog past a small screen.
        auto* caption = new QLabel(label, page);
        caption->setWordWrap(true);
        grid->addWidget(caption, row, 0);
    }
    out.file = MakeLineEdit(Indexed(QStringLiteral("txtSoundFile"), boxIndex), page);
    SetFileFieldWidth(out.file);
    grid->addWidget(out.file, row, 1);
    auto* buttons = new QHBoxLayout;
    auto button = [&](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(Indexed(name, buttonIndex));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    out.select = button(QStringLiteral("cmdSoundFileSelect"), QStringLiteral("&Select"));
    out.select->setToolTip(QStringLiteral("Select sound file"));
    QLineEdit* box = out.file;
    connect(out.select, &QPushButton::clicked, this,
            [this, box, choose] { SelectSoundFile(box, choose); });
    if (playButtons) {
        out.play = button(QStringLiteral("cmdPlayStart"), QStringLiteral("Play"));
        out.stop = button(QStringLiteral("cmdPlayStop"), QStringLiteral("Stop"));
        out.record = button(QStringLiteral("cmdRec"), QStringLiteral("Record"));
        connect(out.play, &QPushButton::clicked, this, [this, box] { PlaySoundFile(box->text()); });
        connect(out.stop, &QPushButton::clicked, this, &ModuleDialog::StopSound);
        connect(out.record, &QPushButton::clicked, this,
                [this, box] { RecordSoundFile(box->text()); });
    }
    grid->addLayout(buttons, row, 2);
    return out;
}

ModuleDialog::FileRow ModuleDialog::AddFileRow(QGridLayout* grid, int row, const QString& label,
                                               const QString& boxName, const QString& buttonName,
                                               const QString& caption, FileChooser choose,
                                               const QString& labelName) {
    QWidget* page = grid->parentWidget();
    FileRow out;
    if (!label.isEmpty()) {
        out.label = MakeLabel(labelName, label, page);
        out.label->setWordWrap(true);
        grid->addWidget(out.label, row, 0);
    }
    out.file = MakeLineEdit(boxName, page);
    SetFileFieldWidth(out.file);
    grid->addWidget(out.file, row, 1);
    out.select = new QPushButton(caption, page);
    out.select->setObjectName(buttonName);
    out.select->setAutoDefault(false);
    grid->addWidget(out.select, row, 2);
    QLineEdit* box = out.file;
    connect(out.select, &QPushButton::clicked, this,
            [this, box, choose] { SelectSoundFile(box, choose); });
    return out;
}

void ModuleDialog::SetFileFieldWidth(QLineEdit* field) {
    // Room for a path of some length beside the row's buttons.
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * kFileFieldCharacters);
}

void ModuleDialog::SelectSoundFile(QLineEdit* box, const FileChooser& choose) {
    const QString chosen =
        choose ? choose(box->text())
               : designer_.Files().SelectFile_Sound(this, box->text(), setup_.script);
    if (!chosen.isEmpty())
        box->setText(chosen);
}

void ModuleDialog::PlaySoundFile(const QString& file) {
    designer_.Programs().PlaySoundFile(file, setup_.script);
}

void ModuleDialog::StopSound() {
    // Playing the short silent recording cuts off whatever is playing.
    designer_.Programs().launcher().PlaySound(designer_.ProgramFolder() +
                                              QStringLiteral("/system/pcm8kHz16m.wav"));
}

void ModuleDialog::RecordSoundFile(const QString& file) {
    QString target;
    if (!file.isEmpty()) {
        // Scripts written on Windows name files with backslashes, and name them relative to
        // the script's folder, where the engine looks for them.
        target = file;
        target.replace(QLatin1Char('\\'), QLatin1Char('/'));
        // A script read from a file by a name without a folder lies in the current folder.
        const bool fromFile = ScriptTables::IsScriptIndex(setup_.script) &&
                              !designer_.Tables().Script(setup_.script).FileName.empty();
        QString folder = fromFile
                             ? FromHostPath(designer_.Tables().Script(setup_.script).FolderPath)
                             : QString();
        folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
        // Absolute, always: a name that starts with "-" would reach the recorder as an option.
        const QDir scriptFolder(QDir(folder).absolutePath());
        target = QDir::cleanPath(scriptFolder.absoluteFilePath(target));
        switch (ProbeFile(target)) {
        case FileState::Invalid:
            designer_.Message(QStringLiteral("Invalid Filename"), MessageIcon::None,
                              MessageButtons::Ok, this);
            return;
        case FileState::Missing: {
            // The recorder then opens an empty recording in the engine's format. Only a wave
            // file is made, and one outside the script's folder only when the user agrees.
            if (!target.endsWith(QLatin1String(".wav"), Qt::CaseInsensitive)) {
                designer_.Message(target + QStringLiteral("\r\nThis file does not exist, and "
                                                          "only a file whose name ends in "
                                                          "\".wav\" is made for a recording."),
                                  MessageIcon::Exclamation, MessageButtons::Ok, this);
                return;
            }
            const QString inside = scriptFolder.path() + QLatin1Char('/');
            if (fromFile && !target.startsWith(inside) &&
                designer_.Message(
                    target +
                        QStringLiteral("\r\nThis file is outside the "
                                       "script's folder ") +
                        scriptFolder.path() + QStringLiteral(". Make it there for the recording?"),
                    MessageIcon::Question, MessageButtons::YesNo, this) != MessageAnswer::Yes)
                return;
            // Should the copy fail, the recorder itself says what is wrong with the file.
            QFile::copy(designer_.ProgramFolder() + QStringLiteral("/system/8pcm16m.wav"), target);
            break;
        }
        case FileState::Exists:
            break;
        }
    }
    // The setting is a command line: the recorder, perhaps quoted, perhaps with options of
    // its own. The file goes after them as one argument, blanks and all.
    const QString command = ToQt(designer_.Settings().RecEditor).trimmed();
    QStringList arguments = QProcess::splitCommand(command);
    const QString program = arguments.isEmpty() ? QString() : arguments.takeFirst();
    if (!target.isEmpty())
        arguments << target;
    if (program.isEmpty() || !designer_.Programs().launcher().StartProgram(program, arguments))
        designer_.Message(program + QStringLiteral("\r\nCould not be found. The recorder is "
                                                   "set in RY.INI, section [PlayRecordConfig], "
                                                   "key RecEditor."),
                          MessageIcon::None, MessageButtons::Ok, this);
}

QString ModuleDialog::Indexed(const QString& name, int index) {
    return index < 0 ? name : name + QStringLiteral("(%1)").arg(index);
}

QString ModuleDialog::FromStored(const std::string& text) {
    return ToQt(ReplaceAll(text, kCrLf, "\n"));
}

std::string ModuleDialog::ToStored(const QString& text) {
    return ReplaceAll(ReplaceAll(FromQt(text), kCrLf, "\n"), "\n", kCrLf);
}

void ModuleDialog::WatchKeys() {
    installEventFilter(this);
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
}

bool ModuleDialog::eventFilter(QObject* watched, QEvent* event) {
    // Ctrl+Tab anywhere in the dialog, a text box included, turns to the next tab.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool control = key->modifiers().testFlag(Qt::ControlModifier);
        const bool shift = key->modifiers().testFlag(Qt::ShiftModifier);
        if (control && key->key() == Qt::Key_Tab && !shift) {
            NextTab();
            return true;
        }
        if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier) {
            if (help_->isEnabled())
                help_->click();
            return true;
        }
        // Ctrl+Shift+Tab arrives as Backtab, or as Tab with Shift.
        if (control && (key->key() == Qt::Key_Backtab || (key->key() == Qt::Key_Tab && shift))) {
            PreviousTab();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool ModuleDialog::AskToApply() {
    if (!IsDirty())
        return true;
    switch (designer_.Message(QStringLiteral("Save changes to the module?"), MessageIcon::Question,
                              MessageButtons::YesNoCancel, this)) {
    case MessageAnswer::Yes:
        Apply();
        return true;
    case MessageAnswer::No:
        return true;
    default:
        return false;
    }
}

bool ModuleDialog::SettleEdits() {
    if (IsDirty() && isVisible())
        raise();
    return AskToApply();
}

void ModuleDialog::closeEvent(QCloseEvent* event) {
    if (!closeWithoutAsking_ && !AskToApply()) {
        event->ignore();
        return;
    }
    event->accept();
    if (!closedSignalled_) {
        closedSignalled_ = true;
        emit closed(setup_.slot);
    }
}

void ModuleDialog::reject() {
    // Escape goes through the same question as the Cancel button and the window's close.
    close();
}

} // namespace ry
