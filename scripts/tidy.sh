#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the project's own sources in
# the compile database (not the generated moc/autogen files), headers included.
#   scripts/tidy.sh [BUILD_DIR]      (default: build)
# BUILD_DIR must have been built: sources include the moc and uic output. Fails, after
# printing every finding, when any check reports. JOBS sets the parallel runs (default: nproc).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}
tidy=${CLANG_TIDY:-clang-tidy}
command -v "$tidy" >/dev/null || { echo "tidy.sh: $tidy not found (Debian package clang-tidy)" >&2; exit 2; }
[ -f "$build/compile_commands.json" ] || { echo "tidy.sh: no $build/compile_commands.json; configure and build first" >&2; exit 2; }
build=$(cd "$build" && pwd)

folders='app|bench|commonlib|engine|mainwnd|options|platform|shell|tests'
mapfile -t files < <(python3 - "$build/compile_commands.json" "$root" "$folders" <<'PY'
import json, re, sys
db, root, folders = sys.argv[1:]
mine = re.compile('^' + re.escape(root) + '/(' + folders + ')/')
for f in sorted({e['file'] for e in json.load(open(db))}):
    if mine.match(f) and '_autogen/' not in f:
        print(f)
PY
)
echo "tidy.sh: ${#files[@]} files"
export TIDY="$tidy" TIDY_BUILD="$build" TIDY_HEADERS="^$root/($folders)/"
# Each file's findings are printed in one piece, so parallel runs do not interleave.
if printf '%s\0' "${files[@]}" | xargs -0 -n 1 -P "${JOBS:-$(nproc)}" bash -c '
    out=$("$TIDY" -p "$TIDY_BUILD" --quiet --warnings-as-errors="*" --header-filter="$TIDY_HEADERS" "$1" 2>&1)
    rc=$?
    out=$(grep -v -E "^[0-9]+ (warnings?|errors?)( and [0-9]+ errors?)? (generated|treated as errors?)|^Suppressed [0-9]+ warnings|^Use -header-filter|^Error while processing" <<<"$out")
    [ -n "$out" ] && printf "%s\n" "$out"
    exit $((rc != 0))' _; then
  echo "tidy.sh: clean"
else
  echo "tidy.sh: findings above" >&2
  exit 1
fi
