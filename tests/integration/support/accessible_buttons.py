#!/usr/bin/python3
"""Prints the accessible names of the buttons in the program's window with the
given title, one a line, as a screen reader finds them through AT-SPI."""
import sys

import pyatspi

MAX_DEPTH = 12  # a box's buttons lie a few levels down; the walk stops here


def buttons(node, depth=0):
    if node is None or depth > MAX_DEPTH:
        return
    for child in node:
        if child is None:
            continue
        if child.getRole() == pyatspi.ROLE_PUSH_BUTTON:
            yield child.name
        yield from buttons(child, depth + 1)


def main(title):
    for application in pyatspi.Registry.getDesktop(0):
        if application is None or application.name != "brindle":
            continue
        for window in application:
            if window is not None and window.name == title:
                for name in buttons(window):
                    print(name)
                return 0
    print(f"no window titled {title!r}", file=sys.stderr)
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
