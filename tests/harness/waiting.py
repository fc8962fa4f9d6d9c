# SPDX-License-Identifier: GPL-3.0-or-later
"""Awaiting a state, never a fixed time."""
import time


def wait_until(condition, what, timeout=60.0, step=0.05, idle=time.sleep):
    """Returns the first true value of condition(), tried every step seconds (idle(step)
    runs between tries); fails after timeout seconds, naming what was awaited. The
    timeout only bounds a state that never comes: a loaded machine gets there later."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out waiting for {what}")
        idle(step)
