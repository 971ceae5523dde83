#include "paths/path_text.h"

#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

namespace ry {
namespace {

// Shows CR and LF so that a failing case can be read.
std::string Visible(std::string_view s) {
    std::string out;
    for (char c : s) {
        if (c == '\r')
            out += "<CR>";
        else if (c == '\n')
            out += "<LF>";
        else
            out += c;
    }
    return out;
}

struct DelimitedCase {
    std::string_view text;
    std::size_t start;
    char open, close;
    std::string_view piece;
    std::size_t s, e;
};

TEST(GetDelimited, FindsPiecesWithOneBasedPositions) {
    const DelimitedCase cases[] = {
        {"on {1} goto [A]", 2, '{', '}', "{1}", 4, 6},
        {"on {1} goto [A]", 9, '[', ']', "[A]", 13, 15},
        {"[a] [b]", 2, '[', ']', "[b]", 5, 7},
        // Brackets balance; braces do not.
        {"x [a [b] c] d", 1, '[', ']', "[a [b] c]", 3, 11},
        {"[Sales [East]] return [X]", 1, '[', ']', "[Sales [East]]", 1, 14},
        {"{a {b} c}", 1, '{', '}', "{a {b}", 1, 6},
        // Not found: both positions 0 and an empty piece.
        {"[a [b]", 1, '[', ']', "", 0, 0},
        {"[a]", 0, '[', ']', "", 0, 0},
        {"[a]", 2, '[', ']', "", 0, 0},
        {"[a]", 9, '[', ']', "", 0, 0},
        {"{a", 1, '{', '}', "", 0, 0},
        {"", 1, '{', '}', "", 0, 0},
    };
    for (const auto& c : cases) {
        Delimited d = GetDelimited(c.text, c.start, c.open, c.close);
        EXPECT_EQ(d.Text, c.piece) << c.text << " from " << c.start;
        EXPECT_EQ(d.Start, c.s) << c.text << " from " << c.start;
        EXPECT_EQ(d.End, c.e) << c.text << " from " << c.start;
        EXPECT_EQ(d.Found(), c.s != 0);
    }
}

TEST(GetRvsetPairs, CollectsPairsUntilTheFirstIncompleteOne) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"", ""},
        {"rvset [Count]{1} [Name]{Bob}", "\r\n[Count]{1}\r\n[Name]{Bob}"},
        {"[a] = {1}", "\r\n[a]{1}"}, // text between name and value is dropped
        {"[a]{1} [b]{2", "\r\n[a]{1}"},
        {"[a]{1} [b {2}", "\r\n[a]{1}"},
        {"{1}[a]", ""},
        {"[a]{x[b]}", "\r\n[a]{x[b]}"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(GetRvsetPairs(in), out) << in;
}

struct TidyCase {
    const char* what;
    std::string_view in;
    std::string_view out;
};

TEST(TidyPathsText, RebuildsTheNormalForm) {
    const TidyCase cases[] = {
        {"empty text", "", ""},
        {"keywords lower case and single-spaced", "ON {1}  GOTO  [Main Menu]",
         "on {1} goto [Main Menu]\r\n"},
        {"a return line joins the path above", "on {timeout 5} gosub [Ask]\r\nreturn [After]",
         "on {timeout 5} gosub [Ask] return [After]\r\n"},
        {"return destination on the same line", "On {1} GOSUB [Ask]   Return [Back]\r\n",
         "on {1} gosub [Ask] return [Back]\r\n"},
        {"assignments go one per line", "on {true} goto [Yes] rvset [Count]{1} [Name]{Bob}",
         "on {true} goto [Yes] rvset\r\n[Count]{1}\r\n[Name]{Bob}\r\n"},
        {"assignment lines are read back", "on {true} goto [Yes] rvset\r\n[Count]{1}\r\n [N]{B}",
         "on {true} goto [Yes] rvset\r\n[Count]{1}\r\n[N]{B}\r\n"},
        {"assignments right after the destination", "on {1} goto [A][a]{1}",
         "on {1} goto [A] rvset\r\n[a]{1}\r\n"},
        {"a later rvset line replaces the block",
         "on {1} goto [A] rvset [a]{1}\r\nRVSET [b]{2}\r\n[c]{3}",
         "on {1} goto [A] rvset\r\n[b]{2}\r\n[c]{3}\r\n"},
        {"text between name and value is dropped", "on {1} goto [A]\r\n[a] = {1}",
         "on {1} goto [A] rvset\r\n[a]{1}\r\n"},
        {"an incomplete pair ends the block", "on {1} goto [A] rvset [a]{1} [b] {2",
         "on {1} goto [A] rvset\r\n[a]{1}\r\n"},
        {"plain return is kept", "on {success} return\r\n", "on {success} return\r\n"},
        {"return to a destination", "on {fail} RETURN  [Main]", "on {fail} return [Main]\r\n"},
        {"return with assignments", "on {1} return rvset [a]{1}",
         "on {1} return rvset\r\n[a]{1}\r\n"},
        {"return to a destination with assignments", "on {1} return [B] rvset [a]{1}",
         "on {1} return [B] rvset\r\n[a]{1}\r\n"},
        {"a jump without destination is dropped", "on {1} goto\r\non {2} goto [B]",
         "on {2} goto [B]\r\n"},
        {"a line without on is dropped", "goto [X]\r\n", ""},
        {"empty braces are a trigger", "on {} goto [X]", "on {} goto [X]\r\n"},
        {"a blank before on makes no on line", " on {1} goto [X]", ""},
        {"nested brackets are one destination", "on {1} goto [Sales [East]]",
         "on {1} goto [Sales [East]]\r\n"},
        {"spelling inside the pieces is kept", "on {Call End} goto [ main  Menu ]",
         "on {Call End} goto [ main  Menu ]\r\n"},
        {"an unknown verb is a jump", "on {1} jump [A]", "on {1} goto [A]\r\n"},
        {"an on line without trigger drops its continuation lines",
         "on goto [X]\r\n[a]{1}\r\nreturn [R]\r\non {2} goto [Y]", "on {2} goto [Y]\r\n"},
        {"continuation lines before the first path are dropped",
         "[a]{1}\r\nreturn [Z]\r\nrvset [b]{2}\r\non {1} goto [X]", "on {1} goto [X]\r\n"},
        {"other lines are dropped", "on {1} goto [A]\r\n; note\r\n\r\non {2} goto [B]\r\n",
         "on {1} goto [A]\r\non {2} goto [B]\r\n"},
        {"a lone LF does not end a line", "on {1} goto [A]\non {2} goto [B]",
         "on {1} goto [A]\r\n"},
        {"the same path twice stays twice", "on {5} goto [Main]\r\non {5} goto [Main]\r\n",
         "on {5} goto [Main]\r\non {5} goto [Main]\r\n"},
        // A trigger is free text: "rvset" and a pair inside it are not assignments.
        {"trigger text is not read as assignments", "on {rvset[x]{y} return",
         "on {rvset[x]{y} return\r\n"},
        {"trigger text does not hide a return destination", "on [ {rvset} return [R]",
         "on {rvset} return [R]\r\n"},
    };
    for (const auto& c : cases) {
        std::string once = TidyPathsText(c.in);
        EXPECT_EQ(Visible(once), Visible(c.out)) << c.what << ": " << Visible(c.in);
        EXPECT_EQ(Visible(TidyPathsText(once)), Visible(once)) << c.what << " (tidied twice)";
    }
}

// Generated texts are lines made of fragments: each line opens like a path line, a
// continuation line or anything else, and goes on with keywords in either case, delimiters,
// words, blanks and stray line breaks.
constexpr std::array<std::string_view, 15> kLineStarts = {"on {1} goto [A]",
                                                          "ON {2}  GOSUB [Sales [East]]",
                                                          "on {t} return",
                                                          "On {} Return [R] ",
                                                          "on {",
                                                          "ON {",
                                                          "on ",
                                                          "On",
                                                          "[",
                                                          " [",
                                                          "[n]{v}",
                                                          "return ",
                                                          "RVSET ",
                                                          " ",
                                                          ""};
constexpr std::array<std::string_view, 26> kFragments = {
    "on ",    "ON ",    "{",     "}",     "[",           "]",      "goto", "GOTO", "gosub",
    "return", "Return", "rvset", "RVSET", "timeout 5",   "a",      "Menu", "x",    " ",
    "  ",     "\r",     "\n",    "\r\n",  "1} goto [A]", "[n]{v}", "=",    "\t"};
constexpr std::array<std::string_view, 5> kLineEnds = {"\r\n", "\r\n", "\r\n", "\n", ""};

std::string RandomText(std::mt19937& rng) {
    auto pick = [&rng](const auto& list) {
        return list[std::uniform_int_distribution<std::size_t>(0, list.size() - 1)(rng)];
    };
    std::uniform_int_distribution<int> lines(0, 8), pieces(0, 8);
    std::string text;
    for (int l = lines(rng); l > 0; --l) {
        text += pick(kLineStarts);
        for (int p = pieces(rng); p > 0; --p)
            text += pick(kFragments);
        text += pick(kLineEnds);
    }
    return text;
}

bool TidiesStably(std::string_view text) {
    std::string once = TidyPathsText(text);
    return TidyPathsText(once) == once;
}

// Removes characters while the text still fails, to report a short input.
std::string Shrink(std::string text) {
    for (bool shorter = true; shorter;) {
        shorter = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            std::string candidate = text.substr(0, i) + text.substr(i + 1);
            if (!TidiesStably(candidate)) {
                text = candidate;
                shorter = true;
                --i;
            }
        }
    }
    return text;
}

