#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the built converter natively on Wayland, under a headless weston, and reads
what it asked of the compositor from its protocol trace (WAYLAND_DEBUG=1): the
xdg-shell app id must be the desktop file's name, the title the window's, and the
size fixed. Headless weston takes no input, so the Off key is pressed through the
accessibility bus; the program must then end with 0.

Usage: wayland_test.py PROGRAM APP_ID
"""
import os
import re
import subprocess
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from harness import accessible, korvalin_ui  # noqa: E402
from harness.waiting import wait_until  # noqa: E402
from harness.wayland import WaylandSession  # noqa: E402

PROGRAM, APP_ID = sys.argv[1:3]


class NativeWayland(unittest.TestCase):
    def test_runs_natively_and_off_ends_it(self):
        with WaylandSession(accessibility=True) as session:
            program = session.program(PROGRAM, WAYLAND_DEBUG="1")
            wait_until(lambda: "set_app_id" in program.said() or not program.running(),
                       "the window's toplevel")
            self.assertTrue(program.running(), program.said()[-4000:])
            # The toplevel's last word on each property, as the compositor got it.
            asked = dict(re.findall(r"-> xdg_toplevel@\d+\.(set_\w+)\((.*)\)", program.said()))
            size = "%d, %d" % korvalin_ui.SIZE
            self.assertEqual(asked.get("set_app_id"), f'"{APP_ID}"')
            self.assertEqual(asked.get("set_title"), f'"{korvalin_ui.TITLE}"')
            self.assertEqual(asked.get("set_min_size"), size)
            self.assertEqual(asked.get("set_max_size"), size)

            name = korvalin_ui.CONTROLS["off"].name
            off = wait_until(lambda: (app := accessible.application(program.pid))
                             and accessible.find(app, "push button", name),
                             "the Off key on the accessibility bus")
            self.assertIn("Action", off.get_interfaces(), "the Off key has no action")
            off.do_action(0)
            try:
                status = program.wait(timeout=60)
            except subprocess.TimeoutExpired:
                self.fail("Off did not end the program")
            self.assertEqual(status, 0, program.said()[-2000:])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
