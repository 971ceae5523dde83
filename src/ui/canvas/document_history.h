#pragma once

// The undo history of one document. Each document operation records the records it changes as
// they were before and after it, and pushes them as one step; undo puts the before-state back,
// redo the after-state. Nothing is worked out again: a step holds whole module records, the
// links of the module chain, box numbers and heights, and the script's own fields.
//
// All open scripts share one pool of module records, so a record this document freed may be
// handed to another script before the step that freed it is undone. Steps therefore name
// modules by a key of their own, not by record number; a module comes back under the record
// number it had whenever that record is still free (it is, unless another script took it), so
// the free list and the numbers of new modules are exactly as before.

#include "script/records.h"

#include <QPoint>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QUndoStack;

namespace ry {

class ScriptDocument;

class DocumentHistory {
public:
    // The steps kept; older ones can no longer be undone.
    static constexpr int kStepLimit = 500;

    explicit DocumentHistory(ScriptDocument& document);
    ~DocumentHistory();
    DocumentHistory(const DocumentHistory&) = delete;
    DocumentHistory& operator=(const DocumentHistory&) = delete;

    QUndoStack& Stack() { return *stack_; }

    // A module as a step keeps it. Chain links are kept by key, so that they still hold when
    // a module comes back in another record.
    struct ModuleState {
        ModuleRecord record;
        int nextKey = 0; // 0: no module follows, record.NextModule as it was
        int box = 0;     // 0: no box
        int boxHeight = 0;
    };
    // The script's fields that operations change.
    struct ScriptState {
        std::string StartModule;
        std::string RunAtHangup;
        bool StartWithoutAnswer = false;
        std::string CtmAsiName;
        std::int16_t ModuleCount = 0;
        int firstKey = 0, lastKey = 0;
        std::int16_t FirstModule = -1, LastModule = -1; // as they were, where no key applies
        bool operator==(const ScriptState&) const = default;
    };
    // One module before and after a step; nothing: not in the script.
    struct ModuleChange {
        int key = 0;
        std::optional<ModuleState> before, after;
    };

    // Undo and redo of one step. False when there is none, or when the step needs more free
    // module records than the pool has left (other scripts took them); the user is told.
    bool Undo();
    bool Redo();

    // One operation being recorded: made before the operation changes anything, told which
    // modules it may change (Touch, before changing them) and which it made (Added, after),
    // then committed. An operation that fails before Commit leaves no step.
    class Step {
    public:
        Step(DocumentHistory& history, const QString& text);
        ~Step();
        Step(const Step&) = delete;
        Step& operator=(const Step&) = delete;

        void Touch(std::int16_t module);
        void Added(std::int16_t module);
        // Pushes the step; false (and no step) when the operation changed nothing.
        bool Commit();

    private:
        DocumentHistory& history_;
        QString text_;
        std::vector<ModuleChange> changes_;
        ScriptState script_;
    };

    // A move of boxes: only positions change, so the step keeps only positions.
    struct Move {
        std::int16_t module;
        QPoint from;
        QPoint to;
    };
    void PushMove(const std::vector<Move>& moves);

    // ---- For the steps.
    int KeyOf(std::int16_t module);
    // The record a key's module lives in now; -1 when it is not in the script.
    std::int16_t LiveIndex(int key) const;
    ModuleState CaptureModule(std::int16_t module);
    ScriptState CaptureScript();
    // Puts every module of `changes` into its before-state (undoing) or after-state, in
    // reverse order when undoing, then the script's fields.
    void Apply(const std::vector<ModuleChange>& changes, bool undoing, const ScriptState& script);
    struct KeyedMove {
        int key;
        QPoint from;
        QPoint to;
    };
    void ApplyMove(const std::vector<KeyedMove>& moves, bool undoing);
    ScriptDocument& Document() { return document_; }

private:
    // A free record for a module coming back: its own when still free.
    std::int16_t TakeRecord(int key);
    void Forget(std::int16_t module);
    std::int16_t IndexOfLink(int key, std::int16_t stored) const;
    // Records a pending undo or redo needs; refuses with the pool's message when short.
    bool HasRecordsFor(int needed);

    ScriptDocument& document_;
    QUndoStack* stack_;
    // Keys from 1; keyToIndex_[key] is the record the key's module lives in, or last lived in.
    std::vector<std::int16_t> keyToIndex_{0};
    std::vector<int> indexToKey_ = std::vector<int>(kModuleCapacity + 1, 0);
};

} // namespace ry
