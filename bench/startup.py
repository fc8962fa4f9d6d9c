#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Start-up as a user feels it: time from exec to the window's first paint under
Xvfb, and peak resident memory, for the converter and for a bare Qt window of the
same make-up, run alternately so that both see the same machine.

The bare window draws the converter's own background picture, so that the ratio
counts only what the program adds to a window of the same make-up.

Usage: startup.py PROGRAM BARE_WINDOW [RUNS]
"""
import os
import signal
import statistics
import subprocess
import sys
import time

from Xlib.ext import damage

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
from harness.waiting import wait_until  # noqa: E402
from harness.x11 import XSession  # noqa: E402

PROGRAM, BARE = sys.argv[1:3]
RUNS = int(sys.argv[3]) if len(sys.argv) > 3 else 15
PICTURE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "assets",
                       "background.jpg")
COMMANDS = {PROGRAM: [PROGRAM], BARE: [BARE, PICTURE]}


def run_once(session, report, program):
    """Seconds from exec to the first drawing on screen, and peak RSS in KiB."""
    connection = session.connection
    connection.damage_subtract(report)  # re-arms the report
    connection.sync()
    while connection.pending_events():
        connection.next_event()
    start = time.monotonic()
    process = subprocess.Popen(COMMANDS[program], env=session.env)
    painted = None
    deadline = start + 20
    while painted is None and time.monotonic() < deadline:
        while connection.pending_events():
            if connection.next_event().type == connection.extension_event.DamageNotify:
                painted = time.monotonic() - start
                break
        else:
            time.sleep(0.0005)
    process.send_signal(signal.SIGTERM)
    _, _, usage = os.wait4(process.pid, 0)
    # The next run starts on an empty screen, the window's unmapping drawn.
    wait_until(lambda: not session.windows(".+"), "the window to go")
    if painted is None:
        raise RuntimeError(f"{program} drew nothing")
    return painted, usage.ru_maxrss


def main():
    with XSession() as session:
        connection = session.connection
        root = connection.screen().root
        # The server draws nothing by itself: any damage on the screen is the program's.
        connection.damage_query_version()  # the extension answers nothing before this
        report = root.damage_create(damage.DamageReportNonEmpty)
        connection.sync()

        results = {PROGRAM: [], BARE: []}
        for _ in range(RUNS):
            for program in (PROGRAM, BARE):
                results[program].append(run_once(session, report, program))

        def summary(program):
            times = [t for t, _ in results[program]]
            memory = [m for _, m in results[program]]
            return statistics.median(times) * 1000, max(memory) / 1024

        program_ms, program_mib = summary(PROGRAM)
        bare_ms, bare_mib = summary(BARE)
        print(f"runs: {RUNS} each")
        print(f"first paint, median: {program_ms:.1f} ms against {bare_ms:.1f} ms bare: "
              f"{program_ms / bare_ms:.2f} x")
        print(f"peak memory: {program_mib:.1f} MiB against {bare_mib:.1f} MiB bare: "
              f"{program_mib / bare_mib:.2f} x")


if __name__ == "__main__":
    main()
