#!/usr/bin/env bash
# Builds Corvello on Debian and runs it, or its tests, under Wine.
#   scripts/corvello.sh run    install what is missing, build, start corvello.exe
#   scripts/corvello.sh test   install what is missing, build, run every test
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix g++-mingw-w64-x86-64-win32 gcc-mingw-w64-x86-64-win32
  binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 xvfb xauth x11-utils fonts-wine procps
  nsis ccache
)

log() { printf '\n== %s\n' "$*"; }

install_missing() {
  local missing=() p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  log "installing: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

xvfb_pid=""
start_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$n"
    local i
    for i in $(seq 1 50); do
      # Our own server, alive: another run may have taken the number a moment
      # before, and then ours has ended and the display answering is theirs.
      kill -0 "$xvfb_pid" 2>/dev/null || break
      xdpyinfo >/dev/null 2>&1 && kill -0 "$xvfb_pid" 2>/dev/null && return 0
      sleep 0.1
    done
    kill "$xvfb_pid" 2>/dev/null || true
  done
  echo "could not start Xvfb" >&2
  return 1
}

# A private Wine prefix: no install prompts, no crash dialog, one wineserver
# kept alive for the whole run. With a second argument "desktop", Wine keeps
# its windows on a virtual desktop of its own: there is no window manager on
# a private Xvfb display, and without one windows cannot be maximised.
start_wine() {
  export WINEPREFIX="$1" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "making the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    timeout 300 wineboot -i >/dev/null 2>&1
    timeout 60 wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
    if [ "${2:-}" = desktop ]; then
      timeout 60 wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
      timeout 60 wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1280x1024 /f >/dev/null 2>&1
    fi
    # The settings take effect with a new server (and a new desktop process).
    wineserver -k >/dev/null 2>&1 || true
    timeout 60 wineserver -w || true
  fi
  # Page loads of the prefix (the statistics pings, the hidden browser) go to
  # a loopback proxy that nobody answers unless a test listens there: nothing
  # leaves this machine.
  if ! grep -q '"ProxyServer"="127.0.0.1:' "$WINEPREFIX/user.reg" 2>/dev/null; then
    local settings='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
    timeout 60 wine reg add "$settings" /v ProxyEnable /t REG_DWORD /d 1 /f >/dev/null 2>&1
    timeout 60 wine reg add "$settings" /v ProxyServer /t REG_SZ /d 127.0.0.1:9 /f >/dev/null 2>&1
  fi
  # Fails harmlessly when the prefix's server runs already (a copy of the
  # program started by an earlier "run", say).
  wineserver -p 2>/dev/null || true
  # Warm up before CTest starts anything, so no Wine helper inherits its pipes.
  timeout 120 wine cmd /c exit >/dev/null 2>&1
}

cleanup() {
  # The test run's prefix is its own; a "run" leaves a running program alone.
  if [ "${kill_wine_on_exit:-}" = yes ] && [ -n "${WINEPREFIX:-}" ]; then wineserver -k >/dev/null 2>&1 || true; fi
  if [ -n "$xvfb_pid" ]; then kill "$xvfb_pid" 2>/dev/null || true; fi
}
trap cleanup EXIT

build() {
  log "configure and build: $1"
  # The compiler cache serves every clone of the tree on this machine alike:
  # paths below the tree are taken as relative.
  if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$root"
  fi
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}

