// The canvas as a diagram editor: the box menu from anywhere on a box, clearing the selection,
// the keys Escape, Delete and Ctrl+V, connecting boxes by dragging from a box's out-handle with
// the drop target framed, connectors under the pointer, selecting, deleting and re-targeting
// connectors, where a paste lands, and boxes dragged over the others.

#include "ui/canvas/editing_fixture.h"

#include "base/module_dialog_host.h"
#include "canvas/box_editor.h"
#include "canvas/box_geometry.h"
#include "canvas/connection_gestures.h"
#include "canvas/path_commands.h"
#include "canvas/routes.h"
#include "dialogs/module_dialog.h"
#include "dialogs/paths_panel.h"

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUndoStack>

namespace ry::test {
namespace {

class Connecting : public EditingTest {
protected:
    ConnectionGestures& Connections() { return Canvas().Connections(); }
    std::string PathsOf(int box) { return ModuleIn(box).PathText; }
    // The pointer moved there with no button down, as the window system reports it.
    void Hover(QPoint canvas) {
        const QPoint at = ToViewport(canvas);
        QMouseEvent move(QEvent::MouseMove, at, Viewport()->mapToGlobal(at), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(Viewport(), &move);
    }

    // Hovers `from`, drags from its handle to `to` and lets go there.
    void DragFromHandle(int from, QPoint to) {
        Hover(FrameOf(from));
        ASSERT_TRUE(Connections().HasHandle(from));
        const QPoint handle = Connections().HandleCentre(from).toPoint();
        Press(handle);
        MoveTo((handle + to) / 2);
        MoveTo(to);
        Release(to);
    }
    // The menu of triggers after a drop: its item for `caption`.
    QAction* Offered(const QString& caption) {
        QMenu* menu = Connections().TriggerMenu();
        if (!menu)
            return nullptr;
        menu->hide();
        return menu->findChild<QAction*>(caption);
    }
    // A point on the first line of the connector between two boxes.
    // A point on the first line of the connector between two boxes as the canvas lays it out.
    QPoint OnConnector(int from, int to) {
        for (const LaidConnector& g : Window().Scene().Connectors().Items())
            if (!g.isStub && g.from == Doc().ModuleOfBox(from) && g.to == Doc().ModuleOfBox(to)) {
                const Segment s = g.path.Segments()[0];
                return {(s.from.x + s.to.x) / 2, (s.from.y + s.to.y) / 2};
            }
        ADD_FAILURE() << "no connector from box " << from << " to box " << to;
        return {};
    }
    void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget() ? QApplication::focusWidget() : Viewport();
        QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
    }
    // A point on the last line of the connector between two boxes as the canvas lays it out.
    QPoint OnLaidConnector(int from, int to) {
        for (const LaidConnector& g : Window().Scene().Connectors().Items())
            if (!g.isStub && g.from == Doc().ModuleOfBox(from) && g.to == Doc().ModuleOfBox(to)) {
                const Segment s = g.path.Segments()[g.path.Segments().size() - 1];
                return {(s.from.x + s.to.x) / 2, (s.from.y + s.to.y) / 2};
            }
        ADD_FAILURE() << "no connector from box " << from << " to box " << to;
        return {};
    }
    QRect BoxRect(int box) { return {PositionOf(box), QSize(kBoxWidth, Doc().BoxHeight(box))}; }
    // A module's paths given, and the canvas drawn from them.
    void SetPaths(int box, const std::string& text) {
        ModuleIn(box).PathText = text;
        Window().Scene().update();
    }
    std::string Goto(const char* trigger, int box) {
        return std::string("on {") + trigger + "} goto [" + ModuleIn(box).Title + "]";
    }
};

const QRgb kDropFrameColour = qRgb(40, 160, 70);
const QRgb kSelectedColour = qRgb(230, 110, 0);

TEST_F(Connecting, ARightPressAnywhereOnABoxOpensItsMenu) {
    const auto boxes = ThreeBoxes({200, 200}, {500, 200}, {500, 450});
    const int box = boxes[1];
    struct Case {
        const char* part;
        QPoint at;
    } cases[] = {{"frame", FrameOf(box)},
                 {"title", TitleOfBox(box)},
                 {"icon", IconOf(box)},
                 {"text", TextOf(box)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.part);
        Doc().SelectOnlyBox(boxes[0]);
        Click(c.at, Qt::RightButton);
        EXPECT_TRUE(Canvas().Menus().ModuleMenu().isVisible());
        Canvas().Menus().ModuleMenu().hide();
        EXPECT_EQ(Doc().CurrentBox(), box);
        EXPECT_EQ(SelectedBoxes(), std::vector<int>{box});
    }
    // The menu's commands act on that box.
    Click(TitleOfBox(box), Qt::RightButton);
    Canvas().Menus().ModuleMenu().hide();
    Canvas().Menus().Item(QStringLiteral("HeightShort"))->trigger();
    EXPECT_EQ(Doc().BoxHeight(box), kShortBoxHeight);
}

TEST_F(Connecting, AClickOnTheEmptyCanvasClearsTheSelection) {
    const auto boxes = ThreeBoxes({200, 200}, {500, 200}, {500, 450});
    Doc().SelectBox(boxes[0]);
    Doc().SelectBox(boxes[2]);
    Click({350, 600});
    EXPECT_TRUE(SelectedBoxes().empty());
    EXPECT_FALSE(Doc().Record().Modified) << "selecting is no edit";
    // A band drawn from there selects afresh.
    Doc().SelectBox(boxes[0]);
    Drag({450, 150}, {700, 400});
    EXPECT_EQ(SelectedBoxes(), std::vector<int>{boxes[1]});
}

TEST_F(Connecting, EscapeReturnsToTheArrowToolAndEndsAPathCommand) {
    const auto boxes = ThreeBoxes({200, 200}, {500, 200}, {500, 450});
    designer_->SetCurrentTool(QStringLiteral("Play"));
    View().setFocus();
    PressKey(Qt::Key_Escape);
    EXPECT_EQ(designer_->CurrentTool(), QStringLiteral("Arrow"));
    EXPECT_EQ(Canvas().Pointer(), kPointerArrow);

    ChooseFromBoxMenu(boxes[0], QStringLiteral("on1"));
    ASSERT_EQ(Canvas().PendingCommand(), 1);
    PressKey(Qt::Key_Escape);
    EXPECT_EQ(Canvas().PendingCommand(), 0);
    Click(FrameOf(boxes[1]));
    EXPECT_EQ(PathsOf(boxes[0]), "");

    // In a box's title field Escape gives up the typing, and only that.
    designer_->SetCurrentTool(QStringLiteral("Record"));
    const QString title = TitleOf(boxes[1]);
    Canvas().Editor().EditTitle(boxes[1]);
    auto* field = qobject_cast<QLineEdit*>(Canvas().Editor().Widget());
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->setText(QStringLiteral("Typed"));
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_EQ(TitleOf(boxes[1]), title);
    EXPECT_EQ(designer_->CurrentTool(), QStringLiteral("Record"));
}

TEST_F(Connecting, TheDeleteKeyDeletesTheSelectedModulesUnlessAFieldIsEdited) {
    const auto boxes = ThreeBoxes({200, 200}, {500, 200}, {500, 450});
    // In the title field the key deletes a character.
    Canvas().Editor().EditTitle(boxes[1]);
    auto* field = qobject_cast<QLineEdit*>(Canvas().Editor().Widget());
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->setText(QStringLiteral("Menu"));
    field->setCursorPosition(0);
    QTest::keyClick(field, Qt::Key_Delete);
    EXPECT_EQ(field->text(), QStringLiteral("enu"));
    EXPECT_EQ(Doc().Boxes().size(), 3u);
    QTest::keyClick(field, Qt::Key_Escape);

    Doc().SelectOnlyBox(boxes[1]);
    Doc().SelectBox(boxes[2]);
    View().setFocus();
    PressKey(Qt::Key_Delete);
    EXPECT_EQ(Doc().Boxes(), std::vector<int>{boxes[0]});
    // As Delete module does: the last module stays.
    Doc().SelectOnlyBox(boxes[0]);
    PressKey(Qt::Key_Delete);
    EXPECT_EQ(Doc().Boxes(), std::vector<int>{boxes[0]});
}

TEST_F(Connecting, CtrlVPastesAsCtrlEDoes) {
    const auto boxes = ThreeBoxes({200, 200}, {500, 200}, {500, 450});
    Doc().SelectOnlyBox(boxes[1]);
    View().setFocus();
    PressKey(Qt::Key_C, Qt::ControlModifier);
    ASSERT_TRUE(designer_->ModuleClipboard().has_value());
    PressKey(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Doc().Boxes().size(), 4u);
    PressKey(Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(Doc().Boxes().size(), 5u);
}

TEST_F(Connecting, ABoxShowsItsHandleWhenHoveredOrSelected) {
    const auto boxes = ThreeBoxes({200, 200}, {500, 200}, {500, 450});
    EXPECT_FALSE(Connections().HasHandle(boxes[0]));
    Hover(TitleOfBox(boxes[0]));
    EXPECT_TRUE(Connections().HasHandle(boxes[0]));
    // Onto the handle itself: it stays.
    Hover(Connections().HandleCentre(boxes[0]).toPoint());
    EXPECT_TRUE(Connections().HasHandle(boxes[0]));
    Hover({350, 650});
    EXPECT_FALSE(Connections().HasHandle(boxes[0]));
    Doc().SelectOnlyBox(boxes[2]);
    EXPECT_TRUE(Connections().HasHandle(boxes[2]));
    Doc().DeselectAllBoxes();
    EXPECT_FALSE(Connections().HasHandle(boxes[2]));
    // A module that takes no paths has none.
    const int hangup = Place(QStringLiteral("Hangup the Call"), {200, 500});
    EXPECT_FALSE(Connections().HasHandle(hangup));
}

TEST_F(Connecting, DraggingFromTheHandleToABoxOffersTheSourcesTriggersAndAddsOnePath) {
    const auto boxes = ThreeBoxes({200, 200}, {500, 200}, {500, 450});
    const int source = boxes[1]; // Play
    DragFromHandle(source, FrameOf(boxes[2]));
    QMenu* menu = Connections().TriggerMenu();
    ASSERT_NE(menu, nullptr);
    QStringList offered;
    for (QAction* a : menu->actions())
        offered << a->objectName();
    EXPECT_EQ(offered.size(), 13);
    EXPECT_EQ(offered.first(), QStringLiteral("Digit 1"));
    EXPECT_EQ(offered.last(), QStringLiteral("Timeout"));
    EXPECT_EQ(PathsOf(source), "") << "nothing before a trigger is chosen";

    Offered(QStringLiteral("Digit 1"))->trigger();
    const std::string line = "on {1} goto [" + ModuleIn(boxes[2]).Title + "]\r\n";
    EXPECT_EQ(PathsOf(source), line);
    EXPECT_EQ(Doc().History().undoText(), QStringLiteral("Add Path"));

    // A timeout asks for its seconds, as the box menu's command does.
    prompter_.dialogs.push_back([](QDialog& dialog) {
        EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("lblInfoDesc"))->text(),
                  QStringLiteral("Please enter the timeout (in seconds) :"));
        dialog.findChild<QLineEdit*>(QStringLiteral("txtInputField"))->setText(QStringLiteral("7"));
        dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
        return dialog.result();
    });
    DragFromHandle(source, TitleOfBox(boxes[0]));
    Offered(QStringLiteral("Timeout"))->trigger();
    EXPECT_EQ(PathsOf(source), line + "on {timeout 7} goto [" + ModuleIn(boxes[0]).Title + "]\r\n");

