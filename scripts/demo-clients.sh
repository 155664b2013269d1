#!/usr/bin/env bash
# The demo of `make run` without a display: three programs report to the
# running lumox with lumox-send (one of them finishes and signs off), then a
# message with a stack trace is selected, as a user would click on it.
# Expects DISPLAY, LUMOX_PORT and LUMOX_WIDGET_DUMP as scripts/run.sh sets them.
set -u
build=$1
here=$(cd "$(dirname "$0")" && pwd)
send=$build/bin/lumox-send

"$send" --quiet --program netserver --wait "$here/demo/server.txt" &
"$send" --quiet --program parser "$here/demo/parser.txt"
"$send" --quiet --program cli-tool --wait "$here/demo/tool.txt" &
sleep 1.5

# Find the header list and its line height in the program's widget dump.
pid=$(pgrep -n -f "$build/bin/lumox\$" || true)
[ -n "$pid" ] || exit 0
rm -f "$LUMOX_WIDGET_DUMP"
kill -USR1 "$pid"
for _ in $(seq 1 50); do [ -s "$LUMOX_WIDGET_DUMP" ] && break; sleep 0.1; done
read -r _ _ x y _ _ _ < <(grep 'msgArea.MessageHeaders.MessageHeaders XmDrawingArea' "$LUMOX_WIDGET_DUMP")
cell=$(grep -A1 'msgArea.MessageHeaders.MessageHeaders XmDrawingArea' "$LUMOX_WIDGET_DUMP" | tail -1 | awk '{print $NF}')
line=$(grep -A40 'msgArea.MessageHeaders.MessageHeaders XmDrawingArea' "$LUMOX_WIDGET_DUMP" |
  grep '^| ' | tail -n +2 | grep -n 'ABW' | head -1 | cut -d: -f1)
if [ -n "${x:-}" ] && [ -n "${line:-}" ] && [ -n "${cell:-}" ]; then
  xdotool mousemove $((x + 120)) $((y + (line - 1) * cell + cell / 2)) click 1
fi
