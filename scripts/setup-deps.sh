#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need (rsvg-convert renders the icons;
# lintian, appstreamcli, desktop-file-validate and man-db check the package; poppler-utils reads
# the printed PDFs back; qt6-base-dev holds Qt Print Support; python3-pyatspi, at-spi2-core and
# dbus let the tests read the windows as a screen reader does, weston and qt6-wayland start the
# program on Wayland, qt6-translations-l10n holds Qt's Persian texts), and any packages named
# as arguments (as root), or names the command that installs them.
set -euo pipefail

packages=(cmake g++ make pkg-config qt6-base-dev libgl-dev libsqlite3-dev sqlite3
          fonts-noto-core fonts-noto-ui-core fonts-dejavu-core fonts-hosny-amiri
          fonts-sil-scheherazade libx11-dev xvfb x11-xkb-utils
          python3 python3-aiosmtpd librsvg2-bin poppler-utils
          dpkg-dev lintian appstream desktop-file-utils man-db clang-format
          python3-pyatspi at-spi2-core dbus weston qt6-wayland qt6-translations-l10n "$@")

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
else
    echo "These packages are missing. Install them with:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
fi
