#!/usr/bin/env bash
# The windows at 125 %, 150 % and 200 %: runs the scale tests of the ui
# level once per system DPI of the test run's prefix (its LogPixels, which
# each new Wine process reads), naming the DPI in OMBRISK_TEST_DPI so the
# tests check that it took effect, and sets the prefix back to 96 DPI at the
# end.
#
# Usage: scale_runs.sh <ui_tests.exe> [DPI ...] (120, 144 and 192 when none
# are named); WINEPREFIX and DISPLAY name the test run's prefix and X server.
set -euo pipefail
ui_tests=$1
shift
dpis=("${@:-120 144 192}")
: "${WINEPREFIX:?the test run's Wine prefix}" "${DISPLAY:?the test run's X server}"

set_dpi() { wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f >/dev/null 2>&1; }
trap 'set_dpi 96' EXIT

failed=0
for dpi in ${dpis[*]}; do
  set_dpi "$dpi"
  echo "--- at $dpi DPI"
  OMBRISK_TEST_DPI=$dpi wine "$ui_tests" --gtest_filter='*Scale*' --gtest_brief=1 || failed=1
done
exit "$failed"
