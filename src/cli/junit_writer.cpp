#include "junit_writer.h"

#include "terminal_text.h"

#include <cstddef>
#include <ostream>

namespace ry::cli {

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Utf8SequenceLength(text, i);
        if (n == 0) {
            out += "\xEF\xBF\xBD";
            ++i;
            continue;
        }
        if (n > 1) {
            out.append(text, i, n);
            i += n;
            continue;
        }
        const char c = text[i++];
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&apos;";
            break;
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
        }
    }
    return out;
}

} // namespace

void WriteJUnit(const std::vector<JUnitSuite>& suites, std::ostream& out) {
    std::size_t tests = 0, failures = 0, errors = 0;
    for (const JUnitSuite& suite : suites) {
        tests += suite.Error.empty() ? suite.Cases.size() : 1;
        errors += suite.Error.empty() ? 0 : 1;
        for (const JUnitCase& c : suite.Cases)
            failures += c.Failure.empty() ? 0 : 1;
    }
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out << "<testsuites name=\"rys test\" tests=\"" << tests << "\" failures=\"" << failures
        << "\" errors=\"" << errors << "\">\n";
    for (const JUnitSuite& suite : suites) {
        std::size_t failed = 0;
        for (const JUnitCase& c : suite.Cases)
            failed += c.Failure.empty() ? 0 : 1;
        const std::string name = Escaped(suite.Name);
        out << "  <testsuite name=\"" << name << "\" tests=\""
            << (suite.Error.empty() ? suite.Cases.size() : 1) << "\" failures=\"" << failed
            << "\" errors=\"" << (suite.Error.empty() ? 0 : 1) << "\">\n";
        if (!suite.Error.empty()) {
            out << "    <testcase name=\"" << name << "\" classname=\"" << name << "\">\n"
                << "      <error message=\"" << Escaped(suite.Error) << "\"/>\n"
                << "    </testcase>\n";
        }
        for (const JUnitCase& c : suite.Cases) {
            out << "    <testcase name=\"" << Escaped(c.Name) << "\" classname=\"" << name << "\"";
            if (c.Failure.empty()) {
                out << "/>\n";
                continue;
            }
            const std::string failure = Escaped(c.Failure);
            out << ">\n      <failure message=\"" << failure << "\">" << failure
                << "</failure>\n    </testcase>\n";
        }
        out << "  </testsuite>\n";
    }
    out << "</testsuites>\n";
}

} // namespace ry::cli
