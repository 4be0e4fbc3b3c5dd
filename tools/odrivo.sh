#!/usr/bin/env bash
# Installs what Odrivo needs on Debian 12, builds it, and then runs it or its tests.
#   tools/odrivo.sh run    build (release) and start Odrivo
#   tools/odrivo.sh test   build with AddressSanitizer + UBSan and run every test
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-}
case "$mode" in run|test) ;; *) echo "usage: $0 run|test" >&2; exit 2;; esac

packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-base-dev-tools libqt6svg6-dev libgl-dev fonts-liberation
          libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev)
[ "$mode" = test ] && packages+=(xvfb xauth poppler-utils sqlite3)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)
if [ "$mode" = run ]; then
    build="$here/build"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DODRIVO_TESTS=OFF -DODRIVO_BENCH=OFF
    cmake --build "$build" -j "$jobs" --target odrivo odrivo-cli
    exec "$build/src/odrivo"
else
    build="$here/build-test"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DODRIVO_SANITIZE=ON
    cmake --build "$build" -j "$jobs"
    cd "$build"
    ctest --output-on-failure -j "$jobs"
fi
