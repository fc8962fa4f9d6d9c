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

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402  (connects on first use, to the session's bus)

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from session import Session, wait_until  # noqa: E402

PROGRAM = sys.argv[1]

# Controls a screen reader user meets: role, name, description.
AT_START = {
    "Montant": ("text", "Le montant à convertir, ou le résultat de la conversion"),
    "Montant d'origine": ("text", "Le montant qui a été converti"),
    "Convertir       en:": ("label", ""),
    "1": ("push button", "Tape le chiffre 1"),
    "virgule": ("push button", "Tape la virgule décimale"),
    "Euros": ("push button", "Convertit en euros le montant lu en francs (touche Entrée)"),
    "Francs": ("push button", "Convertit en francs le montant lu en euros"),
    "Delete": ("push button", "Efface le montant (touche Échap)"),
    "Off": ("push button", "Ferme La Korvalin"),
}


class ScreenReaderView(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.session = Session().__enter__()

    @classmethod
    def tearDownClass(cls):
        cls.session.__exit__(None, None, None)

    def setUp(self):
        self.events = []
        self.listener = Atspi.EventListener.new(self.record)
        for kind in ("object:state-changed:showing", "object:property-change:accessible-name"):
            self.listener.register(kind)
        program = self.session.start([PROGRAM])
        self.addCleanup(self.stop, program)
        self.session.window()
        self.app = self.wait(self.application, "the program on the accessibility bus")

    def stop(self, program):
        for kind in ("object:state-changed:showing", "object:property-change:accessible-name"):
            self.listener.deregister(kind)
        program.kill()
        program.wait()

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

    def wait(self, condition, what, timeout=30):
        return wait_until(condition, what, timeout=timeout, idle=self.pump)

    def application(self):
        desktop = Atspi.get_desktop(0)
        for index in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(index)
            if app is not None and app.get_name() == "La Korvalin":
                return app
        return None

    def controls(self, root=None):
        """Every accessible below the main window: (role, name, description, showing)."""
        found = []
        root = root or self.app.get_child_at_index(0)
        for index in range(root.get_child_count()):
            child = root.get_child_at_index(index)
            found.append((child.get_role_name(), child.get_name(), child.get_description(),
                          child.get_state_set().contains(Atspi.StateType.SHOWING)))
            found.extend(self.controls(child))
        return found

    def shown(self, role):
        return [name for r, name, _, showing in self.controls() if r == role and showing]

    def press(self, name):
        self.find(name).do_action(0)  # as a screen reader presses a key

    def find(self, name):
        window = self.app.get_child_at_index(0)
        for index in range(window.get_child_count()):
            child = window.get_child_at_index(index)
            if child.get_name() == name:
                return child
        raise AssertionError(f"no control named {name!r}")

    def type(self, text):
        self.session.xdo("type", "--delay", "40", text)

    def test_names_and_descriptions_at_start(self):
        controls = {name: (role, description) for role, name, description, _ in self.controls()}
        for name, expected in AT_START.items():
            self.assertEqual(controls.get(name), expected, name)
        # The currency labels show nothing yet, and say so.
        self.assertEqual(self.shown("label"), ["", "Convertir       en:"])
        self.assertEqual(self.shown("notification"), [])

    def test_a_conversion_is_announced_with_both_currencies(self):
        self.type("100")
        self.wait(lambda: self.find("Montant").get_text(0, -1) == "100", "the typed amount")
        self.events.clear()
        self.press("Euros")
        sentence = "15,245 euros, pour 100 francs"
        self.wait(lambda: ("object:state-changed:showing", 1, "notification", sentence)
                  in self.events, "the announcement")
        # The currency labels are named by what they show.
        self.wait(lambda: sorted(self.shown("label")) == ["Convertir       en:", "Euros", "Francs"],
                  "the currency labels")
        self.assertEqual(self.find("Montant").get_text(0, -1), "15,245")
        self.assertEqual(self.find("Montant d'origine").get_text(0, -1), "100")
        announced = [e for e in self.events if e[2] == "notification" and e[1] == 1
                     and e[0].endswith("showing")]
        self.assertEqual(announced, [("object:state-changed:showing", 1, "notification", sentence)])

    def test_a_failure_is_an_alert_with_its_message(self):
        self.type("1,,2")
        self.wait(lambda: self.find("Montant").get_text(0, -1) == "1,,2", "the typed amount")
        self.events.clear()
        self.press("Francs")

        def alert():
            for index in range(self.app.get_child_count()):
                window = self.app.get_child_at_index(index)
                if window.get_role_name() == "alert":
                    return window
            return None
        box = self.wait(alert, "the message")
        self.assertEqual(box.get_name(), "La Korvalin")
        texts = [name for role, name, *_ in self.controls(box) if role == "label"]
        self.assertTrue(any("n'est pas un montant" in text for text in texts), texts)
        self.assertEqual([name for role, name, *_ in self.controls(box) if role == "push button"],
                         ["OK"])
        # Nothing is announced for a conversion that failed.
        self.pump(0.5)
        self.assertFalse([e for e in self.events if e[2] == "notification"])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
