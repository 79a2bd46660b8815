#!/usr/bin/python3
"""Reads or uses the program's windows through AT-SPI alone, as a screen reader
does.

  accessible_tree.py controls TITLE      one line per control of the window:
                                         role, name and (for fields) text, tab-separated
  accessible_tree.py press TITLE NAME    does the first action of the control so named
  accessible_tree.py role TITLE          the window's role ("frame", "alert", ...)
"""
import sys

import pyatspi

MAX_DEPTH = 12  # controls lie a few levels down; the walk stops here
CONTROLS = {
    pyatspi.ROLE_PUSH_BUTTON: "button",
    pyatspi.ROLE_CHECK_BOX: "check",
    pyatspi.ROLE_TEXT: "field",
    pyatspi.ROLE_ENTRY: "field",
    pyatspi.ROLE_PASSWORD_TEXT: "field",
    pyatspi.ROLE_MENU: "menu",
    pyatspi.ROLE_MENU_ITEM: "item",
    pyatspi.ROLE_LABEL: "label",
    pyatspi.ROLE_IMAGE: "image",
}


def walk(node, depth=0):
    if node is None or depth > MAX_DEPTH:
        return
    for child in node:
        if child is None:
            continue
        yield child
        yield from walk(child, depth + 1)


def window(title):
    for application in pyatspi.Registry.getDesktop(0):
        if application is None or application.name != "brindle":
            continue
        for top in application:
            if top is not None and top.name == title:
                return top
    raise SystemExit(f"no window titled {title!r}")


def text_of(node):
    try:
        text = node.queryText()
    except NotImplementedError:
        return ""
    return text.getText(0, -1)


def controls(title):
    for node in walk(window(title)):
        role = CONTROLS.get(node.getRole())
        if role is not None:
            print(f"{role}\t{node.name}\t{text_of(node) if role == 'field' else ''}")


def press(title, name):
    for node in walk(window(title)):
        if node.name == name and node.getRole() in CONTROLS:
            node.queryAction().doAction(0)
            return
    raise SystemExit(f"no control named {name!r} in {title!r}")


if __name__ == "__main__":
    if sys.argv[1] == "controls":
        controls(sys.argv[2])
    elif sys.argv[1] == "role":
        print(window(sys.argv[2]).getRoleName())
    else:
        press(sys.argv[2], sys.argv[3])
