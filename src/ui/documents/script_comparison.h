#pragma once

// An open script compared with another version of it (another file, or its own file as saved
// on disk): the other version is read into tables of its own, so the comparison neither takes
// records from the designer's pool nor touches the document. The open script is the newer
// side: what it has that the other lacks reads as added.

#include "diff/script_diff.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace ry {

class Designer;

class ScriptComparison {
public:
    // Reads `otherFile` and compares the designer's `script` with it. Null when the file does
    // not load, with the reason in `error`.
    static std::unique_ptr<ScriptComparison> Open(Designer& designer, std::int16_t script,
                                                  const QString& otherFile, QString* error);

    // Compares again, after the open script changed.
    void Refresh();

    const ScriptDiff& Diff() const { return diff_; }
    const QString& OtherFile() const { return otherFile_; }
    const ScriptTables& OtherTables() const { return *other_; }
    std::int16_t OtherScript() const { return otherScript_; }

private:
    ScriptComparison(Designer& designer, std::int16_t script, QString otherFile)
        : designer_(designer), script_(script), otherFile_(std::move(otherFile)) {}

    Designer& designer_;
    std::int16_t script_;
    QString otherFile_;
    std::unique_ptr<ScriptTables> other_ = std::make_unique<ScriptTables>();
    std::int16_t otherScript_ = -1;
    ScriptDiff diff_;
};

} // namespace ry
