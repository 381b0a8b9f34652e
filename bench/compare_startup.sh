#!/usr/bin/env bash
# Starts Ombrisk and the start-up baseline (a bare Win32 window showing the
# same rows) side by side in one sitting under Wine, and prints the medians
# and their ratio, the peak memory, the first Ctrl+F and a launch.
#   bench/compare_startup.sh BASELINE_DIR [PROFILES...]
# BASELINE_DIR holds baseline.cpp and v6.rc of the start-up baseline; it is
# built into build/win64/bench. Needs the win64 build (cmake --preset win64
# && cmake --build --preset win64) and runs in a Wine prefix of its own on a
# free Xvfb display, both stopped afterwards.
set -euo pipefail
baseline_dir=$(cd "${1:?name the folder of the start-up baseline}" && pwd)
shift
profiles=("${@:-50 1000}")
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/lib.sh"
out="$OMBRISK_ROOT/build/win64/bench"
mkdir -p "$out"
(cd "$baseline_dir" && x86_64-w64-mingw32-windres v6.rc -O coff -o "$out/v6.res.o")
x86_64-w64-mingw32-g++ -std=c++17 -O2 -static -municode -s "$baseline_dir/baseline.cpp" "$out/v6.res.o" \
  -o "$out/baseline.exe" -lcomctl32
# The same program noting when its runtime starts, for the breakdown.
x86_64-w64-mingw32-g++ -std=c++17 -O2 -static -municode -s "$baseline_dir/baseline.cpp" \
  "$OMBRISK_ROOT/bench/baseline_entry.cpp" "$out/v6.res.o" -o "$out/baseline_trace.exe" -lcomctl32

prefix="$OMBRISK_ROOT/build/win64/wine/bench-$$"
trap 'stop_started; rm -rf "$prefix"' EXIT
start_xvfb
start_wine "$prefix"
echo "== $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ *//'), $(wine --version)"
for count in ${profiles[*]}; do
  wine "$OMBRISK_ROOT/build/win64/bin/program_bench.exe" "$count" "${OMBRISK_BENCH_RUNS:-21}" "$(winepath -w "$out/baseline.exe")"
done
