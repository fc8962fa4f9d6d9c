#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The project's one entry point on a fresh Debian 12 machine: it installs what is
# missing, then runs a workflow of CMakePresets.json, which holds each tree's options.
#   ./dev.sh run      the program alone (workflow "program", in build-program/), opened
#   ./dev.sh test     the workflows "dev", "sanitize", "fuzz" and "lint": every tree's
#                     tests, and the lint, then the counts of them all
#   ./dev.sh package  la-korvalin_*.deb and korvalin_*.deb from a clean export into
#                     build-package/, checked by lintian
#   ./dev.sh windows  workflow "windows": the core, its tests and korvalin cross-built
#                     with mingw-w64 in build-windows/, the tests under Wine (a minute)
# Re-running any of them on a built tree installs nothing and builds incrementally.
set -euo pipefail
cd "$(dirname "$0")"

# What building and running the program needs: the compiler and Qt, Qt's Wayland
# plugin for a Wayland desktop, Qt's own French texts, the window's faces, and a face
# with the pictures of control characters that a message's quote may show.
program_packages=(
    g++ cmake ninja-build
    qt6-base-dev qt6-wayland qt6-translations-l10n fonts-liberation fonts-lato
    fonts-freefont-ttf
)
# What the tests, benchmarks, lint and package build need besides.
test_packages=(
    locales libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xdotool xclip imagemagick python3 python3-xlib
    desktop-file-utils appstream
    weston dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
    git build-essential debhelper dpkg-dev lintian man-db appstream-compose bash-completion
    clang-format clang-tidy shellcheck
    dbus
)

# What the Windows cross-build and its tests under Wine need.
windows_packages=(cmake ninja-build python3 g++-mingw-w64-x86-64-posix googletest wine64)

# install_missing PACKAGE...: installs those of the packages that are not installed.
install_missing() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}\n' "$package" 2>/dev/null | grep -q '^install ok installed$' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -q
    $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
}

case "${1:-}" in
run)
    install_missing "${program_packages[@]}"
    cmake --workflow --preset program
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "No display to open the window on: run this from a desktop session" >&2
        echo "(or under a virtual one: xvfb-run ./dev.sh run)." >&2
        exit 1
    fi
    exec build-program/ui/la-korvalin
    ;;
test)
    install_missing "${program_packages[@]}" "${test_packages[@]}"
    export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
    log=$(mktemp)
    trap 'rm -f "$log"' EXIT
    passed=0 failed=0
    for preset in dev sanitize fuzz lint; do
        status=0
        cmake --workflow --preset "$preset" 2>&1 | tee "$log" || status=$?
        # ctest's closing line: "100% tests passed, 0 tests failed out of 412".
        read -r ok bad < <(awk '/tests failed out of/ { t = $NF; f = $4 } END { print t - f, f + 0 }' "$log")
        if [ "$status" -ne 0 ] && [ "$bad" -eq 0 ]; then
            echo "the tree of $preset failed before its tests did" >&2
            bad=1
        fi
        passed=$((passed + ok)) failed=$((failed + bad))
    done
    echo "tests: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    ;;
package)
    install_missing "${program_packages[@]}" "${test_packages[@]}"
    packaging/build-deb.sh build-package
    printf 'package: %s\n' build-package/*.deb
    ;;
windows)
    install_missing "${windows_packages[@]}"
    cmake --workflow --preset windows
    ;;
*)
    echo "usage: $0 run|test|package|windows" >&2
    exit 2
    ;;
esac
