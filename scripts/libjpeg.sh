#!/usr/bin/env bash
# libjpeg for the Windows program: Debian's libjpeg-turbo source package, fetched with apt's own source
# command and cross-built once with mingw-w64 as a static library (no SIMD, no TurboJPEG API) into
# build/libjpeg/install. A second run finds it there and does nothing.
# The machine's apt setup is left as it is: the deb-src entries are made from its deb entries in a
# folder of our own, with lists and cache of our own.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
dest=${ORVAND_LIBJPEG_DIR:-$ROOT/build/libjpeg}
prefix=$dest/install

# Stamps mark finished steps, so an interrupted run starts that step again.
built() { [ -f "$prefix/.built" ]; }
built && exit 0

mkdir -p "$dest"
exec 9>"$dest/.lock"
flock 9
built && exit 0  # built by a run we waited for

fetch_source() {
  local apt=$dest/apt list parts f
  rm -rf "$apt" "$dest/fetch"
  mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$apt/cache/archives/partial" "$dest/fetch"
  eval "$(apt-config shell list Dir::Etc::SourceList/f parts Dir::Etc::SourceParts/d)"
  # One-line entries: every deb line becomes a deb-src line.
  for f in "$list" "$parts"*.list; do
    [ -f "$f" ] && sed -nE 's/^[[:space:]]*deb[[:space:]]+/deb-src /p' "$f"
  done > "$apt/sources.list.d/from-deb.list"
  # deb822 entries: the same paragraphs with the source type.
  for f in "$parts"*.sources; do
    [ -f "$f" ] && sed -E 's/^Types:.*/Types: deb-src/' "$f" > "$apt/sources.list.d/$(basename "$f")"
  done
  local opts=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$apt/sources.list.d"
              -o Dir::State::Lists="$apt/lists" -o Dir::Cache="$apt/cache" -qq)
  # As root apt downloads as its own user, who cannot write into our folder.
  [ "$(id -u)" -ne 0 ] || opts+=(-o APT::Sandbox::User=root)
  echo "libjpeg: fetching the libjpeg-turbo source package"
  # A repository without source indices only warns; the source command below tells whether it worked.
  apt-get "${opts[@]}" update || echo "libjpeg: some source indices could not be read" >&2
  (cd "$dest/fetch" && apt-get "${opts[@]}" source --download-only libjpeg-turbo)
  # apt has checked the files against the signed indices; dpkg-source checks them against the .dsc, and
  # only its word that it has no key for the uploader's signature is kept quiet.
  local out
  out=$(dpkg-source --no-copy -x "$(ls "$dest"/fetch/libjpeg-turbo_*.dsc | head -n 1)" "$dest/fetch/src" 2>&1) ||
    { echo "$out" >&2; return 1; }
  rm -rf "$apt"
  touch "$dest/fetch/.fetched"
}

[ -f "$dest/fetch/.fetched" ] || fetch_source

echo "libjpeg: cross-building libjpeg-turbo into $prefix"
rm -rf "$dest/build" "$prefix"
cmake -S "$dest/fetch/src" -B "$dest/build" -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_SYSTEM_PROCESSOR=x86_64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DENABLE_SHARED=0 -DENABLE_STATIC=1 -DWITH_SIMD=0 -DWITH_TURBOJPEG=0 >/dev/null
cmake --build "$dest/build" -j "$(nproc)" >/dev/null
cmake --install "$dest/build" >/dev/null
rm -rf "$dest/build"
touch "$prefix/.built"
echo "libjpeg: done"
