#!/usr/bin/env bash
# Checks of the built program: what Windows reads from the file before any of
# our code runs, and, given a planted DLL, which DLLs it lets run inside it.
# Prints one line per failed check; exits 1 if any failed.
# Usage: check_executable.sh Pulmetra.exe [objdump] [windres] [source tree] [build tree] [version] [planted DLL]
set -u

exe=${1:?usage: check_executable.sh Pulmetra.exe [objdump] [windres] [source tree] [build tree] [version] [planted DLL]}
objdump=${2:-i686-w64-mingw32-objdump}
windres=${3:-i686-w64-mingw32-windres}
source_tree=${4:-}
build_tree=${5:-}
# The version the form's title must show; the file's version block adds a fourth part, the build.
program_version=${6:-}
# A DLL whose DllMain writes PLANTED_MARK to standard error; the program runs
# under Wine with it beside it (needs the display and the prefix of ./test.sh).
planted_dll=${7:-}
PLANTED_MARK="PLANTED DLL RAN"
file_version=$program_version.1
form_title="Pulmetra 계산기 (v$program_version)"

failed=0
checks=0
check() {  # description, then a command that succeeds when the check holds
  local what=$1; shift
  checks=$((checks + 1))
  if ! "$@"; then
    echo "FAILED: $what"
    failed=$((failed + 1))
  fi
}
contains() { grep -qF -- "$2" <<<"$1"; }
lacks() { ! grep -qiF -- "$2" <<<"$1"; }
equals() { [ "$1" = "$2" ]; }

