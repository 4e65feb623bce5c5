# Shared set-up of ./run.sh and ./test.sh: packages, builds, Wine prefix, display.
# Sourced, not run; expects ROOT to be the repository root.

BUILD="$ROOT/build"
WIN32_BUILD="$BUILD/win32"

PACKAGES=(
  wine wine32:i386 xvfb xauth x11-utils xdotool xclip openbox imagemagick fonts-nanum
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 cmake make g++ googletest
  libgtest-dev libbenchmark-dev clang-14 libclang-rt-14-dev
)

# Every Wine command of the project uses the project's own prefix; without these
# a bare `wine` would silently create ~/.wine.
export WINEPREFIX="$BUILD/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

log() { printf '==> %s\n' "$*" >&2; }

package_installed() {
  [ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null)" = "install ok installed" ]
}

ensure_packages() {  # further packages that only this command needs...
  local missing=() p
  for p in "${PACKAGES[@]}" "$@"; do
    package_installed "$p" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local cmd="dpkg --add-architecture i386 && apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them as root, then run this command again:" >&2
    echo "  sudo sh -c '$cmd'" >&2
    exit 1
  fi
  log "installing ${missing[*]}"
  sh -c "$cmd" >"$BUILD/apt.log" 2>&1 || { tail -20 "$BUILD/apt.log" >&2; echo "apt-get failed; see $BUILD/apt.log" >&2; exit 1; }
}

configure_and_build() {  # dir, extra cmake args...
  local dir="$1"; shift
  cmake -S "$ROOT" -B "$dir" "$@" >"$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log" >&2; return 1; }
  cmake --build "$dir" -j"$(nproc)" >"$dir.build.log" 2>&1 \
    || { grep -E 'error|Error' "$dir.build.log" | head -40 >&2; echo "build failed; see $dir.build.log" >&2; return 1; }
}

build_windows() {
  log "building the Windows program"
  configure_and_build "$WIN32_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release
}

# A private virtual display with a window manager: without one, keyboard input
# reaches a window only under the pointer and every hide blocks for seconds.
start_private_display() {
  local n
  for n in $(seq 90 130); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  XVFB_PID=$!
  export DISPLAY=":$n"
  local i
  for i in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done
  openbox --sm-disable >/dev/null 2>&1 &
  OPENBOX_PID=$!
  sleep 0.3
}

stop_private_display() {
  [ -n "${OPENBOX_PID:-}" ] && kill "$OPENBOX_PID" 2>/dev/null
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  OPENBOX_PID= XVFB_PID=
}

# Korean text needs a face for "맑은 고딕" and its kin; Linux has NanumGothic.
write_font_replacements() {
  local faces=("맑은 고딕" "Malgun Gothic" "굴림" "Gulim" "돋움" "Dotum" "MS Shell Dlg" "MS Shell Dlg 2")
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    local f
    for f in "${faces[@]}"; do printf '"%s"="NanumGothic"\r\n' "$f"; done
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$1"
}

# Starts the Wine server and desktop process with their streams detached, so that
# CTest does not wait for them, and keeps the desktop (and the clipboard) alive.
start_wine() {
  export TMPDIR="$BUILD/tmp"
  mkdir -p "$WINEPREFIX" "$TMPDIR"
  wineserver -p </dev/null >/dev/null 2>&1
  wineboot -i </dev/null >/dev/null 2>&1
  if [ ! -e "$WINEPREFIX/.fonts-mapped" ]; then
    write_font_replacements "$BUILD/fonts.reg"
    wine regedit /S "$(winepath -w "$BUILD/fonts.reg")" </dev/null >/dev/null 2>&1
    touch "$WINEPREFIX/.fonts-mapped"
  fi
  if [ -e "$WIN32_BUILD/keep_desktop.exe" ]; then
    setsid wine "$WIN32_BUILD/keep_desktop.exe" </dev/null >/dev/null 2>&1 &
  fi
}

stop_wine() {
  wineserver -k </dev/null >/dev/null 2>&1
  wineserver -w </dev/null >/dev/null 2>&1 || true
}
