"""Prints, as JSON, the accessible objects of the application with the given process id:
role, name, text (for text objects), focused, showing, checked, active and screen extents.

It runs as its own short-lived process so that every read starts with an empty
AT-SPI cache and a stuck read is ended by the caller's timeout.
"""

import json
import sys

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

MAX_NODES = 2000


def describe(node):
    entry = {"role": node.get_role_name(), "name": node.get_name() or ""}
    text = node.get_text_iface()
    entry["text"] = Atspi.Text.get_text(text, 0, Atspi.Text.get_character_count(text)) if text else None
    if text and entry["text"]:
        # Screen extents of the first and the last character, to tell whether the text fits.
        chars = []
        for offset in (0, len(entry["text"]) - 1):
            rect = Atspi.Text.get_character_extents(text, offset, Atspi.CoordType.SCREEN)
            chars.append([rect.x, rect.y, rect.width, rect.height])
        entry["char_extents"] = chars
    states = node.get_state_set()
    entry["focused"] = bool(states.contains(Atspi.StateType.FOCUSED))
    entry["showing"] = bool(states.contains(Atspi.StateType.SHOWING))
    entry["checked"] = bool(states.contains(Atspi.StateType.CHECKED))
    entry["active"] = bool(states.contains(Atspi.StateType.ACTIVE))
    component = node.get_component_iface()
    if component:
        rect = Atspi.Component.get_extents(component, Atspi.CoordType.SCREEN)
        entry["extents"] = [rect.x, rect.y, rect.width, rect.height]
    return entry


def main():
    pid = int(sys.argv[1])
    Atspi.init()
    Atspi.set_timeout(3000, 5000)
    desktop = Atspi.get_desktop(0)
    nodes = []
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is None:
            continue
        try:
            if app.get_process_id() != pid:
                continue
        except GLib.Error:
            continue
        stack = [app]
        while stack and len(nodes) < MAX_NODES:
            node = stack.pop()
            try:
                nodes.append(describe(node))
                count = node.get_child_count()
            except GLib.Error:
                continue
            for j in reversed(range(count)):
                child = node.get_child_at_index(j)
                if child is not None:
                    stack.append(child)
    json.dump(nodes, sys.stdout)


if __name__ == "__main__":
    main()
