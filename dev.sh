#!/usr/bin/env bash
# Velmora set-up: installs what is missing, builds, and runs the program or the tests.
#   ./dev.sh run [FILE...]   build and start Velmora (on the shipped example program by default)
#   ./dev.sh test            build and run every test (GUI tests under xvfb-run)
# Environment: BUILD_DIR (default build); `test` also builds and runs the tests with
# AddressSanitizer and UndefinedBehaviorSanitizer in BUILD_DIR-asan (VELMORA_SANITIZE=0 skips it).
set -euo pipefail
cd "$(dirname "$0")"
root=$(pwd)
build=${BUILD_DIR:-$root/build}

packages=(cmake ninja-build g++ ccache pkg-config qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-serialport-dev
  libqscintilla2-qt6-dev libglu1-mesa-dev libgl-dev libjpeg62-turbo-dev libgtest-dev libbenchmark-dev
  xvfb xauth socat poppler-utils fonts-dejavu-core libgl1-mesa-dri x11-utils imagemagick qt6-translations-l10n)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
  else
    echo "Missing packages. Run as root:"
    echo "  apt-get install --no-install-recommends ${missing[*]}"
    exit 1
  fi
}

configure_and_build() {
  local dir=$1; shift
  cmake -S "$root" -B "$dir" -G Ninja "$@" >/dev/null
  cmake --build "$dir"
}

cmd=${1:-}
[ $# -gt 0 ] && shift
case "$cmd" in
  run)
    install_missing
    configure_and_build "$build"
    if [ $# -eq 0 ]; then set -- "$build/Velmora/priklady/ukazka_iso.nc"; fi
    exec "$build/Velmora/Velmora" "$@"
    ;;
  test)
    install_missing
    configure_and_build "$build"
    export QT_QPA_PLATFORM=offscreen
    # GUI tests that need a real X server (OpenGL, screenshots) run under xvfb-run.
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build" --output-on-failure -j2
    if [ "${VELMORA_SANITIZE:-1}" = 1 ]; then
      configure_and_build "$build-asan" -DVELMORA_SANITIZE=ON -DVELMORA_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
      # Any report fails the run; leaks are not checked (Qt keeps caches to the end of the process).
      ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$build-asan" --output-on-failure -j2
    fi
    ;;
  *)
    sed -n '2,5p' "$0"
    exit 2
    ;;
esac
