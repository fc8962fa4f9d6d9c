#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""What a screen reader gets from the converter over the real accessibility bus
(AT-SPI): the accessible tree after start-up, after a conversion and during a failure,
and the events a conversion sends.

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
ROLES = {"QLineEdit": "text", "QLabel": "label", "QPushButton": "push button"}

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
        # Nothing is announced for a conversion that failed.
        self.pump(0.5)
        self.assertFalse([e for e in self.events if e[2] == "notification"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
