#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the Orca screen reader headless against the converter and prints what it says
for each step of a few scenarios, from Orca's own speech log (no speech server: the
log shows what would have been spoken). Exits non-zero when a conversion's result is
not spoken whole, with both currencies, exactly once, or a failure's message is not.

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
import xml.etree.ElementTree as ET

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


def key_centres():
    """Where each key lies in the window, from the window description."""
    ui_file = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "ui",
                           "Korvalin.ui")
    centres = {}
    for widget in ET.parse(ui_file).getroot().iter("widget"):
        rect = widget.find("property[@name='geometry']/rect")
        if widget.get("class") == "QPushButton" and rect is not None:
            x, y, width, height = (int(rect.find(k).text) for k in ("x", "y", "width", "height"))
            centres[widget.get("name")] = (x + width // 2, y + height // 2)
    return centres


def main():
    failures = []
    centres = key_centres()
    with Session() as session:
        orca = Orca(session)
        session.start([PROGRAM])
        window = session.window()
        orca.quiet()
        orca.spoken()
        geometry = dict(line.split("=") for line in
                        session.xdo("getwindowgeometry", "--shell", window).split())
        origin = int(geometry["X"]), int(geometry["Y"])

        def click(key):
            x, y = centres[key]
            # Not "mousemove --sync", which waits forever when the pointer is already
            # there; the X server takes the move and the click in order.
            return lambda: session.xdo("mousemove", origin[0] + x, origin[1] + y, "click", "1")

        def keys(*names):
            return lambda: session.xdo("key", "--delay", "60", *names)

        def typing(text):
            return lambda: session.xdo("type", "--delay", "60", text)

        def step(title, actions, announced=None, said_once=None):
            """Runs the actions, each once Orca is quiet, and checks that the
            announcement, or else the text said_once, was spoken exactly once."""
            for action in actions:
                action()
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

        step("100 then Euros by click",
             [click("un"), click("zero"), click("zero"), click("euros")],
             announced="15,245 euros, pour 100 francs")
        step("2,5 then Francs by Enter",
             [keys("Escape"), typing("2,5"), keys("shift+Tab", "shift+Tab"), keys("Return")],
             announced="16,399 francs, pour 2,5 euros")
        step("1,,2 then Euros", [typing("1,,2"), click("euros")],
             said_once="n'est pas un montant")
        # No window manager gives the focus back to the window once the message is gone.
        step("the message closed by Enter",
             [keys("Return"), lambda: session.xdo("windowfocus", "--sync", window)])
        step("5 then Francs by Space",
             [keys("Escape"), typing("5"), keys("shift+Tab", "shift+Tab"), keys("space")],
             announced="32,798 francs, pour 5 euros")
    for failure in failures:
        print("FAILED:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