# A text as `windres -i` writes it in a wide string: ASCII as is, every other
# character as \x and four lower-case hex digits.
rc_text() {
  local hex out="" i unit
  hex=$(printf '%s' "$1" | iconv -f UTF-8 -t UTF-16BE | od -An -tx1 -v | tr -d ' \n')
  for ((i = 0; i < ${#hex}; i += 4)); do
    unit=${hex:i:4}
    if ((16#$unit < 128)); then
      out+=$(printf "\\x${unit:2:2}")
    else
      out+="\\x$unit"
    fi
  done
  printf '%s' "$out"
}

headers=$("$objdump" -p "$exe" 2>&1) || { echo "FAILED: $objdump cannot read $exe"; exit 1; }
header_field() { awk -v name="$1" '$1 == name { print $2; exit }' <<<"$headers"; }

# --- PE header ---------------------------------------------------------------
check "a 32-bit x86 image (pei-i386)" contains "$headers" "file format pei-i386"
check "a PE32 optional header (magic 010b)" equals "$(header_field Magic)" "010b"
check "GUI subsystem (2)" equals "$(header_field Subsystem)" "00000002"
check "subsystem version 6.0" equals "$(header_field MajorSubsystemVersion).$(header_field MinorSubsystemVersion)" "6.0"
characteristics=$(header_field Characteristics)
check "an executable, not a DLL" test $((characteristics & 0x2000)) -eq 0
# What security reviews look for: a random load address, which needs the
# relocations kept; no code run from data; aware of remote desktop servers.
dll_characteristics=0x$(header_field DllCharacteristics)
for flag in "0x0040 DYNAMIC_BASE" "0x0100 NX_COMPAT" "0x8000 TERMINAL_SERVER_AWARE"; do
  check "the header is marked ${flag#* } (has $dll_characteristics)" test $((dll_characteristics & ${flag%% *})) -ne 0
done
check "relocations not stripped (Characteristics $characteristics)" test $((characteristics & 0x0001)) -eq 0
relocations=$(awk '$1 == "Entry" && $2 == "5" { print $4; exit }' <<<"$headers")
check "a base relocation table (size ${relocations:-none})" test $((16#${relocations:-0})) -gt 0

# --- the same bytes from the same sources ------------------------------------
lfanew=$(od -An -tu4 -j60 -N4 "$exe" | tr -d ' ')
check "no link time in the PE header (TimeDateStamp 0)" \
  equals "$(od -An -tu4 -j$((lfanew + 8)) -N4 "$exe" | tr -d ' ')" 0
for tree in "$source_tree" "$build_tree"; do
  [ -n "$tree" ] && check "no path of the tree it was built in ($tree)" bash -c '! grep -qaF -- "$1" "$2"' _ "$tree" "$exe"
done

# --- imports: only Windows' KnownDLLs ------------------------------------------
# Windows takes these from the system folder whatever lies beside the program
# (the list of Windows 7 to 11); any other imported DLL is looked for in the
# program's folder first, before any of its code runs.
KNOWN_DLLS=" KERNEL32.DLL USER32.DLL GDI32.DLL IMM32.DLL OLEAUT32.DLL OLE32.DLL MSVCRT.DLL ADVAPI32.DLL SHELL32.DLL COMDLG32.DLL SHLWAPI.DLL "
mapfile -t dlls < <(awk '/DLL Name:/ { print toupper($3) }' <<<"$headers")
check "imports at least KERNEL32 and USER32" \
  bash -c '[[ " $* " == *" KERNEL32.DLL "* && " $* " == *" USER32.DLL "* ]]' _ "${dlls[@]}"
for dll in "${dlls[@]}"; do
  check "imports $dll, which is not one of Windows' KnownDLLs (load it from the system folder, or link statically)" \
    bash -c '[[ "$1" == *" $2 "* ]]' _ "$KNOWN_DLLS" "$dll"
done

# The reader's guide promises that the program opens no file, writes no setting
# and has no network access: nothing it imports could.
functions=$(sed -n '/The Import Tables/,/The Export\|The Resource/p' <<<"$headers" | awk 'NF >= 3 && $1 ~ /^[0-9a-f]+$/ { print $3 }')
# The stack protector's report of a smashed stack (libssp) brings _open, for
# the console "CONOUT$", which a program without a console does not have.
forbidden=$(grep -E '^(CreateFile|OpenFile|_?w?fopen|_w?open|_w?sopen|Reg(Create|Set)|WSA|socket|connect|Internet|WinHttp|URLDownload)' <<<"$functions" |
  grep -vx '_open' | tr '\n' ' ')
check "the import table names the functions it calls" test -n "$functions"
check "imports nothing that opens files, writes settings or reaches the network (has: ${forbidden:-none})" \
  test -z "$forbidden"

# --- resources ----------------------------------------------------------------
rc=$(mktemp)
trap 'rm -f "$rc"' EXIT
if ! "$windres" -J coff -O rc -i "$exe" -o "$rc" 2>/dev/null; then
  echo "FAILED: $windres cannot read the resources of $exe"
  exit 1
fi

# Every resource as "type name language", e.g. "DIALOG 102 18,1".
resources=$(awk '
  /^LANGUAGE / { lang = $2 $3; next }
  /^\/\*/ || /^[ \t]/ { next }
  $2 == "DIALOGEX" || $2 == "DIALOG" { print "DIALOG", $1, lang; next }
  $2 == "VERSIONINFO" { print "VERSION", $1, lang; next }
  $1 == "STRINGTABLE" { print "STRING", "table", lang; next }
  $3 == "/*" && $2 ~ /^[0-9]+$/ { print $2, $1, lang }
' "$rc")
has_resource() { grep -qx -- "$1 $2 $3" <<<"$resources"; }
KOREAN="18,1"
US_ENGLISH="9,1"

# The lines of one resource's statement, from its header to its END.
resource_body() {  # header regex
  awk -v header="$1" '
    $0 ~ header { inside = 1 }
    inside { print }
    inside && /^END/ { exit }
  ' "$rc"
}

for dialog in 100 102 132; do
  check "dialog $dialog, Korean" has_resource DIALOG "$dialog" "$KOREAN"
done
check "dialog 102 titled \"$form_title\"" \
  contains "$(resource_body '^102 DIALOGEX')" "CAPTION L\"$(rc_text "$form_title")\""
check "dialog 100 titled \"Pulmetra 정보\"" \
  contains "$(resource_body '^100 DIALOGEX')" "CAPTION L\"$(rc_text 'Pulmetra 정보')\""
check "dialog 132 titled \"판독문\"" \
  contains "$(resource_body '^132 DIALOGEX')" "CAPTION L\"$(rc_text '판독문')\""
check "the findings form in \"맑은 고딕\"" \
  contains "$(resource_body '^102 DIALOGEX')" "FONT 10, L\"$(rc_text '맑은 고딕')\", 400, 0, 0"

check "a Korean string table" has_resource STRING table "$KOREAN"
check "string 101 is \"Pulmetra 정보(&A)...\"" \
  contains "$(resource_body '^STRINGTABLE')" "101, L\"$(rc_text 'Pulmetra 정보(&A)...')\""

check "icon group 128, Korean" has_resource 14 128 "$KOREAN"
# Each element line: "width height colors pad", planes, bits, bytes, index.
icon_sizes=$(resource_body '^128 14 ' | awk -F'"' '$2 ~ /^\\[0-7][0-7][0-7]/ {
    split($3, rest, ","); sub(/^[ \t]+/, "", rest[3])
    printf "%d/%s ", substr($2, 2, 1) * 64 + substr($2, 3, 1) * 8 + substr($2, 4, 1), rest[3] }')
check "icon 128 has 16, 24, 32 and 48 pixel images at 32 bits (has: ${icon_sizes:-none})" \
  equals "$icon_sizes" "16/32 24/32 32/32 48/32 "

check "bitmap 134, Korean" has_resource 2 134 "$KOREAN"
# The bitmap starts with its BITMAPINFOHEADER: size, width, height, planes | bits << 16.
bitmap_header=$(resource_body '^134 2 ' | awk 'NR == 3 { gsub(/[ L]/, ""); split($0, v, ","); print v[2], v[3], v[4] }')
check "bitmap 134 is 240 x 49 at 24 bits (has: $bitmap_header)" equals "$bitmap_header" "0xf0 0x31 0x180001"

check "combo-box data (type 240) for dialog 102, Korean" has_resource 240 102 "$KOREAN"

check "manifest 1, US English (0x0409)" has_resource 24 1 "$US_ENGLISH"
manifest=$(resource_body '^1 24 ')
check "manifest asks for asInvoker" contains "$manifest" 'level=""asInvoker""'
check "manifest asks for no UI access" contains "$manifest" 'uiAccess=""false""'
check "manifest declares the program DPI-aware" grep -qE '<dpiAware[^>]*>true</dpiAware>' <<<"$manifest"
check "manifest depends on no common-controls version" lacks "$manifest" "Microsoft.Windows.Common-Controls"
check "manifest declares no dependency" lacks "$manifest" "<dependency"

check "version block 1, Korean" has_resource VERSION 1 "$KOREAN"
version=$(resource_body '^1 VERSIONINFO')
check "file version $file_version" contains "$version" "FILEVERSION ${file_version//./, }"
check "product version $file_version" contains "$version" "PRODUCTVERSION ${file_version//./, }"
check "file type application" contains "$version" "FILETYPE 0x1"
check "strings for Korean, Unicode (041204b0)" contains "$version" 'BLOCK "041204b0"'
for value in 'FileDescription", "Pulmetra' "FileVersion\", \"$file_version" 'InternalName", "Pulmetra.exe' \
             'OriginalFilename", "Pulmetra.exe' 'ProductName", "Pulmetra' "ProductVersion\", \"$file_version"; do
  check "version string \"$value\"" contains "$version" "VALUE \"$value\""
done
check "translation 0x412, 1200" contains "$version" 'VALUE "Translation", 0x412, 1200'

# Everything but the manifest is Korean.
while read -r type name lang; do
  [ "$type" = 24 ] && continue
  check "resource $type $name is Korean (is $lang)" equals "$lang" "$KOREAN"
done <<<"$resources"

# --- the messages that the reader's guide quotes -----------------------------
# Each message of its tables (every table headed "메시지") stands in the program
# as UTF-16 text; the numbers that the program fills in (N, 0, 100) are left out
# of the comparison.
guide="$source_tree/docs/guide.md"
if [ -n "$source_tree" ]; then
  exe_hex=$(od -An -tx1 -v "$exe" | tr -d ' \n')
  messages=$(awk -F' [|] ' '/^[|] 메시지 [|]/ { inside = 1; next } inside && !/^[|]/ { inside = 0 }
                           inside && !/^[|]-/ { sub(/^[|] /, "", $1); print $1 }' "$guide")
  check "the guide lists the messages" test -n "$messages"
  while IFS= read -r message; do
    while IFS= read -r part; do
      [ -z "$part" ] && continue
      part_hex=$(printf '%s' "$part" | iconv -f UTF-8 -t UTF-16LE | od -An -tx1 -v | tr -d ' \n')
      check "the guide's message \"$message\" is the program's" contains "$exe_hex" "$part_hex"
    done < <(sed -E 's/[0-9N]+/\n/g' <<<"$message")
  done <<<"$messages"
fi

# --- a DLL planted beside the program never runs --------------------------------
# comctl32.dll is no KnownDLL. Wine told to prefer native DLLs searches for it as
# Windows does, so a copy of the program with the planted DLL beside it shows
# whether the program ever looks in its own folder.
if [ -n "$planted_dll" ]; then
  folder=$(mktemp -d)
  trap 'rm -f "$rc"; rm -rf "$folder"' EXIT
  cp "$exe" "$folder/Pulmetra.exe"
  cp "$planted_dll" "$folder/comctl32.dll"
  # A program that fails to start gets no debugger, which would stay behind on the display.
  WINEDLLOVERRIDES="${WINEDLLOVERRIDES:+$WINEDLLOVERRIDES;}comctl32=n,b;winedbg.exe=d" \
    wine "$folder/Pulmetra.exe" </dev/null >/dev/null 2>"$folder/stderr" &
  program=$!
  title=""
  for _ in $(seq 100); do
    window=$(xdotool search --onlyvisible --pid "$program" 2>/dev/null | head -1)
    [ -n "$window" ] && title=$(xdotool getwindowname "$window") && break
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
  done
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
  check "with a comctl32.dll planted beside it, the form opens (saw: \"${title:-no window}\")" equals "$title" "$form_title"
  check "the planted comctl32.dll never ran inside the program" lacks "$(cat "$folder/stderr")" "$PLANTED_MARK"
fi

if ((failed > 0)); then
  echo "$failed of $checks checks of $exe failed"
  exit 1
fi
echo "all $checks checks of $exe passed"
