#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the built converter in a real X server (Xvfb) the way a user would: real
pointer clicks and key presses through xdotool, the main display read back through
the clipboard, screenshots of the window at scale 1 and 2.

Usage: e2e_test.py PROGRAM OUTPUT_DIR
"""
import os
import subprocess
import sys
import tempfile
import unittest

from Xlib import X

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from harness import korvalin_ui  # noqa: E402
from harness.waiting import wait_until  # noqa: E402
from harness.x11 import XSession  # noqa: E402

PROGRAM, OUTPUT_DIR = sys.argv[1:3]


class Converter:
    """The program running under the X server, and the user's hands on it."""

    def __init__(self, session, scale=1):
        self.session = session
        self.scale = scale
        self.program = session.program(PROGRAM, QT_SCALE_FACTOR=str(scale))
        try:
            self.window = session.window(self.program)
        except BaseException as error:
            raise AssertionError(f"{error}; the program said:\n{self.program.stop()}") from None
        self.x, self.y, self.width, self.height = session.geometry(self.window)

    def click(self, control, button=1):
        x, y = korvalin_ui.CONTROLS[control].centre
        self.click_at(self.x + round(x * self.scale), self.y + round(y * self.scale),
                      button=button)

    def click_at(self, *target, button=1):
        """Clicks at a point of the screen."""
        # Not "mousemove --sync": it waits for a motion that never comes when the
        # pointer is already there, as on a second click on the same key.
        self.session.xdo("mousemove", *target)

        def pointer():
            where = self.session.root.query_pointer()
            return where.root_x, where.root_y
        wait_until(lambda: pointer() == target, f"the pointer at {target}")
        self.session.xdo("click", button)

    def keys(self, *names):
        self.session.xdo("key", "--delay", "30", *names)

    def type(self, text):
        self.session.xdo("type", "--delay", "30", text)

    def copied(self):
        """What the focused display holds: selected and copied as a user would. The
        program handles its input in order, so once it owns the clipboard again it has
        also handled every click and key before the copy."""
        self.session.take_clipboard()
        self.keys("ctrl+a", "ctrl+c", "End")
        wait_until(self.session.clipboard_taken_back, "the copy")
        return self.session.pasted()

    def message(self):
        """The window of a failure's message, once it shows."""
        return wait_until(lambda: [w for w in self.session.windows() if w != self.window],
                          "the message")[0]

    def close_message(self):
        self.keys("Return")
        wait_until(lambda: self.session.windows() == [self.window], "the message to close")
        self.session.xdo("windowfocus", "--sync", self.window)

    def screenshot(self, name, whole_screen=False):
        path = os.path.join(OUTPUT_DIR, name)
        crop = [] if whole_screen else [
            "-crop", f"{self.width}x{self.height}+{self.x}+{self.y}", "+repage"]
        subprocess.run(["import", "-window", "root", *crop, path], env=self.session.env,
                       check=True)
        return path

    def colours_in(self, control, path):
        """The colours drawn inside a control, from a screenshot."""
        x, y, width, height = (round(v * self.scale) for v in korvalin_ui.CONTROLS[control].rect)
        ppm = subprocess.run(["/usr/bin/convert", path, "-crop", f"{width}x{height}+{x}+{y}",
                              "+repage", "-depth", "8", "rgb:-"],
                             check=True, capture_output=True).stdout
        return {tuple(ppm[i:i + 3]) for i in range(0, len(ppm), 3)}

    def stop(self):
        said = self.program.stop()
        if said:
            sys.stderr.write(f"--- {os.path.basename(PROGRAM)} said:\n{said}")


def near(colour, expected, tolerance):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


