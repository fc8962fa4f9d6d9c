#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the built converter in a real X server (Xvfb) the way a user would: real
pointer clicks and key presses through xdotool, the main display read back through
the clipboard, screenshots of the window at scale 1 and 2.

Usage: e2e_test.py PROGRAM KORVALIN_UI OUTPUT_DIR
"""
import os
import subprocess
import sys
import tempfile
import time
import unittest
import xml.etree.ElementTree as ET

from Xlib import X
from Xlib import display as xdisplay
from Xlib.protocol import event as xevent

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from waiting import wait_until  # noqa: E402

PROGRAM, UI_FILE, OUTPUT_DIR = sys.argv[1:4]
# The window's title, as its description gives it.
TITLE = ET.parse(UI_FILE).getroot().find("widget/property[@name='windowTitle']/string").text


def control_rects(ui_file):
    """Each control's (x, y, width, height) in logical pixels, from the window description."""
    rects = {}
    for widget in ET.parse(ui_file).getroot().iter("widget"):
        rect = widget.find("property[@name='geometry']/rect")
        if rect is not None:
            rects[widget.get("name")] = tuple(int(rect.find(k).text)
                                              for k in ("x", "y", "width", "height"))
    return rects


CONTROLS = control_rects(UI_FILE)


class XServer:
    """An Xvfb of our own. It keeps one connection of ours for its whole life and
    runs with -noreset, so that it never resets between two programs."""

    def __enter__(self):
        self._runtime_dir = tempfile.TemporaryDirectory()
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "800x600x24", "-nolisten", "tcp",
             "-noreset"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        try:
            with os.fdopen(read_end) as pipe:
                number = pipe.readline().strip()
            if not number:
                raise RuntimeError(f"Xvfb ended with status {self.process.wait(timeout=10)}")
            self.name = ":" + number
            self.connection = wait_until(self._connect, f"the X server {self.name}", timeout=30)
        except BaseException:
            self._stop()
            raise
        self.env = dict(os.environ, DISPLAY=self.name, XDG_RUNTIME_DIR=self._runtime_dir.name)
        self.env.pop("QT_QPA_PLATFORM", None)
        # Answers to pings come back to the root window.
        self.connection.screen().root.change_attributes(
            event_mask=X.StructureNotifyMask | X.SubstructureNotifyMask)
        self.pings = 0
        self.clipboard = self.connection.intern_atom("CLIPBOARD")
        self.clipboard_keeper = self.connection.screen().root.create_window(
            0, 0, 1, 1, 0, X.CopyFromParent)
        return self

    def _connect(self):
        if self.process.poll() is not None:
            raise RuntimeError(f"Xvfb ended with status {self.process.returncode}")
        try:
            return xdisplay.Display(self.name)
        except Exception:  # python-xlib raises several kinds while the server starts
            return None

    def protocol_message(self, window, name, *data):
        """Sends a window manager's message (WM_PROTOCOLS) to a window."""
        protocols = self.connection.intern_atom("WM_PROTOCOLS")
        window = self.connection.create_resource_object("window", int(window))
        message = xevent.ClientMessage(
            window=window, client_type=protocols,
            data=(32, [self.connection.intern_atom(name), X.CurrentTime, *data]))
        window.send_event(message, event_mask=X.NoEventMask)
        self.connection.flush()

    def answers_ping(self, window):
        """Pings a window as a window manager does and says whether it answered
        within half a second: then its program handles window manager messages."""
        self.pings += 1
        self.protocol_message(window, "_NET_WM_PING", int(window), self.pings, 0)
        ping = self.connection.intern_atom("_NET_WM_PING")
        deadline = time.monotonic() + 0.5
        while time.monotonic() < deadline:
            while self.connection.pending_events():
                event = self.connection.next_event()
                if (event.type == X.ClientMessage and event.data[1][0] == ping
                        and event.data[1][3] == self.pings):
                    return True
            time.sleep(0.01)
        return False

    def pointer(self):
        where = self.connection.screen().root.query_pointer()
        return where.root_x, where.root_y

    def take_clipboard(self):
        """Makes the clipboard ours, so that the next copy shows as a change of owner."""
        self.clipboard_keeper.set_selection_owner(self.clipboard, X.CurrentTime)
        self.connection.sync()

    def clipboard_taken_back(self):
        return self.connection.get_selection_owner(self.clipboard) != self.clipboard_keeper

    def _stop(self):
        if getattr(self, "connection", None):
            self.connection.close()
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        self._runtime_dir.cleanup()

    def __exit__(self, *exc):
        self._stop()


