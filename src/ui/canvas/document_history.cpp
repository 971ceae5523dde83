#include "canvas/document_history.h"

#include "base/designer.h"
#include "base/text_codec.h"
#include "canvas/script_document.h"
#include "script/record_fields.h"

#include <QUndoCommand>
#include <QUndoStack>

#include <algorithm>

namespace ry {

namespace {

// Field by field, leaving out the fields `skip` names.
template <class Skip> bool SameFields(const ModuleRecord& a, const ModuleRecord& b, Skip skip) {
    bool same = true;
    VisitModuleFields(
        [&](const char* name, FieldKind, const auto& x, const auto& y) {
            if (same && !skip(std::string_view(name)))
                same = x == y;
        },
        a, b);
    return same;
}

// The selection is the look of a box, not part of an edit.
bool SameRecord(const ModuleRecord& a, const ModuleRecord& b) {
    return SameFields(a, b, [](std::string_view name) { return name == "BoxDisplayMode"; });
}

// What a module's dialog shows: everything but the canvas's own fields and the bookkeeping.
bool SameDialogFields(const ModuleRecord& a, const ModuleRecord& b) {
    return SameFields(a, b, [](std::string_view name) {
        return name == "BoxDisplayMode" || name == "PositionX" || name == "PositionY" ||
               name == "DispSize" || name == "Txt" || name == "IsFree" || name == "BoxIndex" ||
               name == "NextModule" || name == "ScriptIndex";
    });
}

bool SameState(const std::optional<DocumentHistory::ModuleState>& a,
               const std::optional<DocumentHistory::ModuleState>& b) {
    if (!a || !b)
        return !a && !b;
    return a->nextKey == b->nextKey && a->box == b->box && a->boxHeight == b->boxHeight &&
           SameRecord(a->record, b->record);
}

class HistoryCommand : public QUndoCommand {
public:
    using QUndoCommand::QUndoCommand;
    // Free module records the command takes when undone or redone.
    virtual int RecordsToTake(bool undoing) const = 0;
};

// A step of records: the first redo is the operation itself, which has already run.
class RecordsCommand : public HistoryCommand {
public:
    RecordsCommand(DocumentHistory& history, const QString& text,
                   std::vector<DocumentHistory::ModuleChange> changes,
                   DocumentHistory::ScriptState before, DocumentHistory::ScriptState after)
        : HistoryCommand(text), history_(history), changes_(std::move(changes)),
          before_(std::move(before)), after_(std::move(after)) {}

    void undo() override { history_.Apply(changes_, true, before_); }
    void redo() override {
        if (done_) {
            done_ = false;
            return;
        }
        history_.Apply(changes_, false, after_);
    }
    int RecordsToTake(bool undoing) const override {
        int n = 0;
        for (const auto& c : changes_) {
            const auto& target = undoing ? c.before : c.after;
            n += target && history_.LiveIndex(c.key) < 1 ? 1 : 0;
        }
        return n;
    }

private:
    DocumentHistory& history_;
    std::vector<DocumentHistory::ModuleChange> changes_;
    DocumentHistory::ScriptState before_, after_;
    bool done_ = true;
};

class MoveCommand : public HistoryCommand {
public:
    MoveCommand(DocumentHistory& history, std::vector<DocumentHistory::KeyedMove> moves)
        : HistoryCommand(QStringLiteral("Move Modules")), history_(history),
          moves_(std::move(moves)) {}

