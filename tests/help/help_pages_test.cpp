// The manual's pages read as text: links and anchors, the contents, and a page or section for
// every problem kind and every rys command.

#include "base/help_topics.h"
#include "check/checker.h"
#include "commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Page {
    std::string title;
    std::set<std::string> ids;
    std::vector<std::string> links; // href and src values, in page order
};

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Page ReadPage(const std::string& html) {
    Page page;
    static const std::regex anchor(R"re(\s(?:id|name)\s*=\s*"([^"]*)")re", std::regex::icase);
    static const std::regex link(R"re(\s(?:href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
    static const std::regex title(R"re(<title>([^<]*)</title>)re", std::regex::icase);
    for (std::sregex_iterator it(html.begin(), html.end(), anchor), end; it != end; ++it)
        page.ids.insert((*it)[1]);
    for (std::sregex_iterator it(html.begin(), html.end(), link), end; it != end; ++it)
        page.links.push_back((*it)[1]);
    if (std::smatch m; std::regex_search(html, m, title))
        page.title = m[1];
    return page;
}

// Every page of a help folder by file name.
std::map<std::string, Page> ReadFolder(const fs::path& folder) {
    std::map<std::string, Page> pages;
    for (const fs::directory_entry& e : fs::directory_iterator(folder))
        if (e.path().extension() == ".html")
            pages[e.path().filename().string()] = ReadPage(ReadText(e.path()));
    return pages;
}

bool IsExternal(const std::string& link) {
    return link.find("://") != std::string::npos || link.starts_with("mailto:");
}

// Whether "page.html#anchor" (either part may be missing) names a page of the folder and an
// anchor on it. The manual is one flat folder: a link out of it would not be installed.
bool Resolves(const fs::path& folder, const std::map<std::string, Page>& pages,
              const std::string& from, const std::string& target) {
    const std::size_t hash = target.find('#');
    const std::string file = target.substr(0, hash);
    const std::string anchor = hash == std::string::npos ? "" : target.substr(hash + 1);
    const std::string page = file.empty() ? from : file;
    if (page.find('/') != std::string::npos || page.find('\\') != std::string::npos)
        return false;
    if (auto it = pages.find(page); it != pages.end())
        return anchor.empty() || it->second.ids.contains(anchor);
    return anchor.empty() && fs::is_regular_file(folder / page);
}

// "page.html -> link" for every link between pages that does not resolve.
std::vector<std::string> BrokenLinks(const fs::path& folder) {
    const std::map<std::string, Page> pages = ReadFolder(folder);
    std::vector<std::string> broken;
    for (const auto& [name, page] : pages)
        for (const std::string& link : page.links)
            if (!IsExternal(link) && !Resolves(folder, pages, name, link))
                broken.push_back(name + " -> " + link);
    return broken;
}

const fs::path kHelp = RY_HELP_DIR;

class TempFolder {
public:
    TempFolder() {
        path_ = fs::temp_directory_path() /
                ("ry_help_test_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

TEST(HelpLinks, ReportsMissingPagesAnchorsAndLinksOutOfTheFolder) {
    TempFolder folder;
    folder.Write("a.html", R"(<html><head><link rel="stylesheet" href="style.css"></head>
<body><h1 id="top">A</h1>
<a href="b.html#x">fine</a> <a href="#top">fine</a> <a href="b.html">fine</a>
<a href="https://example.com/x.html">outside, not checked</a>
<a href="b.html#y">no such anchor</a> <a href="c.html">no such page</a>
<a href="#nowhere">no such anchor here</a> <a href="../a.html">out of the folder</a>
<img src="missing.png"></body></html>)");
    folder.Write("b.html", R"(<html><body><h2 id="x">X</h2><a name="z"></a></body></html>)");
    folder.Write("style.css", "body {}");

    EXPECT_EQ(
        BrokenLinks(folder.path()),
        (std::vector<std::string>{"a.html -> b.html#y", "a.html -> c.html", "a.html -> #nowhere",
                                  "a.html -> ../a.html", "a.html -> missing.png"}));
}

TEST(HelpLinks, EveryLinkOfTheManualResolves) {
    ASSERT_TRUE(fs::is_regular_file(kHelp / "index.html"));
    EXPECT_EQ(BrokenLinks(kHelp), std::vector<std::string>{});
}

TEST(HelpContents, ListsEveryPageAndEveryPageHasATitleTheStylesheetAndALinkBack) {
    const std::map<std::string, Page> pages = ReadFolder(kHelp);
    const Page& index = pages.at("index.html");
    std::set<std::string> listed;
    for (const std::string& link : index.links)
        listed.insert(link.substr(0, link.find('#')));
    for (const auto& [name, page] : pages) {
        EXPECT_FALSE(page.title.empty()) << name;
        // The designer's help window takes a stylesheet only when its type is given.
        EXPECT_NE(ReadText(kHelp / name)
                      .find(R"(<link rel="stylesheet" type="text/css" href="style.css">)"),
                  std::string::npos)
            << name;
        if (name == "index.html")
            continue;
        EXPECT_TRUE(listed.contains(name)) << name << " is missing from the contents";
        const bool leadsBack =
            std::find(page.links.begin(), page.links.end(), "index.html") != page.links.end();
        EXPECT_TRUE(leadsBack) << name << " has no link to the contents";
    }
}

TEST(HelpTopics, EveryTopicOpensAPageOfTheManual) {
    const std::map<std::string, Page> pages = ReadFolder(kHelp);
    EXPECT_TRUE(pages.contains(std::string(ry::help::kContentsPage)));
    std::set<int> topics;
    for (const ry::help::TopicPage& t : ry::help::kTopicPages) {
        EXPECT_TRUE(topics.insert(t.topic).second) << t.topic << " is listed twice";
        EXPECT_TRUE(Resolves(kHelp, pages, "", std::string(t.page))) << t.topic << ": " << t.page;
        EXPECT_EQ(ry::help::PageOfTopic(t.topic), t.page);
    }
    EXPECT_TRUE(ry::help::PageOfTopic(0).empty());
}

TEST(HelpChecker, EveryProblemKindHasItsSection) {
    const Page checker = ReadPage(ReadText(kHelp / "checker.html"));
    int kinds = 0;
    for (int k = 0;; ++k) {
        const std::string word(ry::ProblemKindName(static_cast<ry::ProblemKind>(k)));
        if (word == "unknown")
            break;
        ++kinds;
        EXPECT_TRUE(checker.ids.contains(word)) << word;
    }
    EXPECT_GE(kinds, 8);
}

TEST(HelpRys, EveryCommandOfTheUsageHasItsSection) {
    const Page rys = ReadPage(ReadText(kHelp / "rys.html"));
    // The usage lists each command at the start of an indented line: "  dump FILE ...".
    static const std::regex command(R"(\n  ([a-z]+)\b)");
    const std::string usage(ry::cli::kUsage);
    std::set<std::string> commands;
    for (std::sregex_iterator it(usage.begin(), usage.end(), command), end; it != end; ++it)
        commands.insert((*it)[1]);
    EXPECT_TRUE(commands.contains("check"));
    for (const std::string& c : commands)
        EXPECT_TRUE(rys.ids.contains(c)) << "rys " << c;
    EXPECT_TRUE(rys.ids.contains("help"));
}

} // namespace
