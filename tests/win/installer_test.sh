#!/usr/bin/env bash
# Installs the .msi in Wine as a user would, without administrator rights, and uses what it
# made: files, Start-menu entry, file type, Explorer's two verbs (two starts meet in one
# window), an upgrade in place by the next version, and a removal that leaves nothing behind.
# Usage: installer_test.sh AES256-Marnoq.msi NEXT-VERSION.msi window_probe.exe
set -euo pipefail

msi=$1 next=$2 probe=$3
work=$(mktemp -d)
x_server= programs=()
cleanup() {
    kill "${programs[@]}" "$x_server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "$0")/wine_session.sh"
# Wine would copy the Start-menu entry into the desktop of the user running the test.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe="

unix_path() { winepath -u "$(wine cmd /c echo "$1" 2>/dev/null | tr -d '\r')" 2>/dev/null; }
# reg writes the console's code page.
value() { wine reg query "$1" /ve </dev/null 2>/dev/null | iconv -f CP850 -t UTF-8 | tr -d '\r' |
          sed -n 's/^ *([^)]*) *REG_[A-Z_]* *//p'; }
classes='HKCU\Software\Classes'
keys=("$classes\\.aes" "$classes\\AES256-Marnoq.Datei"
      "$classes\\*\\shell\\AES256-Marnoq.verschluesseln" 'HKCU\Software\AES256-Marnoq')
folder="$(unix_path '%LOCALAPPDATA%')/Programs/AES256-Marnoq"
shortcut="$(unix_path '%APPDATA%')/Microsoft/Windows/Start Menu/Programs/AES256-Marnoq.lnk"
# Windows lists a per-user install under the user, Wine under the machine.
apps() {
    for root in HKCU HKLM; do
        wine reg query "$root\Software\Microsoft\Windows\CurrentVersion\Uninstall" /s 2>/dev/null
    done | tr -d '\r'
}
installed() { apps | grep -c 'DisplayName.*AES256-Marnoq' || true; }

echo "Installieren ohne Administratorrechte"
wine msiexec /i "$(windows_path "$msi")" /qn || fail "msiexec /i endet mit $?"
for file in "$folder"/{AES-Marnoq.exe,aes-marnoq-cli.exe,LIESMICH.txt} "$shortcut"; do
    [ -s "$file" ] || fail "$file fehlt"
done
while IFS='|' read -r key text; do
    [ "$(value "$classes\\$key")" = "$text" ] || fail "$key: $(value "$classes\\$key")"
done <<'TEXTS'
.aes|AES256-Marnoq.Datei
AES256-Marnoq.Datei|AES256-Marnoq verschlüsselte Datei
AES256-Marnoq.Datei\shell\open|Öffnen
AES256-Marnoq.Datei\shell\entschluesseln|Mit AES256-Marnoq entschlüsseln
*\shell\AES256-Marnoq.verschluesseln|Mit AES256-Marnoq verschlüsseln
TEXTS
[ "$(installed)" = 1 ] || fail "nicht unter den installierten Programmen"
for field in 'DisplayVersion .*1\.1\.0' 'Publisher .*AES256-Marnoq' 'Size .*REG_SZ *[1-9]'; do
    apps | grep -q "$field" || fail "Eintrag unter Apps ohne $field"
done

waits_for_window() {
    timeout 60 xdotool search --sync --onlyvisible --name '^AES256-Marnoq$' >/dev/null ||
        fail "kein Fenster"
    sleep 2  # a second window would be up by now
    [ "$(xdotool search --onlyvisible --name '^AES256-Marnoq$' | wc -l)" = 1 ] ||
        fail "mehr als ein Fenster"
    shown="$(probe text Label5) / $(probe text Label6)"
}
ends_all() {
    click Command1
    for program in "${programs[@]}"; do wait "$program" || fail "ein Start endet nicht sauber"; done
    programs=()
}
touch "$work/Brief.txt.aes" "$work/Foto 1.jpg" "$work/Foto 2.jpg" "$work/Konto.aes"

echo "Drei Dateien, beide Verben: Explorer startet das Programm einmal je Datei"
for verb in "*\\shell\\AES256-Marnoq.verschluesseln" "AES256-Marnoq.Datei\\shell\\entschluesseln"; do
    command=$(value "$classes\\$verb\\command")
    [[ "$command" == '"'*'AES-Marnoq.exe" "%1"' ]] || fail "Befehl des Verbs: $command"
done
exe=$(cut -d '"' -f 2 <<<"$command")
for file in "Foto 1.jpg" "Foto 2.jpg" "Konto.aes"; do
    wine "$exe" "$(windows_path "$work/$file")" 2>/dev/null &
    programs+=($!)
done
waits_for_window
[ "$shown" = "Files: 2 / Files: 1" ] || fail "drei Starts zeigen $shown"
ends_all

echo "Die nächste Version ersetzt diese"
wine msiexec /i "$(windows_path "$next")" /qn || fail "Aktualisieren endet mit $?"
[ "$(installed)" = 1 ] || fail "nach dem Aktualisieren $(installed) Einträge unter Apps"
apps | grep -q 'DisplayVersion .*1\.2\.0' || fail "die neue Version steht nicht unter Apps"
[ -s "$folder/AES-Marnoq.exe" ] || fail "nach dem Aktualisieren fehlt das Programm"

# removed FOLDER KEY...: nothing of the install is left
removed() {
    for place in "$1" "$shortcut"; do [ ! -e "$place" ] || fail "$place blieb"; done
    for key in "${@:2}"; do
        ! wine reg query "$key" >/dev/null 2>&1 || fail "$key blieb in der Registry"
    done
    [ "$(installed)" = 0 ] || fail "blieb unter den installierten Programmen"
}
echo "Entfernen"
wine msiexec /x "$(windows_path "$next")" /qn || fail "msiexec /x endet mit $?"
removed "$folder" "${keys[@]}"

# Wine reads file types from the machine's part of the registry only, so the double click is
# tried on a per-machine install.
echo "Für alle Benutzer (ALLUSERS=1), Doppelklick auf eine .aes-Datei"
wine msiexec /i "$(windows_path "$msi")" /qn ALLUSERS=1 || fail "msiexec ALLUSERS=1 endet mit $?"
machine_folder="$(unix_path '%ProgramW6432%')/AES256-Marnoq"
[ -s "$machine_folder/AES-Marnoq.exe" ] || fail "nicht in $machine_folder installiert"
wine start /wait "$(windows_path "$work/Brief.txt.aes")" 2>/dev/null &
programs+=($!)
waits_for_window
[ "$shown" = "Files: 0 / Files: 1" ] || fail "nach Doppelklick: $shown"
ends_all
wine msiexec /x "$(windows_path "$msi")" /qn ALLUSERS=1 || fail "msiexec /x ALLUSERS=1 endet mit $?"
removed "$machine_folder" "${keys[@]//HKCU/HKLM}"
echo "Installertest bestanden"
