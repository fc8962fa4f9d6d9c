#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the program as a packager would with tests off and GoogleTest hidden:
# configure and build must succeed, and no test step may run.
# Usage: build_without_tests.sh SOURCE_DIR BUILD_DIR GENERATOR
set -eu
source=$1 build=$2 generator=$3
rm -rf "$build"
cmake -S "$source" -B "$build" -G "$generator" \
    -DBUILD_TESTING=OFF -DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON >/dev/null
cmake --build "$build" --target la-korvalin
[ -x "$build/ui/la-korvalin" ] || { echo "la-korvalin not built"; exit 1; }
if [ -e "$build/tests" ]; then
    echo "tests configured although BUILD_TESTING=OFF"
    exit 1
fi
if grep -q -- -Werror "$build/CMakeCache.txt" "$build"/build.ninja "$build"/Makefile 2>/dev/null; then
    echo "-Werror is on by default"
    exit 1
fi
