# SPDX-License-Identifier: GPL-3.0-or-later
"""A private desktop session for screen-reader tests: an X server (Xvfb), a private
D-Bus session bus on which the accessibility bus starts on demand, and the converter
with its accessibility always on. Every process started here, and every process they
leave behind, is ended and reaped on exit."""
import ctypes
import os
import random
import shutil
import signal
import subprocess
import tempfile
import time

PR_SET_CHILD_SUBREAPER = 36


def wait_until(condition, what, timeout=20.0, step=0.05, idle=None):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        (idle or time.sleep)(step)


class Session:
    processes = []
    home = None
    env = None

    def __enter__(self):
        try:
            return self.set_up()
        except BaseException:
            self.__exit__(None, None, None)
            raise

    def set_up(self):
        # Processes orphaned by the bus (the accessibility bus and its registry) come
        # back to this process, so that they can be reaped.
        ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
        self.home = tempfile.mkdtemp(prefix="korvalin-a11y-")
        runtime = os.path.join(self.home, "run")
        os.mkdir(runtime, 0o700)
        # Private runtime and home directories: the accessibility bus puts its socket
        # there, where it would otherwise be shared by every session of the user.
        self.env = dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=self.home,
                        XDG_CONFIG_HOME=os.path.join(self.home, "config"),
                        XDG_DATA_HOME=os.path.join(self.home, "data"),
                        XDG_CACHE_HOME=os.path.join(self.home, "cache"),
                        QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.env["DISPLAY"] = self.start_x_server()
        bus = self.start(["dbus-daemon", "--session", "--nofork", "--print-address=1"],
                         stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        self.env.pop("QT_QPA_PLATFORM", None)
        self.env.pop("WAYLAND_DISPLAY", None)
        self.env.pop("AT_SPI_BUS_ADDRESS", None)
        os.environ.pop("AT_SPI_BUS_ADDRESS", None)
        # The accessibility library of this process finds the bus from the environment.
        os.environ.update({k: self.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS",
                                                     "XDG_RUNTIME_DIR")})
        return self

    def start_x_server(self):
        """An X server on a display number of its own. The lowest free numbers, which X
        servers pick by themselves, are taken and given back all the time by other
        test runs, so it is picked at random far above them."""
        for _ in range(20):
            number = random.randrange(200, 2000)
            if os.path.exists(f"/tmp/.X{number}-lock"):
                continue
            read_end, write_end = os.pipe()
            server = self.start(["Xvfb", f":{number}", "-displayfd", str(write_end), "-screen",
                                 "0", "800x600x24", "-nolisten", "tcp"],
                                pass_fds=[write_end], stderr=subprocess.DEVNULL)
            os.close(write_end)
            with os.fdopen(read_end) as pipe:
                ready = pipe.readline().strip()  # empty when the server gave up
            if ready == str(number):
                return f":{number}"
            server.wait()
        raise AssertionError("no X server would start")

    def start(self, command, **options):
        options.setdefault("env", self.env)
        process = subprocess.Popen(command, start_new_session=True, **options)
        self.processes = self.processes + [process]
        return process

    def xdo(self, *args):
        return subprocess.run(["xdotool", *map(str, args)], env=self.env, check=True,
                              capture_output=True, text=True, timeout=20).stdout

    def window(self, title="La Korvalin"):
        """The X window of that title, once it is shown, with the input focus given to it
        (no window manager runs to give it)."""
        def found():
            return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{title}$"],
                                  env=self.env, capture_output=True, text=True,
                                  timeout=20).stdout.split()[:1]
        window = wait_until(found, f"the window {title!r}")[0]
        self.xdo("windowfocus", "--sync", window)
        return window

    def __exit__(self, *exc):
        for process in reversed(self.processes):
            if process.poll() is None:
                process.terminate()
                try:
                    process.wait(timeout=5)
                except subprocess.TimeoutExpired:
                    process.kill()
                    process.wait()
        # Whatever the bus started (accessibility bus, registry) now has this process
        # as parent: end it, then reap it.
        deadline = time.monotonic() + 10
        while time.monotonic() < deadline:
            orphans = self.children()
            if not orphans:
                break
            for pid in orphans:
                try:
                    os.kill(pid, signal.SIGTERM if time.monotonic() < deadline - 5
                            else signal.SIGKILL)
                except ProcessLookupError:
                    pass
            try:
                while os.waitpid(-1, os.WNOHANG)[0]:
                    pass
            except ChildProcessError:
                pass
            time.sleep(0.1)
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
