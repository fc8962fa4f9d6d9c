# SPDX-License-Identifier: GPL-3.0-or-later
"""What every script that drives the real program shares: a desktop of its own (an X
server or a headless Wayland compositor, a private session bus with the accessibility
bus when asked), the program started in it, one way to await a state, the window as
Korvalin.ui describes it, and accessible objects found by role and name."""
