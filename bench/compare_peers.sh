#!/usr/bin/env bash
# Runs the peer INI readers and Ombrisk's settings file on the same files in
# one sitting. Usage: bench/compare_peers.sh PEERS_DIR [OUT]
#   PEERS_DIR holds run.sh and gen.py of the peer benchmark; its files go to
#   /tmp/ini-peers-data. Needs fpc, libinih-dev and python3 besides the
#   native build (cmake --preset native && cmake --build --preset native).
set -euo pipefail
peers=${1:?name the folder of the peer benchmark}
out=${2:-/tmp/ombrisk-bench-compare.txt}
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bench="$root/build/native/bin/settings_file_bench"
data=/tmp/ini-peers-data
{
  echo "== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2)"
  echo "== peers"
  DATA=$data bash "$peers/run.sh" | sed -n '/== summary/,$p'
  echo "== Ombrisk, one load per fresh process (3 runs each)"
  for n in 100 1000 10000; do
    for run in 1 2 3; do "$bench" "--memory=$data/prefs_$n.ini"; done
  done
  echo "== Ombrisk, Google Benchmark (steady state, median of 3)"
  "$bench" --file=$data/prefs_100.ini --file=$data/prefs_1000.ini --file=$data/prefs_10000.ini \
    --benchmark_min_time=0.5 --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>&1 | grep median
  echo "== Ombrisk, own files of release-2017 profiles (median of 3)"
  "$bench" --benchmark_min_time=0.5 --benchmark_repetitions=3 --benchmark_report_aggregates_only=true 2>&1 | grep median
} | tee "$out"
