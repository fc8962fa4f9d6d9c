#!/usr/bin/env bash
# The project's one entry point on a fresh Debian 12 machine:
#   ./dev.sh run    installs what is missing, builds, and opens the converter
#   ./dev.sh test   installs what is missing, builds, and runs every test
# Re-running either on a built tree installs nothing and builds incrementally.
set -euo pipefail
cd "$(dirname "$0")"

packages=(
    g++ cmake ninja-build locales
    qt6-base-dev qt6-qpa-plugins fonts-liberation fonts-lato
    libgtest-dev libbenchmark-dev
    clang libclang-rt-14-dev
    xvfb xdotool xclip imagemagick python3 python3-xlib
    desktop-file-utils appstream
    qt6-translations-l10n at-spi2-core dbus python3-gi gir1.2-atspi-2.0
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
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
}

# build DIR [cmake options...]: configures once, then builds incrementally.
build() {
    local dir=$1
    shift
    [ -f "$dir/CMakeCache.txt" ] || cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir"
}

passed=0
failed=0
# run_tests DIR [ctest options...]: runs a tree's tests and adds up its counts.
run_tests() {
    local dir=$1 log
    shift
    log=$(mktemp)
    ctest --test-dir "$dir" --output-on-failure -j "$(nproc)" "$@" | tee "$log" || true
    local summary
    summary=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
    rm -f "$log"
    if [ -z "$summary" ]; then
        echo "no test summary from $dir" >&2
        failed=$((failed + 1))
        return
    fi
    local bad total
    bad=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$summary")
    total=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$summary")
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
    build build-sanitize -DKORVALIN_SANITIZE=ON -DKORVALIN_WITH_UI=OFF -DKORVALIN_BENCH=OFF
    build build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DKORVALIN_FUZZ=ON -DKORVALIN_WITH_UI=OFF
    run_tests build
    run_tests build-sanitize
    run_tests build-fuzz --verbose
    echo "tests: $passed passed, $failed failed"
    [ "$failed" -eq 0 ]
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
