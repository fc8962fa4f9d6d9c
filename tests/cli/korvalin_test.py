#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""korvalin as a process: each row gives its arguments and standard input, and what it
must write on standard output and standard error, and its exit status.

Usage: korvalin_test.py VERSION [RUNNER...] KORVALIN
RUNNER (wine, for the Windows build) comes before the program; a Windows build ends its
lines with CRLF, which is taken as LF here.
"""
import os
import re
import subprocess
import sys

NBSP = "[ \u00a0]"


def refused(where, quote):
    """A refusal's line: where it was, then the sentence quoting the amount."""
    return rf"korvalin: {where} : .*«{NBSP}{re.escape(quote)}{NBSP}»"


def too_long(where):
    return rf"korvalin: {where} : .*trop long"


USAGE_HINT = r"Essayez « korvalin --help »"
LONG = b"9" * 5_000_000
VERSION = sys.argv[1]

# (arguments, standard input), (standard output, standard error line patterns, status)
ROWS = [
    # Amounts as arguments, read and written as the window does.
    ((["-e", "1 500 F"], None), ("228,674\n", [], 0)),
    ((["--euros", "100", "12 F 50", "12F50"], None), ("15,245\n1,906\n1,906\n", [], 0)),
    ((["-f", "15,24 €", "1 234 567,89"], None), ("99,968\n8098234,494\n", [], 0)),
    ((["-e", "--", "-5"], None), ("-0,762\n", [], 0)),
    ((["-e", "100", "abc", "1,5,"], None),
     ("15,245\n\n\n", [refused("argument 2", "abc"), refused("argument 3", "1,5,")], 1)),
    ((["-e", "15,24 €"], None),
     ("\n", [refused("argument 1", "15,24 €") + r".*utilisez -f \(--francs\) pour le convertir"], 1)),
    ((["-f", "100 F"], None), ("\n", [refused("argument 1", "100 F")], 1)),
    ((["-e", "1E400"], None), ("\n", [r"korvalin: argument 1 : \S"], 1)),
    ((["-e", " " * 998 + "100"], None), ("\n", [too_long("argument 1")], 1)),
    # Standard input: one line out for each line in, in order.
    ((["-e"], b"100\n\n1 500 F\n"), ("15,245\n\n228,674\n", [], 0)),
    ((["-e"], b"100\r\n \t\r\n12 F 50"), ("15,245\n\n1,906\n", [], 0)),
    ((["-e"], b""), ("", [], 0)),
    ((["-f"], b"\n\n"), ("\n\n", [], 0)),
    ((["-e"], b"100\nx\n200\n"), ("15,245\n\n30,49\n", [refused("ligne 2", "x")], 1)),
    ((["-e"], b"15,24 EUR\n"), ("\n", [refused("ligne 1", "15,24 EUR")], 1)),
    # Whatever is read is data: controls come out as their pictures, bytes that are not
    # UTF-8 and characters that draw nothing as U+FFFD, the quote cut at 40 characters.
    ((["-e"], b"1\x1b[2J\x1b]0;x\x07\x00\x7f\n"),
     ("\n", [refused("ligne 1", "1␛[2J␛]0;x␇␀␡")], 1)),
    ((["-e"], b"\xff\xc3(1\xe2\x82\n"), ("\n", [refused("ligne 1", "\ufffd\ufffd(1\ufffd\ufffd")], 1)),
    ((["-e"], "\u202e1\u200b0\u2066\u2028\u00850\n".encode()),
     ("\n", [refused("ligne 1", "\ufffd1\ufffd0\ufffd␤␤0")], 1)),
    ((["-e"], b"\x9b31m\n"), ("\n", [refused("ligne 1", "\ufffd31m")], 1)),
    ((["-e"], "12\u3164\u115f\u1160\uffa0\n".encode()), ("\n", [refused("ligne 1", "12" + "\ufffd" * 4)], 1)),
    ((["-e"], b"a" * 50 + b"\n"), ("\n", [refused("ligne 1", "a" * 40 + "…")], 1)),
    ((["-e"], b"12\r34\n"), ("\n", [refused("ligne 1", "12␍34")], 1)),
    # Lines of any length: up to 1 000 bytes they are read, beyond they are refused and
    # skipped to their end, the next line read as it is.
    ((["-e"], b" " * 997 + b"100\r\n"), ("15,245\n", [], 0)),
    ((["-e"], b" " * 998 + b"100\n1\n"), ("\n0,152\n", [too_long("ligne 1")], 1)),
    ((["-e"], LONG + b"\n100\n" + LONG), ("\n15,245\n\n", [too_long("ligne 1"), too_long("ligne 3")], 1)),
    # --de: a sum of a year in the money of another at equal purchasing power, to the cent;
    # the money as written, or the year's (anciens francs up to 1959, francs to 2001).
    ((["--de", "1999", "--en", "2009", "1 000 F"], None), ("180,94\n", [], 0)),
    ((["--de", "2001", "--en", "2011", "1 000 F"], None), ("181,57\n", [], 0)),
    ((["--de", "1951", "--en", "2001", "1 000"], None), ("127,81\n", [], 0)),
    ((["--de", "1998", "--en", "2013", "100 F"], None), ("19,39\n", [], 0)),
    ((["--de", "1985", "450 000"], None), ("143368,18\n", [], 0)),
    ((["--en", "1990", "--de", "1985", "-f", "100"], None), ("763,91\n", [], 0)),
    ((["--de", "1975", "-e"], "2 800\n\n15 €\n".encode()),
     ("2317,9\n\n\n", [refused("ligne 3", "15 €")], 1)),
    ((["--de", "2010", "100 F"], None), ("\n", ["korvalin: argument 1 : .*franc.*2010"], 1)),
    ((["--de", "ligne"], "1985;450 000 F\r\n2003\t600 €\n\n1890;1\nx;1\n100\n".encode()),
     ("143368,18\n858,82\n\n\n\n\n", [r"korvalin: ligne 4 : .*1901 à 2025",
                                        refused("ligne 5", "x"), refused("ligne 6", "100")], 1)),
    ((["--de", "1890", "100"], None), ("", ["korvalin: .*1901 à 2025", USAGE_HINT], 2)),
    ((["--de", "2010", "-e"], b"100\n"), ("", ["korvalin: .*2010", USAGE_HINT], 2)),
    ((["--de", "ligne", "--en", "2005", "-f"], b""), ("", ["korvalin: .*2005", USAGE_HINT], 2)),
    ((["--de", "19x5"], None), ("", ["korvalin: --de attend une année.*19x5", USAGE_HINT], 2)),
    ((["--de"], None), ("", ["korvalin: --de attend une année", USAGE_HINT], 2)),
    ((["--en", "2000", "-e"], None), ("", ["korvalin: --en va avec --de", USAGE_HINT], 2)),
    # The command line.
    ((["--help"], None), (re.compile(r"Usage : korvalin --euros\|--francs .*-- -100", re.S), [], 0)),
    ((["-e", "--help", "--bogus"], None), (re.compile("Usage"), [], 0)),
    ((["--version"], None), (re.compile(rf"korvalin {re.escape(VERSION)}\n"), [], 0)),
    (([], b"100\n"), ("", ["korvalin: .*--euros", USAGE_HINT], 2)),
    ((["-e", "--francs", "1"], None), ("", ["korvalin: .*--euros", USAGE_HINT], 2)),
    ((["-e", "-5"], None), ("", ["korvalin: .*-5.*-- -100", USAGE_HINT], 2)),
    ((["-e", "--bogus"], None), ("", ["korvalin: .*--bogus", USAGE_HINT], 2)),
    ((["-x"], None), ("", ["korvalin: .*-x", USAGE_HINT], 2)),
]


