# SPDX-License-Identifier: GPL-3.0-or-later
"""An Xvfb of the benchmark's own, on a free display number."""
import os
import subprocess


def start_server(screen="800x600x24"):
    """Starts Xvfb and returns the process and its display name (":N")."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", screen,
                               "-nolisten", "tcp"], pass_fds=[write_end],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        name = ":" + pipe.readline().strip()
    return server, name
