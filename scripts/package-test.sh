#!/usr/bin/env bash
# Builds the Debian package in the build folder given, installs it on this machine, starts the
# program the way its desktop entry does, and removes the package again. Needs root; exits 77
# (skipped) without it.
set -euo pipefail
build=$(cd "${1:?usage: package-test.sh BUILD_DIR}" && pwd)
if [ "$(id -u)" -ne 0 ] || ! command -v dpkg >/dev/null; then
    echo "skipped: installing a package needs root and dpkg"
    exit 77
fi
if dpkg-query -W -f='${Status}' kevran 2>/dev/null | grep -q 'install ok installed'; then
    echo "skipped: a kevran package is installed on this machine already"
    exit 77
fi
for tool in dpkg-shlibdeps:dpkg-dev desktop-file-validate:desktop-file-utils; do
    command -v "${tool%%:*}" >/dev/null ||
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${tool##*:}" >/dev/null
done

work=$(mktemp -d)
trap 'dpkg -r kevran >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/kevran_*.deb)
echo "built $(basename "$deb")"
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" >/dev/null

entry=/usr/share/applications/kevran.desktop
for file in /usr/bin/kevran /usr/share/kevran/1.db "$entry" \
            /usr/share/icons/hicolor/scalable/apps/kevran.svg; do
    [ -e "$file" ] || { echo "missing after install: $file"; exit 1; }
done
desktop-file-validate "$entry"

# Start it as the desktop does: in the entry's folder, the entry's command. Still running after
# a few seconds means it started; a failure to start ends it at once.
folder=$(sed -n 's/^Path=//p' "$entry")
command=$(sed -n 's/^Exec=//p' "$entry")
status=0
(cd "$folder" && QT_QPA_PLATFORM=offscreen HOME="$work" timeout 5 $command) >"$work/run.log" 2>&1 || status=$?
if [ "$status" -ne 124 ]; then
    echo "the installed program ended with status $status:"
    cat "$work/run.log"
    exit 1
fi
echo "started from $entry"

dpkg -r kevran >/dev/null
for file in /usr/bin/kevran /usr/share/kevran "$entry"; do
    [ ! -e "$file" ] || { echo "left behind after removal: $file"; exit 1; }
done
echo "installed, started and removed cleanly"
