#pragma once

// Graphviz `dot` as a second layout engine for comparing Arrange with: the same boxes (same
// sizes) and the same paths written as a dot graph, laid out by the `dot` program with a time
// limit, and the boxes' places read back from its plain output. Only the places are taken;
// the connectors are routed by our router for both layouts, so the drawings compare alike.

#include "canvas/routes.h"
#include "layout/arrange.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace ry::bench {

// The top-left corner of each box as `dot` places it (rank by rank from the top, with the
// gaps Arrange keeps), or nothing when dot is missing, fails or takes longer than
// `seconds`.
inline std::optional<std::vector<Point>> DotPlaces(const ArrangeGraph& g, int seconds) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("arrange-bench-" + std::to_string(::getpid()) + ".dot");
    {
        std::ofstream out(file);
        out << "digraph G {\n  nodesep=" << kArrangeColumnGap / 72.0
            << ";\n  ranksep=" << kArrangeLayerGap / 72.0
            << ";\n  node [shape=box, fixedsize=true, label=\"\"];\n";
        for (std::size_t i = 0; i < g.heights.size(); ++i)
            out << "  n" << i << " [width=" << kBoxWidth / 72.0
                << ", height=" << g.heights[i] / 72.0 << "];\n";
        for (auto [from, to] : g.edges)
            out << "  n" << from << " -> n" << to << ";\n";
        out << "}\n";
    }
    const std::string command =
        "timeout " + std::to_string(seconds) + " dot -Tplain " + file.string() + " 2>/dev/null";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return std::nullopt;
    std::string text;
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, got);
    const int status = ::pclose(pipe);
    std::filesystem::remove(file);
    if (status != 0)
        return std::nullopt;

    std::vector<Point> at(g.heights.size());
    std::vector<bool> seen(g.heights.size(), false);
    double height = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string kind;
        words >> kind;
        if (kind == "graph") {
            double scale = 0, width = 0;
            words >> scale >> width >> height;
        } else if (kind == "node") {
            std::string name;
            double x = 0, y = 0;
            words >> name >> x >> y;
            const auto i = static_cast<std::size_t>(std::stoi(name.substr(1)));
            if (i >= at.size())
                return std::nullopt;
            // Centres in inches with y upwards; boxes by their top-left pixel.
            at[i] = {static_cast<int>(std::lround(x * 72 - kBoxWidth / 2.0)) + kArrangeMargin,
                     static_cast<int>(std::lround((height - y) * 72 - g.heights[i] / 2.0)) +
                         kArrangeMargin};
            seen[i] = true;
        }
    }
    for (bool s : seen)
        if (!s)
            return std::nullopt;
    return at;
}

} // namespace ry::bench
