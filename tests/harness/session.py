# SPDX-License-Identifier: GPL-3.0-or-later
"""A desktop session of the script's own: private home and runtime folders, a display
server (started by a subclass: x11.XSession, wayland.WaylandSession), a private session
bus with the accessibility bus on it when asked, and the programs started in it. On
exit every process started here, and every process they left behind, is ended and
reaped, and the folders are removed (kept when KORVALIN_KEEP_SESSION is set).

A process reaches one accessibility bus only, the first it uses: one session with
accessibility a process."""
import ctypes
import os
import shutil
import signal
import subprocess
import tempfile
import time

from .waiting import wait_until

PR_SET_CHILD_SUBREAPER = 36


class Program:
    """The converter running in a session; what it writes goes to a file."""

    def __init__(self, session, path, env):
        self.output = session.file()
        self.process = session.start([path], env=env, stdin=subprocess.DEVNULL,
                                     stdout=self.output, stderr=subprocess.STDOUT)
        self.pid = self.process.pid

    def said(self):
        """Everything the program has written so far."""
        self.output.seek(0)
        return self.output.read().decode(errors="replace")

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=60):
        """The program's exit status, once it has ended by itself."""
        return self.process.wait(timeout=timeout)

    def stop(self):
        """Ends the program if it still runs; returns what it said."""
        if self.running():
            self.process.kill()
        self.process.wait()
        return self.said()


class Session:
    def __init__(self, accessibility=False):
        self.accessibility = accessibility
        self.processes = []
        self.files = []
        self.home = None
        self.env = None

    def __enter__(self):
        try:
            self.set_up()
        except BaseException:
            self.__exit__(None, None, None)
            raise
        return self

    def set_up(self):
        # Processes orphaned by the bus (the accessibility bus and its registry) come
        # back to this process, so that they can be reaped.
        ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
        self.home = tempfile.mkdtemp(prefix="korvalin-session-")
        runtime = os.path.join(self.home, "run")
        os.mkdir(runtime, 0o700)
        # The display's, the compositor's and the accessibility bus's sockets go to the
        # runtime folder: a private one keeps them from any other session of the user.
        self.env = dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=self.home,
                        XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                        XDG_DATA_HOME=os.path.join(self.home, "data"),
                        XDG_CACHE_HOME=os.path.join(self.home, "cache"))
        for name in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "AT_SPI_BUS_ADDRESS",
                     "DBUS_SESSION_BUS_ADDRESS"):
            self.env.pop(name, None)
        self.env.update(self.start_display())
        if self.accessibility:
            bus = self.start(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
            self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
            self.env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
            # This process's accessibility library finds the bus from its environment.
            for name in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR",
                         "AT_SPI_BUS_ADDRESS"):
                os.environ.pop(name, None)
                if name in self.env:
                    os.environ[name] = self.env[name]

    def start_display(self):
        """Starts the display server; returns the variables that lead a client to it."""
        raise NotImplementedError

    def start(self, command, **options):
        """Starts a process in the session; it is ended with the session."""
        options.setdefault("env", self.env)
        process = subprocess.Popen(command, start_new_session=True, **options)
        self.processes.append(process)
        return process

    def program(self, path, **env):
        """Starts the converter, with these variables added to the session's."""
        return Program(self, path, dict(self.env, **env))

    def file(self):
        """A file for a process's output, closed with the session."""
        self.files.append(tempfile.TemporaryFile(dir=self.home))
        return self.files[-1]

    def __exit__(self, *exc):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=10)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
            for pipe in (process.stdin, process.stdout):
                if pipe:
                    pipe.close()
        for file in self.files:
            file.close()
        # Whatever the bus started now has this process as parent: ended, then reaped.
        # Asked to end first, killed if it has not within five seconds.
        polite = time.monotonic() + 5

        def orphans_gone():
            orphans = self.children()
            for pid in orphans:
                try:
                    os.kill(pid, signal.SIGTERM if time.monotonic() < polite else signal.SIGKILL)
                except ProcessLookupError:
                    pass
            try:
                while os.waitpid(-1, os.WNOHANG)[0]:
                    pass
            except ChildProcessError:
                pass
            return not orphans
        wait_until(orphans_gone, "the session's processes to end", timeout=20, step=0.1)
        if self.home and not os.environ.get("KORVALIN_KEEP_SESSION"):
            shutil.rmtree(self.home, ignore_errors=True)

    @staticmethod
    def children():
        me = os.getpid()
        found = []
        for entry in os.listdir("/proc"):
            if entry.isdigit():
                try:
                    with open(f"/proc/{entry}/stat") as stat:
                        fields = stat.read().rsplit(")", 1)[1].split()
                except OSError:
                    continue
                if int(fields[1]) == me:
                    found.append(int(entry))
        return found
