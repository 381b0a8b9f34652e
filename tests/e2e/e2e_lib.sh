# Shared by the end-to-end scripts: the real Ombrisk.exe under Wine on the
# test run's X server, driven with xdotool as a person would. Source it; it
# needs WINEPREFIX and DISPLAY, and ends what it started at exit.

: "${WINEPREFIX:?the test run's Wine prefix}" "${DISPLAY:?the test run's X server}"

E2E_STARTED=()
OMBRISK_PID=""

# The run's scratch folder on drive C (folder, its Windows form
# windows_folder) and Ombrisk's path there as Windows sees it.
use_scratch_folder() {
  folder_name="e2e-$1-$$"
  folder="$WINEPREFIX/drive_c/$folder_name"
  windows_folder="C:\\$folder_name"
  OMBRISK_WINDOWS_PATH="$windows_folder\\Ombrisk.exe"
}

fail() {
  echo "FAILED: $*" >&2
  # E2E_SCREENSHOT names a file for a picture of the screen at the failure.
  [ -n "${E2E_SCREENSHOT:-}" ] && import -window root "$E2E_SCREENSHOT" 2>/dev/null || true
  if [ -n "${SETTINGS:-}" ] && [ -f "$SETTINGS" ]; then
    echo "--- the settings file:" >&2
    settings_text >&2 || true
  fi
  exit 1
}

e2e_cleanup() {
  local pid
  for pid in "${E2E_STARTED[@]}"; do kill "$pid" 2>/dev/null || true; done
}
trap e2e_cleanup EXIT
# A command that fails outside a check ends the script (set -e): it is named,
# so the failure says where it happened.
trap 'echo "FAILED: line $LINENO of $(basename "$0"): $BASH_COMMAND" >&2' ERR

# Ends what the script started and removes the demo installation
# (install_demo) from the prefix.
remove_demo() {
  e2e_cleanup
  for key in 'HKLM\Software\Wow6432Node\Borland' 'HKCU\Software\Borland' 'HKCU\Software\Embarcadero'; do
    wine reg delete "$key" /f >/dev/null 2>&1 || true
  done
  rm -rf "$WINEPREFIX/drive_c/Ombrisk" "$WINEPREFIX/drive_c/DemoIDE" "$WINEPREFIX/demo.reg"
}

# Waits for a command to succeed, looking again every tenth of a second;
# fails when it has not after 30 seconds, as a test that is stuck.
wait_for() {
  local deadline=$((SECONDS + 30))
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# Asks tests/helpers/probe.cpp about a state of Wine's windows (PROBE_EXE
# names it; the scripts find it beside the fake IDE): "enabled CLASS ID", "menu", "active CLASS" or "event NAME".
probe() { wine "${PROBE_EXE:?the probe helper}" "$@"; }

# The settings file as UTF-8 text without CRs (it is UTF-16 when Ombrisk
# wrote it).
settings_text() {
  if [ "$(head -c 2 "$SETTINGS" | od -An -tx1 | tr -d ' ')" = "fffe" ]; then
    iconv -f UTF-16 -t UTF-8 "$SETTINGS" | tr -d '\r'
  else
    tr -d '\r' <"$SETTINGS"
  fi
}
settings_hold() { settings_text | grep -qF -- "$1"; }

# Starts a Windows program in the background and prints its process id.
start_program() {
  wine "$@" >/dev/null 2>&1 &
  E2E_STARTED+=($!)
  echo $!
}

# Starts Ombrisk and waits for its main window, which gets the keyboard.
start_ombrisk() {
  wine "$OMBRISK_WINDOWS_PATH" >/dev/null 2>&1 &
  OMBRISK_PID=$!
  E2E_STARTED+=("$OMBRISK_PID")
  MAIN=$(window '^Ombrisk$')
  activate "$MAIN" TMAIN_FORM
}

# A visible window of Ombrisk (or of the process given second) whose title
# matches, once it is there. The search is asked again rather than left to
# wait: a window that goes away while xdotool looks through the windows
# ends that search with an X error.
window() {
  local found deadline=$((SECONDS + 30))
  until found=$(xdotool search --all --onlyvisible --pid "${2:-$OMBRISK_PID}" --name "$1" 2>/dev/null) &&
    [ -n "$found" ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "no window titled $1"
    sleep 0.1
  done
  head -n 1 <<<"$found"
}

# Focuses a window and sends it keys. The keys reach the window's queue in
# the order they are typed, behind everything typed before.
keys_to() {
  local target=$1
  shift
  xdotool windowfocus --sync "$target"
  xdotool key --delay 40 "$@"
}

# Focuses a window of another process than the one in front (X window id,
# Windows class) and waits until Wine has made it the foreground window:
# keys typed before that would be lost.
activate() {
  xdotool windowfocus --sync "$1"
  probe active "$2" || fail "the window of class $2 did not become the active one"
}

# Waits for a process to end; fails when it does not.
wait_exit() {
  wait_for bash -c "! kill -0 $1" || fail "process $1 did not end"
}
