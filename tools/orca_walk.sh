#!/bin/bash
# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Walks through the desktop program with the real Orca screen reader listening, and prints
# what Orca said (its SPEECH OUTPUT lines), one step of the walk a block.
#
#   tools/orca_walk.sh [PROGRAM] [> speech.txt]     (PROGRAM: build/quorblex when not given)
#
# Everything runs on a private X server (Xvfb) with openbox, a private session bus and
# accessibility bus, in a temporary home; nothing of the user's desktop is touched. Needs
# xvfb, xdotool, openbox, dbus, at-spi2-core and orca (apt-get install orca openbox; not part
# of ./test.sh). The walk: start; Tab through the main window; a full scan to its results;
# Enter; Setup opened, a box toggled, closed with Escape; the About box; Minimize.
# QUORBLEX_ORCA_LOG=FILE keeps Orca's whole debug log there. Orca runs with its speech
# synthesiser off (it logs what it would say all the same): speech-dispatcher without a sound
# device makes Orca hang at the first interruption.
set -u
program=$(realpath "${1:-build/quorblex}")
[ -x "$program" ] || { echo "no program at $program" >&2; exit 2; }
for tool in Xvfb xdotool openbox orca dbus-daemon; do
  command -v "$tool" >/dev/null || { echo "$tool is missing" >&2; exit 2; }
done

home=$(mktemp -d /tmp/quorblex-orca-XXXXXX)
log=${QUORBLEX_ORCA_LOG:-$home/orca.log}
pids=()
finish() {
  local i
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$home"
}
trap finish EXIT

export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_DATA_HOME=$home/.local/share
export XDG_RUNTIME_DIR=$home/run XDG_CACHE_HOME=$home/.cache LANG=C.UTF-8
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
# Quiet unless QUORBLEX_ORCA_SOUNDS=1: then the cues play (into SDL's dummy driver) and hold
# the program for their length as they would on a sound card. The monitor is off, so that no
# alert comes in the middle of the walk.
sounds=${QUORBLEX_ORCA_SOUNDS:-0}
printf '[Options]\nUseSounds=%s\nMonitor=0\n' "$sounds" >"$XDG_CONFIG_HOME/quorblex.ini"

# Bounded waits only: a step that does not come about ends the walk with a message.
wait_for() {  # SECONDS DESCRIPTION COMMAND...
  local seconds=$1 what=$2
  shift 2
  local until=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $until ] || { echo "gave up waiting for $what" >&2; exit 1; }
    sleep 0.1
  done
}

mkfifo "$home/display"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$home/display" >/dev/null 2>&1 &
pids+=($!)
read -r -t 15 number <"$home/display" || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$number

address=$(dbus-daemon --session --fork --print-address=1 --print-pid=1 | {
  read -r a
  read -r p
  echo "$a $p"
})
pids+=("${address#* }")
export DBUS_SESSION_BUS_ADDRESS=${address% *}
/usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
pids+=($!)
wait_for 10 "the accessibility bus" dbus-send --session --print-reply --dest=org.a11y.Bus \
  /org/a11y/bus org.a11y.Bus.GetAddress
openbox >/dev/null 2>&1 &
pids+=($!)
wait_for 10 "openbox" xprop -root _NET_SUPPORTING_WM_CHECK

orca --replace --disable speech --disable braille --debug-file "$log" >/dev/null 2>&1 &
orca=$!
pids+=($orca)
# Orca's log is written in blocks, so Orca is seen to be up by its place on the bus.
orca_up() {
  /usr/bin/python3 -c 'import pyatspi, sys
d = pyatspi.Registry.getDesktop(0)
sys.exit(0 if any(a is not None and a.name == "orca" for a in d) else 1)'
}
wait_for 60 "Orca" orca_up
sleep 2

# Each step is marked with the time it began; Orca stamps every line of its log the same way.
step() {
  sleep 2
  printf '%s %s\n' "$(date +%H:%M:%S.%6N)" "$*" >>"$home/marks"
}
key() {
  xdotool key --clearmodifiers "$@"
  sleep 1.5
}
window() {  # Waits for a window with this title.
  wait_for "${2:-20}" "the window \"$1\"" xdotool search --onlyvisible --name "^$1\$"
}

step "start"
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 SDL_AUDIODRIVER=dummy "$program" >"$home/program.txt" 2>&1 &
program_pid=$!
pids+=($program_pid)
window "Quorblex Pro"
sleep 3
step "Tab round the main window"
for _ in 1 2 3 4 5 6 7; do key Tab; done  # round to the clip again
step "Alt+S: a full scan"
xdotool key --clearmodifiers alt+s
window "Scan Results" 60
sleep 15  # the results are revealed one by one
step "Enter closes the results"
key Return
step "Alt+T: Setup"
key alt+t
window "Setup"
step "Space toggles Use Sounds"
key space
step "Escape closes Setup"
key Escape
step "Alt+A: the About box"
key alt+a
window "About Quorblex Pro"
step "Enter closes the About box"
key Return
step "Alt+M: Minimize"
key alt+m
step "end"

# Orca writes out the rest of its log as it ends. It hears its signal only when an event wakes
# it: the program leaving the bus is one.
orca_gone() { [ ! -e "/proc/$orca" ] || grep -q '^State:[[:space:]]*Z' "/proc/$orca/status"; }
kill "$orca"
kill "$program_pid"
wait_for 40 "Orca to end" orca_gone

# The speech, one block a step: Orca's SPEECH OUTPUT lines as they are, without their time.
awk -v marks="$home/marks" '
  BEGIN {
    while ((getline line < marks) > 0) {
      n = index(line, " ")
      at[++count] = substr(line, 1, n - 1)
      name[count] = substr(line, n + 1)
    }
  }
  /^[0-9][0-9]:[0-9][0-9]:[0-9][0-9]\.[0-9]* - SPEECH OUTPUT:/ {
    while (shown < count && $1 >= at[shown + 1]) print "== " name[++shown]
    if (!shown || name[shown] == "end") next
    sub(/^.* - SPEECH OUTPUT:/, "SPEECH OUTPUT:")
    print
  }
' "$log"
