# SPDX-FileCopyrightText: 2026 Quorblex Instrument Works
# SPDX-License-Identifier: GPL-3.0-or-later
# Where a run's time goes: each stage of ./test.sh notes when it began and ended, in the
# foreground or beside it, and stage_table prints them as a table at the end. Sourced by test.sh.
#
#   stage_begin NAME / stage_end NAME    a stage in the foreground
#   stage_run NAME COMMAND...            runs COMMAND as a stage (put it in the background with &);
#                                        its status is the command's, and the CPU time of its
#                                        processes is noted (a daemon that outlives them, such as
#                                        Wine's server, is not counted)
#   stage_table                          stage, start, wall and CPU seconds, and what ran beside it
#
# Stages may nest or overlap in any way: "beside it" names every other stage whose time shares
# at least a second with this one's, nesting included.
STAGE_LOG=${STAGE_LOG:-$(mktemp /tmp/quorblex-stages-XXXXXX)}
STAGE_ORIGIN=${STAGE_ORIGIN:-$EPOCHREALTIME}
export STAGE_LOG STAGE_ORIGIN

# One line a mark: begin|end, the time, the stage's name. Lines are short, so appends from
# stages in the background never interleave.
stage_mark() { printf '%s %s %s\n' "$1" "$EPOCHREALTIME" "$2" >>"$STAGE_LOG"; }
stage_begin() { stage_mark begin "$1"; }
stage_end() { stage_mark end "$1"; }

stage_run() {
  local name=$1 status=0
  shift
  stage_begin "$name"
  # In a subshell of its own, so that `times` counts this stage's processes alone.
  (
    "$@" || status=$?
    # The second line of `times` is the user and system time of the processes waited for, each
    # as 1m2.345s. (Written to a file: in a pipe, `times` would run in a child of its own.)
    times >"$STAGE_LOG.$BASHPID"
    awk -v name="$name" 'NR == 2 {
      split($1, u, /[ms]/); split($2, s, /[ms]/)
      printf "cpu %.1f %s\n", u[1] * 60 + u[2] + s[1] * 60 + s[2], name }' \
      "$STAGE_LOG.$BASHPID" >>"$STAGE_LOG"
    rm -f "$STAGE_LOG.$BASHPID"
    exit "$status"
  ) || status=$?
  stage_end "$name"
  return "$status"
}

stage_table() {
  awk -v origin="$STAGE_ORIGIN" -v now="$EPOCHREALTIME" '
    { name = $0; sub(/^[^ ]+ [^ ]+ /, "", name) }
    $1 == "begin" { order[++n] = name; from[name] = $2 - origin }
    $1 == "end"   { to[name] = $2 - origin }
    $1 == "cpu"   { cpu[name] = $2 }
    END {
      printf "%-38s %7s %7s %6s  %s\n", "stage", "start s", "wall s", "CPU s", "beside it"
      for (i = 1; i <= n; i++) {
        a = order[i]
        end_a = (a in to) ? to[a] : now - origin
        beside = ""
        for (j = 1; j <= n; j++) {
          b = order[j]
          if (a == b) continue
          end_b = (b in to) ? to[b] : now - origin
          # Overlapping by a second or more: a stage that starts as another ends is not beside it.
          lo = from[a] > from[b] ? from[a] : from[b]
          hi = end_a < end_b ? end_a : end_b
          if (hi - lo >= 1) beside = beside (beside == "" ? "" : ", ") b
        }
        printf "%-38s %7.0f %7.0f %6s  %s%s\n", a, from[a], end_a - from[a],
               (a in cpu) ? sprintf("%.0f", cpu[a]) : "", (a in to) ? "" : "(unfinished) ", beside
      }
    }' "$STAGE_LOG"
}
