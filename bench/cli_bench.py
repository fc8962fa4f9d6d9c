#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""korvalin on a column of a million amounts, beside mawk doing a bare division (no
half-to-even rounding, no French reading or writing) and wc -l, the floor of reading
the file; the same column as sums of 1975 in euros of today (--de 1975) beside it; its
peak memory on one line and on a million; the time of one conversion.

Usage: bench/cli_bench.py build/cli/korvalin [LINES]   (needs mawk, GNU time, hyperfine)
"""
import os
import random
import subprocess
import sys
import tempfile
import time

MAWK = ["mawk", "-F,", '{printf "%.3f\\n", ($1"."$2)/6.55957}']


def run(command, path):
    """Wall time in seconds and peak resident memory in KiB of one run; the memory as
    GNU time reports it, since a child's own count would include this interpreter's."""
    with open(path, "rb") as given:
        start = time.perf_counter()
        done = subprocess.run(["/usr/bin/time", "-f", "%M", *command], stdin=given,
                              stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, check=True)
        elapsed = time.perf_counter() - start
    return elapsed, int(done.stderr.split()[-1])


def best(commands, path, runs=7):
    """The best run of each command, their runs taken in turn so that a load on the
    machine weighs on each alike."""
    results = [[] for _ in commands]
    for _ in range(runs):
        for command, result in zip(commands, results):
            result.append(run(command, path))
    return [min(result) for result in results]


def main():
    korvalin = [sys.argv[1], "-e"]
    worth = [sys.argv[1], "--de", "1975"]
    lines = int(sys.argv[2]) if len(sys.argv) > 2 else 1_000_000
    random.seed(1)
    with tempfile.TemporaryDirectory() as folder:
        column, single = os.path.join(folder, "column"), os.path.join(folder, "single")
        with open(column, "w", encoding="ascii") as out:
            out.writelines(f"{random.randrange(1000000)},{random.randrange(100):02}\n"
                           for _ in range(lines))
        with open(single, "w", encoding="ascii") as out:
            out.write("123456,78\n")

        (ours, memory), (theirs, _), (floor, _), (worth_time, _) = best(
            [korvalin, MAWK, ["wc", "-l"], worth], column)
        [(_, memory_one)] = best([korvalin], single)
        print(f"{lines} lines: korvalin -e {ours:.3f} s, mawk {theirs:.3f} s, wc -l {floor:.3f} s,"
              f" korvalin --de 1975 {worth_time:.3f} s")
        print(f"ratio korvalin / mawk: {ours / theirs:.2f} (at most 0.5 wanted)")
        print(f"ratio korvalin --de 1975 / korvalin -e: {worth_time / ours:.2f}"
              " (at most 1.2 wanted)")
        print(f"peak memory: {memory_one} KiB on one line, {memory} KiB on {lines} lines")

    # One conversion from start to end, without a shell, beside a process that does
    # nothing: the floor of starting one.
    subprocess.run(["hyperfine", "-N", "--warmup", "20", "--runs", "300", "true",
                    " ".join([*korvalin, "12345,67"])], check=True)


if __name__ == "__main__":
    main()