def check(command, row):
    (arguments, given), (out, errors, status) = row
    run = subprocess.run(command + arguments, input=given or b"", capture_output=True,
                         timeout=60, check=False)
    stdout = run.stdout.replace(b"\r\n", b"\n").decode("utf-8")
    stderr = run.stderr.replace(b"\r\n", b"\n").decode("utf-8")
    problems = []
    if isinstance(out, str) and stdout != out or not isinstance(out, str) and not out.match(stdout):
        problems.append(f"standard output {stdout[:300]!r}, expected {out!r}")
    lines = stderr.splitlines()
    if len(lines) != len(errors) or not all(re.match(e, l) for e, l in zip(errors, lines)):
        problems.append(f"standard error {stderr[:600]!r}, expected {errors!r}")
    if run.returncode != status:
        problems.append(f"status {run.returncode}, expected {status}")
    return problems


def main():
    command = sys.argv[2:]
    failed = 0
    for row in ROWS:
        problems = check(command, row)
        if problems:
            failed += 1
            shown = [a if len(a) < 60 else a[:20] + "…" for a in row[0][0]]
            given = row[0][1]
            print(f"FAIL {shown} with input {given[:60] if given else None!r}:")
            for problem in problems:
                print("   ", problem)
    print(f"{len(ROWS) - failed} of {len(ROWS)} rows pass")
    return 1 if failed else 0


if __name__ == "__main__":
    os.environ.setdefault("WINEDEBUG", "-all")
    sys.exit(main())
