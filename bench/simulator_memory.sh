#!/usr/bin/env bash
# Memory of Velmora running the simulator as a user does: the generated
# 1,000,000-line program opened, "Simulace Heidenhain 407 ISO" chosen from the
# menu, a continuous run (F9) and its path drawn, on a real X server (xvfb-run)
# driven with xdotool. Reads /proc/PID/status once the peak has not moved for
# two seconds: before the simulator, and with its window and the path.
#   bench/simulator_memory.sh [BUILD_DIR=build]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${VELMORA_MEMORY_X:-}" ]; then
  VELMORA_MEMORY_X=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" env -u QT_QPA_PLATFORM "$0" "$@"
fi
command -v xdotool >/dev/null || { echo "needs xdotool (apt-get install xdotool)" >&2; exit 1; }
build=${1:-build}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# bench_simulator writes the generated program as $TMPDIR/velmora_sim.nc.
TMPDIR=$work QT_QPA_PLATFORM=offscreen "$build/bench/bench_simulator" --benchmark_filter=BM_CliSimulateRunSummary \
  --benchmark_min_time=0 >/dev/null 2>&1 || true
[ -s "$work/velmora_sim.nc" ] || { echo "the program was not written" >&2; exit 1; }
. bench/settle.sh
mkdir -p "$work/home"
HOME="$work/home" "$build/Velmora/Velmora" "$work/velmora_sim.nc" &
pid=$!
echo "$(stat -c %s "$work/velmora_sim.nc") bytes, $(wc -l < "$work/velmora_sim.nc") lines"
echo "the program open:"; settle $pid
# The main window (its title holds the version), its "Simulace" menu, then the item.
win=$(xdotool search --sync --pid $pid --name "verze" | head -1)
read -r wx wy < <(xdotool getwindowgeometry --shell "$win" | awk -F= '/^X=/ {x=$2} /^Y=/ {y=$2} END {print x, y}')
xdotool mousemove $((wx + 410)) $((wy + 9)) click 1
sleep 1
xdotool mousemove $((wx + 460)) $((wy + 30)) click 1
xdotool search --sync --onlyvisible --pid $pid --name "Simulace Heidenhain" >/dev/null
echo "the simulator window open:"; settle $pid
# "Plynule" from the simulator window's own "Simulace" menu (the window stands at the top left).
xdotool mousemove 95 9 click 1
sleep 1
xdotool mousemove 130 53 click 1
sleep 1
echo "after the run, at the \"Ok\" of M30:"; settle $pid
xdotool key Return
sleep 1
echo "with the path drawn and its reduced picture built:"; settle $pid
[ -n "${VELMORA_MEMORY_SHOT:-}" ] && import -window root "$VELMORA_MEMORY_SHOT"
kill $pid; wait $pid 2>/dev/null || true
