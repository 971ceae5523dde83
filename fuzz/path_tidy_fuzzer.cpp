// The path text readers on any text: the tidier, whose output must be its normal form (path
// lines and assignment lines, each ended by CR LF) and must not change when tidied again, and
// the scans the canvas and the panels make of the same text.

#include "fuzz_support.h"
#include "paths/destinations.h"
#include "paths/path_text.h"

#include <cstdint>
#include <string>

namespace {

// True when `piece` lies inside `text`: the readers return views into the text they read.
bool Inside(std::string_view piece, std::string_view text) {
    return piece.empty() || (piece.data() >= text.data() &&
                             piece.data() + piece.size() <= text.data() + text.size());
}

void CheckNormalForm(std::string_view tidy) {
    std::string_view rest = tidy;
    while (!rest.empty()) {
        std::size_t end = rest.find("\r\n");
        RY_FUZZ_CHECK(end != std::string_view::npos);
        std::string_view line = rest.substr(0, end);
        RY_FUZZ_CHECK(line.starts_with("on {") || line.starts_with("["));
        rest.remove_prefix(end + 2);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ry;
    const std::string_view text = fuzz::AsText(data, size);

    const std::string once = TidyPathsText(text);
    CheckNormalForm(once);
    RY_FUZZ_CHECK(TidyPathsText(once) == once);

    for (const auto& title : PathDestinations(text))
        RY_FUZZ_CHECK(!title || (!title->empty() && Inside(*title, text)));

    // A piece found is the text between its 1-based positions, delimiters included.
    const char pairs[][2] = {{'{', '}'}, {'[', ']'}};
    for (const auto& [open, close] : pairs) {
        for (std::size_t start = 1; start <= size + 1; start = start * 2 + 1) {
            Delimited d = GetDelimited(text, start, open, close);
            if (!d.Found()) {
                RY_FUZZ_CHECK(d.End == 0 && d.Text.empty());
                continue;
            }
            RY_FUZZ_CHECK(d.Start >= start && d.Start < d.End && d.End <= size);
            RY_FUZZ_CHECK(text[d.Start - 1] == open && text[d.End - 1] == close);
            RY_FUZZ_CHECK(d.Text == text.substr(d.Start - 1, d.End - d.Start + 1));
        }
    }

    const std::string pairsText = GetRvsetPairs(text);
    RY_FUZZ_CHECK(pairsText.empty() || pairsText.starts_with("\r\n["));
    (void)cmbTrig2Act(text);
    return 0;
}