TEST(TidyPathsText, TidyingItsOwnOutputGivesTheSameText) {
    std::mt19937 rng(20240611);
    int checked = 0;
    for (int n = 0; n < 100000; ++n) {
        std::string text = RandomText(rng);
        std::string once = TidyPathsText(text);
        // Every line of the normal form is a path line or an assignment line, ended by CR LF.
        std::string_view rest = once;
        while (!rest.empty()) {
            std::size_t end = rest.find("\r\n");
            ASSERT_NE(end, std::string_view::npos) << Visible(text);
            std::string_view line = rest.substr(0, end);
            ASSERT_TRUE(line.starts_with("on {") || line.starts_with("["))
                << Visible(line) << " from " << Visible(text);
            rest.remove_prefix(end + 2);
        }
        if (TidyPathsText(once) != once) {
            std::string small = Shrink(text);
            FAIL() << "tidying twice differs for " << Visible(small) << ": once "
                   << Visible(TidyPathsText(small)) << ", twice "
                   << Visible(TidyPathsText(TidyPathsText(small)));
        }
        checked += once.empty() ? 0 : 1;
    }
    // Guards the generator: most texts must produce some path, or the property says little.
    EXPECT_GT(checked, 50000);
}

TEST(TidyPathsText, LargeTextsTakeLinearTime) {
    // Each of these lines would be rescanned to its end once per bracket by a careless reader.
    std::string text;
    for (int i = 0; i < 50000; ++i)
        text += "on {1} gosub [Ask] return [Back] rvset [a]{1} [b]{2}\r\n";
    text += "on {1} goto " + std::string(1 << 20, '[') + "\r\n";
    text += "on {1} return " + std::string(1 << 20, '[') + std::string(1 << 20, ']') + "\r\n";
    text += "[a]" + std::string(1 << 20, '{') + "\r\n";
    std::string expected;
    for (int i = 0; i < 50000; ++i)
        expected += "on {1} gosub [Ask] return [Back] rvset\r\n[a]{1}\r\n[b]{2}\r\n";
    expected += "on {1} return " + std::string(1 << 20, '[') + std::string(1 << 20, ']') + "\r\n";
    // Compared whole rather than printed: a failure would show megabytes.
    EXPECT_TRUE(TidyPathsText(text) == expected);
}

TEST(cmbTrig2Act, MapsCaptionsToTriggerWords) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"digit 0", "0"},
        {"Digit 5", "5"},
        {"digit 9", "9"},
        {"digit #", "#"},
        {"DIGIT *", "*"},
        {"digit 1 (one)", "1"},
        {"timeout", "timeout"},
        {"Timeout 5", "timeout"},
        {"success", "success"},
        {"fail", "fail"},
        {"TRUE", "true"},
        {"false", "false"},
        {"nonumbers", "nonumbers"},
        {"NoNumbe", "nonumbers"},
        {"nonumbered", "nonumbers"},
        // Not the designer's own words: returned as they are.
        {"Failed", "Failed"},
        {"true or", "true or"},
        {"Busy", "Busy"},
        {"Call End", "Call End"},
        {"12345", "12345"},
        {"digit", "digit"},
        {"", ""},
    };
    for (const auto& [caption, word] : cases)
        EXPECT_EQ(cmbTrig2Act(caption), word) << caption;
}

} // namespace
} // namespace ry
