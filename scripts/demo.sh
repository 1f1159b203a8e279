#!/usr/bin/env bash
# Placeholder until the demo lands: builds the Linux plug-in and runs the
# module tests, which drive the built druvo.so with the stand-in Moltrax.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset linux && cmake --build --preset linux && ctest --preset linux -L module