run_tests() {
  local jobs
  jobs=$(nproc)
  build native
  log "unit tests"
  ctest --test-dir build/native --no-tests=error --output-on-failure -j "$jobs"
  build native-asan
  log "unit tests under AddressSanitizer and UBSan"
  ctest --test-dir build/native-asan --no-tests=error --output-on-failure -j "$jobs"
  build fuzz
  log "fuzzing"
  ctest --test-dir build/fuzz --no-tests=error --output-on-failure -j "$jobs"
  build mingw
  start_xvfb
  rm -rf build/mingw/wine-prefix
  kill_wine_on_exit=yes
  start_wine "$root/build/mingw/wine-prefix" desktop
  log "Windows and end-to-end tests under Wine"
  ctest --test-dir build/mingw --no-tests=error --output-on-failure --timeout 300 -LE "$special_labels"
  local label
  for label in ${special_labels//|/ }; do
    # Only where tests of that kind exist.
    ctest --test-dir build/mingw -N -L "^$label\$" | grep -q 'Total Tests: [1-9]' || continue
    start_special_prefix "$label"
    log "tests in a prefix of their own: $label"
    ctest --test-dir build/mingw --no-tests=error --output-on-failure --timeout 300 -L "^$label\$"
    wineserver -k >/dev/null 2>&1 || true
  done
}

# Tests that need a Windows of another kind carry one of these labels and run
# in a copy of the test prefix made for them:
#   dpi144   the display at 144 dpi (150 % scaling)
#   winxp    Wine reporting Windows XP
#   session  a prefix whose Windows session a test may end
#   installer  a user profile the installer may change (programs folder,
#              Start menu, uninstall entry, start-with-Windows entry)
special_labels="dpi144|winxp|session|installer"

start_special_prefix() {
  local label=$1 base="$root/build/mingw/wine-prefix" prefix="$root/build/mingw/wine-prefix-$1"
  # A copy of the settled test prefix is quicker than a new one.
  WINEPREFIX="$base" wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX="$base" timeout 60 wineserver -w || true
  rm -rf "$prefix"
  cp -a "$base" "$prefix"
  export WINEPREFIX="$prefix"
  case $label in
    dpi144)
      timeout 60 wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
      timeout 60 wine reg add 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
      ;;
    winxp)
      # A 64-bit prefix knows Windows XP only as its x64 edition (5.2);
      # "winxp" would leave the version as it was, and say nothing.
      timeout 60 winecfg -v winxp64 >/dev/null 2>&1
      ;;
    installer)
      # Shortcuts stay in the prefix: Wine copies none into this machine's menus.
      timeout 60 wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /t REG_SZ /d '' /f >/dev/null 2>&1
      ;;
  esac
  # The settings take effect with a new server and desktop.
  wineserver -k >/dev/null 2>&1 || true
  timeout 60 wineserver -w || true
  start_wine "$prefix" desktop
}

run_program() {
  cmake --preset mingw >/dev/null
  cmake --build --preset mingw --target corvello
  local desktop=""
  if [ -z "${DISPLAY:-}" ]; then
    start_xvfb
    desktop=desktop
    echo "No DISPLAY: Corvello runs on a private Xvfb display ($DISPLAY); take a look with: xwd -root -display $DISPLAY"
  fi
  start_wine "${CORVELLO_WINEPREFIX:-$HOME/.local/share/corvello/wine-prefix}" $desktop
  log "starting build/mingw/bin/corvello.exe $* (a running copy ends with: scripts/corvello.sh run stop)"
  wine build/mingw/bin/corvello.exe "$@"
}

