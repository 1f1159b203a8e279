#!/usr/bin/env bash
# The demo. On Debian 12: installs the few packages the Linux build needs,
# builds druvo.so, the stand-in Moltrax.so and the demo host, and plays a
# session of six Druvo instances on Moltrax's buses into WAV files, one per
# instance, in build/demo-output/ (or the folder given with --out DIR).
# Arguments go to the demo host: --out DIR, --seconds S (see --help).
set -euo pipefail
cd "$(dirname "$0")/.."

# Configuring the Linux preset needs GoogleTest, cairo and the X11 headers
# (the window tests' among them) besides the compiler.
scripts/install-deps.sh cmake ninja-build g++ pkg-config libgtest-dev \
  libcairo2-dev libx11-dev libxtst-dev libxres-dev

export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}"
cmake --preset linux >/dev/null
cmake --build --preset linux --target druvo_demo
echo
build/linux/tools/demo/druvo_demo "$@"
