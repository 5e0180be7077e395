#!/usr/bin/env bash
# Drives AES-Marnoq.exe under Xvfb and Wine with real clicks and key presses: encrypt a file
# named on the command line, compare the bytes with the Linux command line's, decrypt it again,
# and drop a file the decrypt list must refuse.
# Usage: window_test.sh AES-Marnoq.exe window_probe.exe LINUX-aes-marnoq-cli
set -euo pipefail

exe=$1 probe=$2 cli=$3
password=Geheimnis-42
work=$(mktemp -d)
x_server= program=
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null || true
    [ -n "$x_server" ] && kill "$x_server" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "$0")/wine_session.sh"

# Waits until the status line shows the text, for at most a minute.
wait_for_status() {
    for _ in $(seq 600); do
        [[ $(probe text Label1) == *"$1"* ]] && return 0
        sleep 0.1
    done
    fail "Statuszeile zeigt nicht \"$1\": $(probe text Label1)"
}

# Waits until the control has the keyboard focus, for at most five seconds.
wait_for_focus() {
    for _ in $(seq 50); do
        probe focus "$1" >/dev/null && return 0
        sleep 0.1
    done
    fail "$2"
}

mkdir -p "$work/window" "$work/linux"
head -c 300000 /dev/urandom >"$work/window/brief.bin"
cp "$work/window/brief.bin" "$work/linux/brief.bin"
printf '%s\n' "$password" >"$work/password"
chmod 600 "$work/password"

echo "Start mit der Auswahl eines Dateimanagers: viele lange Pfade"
for count in 13 150; do
    paths=()
    for i in $(seq "$count"); do
        name=$(printf 'Z:\\home\\nutzer\\Dokumente\\Steuer 2025\\%03d-%0*d' "$i" $((i % 9 * 20)) 0)
        [ $((i % 3)) = 0 ] && paths+=("$name.aes") || paths+=("$name.pdf")
    done
    wine "$exe" "${paths[@]}" 2>/dev/null &
    program=$!
    xdotool search --sync --onlyvisible --name '^AES256-Marnoq$' >/dev/null
    shown="$(probe text Label5) / $(probe text Label6)"
    [ "$shown" = "Files: $((count - count / 3)) / Files: $((count / 3))" ] ||
        fail "mit $count Dateien gestartet: $shown"
    click Command1
    wait "$program" || fail "mit $count Dateien gestartet: das Programm endet nicht sauber"
    program=
done

echo "Start wie aus \"Senden an\": Pfade ohne Anführungszeichen, einer mit Umlaut"
# Windows quotes only what holds a blank, and so does wine.
LC_ALL=C.UTF-8 wine "$exe" 'Z:\Daten\brief.txt' 'Z:\Daten\Übersicht.pdf' 'Z:\Daten\alt.aes' \
    '\\server\freigabe\x.txt' 2>/dev/null &
program=$!
xdotool search --sync --onlyvisible --name '^AES256-Marnoq$' >/dev/null
shown="$(probe entries List1 | LC_ALL=C sort | paste -sd '|') / $(probe entries List2)"
[ "$shown" = 'Z:\Daten\brief.txt|Z:\Daten\Übersicht.pdf|\\server\freigabe\x.txt / Z:\Daten\alt.aes' ] ||
    fail "ohne Anführungszeichen gestartet: $shown"
wait_for_focus List1 "beim Start hat kein Steuerelement den Fokus"
echo "Info-Fenster: Escape schließt es, der Fokus kommt zurück"
click Command4
xdotool search --sync --onlyvisible --name '^AES256-Marnoq - Info$' >/dev/null
xdotool key Escape
wait_for_focus Command4 "nach Escape im Info-Fenster hat Command4 den Fokus nicht wieder"
! xdotool search --onlyvisible --name '^AES256-Marnoq - Info$' >/dev/null ||
    fail "Escape schließt das Info-Fenster nicht"
click Command1
wait "$program" || fail "ohne Anführungszeichen gestartet: das Programm endet nicht sauber"

wine "$exe" "$(windows_path "$work/window/brief.bin")" 2>/dev/null &
program=$!
xdotool search --sync --onlyvisible --name '^AES256-Marnoq$' >/dev/null

echo "Verschlüsseln mit Klicks und Tasten"
type_into 'Text3(0)' "$password"
type_into 'Text3(1)' "$password"
click cmdEnc
wait_for_status "EncryptTime"
"$cli" encrypt --password-file "$work/password" "$work/linux/brief.bin" >/dev/null
cmp "$work/window/brief.bin.aes" "$work/linux/brief.bin.aes" ||
    fail "das Fenster schreibt andere Bytes als die Linux-Kommandozeile"

echo "Entschlüsseln"
probe drop decrypt "$(windows_path "$work/window/brief.bin.aes")"
[ "$(probe text Label6)" = "Files: 1" ] || fail "die .aes-Datei kam nicht in die Liste"
type_into 'Text3(2)' "$password"
click cmdDec
wait_for_status "DecryptTime"
cmp "$work/window/brief.bin" "$work/window/brief-dec.bin" || fail "entschlüsselte Datei weicht ab"

echo "Eine Datei ohne .aes auf die untere Liste"
probe drop decrypt "$(windows_path "$work/window/brief.bin")"
expected="Datei: brief.bin|Fehler: Für die Entschlüsselung können nur verschlüsselte Dateien mit der Erweiterung .aes Dateien ausgewählt werden!"
shown=$(probe message) || fail "keine Meldung"
[ "$shown" = "$expected" ] || fail "Meldung: $shown"
xdotool key Return
[ "$(probe text Label6)" = "Files: 1" ] || fail "die abgelehnte Datei steht in der Liste"
wait_for_focus cmdDec "nach der Meldung hat cmdDec den Fokus nicht wieder"

echo "Beenden"
click Command1
for _ in $(seq 100); do
    kill -0 "$program" 2>/dev/null || break
    sleep 0.1
done
! kill -0 "$program" 2>/dev/null || fail "das Programm endet nicht"
program=
echo "Fenstertest bestanden"