# The benchmark runs in a prefix of its own, kept between runs, so that a test
# run of this tree cannot share its server or its programs.
run_bench() {
  build mingw
  start_xvfb
  kill_wine_on_exit=yes
  local prefix="$root/build/mingw/wine-prefix-bench"
  start_wine "$prefix" desktop
  log "benchmark under Wine (about seven minutes)"
  local out
  out=$(mktemp)
  wine build/mingw/bin/corvello_bench.exe "${1:-20}" idle >"$out" &
  local bench=$!
  # Wake-ups over the quiet minute: the voluntary context switches of every
  # thread of each program's Wine process, from Linux's own counters.
  local minimal='corvello_minimal\.exe' corvello='[\\/]corvello\.exe'
  until grep -q IDLE-START "$out" || ! kill -0 "$bench" 2>/dev/null; do sleep 0.2; done
  local m_switches m_ticks c_switches c_ticks
  read -r m_switches m_ticks < <(process_counters "$prefix" "$minimal")
  read -r c_switches c_ticks < <(process_counters "$prefix" "$corvello")
  until grep -q IDLE-END "$out" || ! kill -0 "$bench" 2>/dev/null; do sleep 0.2; done
  local m2 mt2 c2 ct2
  read -r m2 mt2 < <(process_counters "$prefix" "$minimal")
  read -r c2 ct2 < <(process_counters "$prefix" "$corvello")
  # And over a minute with an action set for later in the program.
  until grep -q WAITING-START "$out" || ! kill -0 "$bench" 2>/dev/null; do sleep 0.2; done
  local m3 mt3 c3 ct3 m4 mt4 c4 ct4
  read -r m3 mt3 < <(process_counters "$prefix" "$minimal")
  read -r c3 ct3 < <(process_counters "$prefix" "$corvello")
  until grep -q WAITING-END "$out" || ! kill -0 "$bench" 2>/dev/null; do sleep 0.2; done
  read -r m4 mt4 < <(process_counters "$prefix" "$minimal")
  read -r c4 ct4 < <(process_counters "$prefix" "$corvello")
  wait "$bench" || true
  grep -v -E '^(IDLE|WAITING)-(START|END)$' "$out"
  rm -f "$out"
  local hz
  hz=$(getconf CLK_TCK)
  awk -v m=$((m2 - m_switches)) -v c=$((c2 - c_switches)) -v mt=$((mt2 - m_ticks)) -v ct=$((ct2 - c_ticks)) -v hz="$hz" 'BEGIN {
    printf "| %-62s | %-14s | %9.1f /s | %9.1f /s | %7s | %12s | %11s | %-25s |\n", "wake-ups over 60 s in the tray, window hidden", "minimal",
      m / 60, c / 60, (m > 0 ? sprintf("%.2f x", c / m) : ""), "", "", ""
    printf "| %-62s | %-14s | %9.0f ms | %9.0f ms | %7s | %12s | %11s | %-25s |\n", "CPU time over 60 s in the tray, window hidden", "minimal",
      mt * 1000 / hz, ct * 1000 / hz, (mt > 0 ? sprintf("%.2f x", ct / mt) : ""), "", "", ""
  }'
  awk -v m=$((m4 - m3)) -v c=$((c4 - c3)) 'BEGIN {
    printf "| %-62s | %-14s | %9.1f /s | %9.1f /s | %7s | %12s | %11s | %-25s |\n", "wake-ups over 60 s in the tray, an action set for 2 h on", "minimal",
      m / 60, c / 60, "", "", "", ""
  }'
}

# Wake-ups (the voluntary context switches: a thread that slept and was woken;
# the others are preemptions while it ran) and CPU ticks (user and system) of
# all threads of the Wine processes of one prefix whose command line matches
# the pattern. A copy of the program in another prefix (another test run, an
# installed one) is not counted: a Wine process keeps the WINEPREFIX it was
# started with in its environment, and its children inherit it.
process_counters() {
  local prefix=$1 switches=0 ticks=0 pid value
  for pid in $(pgrep -f "$2"); do
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qxF "WINEPREFIX=$prefix" || continue
    for value in $(cat /proc/"$pid"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ {print $2}'); do
      switches=$((switches + value))
    done
    value=$(awk '{print $14 + $15}' /proc/"$pid"/stat 2>/dev/null || echo 0)
    ticks=$((ticks + value))
  done
  echo "$switches $ticks"
}

# A developer's quick look: builds the Windows side and runs the Windows tests
# whose names match the pattern, in the test prefix (kept between runs), or
# with a label in that label's prefix.
run_check() {
  local pattern=$1 label=${2:-}
  build mingw
  start_xvfb
  kill_wine_on_exit=yes
  if [ -n "$label" ]; then
    [ -f "$root/build/mingw/wine-prefix/system.reg" ] || start_wine "$root/build/mingw/wine-prefix" desktop
    start_special_prefix "$label"
    ctest --test-dir build/mingw --no-tests=error --output-on-failure --timeout 300 -L "^$label\$" -R "$pattern"
  else
    start_wine "$root/build/mingw/wine-prefix" desktop
    ctest --test-dir build/mingw --no-tests=error --output-on-failure --timeout 300 -LE "$special_labels" -R "$pattern" ${CHECK_REPEAT:+--repeat until-fail:$CHECK_REPEAT}
  fi
}

case "${1:-}" in
  check)
    install_missing
    run_check "${2:-.}" "${3:-}"
    ;;
  test)
    install_missing
    run_tests
    ;;
  run)
    shift
    install_missing
    run_program "$@"
    ;;
  bench)
    install_missing
    run_bench "${2:-20}"
    ;;
  *)
    echo "usage: $0 run [arguments for corvello.exe] | test | bench [runs] | check [test-name-regex [label]]" >&2
    exit 2
    ;;
esac
