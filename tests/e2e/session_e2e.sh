#!/usr/bin/env bash
# The main job from a person's side, on the demo installation (Delphi 7,
# Delphi 2007, XE6, 12 Athens and 13 Florence, with the IDE stand-in that
# reports what it was given): start without a settings file, add a profile
# for Delphi 7, 2007 and XE6, edit, copy,
# search, sort, launch with every switch, an alternate key and a pre-launch
# command, delete, a second instance, a settings file another program holds,
# and one an editor saved as UTF-8.
#
# Usage: session_e2e.sh <fake_ide.exe> <hold_file.exe>; WINEPREFIX and
# DISPLAY name the test run's prefix and X server, and the win64 build holds
# Ombrisk.exe.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../scripts/lib.sh"
source "$here/e2e_lib.sh"

fake_ide_exe=$1
hold_file_exe=$2
PROBE_EXE="$(dirname "$fake_ide_exe")/probe.exe"
drive="$WINEPREFIX/drive_c"
OMBRISK_WINDOWS_PATH='C:\Ombrisk\Ombrisk.exe'
SETTINGS="$drive/Ombrisk/Ombrisk.env"
D7_REPORT="$drive/DemoIDE/Delphi7/Bin/delphi32.exe.txt"
R2007_REPORT="$drive/DemoIDE/RAD Studio 2007/bin/bds.exe.txt"
XE6_REPORT="$drive/DemoIDE/RAD Studio XE6/bin/bds.exe.txt"

trap remove_demo EXIT

install_demo "$fake_ide_exe"
cp "$hold_file_exe" "$drive/Ombrisk/hold_file.exe"
rm -f "$SETTINGS"

# OK in the editor from its name: back over the tab strip and Cancel.
press_ok() { xdotool key --delay 40 alt+e shift+Tab shift+Tab shift+Tab Return; }

# A new profile: its name, the release as the n-th item below the newest.
add_profile() {
  local name=$1 steps=$2
  keys_to "$MAIN" Insert
  local editor
  editor=$(window '^プロファイルの新規作成$')
  xdotool windowfocus --sync "$editor"
  xdotool type --delay 20 "$name"
  xdotool key --delay 40 alt+v
  local step
  for ((step = 0; step < steps; step++)); do xdotool key --delay 40 Down; done
  press_ok
  wait_for settings_hold "[PREF_$name]" || fail "$name was not saved"
}

launch_selected() {
  rm -f "$D7_REPORT" "$R2007_REPORT" "$XE6_REPORT"
  keys_to "$MAIN" Return
  wait_exit "$OMBRISK_PID"
}

report_of() { tr -d '\r' <"$1"; }

# A line of a profile's section. The file may be between two writes (the
# editor stores its column widths right after the profile), so it is read
# until it holds the line.
section_has() { settings_text | sed -n "/^\[PREF_$1\]\$/,/^\$/p" | grep -qxF -- "$2"; }
expect_key() { wait_for section_has "$1" "$2" || fail "[PREF_$1] lacks $2"; }

# A click on the n-th row of the list (from 0): the main window is 512 x 320
# inside, its list's rows start 77 pixels below the window's top edge.
click_row() {
  xdotool windowfocus --sync "$MAIN"
  xdotool mousemove --window "$MAIN" 60 $((77 + 17 * $1)) click 1
}

echo "--- first start without a settings file; a profile for each release"
start_ombrisk
# Below Florence and Athens: XE6, 2007, Delphi 7.
add_profile 'D7' 4
add_profile 'R2007' 3
add_profile 'XE6' 2
expect_key D7 'Version=7'
expect_key R2007 'Version=2007'
expect_key XE6 'Version=2017'
# XE6's own settings came in: its disabled package and every platform.
expect_key XE6 'PKG_PATH1=$(BDS)\bin\dclbde200.bpl'
expect_key XE6 'ANDROID32_Debug_DCU_Path=$(BDSLIB)\$(Platform)\debug'

echo "--- edit and copy"
click_row 0
keys_to "$MAIN" alt+e
editor=$(window '^プロファイルの編集$')
xdotool windowfocus --sync "$editor"
xdotool key --delay 40 Tab Tab
xdotool type --delay 20 'edited note'
press_ok
expect_key D7 'Description=edited note'
click_row 0
keys_to "$MAIN" shift+F10
wait_for probe menu || fail "no context menu"
xdotool key c
editor=$(window '^プロファイルの新規作成$')
xdotool windowfocus --sync "$editor"
press_ok
expect_key 'コピー ～ D7' 'Description=edited note'

