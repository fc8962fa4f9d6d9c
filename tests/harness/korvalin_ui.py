# SPDX-License-Identifier: GPL-3.0-or-later
"""The window as ui/Korvalin.ui describes it: its title, its size, where each control
lies, what it is called and described as for a screen reader, and the colours its
style sheet gives. The running program is checked against these, never against copies."""
import os
import re
import xml.etree.ElementTree as ET
from dataclasses import dataclass

PATH = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "ui", "Korvalin.ui")
_window = ET.parse(PATH).getroot().find("widget")


def _text(widget, name):
    node = widget.find(f"property[@name='{name}']/string")
    return node.text or "" if node is not None else None


def _rect(widget):
    rect = widget.find("property[@name='geometry']/rect")
    return tuple(int(rect.find(k).text) for k in ("x", "y", "width", "height"))


@dataclass(frozen=True)
class Control:
    kind: str  # its Qt class
    rect: tuple  # x, y, width, height in logical pixels, from the window's corner
    name: str  # the accessible name: the one given, or else the text shown
    description: str

    @property
    def centre(self):
        x, y, width, height = self.rect
        return x + width // 2, y + height // 2


TITLE = _text(_window, "windowTitle")
SIZE = _rect(_window)[2:]
CONTROLS = {
    widget.get("name"): Control(
        widget.get("class"), _rect(widget),
        _text(widget, "accessibleName") or _text(widget, "text") or "",
        _text(widget, "accessibleDescription") or "")
    for widget in _window.iter("widget") if widget is not _window}


def colour(control):
    """The text colour, (red, green, blue), that the style sheet gives a control."""
    style = _text(_window, "styleSheet")
    for rules in re.findall(rf"#{control}\s*\{{([^}}]*)\}}", style):
        found = re.search(r"(?<![-\w])color:\s*rgb\((\d+),\s*(\d+),\s*(\d+)\)", rules)
        if found:
            return tuple(map(int, found.groups()))
    raise KeyError(f"no colour for {control} in {PATH}")
