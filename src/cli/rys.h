#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace ry::cli {

// Runs the rys command line (arguments without the program name); returns the exit code.
int RunRys(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace ry::cli
