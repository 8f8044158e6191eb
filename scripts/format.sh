#!/usr/bin/env bash
# Formats every tracked C++ source with clang-format and the repository's .clang-format.
#   scripts/format.sh            rewrite the files in place
#   scripts/format.sh --check    change nothing; fail, naming each file that differs
# CLANG_FORMAT names the program (default: clang-format, Debian's package of that name).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
tool=${CLANG_FORMAT:-clang-format}
command -v "$tool" >/dev/null || { echo "format.sh: $tool not found (Debian package clang-format)" >&2; exit 2; }

mode=fix
case "${1:-}" in
  "") ;;
  --check) mode=check ;;
  *) echo "usage: scripts/format.sh [--check]" >&2; exit 2 ;;
esac

mapfile -d '' files < <(git ls-files -z -- '*.cpp' '*.h')
[ ${#files[@]} -gt 0 ] || exit 0

if [ "$mode" = fix ]; then
  printf '%s\0' "${files[@]}" | xargs -0 -n 50 "$tool" -i --style=file
  exit 0
fi

# One run over every file; each difference is reported as "file:line:col: error: ...".
if out=$(printf '%s\0' "${files[@]}" | xargs -0 "$tool" --dry-run -Werror --style=file 2>&1); then
  echo "format.sh: ${#files[@]} files formatted"
  exit 0
fi
echo "format.sh: not formatted (run scripts/format.sh):" >&2
bad=$(sed -n -E 's/^([^:]+):[0-9]+:[0-9]+: (error|warning):.*/\1/p' <<<"$out" | sort -u)
if [ -n "$bad" ]; then
  sed 's/^/  /' <<<"$bad" >&2
else
  printf '%s\n' "$out" >&2  # a failure that names no line (a missing file, a bad .clang-format)
fi
exit 1
