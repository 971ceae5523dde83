#include "commands.h"

#include <ostream>

namespace ry::cli {

int UsageError(std::ostream& err, std::string_view message) {
    err << "rys: " << message << "\n" << kUsage;
    return 2;
}

int RunDump(const Args&, std::ostream&, std::ostream& err) { return UsageError(err, "not yet"); }
int RunResave(const Args&, std::ostream&, std::ostream& err) { return UsageError(err, "not yet"); }

} // namespace ry::cli
