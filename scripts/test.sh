#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Safe to run again.
# 1. the suite in the normal build (build), then that build installed into a temporary prefix
#    and checked (scripts/install-check.sh);
# 2. the suite again, built by clang with AddressSanitizer and UndefinedBehaviorSanitizer
#    (build-asan): any report fails the test that made it (a test whose only fault is a crash
#    of LeakSanitizer's own tracer at exit runs once more, without the leak check);
# 3. each fuzz target for a short time (scripts/fuzz.sh, RY_FUZZ_SECONDS each, default 20).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/deps.sh"
export QT_QPA_PLATFORM=offscreen

"$root/scripts/build.sh" "$root/build"
ctest --test-dir "$root/build" --output-on-failure -j "$(nproc)"
# The normal build installed into a temporary prefix and checked as a desktop user gets it.
"$root/scripts/install-check.sh" "$root/build"

# The sanitizer options hold for the build too: it runs the test programs to list their tests.
export ASAN_OPTIONS="detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"
"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_CXX_COMPILER=clang++ -DRY_SANITIZE=ON \
  -DRY_BUILD_BENCH=OFF
asan_log="$(mktemp "${TMPDIR:-/tmp}/ry-asan-ctest.XXXXXX")"
trap 'rm -f "$asan_log"' EXIT
if ! ctest --test-dir "$root/build-asan" --output-on-failure -j "$(nproc)" 2>&1 |
  tee "$asan_log"; then
  # LeakSanitizer's own tracer now and then crashes while it stops the threads at exit
  # ("LeakSanitizer has encountered a fatal error"): no finding, and no leak checked. When
  # every failed test failed so, those tests run once more; any other failure stands.
  failed="$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*\*\*\*(Failed|Exception|Timeout)' "$asan_log" || true)"
  tracer="$(grep -c 'LeakSanitizer has encountered a fatal error' "$asan_log" || true)"
  if [ "$failed" -gt 0 ] && [ "$failed" = "$tracer" ]; then
    echo "test.sh: $failed test(s) lost to LeakSanitizer's tracer; running them again," \
      "with every check but the leak check" >&2
    ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0" \
      ctest --test-dir "$root/build-asan" --output-on-failure --rerun-failed
  else
    exit 1
  fi
fi
unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS

"$root/scripts/fuzz.sh" "${RY_FUZZ_SECONDS:-20}"
