# SPDX-License-Identifier: GPL-3.0-or-later
"""The program's accessible objects, as a screen reader reaches them over AT-SPI."""
import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402  (connects on first use, to the session's bus)


def application(pid):
    """The program's application object on the accessibility bus, or None yet."""
    desktop = Atspi.get_desktop(0)
    for index in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(index)
        try:
            if app is not None and app.get_process_id() == pid:
                return app
        except GLib.Error:
            continue  # an application that went away meanwhile
    return None


def descendants(root):
    """Every accessible object below root, depth first."""
    for index in range(root.get_child_count()):
        child = root.get_child_at_index(index)
        if child is not None:
            yield child
            yield from descendants(child)


def find(root, role, name):
    """The first accessible object below root of that role name and name, or None."""
    return next((child for child in descendants(root)
                 if child.get_role_name() == role and child.get_name() == name), None)
