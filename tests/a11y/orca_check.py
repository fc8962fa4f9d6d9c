#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the Orca screen reader headless against the converter and prints what it says
for each step of a few scenarios, from Orca's own speech log (no speech server: the
log shows what would have been spoken). Exits non-zero when a conversion's result is
not spoken whole, with both currencies, exactly once, or a failure's message is not,
or when a display is read other than whole.

Not part of the test command: Orca runs once per user, so this cannot run beside
another Orca (the user's own, or a second run of this script).

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

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from harness import korvalin_ui  # noqa: E402
from harness.waiting import wait_until  # noqa: E402
from harness.x11 import XSession  # noqa: E402

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
        # Orca runs once per user: without --replace, it leaves a running one alone and
        # stops at once.
        self.process = session.start(["orca", "--user-prefs", os.path.join(session.home, "orca"),
                                      "--debug-file", os.ttyname(terminal)],
                      env=dict(session.env, SPEECHD_CMD="/bin/false"),
                      stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                      stderr=subprocess.DEVNULL)
        # Kept open: with no process holding the terminal, reading it would fail.
        self.terminal = terminal
        self.seen = 0
        wait_until(lambda: self.process.poll() is not None or
                   any("Screen reader on" in line for line in self.lines()),
                   "Orca to start", timeout=60)
        if self.process.poll() is not None:
            raise SystemExit("Orca did not start: is another Orca running for this user?")
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

    def wait_for(self, text, timeout=20, since=0):
        wait_until(lambda: any(text in line for line in self.lines()[since:]),
                   f"Orca to say {text!r}", timeout=timeout)

    def quiet(self, still=1.5, timeout=60):
        """Waits until Orca has written nothing for `still` seconds."""
        last = {"count": len(self.log), "since": time.monotonic()}

        def settled():
            if len(self.log) != last["count"]:
                last.update(count=len(self.log), since=time.monotonic())
            return time.monotonic() - last["since"] >= still
        wait_until(settled, "Orca to go quiet", timeout=timeout, step=0.1)


# Each step: its title, the user's actions, then what Orca must say exactly once: a
# conversion's announcement, or else a text (None: neither); last, the amount the
# display that gets the focus holds, which Orca may read only whole (None: no such
# display). An action is ("click", KEY), ("key", NAMES...), ("type", TEXT) or
# ("focus",), which gives the window the focus (no window manager gives it back once a
# message is gone).
STEPS = (
    ("100 then Euros by click",
     [("click", "un"), ("click", "zero"), ("click", "zero"), ("click", "euros")],
     "15,245 euros, pour 100 francs", None, None),
    ("Shift+Tab to the amount converted", [("key", "shift+Tab")], None, None, "100"),
    ("Tab back to the main display", [("key", "Tab")], None, None, "15,245"),
    ("2,5 then Francs by Enter",
     [("key", "Escape"), ("type", "2,5"), ("key", "shift+Tab", "shift+Tab"), ("key", "Return")],
     "16,399 francs, pour 2,5 euros", None, None),
    ("1,,2 then Euros", [("type", "1,,2"), ("click", "euros")], None, "n'est pas un montant",
     None),
    ("the message closed by Enter", [("key", "Return"), ("focus",)], None, None, "1,,2"),
    ("5 then Francs by Space",
     [("key", "Escape"), ("type", "5"), ("key", "shift+Tab", "shift+Tab"), ("key", "space")],
     "32,798 francs, pour 5 euros", None, None),
    ("100 then Enter from the display",
     [("key", "Escape"), ("type", "100"), ("key", "Return")], "15,245 euros, pour 100 francs",
     None, None),
)
# A line of speech that is an amount alone, as Orca reads a display.
AMOUNT_READ = re.compile(r"([0-9][0-9,]*)(?: selected)?\.?")


def main():
    failures = []
    with XSession(accessibility=True) as session:
        orca = Orca(session)
        window = session.window(session.program(PROGRAM))
        orca.quiet()
        orca.spoken()
        origin = session.geometry(window)[:2]

        def act(kind, *args):
            if kind == "click":
                x, y = korvalin_ui.CONTROLS[args[0]].centre
                # Not "mousemove --sync", which waits forever when the pointer is already
                # there; the X server takes the move and the click in order.
                session.xdo("mousemove", origin[0] + x, origin[1] + y, "click", "1")
            elif kind == "focus":
                session.xdo("windowfocus", "--sync", window)
            else:
                session.xdo(kind, "--delay", "60", *args)

        for title, actions, announced, said_once, whole in STEPS:
            # Each action once Orca is quiet.
            for action in actions:
                act(*action)
                orca.quiet(still=1.0)
            # On a busy machine Orca may get to the last event only after a pause.
            awaited = f"notification {announced}." if announced else said_once
            if awaited:
                try:
                    orca.wait_for(awaited, timeout=30, since=orca.seen)
                except AssertionError:
                    pass  # reported below with what was said
                orca.quiet(still=1.0)
            said = orca.spoken()
            print(f"== {title}")
            for line in said:
                print(f"   {line!r}")
            notifications = [line for line in said if line.startswith("notification")]
            expected = [f"notification {announced}."] if announced else []
            if notifications != expected:
                failures.append(f"{title}: announced {notifications}, expected {expected}")
            if said_once and sum(said_once in line for line in said) != 1:
                failures.append(f"{title}: {said_once!r} not said exactly once")
            # An amount is read whole, and a result only in its announcement.
            read = [m.group(1) for m in map(AMOUNT_READ.fullmatch, said) if m]
            if whole and any(amount != whole for amount in read):
                failures.append(f"{title}: read {read}, not only {whole!r}")
            if announced and announced.split()[0] in read:
                failures.append(f"{title}: the result was read besides its announcement")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
