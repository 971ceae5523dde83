#pragma once

// The path text of a module: lines that say where the call goes after the module, read by the
// engine and written back by the designer in one normal form.
//
//   on {trigger} goto [Destination]
//   on {trigger} gosub [Destination] return [After]
//   on {trigger} return [After] rvset
//   [name]{value}
//
// Every line of the normal form, the last one included, ends in CR LF. Text is Windows-1252.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ry {

// A piece of text between two delimiters, delimiters included. Positions are 1-based, as the
// path text's callers count them; both are 0 and the piece is empty when nothing was found.
struct Delimited {
    std::string_view Text;
    std::size_t Start = 0;
    std::size_t End = 0;

    bool Found() const { return Start != 0; }
};

// The first piece of `text` that opens with `open` at or after the 1-based position `start`
// and ends at the first `close` after it. Square brackets nest: with `close` ']' the piece runs
// to the bracket that balances its opening one, so "[Sales [East]]" is read whole. Braces do
// not nest. A start of 0 finds nothing.
Delimited GetDelimited(std::string_view text, std::size_t start, char open, char close);

// A delimited piece without its delimiters: "[Menu]" gives "Menu"; empty for an empty piece.
std::string_view Undelimited(std::string_view piece);

// The assignments [name]{value} of `text`, each preceded by CR LF, in the order found; text
// between a name and its value is dropped. The scan stops at the first incomplete pair.
std::string GetRvsetPairs(std::string_view text);

// One path of a path text, as tidying reads it. The pieces keep their delimiters and point
// into the text read; the verb is one of the keywords in lower case.
struct PathParts {
    std::string_view Trigger;     // "{...}"
    std::string_view Verb;        // "goto", "gosub" or "return"
    std::string_view Destination; // "[...]"; empty for a return
    std::string_view ReturnTo;    // "[...]" or empty
    std::string Assignments;      // CR LF and [name]{value} for each assignment, in order
};

// The paths of `text` in order: exactly those that tidying writes back, so a path without a
// trigger, or a jump or call without a destination, is not among them.
std::vector<PathParts> ReadPaths(std::string_view text);

// One path in the normal form: its "on" line and its assignment lines, each ended by CR LF.
std::string PathText(const PathParts& path);

// `text` rebuilt in the normal form: keywords in lower case and single-spaced, one path per
// "on" line followed by its assignment lines. Lines that belong to no path, and paths without
// a trigger, or without a destination where one is needed, are dropped. Tidying the result
// again gives the same text.
std::string TidyPathsText(std::string_view text);

// The trigger word written between the braces for a trigger caption of the paths panel:
// "digit 5" gives "5", "NoNumbers" gives "nonumbers", and a caption that is not one of the
// designer's own ("Busy", a typed digit string) comes back unchanged.
std::string cmbTrig2Act(std::string_view caption);

} // namespace ry
