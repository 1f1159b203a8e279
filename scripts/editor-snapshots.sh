#!/usr/bin/env bash
# Pictures of the editor. On Debian 12: installs the packages the Linux build
# needs, builds the stand-in Moltrax and the picture tool, and renders the
# editor offscreen in four states to PNG files in build/editor-snapshots/ (or
# the folder given as the first argument; docs/editor renders the README's
# pictures anew), with the same fonts on every machine.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh cmake ninja-build g++ pkg-config libgtest-dev libcairo2-dev libx11-dev fonts-liberation2

export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
cmake --preset linux >/dev/null
cmake --build --preset linux --target druvo_editor_snapshots moltrax_standin
FONTCONFIG_FILE="$PWD/tools/editor_snapshots/fonts.conf" \
  build/linux/tools/editor_snapshots/druvo_editor_snapshots "${1:-build/editor-snapshots}"
