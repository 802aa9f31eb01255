#!/usr/bin/env bash
# The window as a user drives it, under a virtual X server with real key presses (xdotool):
# on the offline quote service, load the symbol shown, type a second symbol and press Enter
# (the title then names it), open the Fichier menu by its mnemonic, and quit with Ctrl+Q (the
# program ends with code 0).
# Usage: tests/desktop-scenario.sh path/to/cotalys
set -euo pipefail
cd "$(dirname "$0")/.."
program=$(realpath "$1")

work=$(mktemp -d)
# The messages of a failure go where the scenario's own errors go, also from inside wait_for.
exec 4>&2
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [ -n "${KEEP_WORK:-}" ] && echo "kept $work" >&2 || rm -rf "$work"
}
trap cleanup EXIT

# Says what failed, with the end of the window's own messages.
fail() {
  echo "Scenario : $*" >&4
  tail -n 20 "$work/window.log" >&4 2>/dev/null || true
  exit 1
}

# Waits up to a minute for the command in "$@" to succeed (a loaded machine and a sanitizer
# build start the window slowly).
wait_for() {
  for _ in $(seq 600); do
    if "$@" >/dev/null 2>&1; then return 0; fi
    sleep 0.1
  done
  return 1
}

# A virtual X server on the first free display.
exec 3> "$work/display"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 2> "$work/xvfb.log" &
pids+=($!)
wait_for test -s "$work/display" || fail "Xvfb n'a pas demarre"
export DISPLAY=":$(head -1 "$work/display")"

# The offline quote service on a free port, and a home of the scenario's own.
"$program" serve-quotes --data data/demo --port 0 --shift-to-today > "$work/service.log" 2>&1 &
pids+=($!)
wait_for grep -q "http://127.0.0.1:" "$work/service.log" || fail "service de cotations absent"
export COTALYS_QUOTE_HOST=$(grep -o 'http://127\.0\.0\.1:[0-9]*' "$work/service.log")
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_STATE_HOME="$work/state"
export XDG_CACHE_HOME="$work/cache" COTALYS_DOCUMENTS_DIR="$work/documents"
# No session bus: nothing is started on the side (an autolaunched bus would outlive the scenario).
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/no-bus"
mkdir -p "$HOME"
unset QT_QPA_PLATFORM

"$program" > "$work/window.log" 2>&1 &
window_pid=$!
pids+=("$window_pid")
window_shown() {
  kill -0 "$window_pid" 2>/dev/null || fail "la fenetre s'est arretee"
  xdotool search --onlyvisible --name "Cotalys|Analyse technique"
}
wait_for window_shown || fail "la fenetre ne s'ouvre pas"
window=$(xdotool search --onlyvisible --name "Cotalys|Analyse technique" | head -1)
xdotool windowfocus --sync "$window"

title_is() { [ "$(xdotool getwindowname "$window")" = "$1" ]; }

# The first symbol: F5 loads what the symbol box holds.
xdotool key F5
wait_for title_is "RNO.PA - Cotalys" ||
  fail "le premier chargement ne finit pas (titre : $(xdotool getwindowname "$window"))"

# A second symbol typed straight away goes into the symbol box; Enter loads it.
xdotool type --delay 40 "AI.PA"
xdotool key Return
wait_for title_is "AI.PA - Cotalys" ||
  fail "le titre ne nomme pas AI.PA : $(xdotool getwindowname "$window")"

# Alt+F opens the Fichier menu: one more visible window of the program; Escape closes it.
before=$(xdotool search --onlyvisible --pid "$window_pid" 2>/dev/null | wc -l)
xdotool key alt+f
wait_for bash -c "[ \$(xdotool search --onlyvisible --pid $window_pid 2>/dev/null | wc -l) -gt $before ]" ||
  fail "Alt+F n'ouvre pas le menu Fichier"
xdotool key Escape Escape

# Ctrl+Q quits with code 0.
xdotool key ctrl+q
for _ in $(seq 100); do
  kill -0 "$window_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$window_pid" 2>/dev/null && fail "Ctrl+Q ne ferme pas la fenetre"
status=0
wait "$window_pid" || status=$?
[ "$status" -eq 0 ] || fail "la fenetre finit avec le code $status"
echo "Scenario de la fenetre : chargement, second symbole au clavier, menu Alt+F, Ctrl+Q : OK"
