#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Runs the built converter natively on Wayland, under a headless weston, and reads
what it asked of the compositor from its protocol trace (WAYLAND_DEBUG=1): the
xdg-shell app id must be the desktop file's name, the title the window's, and the
size fixed. Headless weston takes no input, so the Off key is pressed through the
accessibility bus, on a private session bus; the program must then end with 0.

Usage: wayland_test.py PROGRAM APP_ID
"""
import os
import re
import signal
import subprocess
import sys
import tempfile
import unittest

PROGRAM, APP_ID = sys.argv[1:3]
TITLE = "La Korvalin"
SIZE = (276, 226)

if "KORVALIN_PRIVATE_BUS" not in os.environ:
    # An own runtime folder and session bus, so that the compositor, the
    # accessibility bus and its socket are this run's alone.
    with tempfile.TemporaryDirectory(prefix="korvalin-wayland-") as runtime:
        os.chmod(runtime, 0o700)
        env = dict(os.environ, KORVALIN_PRIVATE_BUS="1", XDG_RUNTIME_DIR=runtime)
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        status = subprocess.run(["dbus-run-session", "--", sys.executable, *sys.argv],
                                env=env, check=False).returncode
    sys.exit(status)

import gi  # noqa: E402

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from waiting import wait_until  # noqa: E402


def stop(process):
    if process.poll() is None:
        process.send_signal(signal.SIGTERM)
        try:
            process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def find_button(accessible, name, depth=0):
    if accessible is None or depth > 20:
        return None
    if accessible.get_role() == Atspi.Role.PUSH_BUTTON and accessible.get_name() == name:
        return accessible
    for index in range(accessible.get_child_count()):
        found = find_button(accessible.get_child_at_index(index), name, depth + 1)
        if found:
            return found
    return None


def button_of(pid, name):
    desktop = Atspi.get_desktop(0)
    for index in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(index)
        try:
            if app is not None and app.get_process_id() == pid:
                return find_button(app, name)
        except gi.repository.GLib.Error:
            continue  # an application that went away meanwhile
    return None


class NativeWayland(unittest.TestCase):
    def setUp(self):
        self.runtime = os.environ["XDG_RUNTIME_DIR"]
        socket = f"korvalin-{os.getpid()}"
        self.weston_log = open(os.path.join(self.runtime, "weston.log"), "w+")
        self.addCleanup(self.weston_log.close)
        env = dict(os.environ)
        self.weston = subprocess.Popen(
            ["weston", "--backend=headless-backend.so", f"--socket={socket}",
             "--no-config", "--idle-time=0"],
            env=env, stdin=subprocess.DEVNULL, stdout=self.weston_log, stderr=subprocess.STDOUT)
        self.addCleanup(stop, self.weston)
        wait_until(lambda: os.path.exists(os.path.join(self.runtime, socket))
                   or self.weston.poll() is not None, "weston's socket", timeout=30)
        self.assertIsNone(self.weston.poll(), self.log(self.weston_log))

        self.env = dict(env, WAYLAND_DISPLAY=socket, QT_QPA_PLATFORM="wayland",
                        WAYLAND_DEBUG="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.env.pop("DISPLAY", None)

    @staticmethod
    def log(file):
        file.seek(0)
        return file.read()[-4000:]

    def test_runs_natively_and_off_ends_it(self):
        with open(os.path.join(self.runtime, "trace.log"), "w+") as trace:
            program = subprocess.Popen([PROGRAM], env=self.env, stdin=subprocess.DEVNULL,
                                       stdout=subprocess.DEVNULL, stderr=trace)
            self.addCleanup(stop, program)

            def toplevel_set_up():
                trace.seek(0)
                return "set_app_id" in trace.read() or program.poll() is not None

            wait_until(toplevel_set_up, "the window's toplevel", timeout=30)
            self.assertIsNone(program.poll(), self.log(trace))
            trace.seek(0)
            text = trace.read()
            # The toplevel's last word on each property, as the compositor got it.
            asked = dict(re.findall(r"-> xdg_toplevel@\d+\.(set_\w+)\((.*)\)", text))
            self.assertEqual(asked.get("set_app_id"), f'"{APP_ID}"')
            self.assertEqual(asked.get("set_title"), f'"{TITLE}"')
            self.assertEqual(asked.get("set_min_size"), "%d, %d" % SIZE)
            self.assertEqual(asked.get("set_max_size"), "%d, %d" % SIZE)

            off = wait_until(lambda: button_of(program.pid, "Off"), "the Off key on the a11y bus",
                             timeout=30)
            self.assertIn("Action", off.get_interfaces(), "the Off key has no action")
            off.do_action(0)
            try:
                status = program.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.fail("Off did not end the program")
            self.assertEqual(status, 0, self.log(trace)[-2000:])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
