#pragma once

// JUnit XML, the form CI systems read test results in: one testsuite per scenario file, one
// testcase per call.

#include <iosfwd>
#include <string>
#include <vector>

namespace ry::cli {

struct JUnitCase {
    std::string Name;
    std::string Failure; // "" when the call passed
};

struct JUnitSuite {
    std::string Name;  // the scenario file as given
    std::string Error; // why the file was not run; "" when it was
    std::vector<JUnitCase> Cases;
};

// Texts are UTF-8; bytes that are not are written as U+FFFD, and characters XML cannot hold
// as "?".
void WriteJUnit(const std::vector<JUnitSuite>& suites, std::ostream& out);

} // namespace ry::cli
