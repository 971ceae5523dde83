#pragma once

// Runs rys in the test's own process, as its command line would.

#include "rys.h"

#include <sstream>
#include <string>
#include <vector>

namespace ry::test {

struct RysRun {
    int code;
    std::string out, err;
};

inline RysRun Rys(std::vector<std::string> args) {
    std::ostringstream out, err;
    int code = cli::RunRys(args, out, err);
    return {code, out.str(), err.str()};
}

} // namespace ry::test
