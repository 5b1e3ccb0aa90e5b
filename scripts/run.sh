#!/usr/bin/env bash
# Installs what is missing, builds Ondrava and runs it. Without a display it runs on a private
# Xvfb + openbox.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DONDRAVA_TESTS=OFF
cmake --build build

if [ -z "${DISPLAY:-}" ]; then
    source scripts/display.sh
    trap stop_private_display EXIT
    trap 'exit 130' INT TERM
    start_private_display 1920x1080x24
    echo "No display found: Ondrava runs on a private X server at $DISPLAY (Xvfb + openbox)."
fi
build/ondrava "$@"
