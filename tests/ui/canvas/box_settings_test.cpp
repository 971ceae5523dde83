// What a box tells about its module: the line of key settings under its text, View > Show
// Settings that turns it off and on (pictures following it), and the box menu's path commands
// following the module's type.

#include "ui/canvas/editing_fixture.h"

#include "app/picture_command.h"
#include "base/view_choices.h"
#include "canvas/box_geometry.h"
#include "canvas/canvas_picture.h"
#include "canvas/path_commands.h"

#include <QFileInfo>

namespace ry::test {
namespace {

const QString kExample = QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys");

class BoxSettings : public EditingTest {
protected:
    // A Transfer Call to extension 201 with the box text `text`, its box at (200, 200).
    int Transfer(const std::string& text) {
        const int box = Place(QStringLiteral("Transfer Call"), kAt);
        ModuleRecord& m = ModuleIn(box);
        m.PlayFileSlot(1) = "201";
        m.Txt = text;
        Doc().DeselectAllBoxes();
        Refresh(box);
        return box;
    }
    void Refresh(int box) { Window().Scene().Item(box)->Refresh(); }
    // A part of the box at kAt as drawn.
    QImage Part(const QRect& inBox) { return Render(inBox.translated(kAt)); }
    static int Dark(const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                n += qGray(image.pixel(x, y)) < 110;
        return n;
    }
    static QString ReadText(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    static constexpr QPoint kAt{200, 200};
};

TEST_F(BoxSettings, ShowSettingsIsOnAtFirstAndRemembered) {
    QAction* item = Menu(QStringLiteral("mnuShowSettings"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Show S&ettings"));
    EXPECT_TRUE(item->isCheckable());
    EXPECT_TRUE(item->isChecked()) << "on at first";
    EXPECT_TRUE(designer_->BoxSettings());
    auto* view = main_->findChild<QMenu*>(QStringLiteral("mnuTop(2)"));
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->actions().contains(item)) << "in the View menu";

    item->trigger();
    EXPECT_FALSE(designer_->BoxSettings());
    Start("");
    item = Menu(QStringLiteral("mnuShowSettings"));
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(designer_->BoxSettings());
    EXPECT_FALSE(ReadShowSettings());

    item->trigger();
    Start("");
    EXPECT_TRUE(Menu(QStringLiteral("mnuShowSettings"))->isChecked());
    EXPECT_TRUE(designer_->BoxSettings());
}

TEST_F(BoxSettings, TheLineTakesItsRoomFromTheTextNeverFromTheTitle) {
    const QRect line = BoxItem::SettingsRect();
    // The line lies inside the long box, under the title row.
    EXPECT_GE(line.top(), kShortBoxHeight + 12);
    EXPECT_LE(line.bottom(), kLongBoxHeight - 3);

    const int box = Transfer("");
    const QImage titleOn = Part(BoxItem::TitleRect());
    EXPECT_GT(Dark(Part(line)), 20) << "the line is drawn";

    Menu(QStringLiteral("mnuShowSettings"))->trigger();
    EXPECT_EQ(Dark(Part(line)), 0) << "and gone when turned off";
    EXPECT_EQ(Part(BoxItem::TitleRect()), titleOn) << "the title row stays as it was";
    EXPECT_EQ(Window().Scene().Item(box)->boundingRect().height(), kLongBoxHeight);

    // A text longer than the box: it runs down to the box's foot while the line is off...
    ModuleIn(box).Txt = "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix";
    Refresh(box);
    EXPECT_GT(Dark(Part(line)), 0);
    // ...and stops above the line while it is on: the line reads as with no text at all.
    Menu(QStringLiteral("mnuShowSettings"))->trigger();
    const QImage withText = Part(line.adjusted(0, -1, 0, 0));
    ModuleIn(box).Txt.clear();
    Refresh(box);
    EXPECT_EQ(withText, Part(line.adjusted(0, -1, 0, 0)));

    // A short box shows its title row only.
    Doc().SetBoxHeight(box, kShortBoxHeight);
    EXPECT_EQ(Window().Scene().Item(box)->boundingRect().height(), kShortBoxHeight);
}

TEST_F(BoxSettings, AModuleWithNothingToShowKeepsItsWholeText) {
    const int box = Place(QStringLiteral("Hangup the Call"), kAt);
    ModuleIn(box).Txt = "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix";
    Doc().DeselectAllBoxes();
    Refresh(box);
    EXPECT_GT(Dark(Part(BoxItem::SettingsRect())), 0);
}

TEST_F(BoxSettings, PicturesShowTheBoxesAsTheViewDoes) {
    Transfer("");
    const QString drawn = QDir(home_->path()).filePath(QStringLiteral("drawn.svg"));
    auto lineIn = [&] {
        QString error;
        EXPECT_TRUE(WritePicture(Window().Scene(), drawn, QStringLiteral("t"), &error))
            << error.toStdString();
        return ReadText(drawn).contains(QStringLiteral("To 201"));
    };
    EXPECT_TRUE(lineIn());
    Menu(QStringLiteral("mnuShowSettings"))->trigger();
    EXPECT_FALSE(lineIn());

    // rykem --export-picture reads the choice as it was left: the example's Sales transfer.
    const QString exported = QDir(home_->path()).filePath(QStringLiteral("exported.svg"));
    for (bool shown : {false, true}) {
        WriteShowSettings(shown);
        ASSERT_EQ(ExportPictureCommand(kExample, exported), 0);
        EXPECT_EQ(ReadText(exported).contains(QStringLiteral("To 201")), shown) << shown;
    }
}

TEST_F(BoxSettings, TheBoxMenuOffersThePathCommandsOfTheModulesType) {
    struct Case {
        const char* type;
        // Which of on1, onStar, onSuccess, onTimeout, onTrue, onFalse are enabled.
        const char* enabled;
    };
    const QString keys[] = {QStringLiteral("on1"),       QStringLiteral("onStar"),
                            QStringLiteral("onSuccess"), QStringLiteral("onTimeout"),
                            QStringLiteral("onTrue"),    QStringLiteral("onFalse")};
    const Case cases[] = {
        {"Time Switch", "----xx"},     {"Play", "xx-x--"},
        {"Transfer Call", "--xx--"},   {"Evaluate", "xxxxxx"},
        {"Hangup the Call", "------"},
    };
    int column = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        const int box = Place(QLatin1String(c.type), QPoint(40 + 180 * column++, 400));
        Doc().DeselectAllBoxes();
        Click(FrameOf(box), Qt::RightButton);
        ContextMenus& menus = Canvas().Menus();
        ASSERT_TRUE(menus.ModuleMenu().isVisible());
        std::string enabled;
        for (const QString& key : keys)
            enabled += menus.Item(key)->isEnabled() ? 'x' : '-';
        EXPECT_EQ(enabled, c.enabled);
        // The items of every type stay in their places.
        const QList<QAction*> items = menus.ModuleMenu().actions();
        EXPECT_EQ(items.indexOf(menus.Item(QStringLiteral("onTimeout"))) + 1,
                  items.indexOf(menus.Item(QStringLiteral("onTrue"))));
        EXPECT_EQ(items.indexOf(menus.Item(QStringLiteral("onTrue"))) + 1,
                  items.indexOf(menus.Item(QStringLiteral("onFalse"))));
        menus.ModuleMenu().hide();
    }
}

TEST_F(BoxSettings, OnTrueAndOnFalseAddTheirPaths) {
    const auto boxes = ThreeBoxes({200, 200}, {600, 200}, {600, 500});
    const int source = Place(QStringLiteral("Time Switch"), {200, 500});
    Doc().DeselectAllBoxes();
    for (const char* trigger : {"true", "false"}) {
        SCOPED_TRACE(trigger);
        ModuleIn(source).PathText.clear();
        const QString key = std::string_view(trigger) == "true" ? QStringLiteral("onTrue")
                                                                : QStringLiteral("onFalse");
        ChooseFromBoxMenu(source, key);
        EXPECT_EQ(Canvas().PendingCommand(), PathCommandOfKey(key));
        Click(FrameOf(boxes[1]));
        EXPECT_EQ(ModuleIn(source).PathText,
                  std::string("on {") + trigger + "} goto [" + ModuleIn(boxes[1]).Title + "]\r\n");
    }
}

} // namespace
} // namespace ry::test
