#!/usr/bin/env bash
# Delphi 13 Florence with its 64-bit IDE, made and launched as a person
# would: the real Ombrisk.exe under Wine, driven with xdotool. The release
# records a 32-bit and a 64-bit IDE stand-in; the new profile takes the
# 64-bit one with Alt+6, so its packages are the 64-bit IDE's, and the
# launch starts bin64\bds.exe with the 64-bit IDE's disabled packages, the
# library tabs the release's keys had and no key of a platform it lacks.
#
# Usage: florence_e2e.sh <Ombrisk.exe> <fake_ide.exe>; WINEPREFIX and
# DISPLAY name the test run's prefix and X server.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

ombrisk_exe=$1
fake_ide_exe=$2
PROBE_EXE="$(dirname "$fake_ide_exe")/probe.exe"
use_scratch_folder florence
SETTINGS="$folder/Ombrisk.env"
key='HKCU\Software\Embarcadero\BDS\37.0'

cleanup() {
  e2e_cleanup
  wine reg delete "$key" /f >/dev/null 2>&1 || true
  rm -rf "$folder"
}
trap cleanup EXIT

# A value below the release's key: <sub key> <name> <text>.
ide_value() { wine reg add "$key$1" /v "$2" /d "$3" /f >/dev/null; }

mkdir -p "$folder/bin" "$folder/bin64"
cp "$ombrisk_exe" "$folder/Ombrisk.exe"
cp "$fake_ide_exe" "$folder/bin/bds.exe"
cp "$fake_ide_exe" "$folder/bin64/bds.exe"
ide_value '' APP "$windows_folder\\bin\\bds.exe"
ide_value '' 'App x64' "$windows_folder\\bin64\\bds.exe"
ide_value '\Library\Win32' 'Search Path' 'C:\lib\win32'
ide_value '\Library\Win64x' 'Search Path' 'C:\lib\win64x'
ide_value '\Known Packages' 'C:\pkg\a32.bpl' 'A32'
ide_value '\Disabled Packages' 'C:\pkg\a32.bpl' 'A32'
ide_value '\Known Packages x64' 'C:\pkg\a64.bpl' 'A64'
ide_value '\Known Packages x64' 'C:\pkg\b64.bpl' 'B64'
ide_value '\Disabled Packages x64' 'C:\pkg\b64.bpl' 'B64'

start_ombrisk

# Ins opens the editor on the newest release; Alt+6 chooses the 64-bit IDE,
# then back to the name and Shift+Tab through the tab strip and Cancel to OK.
keys_to "$MAIN" Insert
editor=$(window '^プロファイルの新規作成$')
xdotool windowfocus --sync "$editor"
xdotool type --delay 20 'florence'
xdotool key --delay 40 alt+6 alt+e shift+Tab shift+Tab shift+Tab Return
wait_for settings_hold '[PREF_florence]' || fail "the profile was not saved"
for line in 'Version=2027' 'IDE64=1' 'PKG_PATH1=C:\pkg\b64.bpl' 'Search_Path=C:\lib\win32' \
  'WIN64X_Search_Path=C:\lib\win64x'; do
  settings_hold "$line" || fail "the profile lacks $line"
done
settings_hold 'Embedded_Designer' && fail "a designer setting for a release without one"
settings_hold 'WIN64_' && fail "values of a platform whose key is missing"

# The 64-bit IDE's state changes by hand; the launch puts the profile's back.
wine reg delete "$key\\Disabled Packages x64" /f >/dev/null
ide_value '\Library\Win64x' 'Search Path' 'C:\changed'
keys_to "$MAIN" Home Return
report="$folder/bin64/bds.exe.txt"
wait_for test -s "$report" || fail "the 64-bit IDE was not started"
# Ombrisk has started all it will start once it has ended.
wait_exit "$OMBRISK_PID"
[ -e "$folder/bin/bds.exe.txt" ] && fail "the 32-bit IDE was started too"
report_text=$(tr -d '\r' <"$report")
for line in 'release=2027' 'ide=64' 'Disabled Packages x64|C:\pkg\b64.bpl=B64' 'Disabled Packages|C:\pkg\a32.bpl=A32' \
  'Library\Win32|Search Path=C:\lib\win32' 'Library\Win64x|Search Path=C:\lib\win64x'; do
  grep -qxF "$line" <<<"$report_text" || fail "the IDE did not find $line: $report_text"
done
grep -qxF 'Library\Win64' <<<"$report_text" && fail "a key for a platform the release lacks: $report_text"
grep -qxF 'Form Design' <<<"$report_text" && fail "a designer key for a release without one: $report_text"
echo "Florence end to end: the 64-bit IDE's profile saved and launched"
