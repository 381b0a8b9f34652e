# Shared by scripts/test, scripts/run and the other scripts: installs what a
# fresh Debian machine lacks, and starts and stops the Wine and X servers a
# run needs. Source it; it defines functions only.

OMBRISK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages the build and every test level need.
OMBRISK_PACKAGES=(cmake g++ clang libclang-rt-14-dev libbenchmark-dev mingw-w64 wine wine64 xvfb xauth xdotool zip
  imagemagick fonts-ipafont-gothic locales python3 clang-format clang-tidy lcov)

log() { printf '==> %s\n' "$*" >&2; }

package_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

ensure_packages() {
  local missing=()
  local package
  for package in "${OMBRISK_PACKAGES[@]}"; do
    package_installed "$package" || missing+=("$package")
  done
  if ((${#missing[@]})); then
    log "installing ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
  ensure_japanese_locale
}

# Wine runs as a Japanese Windows (ANSI code page 932) only with this locale.
ensure_japanese_locale() {
  if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
    log "generating the ja_JP.UTF-8 locale"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
      echo 'ja_JP.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${sudo[@]}" locale-gen >/dev/null
  fi
}

# Configures and builds one CMake preset.
build_preset() {
  local preset=$1
  log "building $preset"
  cmake --preset "$preset" -S "$OMBRISK_ROOT" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
}

# Runs the settings-file fuzzer for the given seconds on its working corpus
# (kept in the build folder) and the committed seeds.
run_fuzzer() {
  local seconds=$1
  local corpus="$OMBRISK_ROOT/build/fuzz/corpus"
  local output="$OMBRISK_ROOT/build/fuzz/fuzz.log"
  mkdir -p "$corpus"
  if ! "$OMBRISK_ROOT/build/fuzz/bin/settings_file_fuzz" -max_total_time="$seconds" -max_len=8192 -timeout=10 \
    -artifact_prefix="$OMBRISK_ROOT/build/fuzz/" \
    "$corpus" "$OMBRISK_ROOT/fuzz/corpus/settings_file" >"$output" 2>&1; then
    tail -n 60 "$output" >&2
    log "the fuzzer found a failure; the input is in build/fuzz/ (crash-*)"
    return 1
  fi
  grep -E '^Done [0-9]+ runs' "$output" >&2 || true
}

# Every C++ file of the project.
project_sources() {
  find "$OMBRISK_ROOT/src" "$OMBRISK_ROOT/tests" "$OMBRISK_ROOT/bench" "$OMBRISK_ROOT/fuzz" \
    -name '*.h' -o -name '*.cpp' | LC_ALL=C sort
}

check_format() {
  log "checking the layout of every C++ file (clang-format)"
  project_sources | xargs clang-format --dry-run --Werror
}

# The names of the settings file's sections and keys, as they stand in
# src/core/profile_store.* (the library keys' stand in src/core/platforms.cpp).
SETTINGS_NAMES='PREF_|System|MainForm|PrefForm|ListViewLineColor|ListViewColumnWidths|ClientWidth|ClientHeight'
SETTINGS_NAMES+='|WindowState|Top|Left|Version|Description|DelphiOnly|NoSplash|NoProject|NoCache|UseAltReg|RunAsAdmin'
SETTINGS_NAMES+='|AltReg|Parameters|Embedded_Designer|PKG_PATH|PKG_NAME|PKG_Count|PreProcess|IDE64'

# What no compiler checks of the program's structure: no file of src/ui is
# longer than 400 lines, and no name of a settings-file section or key is
# written outside src/core. (clang-tidy keeps functions to 60 lines.)
check_structure() {
  log "checking the sizes of the window files and where settings names stand"
  local long named
  long=$(find "$OMBRISK_ROOT/src/ui" -name '*.cpp' -o -name '*.h' | xargs wc -l | awk '$2 != "total" && $1 > 400')
  named=$(cd "$OMBRISK_ROOT" && grep -rnE "[uL]?\"($SETTINGS_NAMES)[0-9]*\"" src --include='*.cpp' --include='*.h' |
    grep -v '^src/core/' || true)
  if [ -n "$long" ]; then
    printf '%s\n' "$long" >&2
    log "these files of src/ui are longer than 400 lines"
  fi
  if [ -n "$named" ]; then
    printf '%s\n' "$named" >&2
    log "settings-file names outside src/core: name them in src/core/profile_store.* and use them from there"
  fi
  [ -z "$long$named" ]
}

# clang-tidy with the checked-in .clang-tidy over the program's own code: the
# core with the native compile commands of the coverage build, the Windows
# layers with the win64 ones, read as the MinGW-w64 target.
run_clang_tidy() {
  log "clang-tidy on src/"
  local mingw
  mingw=$(ls -d /usr/lib/gcc/x86_64-w64-mingw32/*-posix/include/c++ | head -n 1)
  find "$OMBRISK_ROOT/src/core" -name '*.cpp' | xargs -P "$(nproc)" -n 4 \
    clang-tidy -p "$OMBRISK_ROOT/build/coverage" --quiet 2>&1 | tidy_findings
  find "$OMBRISK_ROOT/src/win32" "$OMBRISK_ROOT/src/ui" "$OMBRISK_ROOT/src/app" -name '*.cpp' |
    xargs -P "$(nproc)" -n 4 clang-tidy -p "$OMBRISK_ROOT/build/win64" --quiet \
      --extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-isystem"$mingw" \
      --extra-arg=-isystem"$mingw/x86_64-w64-mingw32" --extra-arg=-isystem"$mingw/backward" 2>&1 | tidy_findings
}

# Passes clang-tidy's output through and fails when it holds a finding.
tidy_findings() {
  local output
  output=$(cat)
  if grep -qE '(warning|error):' <<<"$output"; then
    grep -E -A3 '(warning|error):' <<<"$output" >&2
    log "clang-tidy found the above"
    return 1
  fi
}

# Runs the core's tests in the coverage build and fails below the minimum
# share of the core's lines.
check_core_coverage() {
  local minimum=$1
  local build="$OMBRISK_ROOT/build/coverage"
  log "line coverage of the core"
  find "$build" -name '*.gcda' -delete
  "$build/bin/core_tests" --gtest_brief=1 >/dev/null
  lcov --quiet --capture --initial --directory "$build" --output-file "$build/base.info" 2>/dev/null
  lcov --quiet --capture --directory "$build" --output-file "$build/run.info" 2>/dev/null
  lcov --quiet --add-tracefile "$build/base.info" --add-tracefile "$build/run.info" \
    --output-file "$build/all.info" 2>/dev/null
  lcov --quiet --extract "$build/all.info" '*/src/core/*' --output-file "$build/core.info" 2>/dev/null
  local summary rate
  summary=$(lcov --summary "$build/core.info" 2>&1 | grep 'lines')
  rate=$(sed -n 's/.*: \([0-9.]*\)%.*/\1/p' <<<"$summary")
  log "core${summary}"
  if ! awk -v rate="$rate" -v minimum="$minimum" 'BEGIN { exit !(rate >= minimum) }'; then
    lcov --list "$build/core.info" >&2
    log "the core's line coverage is below $minimum%"
    return 1
  fi
}

# The environment every Wine process of the project runs in.
wine_environment() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree=;mshtml=;winemenubuilder.exe=d"
  export LANG=ja_JP.UTF-8
  export LC_ALL=ja_JP.UTF-8
}

OMBRISK_STARTED_PIDS=()

# Starts Xvfb on the first free display from :90 on and exports DISPLAY.
start_xvfb() {
  local display=90
  while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
    display=$((display + 1))
  done
  Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  OMBRISK_STARTED_PIDS+=($!)
  export DISPLAY=":$display"
  local tries=0
  until [ -e "/tmp/.X11-unix/X$display" ]; do
    tries=$((tries + 1))
    if [ $tries -gt 100 ]; then
      log "Xvfb did not start on $DISPLAY"
      return 1
    fi
    sleep 0.1
  done
  log "Xvfb on $DISPLAY"
}

# Uses the prefix, starts a persistent wineserver for it and boots it.
start_wine() {
  export WINEPREFIX=$1
  wine_environment
  mkdir -p "$WINEPREFIX"
  wineserver -f -p >/dev/null 2>&1 &
  OMBRISK_STARTED_PIDS+=($!)
  log "booting the Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1
  keep_shell_folders_inside
  # No window manager runs on Xvfb: unmanaged windows spare Wine its wait of
  # up to two seconds for one whenever a window is hidden.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

# A new prefix links the user's desktop and documents to the home folder;
# this one keeps folders of its own, so shortcuts made in it stay in it.
# Wine's menu builder, which would copy them onto the host's desktop, is off
# for its programs (wine_environment).
keep_shell_folders_inside() {
  local link
  for link in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$link" ]; then
      rm "$link"
      mkdir "$link"
    fi
  done
}

# Installs the demo into the prefix in WINEPREFIX: Ombrisk.exe in C:\Ombrisk,
# Delphi 7, Delphi 2007, XE6, 12 Athens (also its 64-bit IDE) and 13
# Florence registered with the demo IDE (a window that shows what a launch
# gave it) below C:\DemoIDE, their library keys and
# packages, and a settings file with example profiles when it has none. The
# IDE stand-in may be given (the tests use one without a window).
install_demo() {
  local bin="$OMBRISK_ROOT/build/win64/bin"
  local ide_exe=${1:-$bin/demo_ide.exe}
  local drive="$WINEPREFIX/drive_c"
  local ide
  mkdir -p "$drive/Ombrisk"
  cp "$bin/Ombrisk.exe" "$drive/Ombrisk/Ombrisk.exe"
  for ide in 'Delphi7/Bin/delphi32.exe' 'RAD Studio 2007/bin/bds.exe' 'RAD Studio XE6/bin/bds.exe' \
    'RAD Studio 12/bin/bds.exe' 'RAD Studio 12/bin64/bds.exe' 'RAD Studio 13/bin/bds.exe'; do
    mkdir -p "$drive/DemoIDE/$(dirname "$ide")"
    cp "$ide_exe" "$drive/DemoIDE/$ide"
  done
  python3 "$OMBRISK_ROOT/scripts/demo.py" "$WINEPREFIX/demo.reg" "$drive/Ombrisk/Ombrisk.env"
  wine regedit /S "$(winepath -w "$WINEPREFIX/demo.reg")" >/dev/null 2>&1
}

# Ends what start_xvfb and start_wine started, by process id.
stop_started() {
  if [ -n "${WINEPREFIX:-}" ]; then
    wineserver -k >/dev/null 2>&1 || true
  fi
  local pid
  for pid in "${OMBRISK_STARTED_PIDS[@]}"; do
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  OMBRISK_STARTED_PIDS=()
}
