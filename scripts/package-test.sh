#!/usr/bin/env bash
# Builds the Debian package in the build folder given and checks it the way a distribution does:
# lintian (any error or warning fails), the AppStream metadata and the desktop entry validated,
# then installs it on this machine, checks the manual pages, the icons and the installed database
# builder, starts the program the way its desktop entry does, and removes the package cleanly.
# Needs root; exits 77 (skipped) without it.
#   package-test.sh BUILD_DIR [SOURCE_TEXT_DIR]
set -euo pipefail
build=$(cd "${1:?usage: package-test.sh BUILD_DIR [SOURCE_TEXT_DIR]}" && pwd)
sources=${2:-}
if [ "$(id -u)" -ne 0 ] || ! command -v dpkg >/dev/null; then
    echo "skipped: installing a package needs root and dpkg"
    exit 77
fi
if dpkg-query -W -f='${Status}' kevran 2>/dev/null | grep -q 'install ok installed'; then
    echo "skipped: a kevran package is installed on this machine already"
    exit 77
fi
missing=()
for tool in dpkg-shlibdeps:dpkg-dev desktop-file-validate:desktop-file-utils lintian:lintian \
            appstreamcli:appstream mandb:man-db; do
    command -v "${tool%%:*}" >/dev/null || missing+=("${tool##*:}")
done
if [ ${#missing[@]} -gt 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null ||
        { apt-get update -q >/dev/null && apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null; }
fi

fail() { echo "FAILED: $*"; exit 1; }
work=$(mktemp -d)
trap 'dpkg --purge kevran >/dev/null 2>&1 || true; rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work" >/dev/null)
deb=$(ls "$work"/kevran_*.deb)
echo "built $(basename "$deb")"

# lintian, with every tag shown (information and pedantic ones too); errors and warnings fail.
echo "--- lintian --display-info --pedantic"
lintian --fail-on error,warning --display-info --pedantic "$deb" 2>/dev/null ||
    fail "lintian reports errors or warnings"

# Fonts that draw Persian and Arabic with their marks come with it; the Naskh faces are offered.
depends=$(dpkg-deb -f "$deb" Depends)
recommends=$(dpkg-deb -f "$deb" Recommends)
echo "Depends: $depends"
echo "Recommends: $recommends"
for font in fonts-noto-core fonts-noto-ui-core; do
    [[ ", $depends," == *", $font,"* ]] || fail "the package does not depend on $font"
done
for font in fonts-hosny-amiri fonts-sil-scheherazade; do
    [[ ", $recommends," == *", $font,"* ]] || fail "the package does not recommend $font"
done

app_id=org.kevran.kevran
entry=/usr/share/applications/$app_id.desktop
metainfo=/usr/share/metainfo/$app_id.metainfo.xml
DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" >/dev/null
for file in /usr/bin/kevran /usr/bin/kevran-builddb /usr/share/kevran/1.db \
            /usr/share/kevran/topics.txt "$entry" "$metainfo" \
            /usr/share/icons/hicolor/scalable/apps/kevran.svg \
            /usr/share/man/man1/kevran.1.gz /usr/share/man/man1/kevran-builddb.1.gz \
            /usr/share/doc/kevran/copyright /usr/share/doc/kevran/changelog.gz \
            /usr/share/doc/kevran/screenshots/quran-page.png; do
    [ -e "$file" ] || fail "missing after install: $file"
done
for size in 48 64 128 256; do
    icon=/usr/share/icons/hicolor/${size}x${size}/apps/kevran.png
    [ -e "$icon" ] || fail "missing after install: $icon"
    # The picture's width and height, from its PNG header.
    [ "$(od -An -tu4 --endian=big -j16 -N8 "$icon" | tr -s ' ' | sed 's/^ //')" = "$size $size" ] ||
        fail "$icon is not ${size}x${size}"
done

echo "--- appstreamcli validate --no-net --strict --pedantic $metainfo"
appstreamcli validate --no-net --strict --pedantic "$metainfo" || fail "the AppStream metadata is not valid"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
    fail "the metadata does not launch $app_id.desktop"
echo "--- desktop-file-validate $entry"
report=$(desktop-file-validate "$entry" 2>&1) || fail "desktop-file-validate: $report"
[ -z "$report" ] || fail "desktop-file-validate: $report"
echo "(no output)"
# The program names its windows by the same id (Qt keeps the literal as UTF-16).
strings -el /usr/bin/kevran | grep -xF "$app_id" >/dev/null || fail "the program's desktop file name is not $app_id"
icon_name=$(sed -n 's/^Icon=//p' "$entry")
[ -e "/usr/share/icons/hicolor/scalable/apps/$icon_name.svg" ] || fail "the entry's icon $icon_name is not installed"

# The manual pages are found by keyword once the index is brought up to date.
mandb -q 2>/dev/null || true
pages=$(man -k kevran 2>/dev/null || true)
echo "--- man -k kevran"
echo "$pages"
for page in 'kevran (1)' 'kevran-builddb (1)'; do
    grep -qF "$page" <<<"$pages" || fail "man -k kevran does not list $page"
done

# The installed database builder reads its installed topical index.
/usr/bin/kevran-builddb --help | grep -F /usr/share/kevran/topics.txt >/dev/null ||
    fail "kevran-builddb does not default to the installed topical index"
if [ -n "$sources" ] && [ -d "$sources/quran" ]; then
    /usr/bin/kevran-builddb --source "$sources" --output "$work/check.db" >"$work/builddb.log" 2>&1 ||
        { cat "$work/builddb.log"; fail "the installed kevran-builddb cannot build the database"; }
    echo "the installed kevran-builddb built a database"
fi

# Start it as the desktop does: in the entry's folder, the entry's command. Still running after
# a few seconds means it started; a failure to start ends it at once.
folder=$(sed -n 's/^Path=//p' "$entry")
command=$(sed -n 's/^Exec=//p' "$entry")
status=0
(cd "$folder" && QT_QPA_PLATFORM=offscreen HOME="$work" XDG_CONFIG_HOME="$work/config" \
    timeout 5 $command) >"$work/run.log" 2>&1 || status=$?
if [ "$status" -ne 124 ]; then
    cat "$work/run.log"
    fail "the installed program ended with status $status"
fi
echo "started from $entry"

# Removal leaves none of the package's files behind; purging forgets the package.
dpkg -L kevran >"$work/files"
dpkg -r kevran >/dev/null
while read -r path; do
    [ -d "$path" ] && [ ! -L "$path" ] && continue
    [ ! -e "$path" ] || fail "left behind after removal: $path"
done <"$work/files"
for dir in /usr/share/kevran /usr/share/doc/kevran; do
    [ ! -e "$dir" ] || fail "left behind after removal: $dir"
done
dpkg --purge kevran >/dev/null 2>&1
dpkg-query -W -f='${Status}' kevran 2>/dev/null | grep -q 'install ok' && fail "kevran is still known to dpkg"
echo "installed, started and removed cleanly"
