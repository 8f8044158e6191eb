#!/usr/bin/env bash
# Builds the Debian package from debian/ with dpkg-buildpackage (the tests but the real-X11
# suite run during the build), checks it with lintian (no error, no warning), validates its
# desktop entry and AppStream data, installs it with apt-get, starts the installed program
# under Xvfb, ends it with "radixpad /uninstall", and removes the package again.
#   scripts/check-package.sh [BUILD_DIR]
# The sources are copied to BUILD_DIR/package/quillory-radixpad and built there, so neither
# the source tree nor its parent folder gets a file; the .deb, .buildinfo and .changes and
# the logs land in BUILD_DIR/package (BUILD_DIR defaults to build/).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(dirname "$here")
build=${1:-"$root/build"}
mkdir -p "$build"
out=$(cd "$build" && pwd)/package
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

# The version the program reports is the project's; the package's must be the same.
project_version=$(sed -n -E 's/^project\(Radixpad VERSION ([0-9.]+).*/\1/p' "$root/CMakeLists.txt")
package_version=$(dpkg-parsechangelog -l "$root/debian/changelog" -S Version)
if [ "$project_version" != "$package_version" ]; then
  echo "debian/changelog is at $package_version, CMakeLists.txt at $project_version: add a changelog entry" >&2
  exit 1
fi

# A fresh copy of the sources: the tracked files and new ones not ignored, as they are now.
rm -rf "$out"
src="$out/quillory-radixpad"
mkdir -p "$src"
if git -C "$root" rev-parse --git-dir > /dev/null 2>&1; then
  git -C "$root" ls-files -z --cached --others --exclude-standard |
    (cd "$root" && tar --null -T - --ignore-failed-read -cf - 2> /dev/null) | tar -xf - -C "$src"
else
  tar -C "$root" --exclude='./build*' --exclude='./obj-*' -cf - . | tar -xf - -C "$src"
fi

# The copy is always built at the same path, so ccache (when installed) serves a rebuild.
if command -v ccache > /dev/null; then
  export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$src"
fi
echo "building the package in $src (log: $out/build.log)"
if ! (cd "$src" && DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}" \
        dpkg-buildpackage -us -uc -b > "$out/build.log" 2>&1); then
  tail -n 60 "$out/build.log" >&2
  echo "dpkg-buildpackage failed; the whole log is $out/build.log" >&2
  exit 1
fi
grep -E '^(100% tests passed|[0-9]+% tests passed)' "$out/build.log" || true
deb=$(ls "$out"/quillory-radixpad_"$package_version"_*.deb)
changes=$(ls "$out"/quillory-radixpad_"$package_version"_*.changes)
echo "package: $deb"

# lintian: errors and warnings fail the check; informational tags are shown.
lintian --display-info --fail-on error,warning "$changes" | tee "$out/lintian.log"
echo "lintian: no error, no warning"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dpkg-deb -x "$deb" "$stage"
desktop-file-validate "$stage"/usr/share/applications/com.quillory.radixpad.desktop
appstreamcli validate --no-net "$stage"/usr/share/metainfo/com.quillory.radixpad.metainfo.xml
# The German name in the menu and the software centre.
grep -q '^GenericName\[de\]=' "$stage"/usr/share/applications/com.quillory.radixpad.desktop
grep -q 'xml:lang="de"' "$stage"/usr/share/metainfo/com.quillory.radixpad.metainfo.xml

DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "$deb" > "$out/apt-install.log"
test -x /usr/bin/radixpad
test -f /usr/lib/quillory-radixpad/libQyCommon.so
test -f /usr/lib/quillory-radixpad/String.de.dat
test -f /usr/share/bash-completion/completions/radixpad
test -f /usr/share/man/man1/radixpad.1.gz
reported=$(radixpad --version)
[ "$reported" = "radixpad $package_version" ] || { echo "the installed program reports '$reported'" >&2; exit 1; }

home="$stage/home"
mkdir -p "$home/run" && chmod 700 "$home/run"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run"
unset QT_QPA_PLATFORM LC_ALL LC_MESSAGES
export LANG=C.UTF-8
xvfb-run -a bash -c '
  radixpad & pid=$!
  for i in $(seq 100); do
    xdotool search --name "^Quillory Radixpad\$" > /dev/null 2>&1 && break
    sleep 0.1
  done
  xdotool search --name "^Quillory Radixpad\$" > /dev/null || { echo "no window titled Quillory Radixpad"; kill $pid; exit 1; }
  sleep 0.5
  radixpad /uninstall
  for i in $(seq 50); do kill -0 $pid 2> /dev/null || exit 0; sleep 0.1; done
  echo "the installed program did not end on /uninstall"; kill $pid; exit 1
'
echo "installed program: window shown, ended by /uninstall"

DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq quillory-radixpad > "$out/apt-remove.log"
test ! -e /usr/bin/radixpad
echo "package check passed"
