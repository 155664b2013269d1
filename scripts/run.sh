#!/usr/bin/env bash
# Starts lumox from the build tree. With DISPLAY set it runs there until you
# quit it. Without a display it runs a demo on a private Xvfb, saves a
# screenshot in the build directory, prints its path and stops what it started.
set -euo pipefail
build=${1:-build}
build=$(cd "$build" && pwd)
bin=$build/bin
export QUENTAR=${QUENTAR:-$build/home}

if [ -n "${DISPLAY:-}" ]; then
  exec "$bin/lumox"
fi

# Only what this script started is stopped: the clients the demo started
# (their PIDs in a file), lumox, Xvfb.
xvfb_pid=""
lumox_pid=""
client_pids=$build/lumox-demo.pids
: >"$client_pids"
cleanup() {
  while read -r pid; do kill "$pid" 2>/dev/null || true; done <"$client_pids"
  [ -n "$lumox_pid" ] && kill "$lumox_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  wait 2>/dev/null || true
  rm -f "$client_pids"
}
trap cleanup EXIT

# Xvfb picks a free display number and tells us through a pipe.
exec 3< <(Xvfb -displayfd 1 -screen 0 1024x768x24 -nolisten tcp 2>/dev/null & echo "pid $!")
read -r _ xvfb_pid <&3
read -r -t 15 dnum <&3 || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=:$dnum

# A port range of its own, so a lumox running elsewhere is not disturbed.
export LUMOX_PORT=${LUMOX_PORT:-$(( 40000 + RANDOM % 10000 ))}

export LUMOX_WIDGET_DUMP=$build/lumox-demo-widgets.txt
"$bin/lumox" >"$build/lumox-demo.log" 2>&1 &
lumox_pid=$!
for _ in $(seq 1 100); do
  if xdotool search --onlyvisible --name '^Lumox$' >/dev/null 2>&1; then break; fi
  sleep 0.1
done

demo=$(dirname "$0")/demo-clients.sh
if [ -x "$demo" ]; then
  "$demo" "$build" "$lumox_pid" "$client_pids" || true
fi
sleep 1

shot=$build/lumox-screenshot.png
import -window root "$shot"
echo "Screenshot: $shot"
