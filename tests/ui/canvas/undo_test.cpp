// Undo and redo of every edit of a document, and the modified mark that follows them.

#include "ui/canvas/editing_fixture.h"

#include "canvas/box_editor.h"
#include "canvas/box_geometry.h"
#include "canvas/document_history.h"
#include "dialogs/module_dialog.h"
#include "dialogs/module_dialogs.h"
#include "script/record_fields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QUndoStack>

#include <functional>
#include <map>
#include <sstream>

namespace ry::test {
namespace {

// One record field as text.
struct FieldText {
    std::ostream& out;
    void Put(const std::string& v) const { out << '"' << v << '"'; }
    void Put(bool v) const { out << (v ? "true" : "false"); }
    void Put(std::int16_t v) const { out << v; }
    void Put(std::int32_t v) const { out << v; }
    void Put(const DateTime& v) const { out << FormatIsoDate(v); }
    template <class T, size_t N> void Put(const std::array<T, N>& values) const {
        for (const T& v : values) {
            Put(v);
            out << ',';
        }
    }
    template <class T> void operator()(std::string_view name, FieldKind, const T& value) const {
        // The mark has tests of its own; the selection is the look of the boxes, not an edit.
        if (name == "Modified" || name == "BoxDisplayMode")
            return;
        out << name << '=';
        Put(value);
        out << ' ';
    }
};

// Everything an edit may change, as `rys dump` shows it, with each module's record number, box
// number and box height, and the order of the free module records (the next new module's
// number, and the ones after it).
std::string Snapshot(ScriptDocument& doc) {
    std::ostringstream out;
    const ScriptTables& tables = doc.Tables();
    VisitScriptFields(FieldText{out}, tables.Script(doc.Script()));
    out << '\n';
    ForEachModule(tables, doc.Script(), [&](std::int16_t index, const ModuleRecord& m) {
        out << '#' << index << " box " << m.BoxIndex << " module " << doc.ModuleOfBox(m.BoxIndex)
            << " height " << doc.BoxHeight(m.BoxIndex) << ": ";
        VisitModuleFields(FieldText{out}, m);
        out << '\n';
    });
    out << "boxes";
    for (int box : doc.Boxes())
        out << ' ' << box;
    out << "\nfree";
    int m = tables.ModuleFreeHead();
    for (int n = 0; n < kModuleCapacity && ScriptTables::IsModuleIndex(m); ++n) {
        out << ' ' << m;
        m = tables.Module(m).NextModule;
    }
    return out.str();
}

class Undo : public EditingTest {
protected:
    // Three boxes a, b, c with paths a -> b -> c, b's title in a's path, a the start module and
    // the box texts changed from their defaults; nothing selected and the script not modified.
    void Prepare() {
        boxes_ = ThreeBoxes({200, 200}, {600, 200}, {600, 500});
        a_ = boxes_[0];
        b_ = boxes_[1];
        c_ = boxes_[2];
        ModuleIn(a_).PathText = "on {1} goto [" + ModuleIn(b_).Title + "]\r\n";
        ModuleIn(b_).PathText = "on {fail} goto [" + ModuleIn(c_).Title + "]\r\n";
        ModuleIn(c_).PathText = "on {2} goto [" + ModuleIn(b_).Title + "]\r\n";
        Doc().Record().StartModule = ModuleIn(a_).Title;
        ModuleIn(b_).Txt = "Asks for the account";
        // The steps that made them are not what the tests undo: a fresh history, the script
        // as it stands its saved state.
        History().clear();
        Doc().MarkSaved();
    }

    QUndoStack& History() { return Doc().History(); }

    // The canvas shows what the records hold: one item per box, at its module's position and
    // of its box's height.
    void ExpectViewFollows() {
        int items = 0;
        for (QGraphicsItem* item : Window().Scene().items())
            items += item->type() == BoxItem::Type ? 1 : 0;
        EXPECT_EQ(items, static_cast<int>(Doc().Boxes().size()));
        for (int box : Doc().Boxes()) {
            BoxItem* item = Window().Scene().Item(box);
            ASSERT_NE(item, nullptr) << "box " << box;
            EXPECT_EQ(item->pos().toPoint(), PositionOf(box)) << "box " << box;
            EXPECT_EQ(item->boundingRect().height(), Doc().BoxHeight(box)) << "box " << box;
        }
    }

