#include "paths/path_text.h"

#include "script/text.h"

#include <algorithm>
#include <array>
#include <utility>

namespace ry {

Delimited GetDelimited(std::string_view text, std::size_t start, char open, char close) {
    constexpr auto npos = std::string_view::npos;
    if (start < 1)
        return {};
    std::size_t s = text.find(open, start - 1);
    if (s == npos)
        return {};
    std::size_t e = text.find(close, s);
    if (e == npos)
        return {};
    if (close == ']') {
        // Each further "[" met before the current end pushes the end to the next "]".
        std::size_t q = text.find('[', s + 1);
        while (q != npos && q < e) {
            e = text.find(']', e + 1);
            if (e == npos)
                return {};
            q = text.find('[', q + 1);
        }
    }
    return {Trim(text.substr(s, e - s + 1)), s + 1, e + 1};
}

std::string_view Undelimited(std::string_view piece) {
    return piece.size() >= 2 ? piece.substr(1, piece.size() - 2) : std::string_view{};
}

std::string GetRvsetPairs(std::string_view text) {
    constexpr auto npos = std::string_view::npos;
    std::string block;
    std::size_t from = 0;
    for (;;) {
        std::size_t a = text.find('[', from);
        if (a == npos)
            break;
        std::size_t b = text.find(']', a);
        if (b == npos)
            break;
        std::size_t c = text.find('{', b);
        if (c == npos)
            break;
        std::size_t d = text.find('}', c);
        if (d == npos)
            break;
        block += kCrLf;
        block += text.substr(a, b - a + 1);
        block += text.substr(c, d - c + 1);
        from = d;
    }
    return block;
}

namespace {

constexpr std::string_view kGoto = "goto";
constexpr std::string_view kGosub = "gosub";
constexpr std::string_view kReturn = "return";

// Whether tidying writes the path back: it needs a trigger, and a destination unless it
// returns.
bool Kept(const PathParts& p) {
    return !p.Trigger.empty() && (!p.Destination.empty() || p.Verb == kReturn);
}

void AppendPath(const PathParts& p, std::string& out) {
    if (!Kept(p))
        return;
    if (!p.Destination.empty()) {
        out += "on ";
        out += p.Trigger;
        out += ' ';
        out += p.Verb;
        out += ' ';
        out += p.Destination;
        if (!p.ReturnTo.empty()) {
            out += " return ";
            out += p.ReturnTo;
        }
    } else {
        out += "on ";
        out += p.Trigger;
        out += " return";
        if (!p.ReturnTo.empty()) {
            out += ' ';
            out += p.ReturnTo;
        }
    }
    if (!p.Assignments.empty()) {
        out += " rvset";
        out += p.Assignments;
    }
    out += kCrLf;
}

bool IsOnLine(std::string_view line) {
    return line.size() >= 2 && ToLowerAnsi(line[0]) == 'o' && ToLowerAnsi(line[1]) == 'n';
}

// Reads an "on" line into `p`, which it starts afresh. Returns what is left of the line for
// the continuation rules (return, rvset, assignments); nothing when the line is used up.
std::string_view ReadOnLine(std::string_view line, PathParts& p) {
    p.Destination = {};
    p.ReturnTo = {};
    p.Assignments.clear();

    Delimited trigger = GetDelimited(line, 2, '{', '}');
    p.Trigger = trigger.Text;
    const std::size_t e = trigger.End; // 1-based; 0 without a trigger

    // The verb is whatever keyword stands right after the trigger; anything else is a jump.
    std::string head = ToLowerAnsi(line.substr(std::min(e, line.size()), 10));
    if (head.find(kGosub) != std::string::npos)
        p.Verb = kGosub;
    else if (head.find(kReturn) != std::string::npos)
        p.Verb = kReturn;
    else
        p.Verb = kGoto;

    if (p.Verb != kReturn) {
        Delimited dest = GetDelimited(line, e + 3, '[', ']');
        p.Destination = dest.Text;
        return dest.Found() ? line.substr(dest.End) : line;
    }

    // "on {t} return rvset ...": assignments and no return destination. Only the text after
    // the trigger counts; a trigger is free text, and reading "rvset" or a pair out of it
    // would take the trigger apart and repeat its pair on every tidying.
    std::string_view afterTrigger = line.substr(std::min(e, line.size()));
    std::size_t rvset = IFind(afterTrigger, "rvset");
    std::size_t bracket = afterTrigger.find('[');
    if (rvset != std::string_view::npos && (bracket == std::string_view::npos || rvset < bracket)) {
        p.Assignments = GetRvsetPairs(afterTrigger);
        return {};
    }
    Delimited back = GetDelimited(line, e + 3, '[', ']');
    p.ReturnTo = back.Text;
    return back.Found() ? line.substr(back.End) : line;
}

} // namespace

std::vector<PathParts> ReadPaths(std::string_view text) {
    std::vector<PathParts> paths;
    PathParts path;
    path.Verb = kGoto;
    auto keep = [&] {
        if (Kept(path))
            paths.push_back(path);
    };
    std::string_view rest = text;
    while (!rest.empty()) {
        std::string_view line = TakeLine(rest);
        if (IsOnLine(line)) {
            keep();
            line = ReadOnLine(line, path);
        }
        if (IStartsWith(Trim(line), kReturn)) {
            Delimited back = GetDelimited(line, 1, '[', ']');
            path.ReturnTo = back.Text;
            if (back.Found())
                line = line.substr(back.End);
        }
        if (IStartsWith(Trim(line), "rvset")) {
            path.Assignments = GetRvsetPairs(line);
            line = {};
        }
        if (line.substr(0, 2).find('[') != std::string_view::npos)
            path.Assignments += GetRvsetPairs(line);
    }
    keep();
    return paths;
}

std::string PathText(const PathParts& path) {
    std::string out;
    AppendPath(path, out);
    return out;
}

std::string TidyPathsText(std::string_view text) {
    std::string out;
    for (const PathParts& path : ReadPaths(text))
        AppendPath(path, out);
    return out;
}

std::string cmbTrig2Act(std::string_view caption) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 18> kWords = {{
        {"digit 0", "0"},
        {"digit 1", "1"},
        {"digit 2", "2"},
        {"digit 3", "3"},
        {"digit 4", "4"},
        {"digit 5", "5"},
        {"digit 6", "6"},
        {"digit 7", "7"},
        {"digit 8", "8"},
        {"digit 9", "9"},
        {"digit #", "#"},
        {"digit *", "*"},
        {"timeout", "timeout"},
        {"success", "success"},
        {"fail", "fail"},
        {"true", "true"},
        {"false", "false"},
        {"nonumbe", "nonumbers"},
    }};
    // Only the first seven letters count, so "digit 1 (one)" and "NoNumbers" are recognised
    // while "fail", "true" and "false" must be the whole caption.
    const std::string key = ToLowerAnsi(caption.substr(0, 7));
    for (const auto& [caption7, word] : kWords)
        if (key == caption7)
            return std::string(word);
    return std::string(caption);
}

} // namespace ry
