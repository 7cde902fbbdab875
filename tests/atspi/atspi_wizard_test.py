#!/usr/bin/python3
"""The windowed wizard as a screen reader meets it.

Runs quillon-demo with its windows against the virtual Yardmark on a private X display and a
private session bus, and plays a golfer who reaches the program through the accessibility bus
(AT-SPI) alone: it finds each page by its accessible name, presses the page's buttons through
their accessible actions, and switches the virtual Yardmark off and on through its own window's
power key. Fails when a window, picture, progress bar or button of the wizard has no name, when
a button's name is not words, when step 6 announces no change of its status line, its rows and
its bar, or when the update does not end verified. Prints what steps 6 and 10 announced.
"""

import argparse
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

PAGE_TIMEOUT_S = 120
# What each page is answered with: the accessible name of the button, and whether the virtual
# Yardmark's power key is pressed first (step 7 switches it off, step 8 on again).
STEPS = [
    (1, "Yes", False), (2, "Next", False), (3, "Next", False), (4, "Next", False),
    (5, "Yes", False), (6, None, False), (7, "Next", True), (8, "Next", True),
    (9, "Yes", False), (10, None, False), (11, "Finish", False),
]
NAMED_ROLES = {"dialog", "frame", "window", "image", "icon", "progress bar", "push button"}
WORDS = re.compile(r"^[A-Za-z]+( [A-Za-z]+)*$")
ROW_STATE = re.compile(r"^\d+\. .*: \S+$")  # a row's label, then its state


class Failure(Exception):
    pass


