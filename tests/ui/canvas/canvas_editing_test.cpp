// Editing on the canvas with the mouse: placing, the rubber band, dragging, path commands,
// the box fields and the box menu.

#include "ui/canvas/editing_fixture.h"

#include "canvas/box_editor.h"
#include "canvas/box_geometry.h"
#include "canvas/path_commands.h"
#include "script/module_types.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>

namespace ry::test {
namespace {

using CanvasEditing = EditingTest;

TEST_F(CanvasEditing, AModuleToolPlacesANewModuleWithItsTopLeftAtTheClick) {
    for (const char* type : {"Play", "Dial and Conference"}) {
        SCOPED_TRACE(type);
        designer_->SetCurrentTool(QLatin1String(type));
        Doc().Record().Modified = false;
        const auto before = Doc().Boxes().size();

        Click({300, 210});

        ASSERT_EQ(Doc().Boxes().size(), before + 1);
        const int box = Doc().CurrentBox();
        const std::int16_t module = Doc().ModuleOfBox(box);
        const ModuleRecord& m = Doc().Module(module);
        EXPECT_EQ(QPoint(m.PositionX, m.PositionY), QPoint(300, 210));
        EXPECT_EQ(m.Type, type);
        EXPECT_EQ(m.Title, std::to_string(module) + " " + type);
        EXPECT_EQ(m.Txt, TypeDescription(type));
        EXPECT_EQ(SelectedBoxes(), std::vector<int>{box});
        EXPECT_TRUE(Doc().Record().Modified);
        EXPECT_EQ(Canvas().Pointer(), kPointerCross);
        Doc().DeleteSelectedModules();
    }
}

TEST_F(CanvasEditing, RubberBandSelectsBoxesWhoseTopLeftLiesStrictlyInside) {
    const auto boxes = ThreeBoxes({200, 200}, {400, 300}, {600, 500});
    const int a = boxes[0], b = boxes[1], c = boxes[2];
    struct Case {
        const char* name;
        QPoint from, to;
        std::vector<int> selected;
    };
    const Case cases[] = {
        {"down and right", {150, 150}, {580, 380}, {a, b}},
        {"up and left", {580, 380}, {150, 150}, {a, b}},
        {"left edge on a corner", {200, 150}, {580, 380}, {b}},
        {"bottom edge on a corner", {150, 150}, {650, 500}, {a, b}},
        {"around all three", {800, 600}, {100, 100}, {a, b, c}},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        Doc().SelectOnlyBox(c); // a box outside the band loses its selection
        Press(tc.from);
        MoveTo((tc.from + tc.to) / 2);
        MoveTo(tc.to);
        EXPECT_TRUE(Canvas().RubberBandActive());
        EXPECT_EQ(SelectedBoxes(), tc.selected);
        Release(tc.to);
        EXPECT_FALSE(Canvas().RubberBandActive());
        EXPECT_EQ(SelectedBoxes(), tc.selected);
    }
    EXPECT_FALSE(Doc().Record().Modified);
}

TEST_F(CanvasEditing, ADroppedBoxStaysOnTheCanvas) {
    const auto boxes = ThreeBoxes({400, 300}, {900, 900}, {1200, 900});
    const int box = boxes[0];
    const QPoint grab(102, 10); // the frame, between title and icon
    struct Case {
        const char* name;
        QPoint dropAt; // where the pointer lets go
        QPoint landsAt;
    };
    const Case cases[] = {
        {"within the canvas", {500 + 102, 350 + 10}, {500, 350}},
        {"beyond the right edge", {5000, 310}, {2000 - kBoxWidth, 300}},
        {"below the bottom", {502, 5000}, {400, 2000 - kLongBoxHeight}},
        {"above and left of the canvas", {-300, -200}, {0, 0}},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        Doc().MoveModules({{Doc().ModuleOfBox(box), {400, 300}}});
        Doc().Record().Modified = false;
        Drag(QPoint(400, 300) + grab, tc.dropAt);
        EXPECT_FALSE(Canvas().Dragging());
        EXPECT_EQ(PositionOf(box), tc.landsAt);
        EXPECT_EQ(Window().Scene().Item(box)->pos().toPoint(), tc.landsAt);
        EXPECT_TRUE(Doc().Record().Modified);
    }
}

TEST_F(CanvasEditing, DraggingASelectedBoxMovesTheWholeSelection) {
    const auto boxes = ThreeBoxes({1000, 200}, {1800, 300}, {600, 500});
    const int a = boxes[0], b = boxes[1], c = boxes[2];
    Doc().SelectOnlyBox(a);
    Doc().SelectBox(b);

    // Pressing a box of the selection keeps the selection.
    Drag(FrameOf(a), FrameOf(a) + QPoint(60, 40));
    EXPECT_EQ(SelectedBoxes(), (std::vector<int>{a, b}));
    EXPECT_EQ(PositionOf(a), QPoint(1060, 240));
    EXPECT_EQ(PositionOf(b), QPoint(2000 - kBoxWidth, 340))
        << "kept on the canvas like the grabbed one";
    EXPECT_EQ(PositionOf(c), QPoint(600, 500));

    // Left past the edge: every box stops at 0.
    Drag(FrameOf(a), FrameOf(a) - QPoint(1500, 0));
    EXPECT_EQ(PositionOf(a), QPoint(0, 240));
    EXPECT_EQ(PositionOf(b), QPoint(345, 340));
}

TEST_F(CanvasEditing, ABoxMovesFromAnyPartAndAClickStillEditsTheTitleOrText) {
    const int distance = QApplication::startDragDistance();
    struct Case {
        const char* name;
        BoxEditor::Field field;
    };
    const Case cases[] = {
        {"text", BoxEditor::Field::Text},
        {"title", BoxEditor::Field::Title},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        const auto boxes = ThreeBoxes({400, 300}, {900, 300}, {1200, 900});
        const int a = boxes[0], b = boxes[1];
        Doc().SelectOnlyBox(a);
        Doc().SelectBox(b);
        Doc().Record().Modified = false;

        // Past the drag distance the press moves the box and the rest of the selection.
        auto partOf = [&](int box) {
            return tc.field == BoxEditor::Field::Text ? TextOf(box) : TitleOfBox(box);
        };
        const QPoint from = partOf(a);
        Drag(from, from + QPoint(60, 40));
        EXPECT_EQ(Canvas().Editor().Editing(), BoxEditor::Field::None);
        EXPECT_EQ(PositionOf(a), QPoint(460, 340));
        EXPECT_EQ(PositionOf(b), QPoint(960, 340));
        EXPECT_EQ(SelectedBoxes(), (std::vector<int>{a, b}));
        EXPECT_TRUE(Doc().Record().Modified);

        // A hand that trembles less than the drag distance still clicks: nothing moves, and
        // the part opens for editing.
        Doc().Record().Modified = false;
        const QPoint at = partOf(a);
        Press(at);
        MoveTo(at + QPoint(distance - 1, 0));
        Release(at + QPoint(distance - 1, 0));
        EXPECT_EQ(PositionOf(a), QPoint(460, 340));
        EXPECT_EQ(Canvas().Editor().Editing(), tc.field);
        EXPECT_FALSE(Doc().Record().Modified);
        Click({1700, 1700}); // closes the field unchanged
        EXPECT_EQ(Canvas().Editor().Editing(), BoxEditor::Field::None);
        Doc().SelectOnlyBox(b);
        Doc().SelectBox(boxes[2]);
        Doc().DeleteSelectedModules();
    }
}

TEST_F(CanvasEditing, AnotherButtonDuringADragNeitherDropsNorOpensAMenu) {
    const auto boxes = ThreeBoxes({400, 300}, {900, 900}, {1200, 900});
    const QPoint from = FrameOf(boxes[0]);
    Press(from);
    MoveTo(from + QPoint(50, 0));
    Click(from + QPoint(50, 0), Qt::RightButton);
    EXPECT_TRUE(Canvas().Dragging());
    EXPECT_FALSE(Canvas().Menus().ModuleMenu().isVisible());
    MoveTo(from + QPoint(100, 20));
    Release(from + QPoint(100, 20));
    EXPECT_FALSE(Canvas().Dragging());
    EXPECT_EQ(PositionOf(boxes[0]), QPoint(500, 320));
}

TEST_F(CanvasEditing, PressingABoxWithAPendingPathCommandAddsThePathOnly) {
    const auto boxes = ThreeBoxes({200, 200}, {600, 200}, {600, 500});
    const int source = boxes[0], destination = boxes[1];
    // A type that takes keys as well as success and fail, so that all these commands are offered.
    ModuleIn(source).Type = "Say Numbers";
    struct Case {
        const char* key;
        const char* trigger;
    };
    const Case cases[] = {{"on1", "1"},      {"on9", "9"},    {"on0", "0"},
                          {"onStar", "*"},   {"onHash", "#"}, {"onSuccess", "success"},
                          {"onFail", "fail"}};
    std::string expected;
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.key);
        ChooseFromBoxMenu(source, QLatin1String(tc.key));
        EXPECT_EQ(Canvas().PendingCommand(), PathCommandOfKey(QLatin1String(tc.key)));
        EXPECT_EQ(Canvas().Pointer(), kPointerPathCommand);
        EXPECT_EQ(Viewport()->cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(SelectedBoxes(), std::vector<int>{source});

        const QPoint destinationAt = PositionOf(destination);
        Press(FrameOf(destination));
        MoveTo(FrameOf(destination) + QPoint(80, 80));
        Release(FrameOf(destination) + QPoint(80, 80));

        expected +=
            std::string("on {") + tc.trigger + "} goto [" + ModuleIn(destination).Title + "]\r\n";
        EXPECT_EQ(ModuleIn(source).PathText, expected);
        EXPECT_EQ(SelectedBoxes(), std::vector<int>{source}) << "the destination is not selected";
        EXPECT_EQ(PositionOf(destination), destinationAt) << "nor dragged";
        EXPECT_EQ(Canvas().PendingCommand(), 0);
        EXPECT_EQ(Canvas().Pointer(), kPointerArrow);
    }
    EXPECT_TRUE(Doc().Record().Modified);
}

TEST_F(CanvasEditing, AnAddedPathIsDrawnOnTheCanvas) {
    const auto boxes = ThreeBoxes({100, 100}, {400, 100}, {600, 500});
    // The gap between the two boxes, where the connector runs.
    const QRect gap(View().mapFromScene(QPointF(100 + kBoxWidth + 2, 100)),
                    View().mapFromScene(QPointF(400 - 2, 100 + kLongBoxHeight)));
    auto inkIn = [&] {
        const QImage image = Viewport()->grab(gap).toImage();
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    return true;
        return false;
    };
    EXPECT_FALSE(inkIn());
    ChooseFromBoxMenu(boxes[0], QStringLiteral("on1"));
    Click(FrameOf(boxes[1]));
    EXPECT_TRUE(inkIn());
}

TEST_F(CanvasEditing, TheScrollBarsReachTheCanvasEdges) {
    View().horizontalScrollBar()->setValue(View().horizontalScrollBar()->maximum());
    View().verticalScrollBar()->setValue(View().verticalScrollBar()->maximum());
    const QPointF corner = View().mapToScene(Viewport()->rect().bottomRight() + QPoint(1, 1));
    EXPECT_EQ(corner.toPoint(), QPoint(2000, 2000));
}

TEST_F(CanvasEditing, ATimeoutPathAsksForItsSeconds) {
    const auto boxes = ThreeBoxes({200, 200}, {600, 200}, {600, 500});
    const int source = boxes[0], destination = boxes[1];
    struct Case {
        const char* name;
        QString typed;
        bool ok; // closed with OK, or otherwise
        const char* trigger;
    };
    const Case cases[] = {
        {"seconds", QStringLiteral("45"), true, "timeout 45"},
        {"empty answer", QString(), true, "timeout 0"},
        {"blanks around", QStringLiteral(" 7 "), true, "timeout 7"},
        {"closed without OK", QStringLiteral("12"), false, "timeout 0"},
        {"braces typed anyway", QStringLiteral("5} goto [X"), true, "timeout 0"},
        {"longer than a timeout may be", QStringLiteral("9999"), true, "timeout 3600"},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        ModuleIn(source).PathText.clear();
        ChooseFromBoxMenu(source, QStringLiteral("onTimeout"));
        QString asked;
        prompter_.dialogs.push_back([&](QDialog& dialog) {
            EXPECT_EQ(dialog.objectName(), QStringLiteral("frmInputData"));
            asked = dialog.findChild<QLabel*>(QStringLiteral("lblInfoDesc"))->text();
            dialog.findChild<QLineEdit*>(QStringLiteral("txtInputField"))->setText(tc.typed);
            if (!tc.ok)
                return int(QDialog::Rejected);
            dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
            return dialog.result();
        });
        Click(FrameOf(destination));
        EXPECT_TRUE(prompter_.dialogs.empty());
        EXPECT_EQ(asked, QStringLiteral("Please enter the timeout (in seconds) :"));
        EXPECT_EQ(ModuleIn(source).PathText, std::string("on {") + tc.trigger + "} goto [" +
                                                 ModuleIn(destination).Title + "]\r\n");
    }
}

TEST_F(CanvasEditing, APendingPathCommandIsDroppedByTheEmptyCanvasOrANewTool) {
    const auto boxes = ThreeBoxes({200, 200}, {600, 200}, {600, 500});
    ChooseFromBoxMenu(boxes[0], QStringLiteral("on1"));
    Click({1000, 1000});
    EXPECT_EQ(Canvas().PendingCommand(), 0);
    EXPECT_EQ(Canvas().Pointer(), kPointerArrow);

    ChooseFromBoxMenu(boxes[0], QStringLiteral("on2"));
    designer_->SetCurrentTool(QStringLiteral("Play"));
    EXPECT_EQ(Canvas().PendingCommand(), 0);
    EXPECT_EQ(Canvas().Pointer(), kPointerCross);
    designer_->SetCurrentTool(QLatin1String(kArrowTool));

    // A right press on a box leaves the command waiting.
    ChooseFromBoxMenu(boxes[0], QStringLiteral("on3"));
    Click(FrameOf(boxes[1]), Qt::RightButton);
    Canvas().Menus().ModuleMenu().hide();
    EXPECT_EQ(Canvas().PendingCommand(), 3);
    EXPECT_TRUE(ModuleIn(boxes[0]).PathText.empty());
}

TEST_F(CanvasEditing, APathCommandWhoseModuleWasDeletedAddsNothing) {
    const auto boxes = ThreeBoxes({200, 200}, {600, 200}, {600, 500});
    ChooseFromBoxMenu(boxes[0], QStringLiteral("on1"));
    Doc().SelectOnlyBox(boxes[0]);
    ASSERT_TRUE(Doc().DeleteSelectedModules());
    EXPECT_EQ(Canvas().PendingCommand(), 0);
    EXPECT_EQ(Canvas().Pointer(), kPointerArrow);

    // A module placed meanwhile may take the freed record: it gets no path either.
    const int placed = Place(QStringLiteral("Play"), {200, 200});
    Click(FrameOf(boxes[1]));
    EXPECT_TRUE(ModuleIn(placed).PathText.empty());
    EXPECT_TRUE(ModuleIn(boxes[1]).PathText.empty());
    EXPECT_EQ(SelectedBoxes(), std::vector<int>{boxes[1]}) << "an ordinary press again";
}

TEST_F(CanvasEditing, ATitleTypedOnTheBoxRenamesTheModuleAndThePathsToIt) {
    const auto boxes = ThreeBoxes({200, 200}, {600, 200}, {600, 500});
    const int target = boxes[0], other = boxes[1];
    struct Case {
        const char* name;
        QString typed;
        const char* title; // the title afterwards; the old one when null
    };
    const Case cases[] = {
        {"the same title with blanks around", QStringLiteral("  Menu  "), nullptr},
        {"a new title", QStringLiteral("Main Menu"), "Main Menu"},
        {"brackets are dropped", QStringLiteral(" Top [Menu] "), "Top Menu"},
        {"nothing but blanks", QStringLiteral("   "), nullptr},
        {"nothing but brackets", QStringLiteral("[]"), nullptr},
    };
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        Doc().RenameModule(Doc().ModuleOfBox(target), QStringLiteral("Menu"));
        ModuleIn(other).PathText = "on {1} goto [Menu]\r\n";
        Doc().Record().StartModule = "Menu";
        QSignalSpy renamed(&Doc(), &ScriptDocument::titleRenamed);

        Click(TitleOfBox(target));
        auto* field = qobject_cast<QLineEdit*>(Canvas().Editor().Widget());
        ASSERT_NE(field, nullptr);
        field->setText(tc.typed);
        QTest::keyClick(field, Qt::Key_Return);

        EXPECT_EQ(Canvas().Editor().Editing(), BoxEditor::Field::None);
        const std::string title = tc.title ? tc.title : "Menu";
        EXPECT_EQ(ModuleIn(target).Title, title);
        EXPECT_EQ(ModuleIn(other).PathText, "on {1} goto [" + title + "]\r\n");
        EXPECT_EQ(Doc().Record().StartModule, title);
        EXPECT_EQ(renamed.count(), tc.title ? 1 : 0);
    }
}