class Converter:
    """The program running under the X server, and the user's hands on it."""

    def __init__(self, server, scale=1):
        self.server = server
        self.scale = scale
        env = dict(server.env, QT_SCALE_FACTOR=str(scale))
        self.output = tempfile.TemporaryFile()
        self.process = subprocess.Popen([PROGRAM], env=env, stdout=self.output,
                                        stderr=subprocess.STDOUT)
        try:
            self.window = wait_until(self._started, "the window", timeout=30)[0]
            geometry = self.xdo("getwindowgeometry", "--shell", self.window)
            values = dict(line.split("=") for line in geometry.split())
            self.x, self.y = int(values["X"]), int(values["Y"])
            self.width, self.height = int(values["WIDTH"]), int(values["HEIGHT"])
            # A window can show before its program handles the window manager's
            # messages: a close request sent then was lost on a busy machine.
            wait_until(lambda: server.answers_ping(self.window), "an answer to a ping",
                       timeout=30)
            # No window manager runs under bare Xvfb: the input focus is given by hand.
            self.xdo("windowfocus", "--sync", self.window)
        except BaseException as error:
            said = self.stop(show_output=False)
            raise AssertionError(f"{error}; the program said:\n{said}") from None

    def _started(self):
        if self.process.poll() is not None:
            raise AssertionError(f"the program ended with status {self.process.returncode}")
        return self.windows()[:1]

    def said(self):
        """Everything the program has written to its output so far."""
        self.output.seek(0)
        return self.output.read().decode(errors="replace")

    def xdo(self, *args):
        return subprocess.run(["xdotool", *map(str, args)], env=self.server.env, check=True,
                              capture_output=True, text=True).stdout

    def windows(self):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{TITLE}$"],
                               env=self.server.env, capture_output=True, text=True).stdout
        return found.split()

    def click(self, control):
        x, y, width, height = CONTROLS[control]
        self.click_at(self.x + round((x + width / 2) * self.scale),
                      self.y + round((y + height / 2) * self.scale))

    def click_at(self, *target):
        """Clicks at a point of the screen."""
        # Not "mousemove --sync": it waits for a motion that never comes when the
        # pointer is already there, as on a second click on the same key.
        self.xdo("mousemove", *target)
        wait_until(lambda: self.server.pointer() == target, f"the pointer at {target}")
        self.xdo("click", "1")

    def keys(self, *names):
        self.xdo("key", "--delay", "30", *names)

    def type(self, text):
        self.xdo("type", "--delay", "30", text)

    def copied(self):
        """What the focused display holds: selected and copied as a user would. The
        program handles its input in order, so once it owns the clipboard again it has
        also handled every click and key before the copy."""
        self.server.take_clipboard()
        self.keys("ctrl+a", "ctrl+c", "End")
        wait_until(self.server.clipboard_taken_back, "the copy")
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.server.env,
                              capture_output=True, text=True, timeout=10).stdout

    def screenshot(self, path, whole_screen=False):
        crop = [] if whole_screen else [
            "-crop", f"{self.width}x{self.height}+{self.x}+{self.y}", "+repage"]
        subprocess.run(["import", "-window", "root", *crop, path], env=self.server.env,
                       check=True)

    def colours_in(self, control, path):
        """The colours drawn inside a control, from a screenshot."""
        x, y, width, height = (round(v * self.scale) for v in CONTROLS[control])
        ppm = subprocess.run(["/usr/bin/convert", path, "-crop", f"{width}x{height}+{x}+{y}", "+repage",
                              "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout
        return {tuple(ppm[i:i + 3]) for i in range(0, len(ppm), 3)}

    def request_close(self):
        """Asks the window to close, as a window manager's close box does."""
        self.server.protocol_message(self.window, "WM_DELETE_WINDOW", 0, 0, 0)

    def exit_status(self):
        return self.process.wait(timeout=30)

    def stop(self, show_output=True):
        """Ends the program if it still runs, and returns what it said."""
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()
        if self.output.closed:
            return ""
        said = self.said()
        self.output.close()
        if show_output and said:
            sys.stderr.write(f"--- {os.path.basename(PROGRAM)} said:\n{said}")
        return said


def near(colour, expected, tolerance=40):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


class EndToEnd(unittest.TestCase):
    server = None

    @classmethod
    def setUpClass(cls):
        cls.server = XServer().__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.server.__exit__(None, None, None)

    def start(self, scale=1):
        converter = Converter(self.server, scale)
        self.addCleanup(converter.stop)
        return converter

    def check_conversion(self, scale):
        converter = self.start(scale)
        self.assertEqual((converter.width, converter.height),
                         (round(276 * scale), round(226 * scale)))
        for key in ("un", "zero", "zero", "euros"):
            converter.click(key)
        # The clicks left the focus in the main display.
        self.assertEqual(converter.copied(), "15,245")
        shot = os.path.join(OUTPUT_DIR, f"korvalin-scale{scale:g}.png")

        def currencies_drawn():
            converter.screenshot(shot)
            return (any(near(c, (0, 255, 0)) for c in converter.colours_in("monaie", shot))
                    and any(near(c, (255, 255, 192), 20)
                            for c in converter.colours_in("monaie2", shot)))
        wait_until(currencies_drawn, "a green currency beside the main display and a light "
                   "yellow one beside the secondary display")
        converter.click("ecran2")
        self.assertEqual(converter.copied(), "100")
        converter.click("off")
        self.assertEqual(converter.exit_status(), 0)

    def test_conversion_at_scale_1(self):
        self.check_conversion(1)

    def test_conversion_at_scale_1_5(self):
        self.check_conversion(1.5)

    def test_conversion_at_scale_2(self):
        self.check_conversion(2)

    def test_keyboard_typing_goes_to_the_main_display(self):
        converter = self.start()
        converter.type("12.5")
        converter.keys("Return")
        self.assertEqual(converter.copied(), "1,906")

    def test_failed_conversion_is_shown_and_the_program_goes_on(self):
        converter = self.start()
        converter.type("1,,2")
        converter.click("euros")
        boxes = wait_until(lambda: [w for w in converter.windows() if w != converter.window],
                           "the message")
        converter.screenshot(os.path.join(OUTPUT_DIR, "korvalin-failure.png"), whole_screen=True)
        self.assertIsNone(converter.process.poll())
        converter.xdo("windowfocus", "--sync", boxes[0])
        converter.keys("Return")
        wait_until(lambda: converter.windows() == [converter.window], "the message to close")
        converter.xdo("windowfocus", "--sync", converter.window)
        self.assertEqual(converter.copied(), "1,,2")
        converter.click("sept")
        self.assertEqual(converter.copied(), "7")

    def test_off_ends_the_program(self):
        converter = self.start()
        converter.click("off")
        self.assertEqual(converter.exit_status(), 0)

    def test_close_request_ends_the_program(self):
        converter = self.start()
        converter.click("un")
        converter.request_close()
        self.assertEqual(converter.exit_status(), 0)

    def test_pasted_link_is_shown_literally_and_never_opens(self):
        link = '<a href="file:///etc/passwd">X</a>'
        # Whatever a link would open goes through a stub that records being called.
        stubs_dir = tempfile.TemporaryDirectory()
        self.addCleanup(stubs_dir.cleanup)
        stubs = stubs_dir.name
        opened = os.path.join(stubs, "opened")
        for opener in ("xdg-open", "gio", "kde-open", "kde-open5", "gnome-open", "gvfs-open"):
            path = os.path.join(stubs, opener)
            with open(path, "w") as script:
                script.write(f'#!/bin/sh\necho "$0 $*" >> {opened}\n')
            os.chmod(path, 0o755)
        saved_path = self.server.env["PATH"]
        self.server.env["PATH"] = stubs + os.pathsep + saved_path
        self.addCleanup(self.server.env.__setitem__, "PATH", saved_path)

        converter = self.start()
        self.server.take_clipboard()
        owner = subprocess.Popen(["xclip", "-quiet", "-selection", "clipboard"],
                                 stdin=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                 env=self.server.env)
        self.addCleanup(owner.wait)
        self.addCleanup(owner.terminate)
        owner.stdin.write(link.encode())
        owner.stdin.close()
        wait_until(self.server.clipboard_taken_back, "xclip to hold the clipboard")
        converter.keys("ctrl+v")
        converter.click("euros")
        box = wait_until(lambda: [w for w in converter.windows() if w != converter.window],
                         "the message")[0]
        converter.screenshot(os.path.join(OUTPUT_DIR, "korvalin-pasted-link.png"),
                             whole_screen=True)

        # Clicks all over the message's text, where a link would be drawn.
        geometry = dict(line.split("=") for line in
                        converter.xdo("getwindowgeometry", "--shell", box).split())
        left, top = int(geometry["X"]), int(geometry["Y"])
        width, height = int(geometry["WIDTH"]), int(geometry["HEIGHT"])
        for y in (0.2, 0.3, 0.4, 0.5):
            for x in range(2, 10):
                converter.click_at(left + width * x // 10, top + round(height * y))
        time.sleep(1)
        self.assertFalse(os.path.exists(opened), "a link in the message was opened")
        self.assertIsNone(converter.process.poll())

        # The message quotes the tags as they were typed: selected and copied as a user would.
        converter.click_at(left + width // 2, top + round(height * 0.3))
        converter.keys("ctrl+a", "ctrl+c")
        message = subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.server.env,
                                 capture_output=True, text=True, timeout=5).stdout
        # (A copy turns the no-break spaces around the quote into plain ones.)
        self.assertTrue(message.startswith(f"\u00ab \u2068{link}\u2069 \u00bb n'est pas"), message)
        converter.keys("Return")
        wait_until(lambda: converter.windows() == [converter.window], "the message to close")
        converter.xdo("windowfocus", "--sync", converter.window)
        self.assertEqual(converter.copied(), link)

    def test_enter_presses_the_focused_key(self):
        converter = self.start()
        converter.type("100")
        converter.keys("shift+Tab", "shift+Tab", "Return")  # back to Francs, pressed by Enter
        converter.keys("Tab", "Tab", "Tab")  # Euros, the secondary display, the main display
        self.assertEqual(converter.copied(), "655,957")

    def test_keyboard_alone(self):
        converter = self.start()
        converter.type("12")
        converter.keys("Escape")  # clears: what follows starts from an empty display
        # A key pressed with Space, then digits typed while it has the focus.
        converter.keys("Tab", "space")
        converter.type("00")
        self.assertEqual(converter.copied(), "100")
        # What is typed onto a result replaces it.
        converter.keys("KP_Enter")
        converter.type("5")
        converter.keys("Return")
        self.assertEqual(converter.copied(), "0,762")

    def test_no_maximise_button(self):
        converter = self.start()
        connection = xdisplay.Display(self.server.name)
        window = connection.create_resource_object("window", int(converter.window))
        hints = window.get_full_property(connection.intern_atom("_MOTIF_WM_HINTS"), X.AnyPropertyType)
        connection.close()
        _, functions, decorations = hints.value[:3]
        self.assertFalse(functions & 0x10, "the window manager may maximise the window")
        self.assertFalse(decorations & 0x40, "the title bar has a maximise button")
        self.assertTrue(decorations & 0x20 and functions & 0x20, "no close box")


if __name__ == "__main__":
    os.makedirs(OUTPUT_DIR, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
