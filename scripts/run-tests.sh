#!/usr/bin/env bash
# Sets up, builds with warnings as errors, and runs every test.
#   scripts/run-tests.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}
shift || true
"$here/setup.sh" "$build" -DRADIXPAD_WERROR=ON "$@"
cd "$build"
ctest --output-on-failure --timeout 300 -j "$(nproc)"
