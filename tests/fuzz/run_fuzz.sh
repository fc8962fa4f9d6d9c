#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a fuzz target for a bounded time from the committed seeds and prints its count
# of executions. Usage: run_fuzz.sh TARGET SEEDS SECONDS WORKDIR
set -eu
target=$1 seeds=$2 seconds=$3 work=$4
mkdir -p "$work/corpus"
log="$work/fuzz.log"
if ! "$target" -max_total_time="$seconds" -max_len=256 -print_final_stats=1 \
    "$work/corpus" "$seeds" >"$log" 2>&1; then
    tail -n 40 "$log"
    exit 1
fi
grep -E '^Done [0-9]+ runs' "$log"