    // Each connection is one step back.
    ASSERT_TRUE(Doc().Undo());
    EXPECT_EQ(PathsOf(source), line);
    ASSERT_TRUE(Doc().Undo());
    EXPECT_EQ(PathsOf(source), "");
}

TEST_F(Connecting, TheTriggersFollowTheSourcesType) {
    const auto boxes = ThreeBoxes({200, 200}, {500, 200}, {500, 450});
    struct Case {
        const char* type;
        const char* caption;
        const char* typed; // the result a dialog asks for
        const char* trigger;
    } cases[] = {
        {"Dial and Conference", "Call End", nullptr, "Call End"},
        {"Get Numbers", "exact_number", nullptr, "exact_number"},
        {"Run Program", "Success", nullptr, "success"},
        {"Evaluate", "True", nullptr, "true"},
        {"Evaluate", "Insert Result Here", "{42}", "42"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const int source = Place(QLatin1String(c.type), {200, 500});
        Doc().DeselectAllBoxes();
        if (c.typed) {
            prompter_.dialogs.push_back([&](QDialog& dialog) {
                dialog.findChild<QLineEdit*>(QStringLiteral("txtInputField"))
                    ->setText(QLatin1String(c.typed));
                dialog.findChild<QPushButton*>(QStringLiteral("OKButton"))->click();
                return dialog.result();
            });
        }
        DragFromHandle(source, FrameOf(boxes[2]));
        QAction* item = Offered(QLatin1String(c.caption));
        ASSERT_NE(item, nullptr);
        item->trigger();
        EXPECT_EQ(PathsOf(source), std::string("on {") + c.trigger + "} goto [" +
                                       ModuleIn(boxes[2]).Title + "]\r\n");
        Doc().SelectOnlyBox(source);
        Doc().DeleteSelectedModules();
    }
}

TEST_F(Connecting, LettingGoOffABoxOrEscapeConnectsNothing) {
    const auto boxes = ThreeBoxes({200, 200}, {500, 200}, {500, 450});
    Doc().History().clear();
    DragFromHandle(boxes[1], {380, 650});
    EXPECT_FALSE(Connections().Connecting());
    EXPECT_TRUE(Connections().TriggerMenu() == nullptr ||
                !Connections().TriggerMenu()->isVisible());

    Hover(FrameOf(boxes[1]));
    const QPoint handle = Connections().HandleCentre(boxes[1]).toPoint();
    Press(handle);
    MoveTo(FrameOf(boxes[2]));
    ASSERT_TRUE(Connections().Connecting());
    View().setFocus();
    PressKey(Qt::Key_Escape);
    EXPECT_FALSE(Connections().Connecting());
    Release(FrameOf(boxes[2]));
    EXPECT_TRUE(Connections().TriggerMenu() == nullptr ||
                !Connections().TriggerMenu()->isVisible());
    EXPECT_EQ(PathsOf(boxes[1]), "");
    EXPECT_EQ(Doc().History().count(), 0);
}

TEST_F(Connecting, AConnectorUnderThePointerIsHighlightedWithItsPathLines) {
    const auto boxes = ThreeBoxes({200, 200}, {200, 400}, {500, 450});
    ModuleIn(boxes[0]).PathText = "on {1} goto [" + ModuleIn(boxes[1]).Title + "]\r\n" +
                                  "on {2} goto [" + ModuleIn(boxes[2]).Title + "]\r\n" +
                                  "on {3} goto [" + ModuleIn(boxes[1]).Title + "]\r\n" +
                                  "on {4} goto [Voicemail Box 12]\r\n";
    Window().Scene().update();
    const QPoint on = OnConnector(boxes[0], boxes[1]);
    Hover(on);
    ASSERT_TRUE(Connections().Hovered().has_value());
    EXPECT_EQ(Connections().Hovered()->lines,
              QString::fromStdString("on {1} goto [" + ModuleIn(boxes[1]).Title + "]\n" +
                                     "on {3} goto [" + ModuleIn(boxes[1]).Title + "]"));
    Hover(on + QPoint(0, -40));
    EXPECT_FALSE(Connections().Hovered().has_value());

    // A stub too: found by its tag's line.
    const std::optional<ConnectorHit> stub = Connections().ConnectorAt(
        QPointF(PositionOf(boxes[0]) + QPoint(kBoxWidth - 12, kLongBoxHeight + 8)));
    ASSERT_TRUE(stub.has_value());
    EXPECT_EQ(stub->lines, QStringLiteral("on {4} goto [Voicemail Box 12]"));
    EXPECT_EQ(stub->link, 3);
}

TEST_F(Connecting, ADoubleClickOnAConnectorOpensItsSourceOnTheLine) {
    const auto boxes = ThreeBoxes({200, 200}, {200, 400}, {500, 450});
    ModuleIn(boxes[0]).PathText = "on {2} goto [" + ModuleIn(boxes[2]).Title + "]\r\n" +
                                  "on {1} goto [" + ModuleIn(boxes[1]).Title + "]\r\n";
    Doc().Record().Modified = false;
    const QPoint on = OnConnector(boxes[0], boxes[1]);
    QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, ToViewport(on));
    ModuleDialog* dialog = designer_->Dialogs().DialogOfModule(Doc().ModuleOfBox(boxes[0]));
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->CurrentTab(), dialog->Tabs().count() - 1);
    ASSERT_NE(dialog->Paths(), nullptr);
    EXPECT_EQ(dialog->Paths()->Text().textCursor().selectedText(),
              QString::fromStdString("on {1} goto [" + ModuleIn(boxes[1]).Title + "]"));
    EXPECT_FALSE(Doc().Record().Modified) << "opening the dialog changes nothing";
}

