#!/usr/bin/env bash
# A new profile made and launched as a person would: the real Ombrisk.exe
# under Wine on the test run's X server, driven with xdotool. Ins opens the
# editor, a name, a release and a switch are chosen, OK saves and the row
# appears; Enter on the row launches the IDE stand-in,
# which reports the switches and library paths it was given.
#
# Usage: editor_e2e.sh <Ombrisk.exe> <fake_ide.exe>; WINEPREFIX and DISPLAY
# name the test run's prefix and X server.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

ombrisk_exe=$1
fake_ide_exe=$2
PROBE_EXE="$(dirname "$fake_ide_exe")/probe.exe"
use_scratch_folder editor
SETTINGS="$folder/Ombrisk.env"
report="$folder/d7.exe.txt"

cleanup() {
  e2e_cleanup
  wine reg delete 'HKLM\Software\Borland\DELPHI\7.0' /f /reg:32 >/dev/null 2>&1 || true
  wine reg delete 'HKCU\Software\Borland\DELPHI\7.0' /f >/dev/null 2>&1 || true
  rm -rf "$folder"
}
trap cleanup EXIT

mkdir -p "$folder"
cp "$ombrisk_exe" "$folder/Ombrisk.exe"
cp "$fake_ide_exe" "$folder/d7.exe"
wine reg add 'HKLM\Software\Borland\DELPHI\7.0' /v APP /d "$windows_folder\\d7.exe" /f /reg:32 >/dev/null
wine reg add 'HKCU\Software\Borland\DELPHI\7.0\Library' /v 'Search Path' /d 'C:\lib\seven' /f >/dev/null

start_ombrisk

# Ins opens the editor with the name selected: typing replaces it.
keys_to "$MAIN" Insert
editor=$(window '^プロファイルの新規作成$')
xdotool windowfocus --sync "$editor"
xdotool type --delay 20 'e2e demo'
# The release (the only one, Delphi 7) and the splash switch by their
# mnemonics, then back to the name and Shift+Tab through the tab strip and
# Cancel to OK.
xdotool key alt+v alt+n alt+e shift+Tab shift+Tab shift+Tab Return
wait_for settings_hold '[PREF_e2e demo]' || fail "the profile was not saved"
wait_for settings_hold 'Version=7' || fail "wrong release"
wait_for settings_hold 'NoSplash=1' || fail "the splash switch was not saved"
wait_for settings_hold 'Search_Path=C:\lib\seven' || fail "the library path was not imported"

# The IDE's library path is changed by hand; launching the profile puts the
# profile's path back before the IDE starts.
wine reg add 'HKCU\Software\Borland\DELPHI\7.0\Library' /v 'Search Path' /d 'C:\changed' /f >/dev/null
# Back in the list, Home selects the new row and Enter launches it.
keys_to "$MAIN" Home Return
wait_for test -s "$report" || fail "the IDE was not started"
report_text=$(tr -d '\r' <"$report")
grep -qE '^command=.* /ns( |$)' <<<"$report_text" || fail "switches: $(grep '^command=' <<<"$report_text")"
grep -qF 'Library|Search Path=C:\lib\seven' <<<"$report_text" || fail "library path: $report_text"
# Ombrisk closes after the launch; the next test starts once it has ended.
wait_exit "$OMBRISK_PID"
echo "editor end to end: profile saved and launched"
