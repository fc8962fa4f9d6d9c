#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""How long the converter takes to answer a long or odd paste, as a user feels it:
under Xvfb, each text is offered on the X clipboard by xclip, Ctrl+V is pressed in the
main display and Euros is clicked (both through XTEST, in one go), and the time until
the message window is mapped is measured. It includes the X clipboard transfer, which
long_text (the in-process benchmark) leaves out. Prints medians; asserts nothing.

Usage: paste.py PROGRAM KORVALIN_UI [RUNS]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ET

from Xlib import X, XK, error
from Xlib import display as xdisplay
from Xlib.ext import xtest

from xvfb import start_server

PROGRAM, UI_FILE = sys.argv[1:3]
RUNS = int(sys.argv[3]) if len(sys.argv) > 3 else 3
TITLE = "La Korvalin"
TEN_MB = 10 * 1024 * 1024

TEXTS = {
    "12 characters (yardstick)": "1,,2 <b>x</b>",
    "10 MB of digits": ("0123456789" * (TEN_MB // 10 + 1))[:TEN_MB],
    "10 MB of markup": ("<table><tr><td>" * (TEN_MB // 15 + 1))[:TEN_MB],
    "32,766 combining accents": "\u0301" * 32766,
    "a and 32,766 combining accents": "a" + "\u0301" * 32766,
}


def euros_centre(ui_file):
    for widget in ET.parse(ui_file).getroot().iter("widget"):
        if widget.get("name") == "euros":
            rect = widget.find("property[@name='geometry']/rect")
            x, y, width, height = (int(rect.find(k).text) for k in ("x", "y", "width", "height"))
            return x + width // 2, y + height // 2
    raise RuntimeError("no euros key in " + ui_file)


def mapped_windows(root):
    mapped = {}
    for child in root.query_tree().children:
        try:
            if child.get_attributes().map_state == X.IsViewable:
                mapped[child.id] = child
        except error.BadWindow:  # gone since the query
            pass
    return mapped


def wait_for(condition, timeout=30):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.02)
    raise RuntimeError("timed out")


def run_once(connection, env, text, euros):
    root = connection.screen().root
    before = set(mapped_windows(root))
    program = subprocess.Popen([PROGRAM], env=env)
    owner = None
    try:
        def find_window():
            for window_id, window in mapped_windows(root).items():
                try:
                    if window_id not in before and window.get_wm_name() == TITLE:
                        return window
                except error.BadWindow:
                    pass
            return None
        window = wait_for(find_window)
        time.sleep(0.3)
        owner = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard"], env=env,
                                 stdin=subprocess.PIPE, stderr=subprocess.DEVNULL)
        owner.stdin.write(text.encode())
        owner.stdin.close()
        time.sleep(1.0)  # xclip owns the selection once it has read its input
        window.set_input_focus(X.RevertToParent, X.CurrentTime)
        geometry = window.get_geometry()
        origin = window.translate_coords(root, 0, 0)
        x, y = -origin.x + euros[0], -origin.y + euros[1]
        assert geometry.width > euros[0]
        root.change_attributes(event_mask=X.SubstructureNotifyMask)
        connection.sync()
        while connection.pending_events():
            connection.next_event()

        control = connection.keysym_to_keycode(XK.string_to_keysym("Control_L"))
        v = connection.keysym_to_keycode(XK.string_to_keysym("v"))
        start = time.monotonic()
        for event, detail in ((X.KeyPress, control), (X.KeyPress, v), (X.KeyRelease, v),
                              (X.KeyRelease, control)):
            xtest.fake_input(connection, event, detail)
        xtest.fake_input(connection, X.MotionNotify, x=x, y=y)
        xtest.fake_input(connection, X.ButtonPress, 1)
        xtest.fake_input(connection, X.ButtonRelease, 1)
        connection.flush()
        answered = None
        while answered is None and time.monotonic() < start + 60:
            while connection.pending_events():
                event = connection.next_event()
                if event.type == X.MapNotify and event.window.id != window.id:
                    answered = time.monotonic() - start
                    break
            else:
                time.sleep(0.0005)
        root.change_attributes(event_mask=X.NoEventMask)
        if answered is None:
            raise RuntimeError("no message within 60 s")
        return answered
    finally:
        if owner:
            owner.terminate()
            owner.wait()
        program.terminate()
        program.wait()


def main():
    server, name = start_server("1024x768x24")
    try:
        env = dict(os.environ, DISPLAY=name, XDG_RUNTIME_DIR=tempfile.mkdtemp())
        env.pop("QT_QPA_PLATFORM", None)
        connection = xdisplay.Display(name)
        euros = euros_centre(UI_FILE)
        print(f"runs: {RUNS} each; Ctrl+V then Euros, until the message is mapped")
        for label, text in TEXTS.items():
            times = [run_once(connection, env, text, euros) for _ in range(RUNS)]
            print(f"{label:32} median {statistics.median(times) * 1000:7.1f} ms  "
                  f"max {max(times) * 1000:7.1f} ms", flush=True)
    finally:
        server.terminate()
        server.wait()


if __name__ == "__main__":
    main()
