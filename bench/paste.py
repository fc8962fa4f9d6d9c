#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""How long the converter takes to answer what users paste, as they feel it: a text
that fills the main display (1,000 characters) and does not read, and a text too long
for the display, which is refused. Under Xvfb, each text is offered on the X clipboard
by xclip, Ctrl+V is pressed in the main display and Euros is clicked (both through
XTEST, in one go), and the time until the message window is mapped is measured. It
includes the X clipboard transfer, which long_text (the in-process benchmark) leaves
out. Prints medians; asserts nothing.

Usage: paste.py PROGRAM [RUNS]
"""
import os
import statistics
import sys
import time

from Xlib import X, XK
from Xlib.ext import xtest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests"))
from harness import korvalin_ui  # noqa: E402
from harness.x11 import XSession  # noqa: E402

PROGRAM = sys.argv[1]
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 3
TEN_MB = 10 * 1024 * 1024

TEXTS = {
    "12 characters (yardstick)": "1,,2 <b>x</b>",
    "1,000 of markup": ("<table><tr><td>" * 67)[:1000],
    "a and 999 combining accents": "a" + "\u0301" * 999,
    "10 MB of digits (refused)": ("0123456789" * (TEN_MB // 10 + 1))[:TEN_MB],
}


def run_once(session, text):
    program = session.program(PROGRAM)
    owner = None
    try:
        window = int(session.window(program))
        owner = session.offer(text)
        x, y, width, _ = session.geometry(window)
        euros_x, euros_y = korvalin_ui.CONTROLS["euros"].centre
        assert width > euros_x
        connection = session.connection
        connection.sync()
        while connection.pending_events():
            connection.next_event()

        control = connection.keysym_to_keycode(XK.string_to_keysym("Control_L"))
        v = connection.keysym_to_keycode(XK.string_to_keysym("v"))
        start = time.monotonic()
        for event, detail in ((X.KeyPress, control), (X.KeyPress, v), (X.KeyRelease, v),
                              (X.KeyRelease, control)):
            xtest.fake_input(connection, event, detail)
        xtest.fake_input(connection, X.MotionNotify, x=x + euros_x, y=y + euros_y)
        xtest.fake_input(connection, X.ButtonPress, 1)
        xtest.fake_input(connection, X.ButtonRelease, 1)
        connection.flush()
        while time.monotonic() < start + 60:
            while connection.pending_events():
                event = connection.next_event()
                if event.type == X.MapNotify and event.window.id != window:
                    return time.monotonic() - start
            time.sleep(0.0005)
        raise RuntimeError("no message within 60 s")
    finally:
        if owner:
            owner.terminate()
            owner.wait()
        program.stop()


def main():
    with XSession(screen="1024x768x24") as session:
        print(f"runs: {RUNS} each; Ctrl+V then Euros, until the message is mapped")
        for label, text in TEXTS.items():
            times = [run_once(session, text) for _ in range(RUNS)]
            print(f"{label:32} median {statistics.median(times) * 1000:7.1f} ms  "
                  f"max {max(times) * 1000:7.1f} ms", flush=True)


if __name__ == "__main__":
    main()
