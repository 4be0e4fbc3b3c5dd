#!/usr/bin/env bash
# Installs what Odrivo needs on Debian 12, builds it, and then runs it or its tests.
#   tools/odrivo.sh run    build (release) and start Odrivo
#   tools/odrivo.sh test   build with AddressSanitizer + UBSan and run every test
#   tools/odrivo.sh package   build (release, installed under /usr) the Debian package odrivo_*.deb
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
mode=${1:-}
case "$mode" in run|test|package) ;; *) echo "usage: $0 run|test|package" >&2; exit 2;; esac

packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-base-dev-tools libqt6svg6-dev libgl-dev fonts-liberation
          libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev)
# dpkg-dev: dpkg-shlibdeps, which names the Qt runtime packages the programs need.
[ "$mode" = package ] && packages+=(dpkg-dev file)
# The validators of the desktop entry and the AppStream metadata run as tests.
[ "$mode" = test ] && packages+=(xvfb xauth poppler-utils sqlite3 desktop-file-utils appstream dpkg-dev file)

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
elif [ "$mode" = package ]; then
    build="$here/build-package"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
          -DODRIVO_TESTS=OFF -DODRIVO_BENCH=OFF -DODRIVO_SANITIZE=OFF
    cmake --build "$build" -j "$jobs"
    (cd "$build" && rm -f odrivo_*.deb && cpack -G DEB)
    ls "$build"/odrivo_*.deb
else
    build="$here/build-test"
    cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DODRIVO_SANITIZE=ON
    cmake --build "$build" -j "$jobs"
    cd "$build"
    ctest --output-on-failure -j "$jobs"
fi
