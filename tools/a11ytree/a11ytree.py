#!/usr/bin/python3
"""Prints what a screen reader sees of a running Qt program: its accessibility tree over AT-SPI.

    a11ytree.py [--timeout S] PROGRAM [ARGS...]

starts PROGRAM with Qt's accessibility bridge switched on, waits until its window is in the
tree, prints one line per object (role, name, description, states; indented by depth) and ends
the program. It needs a display and a session bus with the AT-SPI bus behind it, as a desktop
session has; without one:

    xvfb-run -a dbus-run-session -- tools/a11ytree/a11ytree.py build/console/velorand

It is Debian's python3 that has pyatspi (python3-pyatspi), hence the interpreter above.
"""

import argparse
import os
import subprocess
import sys
import time

import pyatspi

# States worth reading; the rest (sensitive, opaque, ...) only repeat these.
SHOWN_STATES = ("showing", "focusable", "checked", "enabled", "active")


def find_application(name, deadline):
    """The program's accessible application once its window has children, or None at the deadline."""
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == name and app.childCount and app[0].childCount:
                return app
        time.sleep(0.1)
    return None


def walk(node, depth=0):
    """(depth, accessible) for node and everything below it, depth first."""
    yield depth, node
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def states(node):
    present = [pyatspi.stateToString(s) for s in node.getState().getStates()]
    return [s for s in SHOWN_STATES if s in present]


def describe(node):
    text = f'{node.getRoleName()} "{node.name}"'
    if node.description:
        text += " (" + node.description.replace("\n", " ") + ")"
    return text + " [" + " ".join(states(node)) + "]"


def start(program, arguments, environment=None):
    """Starts the program with Qt's accessibility bridge on, whether or not a screen reader runs."""
    env = dict(os.environ if environment is None else environment)
    env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    env.pop("QT_QPA_PLATFORM", None)
    return subprocess.Popen([program, *arguments], env=env)


def stop(process):
    process.terminate()
    try:
        process.wait(30)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--timeout", type=float, default=30, help="seconds to wait for the window")
    parser.add_argument("program")
    parser.add_argument("arguments", nargs=argparse.REMAINDER)
    options = parser.parse_args()

    process = start(options.program, options.arguments)
    try:
        app = find_application(os.path.basename(options.program), time.monotonic() + options.timeout)
        if app is None:
            print("the program did not show up in the accessibility tree", file=sys.stderr)
            return 1
        for depth, node in walk(app):
            print("  " * depth + describe(node))
        return 0
    finally:
        stop(process)


if __name__ == "__main__":
    sys.exit(main())
