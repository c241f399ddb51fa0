#!/usr/bin/python3
"""The running window as a screen reader meets it over AT-SPI: roles, names, shown and hidden
objects, and lamps that announce their change. The program runs on a display server and a
session bus of the test's own.

    tst_mainformatspi.py VELORAND A11YTREE_DIR

Exit status 0: passed; 1: failed; 77: skipped (a tool it needs is not installed).
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
CAPTION = "Velorand v1.9b - 20030122 - by Quen++"

# (role, name) of objects that must be in the tree and showing.
SHOWN = [
    ("frame", CAPTION),
    ("panel", "Settings bar"),
    ("push button", "Connect"),
    ("panel", "COM Port"),
    ("radio button", "COM1"),
    ("panel", "Receive pane"),
    ("push button", "Clear receive"),
    ("spin button", "Counted character"),
    ("text", "Receive"),
    ("separator", "Splitter"),
    ("panel", "Transmit pane"),
    ("push button", "Clear transmit"),
    ("check box", "DTR lamp"),
    ("push button", "Set DTR"),
    ("push button", "Clear DTR"),
    ("check box", "RTS lamp"),
    ("push button", "Set RTS"),
    ("push button", "Clear RTS"),
    ("text", "Transmit"),
    ("combo box", "Macro 1"),
    ("push button", "Send macro 3"),
    ("status bar", "Disconnected"),
]
# The labels that lie behind the Settings strip.
HIDDEN = [("label", "dec"), ("label", "hex"), ("label", "bin")]


class Results:
    def __init__(self):
        self.passed = 0
        self.failures = []

    def check(self, condition, what):
        if condition:
            self.passed += 1
        else:
            self.failures.append(what)


def start_xvfb():
    """A display server on the first free display: (process, ":N")."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp"], pass_fds=[write_end],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as announced:
        return xvfb, ":" + announced.readline().strip()


def check_window(app, results, events, pump):
    import a11ytree

    found = {(node.getRoleName(), node.name): node for _, node in a11ytree.walk(app)}
    results.check(app.childCount == 1 and app[0].getRoleName() == "frame", "the window is the program's one frame")
    for role, name in SHOWN:
        node = found.get((role, name))
        results.check(node is not None and "showing" in a11ytree.states(node), f'{role} "{name}" is shown')
    for role, name in HIDDEN:
        node = found.get((role, name))
        results.check(node is not None and "showing" not in a11ytree.states(node), f'{role} "{name}" is hidden')

    lamp = found[("check box", "DTR lamp")]
    for button, on in (("Set DTR", True), ("Clear DTR", False)):
        found[("push button", button)].queryAction().doAction(0)
        deadline = time.monotonic() + 30
        while ("DTR lamp", on) not in events and time.monotonic() < deadline:
            pump()
        results.check(("DTR lamp", on) in events, f"{button} announces the lamp's change")
        results.check(("checked" in a11ytree.states(lamp)) == on, f"{button} leaves the lamp checked={on}")


def run(velorand):
    import pyatspi
    from gi.repository import GLib
    import a11ytree

    def pump():
        if not GLib.MainContext.default().iteration(False):
            time.sleep(0.02)

    events = []
    pyatspi.Registry.registerEventListener(
        lambda event: events.append((event.source.name, bool(event.detail1))), "object:state-changed:checked")

    xvfb, display = start_xvfb()
    results = Results()
    with tempfile.TemporaryDirectory() as home:
        env = dict(os.environ, DISPLAY=display, XDG_CONFIG_HOME=home)
        process = a11ytree.start(velorand, [], env)
        try:
            app = a11ytree.find_application(os.path.basename(velorand), time.monotonic() + 60)
            results.check(app is not None, "the window shows up in the accessibility tree")
            if app is not None:
                check_window(app, results, events, pump)
                if results.failures:
                    for depth, node in a11ytree.walk(app):
                        print("  " * depth + a11ytree.describe(node))
        finally:
            a11ytree.stop(process)
            xvfb.terminate()
            xvfb.wait()
    for failure in results.failures:
        print("FAIL:", failure)
    print(f"{results.passed} passed, {len(results.failures)} failed")
    return 1 if results.failures else 0


def main():
    velorand, tool_dir = sys.argv[1], sys.argv[2]
    sys.path.insert(0, tool_dir)
    if os.environ.get("VELORAND_ATSPI_SESSION") == "1":
        try:
            import pyatspi  # noqa: F401
        except ImportError:
            print("SKIP: python3-pyatspi is not installed")
            return SKIP
        return run(velorand)

    missing = [tool for tool in ("Xvfb", "dbus-run-session", "/usr/libexec/at-spi-bus-launcher")
               if not shutil.which(tool)]
    if missing:
        print("SKIP: not installed:", " ".join(missing))
        return SKIP
    # A session bus of the test's own; the AT-SPI bus and registry start on it when asked for.
    # The AT-SPI bus puts its socket in the runtime directory, which would be shared by runs at
    # the same time, and publishes itself on the display it finds, which must not be a desktop's.
    env = {key: value for key, value in os.environ.items()
           if key not in ("DISPLAY", "WAYLAND_DISPLAY", "AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS")}
    with tempfile.TemporaryDirectory() as runtime:
        env.update(VELORAND_ATSPI_SESSION="1", XDG_RUNTIME_DIR=runtime)
        return subprocess.call(["dbus-run-session", "--", sys.executable, *sys.argv], env=env)


if __name__ == "__main__":
    sys.exit(main())
