# SPDX-License-Identifier: GPL-3.0-or-later
"""Polling for a state, shared by the scripts that drive the real program."""
import time


def wait_until(condition, what, timeout=10.0, step=0.05):
    """Returns the first true value of condition(), polled every step seconds; fails
    the test after timeout seconds, naming what was awaited."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(step)
    raise AssertionError(f"timed out waiting for {what}")
