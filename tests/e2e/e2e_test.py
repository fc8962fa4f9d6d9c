#!/usr/bin/python3
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

PROGRAM, UI_FILE, OUTPUT_DIR = sys.argv[1:4]
TITLE = "La Korvalin"


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


def wait_until(condition, what, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise AssertionError(f"timed out waiting for {what}")


class XServer:
    def __enter__(self):
        read_end, write_end = os.pipe()
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "800x600x24", "-nolisten", "tcp"],
            pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            self.name = ":" + pipe.readline().strip()
        self.env = dict(os.environ, DISPLAY=self.name, XDG_RUNTIME_DIR=tempfile.mkdtemp())
        self.env.pop("QT_QPA_PLATFORM", None)
        return self

    def __exit__(self, *exc):
        self.process.terminate()
        self.process.wait(timeout=10)


class Converter:
    """The program running under the X server, and the user's hands on it."""

    def __init__(self, server, scale=1):
        self.server = server
        self.scale = scale
        env = dict(server.env, QT_SCALE_FACTOR=str(scale))
        self.process = subprocess.Popen([PROGRAM], env=env)
        self.window = wait_until(lambda: self.windows()[:1], "the window")[0]
        geometry = self.xdo("getwindowgeometry", "--shell", self.window)
        values = dict(line.split("=") for line in geometry.split())
        self.x, self.y = int(values["X"]), int(values["Y"])
        self.width, self.height = int(values["WIDTH"]), int(values["HEIGHT"])
        # No window manager runs under bare Xvfb: the input focus is given by hand.
        self.xdo("windowfocus", "--sync", self.window)
        time.sleep(0.3)

    def xdo(self, *args):
        return subprocess.run(["xdotool", *map(str, args)], env=self.server.env, check=True,
                              capture_output=True, text=True).stdout

    def windows(self):
        found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{TITLE}$"],
                               env=self.server.env, capture_output=True, text=True).stdout
        return found.split()

    def click(self, control):
        x, y, width, height = CONTROLS[control]
        self.xdo("mousemove", "--sync", self.x + round((x + width / 2) * self.scale),
                 self.y + round((y + height / 2) * self.scale))
        self.xdo("click", "1")
        time.sleep(0.1)

    def keys(self, *names):
        self.xdo("key", "--delay", "30", *names)
        time.sleep(0.1)

    def type(self, text):
        self.xdo("type", "--delay", "30", text)
        time.sleep(0.1)

    def copied(self):
        """What the focused display holds: selected and copied as a user would."""
        self.keys("ctrl+a", "ctrl+c", "End")
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.server.env,
                              capture_output=True, text=True, timeout=5).stdout

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
        connection = xdisplay.Display(self.server.name)
        window = connection.create_resource_object("window", int(self.window))
        protocols = connection.intern_atom("WM_PROTOCOLS")
        delete = connection.intern_atom("WM_DELETE_WINDOW")
        message = xevent.ClientMessage(window=window, client_type=protocols,
                                       data=(32, [delete, X.CurrentTime, 0, 0, 0]))
        window.send_event(message, event_mask=X.NoEventMask)
        connection.flush()
        connection.close()

    def exit_status(self):
        return self.process.wait(timeout=10)

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


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
        converter.screenshot(shot)
        self.assertTrue(any(near(c, (0, 255, 0)) for c in converter.colours_in("monaie", shot)),
                        "no green currency beside the main display")
        self.assertTrue(any(near(c, (255, 255, 192), 20)
                            for c in converter.colours_in("monaie2", shot)),
                        "no light yellow currency beside the secondary display")
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

    def test_enter_presses_the_focused_key(self):
        converter = self.start()
        converter.type("100")
        converter.keys("shift+Tab", "shift+Tab", "Return")  # back to Francs, pressed by Enter
        converter.keys("Tab", "Tab", "Tab")  # Euros, the secondary display, the main display
        self.assertEqual(converter.copied(), "655,957")

    def test_keyboard_alone(self):
        converter = self.start()
        converter.type("12")
        converter.keys("Escape")
        self.assertEqual(converter.copied(), "")
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
