#!/usr/bin/env bash
# Installs what is missing, builds, and then runs the program, the tests or
# the benchmark:
#   ./quorvane.sh run     build and start Quorvane
#   ./quorvane.sh test    build and run every test
#   ./quorvane.sh bench   build and run the retrieval and workspace benchmarks
set -euo pipefail
cd "$(dirname "$0")"

# jackd2, its library and librtmidi-dev go in together: installing jackd2
# alone would remove librtmidi-dev.
PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev jackd2 libjack-jackd2-dev librtmidi-dev libgtest-dev python3-mido"

install_missing() {
  local missing=()
  for p in $PACKAGES; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
  cmake --build build --parallel "$(nproc)"
}

# The plain C++ tests once more, built with AddressSanitizer and
# UndefinedBehaviorSanitizer in a folder of their own.
sanitized_tests() {
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
  cmake --build build-asan --parallel "$(nproc)" --target core_tests
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 QT_QPA_PLATFORM=offscreen \
    ./build-asan/tests/core_tests --gtest_brief=1
}

# The tests over real MIDI ports run on a JACK server with its dummy driver,
# a MIDI system in user space. One already running is used and left alone.
JACKD_PID=""
jack_server_answers() { [ "$(jack_wait -c 2>/dev/null)" = running ]; }

start_jack() {
  if jack_server_answers; then
    echo "using the JACK server already running"
    return 0
  fi
  rm -f /dev/shm/jack_default_0_0  # left by a server that was killed
  # -p 64 keeps the server's shared memory under 64 MB.
  jackd --no-realtime -p 64 -d dummy -r 48000 -p 256 >build/jackd.log 2>&1 &
  JACKD_PID=$!
  trap stop_jack EXIT
  trap 'stop_jack; exit 130' INT TERM
  for _ in $(seq 1 100); do
    jack_server_answers && return 0
    kill -0 "$JACKD_PID" 2>/dev/null || break
    sleep 0.05
  done
  echo "the JACK server did not start (see build/jackd.log); the tests over real ports will be skipped" >&2
  stop_jack
}

stop_jack() {
  if [ -n "$JACKD_PID" ]; then
    kill "$JACKD_PID" 2>/dev/null || true
    wait "$JACKD_PID" 2>/dev/null || true
    JACKD_PID=""
  fi
}

case "${1:-run}" in
  run)
    install_missing
    build
    exec ./build/quorvane
    ;;
  test)
    install_missing
    build
    sanitized_tests
    start_jack
    (cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)")
    ;;
  bench)
    install_missing
    build
    start_jack
    ./build/bench/retrieval_bench
    ./build/bench/workspace_bench
    ;;
  *)
    echo "usage: $0 [run|test|bench]" >&2
    exit 2
    ;;
esac
