#!/usr/bin/env bash
# The file managers' right-click entries from an installed tree: each passes its validator, and
# each, run on two files, opens one window with both in the right list.
#   file_manager_test.sh BUILD_DIR
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > /dev/null

for file in "$prefix"/share/kio/servicemenus/*.desktop "$prefix"/share/Thunar/sendto/*.desktop; do
    desktop-file-validate "$file" || { echo "FEHLER: $file ungültig" >&2; exit 1; }
done

# The desktop's Python with its gi module, not one a user put first on PATH.
reader="$(dirname "$0")/file_manager_actions.py"
export prefix reader
xvfb-run -a dbus-run-session -- bash -c '
    export XDG_RUNTIME_DIR="$prefix/run" && mkdir -m 700 "$XDG_RUNTIME_DIR"
    /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb /usr/bin/python3 "$reader" "$prefix"' \
    2> >(grep -v "fd limit" >&2)
echo "Rechtsklick-Einträge: alle geprüft"