TEST_F(Connecting, TheBoxUnderThePointerIsFramedAsTheDropTargetWhileConnecting) {
    const auto boxes = ThreeBoxes({200, 200}, {500, 200}, {500, 450});
    const QRect around = BoxRect(boxes[2]).adjusted(-8, -8, 8, 8);
    Hover(FrameOf(boxes[1]));
    const QPoint handle = Connections().HandleCentre(boxes[1]).toPoint();
    Press(handle);
    EXPECT_EQ(Connections().DropTarget(), 0);
    struct Step {
        const char* name;
        QPoint to;
        int target;
    } steps[] = {
        {"onto a box", FrameOf(boxes[2]), boxes[2]},
        {"about on it", TextOf(boxes[2]), boxes[2]},
        {"off it", {380, 650}, 0},
        {"onto another", TitleOfBox(boxes[0]), boxes[0]},
        {"back", FrameOf(boxes[2]), boxes[2]},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        MoveTo(step.to);
        EXPECT_EQ(Connections().DropTarget(), step.target);
        EXPECT_EQ(PixelsOf(around, kDropFrameColour) > 0, step.target == boxes[2]);
    }
    // Letting go ends it, whether it connects or not.
    Release(FrameOf(boxes[2]));
    Offered(QStringLiteral("Digit 1"));
    EXPECT_EQ(Connections().DropTarget(), 0);
    EXPECT_EQ(PixelsOf(around, kDropFrameColour), 0);
    // Escape too.
    Hover(FrameOf(boxes[1]));
    Press(handle);
    MoveTo(FrameOf(boxes[2]));
    ASSERT_EQ(Connections().DropTarget(), boxes[2]);
    View().setFocus();
    PressKey(Qt::Key_Escape);
    EXPECT_EQ(Connections().DropTarget(), 0);
    EXPECT_EQ(PixelsOf(around, kDropFrameColour), 0);
    Release(FrameOf(boxes[2]));
}