TEST_F(CanvasEditing, TextTypedOnTheBoxBecomesTheBoxText) {
    const auto boxes = ThreeBoxes({200, 200}, {600, 200}, {600, 500});
    Click(TextOf(boxes[1]));
    EXPECT_EQ(SelectedBoxes(), std::vector<int>{boxes[1]});
    auto* field = qobject_cast<QPlainTextEdit*>(Canvas().Editor().Widget());
    ASSERT_NE(field, nullptr);
    field->setPlainText(QStringLiteral("Greets the caller.\nThen asks for a key."));

    // Saving, closing or pressing elsewhere applies the field first.
    Window().CommitEdits();
    EXPECT_EQ(ModuleIn(boxes[1]).Txt, "Greets the caller.\r\nThen asks for a key.");
    EXPECT_TRUE(Doc().Record().Modified);

    // Escape leaves the text as it was.
    Click(TextOf(boxes[1]));
    field = qobject_cast<QPlainTextEdit*>(Canvas().Editor().Widget());
    ASSERT_NE(field, nullptr);
    field->setPlainText(QStringLiteral("thrown away"));
    QTest::keyClick(field, Qt::Key_Escape);
    Click({1500, 1500});
    EXPECT_EQ(ModuleIn(boxes[1]).Txt, "Greets the caller.\r\nThen asks for a key.");
}

