#!/usr/bin/env bash
# The one test command. On Debian 12: installs the packages the build needs,
# then for each preset configures, builds and runs its tests:
#   linux        druvo.so and every test, natively, also in Ardour 7 (label host)
#   windows-x64  druvo_x64.dll and every test, under wine
#   windows-x86  druvo.dll; the checks that read the built file and the module
#                test programs, in a 32-bit wine under qemu-i386 (set up once
#                in ~/.cache/druvo/wine32 by scripts/wine32-setup.sh)
#   linux-asan   everything again under AddressSanitizer and UBSan
#   linux-tsan   the thread stress test for 20 s under ThreadSanitizer
#   fuzz         each libFuzzer target for 30 s (clang, ASan and UBSan)
# then packs the release files (scripts/package.sh --tested) and installs the
# Debian package and the MSI (tests/install/).
# Before the presets, scripts/check-format.sh fails on unformatted sources.
# Name presets as arguments to run only those, without packing.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
# Style first: unformatted C/C++ sources fail the run before any build.
scripts/check-format.sh

jobs=$(nproc)
export CMAKE_BUILD_PARALLEL_LEVEL="${CMAKE_BUILD_PARALLEL_LEVEL:-$jobs}"
export CTEST_PARALLEL_LEVEL="${CTEST_PARALLEL_LEVEL:-$jobs}"

presets=(linux windows-x64 windows-x86 linux-asan linux-tsan fuzz)
[ $# -eq 0 ] || presets=("$@")

started=$SECONDS
for preset in "${presets[@]}"; do
  echo "=== $preset"
  # A virtual display for tests that open real X11 windows; the wine runner
  # hides it from Windows programs.
  xvfb-run -a cmake --workflow --preset "$preset"
done
# A full run ends with the release files made from the builds just tested,
# and with installing them: the Debian package here, the MSI under wine.
if [ $# -eq 0 ]; then
  echo "=== release files and install tests"
  scripts/package.sh --tested
  tests/install/debian_package_test.sh
  tests/install/windows_msi_test.sh
fi
echo "=== all passed: ${presets[*]} in $((SECONDS - started)) s"