TEST_F(Connecting, AClickSelectsAConnectorUntilAClickElsewhere) {
    const auto boxes = ThreeBoxes({200, 200}, {200, 400}, {500, 450});
    SetPaths(boxes[0], Goto("1", boxes[1]) + "\r\n" + Goto("2", boxes[2]) + "\r\n" +
                           Goto("3", boxes[1]) + "\r\n");
    const QPoint on = OnConnector(boxes[0], boxes[1]);
    const QRect near(on - QPoint(6, 6), QSize(13, 13));
    EXPECT_EQ(PixelsOf(near, kSelectedColour), 0);
    struct Case {
        const char* name;
        QPoint elsewhere;
    } cases[] = {{"the empty canvas", {380, 650}},
                 {"a box", FrameOf(boxes[2])},
                 {"another connector", OnLaidConnector(boxes[0], boxes[2])}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Doc().SelectOnlyBox(boxes[2]);
        Click(on);
        ASSERT_TRUE(Connections().Selected().has_value());
        EXPECT_EQ(Connections().Selected()->from, Doc().ModuleOfBox(boxes[0]));
        EXPECT_EQ(Connections().Selected()->links, (std::vector<int>{0, 2}));
        EXPECT_TRUE(SelectedBoxes().empty()) << "a connector is selected alone";
        EXPECT_GT(PixelsOf(near, kSelectedColour), 0) << "drawn selected";
        Click(c.elsewhere);
        if (c.elsewhere == OnLaidConnector(boxes[0], boxes[2])) {
            ASSERT_TRUE(Connections().Selected().has_value());
            EXPECT_EQ(Connections().Selected()->links, std::vector<int>{1});
            Connections().Select(std::nullopt);
        } else {
            EXPECT_FALSE(Connections().Selected().has_value());
        }
        EXPECT_EQ(PixelsOf(near, kSelectedColour), 0);
    }
}

