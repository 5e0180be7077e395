#!/usr/bin/env bash
# Installs the build into a fresh prefix and checks what a desktop needs from it.
#   install_test.sh BUILD_DIR
set -euo pipefail
build="$1"
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FEHLER: $*" >&2; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" > /dev/null

share="$prefix/share"
expected=(
    bin/aes-marnoq bin/aes-marnoq-cli
    share/applications/aes-marnoq.desktop
    share/mime/packages/aes-marnoq.xml
    share/icons/hicolor/scalable/apps/aes-marnoq.svg
    share/icons/hicolor/scalable/mimetypes/application-x-aes-marnoq.svg
    share/man/man1/aes-marnoq.1.gz share/man/man1/aes-marnoq-cli.1.gz
    share/bash-completion/completions/aes-marnoq-cli
    share/doc/aes-marnoq/copyright share/doc/aes-marnoq/changelog.gz
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/aes-marnoq.png"
               "share/icons/hicolor/${size}x${size}/mimetypes/application-x-aes-marnoq.png")
done
for file in "${expected[@]}"; do
    [ -s "$prefix/$file" ] || fail "$file fehlt"
done
for size in 16 256; do
    file "$share/icons/hicolor/${size}x${size}/apps/aes-marnoq.png" \
        | grep -q "PNG image data, $size x $size" || fail "Symbol ${size}x${size} hat die falsche Größe"
done

desktop-file-validate "$share/applications/aes-marnoq.desktop" || fail ".desktop ungültig"
grep -qx 'Exec=aes-marnoq %F' "$share/applications/aes-marnoq.desktop" || fail "Exec-Zeile"
xmllint --noout "$share/mime/packages/aes-marnoq.xml" \
    "$share/icons/hicolor/scalable/apps/aes-marnoq.svg" || fail "XML ungültig"

# The MIME database built from our package alone must know the type by name and by content.
XDG_DATA_DIRS="$share" update-mime-database "$share/mime" || fail "update-mime-database"
grep -q "application/x-aes-marnoq" "$share/mime/globs2" || fail "*.aes fehlt in globs2"
[ -s "$share/mime/application/x-aes-marnoq.xml" ] || fail "MIME-Typ nicht erzeugt"
grep -q "application/x-aes-marnoq" "$share/mime/magic" || fail "Magie fehlt"

for page in aes-marnoq aes-marnoq-cli; do
    zcat "$share/man/man1/$page.1.gz" | groff -k -man -Tutf8 -ww -z 2>&1 | grep . \
        && fail "Handbuchseite $page meldet Fehler"
done
bash -n "$share/bash-completion/completions/aes-marnoq-cli" || fail "Vervollständigung"
words="$(bash -c "source '$share/bash-completion/completions/aes-marnoq-cli'
    COMP_WORDS=(aes-marnoq-cli de); COMP_CWORD=1; _aes_marnoq_cli; echo \${COMPREPLY[*]}")"
[ "$words" = "decrypt" ] || fail "Vervollständigung von 'de' ergab '$words'"

for program in aes-marnoq aes-marnoq-cli; do
    version="$("$prefix/bin/$program" --version | head -n 1)" || fail "$program --version"
    [[ "$version" =~ ^$program\ 1\.1\ \(.+\)$ ]] || fail "$program --version: '$version'"
    "$prefix/bin/$program" --help | grep -q -- "--version" || fail "$program --help"
done

[ "$failures" -eq 0 ] && echo "Installation vollständig: ${#expected[@]} Dateien geprüft"
exit $((failures > 0))
