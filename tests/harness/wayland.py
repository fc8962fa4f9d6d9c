# SPDX-License-Identifier: GPL-3.0-or-later
"""A session on a headless Wayland compositor (weston) of its own. Headless weston
takes no input: the program is driven through the accessibility bus."""
import os
import subprocess

from .session import Session
from .waiting import wait_until


class WaylandSession(Session):
    def start_display(self):
        socket = "wayland-korvalin"
        path = os.path.join(self.env["XDG_RUNTIME_DIR"], socket)
        log = self.file()
        weston = self.start(["weston", "--backend=headless-backend.so", f"--socket={socket}",
                             "--no-config", "--idle-time=0"],
                            stdin=subprocess.DEVNULL, stdout=log, stderr=subprocess.STDOUT)
        wait_until(lambda: os.path.exists(path) or weston.poll() is not None, "weston's socket")
        if weston.poll() is not None:
            log.seek(0)
            raise AssertionError(f"weston ended:\n{log.read()[-4000:].decode(errors='replace')}")
        return {"WAYLAND_DISPLAY": socket, "QT_QPA_PLATFORM": "wayland"}