TEST_F(Connecting, DeleteTakesOutTheSelectedConnectorsPathsAsOneStep) {
    const auto boxes = ThreeBoxes({200, 200}, {200, 400}, {500, 450});
    const std::string before = Goto("1", boxes[1]) + " rvset\r\n[a]{1}\r\n" + Goto("2", boxes[2]) +
                               "\r\n" + Goto("3", boxes[1]) + "\r\n";
    SetPaths(boxes[0], before);
    Doc().History().clear();
    Click(OnConnector(boxes[0], boxes[1]));
    ASSERT_TRUE(Connections().Selected().has_value());
    View().setFocus();
    PressKey(Qt::Key_Delete);
    EXPECT_EQ(PathsOf(boxes[0]), Goto("2", boxes[2]) + "\r\n");
    EXPECT_EQ(Doc().Boxes().size(), 3u) << "no module goes with it";
    EXPECT_FALSE(Connections().Selected().has_value());
    EXPECT_EQ(Doc().History().count(), 1);
    EXPECT_EQ(Doc().History().undoText(), QStringLiteral("Delete Connector"));
    ASSERT_TRUE(Doc().Undo());
    EXPECT_EQ(PathsOf(boxes[0]), before);
    ASSERT_TRUE(Doc().Redo());
    EXPECT_EQ(PathsOf(boxes[0]), Goto("2", boxes[2]) + "\r\n");

    // A stub's paths go the same way.
    SetPaths(boxes[1], "on {4} goto [Voicemail Box 12]\r\n" + Goto("5", boxes[2]) + "\r\n");
    QPoint stub;
    for (const LaidConnector& g : Window().Scene().Connectors().Items())
        if (g.isStub && g.from == Doc().ModuleOfBox(boxes[1]))
            stub = QPoint((g.stub.Line[1].x + g.stub.Line[2].x) / 2, g.stub.Line[1].y);
    Click(stub);
    ASSERT_TRUE(Connections().Selected().has_value());
    PressKey(Qt::Key_Delete);
    EXPECT_EQ(PathsOf(boxes[1]), Goto("5", boxes[2]) + "\r\n");
}