class EndToEnd(unittest.TestCase):
    session = None

    @classmethod
    def setUpClass(cls):
        cls.session = XSession().__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.session.__exit__(None, None, None)

    def start(self, scale=1):
        converter = Converter(self.session, scale)
        self.addCleanup(converter.stop)
        return converter

    def check_conversion(self, scale):
        converter = self.start(scale)
        self.assertEqual((converter.width, converter.height),
                         tuple(round(side * scale) for side in korvalin_ui.SIZE))
        for key in ("un", "zero", "zero", "euros"):
            converter.click(key)
        # The clicks left the focus in the main display.
        self.assertEqual(converter.copied(), "15,245")

        def currencies_drawn():
            shot = converter.screenshot(f"korvalin-scale{scale:g}.png")
            return (any(near(c, korvalin_ui.colour("monaie"), 40)
                        for c in converter.colours_in("monaie", shot))
                    and any(near(c, korvalin_ui.colour("monaie2"), 20)
                            for c in converter.colours_in("monaie2", shot)))
        wait_until(currencies_drawn, "the currencies beside both displays, in the colours "
                   "the style sheet gives them")
        converter.click("ecran2")
        self.assertEqual(converter.copied(), "100")
        converter.click("off")
        self.assertEqual(converter.program.wait(), 0)

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
        box = converter.message()
        converter.screenshot("korvalin-failure.png", whole_screen=True)
        self.assertTrue(converter.program.running())
        self.session.xdo("windowfocus", "--sync", box)
        converter.close_message()
        self.assertEqual(converter.copied(), "1,,2")
        converter.click("sept")  # nothing was converted: the amount is there to correct
        self.assertEqual(converter.copied(), "1,,27")

    def test_close_request_ends_the_program(self):
        for typed in ("1", "1,,2"):  # the second leaves a failure's message open
            with self.subTest(typed):
                converter = self.start()
                converter.type(typed)
                converter.keys("Return")
                if typed == "1,,2":
                    converter.message()
                # As a window manager's close box does.
                self.session.protocol_message(converter.window, "WM_DELETE_WINDOW", 0, 0, 0)
                self.assertEqual(converter.program.wait(), 0)

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
        saved_path = self.session.env["PATH"]
        self.session.env["PATH"] = stubs + os.pathsep + saved_path
        self.addCleanup(self.session.env.__setitem__, "PATH", saved_path)

        converter = self.start()
        owner = self.session.offer(link)
        self.addCleanup(owner.wait)
        self.addCleanup(owner.terminate)
        converter.keys("ctrl+v")
        converter.click("euros")
        box = converter.message()
        converter.screenshot("korvalin-pasted-link.png", whole_screen=True)

        # Clicks all over the message's text, where a link would be drawn.
        left, top, width, height = self.session.geometry(box)
        for y in (0.2, 0.3, 0.4, 0.5):
            for x in range(2, 10):
                converter.click_at(left + width * x // 10, top + round(height * y))

        # The message quotes the tags as they were typed: selected and copied as a user would.
        converter.click_at(left + width // 2, top + round(height * 0.3))
        self.session.take_clipboard()
        converter.keys("ctrl+a", "ctrl+c")
        wait_until(self.session.clipboard_taken_back, "the copy of the message")
        message = self.session.pasted()
        # (A copy turns the no-break spaces around the quote into plain ones.)
        self.assertTrue(message.startswith(f"\u00ab \u2068{link}\u2069 \u00bb n'est pas"), message)
        converter.close_message()
        self.assertEqual(converter.copied(), link)
        # The program has handled every click by now: a link would have been opened then.
        self.assertFalse(os.path.exists(opened), "a link in the message was opened")

    def test_a_middle_button_paste_onto_a_result_starts_a_new_amount(self):
        converter = self.start()
        converter.type("200")
        converter.keys("Return")
        owner = self.session.offer("100", "PRIMARY")
        self.addCleanup(owner.wait)
        self.addCleanup(owner.terminate)
        converter.click("ecran", button=2)
        converter.keys("Return")  # converts what the display shows: 100 francs
        self.assertEqual(converter.copied(), "15,245")

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
        # A second Enter 5 ms after the one that opens a message closes it, and the keys
        # that follow go to the main display.
        converter.type("1,,2")
        self.session.xdo("key", "--delay", "5", "Return", "Return")
        wait_until(lambda: self.session.windows() == [converter.window], "the message to close")
        # Keys typed before the window has the keyboard back would go to no window.
        focus = self.session.connection.get_input_focus
        wait_until(lambda: getattr(focus().focus, "id", None) == int(converter.window),
                   "the window to have the keyboard again")
        converter.type("6")
        self.assertEqual(converter.copied(), "1,,26")

    def test_no_maximise_button(self):
        converter = self.start()
        connection = self.session.connection
        window = connection.create_resource_object("window", int(converter.window))
        hints = window.get_full_property(connection.intern_atom("_MOTIF_WM_HINTS"),
                                         X.AnyPropertyType)
        _, functions, decorations = hints.value[:3]
        self.assertFalse(functions & 0x10, "the window manager may maximise the window")
        self.assertFalse(decorations & 0x40, "the title bar has a maximise button")
        self.assertTrue(decorations & 0x20 and functions & 0x20, "no close box")


if __name__ == "__main__":
    os.makedirs(OUTPUT_DIR, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=2)
