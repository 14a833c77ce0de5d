#!/usr/bin/env bash
# The screen reader's view of the program (AT-SPI under Xvfb), or, with "wayland", a start on a
# headless Wayland compositor without any X server: the launcher shows and its exit button
# ends the program. Skips (77) where a tool it needs is missing.
# Usage: accessibility-test.sh xvfb|wayland PROGRAM DATABASE
set -uo pipefail
mode=$1 program=$2 database=$3
here=$(cd "$(dirname "$0")" && pwd)
python=/usr/bin/python3
skip() { echo "SKIP: $*"; exit 77; }
[ -x "$python" ] && "$python" -c 'import pyatspi' 2>/dev/null || skip "python3-pyatspi is not installed"
command -v dbus-run-session >/dev/null || skip "dbus-run-session is not installed"
[ -f "$database" ] || skip "no text database at $database"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$(cd "$(dirname "$database")" && pwd)/$(basename "$database")" "$work/1.db"
export XDG_CONFIG_HOME=$work/config XDG_CONFIG_DIRS=$work/sysconfig XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
# Under the sanitizers the leak check stays with the in-process tests: here the program ends
# inside the accessibility bus's and the compositor's client libraries, whose allocations at
# exit are not the program's. The X keyboard library hands strndup() a name that is not
# terminated within its length, which strndup() never reads past but the strict string check
# reports: the check stays with the in-process tests too.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:detect_leaks=0:strict_string_checks=0"

case $mode in
xvfb)
    command -v xvfb-run >/dev/null || skip "xvfb-run is not installed"
    unset WAYLAND_DISPLAY
    exec dbus-run-session -- xvfb-run -a -s "-screen 0 1366x768x24" \
        "$python" "$here/atspi_walk.py" --program "$program" --workdir "$work"
    ;;
wayland)
    command -v weston >/dev/null || skip "weston is not installed"
    ls /usr/lib/*/qt6/plugins/platforms/libqwayland-* >/dev/null 2>&1 ||
        skip "Qt's Wayland plug-in (qt6-wayland) is not installed"
    unset DISPLAY
    export XDG_SESSION_TYPE=wayland WAYLAND_DISPLAY=kevran-test-$$
    weston --backend=headless-backend.so --socket="$WAYLAND_DISPLAY" --idle-time=0 \
        >"$work/weston.log" 2>&1 &
    weston_pid=$!
    trap 'kill $weston_pid 2>/dev/null; wait $weston_pid 2>/dev/null; rm -rf "$work"' EXIT
    for _ in $(seq 50); do [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] && break; sleep 0.1; done
    [ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || { cat "$work/weston.log"; skip "weston did not start"; }
    dbus-run-session -- "$python" "$here/atspi_walk.py" --program "$program" --workdir "$work" --exit
    ;;
esac
