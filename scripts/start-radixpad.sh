#!/usr/bin/env bash
# Sets up, builds and starts Radixpad.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build="$root/build"
"$here/setup.sh" "$build"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "Radixpad is built, but this machine has no display to show its window on." >&2
  echo "On a desktop, start it with:   $build/bin/radixpad" >&2
  echo "Without one, under a virtual X server:   xvfb-run -a $build/bin/radixpad" >&2
  exit 1
fi
exec "$build/bin/radixpad" "$@"
