#!/usr/bin/env bash
# Builds the release from the committed sources: dist/Pulmetra-<version>.zip with
# Pulmetra.exe, the reader's guide as one HTML page and SHA256SUMS, and beside it
# the zip's own checksum. The same commit gives the same bytes wherever it is
# checked out: no build paths, no build times, a fixed order of entries.
set -uo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/scripts/common.sh"
mkdir -p "$BUILD"

ensure_packages pandoc zip

# A release is the image of one commit; uncommitted changes would make it no one's.
if [ -n "$(git -C "$ROOT" status --porcelain)" ]; then
  git -C "$ROOT" status --short >&2
  echo "The tree has uncommitted changes: commit or stash them, then run ./dist.sh again." >&2
  exit 1
fi
# Every time stamp in the release is the time of the last commit.
export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git -C "$ROOT" log -1 --format=%ct) || exit 1

VERSION=$(sed -nE 's/^FILEVERSION[[:space:]]+([0-9]+), *([0-9]+), *([0-9]+), *([0-9]+).*/\1.\2.\3.\4/p' "$ROOT/res/Pulmetra.rc")
[ -n "$VERSION" ] || { echo "no FILEVERSION in res/Pulmetra.rc" >&2; exit 1; }
NAME="Pulmetra-$VERSION"
GUIDE="Pulmetra-guide.html"

# A fresh tree, so that nothing of an earlier build finds its way in.
DIST_BUILD="$BUILD/dist"
rm -rf "$DIST_BUILD"
mkdir -p "$DIST_BUILD"
log "building Pulmetra $VERSION"
cmake -S "$ROOT" -B "$DIST_BUILD" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" \
  -DCMAKE_BUILD_TYPE=Release >"$DIST_BUILD.configure.log" 2>&1 \
  || { cat "$DIST_BUILD.configure.log" >&2; exit 1; }
cmake --build "$DIST_BUILD" --target Pulmetra -j"$(nproc)" >"$DIST_BUILD.build.log" 2>&1 \
  || { grep -E 'error|Error' "$DIST_BUILD.build.log" | head -40 >&2; echo "see $DIST_BUILD.build.log" >&2; exit 1; }

STAGE="$DIST_BUILD/stage"
mkdir -p "$STAGE"
cp "$DIST_BUILD/Pulmetra.exe" "$STAGE/"

log "converting the guide"
(cd "$ROOT/docs" && pandoc guide.md --from markdown --to html5 --standalone --self-contained --toc --css guide.css \
  --metadata date="버전 $VERSION" -o "$STAGE/$GUIDE") || exit 1

(cd "$STAGE" && sha256sum Pulmetra.exe "$GUIDE" >SHA256SUMS)

# zip writes each entry's time in local time: with UTC and the commit's time on
# every file, and no extra fields (-X), the entries carry nothing of this machine.
FILES=(Pulmetra.exe "$GUIDE" SHA256SUMS)
for f in "${FILES[@]}"; do
  chmod 0644 "$STAGE/$f"
  touch -d "@$SOURCE_DATE_EPOCH" "$STAGE/$f"
done
mkdir -p "$ROOT/dist"
ZIP="$ROOT/dist/$NAME.zip"
rm -f "$ZIP" "$ZIP.sha256"
(cd "$STAGE" && TZ=UTC zip -X -q -9 "$ZIP" "${FILES[@]}") || exit 1
(cd "$ROOT/dist" && sha256sum "$NAME.zip" >"$NAME.zip.sha256")

echo "dist/$NAME.zip:"
(cd "$STAGE" && sed 's/^/  /' SHA256SUMS)
echo "  $(cut -d' ' -f1 "$ZIP.sha256")  (the zip itself, also in dist/$NAME.zip.sha256)"
