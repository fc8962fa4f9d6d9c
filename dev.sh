#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The project's one entry point on a fresh Debian 12 machine:
#   ./dev.sh run    installs what is missing, builds, and opens the converter
#   ./dev.sh test   installs what is missing, builds, and runs every test
#   ./dev.sh package  installs what is missing, builds la-korvalin_1.00_amd64.deb
#                     from a clean export into build-package/ and runs lintian
# Re-running any of them on a built tree installs nothing and builds incrementally.
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    g++ cmake ninja-build locales
    qt6-base-dev qt6-qpa-plugins fonts-liberation fonts-lato
    libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xdotool xclip imagemagick python3 python3-xlib
    desktop-file-utils appstream
    weston qt6-wayland dbus-daemon at-spi2-core python3-gi gir1.2-atspi-2.0
    git build-essential debhelper dpkg-dev lintian man-db appstream-compose
    clang-format clang-tidy shellcheck
    qt6-translations-l10n dbus
)

install_missing() {
    local missing=() package
    for package in "${packages[@]}"; do
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

# build DIR [cmake options...]: (re)configures with the given options, so that they
# reach an existing tree and a failed configure is retried, then builds incrementally.
build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja -DKORVALIN_WERROR=ON "$@" >/dev/null
    cmake --build "$dir"
}

passed=0
failed=0
# run_tests DIR [ctest options...]: runs a tree's tests; ctest's exit status says
# whether they passed, its JUnit report gives the counts.
run_tests() {
    local dir=$1 report status=0
    shift
    report=$(mktemp)
    ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" --output-junit "$report" "$@" ||
        status=$?
    local counts total=0 bad=0
    if counts=$(python3 -c 'import sys, xml.etree.ElementTree as E
r = E.parse(sys.argv[1]).getroot()
print(r.get("tests"), int(r.get("failures")) + int(r.get("errors", 0)))' "$report" 2>/dev/null); then
        read -r total bad <<<"$counts"
    fi
    rm -f "$report"
    if [ "$status" -ne 0 ] && [ "$bad" -eq 0 ]; then
        echo "ctest failed in $dir" >&2
        bad=1
    fi
    passed=$((passed + total - bad))
    failed=$((failed + bad))
}

case "${1:-}" in
run)
    install_missing
    build build
    if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
        echo "No display to open the window on: run this from a desktop session" >&2
        echo "(or under a virtual one: xvfb-run ./dev.sh run)." >&2
        exit 1
    fi
    exec build/ui/la-korvalin
    ;;
test)
    install_missing
    build build
    build build-sanitize -DKORVALIN_SANITIZE=ON -DKORVALIN_WITH_UI=ON -DKORVALIN_BENCH=OFF
    build build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DKORVALIN_FUZZ=ON -DKORVALIN_WITH_UI=OFF
    run_tests build
    run_tests build-sanitize
    run_tests build-fuzz --verbose
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
    install_missing
    packaging/build-deb.sh build-package
    printf 'package: %s\n' build-package/la-korvalin_*.deb
    ;;
*)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
