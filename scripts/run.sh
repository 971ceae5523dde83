#!/usr/bin/env bash
# Installs what is missing, builds, and starts the designer. Safe to run again.
# The one argument, when given, is the path of a script to open.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
"$root/scripts/build.sh" "$root/build"
exec "$root/build/src/ui/rykem" "$@"