def start_display(work):
    """An Xvfb of its own; the display number it chose."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24",
                             "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL,
                            start_new_session=True)
    os.close(write_end)
    with os.fdopen(read_end) as chosen:
        number = chosen.readline().strip()
    if not number:
        raise Failure("Xvfb did not start")
    return xvfb, ":" + number


def start_session_bus(work):
    """A session bus of its own, on which the accessibility bus is started on demand."""
    bus = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address=1",
                            "--address=unix:dir=" + work], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, start_new_session=True, text=True)
    address = bus.stdout.readline().strip()
    if not address:
        raise Failure("dbus-daemon did not start")
    return bus, address


def stop(process):
    """Ends a process started in a session of its own, with everything it started."""
    if process is None or process.poll() is not None:
        return
    try:
        os.killpg(process.pid, signal.SIGTERM)
        process.wait(timeout=10)
    except (ProcessLookupError, subprocess.TimeoutExpired):
        os.killpg(process.pid, signal.SIGKILL)
        process.wait()


class ScreenReader:
    """What the test knows through the accessibility bus, and the changes it has heard."""

    def __init__(self, program):
        import pyatspi
        from gi.repository import GLib
        self.pyatspi = pyatspi
        self.context = GLib.MainContext.default()
        self.program = program
        # The status line, row states and bar of the device pages, by their object paths: an
        # event is told by its source alone, however late a busy machine delivers it.
        self.watched = {}  # path -> (step, kind)
        self.heard = {}  # step -> list of (kind, what was read)
        for event in ("object:property-change:accessible-name",
                      "object:property-change:accessible-value"):
            pyatspi.Registry.registerEventListener(self.on_change, event)

    def listen(self, seconds):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            while self.context.iteration(False):
                pass
            time.sleep(0.02)

    def wizard(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is not None and app.name == self.program:
                return app
        return None

    def watch(self, step, page):
        for accessible in walk(page):
            role = role_name(accessible)
            if role == "progress bar":
                kind = "bar"
            elif role == "label" and accessible.description:
                kind = "status"  # the one text of the page that says what it is for
            elif role == "label" and ROW_STATE.match(accessible.name):
                kind = "row"
            else:
                continue
            self.watched[accessible.path] = (step, kind)

    def on_change(self, event):
        found = self.watched.get(event.source.path)
        if found is None:
            return
        step, kind = found
        try:
            if kind == "bar":
                what = str(int(event.source.queryValue().currentValue))
            else:
                what = event.source.name
        except Exception:
            what = "(gone before it was read)"
        self.heard.setdefault(step, []).append((kind, what))


def role_name(accessible):
    """The accessible's role as at-spi 2.46 names it; 2.56 (Debian 13) calls a push button
    "button"."""
    name = accessible.getRoleName()
    return "push button" if name == "button" else name


def walk(accessible):
    yield accessible
    for child in accessible:
        if child is not None:
            yield from walk(child)


def showing(accessible, pyatspi):
    return accessible.getState().contains(pyatspi.STATE_SHOWING)


def unnamed(window):
    """Every window, picture, progress bar and button in `window` without a name, and every
    button whose name is not read as words."""
    problems = []
    for accessible in walk(window):
        role = role_name(accessible)
        if role not in NAMED_ROLES:
            continue
        name = accessible.name
        where = f"a {role} in \"{window.name}\""
        if not name:
            problems.append(f"{where} has no name")
        elif role == "push button" and not WORDS.match(name):
            problems.append(f"{where} is read as \"{name}\", not as words")
    return problems


def read_names(window, what, reader):
    """unnamed(window), read again while the window was changing under the reader."""
    from gi.repository import GLib
    for _ in range(5):
        try:
            return unnamed(window)
        except GLib.Error:
            reader.listen(0.2)
    raise Failure(f"{what} went away while it was read")


def window_of(accessible):
    while accessible.parent is not None and role_name(accessible.parent) != "application":
        accessible = accessible.parent
    return accessible


def page_showing(reader, step):
    app = reader.wizard()
    if app is None:
        return None
    prefix = f"Step {step} of 11:"
    for window in app:
        if window is not None and window.name.startswith(prefix) and showing(window, reader.pyatspi):
            return window
    return None


def wait_for(what, probe, reader, timeout=PAGE_TIMEOUT_S):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        found = probe()
        if found is not None:
            return found
        reader.listen(0.1)
    raise Failure(f"{what} did not appear within {timeout} s")


def press(accessible):
    action = accessible.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == "Press":
            action.doAction(i)
            return
    raise Failure(f"\"{accessible.name}\" cannot be pressed")


def button(window, name, pyatspi):
    for accessible in walk(window):
        if (role_name(accessible) == "push button" and accessible.name == name
                and showing(accessible, pyatspi)):
            return accessible
    raise Failure(f"no button \"{name}\" on \"{window.name}\"")


def power_key(reader):
    desktop = reader.pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "yardmark-window":
            for accessible in walk(app):
                if role_name(accessible) == "push button" and accessible.name == "Power key":
                    return accessible
    return None


def drive(reader, demo):
    problems = set()
    for step, answer, power in STEPS:
        page = wait_for(f"step {step}", lambda: page_showing(reader, step) or ended(demo, step), reader)
        if answer is None:
            reader.watch(step, page)
        if step == 1:
            # The hidden main dialog, which owns every page, is met once.
            for window in reader.wizard():
                if window is not None and not window.name.startswith("Step "):
                    problems.update(read_names(window, "the main dialog", reader))
        problems.update(read_names(page, f"step {step}", reader))
        print(f"step {step}: \"{page.name}\"", flush=True)
        if power:
            press(wait_for("the virtual Yardmark's power key", lambda: power_key(reader), reader))
            reader.listen(0.5)
        if answer:
            press(button(page, answer, reader.pyatspi))
        else:
            # A device page ends by itself; its announcements are heard until the next page.
            wait_for(f"the end of step {step}", lambda: None if page_showing(reader, step) else True,
                     reader, timeout=600)
    return sorted(problems)


def ended(demo, step):
    if demo.poll() is not None:
        raise Failure(f"quillon-demo ended (status {demo.returncode}) before step {step}")
    return None


def summary(heard):
    said = {kind: [what for k, what in heard if k == kind] for kind in ("status", "row", "bar")}
    return "; ".join(f"{len(said[kind])} changes of its {kind}" +
                     (f" ({', '.join(dict.fromkeys(said[kind]))})" if said[kind] else "")
                     for kind in said)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--demo", required=True)
    # Every wait of the wizard and the device at a quarter of real time: short enough for a
    # quick run, long enough that a busy machine does not make the device seem silent.
    parser.add_argument("--time-scale", default="0.25")
    args = parser.parse_args()
    for tool in ("Xvfb", "dbus-daemon"):
        if shutil.which(tool) is None:
            print(f"{tool} is missing: run scripts/install-deps", file=sys.stderr)
            return 1

    work = tempfile.mkdtemp(prefix="quillon-atspi.")
    xvfb = bus = demo = None
    try:
        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)
        os.environ["XDG_RUNTIME_DIR"] = runtime
        xvfb, display = start_display(work)
        bus, address = start_session_bus(work)
        os.environ["DISPLAY"] = display
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = address
        os.environ.pop("QT_QPA_PLATFORM", None)
        # Qt speaks to the accessibility bus without waiting to be asked by a screen reader.
        os.environ["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
        reader = ScreenReader("quillon-demo")
        log = open(os.path.join(work, "demo.out"), "w")
        demo = subprocess.Popen([args.demo, "--time-scale", args.time_scale,
                                 "--workdir", os.path.join(work, "run")],
                                stdout=log, stderr=subprocess.STDOUT, start_new_session=True)
        problems = drive(reader, demo)
        demo.wait(timeout=PAGE_TIMEOUT_S)
        log.close()
        output = open(os.path.join(work, "demo.out")).read()
        for step in (6, 10):
            print(f"step {step} announced: {summary(reader.heard.get(step, []))}")
        failures = [f"unnamed: {p}" for p in problems]
        for kind in ("status", "row", "bar"):
            if not any(k == kind for k, _ in reader.heard.get(6, [])):
                failures.append(f"step 6 announced no change of its {kind}")
        if demo.returncode != 0 or "verified: the Yardmark reports the new GPS version" not in output:
            failures.append(f"the update was not verified (status {demo.returncode}):\n{output}")
        for failure in failures:
            print(f"FAIL: {failure}")
        print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
        return 1 if failures else 0
    except Failure as failure:
        print(f"FAIL: {failure}")
        if demo is not None:
            stop(demo)
            print(open(os.path.join(work, "demo.out")).read())
        return 1
    finally:
        stop(demo)
        stop(bus)
        stop(xvfb)
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
