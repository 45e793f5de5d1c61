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
NESTED_PID=

free_display_number() {  # the first display number from $1 on without a server
  local n=$1
  while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
  echo "$n"
}

wait_for_display() {
  for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "the X server on $DISPLAY did not start" >&2
  return 1
}

start_private_display() {  # starts Xvfb on a free display number and exports DISPLAY
  local n
  n=$(free_display_number 90)
  # -noreset: the server keeps its state (the desktop colour) between clients.
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  wait_for_display || return 1
  # A second resolution the display settings can switch to, as on a real monitor.
  xrandr --newmode 800x600 40 800 840 968 1056 600 601 605 628 >/dev/null 2>&1 &&
    xrandr --addmode screen 800x600 >/dev/null 2>&1 || echo "no 800x600 mode on $DISPLAY" >&2
}

# A display of two monitors as Wine sees them: a nested X server with two screens joined by
# Xinerama, the primary one 1024x768 and a second one 800x600 left of it and 100 pixels
# lower, so that the second has negative coordinates and another bottom line. Wine takes
# the layout from Xinerama once its own use of RandR is off (see prepare_two_monitor_wine).
start_two_monitor_display() {
  start_private_display || return 1
  local n
  n=$(free_display_number $((${DISPLAY#:} + 1)))
  Xephyr ":$n" -origin 800,0 -screen 1024x768 -origin 0,100 -screen 800x600 +xinerama \
    -nolisten tcp -noreset >/dev/null 2>&1 &
  NESTED_PID=$!
  export DISPLAY=":$n"
  wait_for_display
}

stop_private_display() {
  local pid
  for pid in "$NESTED_PID" "$XVFB_PID"; do
    [ -n "$pid" ] || continue
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  NESTED_PID=
  XVFB_PID=
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

# Wine asks RandR for the monitors first, which a nested server answers with one; without
# RandR it reads Xinerama's screens.
prepare_two_monitor_wine() {
  prepare_wine
  "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /t REG_SZ /d N /f >/dev/null 2>&1 || true
  wineserver -w 2>/dev/null || true
}

stop_wine() { wineserver -k 2>/dev/null || true; }

# The product's version: the one in the project() line of CMakeLists.txt.
project_version() {
  sed -nE 's/^project\(tumblecat VERSION ([0-9]+\.[0-9]+\.[0-9]+).*/\1/p' "$ROOT/CMakeLists.txt"
}

# Lays out a runnable base directory: the program, its skins, sets and texts.
lay_out_dist() {  # dist dir, build dir (default: the x86_64 build)
  local dist=$1 built=${2:-$BUILD/mingw64} version
  version=$(project_version)
  rm -rf "$dist"
  mkdir -p "$dist/skin" "$dist/dropling"
  cp "$built/tumblecat.exe" "$built/dropling.exe" "$dist/"
  # Our archiver libraries, beside the program, under the names it loads.
  cp "$built/UNLHA32.DLL" "$built/UNZIP32.DLL" "$dist/"
  cp -r "$ROOT/data/skin/whiskerby" "$dist/skin/"
  cp -r "$ROOT"/data/dropling/* "$dist/dropling/"
  cp "$ROOT/data/speak.txt" "$dist/"
  # The readmes' first line is the version (the about dialog and GetVersion show readme.txt's).
  { printf 'tumblecat %s\r\n\r\n' "$version"; cat "$ROOT/data/readme.txt"; } >"$dist/readme.txt"
  { printf 'tumblecat %s\r\n\r\n' "$version"; cat "$ROOT/data/README-en.txt"; } >"$dist/README-en.txt"
}

# The licence texts of everything linked into the binaries, from the packages that built
# them, with CR LF line ends: libpng and libarchive from their source packages' upstream
# archives (scripts/setup keeps them), zlib, the MinGW-w64 runtime with winpthreads, and
# GCC's libgcc and libstdc++ (GPL 3 with the runtime library exception) from the
# copyright files of the installed Debian packages.
lay_out_licenses() {  # folder
  local out=$1 src=${TUMBLECAT_DEPS:-/opt/tumblecat-deps}/src doc=/usr/share/doc
  # shellcheck source=deps/versions
  source "$ROOT/scripts/deps/versions"
  local png=${LIBPNG_VERSION%%-*} arc=${LIBARCHIVE_VERSION%%-*}
  mkdir -p "$out"
  crlf() { sed 's/\r$//; s/$/\r/'; }
  tar -xzOf "$src/$LIBPNG_PACKAGE-$LIBPNG_VERSION/${LIBPNG_PACKAGE}_$png.orig.tar.gz" "libpng-$png/LICENSE" |
    crlf >"$out/libpng.txt"
  tar -xJOf "$src/$LIBARCHIVE_PACKAGE-$LIBARCHIVE_VERSION/${LIBARCHIVE_PACKAGE}_$arc.orig.tar.xz" \
    "libarchive-$arc/COPYING" | crlf >"$out/libarchive.txt"
  crlf <"$doc/libz-mingw-w64-dev/copyright" >"$out/zlib.txt"
  crlf <"$doc/mingw-w64-common/copyright" >"$out/mingw-w64-runtime.txt"
  crlf <"$doc/gcc-mingw-w64-base/copyright" >"$out/gcc-runtime-libraries.txt"
  crlf </usr/share/common-licenses/GPL-3 >"$out/GPL-3.txt"
  {
    echo "The binaries of tumblecat link these libraries statically; their licences are here."
    echo
    echo "libpng.txt                  libpng $LIBPNG_VERSION (Debian source package $LIBPNG_PACKAGE)"
    echo "libarchive.txt              libarchive $LIBARCHIVE_VERSION (Debian source package $LIBARCHIVE_PACKAGE),"
    echo "                            in UNLHA32.DLL and UNZIP32.DLL"
    echo "zlib.txt                    zlib $(dpkg-query -W -f '${Version}' libz-mingw-w64-dev) (Debian package libz-mingw-w64-dev)"
    echo "mingw-w64-runtime.txt       the MinGW-w64 C runtime start-up and winpthreads"
    echo "                            $(dpkg-query -W -f '${Version}' mingw-w64-common) (Debian packages mingw-w64-*-dev)"
    echo "gcc-runtime-libraries.txt   libgcc and libstdc++ of GCC $(dpkg-query -W -f '${Version}' gcc-mingw-w64-base)"
    echo "                            (Debian package gcc-mingw-w64), GPL 3 with the GCC Runtime"
    echo "                            Library Exception"
    echo "GPL-3.txt                   the GNU General Public License, version 3"
  } | crlf >"$out/README.txt"
}

# A release archive: a base directory with the readmes and the licences, zipped in a fixed
# order with fixed times (SOURCE_DATE_EPOCH, else the last commit's time), so that the same
# binaries always give the same bytes.
make_release_archive() {  # build dir, archive path
  local built=$1 archive=$2 stage top
  stage=$(mktemp -d)
  top="$stage/tumblecat-$(project_version)"
  lay_out_dist "$top" "$built"
  lay_out_licenses "$top/licenses"
  python3 "$ROOT/scripts/release-zip.py" "$top" "$archive" \
    "${SOURCE_DATE_EPOCH:-$(git -C "$ROOT" log -1 --format=%ct)}"
  local rc=$?
  rm -rf "$stage"
  return $rc
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
