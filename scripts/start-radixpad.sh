#!/usr/bin/env bash
# Sets up, builds and starts Radixpad.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build="$root/build"
"$here/setup.sh" "$build"
echo "radixpad-console: type actions (for example 'type dec 42' then 'show'), Ctrl-D to end."
exec "$build/bin/radixpad-console"
