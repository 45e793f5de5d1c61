# Shared by scripts/test and scripts/run: build directories, Wine and a private X display.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${TUMBLECAT_BUILD:-$ROOT/build}
WINE64=/usr/lib/wine/wine64
JOBS=${TUMBLECAT_JOBS:-2}

export WINEPREFIX=${WINEPREFIX:-$BUILD/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko prompts when the prefix is created.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
# The Japanese locale gives Wine code page 932.
export LC_ALL=ja_JP.UTF-8

configure_and_build() {  # dir, extra cmake args...
  local dir=$1
  shift
  cmake -S "$ROOT" -B "$BUILD/$dir" -G Ninja "$@" >/dev/null &&
    cmake --build "$BUILD/$dir" -j "$JOBS"
}

# The libFuzzer targets, with the sanitizers of the fuzz build (clang only).
build_fuzzers() {
  CC=clang CXX=clang++ configure_and_build fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTUMBLECAT_FUZZ=ON
}

build_windows_x64() {
  configure_and_build mingw64 -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DTUMBLECAT_E2E=ON
}

XVFB_PID=
start_private_display() {  # starts Xvfb on a free display number and exports DISPLAY
  local n=90
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  # -noreset: the server keeps its state (the desktop colour) between clients.
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start" >&2
  return 1
}

stop_private_display() {
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=
  fi
}

prepare_wine() {
  mkdir -p "$WINEPREFIX"
  "$WINE64" wineboot -i >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
  map_japanese_fonts
}

# The program asks for the Windows faces "ＭＳ ゴシック" and "ＭＳ Ｐゴシック"; in the prefix
# they stand for the IPA fonts that the setup installs. "MS UI Gothic" is the face Wine links
# to the menu and dialog font for the glyphs it lacks, which matters under a Western locale.
# regedit reads UTF-16 files.
map_japanese_fonts() {
  local reg="$WINEPREFIX/tumblecat-fonts.reg"
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"ＭＳ ゴシック"="IPAGothic"' '"ＭＳ Ｐゴシック"="IPAPGothic"' \
    '"MS Gothic"="IPAGothic"' '"MS PGothic"="IPAPGothic"' '"MS UI Gothic"="IPAPGothic"' '' |
    iconv -f UTF-8 -t UTF-16 >"$reg"
  "$WINE64" regedit /S "$reg" >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
}

stop_wine() { wineserver -k 2>/dev/null || true; }

# Lays out a runnable base directory: the program, its skins, sets and texts.
lay_out_dist() {  # dist dir
  local dist=$1
  rm -rf "$dist"
  mkdir -p "$dist/skin" "$dist/dropling"
  cp "$BUILD/mingw64/tumblecat.exe" "$BUILD/mingw64/dropling.exe" "$dist/"
  # Our archiver libraries, beside the program, under the names it loads.
  cp "$BUILD/mingw64/UNLHA32.DLL" "$BUILD/mingw64/UNZIP32.DLL" "$dist/"
  cp -r "$ROOT/data/skin/whiskerby" "$dist/skin/"
  cp -r "$ROOT"/data/dropling/* "$dist/dropling/"
  cp "$ROOT/data/speak.txt" "$ROOT/data/readme.txt" "$dist/"
}

# The Linux-side SSTP client the end-to-end suite hands TCP jobs to (through a folder); the
# suite finds the folder in TUMBLECAT_E2E_LINUX_CLIENT.
LINUX_CLIENT_PID=
start_linux_tcp_client() {  # folder
  rm -rf "$1" && mkdir -p "$1"
  python3 "$ROOT/tests/e2e/linux_tcp_client.py" "$1" 3600 &
  LINUX_CLIENT_PID=$!
  export TUMBLECAT_E2E_LINUX_CLIENT="Z:${1//\//\\}"
}

stop_linux_tcp_client() {
  if [ -n "$LINUX_CLIENT_PID" ]; then
    kill "$LINUX_CLIENT_PID" 2>/dev/null || true
    wait "$LINUX_CLIENT_PID" 2>/dev/null || true
    LINUX_CLIENT_PID=
  fi
}
