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
    """What the test knows through the accessibility bus, and the events it has heard."""

    def __init__(self, program):
        import pyatspi
        from gi.repository import GLib
        self.pyatspi = pyatspi
        self.context = GLib.MainContext.default()
        self.program = program
        self.step = 0
        self.heard = {}  # step -> list of (kind, what)
        pyatspi.Registry.registerEventListener(self.on_name, "object:property-change:accessible-name")
        pyatspi.Registry.registerEventListener(self.on_value, "object:property-change:accessible-value")

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

    def heard_on_page(self, event, role):
        """Whether the event comes from a control of this role on the device page now showing;
        a control that is already gone says nothing."""
        try:
            source = event.source
            return (source.getRoleName() == role and source.getApplication().name == self.program
                    and window_of(source).name.startswith(f"Step {self.step} of 11:"))
        except Exception:
            return False

    def on_name(self, event):
        if self.step in (6, 10) and self.heard_on_page(event, "label"):
            self.heard.setdefault(self.step, []).append(("text", event.source.name))

    def on_value(self, event):
        if self.step in (6, 10) and self.heard_on_page(event, "progress bar"):
            value = event.source.queryValue().currentValue
            self.heard.setdefault(self.step, []).append(("bar", int(value)))


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
        role = accessible.getRoleName()
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
    while accessible.parent is not None and accessible.parent.getRoleName() != "application":
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
        if (accessible.getRoleName() == "push button" and accessible.name == name
                and showing(accessible, pyatspi)):
            return accessible
    raise Failure(f"no button \"{name}\" on \"{window.name}\"")


def power_key(reader):
    desktop = reader.pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == "yardmark-window":
            for accessible in walk(app):
                if accessible.getRoleName() == "push button" and accessible.name == "Power key":
                    return accessible
    return None


def drive(reader, demo):
    problems = set()
    for step, answer, power in STEPS:
        page = wait_for(f"step {step}", lambda: page_showing(reader, step) or ended(demo, step), reader)
        reader.step = step
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
    reader.step = 0
    return sorted(problems)


def ended(demo, step):
    if demo.poll() is not None:
        raise Failure(f"quillon-demo ended (status {demo.returncode}) before step {step}")
    return None


def summary(heard):
    texts = [what for kind, what in heard if kind == "text"]
    bar = [what for kind, what in heard if kind == "bar"]
    shown = "; ".join(dict.fromkeys(texts))
    return (f"{len(texts)} name changes ({shown}); "
            f"{len(bar)} bar values" + (f", last {bar[-1]}" if bar else ""))


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
        step6 = reader.heard.get(6, [])
        if not any(kind == "text" and what.startswith("7. Loading Firmware: ") for kind, what in step6):
            failures.append("step 6 announced no change of its rows")
        if not any(kind == "bar" for kind, what in step6):
            failures.append("step 6 announced no change of its progress bar")
        if not any(kind == "text" and not re.match(r"^\d\. ", what) for kind, what in step6):
            failures.append("step 6 announced no change of its status line")
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
