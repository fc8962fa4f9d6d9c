#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the Orca screen reader headless against the converter and prints what it says
for each step of a few scenarios, from Orca's own speech log (no speech server: the
log shows what would have been spoken). Exits non-zero when a conversion's result is
not spoken whole, with both currencies, exactly once, or a failure's message is not.

Usage: orca_check.py PROGRAM
"""
import os
import pty
import re
import subprocess
import sys
import threading
import time
import tty

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from session import Session, wait_until  # noqa: E402

PROGRAM = sys.argv[1]
# SPEECH OUTPUT: 'text' followed by the voice, as {...} or [{...}], when there is one.
SPOKEN = re.compile(r"SPEECH OUTPUT: '(.*?)' ?(?:\[?\{.*)?$")


class Orca:
    def __init__(self, session):
        # Orca writes its debug log block-buffered, lines arriving many seconds late,
        # unless the log is a terminal: it gets one, read here as Orca writes.
        main, terminal = pty.openpty()
        tty.setraw(terminal)
        self.log = []
        self.reader = threading.Thread(target=self.read, args=(main,), daemon=True)
        self.reader.start()
        session.start(["orca", "--replace", "--user-prefs", os.path.join(session.home, "orca"),
                       "--debug-file", os.ttyname(terminal)],
                      env=dict(session.env, SPEECHD_CMD="/bin/false"),
                      stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                      stderr=subprocess.DEVNULL)
        # Kept open: with no process holding the terminal, reading it would fail.
        self.terminal = terminal
        self.seen = 0
        try:
            self.wait_for("Screen reader on", timeout=60)
        except AssertionError:
            print("\n".join(self.log[-60:]))
            raise
        self.quiet()

    def read(self, main):
        pending = b""
        while True:
            try:
                chunk = os.read(main, 65536)
            except OSError:
                return
            if not chunk:
                return
            pending += chunk
            *complete, pending = pending.split(b"\n")
            self.log.extend(line.decode(errors="replace") for line in complete)

    def lines(self):
        return list(self.log)

    def spoken(self):
        """What Orca said since the last call."""
        lines = self.lines()
        new, self.seen = lines[self.seen:], len(lines)
        return [m.group(1) for m in map(SPOKEN.search, new) if m]

    def wait_for(self, text, timeout=20):
        wait_until(lambda: any(text in line for line in self.lines()), f"Orca to say {text!r}",
                   timeout=timeout)

    def quiet(self, still=1.5, timeout=30):
        """Waits until Orca has written nothing for `still` seconds."""
        last, since = len(self.lines()), time.monotonic()
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            time.sleep(0.1)
            now = len(self.lines())
            if now != last:
                last, since = now, time.monotonic()
            elif time.monotonic() - since >= still:
                return
        raise AssertionError("Orca never went quiet")


def main():
    failures = []
    with Session() as session:
        orca = Orca(session)
        session.start([PROGRAM])
        window = session.window()
        orca.quiet()
        orca.spoken()
        geometry = dict(line.split("=") for line in
                        session.xdo("getwindowgeometry", "--shell", window).split())
        origin = int(geometry["X"]), int(geometry["Y"])
        centres = {"un": (32, 60), "zero": (80, 180), "euros": (216, 148)}

        def click(key):
            x, y = centres[key]
            session.xdo("mousemove", "--sync", origin[0] + x, origin[1] + y)
            session.xdo("click", "1")

        def step(title, actions, expected):
            for action in actions:
                action()
                orca.quiet(still=1.0)
            said = orca.spoken()
            print(f"== {title}")
            for line in said:
                print(f"   {line!r}")
            if expected is not None:
                count = sum(expected in line for line in said)
                if count != 1:
                    failures.append(f"{title}: {expected!r} said {count} times")

        step("100 then Euros by click", [lambda: click("un"), lambda: click("zero"),
                                         lambda: click("zero"), lambda: click("euros")],
             "15,245 euros, pour 100 francs")
        step("2,5 then Francs by Enter",
             [lambda: session.xdo("key", "Escape"),
              lambda: session.xdo("type", "--delay", "60", "2,5"),
              lambda: session.xdo("key", "shift+Tab", "shift+Tab"),
              lambda: session.xdo("key", "Return")],
             "16,399 francs, pour 2,5 euros")
        step("1,,2 then Euros", [lambda: session.xdo("type", "--delay", "60", "1,,2"),
                                 lambda: click("euros")],
             "n'est pas un montant")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