    void undo() override { history_.ApplyMove(moves_, true); }
    void redo() override {
        if (done_) {
            done_ = false;
            return;
        }
        history_.ApplyMove(moves_, false);
    }
    int RecordsToTake(bool) const override { return 0; }

private:
    DocumentHistory& history_;
    std::vector<DocumentHistory::KeyedMove> moves_;
    bool done_ = true;
};

} // namespace

DocumentHistory::DocumentHistory(ScriptDocument& document)
    : document_(document), stack_(new QUndoStack(&document)) {
    // A step keeps whole module records, so a long session of large deletes would hold on to
    // memory without end; the oldest steps go.
    stack_->setUndoLimit(kStepLimit);
}

DocumentHistory::~DocumentHistory() = default;

// ---- Keys.

int DocumentHistory::KeyOf(std::int16_t module) {
    if (!ScriptTables::IsModuleIndex(module))
        return 0;
    int& key = indexToKey_[static_cast<size_t>(module)];
    if (key == 0) {
        key = static_cast<int>(keyToIndex_.size());
        keyToIndex_.push_back(module);
    }
    return key;
}

std::int16_t DocumentHistory::LiveIndex(int key) const {
    if (key < 1 || key >= static_cast<int>(keyToIndex_.size()))
        return -1;
    const std::int16_t index = keyToIndex_[static_cast<size_t>(key)];
    return indexToKey_[static_cast<size_t>(index)] == key ? index : std::int16_t{-1};
}

void DocumentHistory::Forget(std::int16_t module) {
    // The key keeps the record as the one to come back to.
    if (ScriptTables::IsModuleIndex(module))
        indexToKey_[static_cast<size_t>(module)] = 0;
}

std::int16_t DocumentHistory::TakeRecord(int key) {
    ScriptTables& tables = document_.Tables();
    std::int16_t index = keyToIndex_[static_cast<size_t>(key)];
    if (!tables.MemStructRym_Take(index))
        index = tables.MemStructRym_Get();
    if (index < 1)
        return -1;
    keyToIndex_[static_cast<size_t>(key)] = index;
    indexToKey_[static_cast<size_t>(index)] = key;
    return index;
}

std::int16_t DocumentHistory::IndexOfLink(int key, std::int16_t stored) const {
    if (key == 0)
        return stored;
    const std::int16_t index = LiveIndex(key);
    return index >= 1 ? index : std::int16_t{-1};
}

// ---- Capturing.

DocumentHistory::ModuleState DocumentHistory::CaptureModule(std::int16_t module) {
    ModuleState state;
    state.record = document_.Tables().Module(module);
    if (ScriptTables::IsModuleIndex(state.record.NextModule))
        state.nextKey = KeyOf(state.record.NextModule);
    const int box = state.record.BoxIndex;
    if (document_.HasBox(box) && document_.ModuleOfBox(box) == module) {
        state.box = box;
        state.boxHeight = document_.BoxHeight(box);
    }
    return state;
}

DocumentHistory::ScriptState DocumentHistory::CaptureScript() {
    const ScriptRecord& s = document_.Record();
    ScriptState state;
    state.StartModule = s.StartModule;
    state.RunAtHangup = s.RunAtHangup;
    state.StartWithoutAnswer = s.StartWithoutAnswer;
    state.CtmAsiName = s.CtmAsiName;
    state.ModuleCount = s.ModuleCount;
    state.FirstModule = s.FirstModule;
    state.LastModule = s.LastModule;
    state.firstKey = KeyOf(s.FirstModule);
    state.lastKey = KeyOf(s.LastModule);
    return state;
}

DocumentHistory::Step::Step(DocumentHistory& history, const QString& text)
    : history_(history), text_(text), script_(history.CaptureScript()) {}

DocumentHistory::Step::~Step() = default;

void DocumentHistory::Step::Touch(std::int16_t module) {
    if (!ScriptTables::IsModuleIndex(module))
        return;
    const int key = history_.KeyOf(module);
    for (const ModuleChange& c : changes_)
        if (c.key == key)
            return;
    changes_.push_back({key, history_.CaptureModule(module), std::nullopt});
}

void DocumentHistory::Step::Added(std::int16_t module) {
    if (!ScriptTables::IsModuleIndex(module))
        return;
    changes_.push_back({history_.KeyOf(module), std::nullopt, std::nullopt});
}

bool DocumentHistory::Step::Commit() {
    ScriptTables& tables = history_.document_.Tables();
    bool changed = false;
    for (ModuleChange& c : changes_) {
        const std::int16_t index = history_.keyToIndex_[static_cast<size_t>(c.key)];
        if (!tables.Module(index).IsFree)
            c.after = history_.CaptureModule(index);
        changed = changed || !SameState(c.before, c.after);
    }
    ScriptState after = history_.CaptureScript();
    changed = changed || !(after == script_);
    // A freed record may go to a new module of any script: the key no longer names it.
    for (const ModuleChange& c : changes_)
        if (!c.after)
            history_.Forget(history_.keyToIndex_[static_cast<size_t>(c.key)]);
    if (!changed)
        return false;
    history_.stack_->push(new RecordsCommand(history_, text_, std::move(changes_),
                                             std::move(script_), std::move(after)));
    changes_.clear();
    return true;
}

void DocumentHistory::PushMove(const std::vector<Move>& moves) {
    std::vector<KeyedMove> keyed;
    keyed.reserve(moves.size());
    for (const Move& m : moves)
        if (m.from != m.to)
            keyed.push_back({KeyOf(m.module), m.from, m.to});
    if (!keyed.empty())
        stack_->push(new MoveCommand(*this, std::move(keyed)));
}

// ---- Undo and redo.

bool DocumentHistory::HasRecordsFor(int needed) {
    if (needed <= document_.Tables().MemStructRym_FreeCount())
        return true;
    document_.designer().Message(
        QStringLiteral("You have exceeded a limit of %1 modules").arg(kModuleCapacity),
        MessageIcon::Exclamation);
    return false;
}

bool DocumentHistory::Undo() {
    if (!stack_->canUndo())
        return false;
    const auto* command = static_cast<const HistoryCommand*>(stack_->command(stack_->index() - 1));
    if (!HasRecordsFor(command->RecordsToTake(true)))
        return false;
    stack_->undo();
    return true;
}

bool DocumentHistory::Redo() {
    if (!stack_->canRedo())
        return false;
    const auto* command = static_cast<const HistoryCommand*>(stack_->command(stack_->index()));
    if (!HasRecordsFor(command->RecordsToTake(false)))
        return false;
    stack_->redo();
    return true;
}

void DocumentHistory::Apply(const std::vector<ModuleChange>& changes, bool undoing,
                            const ScriptState& script) {
    ScriptDocument& doc = document_;
    ScriptTables& tables = doc.Tables();
    struct Landed {
        const ModuleChange* change;
        std::int16_t index;
        bool added;
    };
    std::vector<int> removedBoxes;
    std::vector<Landed> landed;
    landed.reserve(changes.size());

    // Records first, freed and taken in the order the operation freed them (undo: the reverse),
    // so that the free list ends as it was; then the links, which need every record in place.
    const size_t n = changes.size();
    for (size_t i = 0; i < n; ++i) {
        const ModuleChange& c = changes[undoing ? n - 1 - i : i];
        const auto& target = undoing ? c.before : c.after;
        std::int16_t index = LiveIndex(c.key);
        if (index >= 1 && !target) {
            const int box = tables.Module(index).BoxIndex;
            if (doc.HasBox(box) && doc.ModuleOfBox(box) == index) {
                doc.boxes_[static_cast<size_t>(box - 1)].module = -1;
                removedBoxes.push_back(box);
            }
            tables.MemStructRym_Free(index);
            Forget(index);
        } else if (index < 1 && target) {
            index = TakeRecord(c.key);
            if (index >= 1)
                landed.push_back({&c, index, true});
        } else if (index >= 1) {
            landed.push_back({&c, index, false});
        }
    }

    struct Shown {
        std::int16_t index;
        int box;
        bool added;
        bool renamed;
        bool restored;
    };
    std::vector<Shown> shown;
    shown.reserve(landed.size());
    for (const Landed& l : landed) {
        const ModuleState& state = *(undoing ? l.change->before : l.change->after);
        ModuleRecord& m = tables.Module(l.index);
        const bool renamed = !l.added && m.Title != state.record.Title;
        const bool restored = !l.added && !SameDialogFields(m, state.record);
        const std::int16_t selection = m.BoxDisplayMode;
        const int oldBox = l.added ? 0 : m.BoxIndex;
        m = state.record;
        m.IsFree = false;
        m.NextModule = IndexOfLink(state.nextKey, state.record.NextModule);
        if (!l.added)
            m.BoxDisplayMode = selection;
        int box = state.box;
        if (box >= 1) {
            if (oldBox != box && doc.HasBox(oldBox) && doc.ModuleOfBox(oldBox) == l.index)
                doc.boxes_[static_cast<size_t>(oldBox - 1)].module = -1;
            // Box numbers come back as they were; one taken meanwhile (it cannot be, steps
            // being undone in order) would rather give a new number than hide a module.
            if (doc.HasBox(box) && doc.ModuleOfBox(box) != l.index)
                box = doc.FreeBoxNumber();
            if (box > doc.BoxSlotCount())
                doc.boxes_.resize(static_cast<size_t>(box));
            doc.boxes_[static_cast<size_t>(box - 1)] = {l.index, state.boxHeight};
        }
        m.BoxIndex = static_cast<std::int16_t>(box >= 1 ? box : -1);
        shown.push_back({l.index, box, l.added, renamed, restored});
    }

    ScriptRecord& s = doc.Record();
    s.StartModule = script.StartModule;
    s.RunAtHangup = script.RunAtHangup;
    s.StartWithoutAnswer = script.StartWithoutAnswer;
    s.CtmAsiName = script.CtmAsiName;
    s.ModuleCount = script.ModuleCount;
    s.FirstModule = IndexOfLink(script.firstKey, script.FirstModule);
    s.LastModule = IndexOfLink(script.lastKey, script.LastModule);

    // The view follows once the records are whole again.
    for (int box : removedBoxes) {
        if (doc.currentBox_ == box)
            doc.currentBox_ = 0;
        emit doc.boxRemoved(box);
    }
    bool added = false;
    for (const Shown& sh : shown) {
        if (sh.box < 1)
            continue;
        if (sh.added) {
            added = true;
            emit doc.boxAdded(sh.box);
            continue;
        }
        emit doc.boxChanged(sh.box);
        if (sh.renamed)
            emit doc.titleRenamed(sh.index, ToQt(tables.Module(sh.index).Title));
        if (sh.restored)
            emit doc.moduleRestored(sh.index);
    }
    // Modules that come back are the selection, as a placed or pasted module is.
    if (added) {
        doc.DeselectAllBoxes();
        for (const Shown& sh : shown)
            if (sh.added && sh.box >= 1) {
                doc.SelectBox(sh.box);
                doc.currentBox_ = sh.box;
            }
    }
    emit doc.connectorsChanged();
}

void DocumentHistory::ApplyMove(const std::vector<KeyedMove>& moves, bool undoing) {
    ScriptDocument& doc = document_;
    for (const KeyedMove& mv : moves) {
        const std::int16_t index = LiveIndex(mv.key);
        if (index < 1)
            continue;
        ModuleRecord& m = doc.Tables().Module(index);
        const QPoint to = undoing ? mv.from : mv.to;
        m.PositionX = to.x();
        m.PositionY = to.y();
        if (doc.HasBox(m.BoxIndex))
            emit doc.boxChanged(m.BoxIndex);
    }
    emit doc.connectorsChanged();
}

} // namespace ry
