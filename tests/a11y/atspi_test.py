#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader gets from the converter over the real accessibility bus
(AT-SPI): the accessible tree after start-up, after a conversion and during a failure,
the events a conversion sends, the displays' text queries, and text written to them.

Usage: atspi_test.py PROGRAM
"""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from harness import accessible, korvalin_ui  # noqa: E402
from harness.accessible import Atspi, GLib  # noqa: E402
from harness.waiting import wait_until  # noqa: E402
from harness.x11 import XSession  # noqa: E402

PROGRAM = sys.argv[1]
CONTROLS = korvalin_ui.CONTROLS
ROLES = {"AmountDisplay": "text", "QLabel": "label", "QPushButton": "push button"}

# Controls a screen reader user meets at start: each must have the role its class
# gives, and the name and description Korvalin.ui gives it.
AT_START = ("ecran", "ecran2", "Label1", "un", "virgule", "euros", "francs", "delete_", "off")


class ScreenReaderView(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = XSession(accessibility=True).__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.session.__exit__(None, None, None)

    def setUp(self):
        self.events = []
        self.listener = Atspi.EventListener.new(self.record)
        for kind in ("object:state-changed:showing", "object:property-change:accessible-name"):
            self.listener.register(kind)
        program = self.session.program(PROGRAM)
        self.addCleanup(self.stop, program)
        self.session.window(program)
        self.app = self.wait(lambda: accessible.application(program.pid),
                             "the program on the accessibility bus")
        # The application is named after its window.
        self.assertEqual(self.app.get_name(), korvalin_ui.TITLE)

    def stop(self, program):
        for kind in ("object:state-changed:showing", "object:property-change:accessible-name"):
            self.listener.deregister(kind)
        program.stop()

    def record(self, event):
        try:
            self.events.append((event.type, event.detail1, event.source.get_role_name(),
                                event.source.get_name()))
        except Exception as error:  # the source may be gone already
            self.events.append((event.type, event.detail1, "gone", str(error)))

    def pump(self, seconds):
        context = GLib.MainContext.default()
        while context.iteration(False):
            pass
        time.sleep(seconds)

    def wait(self, condition, what):
        return wait_until(condition, what, idle=self.pump)

    def controls(self, root=None):
        """Every accessible below the main window: (role, name, description, showing)."""
        return [(child.get_role_name(), child.get_name(), child.get_description(),
                 child.get_state_set().contains(Atspi.StateType.SHOWING))
                for child in accessible.descendants(root or self.app.get_child_at_index(0))]

    def shown(self, role):
        return [name for r, name, _, showing in self.controls() if r == role and showing]

    def find(self, control):
        """The accessible object of a control of Korvalin.ui."""
        role, name = ROLES[CONTROLS[control].kind], CONTROLS[control].name
        found = accessible.find(self.app.get_child_at_index(0), role, name)
        self.assertIsNotNone(found, f"no {role} named {name!r}")
        return found

    def text(self, control):
        return self.find(control).get_text(0, -1)

    def press(self, control):
        self.find(control).do_action(0)  # as a screen reader presses a key

    def type(self, text):
        self.session.xdo("type", "--delay", "40", text)

    def test_names_and_descriptions_at_start(self):
        controls = {name: (role, description) for role, name, description, _ in self.controls()}
        for control in AT_START:
            with self.subTest(control):
                expected = CONTROLS[control]
                self.assertEqual(controls.get(expected.name),
                                 (ROLES[expected.kind], expected.description))
        # The currency labels show nothing yet, and say so.
        self.assertEqual(self.shown("label"), ["", CONTROLS["Label1"].name])
        self.assertEqual(self.shown("notification"), [])

    def test_a_conversion_is_announced_with_both_currencies(self):
        self.type("100")
        self.wait(lambda: self.text("ecran") == "100", "the typed amount")
        self.events.clear()
        self.press("euros")
        sentence = "15,245 euros, pour 100 francs"
        self.wait(lambda: ("object:state-changed:showing", 1, "notification", sentence)
                  in self.events, "the announcement")
        # The currency labels are named by what they show.
        self.wait(lambda: sorted(self.shown("label")) == sorted([CONTROLS["Label1"].name,
                                                                  "Euros", "Francs"]),
                  "the currency labels")
        self.assertEqual(self.text("ecran"), "15,245")
        self.assertEqual(self.text("ecran2"), "100")
        announced = [e for e in self.events if e[2] == "notification" and e[1] == 1
                     and e[0].endswith("showing")]
        self.assertEqual(announced, [("object:state-changed:showing", 1, "notification", sentence)])

    def announced(self):
        return [e[3] for e in self.events if e[:3] == ("object:state-changed:showing", 1,
                                                        "notification")]

    def test_nothing_is_announced_when_nothing_converts(self):
        self.events.clear()
        self.press("francs")
        # A key pressed over the bus is clicked once it has been drawn down.
        self.wait(lambda: not self.find("francs").get_state_set().contains(
            Atspi.StateType.PRESSED), "the click on Francs")
        self.session.xdo("key", "Return")
        # A real conversion after them: its announcement comes after any theirs would.
        self.type("1")
        self.press("euros")
        self.wait(lambda: self.announced(), "an announcement")
        self.assertEqual(self.announced(), ["0,152 euro, pour 1 franc"])

    def test_every_text_query_answers_with_the_display_text(self):
        """Characters, words, sentences and lines, at, before and after each offset up to
        one past the end, on both displays: each query answers (a display that loops never
        does, and the call fails), with a part of the display's text. The word at the end
        of the text is its last word."""
        Atspi.set_timeout(10000, -1)
        boundaries = [getattr(Atspi.TextBoundaryType, b) for b in (
            "CHAR", "WORD_START", "WORD_END", "SENTENCE_START", "SENTENCE_END", "LINE_START",
            "LINE_END")]

        def check(control, offsets=None):
            display = self.find(control)
            text = self.text(control)
            for offset in offsets or range(len(text) + 2):
                for boundary in boundaries:
                    for ask in (display.get_text_at_offset, display.get_text_before_offset,
                                display.get_text_after_offset):
                        answer = ask(offset, boundary)
                        where = (control, text[:20], offset, boundary, ask.__name__)
                        self.assertEqual(answer.content,
                                         text[answer.start_offset:answer.end_offset], where)
                        if offset > len(text):
                            self.assertEqual(answer.content, "", where)
            return display

        check("ecran")
        self.type("100 12")
        self.wait(lambda: self.text("ecran") == "100 12", "the typed text")
        end = check("ecran").get_text_at_offset(6, Atspi.TextBoundaryType.WORD_START)
        self.assertEqual((end.content, end.start_offset, end.end_offset), ("12", 4, 6))
        self.session.xdo("key", "Escape")
        self.type("100")
        self.press("euros")
        self.wait(lambda: self.text("ecran") == "15,245", "the result")
        check("ecran")
        check("ecran2")
        self.session.xdo("key", "Escape")
        Atspi.EditableText.set_text_contents(self.find("ecran"), "9" * 1000)
        self.wait(lambda: len(self.text("ecran")) == 1000, "a full display")
        check("ecran", [0, 1, 500, 999, 1000, 1001])

    def test_text_written_over_the_bus_converts(self):
        ecran = self.find("ecran")
        Atspi.EditableText.set_text_contents(ecran, "250")
        self.wait(lambda: self.text("ecran") == "250", "the written text")
        self.press("euros")
        self.wait(lambda: self.text("ecran2") == "250", "the conversion of the written text")
        self.assertEqual(self.text("ecran"), "38,112")
        # Written onto the result, it starts a new amount, as typing does.
        Atspi.EditableText.insert_text(ecran, 6, "5", 1)
        self.wait(lambda: self.text("ecran") == "5", "a new amount")
        self.assertEqual(self.shown("label"), ["", CONTROLS["Label1"].name])

    def test_a_failure_is_an_alert_with_its_message(self):
        self.type("1,,2")
        self.wait(lambda: self.text("ecran") == "1,,2", "the typed amount")
        self.events.clear()
        self.press("francs")

        def alert():
            windows = (self.app.get_child_at_index(i) for i in range(self.app.get_child_count()))
            return next((w for w in windows if w.get_role_name() == "alert"), None)
        box = self.wait(alert, "the message")
        self.assertEqual(box.get_name(), korvalin_ui.TITLE)
        texts = [name for role, name, *_ in self.controls(box) if role == "label"]
        self.assertTrue(any("n'est pas un montant" in text for text in texts), texts)
        self.assertEqual([name for role, name, *_ in self.controls(box) if role == "push button"],
                         ["OK"])
        # Nothing is announced for a conversion that failed: once the message is closed, a
        # real conversion's announcement is the first.
        self.session.xdo("key", "Return")
        self.wait(lambda: alert() is None, "the message to close")
        self.press("delete_")  # the refused amount stays until cleared
        self.wait(lambda: self.text("ecran") == "", "the display cleared")
        self.type("1")
        self.press("euros")
        self.wait(lambda: self.announced(), "an announcement")
        self.assertEqual(self.announced(), ["0,152 euro, pour 1 franc"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
