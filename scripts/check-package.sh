#!/usr/bin/env bash
# Builds the Debian package from BUILD_DIR, validates its desktop entry and
# AppStream data, installs it with apt-get, starts the installed program under
# Xvfb, ends it with "radixpad /uninstall", and removes the package again.
#   scripts/check-package.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

cd "$build"
rm -f quillory-radixpad_*.deb
cpack -G DEB > cpack.log
deb=$(ls quillory-radixpad_*.deb)
echo "package: $deb"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
dpkg-deb -x "$deb" "$stage"
desktop-file-validate "$stage"/usr/share/applications/com.quillory.radixpad.desktop
appstreamcli validate --no-net "$stage"/usr/share/metainfo/com.quillory.radixpad.metainfo.xml

DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "./$deb" > apt-install.log
test -x /usr/bin/radixpad
test -f /usr/lib/quillory-radixpad/libQyCommon.so

home="$stage/home"
mkdir -p "$home/run" && chmod 700 "$home/run"
export HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/run"
unset QT_QPA_PLATFORM
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

DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get remove -y -qq quillory-radixpad > apt-remove.log
test ! -e /usr/bin/radixpad
echo "package check passed"
