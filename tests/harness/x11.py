# SPDX-License-Identifier: GPL-3.0-or-later
"""A session on an X server of its own (Xvfb), and the converter's windows on it:
found by title, pinged as a window manager would, given the focus (no window manager
runs to give it), and the clipboard."""
import os
import random
import subprocess
import time

from Xlib import X
from Xlib import display as xdisplay
from Xlib.protocol import event as xevent

from . import korvalin_ui
from .session import Session
from .waiting import wait_until


class XSession(Session):
    def __init__(self, accessibility=False, screen="800x600x24"):
        super().__init__(accessibility)
        self.screen = screen
        self.connection = None
        self.pings = 0

    def start_display(self):
        """Xvfb on a display number of its own. The lowest free numbers, which X servers
        pick by themselves, are taken and given back all the time by other test runs,
        so it is picked at random far above them. -noreset: the server never resets
        between two programs."""
        for _ in range(20):
            number = random.randrange(200, 2000)
            if os.path.exists(f"/tmp/.X{number}-lock"):
                continue
            read_end, write_end = os.pipe()
            server = self.start(["Xvfb", f":{number}", "-displayfd", str(write_end), "-screen",
                                 "0", self.screen, "-nolisten", "tcp", "-noreset"],
                                pass_fds=[write_end], stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
            os.close(write_end)
            with os.fdopen(read_end) as pipe:
                ready = pipe.readline().strip()  # empty when the server gave up
            if ready == str(number):
                self.name = f":{number}"
                self.connection = xdisplay.Display(self.name)
                # Answers to pings come back to the root window.
                self.root = self.connection.screen().root
                self.root.change_attributes(
                    event_mask=X.StructureNotifyMask | X.SubstructureNotifyMask)
                self.clipboard_keeper = self.root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
                return {"DISPLAY": self.name}
            server.wait()
        raise AssertionError("no X server would start")

    def __exit__(self, *exc):
        if self.connection:
            self.connection.close()
        super().__exit__(*exc)

    def xdo(self, *args):
        return subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True,
                              capture_output=True, text=True, timeout=60).stdout

    def windows(self, title=korvalin_ui.TITLE):
        """The visible windows of that title, oldest first."""
        return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                              env=self.env, capture_output=True, text=True,
                              timeout=60).stdout.split()

    def window(self, program=None, title=korvalin_ui.TITLE):
        """The first window of that title, once it is shown and its program handles a
        window manager's messages, with the input focus given to it. Fails at once if
        the program ended."""
        def shown():
            if program is not None and not program.running():
                raise AssertionError(f"the program ended with status {program.wait()}:\n"
                                     f"{program.said()}")
            return self.windows(title)[:1]
        window = wait_until(shown, f"the window {title!r}")[0]
        # A window can show before its program handles the window manager's messages:
        # a close request sent then was lost on a busy machine.
        wait_until(lambda: self.answers_ping(window), "an answer to a ping")
        self.xdo("windowfocus", "--sync", window)
        return window

    def geometry(self, window):
        """Where a window lies on the screen: x, y, width, height."""
        values = dict(line.split("=") for line in
                      self.xdo("getwindowgeometry", "--shell", window).split())
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def protocol_message(self, window, name, *data):
        """Sends a window manager's message (WM_PROTOCOLS) to a window."""
        window = self.connection.create_resource_object("window", int(window))
        message = xevent.ClientMessage(
            window=window, client_type=self.connection.intern_atom("WM_PROTOCOLS"),
            data=(32, [self.connection.intern_atom(name), X.CurrentTime, *data]))
        window.send_event(message, event_mask=X.NoEventMask)
        self.connection.flush()

    def answers_ping(self, window):
        """Pings a window as a window manager does; says whether it answered within
        half a second."""
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

    def take_clipboard(self, selection="CLIPBOARD"):
        """Makes a selection ours, so that the next copy shows as a change of owner."""
        atom = self.connection.intern_atom(selection)
        self.clipboard_keeper.set_selection_owner(atom, X.CurrentTime)
        self.connection.sync()

    def clipboard_taken_back(self, selection="CLIPBOARD"):
        atom = self.connection.intern_atom(selection)
        return self.connection.get_selection_owner(atom) != self.clipboard_keeper

    def offer(self, text, selection="CLIPBOARD"):
        """Puts text on the clipboard (or the PRIMARY selection, which the middle button
        pastes), held by xclip until it is ended."""
        self.take_clipboard(selection)
        owner = self.start(["xclip", "-quiet", "-selection", selection.lower()],
                           stdin=subprocess.PIPE, stderr=subprocess.DEVNULL)
        owner.stdin.write(text.encode())
        owner.stdin.close()
        wait_until(lambda: self.clipboard_taken_back(selection), "xclip to hold the selection")
        return owner

    def pasted(self):
        """What the clipboard holds."""
        return subprocess.run(["xclip", "-o", "-selection", "clipboard"], env=self.env,
                              capture_output=True, text=True, timeout=60).stdout
