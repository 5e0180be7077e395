# shellcheck shell=bash
# Sourced by the window scripts: a private X server, Wine's settings, and helpers that find and
# press the window's controls through the probe. Needs $work (a scratch folder) and $probe.

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export WINEPREFIX=${WINEPREFIX:-$work/wine-prefix}

fail() { echo "FEHLER: $*" >&2; exit 1; }

# Wine's own fonts in the prefix, as scripts/windows puts them there, for a prefix of its own.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot --init </dev/null >/dev/null 2>&1 || true
fi
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp -n /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"

# -displayfd writes the number of a free display.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
x_server=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb startet nicht"
export DISPLAY=:$(cat "$work/display")

windows_path() { printf 'Z:%s' "${1//\//\\}"; }
probe() { wine "$probe" "$@" 2>/dev/null | tr -d '\r'; }
click() {
    local at
    at=$(probe where "$1") || fail "kein Steuerelement $1"
    # shellcheck disable=SC2086
    xdotool mousemove $at click 1
}
type_into() {
    click "$1"
    xdotool type --delay 20 "$2"
}
