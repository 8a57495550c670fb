#!/usr/bin/python3
"""Drives Tornevo with real key presses and prints the AT-SPI events it raises.

Usage: atspi_dump.py path/to/tornevo
Needs an X display and a session bus that runs the AT-SPI bus (see run-atspi-dump).
After each step it also reads the answer as a screen reader would: its role, name and
description. The exit status is 1 if a name is not the expected one or no name change
was announced after a step that changes it.
"""

import os
import subprocess
import sys

import pyatspi
from gi.repository import GLib

program = sys.argv[1]
env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
app = subprocess.Popen([program], env=env)


def say(line):
    print(line, flush=True)


def describe(accessible):
    try:
        return f"{accessible.getRoleName()} \"{accessible.name}\""
    except Exception:  # the object may be gone already
        return "(gone)"


def from_tornevo(event):
    try:
        return event.host_application is not None and event.host_application.name.lower() == "tornevo"
    except Exception:
        return False


def on_event(event):
    if not from_tornevo(event):
        return
    data = event.any_data
    if hasattr(data, "getRoleName"):
        data = describe(data)
    if event.type == "object:property-change:accessible-name" and event.source.getRoleName() == "notification":
        announced.append(event.source.name)
    say(f"  event {event.type}  source={describe(event.source)}  detail={event.detail1},{event.detail2}"
        f"  data={data!r}")


def find(accessible, role):
    if accessible is None:
        return None
    try:
        if accessible.getRoleName() == role:
            return accessible
        for child in accessible:
            found = find(child, role)
            if found is not None:
                return found
    except Exception:
        return None
    return None


def tornevo():
    for application in pyatspi.Registry.getDesktop(0):
        if application is not None and application.name.lower() == "tornevo":
            return application
    return None


failures = []
announced = []  # answer names announced during the current step


def read_answer():
    answer = find(tornevo(), "notification")
    if answer is None:
        say("  read: no answer (a notification) found")
        failures.append("no answer (a notification)")
        return None
    text = "no Text interface"
    try:
        t = answer.queryText()
        text = repr(t.getText(0, t.characterCount))
    except NotImplementedError:
        pass
    say(f"  read: role={answer.getRoleName()} name={answer.name!r} description={answer.description!r} text: {text}")
    return answer.name


def keys(*names):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *names], check=True)


# Each step: what it does, how, and the answer's name afterwards.
steps = [
    ("the window is shown; the answer before any calculation", lambda: None, "Answer"),
    ("Alt+C: calculate 3000 RCF at 6 cm", lambda: keys("alt+c"), "Answer: 6688 RPM"),
    ("Tab Tab Tab Down: \"Convert from\" RPM (the answer goes out of date)", lambda: keys("Tab", "Tab", "Tab", "Down"),
     "Answer, out of date: 6688 RPM"),
    ("Alt+C: calculate 3000 RPM at 6 cm", lambda: keys("alt+c"), "Answer: 604 RCF"),
    ("Shift+Tab, type 4000: the value changes (out of date again)", lambda: keys("shift+Tab", "4", "0", "0", "0"),
     "Answer, out of date: 604 RCF"),
    ("Return: calculate 4000 RPM at 6 cm", lambda: keys("Return"), "Answer: 1073 RCF"),
]
expected = None


def run_steps():
    if not steps:
        say("== Alt+X: end")
        keys("alt+x")
        GLib.timeout_add(1000, pyatspi.Registry.stop)
        return False
    global expected
    title, action, expected = steps.pop(0)
    say(f"== {title}")
    announced.clear()
    action()
    GLib.timeout_add(1500, after_step)
    return False


def after_step():
    name = read_answer()
    if name != expected:
        failures.append(f"name {name!r}, expected {expected!r}")
    if expected != "Answer" and expected not in announced:
        failures.append(f"no name change to {expected!r} was announced")
    GLib.timeout_add(200, run_steps)
    return False


def start():
    # Wait for the application on the bus and for its window, then focus it.
    if tornevo() is None:
        return True
    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^RCF/RPM Conversion$"],
                            capture_output=True, text=True, timeout=20).stdout.split()
    subprocess.run(["xdotool", "windowfocus", "--sync", window[0]], check=False)
    GLib.timeout_add(500, run_steps)
    return False


pyatspi.Registry.registerEventListener(on_event, "object:", "window:", "focus:")
GLib.timeout_add(200, start)
GLib.timeout_add(60000, pyatspi.Registry.stop)  # a safety net
pyatspi.Registry.start()
app.wait(timeout=5)
say(f"== the program ended with status {app.returncode}")
for failure in failures:
    say(f"FAIL: {failure}")
say("FAIL" if failures or app.returncode != 0 else "PASS")
sys.exit(1 if failures or app.returncode != 0 else 0)
