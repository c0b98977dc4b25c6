#!/usr/bin/env bash
# Installs what is missing, builds, and then runs the program, the tests or
# the benchmark:
#   ./quorvane.sh run     build and start Quorvane (the program alone)
#   ./quorvane.sh test    build and run every test, with GCC and again with
#                         Clang and the address and undefined-behaviour sanitizers
#   ./quorvane.sh bench   build and run the retrieval and workspace benchmarks
set -euo pipefail
cd "$(dirname "$0")"

# What the program needs.
RUN_PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev librtmidi-dev"
# What the tests and the benchmarks add: a second compiler with its
# sanitizer runtimes, a JACK server, GoogleTest and mido.
TEST_PACKAGES="clang libclang-rt-dev jackd2 libjack-jackd2-dev libgtest-dev python3-mido"
# jackd2, its library and librtmidi-dev go in together: librtmidi-dev alone
# brings the other JACK's library, and a later jackd2 would remove it again.
JACK_TOGETHER="jackd2 libjack-jackd2-dev librtmidi-dev"

install_missing() {
  local missing=() p
  for p in "$@"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  for p in "${missing[@]}"; do
    if [[ " $JACK_TOGETHER " == *" $p "* ]]; then
      missing+=($JACK_TOGETHER)
      break
    fi
  done
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
    $(printf '%s\n' "${missing[@]}" | sort -u)
}

JOBS="$(nproc)"

# The program alone.
build_program() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=g++ \
    -DQUORVANE_BUILD_TESTS=OFF -DQUORVANE_BUILD_BENCH=OFF
  cmake --build build --parallel "$JOBS" --target quorvane
}

# Everything, tests and benchmarks included, in build/ with GCC, warnings
# as errors.
build_all() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=g++ -DQUORVANE_WERROR=ON -DQUORVANE_BUILD_TESTS=ON -DQUORVANE_BUILD_BENCH=ON
  cmake --build build --parallel "${1:-$JOBS}"
}

# Every test once more, built by Clang with AddressSanitizer and
# UndefinedBehaviorSanitizer in a folder of their own; any report fails.
build_sanitized() {
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ \
    -DQUORVANE_WERROR=ON -DQUORVANE_BUILD_TESTS=ON -DQUORVANE_BUILD_BENCH=OFF \
    -DCMAKE_CXX_FLAGS="-O1 -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
  cmake --build build-asan --parallel "${1:-$JOBS}"
}

run_tests() {
  (cd "$1" && ctest --output-on-failure --parallel "$JOBS")
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
  rm -f "/dev/shm/jack_${JACK_DEFAULT_SERVER:-default}_0_0"  # left by a server that was killed
  # With no JACK server running at all, JACK's shared memory is what killed
  # servers left behind: JACK keeps room for only a few servers and would
  # refuse a new one with "Too many servers already active".
  if ! pgrep -x jackd >/dev/null 2>&1; then
    rm -rf /dev/shm/jack-shm-registry /dev/shm/jack-[0-9]* /dev/shm/jack_db-[0-9]* /dev/shm/jack_*_0_0
  fi
  # -p 64 keeps the server's shared memory under 64 MB.
  jackd ${JACK_DEFAULT_SERVER:+-n "$JACK_DEFAULT_SERVER"} --no-realtime -p 64 -d dummy -r 48000 -p 256 \
    >build/jackd.log 2>&1 &
  JACKD_PID=$!
  trap stop_jack EXIT
  trap 'stop_jack; exit 130' INT TERM
  # A busy machine may take long to start it: up to a minute, unless it failed.
  for _ in $(seq 1 1200); do
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
    install_missing $RUN_PACKAGES
    build_program
    exec ./build/quorvane
    ;;
  test)
    install_missing $RUN_PACKAGES $TEST_PACKAGES
    # The two builds run side by side; the sanitized one, the longer, has
    # twice the jobs. Its output is shown when it fails.
    mkdir -p build-asan
    build_sanitized "$JOBS" >build-asan/build.log 2>&1 &
    sanitized=$!
    if ! build_all $(( (JOBS + 1) / 2 )); then
      wait "$sanitized" || true
      exit 1
    fi
    if ! wait "$sanitized"; then
      tail -n 100 build-asan/build.log >&2
      exit 1
    fi
    export QT_QPA_PLATFORM=offscreen
    export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    start_jack
    run_tests build
    run_tests build-asan
    ;;
  bench)
    install_missing $RUN_PACKAGES $TEST_PACKAGES
    build_all
    start_jack
    ./build/bench/retrieval_bench
    ./build/bench/workspace_bench
    ;;
  *)
    echo "usage: $0 [run|test|bench]" >&2
    exit 2
    ;;
esac
