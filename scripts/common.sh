# Shared set-up of ./run.sh and ./test.sh: packages, builds, Wine prefix, display.
# Sourced, not run; expects ROOT to be the repository root.

BUILD="$ROOT/build"
WIN32_BUILD="$BUILD/win32"

# Fonts: NanumGothic, given Malgun Gothic's measures by python3-fonttools, stands
# in for "맑은 고딕"; NanumGothic itself and Noto Sans CJK KR are the narrow-short
# and the tall stand-ins of the display tests; Liberation Sans has Arial's metrics.
# nabi, an X input method for Hangul, stands in for the Korean IME; xset turns
# on and reads the X server's key repeat, which a held key needs.
PACKAGES=(
  wine wine32:i386 xvfb xauth x11-utils x11-xserver-utils xdotool xclip openbox imagemagick locales nabi
  fonts-nanum fonts-noto-cjk fonts-liberation2 python3-fonttools
  g++-mingw-w64-i686-posix binutils-mingw-w64-i686 cmake make g++ googletest
  libgtest-dev libbenchmark-dev clang-14 libclang-rt-14-dev
)

# Every Wine command of the project uses the project's own prefix; without these
# a bare `wine` would silently create ~/.wine.
export WINEPREFIX="$BUILD/wineprefix"
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine runs as a Korean Windows does: Korean dates in the date picker, 예(Y) and
# 아니요(N) on message boxes. Its Unix side needs a Korean UTF-8 locale too, or
# window titles and command lines lose their Korean; Debian has none unless one
# is generated for the whole system, so one is compiled into the build folder
# (ensure_wine_locale). Every Wine program runs through in_wine_locale, the
# server and the desktop process included, and so does ctest for the Windows
# tree; the shell's own tools keep their locale.
WINE_LOCALE=ko_KR.UTF-8
WINE_LOCALE_DIR="$BUILD/locale"
WINE_LOCALE_ENV=(LOCPATH="$WINE_LOCALE_DIR" LC_ALL="$WINE_LOCALE")
in_wine_locale() { env "${WINE_LOCALE_ENV[@]}" "$@"; }
# Wine's stand-in for "맑은 고딕", made by ensure_test_face; the display tests
# also try the faces that are narrower and shorter, and taller, than the real one.
KOREAN_FACE="Pulmetra Test Gothic"
NARROW_KOREAN_FACE="NanumGothic"
TALL_KOREAN_FACE="Noto Sans CJK KR"
TEST_FACE_DIR="$BUILD/fonts"
NANUM_DIR=/usr/share/fonts/truetype/nanum

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
# Under openbox, which has no task bar, the screen is Windows' work area.
start_private_display() {  # [WIDTHxHEIGHT]
  local size="${1:-1280x1024}" n
  for n in $(seq 90 130); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || break
  done
  Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
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

# A .reg file for regedit: UTF-16LE with a byte-order mark and CRLF line ends.
write_registry_file() {  # file, then "[KEY]" and '"name"=value' lines
  local file="$1" line; shift
  {
    printf 'Windows Registry Editor Version 5.00\r\n'
    for line in "$@"; do
      [ "${line:0:1}" = "[" ] && printf '\r\n'
      printf '%s\r\n' "$line"
    done
  } | iconv -f UTF-8 -t UTF-16LE | { printf '\xff\xfe'; cat; } >"$file"
}

import_registry_file() {
  in_wine_locale wine regedit /S "$(winepath -w "$1")" </dev/null >/dev/null 2>&1
}

# Korean text needs a face for "맑은 고딕" and its kin, which Linux does not have.
font_replacement_lines() {  # face
  local faces=("맑은 고딕" "Malgun Gothic" "굴림" "Gulim" "돋움" "Dotum" "MS Shell Dlg" "MS Shell Dlg 2") f
  printf '%s\n' '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
  for f in "${faces[@]}"; do printf '"%s"="%s"\n' "$f" "$1"; done
}

# The display scale as Windows sets it (96 = 100 %, 120 = 125 %, 144 = 150 %,
# 192 = 200 %) and the face that stands in for "맑은 고딕", kept in the prefix.
# Programs started after the server's restart see them.
set_display_scale() {  # dots per inch, [face]
  local lines
  mapfile -t lines < <(font_replacement_lines "${2:-$KOREAN_FACE}")
  write_registry_file "$BUILD/display-scale.reg" "${lines[@]}" \
    '[HKEY_CURRENT_USER\Control Panel\Desktop]' "\"LogPixels\"=dword:$(printf '%08x' "$1")" \
    '[HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts]' \
    "\"LogPixels\"=dword:$(printf '%08x' "$1")"
  import_registry_file "$BUILD/display-scale.reg"
  stop_wine
}

# NanumGothic with Malgun Gothic's measures, made once into the build folder with
# NanumGothic's licence beside it, and again when the script that makes it changes.
ensure_test_face() {
  local script="$ROOT/scripts/make_test_face.py"
  local stamp="$TEST_FACE_DIR/made-by-$(sha256sum <"$script" | cut -c1-16)"
  [ -e "$stamp" ] && return 0
  log "making the stand-in face for 맑은 고딕"
  local made="$TEST_FACE_DIR.new"
  rm -rf "$made"
  # Debian's fontTools lives with Debian's own interpreter.
  /usr/bin/python3 "$script" "$NANUM_DIR/NanumGothic.ttf" "$NANUM_DIR/NanumGothicBold.ttf" "$made" \
    >"$BUILD/test-face.log" 2>&1 || { cat "$BUILD/test-face.log" >&2; echo "could not make the stand-in face" >&2; return 1; }
  cp /usr/share/doc/fonts-nanum/copyright "$made/LICENSE-NanumGothic.txt"
  touch "${made}/${stamp##*/}"
  rm -rf "$TEST_FACE_DIR"
  mv "$made" "$TEST_FACE_DIR"
}

ensure_wine_locale() {
  [ -e "$WINE_LOCALE_DIR/$WINE_LOCALE/LC_CTYPE" ] && return 0
  mkdir -p "$WINE_LOCALE_DIR"
  localedef -c -i ko_KR -f UTF-8 "$WINE_LOCALE_DIR/$WINE_LOCALE" >"$BUILD/localedef.log" 2>&1
  [ -e "$WINE_LOCALE_DIR/$WINE_LOCALE/LC_CTYPE" ] || { cat "$BUILD/localedef.log" >&2; echo "could not compile the $WINE_LOCALE locale" >&2; return 1; }
}

# Starts the Wine server with its streams detached, so that CTest does not wait
# for it, in Wine's locale; creates the prefix, puts the stand-in face where
# Windows keeps its fonts and maps the Korean faces to it once.
start_wine_server() {
  ensure_wine_locale || exit 1
  ensure_test_face || exit 1
  export TMPDIR="$BUILD/tmp"
  mkdir -p "$WINEPREFIX" "$TMPDIR"
  in_wine_locale wineserver -p </dev/null >/dev/null 2>&1
  in_wine_locale wineboot -i </dev/null >/dev/null 2>&1
  cp -u "$TEST_FACE_DIR"/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  # Without a version-6 manifest Windows draws the program's controls without
  # visual styles; Wine's default theme would draw them themed, and slowly.
  local settings="$KOREAN_FACE, unthemed"
  if [ "$(cat "$WINEPREFIX/.fonts-mapped" 2>/dev/null)" != "$settings" ]; then
    local lines
    mapfile -t lines < <(font_replacement_lines "$KOREAN_FACE")
    write_registry_file "$BUILD/fonts.reg" "${lines[@]}" \
      '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\ThemeManager]' '"ThemeActive"="0"'
    import_registry_file "$BUILD/fonts.reg"
    echo "$settings" >"$WINEPREFIX/.fonts-mapped"
  fi
}

# The server, and the desktop process kept alive (and with it the clipboard).
start_wine() {
  start_wine_server
  if [ -e "$WIN32_BUILD/keep_desktop.exe" ]; then
    setsid env "${WINE_LOCALE_ENV[@]}" wine "$WIN32_BUILD/keep_desktop.exe" </dev/null >/dev/null 2>&1 &
  fi
}

stop_wine() {
  wineserver -k </dev/null >/dev/null 2>&1
  wineserver -w </dev/null >/dev/null 2>&1 || true
}
