#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program. Safe to run again.
# Arguments are passed to the program.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build"
if [ $# -eq 0 ]; then
  set -- --help
fi
exec "$root/build/src/cli/rys" "$@"
