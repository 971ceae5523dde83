#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each one for a bounded time on a
# copy of its seed corpus (fuzz/corpus/<target>/). Fails on the first finding (crash, broken
# rule, undefined behaviour, leak, an input running longer than 10 s or using too much memory);
# the input is kept in the run folder, named in the output.
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]   (default: 60 s, every target)
# RY_FUZZ_BUILD_DIR chooses the build folder (default: build-fuzz).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-60}"
shift || true
build="${RY_FUZZ_BUILD_DIR:-$root/build-fuzz}"

if ! [[ "$seconds" =~ ^[0-9]+$ ]] || [ "$seconds" -lt 1 ]; then
  echo "usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]" >&2
  exit 2
fi

"$root/scripts/build.sh" "$build" -DCMAKE_CXX_COMPILER=clang++ -DRY_FUZZ=ON -DRY_BUILD_TESTS=OFF \
  -DRY_BUILD_BENCH=OFF -DRY_BUILD_UI=OFF

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for src in "$root"/fuzz/*_fuzzer.cpp; do
    name="$(basename "$src" .cpp)"
    targets+=("${name%_fuzzer}")
  done
fi

# The dictionary of words each target's inputs are made of.
dictionary() {
  case "$1" in
    script_text | protected_script | rename) echo "$root/fuzz/dict/script_text.dict" ;;
    profile_read | profile_write) echo "$root/fuzz/dict/profile.dict" ;;
    conversions) echo "$root/fuzz/dict/conversions.dict" ;;
    say_number_library) echo "$root/fuzz/dict/say_number_library.dict" ;;
  esac
}

runs="$build/fuzz-runs"
failed=()
for target in "${targets[@]}"; do
  program="$build/fuzz/fuzz_$target"
  if [ ! -x "$program" ] || [ ! -d "$root/fuzz/corpus/$target" ]; then
    echo "fuzz: no target $target" >&2
    exit 2
  fi
  work="$runs/$target"
  rm -rf "$work"
  mkdir -p "$work/corpus"
  cp -R "$root/fuzz/corpus/$target/." "$work/corpus/"
  options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=16384
           -print_final_stats=1 -artifact_prefix="$work/")
  dict="$(dictionary "$target")"
  if [ -n "$dict" ]; then
    options+=(-dict="$dict")
  fi
  if "$program" "${options[@]}" "$work/corpus" >"$work/log" 2>&1; then
    executions="$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log")"
    echo "fuzz: $target: ${executions:-?} inputs in ${seconds} s, no finding"
  else
    echo "fuzz: $target: FINDING (log: $work/log)" >&2
    grep -E "^(==[0-9]+==ERROR|SUMMARY|.*broken rule|.*runtime error|artifact_prefix|Test unit written)" \
      "$work/log" | head -n 20 >&2 || true
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: findings in: ${failed[*]}" >&2
  exit 1
fi
