#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# clang-format and shellcheck over the files git knows; any finding fails. clang-tidy
# runs as the lint tree compiles. Usage: run_lint.sh SOURCE_DIR
set -eu
cd "$1"
status=0
# shellcheck disable=SC2046 # one file name a word; none holds a space
clang-format --dry-run --Werror $(git ls-files '*.cpp' '*.h') || status=1
# Shell scripts by their first line, so that new ones are checked too.
# shellcheck disable=SC2046
shellcheck $(git ls-files | xargs awk '{ if (FNR == 1 && /^#!.*(\/|env )(ba)?sh( |$)/)
    print FILENAME; nextfile }') || status=1
exit "$status"
