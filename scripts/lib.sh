# Shared by scripts/test, scripts/run and the other scripts: installs what a
# fresh Debian machine lacks, and starts and stops the Wine and X servers a
# run needs. Source it; it defines functions only.

OMBRISK_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Debian packages the build and every test level need.
OMBRISK_PACKAGES=(cmake g++ clang libclang-rt-14-dev libbenchmark-dev mingw-w64 wine wine64 xvfb xauth xdotool
  imagemagick fonts-ipafont-gothic locales python3)

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

# The environment every Wine process of the project runs in.
wine_environment() {
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree=;mshtml="
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
  # No window manager runs on Xvfb: unmanaged windows spare Wine its wait of
  # up to two seconds for one whenever a window is hidden.
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
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
