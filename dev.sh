#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The project's one entry point on a fresh Debian 12 machine:
#   ./dev.sh run      installs what the program needs, builds it alone (preset
#                     "program", in build-program/) and opens the converter
#   ./dev.sh test     installs that and what the tests need, builds the trees of the
#                     presets "dev", "sanitize" and "fuzz", and runs every test
#   ./dev.sh package  installs the same as test, builds la-korvalin_*.deb and
#                     korvalin_*.deb from a clean export into build-package/ and runs lintian
#   ./dev.sh windows  installs the mingw-w64 cross-compiler, Wine and GoogleTest's
#                     sources, cross-builds the core, its tests and korvalin for
#                     Windows (preset "windows", in build-windows/) and runs those tests
#                     under Wine; about a minute of tests, so apart from test
# Re-running any of them on a built tree installs nothing and builds incrementally.
# The trees' options are in CMakePresets.json.
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

# build PRESET: (re)configures the preset's tree, so that its options reach an
# existing tree and a failed configure is retried, then builds it incrementally.
build() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1"
}

passed=0
failed=0
# run_tests PRESET: runs a tree's tests; ctest's exit status says whether they
# passed, its JUnit report gives the counts.
run_tests() {
    local preset=$1 report status=0
    report=$(mktemp)
    ctest --preset "$preset" -j "$(nproc)" --output-junit "$report" || status=$?
    local counts total=0 bad=0
    if counts=$(python3 -c 'import sys, xml.etree.ElementTree as E
r = E.parse(sys.argv[1]).getroot()
print(r.get("tests"), int(r.get("failures")) + int(r.get("errors", 0)))' "$report" 2>/dev/null); then
        read -r total bad <<<"$counts"
    fi
    rm -f "$report"
    if [ "$status" -ne 0 ] && [ "$bad" -eq 0 ]; then
        echo "ctest failed in the tree of $preset" >&2
        bad=1
    fi
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}

case "${1:-}" in
run)
    install_missing "${program_packages[@]}"
    build program
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "No display to open the window on: run this from a desktop session" >&2
        echo "(or under a virtual one: xvfb-run ./dev.sh run)." >&2
        exit 1
    fi
    exec build-program/ui/la-korvalin
    ;;
test)
    install_missing "${program_packages[@]}" "${test_packages[@]}"
    for preset in dev sanitize fuzz; do
        build "$preset"
    done
    for preset in dev sanitize fuzz; do
        run_tests "$preset"
    done
    # Lint counts as one test: clang-format, shellcheck, clang-tidy.
    if tests/lint/run_lint.sh build build-fuzz; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
    fi
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
    build windows
    ctest --preset windows
    ;;
*)
    echo "usage: $0 run|test|package|windows" >&2
    exit 2
    ;;
esac
