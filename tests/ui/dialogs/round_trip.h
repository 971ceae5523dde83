#pragma once

// A dialog's values through the script file: the script is saved by the core saver as the
// program saves it (box texts and heights from the document) and the file is loaded into a
// new script, whose module is compared field by field with the one the dialog stored.

#include "dialog_fixture.h"

#include "script/loader.h"
#include "script/record_fields.h"
#include "script/saver.h"

#include <initializer_list>
#include <string_view>

namespace ry::test {

class RoundTripTest : public DialogTest {
protected:
    // The module titled like `module`, from the script file saved now and loaded again.
    const ModuleRecord& SaveAndLoad(std::int16_t module) {
        const std::string file = folder_.filePath(QStringLiteral("round trip.rys")).toStdString();
        Tables().Script(script_).FileName = file;
        EXPECT_EQ(
            SaveScriptFile(Tables(), designer_->CoreHost(), Doc(), designer_->Writer(), script_),
            kSaveWritten);
        const std::int16_t loaded = RysScriptLoad(Tables(), designer_->CoreHost(), file);
        EXPECT_GE(loaded, 1);
        std::int16_t found = -1;
        ForEachModule(Tables(), loaded, [&](std::int16_t m, const ModuleRecord& r) {
            if (r.Title == Tables().Module(module).Title)
                found = m;
        });
        EXPECT_GE(found, 1) << Tables().Module(module).Title;
        return Tables().Module(found >= 1 ? found : module);
    }

    // Every field the file holds is the same in both; `unstored` names fields the file does
    // not hold for this type.
    static void ExpectSameContent(const ModuleRecord& stored, const ModuleRecord& loaded,
                                  std::initializer_list<std::string_view> unstored = {}) {
        VisitModuleFields(
            [&](const char* name, FieldKind kind, const auto& a, const auto& b) {
                if (kind != FieldKind::Content)
                    return;
                for (std::string_view skip : unstored)
                    if (skip == name)
                        return;
                EXPECT_EQ(a, b) << name;
            },
            stored, loaded);
    }

    // Opens the dialog of the module titled `title`, lets `edit` change every field, applies,
    // and compares the stored module with the one read back from the file.
    template <class Edit>
    void ExpectRoundTrip(std::string_view title, Edit&& edit,
                         std::initializer_list<std::string_view> unstored = {}) {
        ModuleDialog* d = Open(title);
        ASSERT_NE(d, nullptr);
        edit(d);
        EXPECT_TRUE(d->IsDirty());
        d->Apply();
        EXPECT_FALSE(d->IsDirty());
        const std::int16_t module = d->ModuleIndex();
        const ModuleRecord& loaded = SaveAndLoad(module);
        ExpectSameContent(Tables().Module(module), loaded, unstored);
    }
};

} // namespace ry::test
