// Opening scripts and making new ones: the boxes and connectors of a loaded script, the
// already-open check, window slots and captions, and the failure message.

#include "designer_fixture.h"

#include "base/text_codec.h"
#include "canvas/box_geometry.h"
#include "canvas/box_item.h"
#include "canvas/routes.h"
#include "script/module_types.h"

#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>

namespace ry::test {
namespace {

// Three modules: a long box leading down to a short one and across to a box whose stored
// height is 0, and a path to a title no module bears.
QByteArray ThreeModuleScript(const char* defaultHeight = "long") {
    QByteArray text = QByteArrayLiteral("Version=5.0\r\n"
                                        "DefaultModuleDisplayHeight=") +
                      defaultHeight +
                      QByteArrayLiteral("\r\nStartModule=Welcome\r\n"
                                        "RunAtHangup=\r\n"
                                        "StartWithoutAnswer=0\r\n"
                                        "CtmAsiName=\r\n"
                                        "\r\n"
                                        "[Welcome]\r\n"
                                        "Type=Play\r\n"
                                        "DispSize=69\r\n"
                                        "Txt=Hello\r\n"
                                        "on {1} goto [Menu]\r\n"
                                        "on {timeout 5} goto [Bye]\r\n"
                                        "on {2} goto [Nobody]\r\n"
                                        "\r\n"
                                        "Position=40,40\r\n"
                                        "\r\n"
                                        "[Menu]\r\n"
                                        "Type=Get Numbers\r\n"
                                        "DispSize=46\r\n"
                                        "Txt=Pick one\r\n"
                                        "\r\n"
                                        "Position=40,200\r\n"
                                        "\r\n"
                                        "[Bye]\r\n"
                                        "Type=Hangup the Call\r\n"
                                        "DispSize=0\r\n"
                                        "Txt=Bye\r\n"
                                        "\r\n"
                                        "Position=300,200\r\n");
    return text;
}

using OpenScript = DesignerTest;

bool InRecentList(Designer& designer, const QString& path) {
    for (int n = 1; n <= RecentFiles::kCount; ++n)
        if (designer.Recent().At(n) == path)
            return true;
    return false;
}

struct BoxSeen {
    QString title;
    QPoint position;
    int height;
    bool operator==(const BoxSeen&) const = default;
};

std::vector<BoxSeen> BoxesOf(DocumentWindow& window) {
    std::vector<BoxSeen> out;
    ScriptDocument& doc = window.Document();
    for (int box : doc.Boxes()) {
        BoxItem* item = window.Scene().Item(box);
        EXPECT_NE(item, nullptr);
        if (!item)
            continue;
        out.push_back({ToQt(doc.Module(doc.ModuleOfBox(box)).Title), item->pos().toPoint(),
                       static_cast<int>(item->boundingRect().height())});
    }
    return out;
}

void PrintTo(const BoxSeen& b, std::ostream* os) {
    *os << b.title.toStdString() << " at " << b.position.x() << "," << b.position.y() << " h "
        << b.height;
}

TEST_F(OpenScript, ShowsOneBoxPerModuleWithItsTitlePositionAndHeight) {
    // DispSize 0 takes the default height of the script: long, or short when the script asks.
    for (const char* defaultHeight : {"long", "short"}) {
        SCOPED_TRACE(defaultHeight);
        const QString path =
            WriteFile(QStringLiteral("three.rys"), ThreeModuleScript(defaultHeight));
        MakeMain();
        QStringList status;
        QObject::connect(&D(), &Designer::statusTextChanged,
                         [&](const QString& t) { status << t; });

        Main().Documents().OpenScript(QStringLiteral("  ") + path + QStringLiteral(" "));

        DocumentWindow* window = Active();
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->Caption(), path);
        const int byDefault =
            QByteArray(defaultHeight) == "short" ? kShortBoxHeight : kLongBoxHeight;
        const std::vector<BoxSeen> expected = {
            {QStringLiteral("Welcome"), {40, 40}, kLongBoxHeight},
            {QStringLiteral("Menu"), {40, 200}, kShortBoxHeight}, // 46 is below the midpoint
            {QStringLiteral("Bye"), {300, 200}, byDefault},
        };
        EXPECT_EQ(BoxesOf(*window), expected);
        EXPECT_EQ(window->Document().Module(window->Document().ModuleOfBox(3)).DispSize, byDefault);
        EXPECT_TRUE(window->Document().SelectedModules().empty());
        EXPECT_FALSE(window->Document().Record().Modified);
        // After the loader's own texts: one per box made after the first, then nothing.
        EXPECT_EQ(status.mid(status.indexOf(QStringLiteral("Displaying Module 1"))),
                  QStringList({QStringLiteral("Displaying Module 1"),
                               QStringLiteral("Displaying Module 2"), QString()}));
        EXPECT_EQ(D().Recent().At(1), path);
        EXPECT_TRUE(prompter_.messages.empty()) << prompter_.MessageTexts().join('|').toStdString();
        TearDown();
        ClearSettings();
    }
}

TEST_F(OpenScript, PaintsTheConnectorsOfThePathsUnderTheBoxes) {
    const QString path = WriteFile(QStringLiteral("three.rys"), ThreeModuleScript());
    MakeMain();
    // The classic shapes, whose every pixel is known from the two boxes alone.
    D().SetRouteStyle(RouteStyle::Classic);
    Main().Documents().OpenScript(path);
    DocumentWindow& window = *Active();
    const QRect area(0, 0, 600, 400);
    const QImage image = RenderCanvas(window, area);
    const QRgb black = qRgb(0, 0, 0), grey = qRgb(221, 221, 221);

    // Welcome -> Menu and Welcome -> Bye, routed from the boxes' rectangles; the path to
    // "Nobody" draws nothing.
    const Rect welcome{40, 40, kBoxWidth, kLongBoxHeight};
    for (const Rect& to :
         {Rect{40, 200, kBoxWidth, kShortBoxHeight}, Rect{300, 200, kBoxWidth, kLongBoxHeight}}) {
        const ConnectorPath route = RouteConnector(welcome, to);
        for (const Point& p : route.BendPixels())
            EXPECT_EQ(image.pixel(p.x, p.y), black) << p.x << "," << p.y;
        const auto& tip = route.Arrow().corners;
        // Inside the arrow head, one pixel up from the middle of its base.
        const int cx = (tip[0].x + tip[1].x + tip[2].x) / 3,
                  cy = (tip[0].y + tip[1].y + tip[2].y) / 3;
        EXPECT_EQ(image.pixel(cx, cy), grey) << cx << "," << cy;
        for (const Segment& s : route.Segments())
            EXPECT_EQ(image.pixel(s.from.x, s.from.y), black) << s.from.x << "," << s.from.y;
    }
    // Nothing else is drawn between the boxes.
    EXPECT_EQ(image.pixel(250, 150), qRgb(255, 255, 255));

    // A box placed across the straight line from Welcome down to Menu hides it.
    std::int16_t module = window.Document().ModuleOfBox(window.Document().Boxes().back());
    window.Document().MoveModules({{module, {60, 140}}});
    const QImage covered = RenderCanvas(window, area);
    EXPECT_NE(covered.pixel(118, 170), black);
    EXPECT_NE(image.pixel(118, 170), covered.pixel(118, 170));
}

TEST_F(OpenScript, TheFileOfAnOpenScriptIsBroughtToTheFrontAndNotLoadedAgain) {
    const QString a = WriteFile(QStringLiteral("a.rys"), ThreeModuleScript());
    const QString b = WriteFile(QStringLiteral("b.rys"), ThreeModuleScript());
    MakeMain();
    Main().Documents().OpenScript(a);
    DocumentWindow* first = Active();
    Main().Documents().OpenScript(b);
    const auto freeModules = D().Tables().MemStructRym_FreeCount();

    Main().Documents().OpenScript(a);

    EXPECT_EQ(Active(), first);
    EXPECT_EQ(D().CurrentDocument(), first->DocumentIndex());
    EXPECT_EQ(Windows().size(), 3u);
    EXPECT_EQ(D().Tables().MemStructRym_FreeCount(), freeModules);
    EXPECT_EQ(D().Recent().At(1), b);
    EXPECT_EQ(D().Recent().At(2), a);
}

TEST_F(OpenScript, ThePathInAnotherLetterCaseIsAnotherScript) {
    const QString lower = WriteFile(QStringLiteral("office.rys"), ThreeModuleScript());
    const QString upper = WriteFile(QStringLiteral("OFFICE.rys"), ThreeModuleScript());
    MakeMain();
    Main().Documents().OpenScript(lower);
    Main().Documents().OpenScript(upper);
    ASSERT_EQ(Windows().size(), 3u);
    EXPECT_EQ(Windows()[1]->Caption(), lower);
    EXPECT_EQ(Windows()[2]->Caption(), upper);
    EXPECT_NE(Windows()[1]->Script(), Windows()[2]->Script());
}

TEST_F(OpenScript, NewScriptsHoldOnePlayModuleNamedByItsRecordAndReuseFreedSlots) {
    MakeMain();
    ASSERT_EQ(Windows().size(), 1u);
    EXPECT_EQ(Windows()[0]->Caption(), QStringLiteral("Ryvane Script 1"));
    EXPECT_EQ(Titles(), QStringList{QStringLiteral("Play 1")});

    Choose(QStringLiteral("mnuFile(0)"));
    Choose(QStringLiteral("mnuFile(0)"));
    ASSERT_EQ(Windows().size(), 3u);
    DocumentWindow* second = Windows()[1];
    EXPECT_EQ(second->Caption(), QStringLiteral("Ryvane Script 2"));
    EXPECT_EQ(Active(), Windows()[2]);
    EXPECT_EQ(Titles(), QStringList{QStringLiteral("Play 3")});
    const ScriptRecord& s = Doc().Record();
    EXPECT_EQ(s.StartModule, "Play 3");
    EXPECT_EQ(s.ModuleCount, 1);
    const ModuleRecord& play = Doc().Module(s.FirstModule);
    EXPECT_EQ(play.Type, "Play");
    EXPECT_EQ(play.Txt, TypeDescription("Play"));
    EXPECT_EQ(play.BoxIndex, 1);
    EXPECT_FALSE(s.Modified);
    EXPECT_EQ(D().CurrentTool(), QStringLiteral("Arrow"));

    // Closing the second window frees slot 2 and its module record 2; the next new script
    // takes both.
    Main().BringToFront(second);
    Choose(QStringLiteral("mnuFile(2)"));
    ASSERT_EQ(Windows().size(), 2u);
    Choose(QStringLiteral("mnuFile(0)"));
    ASSERT_EQ(Windows().size(), 3u);
    EXPECT_EQ(Windows()[1]->Caption(), QStringLiteral("Ryvane Script 2"));
    EXPECT_EQ(Active(), Windows()[1]);
    EXPECT_EQ(Titles(), QStringList{QStringLiteral("Play 2")});
}

TEST_F(OpenScript, AFileThatCannotBeLoadedIsReportedAndLeavesNothingBehind) {
    MakeMain();
    const auto freeModules = D().Tables().MemStructRym_FreeCount();
    const QString missing = folder_.filePath(QStringLiteral("missing.rys"));

    Main().Documents().OpenScript(missing);

    ASSERT_EQ(prompter_.messages.size(), 1u);
    EXPECT_EQ(prompter_.messages[0].title, QStringLiteral("Ryvane"));
    EXPECT_EQ(prompter_.messages[0].text,
              QStringLiteral("File: ") + missing + QStringLiteral("\r\nCould not be loaded."));
    EXPECT_EQ(prompter_.messages[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(Windows().size(), 1u);
    EXPECT_EQ(D().Tables().MemStructRym_FreeCount(), freeModules);
    // Only a file that opened goes into the recent list.
    EXPECT_FALSE(InRecentList(D(), missing));

    // The next new script gets the records the failed load gave back.
    Main().NewScript();
    EXPECT_EQ(Titles(), QStringList{QStringLiteral("Play 2")});
}

TEST_F(OpenScript, AScriptOfTheFull1000ModulesOpens) {
    QByteArray text = QByteArrayLiteral("Version=5.0\r\nStartModule=M 0\r\n");
    for (int i = 0; i < 1000; ++i)
        text += QStringLiteral("\r\n[M %1]\r\nType=Play\r\nDispSize=24\r\non {1} goto [M %2]\r\n"
                               "\r\nPosition=%3,%4\r\n")
                    .arg(i)
                    .arg((i + 1) % 1000)
                    .arg(i % 40 * 180)
                    .arg(i / 40 * 40)
                    .toLatin1();
    const QString path = WriteFile(QStringLiteral("full.rys"), text);
    // Given on the command line, the script replaces the empty one of the start and has the
    // whole module table to itself.
    MakeMain(path);
    ASSERT_EQ(Windows().size(), 1u);
    EXPECT_EQ(Doc().Boxes().size(), 1000u);
    EXPECT_EQ(Doc().Record().ModuleCount, 1000);
    EXPECT_TRUE(prompter_.messages.empty()) << prompter_.MessageTexts().join('|').toStdString();
}

// A script of `count` Play modules, each leading to the next.
QByteArray ScriptOfModules(int count) {
    QByteArray text = QByteArrayLiteral("Version=5.0\r\nStartModule=M 0\r\n");
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("\r\n[M %1]\r\nType=Play\r\nPosition=%2,%3\r\n")
                    .arg(i)
                    .arg(i % 40 * 180)
                    .arg(i / 40 * 40)
                    .toLatin1();
    return text;
}

QString StatusText(MainWindow& main) {
    auto* panel = main.statusBar()->findChild<QLabel*>(QStringLiteral("sbStatusBar(1)"));
    return panel ? panel->text() : QStringLiteral("(no status panel)");
}

TEST_F(OpenScript, ALoadPastTheModuleLimitNamesItAndClearsItsProgress) {
    // The new script of the start holds one module record: a file of 1000 modules finds none
    // free for its last.
    const QString full = WriteFile(QStringLiteral("full.rys"), ScriptOfModules(1000));
    const QString small = WriteFile(QStringLiteral("small.rys"), ScriptOfModules(3));
    MakeMain();
    Main().Documents().OpenScript(full);

    EXPECT_EQ(prompter_.MessageTexts(),
              QStringList{QStringLiteral("File: ") + full +
                          QStringLiteral("\r\nCould not be loaded.\r\nThis version has a limit of "
                                         "1000 modules per script. The scripts open hold 1 of "
                                         "them: close a script, then try again.")});
    EXPECT_EQ(StatusText(Main()), QString()) << "no \"Loading Module 999\" left behind";
    EXPECT_EQ(Windows().size(), 1u);
    EXPECT_FALSE(InRecentList(D(), full));

    // A load that succeeds leaves no progress text either, and goes into the recent list.
    Main().Documents().OpenScript(small);
    EXPECT_EQ(Windows().size(), 2u);
    EXPECT_EQ(StatusText(Main()), QString());
    EXPECT_EQ(D().Recent().At(1), small);
}

TEST_F(OpenScript, ANewScriptOrALoadAtTheLimitsNamesTheLimit) {
    struct Case {
        const char* name;
        bool scripts; // every script record in use, else every module record
        const char* reason;
    };
    const Case cases[] = {
        {"scripts", true,
         "This version has a limit of 100 open scripts: close a script, then try again."},
        {"modules", false,
         "This version has a limit of 1000 modules per script. The scripts open hold 1000 of "
         "them: close a script, then try again."},
    };
    const QString path = WriteFile(QStringLiteral("one.rys"), ScriptOfModules(1));
    for (const Case& tc : cases) {
        SCOPED_TRACE(tc.name);
        main_.reset();
        moduleDialogs_.reset(); // it refers to the designer
        designer_.reset();
        MakeMain();
        prompter_.messages.clear();
        ScriptTables& tables = D().Tables();
        if (tc.scripts)
            while (tables.MemStructRys_Get() >= 1) {
            }
        else
            while (tables.MemStructRym_Get() >= 1) {
            }

        Main().NewScript();
        Main().Documents().OpenScript(path);

        EXPECT_EQ(prompter_.MessageTexts(),
                  QStringList({QStringLiteral("A new script could not be made.\r\n") + tc.reason,
                               QStringLiteral("File: ") + path +
                                   QStringLiteral("\r\nCould not be loaded.\r\n") + tc.reason}));
        EXPECT_EQ(Windows().size(), 1u);
    }
}

TEST_F(OpenScript, TheExampleScriptOpens) {
    MakeMain();
    Main().Documents().OpenScript(QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
    ASSERT_NE(Active(), nullptr);
    EXPECT_EQ(Active()->Caption(), QStringLiteral(RY_EXAMPLES_DIR "/office-line.rys"));
    EXPECT_EQ(Titles(), QStringList({"Greeting", "Office Hours", "Main Menu", "Sales",
                                     "After Hours", "Leave Message", "Goodbye"}));
    EXPECT_TRUE(prompter_.messages.empty());
}

} // namespace
} // namespace ry::test