TEST_F(Connecting, DraggingTheSelectedConnectorsArrowHeadLeadsItsPathsToAnotherBox) {
    const auto boxes = ThreeBoxes({200, 200}, {200, 400}, {500, 450});
    const std::string before = Goto("1", boxes[1]) + "\r\n" + Goto("2", boxes[2]) + "\r\n" +
                               "on {3} gosub [" + ModuleIn(boxes[1]).Title + "] return [" +
                               ModuleIn(boxes[2]).Title + "]\r\n";
    SetPaths(boxes[0], before);
    Doc().History().clear();
    auto dragArrowTo = [&](QPoint to) {
        Click(OnConnector(boxes[0], boxes[1]));
        ASSERT_TRUE(Connections().Selected().has_value());
        const QPoint grip = Connections().Selected()->grip.boundingRect().center().toPoint();
        Press(grip);
        EXPECT_TRUE(Connections().Retargeting());
        MoveTo((grip + to) / 2);
        MoveTo(to);
        Release(to);
        EXPECT_FALSE(Connections().Retargeting());
        EXPECT_EQ(Connections().DropTarget(), 0);
    };
    // Nothing changes where nothing is to change.
    struct Case {
        const char* name;
        QPoint to;
    } nothing[] = {{"the empty canvas", {380, 650}}, {"the same box", FrameOf(boxes[1])}};
    for (const Case& c : nothing) {
        SCOPED_TRACE(c.name);
        dragArrowTo(c.to);
        EXPECT_EQ(PathsOf(boxes[0]), before);
        EXPECT_EQ(Doc().History().count(), 0);
    }
    // Onto another box: both paths to the first box lead there, the return stays.
    dragArrowTo(FrameOf(boxes[2]));
    const std::string title = ModuleIn(boxes[2]).Title;
    EXPECT_EQ(PathsOf(boxes[0]), Goto("1", boxes[2]) + "\r\n" + Goto("2", boxes[2]) + "\r\n" +
                                     "on {3} gosub [" + title + "] return [" + title + "]\r\n");
    EXPECT_EQ(Doc().History().count(), 1);
    EXPECT_EQ(Doc().History().undoText(), QStringLiteral("Reconnect"));
    ASSERT_TRUE(Doc().Undo());
    EXPECT_EQ(PathsOf(boxes[0]), before);
}