TEST_F(CanvasEditing, MakeStartModuleTakesTheTitleAsItStandsInTheBox) {
    const auto boxes = ThreeBoxes({200, 200}, {600, 200}, {600, 500});
    Click(TitleOfBox(boxes[1]));
    auto* field = qobject_cast<QLineEdit*>(Canvas().Editor().Widget());
    ASSERT_NE(field, nullptr);
    field->setText(QStringLiteral("Welcome"));
    // The menu reached from the keyboard, with the field still open.
    Canvas().Menus().Item(QStringLiteral("StartModule"))->trigger();
    EXPECT_EQ(Doc().Record().StartModule, "Welcome");
    EXPECT_EQ(ModuleIn(boxes[1]).Title, "Welcome");
}

TEST_F(CanvasEditing, TheBoxMenuActsOnThePressedBoxAndDeleteOnTheSelection) {
    const auto boxes = ThreeBoxes({200, 200}, {600, 200}, {600, 500});
    Doc().SelectOnlyBox(boxes[0]);
    Doc().SelectBox(boxes[1]);

    ChooseFromBoxMenu(boxes[1], QStringLiteral("HeightShort"));
    EXPECT_EQ(Doc().BoxHeight(boxes[1]), kShortBoxHeight);
    EXPECT_EQ(ModuleIn(boxes[1]).DispSize, kShortBoxHeight);
    EXPECT_EQ(Doc().BoxHeight(boxes[0]), kLongBoxHeight);
    EXPECT_EQ(SelectedBoxes(), (std::vector<int>{boxes[0], boxes[1]}));

    ChooseFromBoxMenu(boxes[1], QStringLiteral("HeightShort"));
    EXPECT_EQ(Doc().BoxHeight(boxes[1]), kShortBoxHeight);

    ChooseFromBoxMenu(boxes[1], QStringLiteral("StartModule"));
    EXPECT_EQ(Doc().Record().StartModule, ModuleIn(boxes[1]).Title);

    ChooseFromBoxMenu(boxes[1], QStringLiteral("Delete"));
    EXPECT_EQ(Doc().Boxes(), std::vector<int>{boxes[2]});
}

TEST_F(CanvasEditing, PressingTheIconSelectsOnlyItsBoxAndAClickOpensTheProperties) {
    const auto boxes = ThreeBoxes({200, 200}, {600, 200}, {600, 500});
    Doc().SelectOnlyBox(boxes[0]);
    Doc().SelectBox(boxes[1]);
    Click(IconOf(boxes[1]));
    EXPECT_EQ(SelectedBoxes(), std::vector<int>{boxes[1]});
    EXPECT_EQ(Doc().CurrentBox(), boxes[1]);
    EXPECT_FALSE(Canvas().Dragging());
    EXPECT_FALSE(Doc().Record().Modified) << "opening the properties changes nothing";
}

TEST_F(CanvasEditing, RightPressOnTheEmptyCanvasShowsTheScriptMenu) {
    Click({1200, 900}, Qt::RightButton);
    QMenu& menu = Canvas().Menus().ScriptMenu();
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
    EXPECT_EQ(Doc().Boxes().size(), 1u) << "nothing placed";
}

} // namespace
} // namespace ry::test
