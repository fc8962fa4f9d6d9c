#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Lint: clang-format, shellcheck and clang-tidy (.clang-tidy) over the project's own
# files; any finding fails. Needs a configured build tree for clang-tidy's
# compile_commands.json, and a git checkout to know the project's files.
# Usage: run_lint.sh BUILD_DIR [FUZZ_BUILD_DIR]
set -eu
build=$(realpath "$1")
fuzz_build=${2:+$(realpath "$2")}
cd "$(dirname "$0")/../.."
jobs=$(nproc)
status=0

cxx_files=$(git ls-files '*.cpp' '*.h')

echo "clang-format: $(echo "$cxx_files" | wc -l) files"
# shellcheck disable=SC2086 # one file name a word; none holds a space
clang-format --dry-run --Werror $cxx_files || status=1

# Shell scripts by their first line, so that new ones are checked too.
shell_files=$(git ls-files | while read -r file; do
    if [ -f "$file" ] && head -n 1 "$file" | grep -Eq '^#!.*(/|env )(ba)?sh\b'; then
        echo "$file"
    fi
done)
echo "shellcheck: $(echo "$shell_files" | wc -l) files"
# shellcheck disable=SC2086
shellcheck $shell_files || status=1

# clang-tidy on every translation unit of ours that a build tree compiles.
tidy() {
    db=$1
    shift
    # One file a run, its output kept together; the count of warnings hidden in
    # system headers is dropped.
    # shellcheck disable=SC2016 # expanded by the inner shell
    printf '%s\n' "$@" | xargs -r -n 1 -P "$jobs" sh -c '
        out=$(clang-tidy --quiet -p "$0" "$1" 2>&1) && ok=0 || ok=1
        printf "%s\n" "$out" | grep -v "warnings\{0,1\} generated\.$" || true
        exit "$ok"' "$db" || status=1
}
in_db() {
    for file in $(echo "$cxx_files" | grep '\.cpp$'); do
        if grep -q "\"file\": \"$PWD/$file\"" "$1/compile_commands.json"; then
            echo "$file"
        fi
    done
}
# shellcheck disable=SC2046
set -- $(in_db "$build")
echo "clang-tidy: $# files in $build"
tidy "$build" "$@"
if [ -n "$fuzz_build" ]; then
    # shellcheck disable=SC2046
    set -- $(in_db "$fuzz_build" | grep '^tests/fuzz/' || true)
    echo "clang-tidy: $# files in $fuzz_build"
    tidy "$fuzz_build" "$@"
fi

[ "$status" -eq 0 ] && echo "lint: clean" || echo "lint: findings above" >&2
exit "$status"
