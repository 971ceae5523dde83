#include "paths/link_edits.h"

#include "paths/destinations.h"
#include "script/text.h"

#include <algorithm>
#include <utility>

namespace ry {

namespace {

bool Wanted(const std::vector<int>& links, int link) {
    return std::find(links.begin(), links.end(), link) != links.end();
}

// Where each link's "on {" starts in the text; npos for one PathLinks read without a "}",
// whose trigger has no view into the text.
std::vector<std::size_t> LinkStarts(std::string_view text, const std::vector<PathLink>& links) {
    std::vector<std::size_t> starts;
    std::size_t searched = 0;
    for (const PathLink& link : links) {
        std::size_t at = std::string_view::npos;
        if (link.Trigger.data() != nullptr && link.Trigger.data() >= text.data() + 4)
            at = static_cast<std::size_t>(link.Trigger.data() - text.data()) - 4;
        else
            at = IFind(text, "on {", searched);
        starts.push_back(at);
        if (at != std::string_view::npos)
            searched = at + 4;
    }
    return starts;
}

bool ContinuesAPath(std::string_view line) {
    const std::string_view t = TrimBlanks(line);
    return IStartsWith(t, "[") || IStartsWith(t, "return") || IStartsWith(t, "rvset");
}

} // namespace

std::string RemoveLinks(std::string_view pathText, const std::vector<int>& links) {
    constexpr auto npos = std::string_view::npos;
    const std::vector<PathLink> found = PathLinks(pathText);
    const std::vector<std::size_t> starts = LinkStarts(pathText, found);
    // The lines to drop, as [begin, end) ranges of the text in ascending order.
    std::vector<std::pair<std::size_t, std::size_t>> drop;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        if (!Wanted(links, static_cast<int>(i)) || starts[i] == npos)
            continue;
        std::size_t begin = pathText.rfind('\n', starts[i]);
        begin = begin == npos ? 0 : begin + 1;
        auto lineEnd = [&](std::size_t from) {
            const std::size_t lf = pathText.find('\n', from);
            return lf == npos ? pathText.size() : lf + 1;
        };
        std::size_t end = lineEnd(starts[i]);
        while (end < pathText.size()) {
            const std::size_t next = lineEnd(end);
            if (!ContinuesAPath(pathText.substr(end, next - end)))
                break;
            end = next;
        }
        if (!drop.empty() && begin < drop.back().second)
            drop.back().second = std::max(drop.back().second, end); // two links on one line
        else
            drop.emplace_back(begin, end);
    }
    std::string out;
    std::size_t kept = 0;
    for (const auto& [begin, end] : drop) {
        out.append(pathText.substr(kept, begin - kept));
        kept = end;
    }
    out.append(pathText.substr(kept));
    return out;
}

std::string RetargetLinks(std::string_view pathText, const std::vector<int>& links,
                          std::string_view title) {
    const std::vector<PathLink> found = PathLinks(pathText);
    std::string out;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const std::optional<std::string_view>& destination = found[i].Destination;
        if (!Wanted(links, static_cast<int>(i)) || !destination)
            continue;
        const auto at = static_cast<std::size_t>(destination->data() - pathText.data());
        out.append(pathText.substr(kept, at - kept));
        out.append(title);
        kept = at + destination->size();
    }
    out.append(pathText.substr(kept));
    return out;
}

} // namespace ry
