#!/usr/bin/env bash
# The language of the interface: the real Ombrisk.exe started on an English
# system shows English captions, and "Language=ja" in the section "System"
# of the settings file brings the Japanese ones back.
#
# Usage: language_e2e.sh <Ombrisk.exe> <probe.exe>; WINEPREFIX and DISPLAY
# name the test run's prefix and X server.
set -euo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/e2e_lib.sh"

ombrisk_exe=$1
PROBE_EXE=$2
use_scratch_folder language
SETTINGS="$folder/Ombrisk.env"
trap 'e2e_cleanup; rm -rf "$folder"' EXIT
mkdir -p "$folder"
cp "$ombrisk_exe" "$folder/Ombrisk.exe"

# The main window's captions once it is shown on an English system; then
# it is closed.
english_start() {
  LC_ALL=en_US.UTF-8 LANG=en_US.UTF-8 start_ombrisk
  local texts
  texts=$(probe texts Ombrisk TMAIN_FORM | tr -d '\r')
  keys_to "$MAIN" alt+F4
  wait_exit "$OMBRISK_PID"
  echo "$texts"
}

captions=$(english_start)
grep -qxF '&Add' <<<"$captions" || fail "not English: $captions"
grep -qxF 'Profiles' <<<"$captions" || fail "not English: $captions"

printf '[System]\r\nLanguage=ja\r\n' | iconv -f UTF-8 -t UTF-16 >"$SETTINGS"
captions=$(english_start)
grep -qxF '追加(&A)' <<<"$captions" || fail "Language=ja did not bring Japanese back: $captions"
grep -qxF 'プロファイルリスト' <<<"$captions" || fail "not Japanese: $captions"
echo "language end to end: English, and Japanese where the file asks"
