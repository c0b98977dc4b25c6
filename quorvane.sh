#!/usr/bin/env bash
# Installs what is missing, builds, and then runs the program, the tests or
# the benchmark:
#   ./quorvane.sh run     build and start Quorvane
#   ./quorvane.sh test    build and run every test
#   ./quorvane.sh bench   build and run the retrieval benchmark
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES="cmake ninja-build g++ pkg-config qt6-base-dev librtmidi-dev libgtest-dev python3-mido"

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

case "${1:-run}" in
  run)
    install_missing
    build
    exec ./build/quorvane
    ;;
  test)
    install_missing
    build
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
    ;;
  bench)
    install_missing
    build
    exec ./build/bench/retrieval_bench
    ;;
  *)
    echo "usage: $0 [run|test|bench]" >&2
    exit 2
    ;;
esac
