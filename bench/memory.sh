#!/usr/bin/env bash
# Peak and resident memory of Velmora with a 1,000,000-line program open, as a
# user opens it (a real X server under xvfb-run, the program started with the
# file). Waits until the peak has not moved for two seconds, then reads
# /proc/PID/status and stops the program.
#   bench/memory.sh [BUILD_DIR=build] [LINES=1000000]
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${VELMORA_MEMORY_X:-}" ]; then
  VELMORA_MEMORY_X=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" env -u QT_QPA_PLATFORM "$0" "$@"
fi
build=${1:-build}
lines=${2:-1000000}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work/big.nc" "$lines" <<'PY'
import sys
with open(sys.argv[1], 'wb') as f:
    f.write(b''.join(b'N%d G01 X+12.345 Y-67.89 F200\r\n' % (i * 10) for i in range(int(sys.argv[2]))))
PY
. bench/settle.sh
measure() {
  HOME="$work/home" "$build/Velmora/Velmora" "$@" &
  local pid=$!
  settle $pid
  kill $pid; wait $pid 2>/dev/null || true
}
mkdir -p "$work/home"
echo "$(stat -c %s "$work/big.nc") bytes, $lines lines"
echo "without a program:"; measure
echo "with the program open:"; measure "$work/big.nc"