    std::vector<int> boxes_;
    int a_ = 0, b_ = 0, c_ = 0;
};

TEST_F(Undo, EveryEditIsOneStepThatUndoAndRedoTakeBackAndDoAgainExactly) {
    struct Case {
        const char* name;
        std::function<void()> edit;
        int steps = 1;
    };
    const Case cases[] = {
        {"place a module with the mouse",
         [this] {
             designer_->SetCurrentTool(QStringLiteral("Record"));
             Click({900, 700});
             designer_->SetCurrentTool(QLatin1String(kArrowTool));
         }},
        {"drag two selected boxes",
         [this] {
             Doc().SelectOnlyBox(a_);
             Doc().SelectBox(b_);
             Drag(FrameOf(a_), FrameOf(a_) + QPoint(150, 80));
         }},
        {"delete the selection, the start module and the first module among it",
         [this] {
             Doc().SelectOnlyBox(a_);
             Doc().SelectBox(b_);
             Choose("mnuEdit(2)");
         }},
        {"delete the last module from its box menu",
         [this] { ChooseFromBoxMenu(c_, QStringLiteral("Delete")); }},
        {"copy and paste",
         [this] {
             Doc().SelectOnlyBox(b_);
             Choose("mnuEdit(0)");
             Choose("mnuEdit(1)");
         }},
        {"rename on the box, with the paths and the start module",
         [this] {
             Click(TitleOfBox(a_));
             auto* field = qobject_cast<QLineEdit*>(Canvas().Editor().Widget());
             ASSERT_NE(field, nullptr);
             field->setText(QStringLiteral("Welcome"));
             QTest::keyClick(field, Qt::Key_Return);
             Click(TitleOfBox(b_));
             field = qobject_cast<QLineEdit*>(Canvas().Editor().Widget());
             ASSERT_NE(field, nullptr);
             field->setText(QStringLiteral("Account"));
             QTest::keyClick(field, Qt::Key_Return);
         },
         2},
        {"a dialog's Apply: fields, paths and a new title",
         [this] {
             const std::int16_t b = Doc().ModuleOfBox(b_);
             ModuleRecord edited = Doc().Module(b);
             edited.ReplayCount = 7;
             edited.PlayFileSlot(1) = "hello.wav";
             Doc().ApplyModule(b, edited, QStringLiteral("on {3} goto [%1]\n").arg(TitleOf(a_)),
                               QStringLiteral("Account"));
         }},
        {"box text",
         [this] {
             Click(TextOf(b_));
             auto* field = qobject_cast<QPlainTextEdit*>(Canvas().Editor().Widget());
             ASSERT_NE(field, nullptr);
             field->setPlainText(QStringLiteral("Two\nlines"));
             Window().CommitEdits();
         }},
        {"a path from the box menu",
         [this] {
             ChooseFromBoxMenu(a_, QStringLiteral("on5"));
             Click(FrameOf(c_));
         }},
        {"height from the box menu",
         [this] { ChooseFromBoxMenu(b_, QStringLiteral("HeightShort")); }},
        {"height of the selection from the View menu",
         [this] {
             Doc().SelectOnlyBox(a_);
             Doc().SelectBox(c_);
             Choose("mnuHeight(0)");
             designer_->SetDefaultDisplayHeight(kLongBoxHeight);
         }},
        {"make start module", [this] { ChooseFromBoxMenu(c_, QStringLiteral("StartModule")); }},
        {"script properties from their dialog",
         [this] {
             const QString start = TitleOf(c_);
             prompter_.dialogs.push_back([start](QDialog& dialog) {
                 auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("cmbStartModule"));
                 combo->setCurrentText(start);
                 dialog.findChild<QLineEdit*>(QStringLiteral("txtScriptAfterCall"))
                     ->setText(QStringLiteral("after.rys"));
                 dialog.findChild<QCheckBox*>(QStringLiteral("chkRunBeforeAnswer"))
                     ->setChecked(true);
                 dialog.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
                 return int(QDialog::Accepted);
             });
             Choose("mnuEdit(4)");
         }},
        {"the CT Media name", [this] { Doc().SetCtmAsiName(QStringLiteral("line7")); }},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        Start("");
        Prepare();
        const std::string before = Snapshot(Doc());
        const int steps = History().count();

        tc.edit();
        const std::string after = Snapshot(Doc());
        ASSERT_NE(after, before) << "the edit changed nothing";
        EXPECT_EQ(History().count(), steps + tc.steps);

        for (int round = 0; round < 2; ++round) {
            while (History().index() > steps)
                Choose("mnuUndo");
            EXPECT_EQ(Snapshot(Doc()), before);
            ExpectViewFollows();
            EXPECT_FALSE(Doc().Record().Modified) << "back where it was";
            while (History().canRedo())
                Choose("mnuRedo");
            EXPECT_EQ(Snapshot(Doc()), after);
            ExpectViewFollows();
            EXPECT_TRUE(Doc().Record().Modified);
        }
    }
}

TEST_F(Undo, TheModulesADeleteTakesBackAreTheSelection) {
    Prepare();
    Doc().SelectOnlyBox(a_);
    Doc().SelectBox(c_);
    Choose("mnuEdit(2)");
    Doc().SelectOnlyBox(b_);
    Choose("mnuUndo");
    EXPECT_EQ(SelectedBoxes(), (std::vector<int>{a_, c_}));
    EXPECT_TRUE(Doc().CurrentBox() == a_ || Doc().CurrentBox() == c_);
}

TEST_F(Undo, AModuleWhoseRecordAnotherScriptTookComesBackInAnotherRecord) {
    Prepare();
    DocumentWindow& first = Window();
    const std::int16_t b = Doc().ModuleOfBox(b_);
    const std::string title = ModuleIn(b_).Title;
    const std::string before = Snapshot(Doc());
    Doc().SelectOnlyBox(b_);
    Choose("mnuEdit(2)");

    // A new script takes the record b had: it is at the head of the free list.
    Choose("mnuFile(0)");
    ASSERT_NE(&Window(), &first);
    DocumentWindow& second = Window();
    EXPECT_EQ(second.Document().ModuleOfBox(1), b);
    const std::string other = Snapshot(second.Document());

    main_->BringToFront(&first);
    ASSERT_TRUE(first.Document().Undo());
    const std::int16_t back = first.Document().ModuleOfBox(b_);
    EXPECT_NE(back, b);
    EXPECT_EQ(first.Document().Module(back).Title, title);
    // The same script but for the record's number.
    std::string expected = before;
    auto swap = [&](const std::string& from, const std::string& to) {
        for (size_t at = expected.find(from); at != std::string::npos;
             at = expected.find(from, at + to.size()))
            expected.replace(at, from.size(), to);
    };
    const std::string bs = std::to_string(b), backs = std::to_string(back);
    swap("#" + bs + " ", "#" + backs + " ");
    swap("module " + bs + " ", "module " + backs + " ");
    swap("NextModule=" + bs + " ", "NextModule=" + backs + " ");
    auto records = [](const std::string& snapshot) {
        return snapshot.substr(0, snapshot.find("\nfree"));
    };
    EXPECT_EQ(records(Snapshot(first.Document())), records(expected));
    EXPECT_EQ(records(Snapshot(second.Document())), records(other))
        << "the other script is untouched";
    ExpectViewFollows();

    // Redo and undo keep to the record it now has.
    ASSERT_TRUE(first.Document().Redo());
    EXPECT_EQ(first.Document().Boxes(), (std::vector<int>{a_, c_}));
    ASSERT_TRUE(first.Document().Undo());
    EXPECT_EQ(first.Document().ModuleOfBox(b_), back);
    EXPECT_EQ(ModuleIn(a_).NextModule, back);
}

TEST_F(Undo, AnUndoNeedingMoreRecordsThanAreFreeIsRefused) {
    Prepare();
    Doc().SelectOnlyBox(a_);
    Doc().SelectBox(b_);
    Choose("mnuEdit(2)");
    const std::string deleted = Snapshot(Doc());
    // Other scripts hold every record but one.
    std::vector<std::int16_t> taken;
    for (std::int16_t m; (m = designer_->Tables().MemStructRym_Get()) >= 1;)
        taken.push_back(m);
    designer_->Tables().MemStructRym_Free(taken.back());
    prompter_.messages.clear();

    EXPECT_FALSE(Doc().Undo());
    EXPECT_EQ(prompter_.MessageTexts(), QStringList{"You have exceeded a limit of 1000 modules"});
    // The pool is the other scripts' now; the script's own records are untouched.
    auto records = [](const std::string& snapshot) {
        return snapshot.substr(0, snapshot.find("\nfree"));
    };
    EXPECT_EQ(records(Snapshot(Doc())), records(deleted));
    EXPECT_TRUE(History().canUndo()) << "the step waits for records";

    designer_->Tables().MemStructRym_Free(taken.front());
    EXPECT_TRUE(Doc().Undo());
    EXPECT_EQ(Doc().Boxes(), (std::vector<int>{a_, b_, c_}));
    // The two records freed went to the script; the others go back to the pool.
    for (size_t i = 1; i + 1 < taken.size(); ++i)
        designer_->Tables().MemStructRym_Free(taken[i]);
}

TEST_F(Undo, TheModifiedMarkFollowsTheSavedState) {
    int saves = 0;
    auto edit = [this] { Doc().SetBoxText(Doc().ModuleOfBox(a_), QStringLiteral("edited")); };
    auto save = [this, &saves] {
        prompter_.files.push_back(folder_->filePath(QStringLiteral("saved%1.rys").arg(++saves)));
        Choose("mnuFile(6)");
        ASSERT_FALSE(Doc().Record().Modified);
    };
    auto undoAll = [this] {
        while (History().canUndo())
            Choose("mnuUndo");
    };
    struct Case {
        const char* name;
        std::function<void()> steps;
        bool modified;
    };
    const Case cases[] = {
        {"an edit undone", [&] { edit(), Choose("mnuUndo"); }, false},
        {"saved, then undone", [&] { edit(), save(), Choose("mnuUndo"); }, true},
        {"saved, undone, redone", [&] { edit(), save(), Choose("mnuUndo"), Choose("mnuRedo"); },
         false},
        {"saved, undone, and a new edit",
         [&] {
             edit(), save(), Choose("mnuUndo");
             Doc().SetStartModule(TitleOf(c_));
             Choose("mnuUndo");
         },
         true},
        // Opening a dialog changes nothing: closing an unchanged script asks nothing.
        {"a dialog opened after saving",
         [&] { save(), Window().DoBoxInfo_Click(b_), designer_->Dialogs().CloseAll(); }, false},
        {"a dialog opened after an edit, then the edit undone",
         [&] {
             edit();
             Window().DoBoxInfo_Click(b_);
             designer_->Dialogs().CloseAll();
             undoAll();
         },
         false},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        Start("");
        Prepare();
        History().clear();
        tc.steps();
        EXPECT_EQ(Doc().Record().Modified, tc.modified);
        // Closing asks exactly when the mark is set.
        prompter_.messages.clear();
        prompter_.answers.push_back(MessageAnswer::Cancel);
        Choose("mnuFile(2)");
        EXPECT_EQ(prompter_.messages.size(), tc.modified ? 1u : 0u);
        prompter_.answers.clear();
    }
}

TEST_F(Undo, TheHistoryKeepsItsNewestStepsAndThenNeverReachesTheSavedState) {
    Prepare();
    const int limit = DocumentHistory::kStepLimit;
    for (int n = 0; n < limit; ++n)
        Doc().SetCtmAsiName(QStringLiteral("line%1").arg(n));
    // A full history still tells of each new step, as the problem list relies on.
    QSignalSpy steps(&History(), &QUndoStack::indexChanged);
    Doc().SetCtmAsiName(QStringLiteral("line%1").arg(limit));
    EXPECT_EQ(steps.count(), 1);
    EXPECT_EQ(History().count(), limit);
    while (Doc().Undo()) {
    }
    // The first step is gone: the name it set stays, and so does the mark.
    EXPECT_EQ(Doc().Record().CtmAsiName, "line0");
    EXPECT_TRUE(Doc().Record().Modified);
}

TEST_F(Undo, AnOpenDialogShowsWhatAnUndoPutsBackUnlessItHoldsEdits) {
    Prepare();
    const std::int16_t b = Doc().ModuleOfBox(b_);
    Window().DoBoxInfo_Click(b_);
    ModuleDialog* dialog = designer_->Dialogs().DialogOfModule(b);
    ASSERT_NE(dialog, nullptr);
    auto* count = dialog->findChild<QLineEdit*>(QStringLiteral("txtReplayCount"));
    ASSERT_NE(count, nullptr);

    count->setText(QStringLiteral("9"));
    dialog->Apply();
    ASSERT_EQ(Doc().Module(b).ReplayCount, 9);
    Choose("mnuUndo");
    EXPECT_EQ(Doc().Module(b).ReplayCount, 2);
    EXPECT_EQ(count->text(), QStringLiteral("2"));
    EXPECT_FALSE(dialog->IsDirty());

    Choose("mnuRedo");
    count->setText(QStringLiteral("5")); // not applied
    Choose("mnuUndo");
    EXPECT_EQ(Doc().Module(b).ReplayCount, 2);
    EXPECT_EQ(count->text(), QStringLiteral("5")) << "the user's edit stays";
    EXPECT_TRUE(dialog->IsDirty());

    // A module that an undo takes away takes its dialog with it.
    designer_->SetCurrentTool(QStringLiteral("Play"));
    Click({900, 700});
    designer_->SetCurrentTool(QLatin1String(kArrowTool));
    const int placed = Doc().CurrentBox();
    const std::int16_t module = Doc().ModuleOfBox(placed);
    Window().DoBoxInfo_Click(placed);
    ASSERT_NE(designer_->Dialogs().DialogOfModule(module), nullptr);
    while (Doc().HasBox(placed))
        Choose("mnuUndo");
    EXPECT_EQ(designer_->Dialogs().DialogOfModule(module), nullptr);
}

TEST_F(Undo, UndoTakesBackATitleBeingTypedAndEndsADrag) {
    Prepare();
    const std::string title = ModuleIn(a_).Title;
    Doc().SetCtmAsiName(QStringLiteral("line7")); // something to undo, so that Undo is offered
    Click(TitleOfBox(a_));
    auto* field = qobject_cast<QLineEdit*>(Canvas().Editor().Widget());
    ASSERT_NE(field, nullptr);
    field->setText(QStringLiteral("Typed"));
    // The field is applied, as an edit of its own, and that is what the undo takes back.
    Choose("mnuUndo");
    EXPECT_EQ(Canvas().Editor().Editing(), BoxEditor::Field::None);
    EXPECT_EQ(ModuleIn(a_).Title, title);
    EXPECT_EQ(History().redoText(), QStringLiteral("Rename"));

    const QPoint from = PositionOf(b_);
    Press(FrameOf(b_));
    MoveTo(FrameOf(b_) + QPoint(60, 60));
    ASSERT_TRUE(Canvas().Dragging());
    Choose("mnuUndo");
    EXPECT_FALSE(Canvas().Dragging());
    Release(FrameOf(b_) + QPoint(60, 60));
    EXPECT_EQ(PositionOf(b_), from);
    ExpectViewFollows();
}

TEST_F(Undo, TheEditMenuEntriesFollowTheActiveDocumentAndDoNotClash) {
    QAction* undo = Menu(QStringLiteral("mnuUndo"));
    QAction* redo = Menu(QStringLiteral("mnuRedo"));
    ASSERT_TRUE(undo && redo);
    EXPECT_EQ(undo->text(), QStringLiteral("&Undo"));
    EXPECT_EQ(redo->text(), QStringLiteral("&Redo"));
    EXPECT_EQ(undo->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_TRUE(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    // No other entry of the window answers to the same keys.
    std::map<QString, QString> owners;
    for (QAction* action : main_->findChildren<QAction*>())
        for (const QKeySequence& key : action->shortcuts()) {
            const QString text = key.toString();
            EXPECT_FALSE(owners.count(text))
                << text.toStdString() << ": " << owners[text].toStdString() << " and "
                << action->objectName().toStdString();
            owners[text] = action->objectName();
        }

    EXPECT_FALSE(undo->isEnabled());
    Prepare();
    DocumentWindow& first = Window();
    Doc().SetCtmAsiName(QStringLiteral("line7"));
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(undo->statusTip(), QStringLiteral("Undo CT Media Name"));
    Choose("mnuFile(0)");
    EXPECT_FALSE(undo->isEnabled()) << "the new script has nothing to undo";
    main_->BringToFront(&first);
    EXPECT_TRUE(undo->isEnabled());
    Choose("mnuUndo");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_EQ(redo->statusTip(), QStringLiteral("Redo CT Media Name"));
}

} // namespace
} // namespace ry::test