TEST_F(Connecting, APasteLandsNearThePointerOnAFreeSpot) {
    const auto boxes = ThreeBoxes({200, 200}, {500, 200}, {500, 450});
    Doc().SelectOnlyBox(boxes[1]);
    View().setFocus();
    PressKey(Qt::Key_C, Qt::ControlModifier);
    // The pointer goes back where it was for the tests after this one.
    struct RestorePointer {
        QPoint at = QCursor::pos();
        ~RestorePointer() { QCursor::setPos(at); }
    } restore;
    auto pasteWithPointerAt = [&](QPoint global) {
        QCursor::setPos(global);
        const std::vector<int> old = Doc().Boxes();
        PressKey(Qt::Key_V, Qt::ControlModifier);
        const std::vector<int> now = Doc().Boxes();
        EXPECT_EQ(now.size(), old.size() + 1);
        const int pasted = now.back() == old.back() ? now.front() : now.back();
        for (int box : old)
            EXPECT_FALSE(BoxRect(pasted).intersects(BoxRect(box))) << "over box " << box;
        return pasted;
    };
    auto overCanvas = [&](QPoint canvas) { return Viewport()->mapToGlobal(ToViewport(canvas)); };
    // A free spot: right at the pointer.
    EXPECT_EQ(PositionOf(pasteWithPointerAt(overCanvas({220, 420}))), QPoint(220, 420));
    // Over a box: the nearest free spot instead.
    const int moved = pasteWithPointerAt(overCanvas(FrameOf(boxes[2])));
    const QPoint offset = PositionOf(moved) - FrameOf(boxes[2]);
    EXPECT_LE(offset.manhattanLength(), 200);
    // The pointer off the canvas: in the middle of what it shows, still on no box.
    const QPoint outside = Viewport()->mapToGlobal(QPoint(-50, -50));
    const int first = pasteWithPointerAt(outside);
    const int second = pasteWithPointerAt(outside);
    const QPoint middle = View().mapToScene(Viewport()->rect().center()).toPoint();
    EXPECT_LE((PositionOf(first) - middle).manhattanLength(), 300);
    EXPECT_NE(PositionOf(first), PositionOf(second));
}

TEST_F(Connecting, DraggedBoxesPassOverTheOthersUntilDropped) {
    const auto boxes = ThreeBoxes({200, 200}, {500, 200}, {520, 230});
    CanvasScene& scene = Window().Scene();
    // The Record box, placed last, lies over the Play box where they meet.
    const QPoint overlap(540, 250);
    ASSERT_EQ(scene.BoxAt(overlap), boxes[2]);
    Doc().SelectOnlyBox(boxes[0]);
    Doc().SelectBox(boxes[1]);
    const QPoint grab = FrameOf(boxes[0]);
    Press(grab);
    MoveTo(grab + QPoint(10, 5));
    for (int box : {boxes[0], boxes[1]})
        EXPECT_GT(scene.Item(box)->zValue(), scene.Item(boxes[2])->zValue()) << box;
    EXPECT_EQ(scene.BoxAt(overlap + QPoint(10, 5)), boxes[1]);
    Release(grab + QPoint(10, 5));
    for (int box : boxes)
        EXPECT_EQ(scene.Item(box)->zValue(), 0) << box;
    EXPECT_EQ(scene.BoxAt(overlap + QPoint(10, 5)), boxes[2]);
}

} // namespace
} // namespace ry::test
