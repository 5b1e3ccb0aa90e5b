#!/usr/bin/env bash
# Installs what is missing, builds with clang, AddressSanitizer + UndefinedBehaviorSanitizer and
# runs the whole test suite: unit tests offscreen, X11 tests on a private Xvfb + openbox, and a
# minute of fuzzing the open path.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DONDRAVA_SANITIZE=ON \
    -DCMAKE_CXX_COMPILER=clang++
cmake --build build-asan

source scripts/display.sh
trap stop_private_display EXIT
trap 'exit 130' INT TERM
start_private_display 1920x1080x24

export ASAN_OPTIONS=detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure -j2
