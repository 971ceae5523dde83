// The help window and the help topics: the window's contents, pages, history and search,
// and every topic the designer opens reaching its own page in one reused window.

#include "designer_fixture.h"

#include "base/help_topics.h"
#include "base/help_window.h"
#include "dialogs/dialog_factory.h"
#include "script/module_types.h"
#include "settings/doc_properties_dialog.h"
#include "settings/pbx_config_dialog.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QTextEdit>

#include <set>

namespace ry::test {
namespace {

class HelpWindowTest : public DesignerTest {
protected:
    // A small manual: contents, two pages, a stylesheet.
    void WriteManual() {
        WriteFile(QStringLiteral("help/index.html"),
                  "<html><head><title>Contents</title></head><body><h1>Manual</h1><ul>"
                  "<li><a href=\"play.html\">The Play module</a></li>"
                  "<li><a href=\"paths.html#tidy\">Paths &amp; tidying</a></li>"
                  "<li><a href=\"play.html#fields\">Play again, once listed</a></li>"
                  "<li><a href=\"https://example.com/\">outside</a></li></ul></body></html>");
        WriteFile(QStringLiteral("help/play.html"),
                  "<html><head><title>Play module</title><link rel=\"stylesheet\" "
                  "href=\"style.css\"></head><body><p>Plays a sound file.</p>"
                  "<h2 id=\"fields\">Fields</h2><p>Replay count</p>"
                  "<a href=\"paths.html\">paths</a></body></html>");
        WriteFile(QStringLiteral("help/paths.html"),
                  "<html><head><title>Paths</title></head><body><p>on {1} goto [Sales]</p>"
                  "<h2 id=\"tidy\">Tidying</h2><p>Keywords in lower case; sound files "
                  "untouched.</p></body></html>");
        WriteFile(QStringLiteral("help/style.css"), "body { margin: 1em; }");
    }
    HelpWindow& Window() {
        if (!window_)
            window_ = std::make_unique<HelpWindow>(ProgramFolder() + QStringLiteral("/help"),
                                                   QStringLiteral("Ryvane"));
        return *window_;
    }
    template <class T> T* Child(QWidget& w, const char* name) {
        T* child = w.findChild<T*>(QLatin1String(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static QStringList Texts(const QListWidget& list) {
        QStringList out;
        for (int i = 0; i < list.count(); ++i)
            out << list.item(i)->text();
        return out;
    }
    void TearDown() override {
        window_.reset();
        DesignerTest::TearDown();
    }

    std::unique_ptr<HelpWindow> window_;
};

TEST_F(HelpWindowTest, ContentsFollowTheContentsPageAndMarkThePageShown) {
    WriteManual();
    HelpWindow& w = Window();
    auto* contents = Child<QListWidget>(w, "lstContents");
    EXPECT_EQ(Texts(*contents), (QStringList{"Contents", "The Play module", "Paths & tidying"}));

    ASSERT_TRUE(w.ShowPage(QStringLiteral("paths.html#tidy")));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.CurrentPage(), QStringLiteral("paths.html#tidy"));
    EXPECT_EQ(contents->currentRow(), 2);

    contents->itemClicked(contents->item(1));
    EXPECT_EQ(w.CurrentPage(), QStringLiteral("play.html"));
    EXPECT_TRUE(Child<QTextBrowser>(w, "txtHelpPage")->toPlainText().contains("Replay count"));

    // A page that is not there shows nothing new.
    EXPECT_FALSE(w.ShowPage(QStringLiteral("missing.html")));
    EXPECT_FALSE(w.ShowPage(QString()));
    EXPECT_EQ(w.CurrentPage(), QStringLiteral("play.html"));
}

TEST_F(HelpWindowTest, BackAndForwardRetraceThePagesShown) {
    WriteManual();
    HelpWindow& w = Window();
    auto* back = Child<QPushButton>(w, "cmdBack");
    auto* forward = Child<QPushButton>(w, "cmdForward");
    w.ShowPage(QStringLiteral("index.html"));
    EXPECT_FALSE(back->isEnabled());
    w.ShowPage(QStringLiteral("play.html"));
    w.ShowPage(QStringLiteral("paths.html#tidy"));
    EXPECT_TRUE(back->isEnabled());
    EXPECT_FALSE(forward->isEnabled());

    back->click();
    EXPECT_EQ(w.CurrentPage(), QStringLiteral("play.html"));
    back->click();
    EXPECT_EQ(w.CurrentPage(), QStringLiteral("index.html"));
    EXPECT_FALSE(back->isEnabled());
    forward->click();
    EXPECT_EQ(w.CurrentPage(), QStringLiteral("play.html"));
    EXPECT_TRUE(forward->isEnabled());
}

TEST_F(HelpWindowTest, SearchListsThePagesHoldingEveryWord) {
    WriteManual();
    HelpWindow& w = Window();
    auto* results = Child<QListWidget>(w, "lstSearchResults");
    auto* search = Child<QLineEdit>(w, "txtSearch");
    w.ShowPage(QStringLiteral("index.html"));
    const struct {
        const char* query;
        QStringList pages;
    } cases[] = {
        {"sound", {"play.html", "paths.html"}},
        {"SOUND  file", {"play.html", "paths.html"}},
        {"replay sound", {"play.html"}},
        {"goto [Sales]", {"paths.html"}},
        {"voicemail", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.query);
        EXPECT_EQ(w.Search(QString::fromLatin1(c.query)), c.pages);
        EXPECT_FALSE(results->isHidden());
    }

    // Typed and entered; a result opens its page.
    search->setText(QStringLiteral("lower case"));
    QMetaObject::invokeMethod(search, "returnPressed");
    EXPECT_EQ(Texts(*results), QStringList{"Paths"});
    results->itemClicked(results->item(0));
    EXPECT_EQ(w.CurrentPage(), QStringLiteral("paths.html"));
    // Each word is marked where the page holds it.
    auto* page = Child<QTextBrowser>(w, "txtHelpPage");
    QStringList marked;
    for (const QTextEdit::ExtraSelection& mark : page->extraSelections())
        marked << mark.cursor.selectedText().toLower();
    marked.sort();
    EXPECT_EQ(marked, (QStringList{"case", "lower"}));

    search->clear();
    EXPECT_TRUE(results->isHidden());
    EXPECT_EQ(results->count(), 0);
    EXPECT_TRUE(page->extraSelections().isEmpty());
}

TEST_F(HelpWindowTest, TheContentsListShowsItsLongestTitleWhole) {
    WriteFile(QStringLiteral("help/index.html"),
              "<html><body><a href=\"a.html\">A page whose title in the contents is a long "
              "one, longer than the list was</a></body></html>");
    HelpWindow& w = Window();
    w.show();
    auto* contents = Child<QListWidget>(w, "lstContents");
    EXPECT_GE(contents->viewport()->width(), contents->sizeHintForColumn(0));
    // The screen here is 800 pixels wide, as a 1600-pixel one at scale 2.
    const QSize screen = w.screen()->availableGeometry().size();
    EXPECT_LE(w.frameGeometry().width(), screen.width());
    EXPECT_LE(w.frameGeometry().height(), screen.height());
}

TEST(WithBrand, ReplacesOnlyTheMarkedNameAndTakesTheBrandAsPlainText) {
    const QString page =
        QStringLiteral("<h1><span class=\"brand\">Ryvane</span> Designer</h1><p>Ryvane.conf</p>");
    struct Case {
        const char* brand;
        const char* html;
    };
    const Case cases[] = {
        {"Acme Lines",
         "<h1><span class=\"brand\">Acme Lines</span> Designer</h1><p>Ryvane.conf</p>"},
        {"A&B \\1 <x>",
         "<h1><span class=\"brand\">A&amp;B \\1 &lt;x&gt;</span> Designer</h1><p>Ryvane.conf</p>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(WithBrand(page, QString::fromUtf8(c.brand)), QString::fromUtf8(c.html))
            << c.brand;
}

// ---- Topics.

TEST_F(HelpWindowTest, TopicsOpenTheirPageInOneWindowTitledWithTheBrand) {
    WriteFile(QStringLiteral("RY.INI"), "[Brand]\r\nName=Acme Lines\r\n");
    WriteManual();
    WriteFile(QStringLiteral("help/module-play.html"),
              "<html><head><title>Play</title></head><body>Play in "
              "<span class=\"brand\">Ryvane</span> and <code>Ryvane.conf</code></body></html>");
    MakeDesigner();
    EXPECT_EQ(D().Programs().OpenHelpWindow(), nullptr);

    D().Programs().ShowHelp(help::kPlay);
    HelpWindow* w = D().Programs().OpenHelpWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Acme Lines Help"));
    EXPECT_EQ(w->CurrentPage(), QStringLiteral("module-play.html"));
    // The pages name the program by its brand where they mark the name, and only there.
    EXPECT_EQ(w->findChild<QTextBrowser*>(QStringLiteral("txtHelpPage"))->toPlainText(),
              QStringLiteral("Play in Acme Lines and Ryvane.conf"));
    EXPECT_TRUE(w->isVisible());

    // The main window's topic, and a number that is no topic, open the contents; the window
    // is the same one, brought back when it was closed.
    w->close();
    D().Programs().ShowHelp(help::kMainWindow);
    EXPECT_EQ(D().Programs().OpenHelpWindow(), w);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->CurrentPage(), QStringLiteral("index.html"));
    D().Programs().ShowHelp(help::kPlay);
    D().Programs().ShowHelp(4711);
    EXPECT_EQ(w->CurrentPage(), QStringLiteral("index.html"));
    EXPECT_TRUE(prompter_.messages.empty()) << prompter_.MessageTexts().join('|').toStdString();
    EXPECT_TRUE(launcher_->opened.empty());
}

TEST_F(HelpWindowTest, AMissingManualOrPageIsReportedWithItsPath) {
    MakeDesigner();
    D().Programs().ShowHelp(help::kMainWindow);
    EXPECT_EQ(
        prompter_.MessageTexts(),
        QStringList{ProgramFolder() + QStringLiteral("/help/index.html\r\nCould not be found.")});
    EXPECT_EQ(D().Programs().OpenHelpWindow(), nullptr);

    WriteManual();
    prompter_.messages.clear();
    D().Programs().ShowHelp(help::kRecord);
    EXPECT_EQ(prompter_.MessageTexts(),
              QStringList{ProgramFolder() +
                          QStringLiteral("/help/module-record.html\r\nCould not be found.")});
}

TEST_F(HelpWindowTest, TheManualIsTheFirstFolderThatHoldsItsContents) {
    // An engine's folder set as the program folder holds no manual: the one beside the
    // program, or installed with it, is found instead.
    const QString engine = folder_.filePath(QStringLiteral("engine/help"));
    const QString beside = folder_.filePath(QStringLiteral("bin/help"));
    const QString installed = folder_.filePath(QStringLiteral("share/ryvane/help"));
    WriteFile(QStringLiteral("engine/help/play.html"), "<html/>"); // a page, no contents
    WriteFile(QStringLiteral("share/ryvane/help/index.html"), "<html/>");
    EXPECT_EQ(FindHelpFolder({engine, beside, installed}), installed);
    WriteFile(QStringLiteral("bin/help/index.html"), "<html/>");
    EXPECT_EQ(FindHelpFolder({engine, beside, installed}), beside);
    // None: the first, so that the message names where the manual belongs.
    EXPECT_EQ(FindHelpFolder({engine}), engine);
    EXPECT_EQ(FindHelpFolder({}), QString());
}

TEST_F(HelpWindowTest, EveryDialogHasATopicOfItsOwnInTheTable) {
    // The module dialogs: one topic per dialog; types without a dialog of their own share the
    // DDE dialog's.
    std::set<int> topics;
    std::set<QString> forms;
    for (std::string_view type : kAllModuleTypes) {
        SCOPED_TRACE(std::string(type));
        const ModuleDialogForm form = FormOfType(type);
        EXPECT_FALSE(help::PageOfTopic(form.helpTopic).empty()) << form.helpTopic;
        if (forms.insert(form.name).second) {
            EXPECT_TRUE(topics.insert(form.helpTopic).second) << form.helpTopic;
        }
    }
    EXPECT_EQ(FormOfType("Some Future Type").helpTopic, help::kDde);
    EXPECT_EQ(forms.size(), 16u);
    // The main window and the settings dialogs.
    for (int topic : {MainWindow::kHelpTopic, PbxConfigDialog::kHelpTopic,
                      DocPropertiesDialog::kHelpTopic, help::kCtMedia}) {
        EXPECT_FALSE(help::PageOfTopic(topic).empty()) << topic;
        EXPECT_TRUE(topics.insert(topic).second) << topic;
    }
    // The table names each topic once.
    std::set<int> table;
    for (const help::TopicPage& t : help::kTopicPages)
        EXPECT_TRUE(table.insert(t.topic).second) << t.topic;
    EXPECT_EQ(table, topics);
}

} // namespace
} // namespace ry::test
