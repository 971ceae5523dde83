#include "canvas/script_document.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/document_history.h"
#include "paths/link_edits.h"
#include "paths/path_text.h"
#include "paths/rename.h"
#include "script/module_types.h"
#include "script/text.h"

#include <QUndoStack>

#include <algorithm>
#include <cmath>

namespace ry {

namespace {

// Every module whose path text leads to `title`: a rename rewrites those texts.
void TouchPathsTo(ScriptTables& tables, std::int16_t script, const std::string& title,
                  DocumentHistory::Step& step) {
    const std::string reference = "[" + title + "]";
    ForEachModule(tables, script, [&](std::int16_t index, const ModuleRecord& m) {
        if (m.PathText.find(reference) != std::string::npos)
            step.Touch(index);
    });
}

} // namespace

ScriptDocument::ScriptDocument(Designer& designer, std::int16_t script, QObject* parent)
    : QObject(parent), designer_(designer), script_(script),
      history_(std::make_unique<DocumentHistory>(*this)) {
    if (ScriptTables::IsScriptIndex(script))
        markedOutsideHistory_ = Record().Modified;
    QUndoStack& stack = history_->Stack();
    connect(&stack, &QUndoStack::indexChanged, this, &ScriptDocument::UpdateModified);
    connect(&stack, &QUndoStack::cleanChanged, this, [this](bool clean) {
        // Back on the saved state: the records are as saved.
        if (clean)
            markedOutsideHistory_ = false;
        UpdateModified();
    });
}

ScriptDocument::~ScriptDocument() {
    // The steps refer to the history: they go first.
    history_->Stack().disconnect(this);
    history_->Stack().clear();
}

void ScriptDocument::SetScript(std::int16_t script) {
    if (script == script_)
        return;
    history_->Stack().clear();
    script_ = script;
    markedOutsideHistory_ = ScriptTables::IsScriptIndex(script) && Record().Modified;
}

ScriptTables& ScriptDocument::Tables() {
    return designer_.Tables();
}
const ScriptTables& ScriptDocument::Tables() const {
    return designer_.Tables();
}
ScriptRecord& ScriptDocument::Record() {
    return Tables().Script(script_);
}
const ScriptRecord& ScriptDocument::Record() const {
    return Tables().Script(script_);
}
ModuleRecord& ScriptDocument::Module(std::int16_t module) {
    return Tables().Module(module);
}

bool ScriptDocument::HasBox(int box) const {
    return box >= 1 && box <= BoxSlotCount() && boxes_[static_cast<size_t>(box - 1)].module >= 1;
}

std::int16_t ScriptDocument::ModuleOfBox(int box) const {
    return HasBox(box) ? boxes_[static_cast<size_t>(box - 1)].module : std::int16_t{-1};
}

int ScriptDocument::BoxHeight(int box) const {
    return HasBox(box) ? boxes_[static_cast<size_t>(box - 1)].height : 0;
}

std::vector<int> ScriptDocument::Boxes() const {
    std::vector<int> out;
    for (int b = 1; b <= BoxSlotCount(); ++b)
        if (HasBox(b))
            out.push_back(b);
    return out;
}

int ScriptDocument::FreeBoxNumber() const {
    for (int b = 1; b <= BoxSlotCount(); ++b)
        if (!HasBox(b))
            return b;
    return BoxSlotCount() + 1;
}

int ScriptDocument::CreateModuleBox(int x, int y, std::int16_t module) {
    const int box = FreeBoxNumber();
    if (box > ModuleLimit) {
        designer_.Message(
            QStringLiteral("This version has a limit of %1 modules per script").arg(ModuleLimit),
            MessageIcon::Exclamation);
        return -1;
    }
    if (module < 1) {
        module = Tables().MemStructRym_Get();
        if (module < 1) {
            designer_.Message(
                QStringLiteral("You have exceeded a limit of %1 modules").arg(kModuleCapacity),
                MessageIcon::Exclamation);
            return -1;
        }
        AppendModuleToScript(Tables(), script_, module);
        ModuleRecord& m = Module(module);
        const std::string tool = FromQt(designer_.CurrentTool());
        m.PositionX = x;
        m.PositionY = y;
        m.DispSize = static_cast<std::int16_t>(designer_.DefaultDisplayHeight());
        m.Txt = std::string(TypeDescription(tool));
        m.Title = std::to_string(module) + " " + tool;
        m.Type = tool;
    }
    if (box > BoxSlotCount())
        boxes_.resize(static_cast<size_t>(box));
    boxes_[static_cast<size_t>(box - 1)].module = module;
    ShowModuleInBox(box, module);
    emit boxAdded(box);
    SelectOnlyBox(box);
    return box;
}

void ScriptDocument::ShowModuleInBox(int box, std::int16_t module) {
    if (box < 1 || box > BoxSlotCount())
        return;
    ModuleRecord& m = Module(module);
    if (m.DispSize < 1)
        m.DispSize = static_cast<std::int16_t>(designer_.DefaultDisplayHeight());
    BoxSlot& slot = boxes_[static_cast<size_t>(box - 1)];
    slot.module = module;
    slot.height = BoxHeightFor(m.DispSize);
    m.BoxIndex = static_cast<std::int16_t>(box);
    emit boxChanged(box);
}

void ScriptDocument::AttachFirstBox(std::int16_t module) {
    if (boxes_.empty())
        boxes_.resize(1);
    boxes_[0].module = module;
    ShowModuleInBox(1, module);
    emit boxAdded(1);
}

void ScriptDocument::RemoveAllBoxes() {
    for (int b : Boxes()) {
        boxes_[static_cast<size_t>(b - 1)].module = -1;
        emit boxRemoved(b);
    }
    boxes_.clear();
    currentBox_ = 0;
}

void ScriptDocument::SelectBox(int box) {
    if (!HasBox(box))
        return;
    ModuleRecord& m = Module(ModuleOfBox(box));
    if (m.BoxDisplayMode == 4)
        return;
    m.BoxDisplayMode = 4;
    emit boxChanged(box);
}

void ScriptDocument::DeselectBox(int box) {
    if (!HasBox(box))
        return;
    ModuleRecord& m = Module(ModuleOfBox(box));
    if (m.BoxDisplayMode != 4)
        return;
    m.BoxDisplayMode = 2;
    emit boxChanged(box);
}

void ScriptDocument::DeselectAllBoxes() {
    ForEachModule(Tables(), script_,
                  [&](std::int16_t, ModuleRecord& m) { DeselectBox(m.BoxIndex); });
}

void ScriptDocument::SelectOnlyBox(int box) {
    DeselectAllBoxes();
    currentBox_ = box;
    SelectBox(box);
}

bool ScriptDocument::IsSelected(int box) const {
    return HasBox(box) && Tables().Module(ModuleOfBox(box)).BoxDisplayMode == 4;
}

std::vector<std::int16_t> ScriptDocument::SelectedModules() const {
    std::vector<std::int16_t> out;
    ForEachModule(Tables(), script_, [&](std::int16_t index, const ModuleRecord& m) {
        if (m.BoxDisplayMode == 4 && HasBox(m.BoxIndex))
            out.push_back(index);
    });
    return out;
}

int ScriptDocument::PlaceModule(QPoint pos) {
    DocumentHistory::Step step(*history_, QStringLiteral("Place Module"));
    step.Touch(Record().LastModule); // the new module is linked after it
    int box = CreateModuleBox(pos.x(), pos.y(), -1);
    if (box < 1)
        return box;
    step.Added(ModuleOfBox(box));
    step.Commit();
    emit connectorsChanged();
    return box;
}

void ScriptDocument::MoveModules(const std::vector<Move>& moves) {
    std::vector<DocumentHistory::Move> steps;
    steps.reserve(moves.size());
    for (const Move& mv : moves) {
        ModuleRecord& m = Module(mv.module);
        const QPoint from(m.PositionX, m.PositionY);
        m.PositionX = std::max(0, mv.to.x());
        m.PositionY = std::max(0, mv.to.y());
        steps.push_back({mv.module, from, QPoint(m.PositionX, m.PositionY)});
        if (HasBox(m.BoxIndex))
            emit boxChanged(m.BoxIndex);
    }
    // A move that leaves every box where it was is no step and no change.
    history_->PushMove(steps);
    emit connectorsChanged();
}

bool ScriptDocument::DeleteSelectedModules() {
    ScriptRecord& s = Record();
    const std::vector<std::int16_t> selected = SelectedModules();
    // A script keeps at least one module: deleting every module is refused as deleting the
    // only one is.
    if (s.ModuleCount == 1 || static_cast<int>(selected.size()) >= s.ModuleCount) {
        designer_.Message(QStringLiteral("Delete Module Error:\r\nThere must be at least one "
                                         "module in the script"));
        return false;
    }
    if (selected.empty())
        return true;
    DocumentHistory::Step step(*history_, QStringLiteral("Delete Modules"));
    for (std::int16_t module : selected)
        step.Touch(module);
    // The modules before them in the chain take their links.
    {
        std::vector<std::int16_t> previous(kModuleCapacity + 1, -1);
        ForEachModule(Tables(), script_, [&](std::int16_t index, const ModuleRecord& m) {
            if (ScriptTables::IsModuleIndex(m.NextModule))
                previous[static_cast<size_t>(m.NextModule)] = index;
        });
        for (std::int16_t module : selected)
            step.Touch(previous[static_cast<size_t>(module)]);
    }
    for (std::int16_t module : selected) {
        // Unlink from the chain.
        std::int16_t previous = -1;
        ForEachModule(Tables(), script_, [&](std::int16_t index, ModuleRecord& m) {
            if (m.NextModule == module)
                previous = index;
        });
        ModuleRecord& m = Module(module);
        if (previous >= 1)
            Module(previous).NextModule = m.NextModule;
        else
            s.FirstModule = m.NextModule;
        if (s.LastModule == module)
            s.LastModule = previous;
        const std::string title = m.Title;
        const int box = m.BoxIndex;
        if (HasBox(box)) {
            boxes_[static_cast<size_t>(box - 1)].module = -1;
            emit boxRemoved(box);
        }
        if (currentBox_ == box)
            currentBox_ = 0;
        Tables().MemStructRym_Free(module);
        --s.ModuleCount;
        if (title == s.StartModule && ScriptTables::IsModuleIndex(s.FirstModule))
            s.StartModule = Module(s.FirstModule).Title;
    }
    step.Commit();
    emit connectorsChanged();
    return true;
}

int ScriptDocument::PasteModule(const ModuleRecord& record, QPoint pos) {
    DocumentHistory::Step step(*history_, QStringLiteral("Paste Module"));
    step.Touch(Record().LastModule);
    int box = CreateModuleBox(pos.x(), pos.y(), -1);
    if (box < 1)
        return box;
    const std::int16_t k = ModuleOfBox(box);
    step.Added(k);
    ModuleRecord& m = Module(k);
    ModuleRecord copy = record;
    // The new record keeps its own place: chain link, box, script and position.
    copy.NextModule = m.NextModule;
    copy.BoxIndex = m.BoxIndex;
    copy.ScriptIndex = m.ScriptIndex;
    copy.IsFree = false;
    copy.PositionX = m.PositionX;
    copy.PositionY = m.PositionY;
    copy.BoxDisplayMode = m.BoxDisplayMode;
    const std::string number = std::to_string(k);
    // A copy of a copy replaces the number after its "_" instead of adding another one.
    const size_t underscore = copy.Title.find('_');
    const size_t lastFour = copy.Title.size() < 4 ? 0 : copy.Title.size() - 4;
    if (underscore == std::string::npos || underscore < lastFour)
        copy.Title += "_" + number;
    else
        copy.Title = copy.Title.substr(0, underscore) + "_" + number;
    m = std::move(copy);
    ShowModuleInBox(box, k);
    step.Commit();
    emit connectorsChanged();
    return box;
}

void ScriptDocument::RenameModule(std::int16_t module, const QString& typedTitle) {
    const std::string typed = FromQt(typedTitle);
    if (std::string(Trim(typed)) == Module(module).Title)
        return;
    DocumentHistory::Step step(*history_, QStringLiteral("Rename"));
    step.Touch(module);
    TouchPathsTo(Tables(), script_, Module(module).Title, step);
    TitleChange change = ApplyModuleTitle(Tables(), module, script_, typed);
    if (HasBox(Module(module).BoxIndex))
        emit boxChanged(Module(module).BoxIndex);
    if (change.Renamed) {
        step.Commit();
        emit titleRenamed(module, ToQt(change.Title));
        emit connectorsChanged();
    }
}

TitleChange ScriptDocument::ApplyModule(std::int16_t module, const ModuleRecord& edited,
                                        const std::optional<QString>& pathText,
                                        const QString& typedTitle) {
    DocumentHistory::Step step(*history_, QStringLiteral("Apply Properties"));
    step.Touch(module);
    TouchPathsTo(Tables(), script_, Module(module).Title, step);
    ModuleRecord& m = Module(module);
    ModuleRecord settings = edited;
    // What the canvas owns stays as the record has it: the dialog may have been open while
    // the box was moved, resized, retitled or given text.
    settings.Type = m.Type;
    settings.ScriptIndex = m.ScriptIndex;
    settings.DispSize = m.DispSize;
    settings.BoxDisplayMode = m.BoxDisplayMode;
    settings.Title = m.Title;
    settings.Txt = m.Txt;
    settings.PathText = m.PathText;
    settings.PositionX = m.PositionX;
    settings.PositionY = m.PositionY;
    settings.IsFree = m.IsFree;
    settings.BoxIndex = m.BoxIndex;
    settings.NextModule = m.NextModule;
    m = std::move(settings);
    if (pathText) {
        // Text boxes end lines with LF; path texts end them with CR LF.
        const std::string text = FromQt(*pathText);
        m.PathText = TidyPathsText(ReplaceAll(ReplaceAll(text, "\r\n", "\n"), "\n", "\r\n"));
    }
    const TitleChange change = ApplyModuleTitle(Tables(), module, script_, FromQt(typedTitle));
    step.Commit(); // a step only when something changed
    if (HasBox(m.BoxIndex))
        emit boxChanged(m.BoxIndex);
    emit connectorsChanged();
    if (change.Renamed)
        emit titleRenamed(module, ToQt(change.Title));
    return change;
}

void ScriptDocument::SetBoxText(std::int16_t module, const QString& text) {
    std::string value = FromQt(text);
    // Text boxes end lines with LF; the file's box text uses CR LF.
    value = ReplaceAll(ReplaceAll(value, "\r\n", "\n"), "\n", "\r\n");
    ModuleRecord& m = Module(module);
    if (m.Txt == value)
        return;
    DocumentHistory::Step step(*history_, QStringLiteral("Box Text"));
    step.Touch(module);
    m.Txt = std::move(value);
    step.Commit();
    if (HasBox(m.BoxIndex))
        emit boxChanged(m.BoxIndex);
}

void ScriptDocument::AddPathLine(std::int16_t module, const QString& line) {
    DocumentHistory::Step step(*history_, QStringLiteral("Add Path"));
    step.Touch(module);
    Module(module).PathText += FromQt(line) + "\r\n";
    step.Commit();
    emit connectorsChanged();
}

void ScriptDocument::RemovePaths(std::int16_t module, const std::vector<int>& links) {
    DocumentHistory::Step step(*history_, QStringLiteral("Delete Connector"));
    step.Touch(module);
    ModuleRecord& m = Module(module);
    m.PathText = RemoveLinks(m.PathText, links);
    if (step.Commit())
        emit connectorsChanged();
}

void ScriptDocument::RetargetPaths(std::int16_t module, const std::vector<int>& links,
                                   const QString& title) {
    DocumentHistory::Step step(*history_, QStringLiteral("Reconnect"));
    step.Touch(module);
    ModuleRecord& m = Module(module);
    m.PathText = RetargetLinks(m.PathText, links, FromQt(title));
    if (step.Commit())
        emit connectorsChanged();
}

void ScriptDocument::SetBoxHeight(int box, int height) {
    SetBoxHeights({box}, height);
}

void ScriptDocument::SetBoxHeights(const std::vector<int>& boxes, int height) {
    DocumentHistory::Step step(*history_, QStringLiteral("Module Height"));
    bool anyBox = false;
    for (int box : boxes) {
        if (!HasBox(box))
            continue;
        anyBox = true;
        step.Touch(ModuleOfBox(box));
        boxes_[static_cast<size_t>(box - 1)].height = height;
        Module(ModuleOfBox(box)).DispSize = static_cast<std::int16_t>(height);
    }
    if (!anyBox)
        return;
    step.Commit();
    for (int box : boxes)
        if (HasBox(box))
            emit boxChanged(box);
    emit connectorsChanged();
}

void ScriptDocument::SetStartModule(const QString& title) {
    DocumentHistory::Step step(*history_, QStringLiteral("Make Start Module"));
    Record().StartModule = FromQt(title);
    step.Commit();
}

void ScriptDocument::SetScriptProperties(const QString& startModule, const QString& runAtHangup,
                                         bool startWithoutAnswer) {
    DocumentHistory::Step step(*history_, QStringLiteral("Script Properties"));
    ScriptRecord& s = Record();
    s.StartModule = FromQt(startModule);
    s.RunAtHangup = FromQt(runAtHangup);
    s.StartWithoutAnswer = startWithoutAnswer;
    step.Commit();
}

void ScriptDocument::SetCtmAsiName(const QString& name) {
    DocumentHistory::Step step(*history_, QStringLiteral("CT Media Name"));
    Record().CtmAsiName = FromQt(name);
    step.Commit();
}

QUndoStack& ScriptDocument::History() {
    return history_->Stack();
}

bool ScriptDocument::Undo() {
    return history_->Undo();
}

bool ScriptDocument::Redo() {
    return history_->Redo();
}

void ScriptDocument::MarkModified() {
    markedOutsideHistory_ = true;
    UpdateModified();
}

void ScriptDocument::MarkSaved() {
    markedOutsideHistory_ = false;
    history_->Stack().setClean();
    UpdateModified();
    emit saved();
}

void ScriptDocument::UpdateModified() {
    if (!ScriptTables::IsScriptIndex(script_))
        return;
    ScriptRecord& s = Record();
    const bool modified = markedOutsideHistory_ || !history_->Stack().isClean();
    if (s.Modified == modified)
        return;
    s.Modified = modified;
    emit modifiedChanged(modified);
}

std::optional<BoxState> ScriptDocument::Box(std::int16_t module) const {
    const ModuleRecord& m = Tables().Module(module);
    if (!HasBox(m.BoxIndex) || ModuleOfBox(m.BoxIndex) != module)
        return std::nullopt;
    return BoxState{m.Txt, BoxHeight(m.BoxIndex)};
}

} // namespace ry