echo "--- every switch, an alternate key, parameters and a pre-launch command"
keys_to "$MAIN" Insert
editor=$(window '^プロファイルの新規作成$')
xdotool windowfocus --sync "$editor"
xdotool type --delay 20 'All'
# XE6; Alt+D reaches the description first, then the Delphi-only switch.
xdotool key --delay 60 alt+v Down Down alt+d alt+d alt+n alt+r alt+c alt+u alt+a
# The alternate key's edit (ED10, id 123) is enabled at the editor's next
# idle moment once its box is checked.
wait_for probe enabled TPREF_FORM 123 || fail "the alternate key's edit was not enabled"
xdotool key --delay 40 Tab
xdotool type --delay 20 'ALTKEY'
xdotool key --delay 40 alt+p
xdotool type --delay 20 'C:\Work\App.dproj'
# The pre-launch command is on the last page; the page change imports the
# alternate key's settings.
xdotool key --delay 60 ctrl+shift+Tab Tab
xdotool type --delay 20 'cmd /c echo ran> "C:\DemoIDE\RAD Studio XE6\bin\prelaunch.txt"'
press_ok
wait_for settings_hold '[PREF_All]' || fail "All was not saved"
for key in DelphiOnly=1 NoSplash=1 NoProject=1 NoCache=1 UseAltReg=1 RunAsAdmin=1 AltReg=ALTKEY \
  'Parameters=C:\Work\App.dproj'; do
  expect_key All "$key"
done
click_row 0
keys_to "$MAIN" End
launch_selected
wait_for test -s "$XE6_REPORT" || fail "XE6 was not started"
report=$(report_of "$XE6_REPORT")
grep -qE '^command=.* -pDelphi /ns /np /nocache /rALTKEY C:\\Work\\App\.dproj *$' <<<"$report" ||
  fail "the switches: $(grep '^command=' <<<"$report")"
grep -qxF 'key=\Software\Embarcadero\ALTKEY\14.0\' <<<"$report" || fail "the alternate key: $report"
grep -q '^prelaunch=(none)' <<<"$report" && fail "the pre-launch command had not run when the IDE started"
test -f "$drive/DemoIDE/RAD Studio XE6/bin/prelaunch.txt" || fail "the pre-launch command did not run"

echo "--- search and sort, seen by what the first or found row launches"
start_ombrisk
keys_to "$MAIN" ctrl+f
find=$(window '検索|Find')
xdotool windowfocus --sync "$find"
xdotool type --delay 20 'R2007'
xdotool key --delay 40 Return Escape
launch_selected
wait_for test -s "$R2007_REPORT" || fail "the search did not select R2007"
start_ombrisk
# A click on the release column's header sorts by it; a second click turns
# it round: XE6's label comes last, so first.
# The second click is further from the first than a double click may be.
xdotool mousemove --window "$MAIN" 250 61 click 1
xdotool mousemove --window "$MAIN" 262 61 click 1
keys_to "$MAIN" Home
launch_selected
wait_for test -s "$XE6_REPORT" || fail "sorting by release did not put XE6 first"

echo "--- a second instance is refused"
start_ombrisk
second=$(start_program "$OMBRISK_WINDOWS_PATH")
refusal=$(window '^確認$' "$second")
activate "$refusal" '#32770'
xdotool key Return
wait_exit "$second"
kill -0 "$OMBRISK_PID" || fail "the first instance ended too"
activate "$MAIN" TMAIN_FORM

echo "--- delete, and a settings file held by another program"
before=$(sha256sum "$SETTINGS")
held="OmbriskE2EHeld-$$"
holder=$(start_program 'C:\Ombrisk\hold_file.exe' 'C:\Ombrisk\Ombrisk.env' write - "$held")
probe event "$held" || fail "the settings file was not held"
keys_to "$MAIN" Home Delete
keys_to "$(window '^確認$')" Return
# The error box has the program's name as its title, as the main window.
error_box() { xdotool search --all --onlyvisible --pid "$OMBRISK_PID" --name '^Ombrisk$' | grep -vx "$MAIN"; }
wait_for error_box || fail "no error box"
error=$(error_box | head -n 1)
keys_to "$error" Return
kill "$holder"
wait_exit "$holder"
[ "$(sha256sum "$SETTINGS")" = "$before" ] || fail "the held file changed"
click_row 0
keys_to "$MAIN" Delete
confirmation=$(window '^確認$')
keys_to "$confirmation" Return
# All was the last profile of its alternate key, which its launch made from
# the base key: the second question's default, No, keeps the key.
key_question() { xdotool search --all --onlyvisible --pid "$OMBRISK_PID" --name '^確認$' | grep -vx "$confirmation"; }
wait_for key_question || fail "no question about the alternate key"
keys_to "$(key_question | head -n 1)" Return
wait_for bash -c "! iconv -f UTF-16 -t UTF-8 '$SETTINGS' | grep -qF '[PREF_All]'" || fail "the delete did not remove All"
wait_for settings_hold '[PREF_D7]' || fail "the delete removed more"
wine reg query 'HKCU\Software\Embarcadero\ALTKEY\14.0\Library' >/dev/null 2>&1 || fail "No deleted the alternate key"

echo "--- a settings file saved as UTF-8 by an editor keeps its profiles"
keys_to "$MAIN" alt+F4
wait_exit "$OMBRISK_PID"
settings_text >"$SETTINGS.utf8"
mv "$SETTINGS.utf8" "$SETTINGS"
start_ombrisk
add_profile 'After UTF-8' 0
[ "$(head -c 2 "$SETTINGS" | od -An -tx1 | tr -d ' ')" = "fffe" ] || fail "the file was not written as UTF-16"
for name in D7 R2007 XE6 'コピー ～ D7' 'After UTF-8'; do
  wait_for settings_hold "[PREF_$name]" || fail "$name was lost"
done
echo "session end to end: passed"
