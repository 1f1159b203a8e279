#!/usr/bin/env bash
# Builds and tests the three shipped presets, then packs exactly the files
# those tests ran into versioned archives in build/release/:
#   druvo-VERSION-linux-x86_64.tar.gz  druvo.so
#   druvo-VERSION-windows.zip          druvo.dll (32-bit) and druvo_x64.dll
# Each holds README.txt (the README's "Using Druvo in a host") and SHA256SUMS.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/test.sh linux windows-x64 windows-x86

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/linux/CMakeCache.txt)
release=build/release
rm -rf "$release"
mkdir -p "$release"

# pack NAME FORMAT FILES...: one folder NAME with the files, the usage text
# and their checksums, archived as NAME.FORMAT.
pack() {
  local name=$1 format=$2
  shift 2
  local folder="$release/$name"
  mkdir -p "$folder"
  cp "$@" "$folder/"
  awk '/^## /{keep = ($0 == "## Using Druvo in a host")} keep' README.md > "$folder/README.txt"
  (cd "$folder" && sha256sum -- * > SHA256SUMS)
  case $format in
    zip) (cd "$release" && cmake -E tar cf "$name.zip" --format=zip "$name") ;;
    tar.gz) (cd "$release" && cmake -E tar czf "$name.tar.gz" "$name") ;;
  esac
  rm -rf "$folder"
  echo "$release/$name.$format"
}

pack "druvo-$version-linux-x86_64" tar.gz build/linux/druvo.so
pack "druvo-$version-windows" zip build/windows-x86/druvo.dll build/windows-x64/druvo_x64.dll
