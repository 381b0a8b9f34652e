#!/usr/bin/env bash
# Profiles carried in a file as a person carries them, on the demo
# installation: the list's context menu exports the selected profile and
# every profile through the system's save dialog, and imports a team's file
# through its open dialog, replacing a profile after the question; the
# imported profile is listed and launches.
#
# Usage: transfer_e2e.sh <fake_ide.exe>; WINEPREFIX and DISPLAY name the
# test run's prefix and X server, and the win64 build holds Ombrisk.exe.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../scripts/lib.sh"
source "$here/e2e_lib.sh"

fake_ide_exe=$1
PROBE_EXE="$(dirname "$fake_ide_exe")/probe.exe"
drive="$WINEPREFIX/drive_c"
OMBRISK_WINDOWS_PATH='C:\Ombrisk\Ombrisk.exe'
SETTINGS="$drive/Ombrisk/Ombrisk.env"
XE6_REPORT="$drive/DemoIDE/RAD Studio XE6/bin/bds.exe.txt"
trap remove_demo EXIT

install_demo "$fake_ide_exe"

utf16_text() { iconv -f UTF-16 -t UTF-8 "$1" | tr -d '\r'; }
# A section of a file's text, from its name to the empty line after it.
section_of() { sed -n "/^\[$2\]\$/,/^\$/p" <<<"$1"; }
# The context menu's item by its mnemonic.
menu_command() {
  keys_to "$MAIN" shift+F10
  wait_for probe menu || fail "no context menu"
  xdotool key "$1"
}
# The system's file dialog with the title: a path typed and confirmed.
file_dialog() {
  activate "$(window "^$1\$")" '#32770'
  xdotool type --delay 20 "$2"
  xdotool key Return
}
# A message box of Ombrisk's with the caption (also the main window's one)
# once it shows the text, answered with Enter.
answer_box() {
  wait_for bash -c "wine '$PROBE_EXE' texts '$1' | tr -d '\r' | grep -qxF -- '$2'" || fail "no box '$1' saying $2"
  local box
  box=$(xdotool search --all --onlyvisible --pid "$OMBRISK_PID" --name "^$1\$" | grep -vx "$MAIN" | head -n 1)
  activate "$box" '#32770'
  xdotool key Return
}

start_ombrisk
original=$(settings_text)

echo "--- the selected profile, then every profile"
# Home selects the first row, 2007 保守.
keys_to "$MAIN" Home
menu_command x
file_dialog '名前を付けて保存' 'C:\Ombrisk\one.ombrisk'
wait_for test -s "$drive/Ombrisk/one.ombrisk" || fail "the profile was not exported"
one=$(utf16_text "$drive/Ombrisk/one.ombrisk")
[ "$(head -n 2 <<<"$one")" = $'[Ombrisk]\nFormatVersion=1' ] || fail "exported: $one"
[ "$(grep -c '^\[PREF_' <<<"$one")" = 1 ] || fail "exported: $one"
[ "$(section_of "$one" 'PREF_2007 保守')" = "$(section_of "$original" 'PREF_2007 保守')" ] || fail "exported: $one"
menu_command w
file_dialog '名前を付けて保存' 'C:\Ombrisk\all.ombrisk'
wait_for test -s "$drive/Ombrisk/all.ombrisk" || fail "every profile was not exported"
[ "$(utf16_text "$drive/Ombrisk/all.ombrisk" | grep -c '^\[PREF_')" = 6 ] || fail "not every profile exported"

echo "--- a team's file: one profile replaced, one added, one of a release not installed"
{
  sed 's/^Description=.*/Description=チームの設定/' <<<"$one"
  printf '[PREF_Team XE6]\nVersion=2017\nNoSplash=1\n\n[PREF_Team 2010]\nVersion=2010\n\n'
} | sed 's/$/\r/' | iconv -f UTF-8 -t UTF-16 >"$drive/Ombrisk/team.ombrisk"
menu_command i
file_dialog '開く' 'C:\Ombrisk\team.ombrisk'
answer_box '確認' 'プロファイル [2007 保守] は既にあります。置き換えますか？'
answer_box 'Ombrisk' '3 件のプロファイルをインポートしました'
wait_for bash -c "! wine '$PROBE_EXE' texts Ombrisk" || fail "the import's message stayed"
settings=$(settings_text)
section_of "$settings" 'PREF_2007 保守' | grep -qxF 'Description=チームの設定' || fail "not replaced: $settings"
section_of "$settings" 'PREF_Team XE6' | grep -qxF 'NoSplash=1' || fail "not added: $settings"
section_of "$settings" 'PREF_Team 2010' | grep -qxF 'Version=2010' || fail "not kept: $settings"
replaced=("$drive"/Ombrisk/Ombrisk.backup/Replaced_*.ini)
[ "$(section_of "$(utf16_text "${replaced[0]}")" 'PREF_2007 保守')" = "$(section_of "$original" 'PREF_2007 保守')" ] ||
  fail "the replaced profile was not saved"

echo "--- the imported profile is listed and launches"
xdotool windowfocus --sync "$MAIN"
xdotool type --delay 20 Team
xdotool key Return
wait_for test -s "$XE6_REPORT" || fail "the imported profile did not launch"
grep -qE '^command=.* /ns( |$)' <(tr -d '\r' <"$XE6_REPORT") || fail "switches: $(cat "$XE6_REPORT")"
wait_exit "$OMBRISK_PID"
echo "transfer end to end: exported, imported, launched"
