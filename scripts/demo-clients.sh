#!/usr/bin/env bash
# The demo of `make run` without a display: the buggy example programs in
# examples/checkers run under lumox-run and report to the running lumox (the
# address, undefined-behaviour and thread checkers of gcc and clang, and
# Valgrind on a plain build); one of them keeps running, so its session stays
# live. Then the heap-buffer-overflow is selected, as a user would click on it.
# Expects DISPLAY, LUMOX_PORT and LUMOX_WIDGET_DUMP as scripts/run.sh sets them.
# Arguments: the build directory, the PID of the lumox it started, and a file
# to which the PIDs of the clients left running here are added, for
# scripts/run.sh to stop.
set -u
build=$1
lumox_pid=$2
client_pids=$3
run=$build/bin/lumox-run
cd "$build/examples" || exit 0

"$run" ./server-gcc >/dev/null 2>&1 &
echo $! >>"$client_pids"
sleep 0.5
"$run" ./overflow-clang >/dev/null 2>&1
"$run" ./race-gcc >/dev/null 2>&1
"$run" --valgrind ./uninit >/dev/null 2>&1
"$run" ./leaks-gcc >/dev/null 2>&1
sleep 1

# Find the header list and its line height in the program's widget dump.
rm -f "$LUMOX_WIDGET_DUMP"
kill -USR1 "$lumox_pid" || exit 0
for _ in $(seq 1 50); do [ -s "$LUMOX_WIDGET_DUMP" ] && break; sleep 0.1; done
read -r _ _ x y _ _ _ < <(grep 'msgArea.MessageHeaders.MessageHeaders XmDrawingArea' "$LUMOX_WIDGET_DUMP")
cell=$(grep -A1 'msgArea.MessageHeaders.MessageHeaders XmDrawingArea' "$LUMOX_WIDGET_DUMP" | tail -1 | awk '{print $NF}')
line=$(grep -A40 'msgArea.MessageHeaders.MessageHeaders XmDrawingArea' "$LUMOX_WIDGET_DUMP" |
  grep '^| ' | tail -n +2 | grep -n 'heap-buffer-overflow' | head -1 | cut -d: -f1)
if [ -n "${x:-}" ] && [ -n "${line:-}" ] && [ -n "${cell:-}" ]; then
  xdotool mousemove $((x + 120)) $((y + (line - 1) * cell + cell / 2)) click 1
fi
