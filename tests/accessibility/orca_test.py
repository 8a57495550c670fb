#!/usr/bin/python3
"""What a blind user hears: the Orca screen reader, headless, against the real program.

Usage: orca_test.py path/to/tornevo
Starts its own virtual X server, window manager, session bus, AT-SPI bus and Orca, with
speech going through speech-dispatcher and espeak-ng to ALSA's null device. Each step
sends keys as a user types them; afterwards Orca's speech, read back from its debug log,
must hold the step's words. Exits with 77 (a skip to CTest) where Orca cannot start.
"""

import os
import pathlib
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

# Keys, then the words Orca must say before the next step (regular expressions, in order).
STEPS = [
    ("", ["Radius text", r"\b6 selected"]),
    ("Tab Tab", ["Value to convert text", r"\b3000 selected"]),
    ("alt+c", [r"notification Answer: 6688 RPM\."]),
    ("Tab Down", [r"\bRPM\.", "selected radio button"]),
    # Flat review (the keypad's current line, then on by character) reaches the answer.
    ("KP_Up KP_Page_Down KP_Page_Down", [r"Answer, out of date: 6688 RPM"]),
    ("alt+c", [r"notification Answer: 604 RCF\."]),
    ("shift+Tab 1 e 3 0 0 alt+c", ["alert Tornevo", r"Overflow A number typed in, or the answer, is too large\.",
                                   "OK push button"]),
    ("Return", [r"\b1e300 selected"]),
]
# Said at no step: the contact block before an answer, or a box read short.
NEVER = [r"Example Street", r"\b300 selected", r"^selected\.$"]

SETTLE = 2.0  # seconds Orca gets to speak after each step


def skip(why):
    print(f"SKIP: {why}")
    sys.exit(77)


def outside(program):
    for tool in ("orca", "speech-dispatcher", "espeak-ng", "Xvfb", "xdpyinfo", "dbus-run-session", "xdotool", "openbox"):
        if shutil.which(tool) is None:
            skip(f"{tool} is not installed (scripts/install-deps installs it)")
    if not os.path.exists("/usr/libexec/at-spi-bus-launcher"):
        skip("at-spi2-core is not installed")
    os.environ["ORCA_TEST_INSIDE"] = "1"
    own_display = pathlib.Path(__file__).resolve().parent.parent / "x11/own-display"
    os.execv(own_display, [own_display, "1280x800", "dbus-run-session", "--", sys.executable, __file__, program])


def private_home(home):
    """Speech to the null device, Orca's settings in a folder of their own."""
    config = home / ".config"
    (config / "speech-dispatcher").mkdir(parents=True)
    (home / "run").mkdir(mode=0o700)
    (home / ".asoundrc").write_text("pcm.!default { type null }\nctl.!default { type hw card 0 }\n")
    (config / "speech-dispatcher" / "speechd.conf").write_text(
        'AudioOutputMethod "alsa"\nAddModule "espeak-ng" "sd_espeak-ng" "espeak-ng.conf"\nDefaultModule espeak-ng\n')
    os.environ.update(HOME=str(home), XDG_CONFIG_HOME=str(config), XDG_RUNTIME_DIR=str(home / "run"),
                      XDG_DATA_HOME=str(home / "data"))


def end(process, grace=5):
    # Orca sometimes ignores SIGTERM while idle.
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(grace)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()


def speech(log):
    """(seconds since midnight, text) for each SPEECH OUTPUT entry of Orca's debug log."""
    entry = re.compile(r"^(\d\d):(\d\d):(\d\d\.\d+) - SPEECH OUTPUT: '(.*?)'(?:\s*\{.*\})?$", re.S)
    said = []
    for block in re.split(r"\n(?=\d\d:\d\d:\d\d\.\d+ - )", log):
        match = entry.match(block.strip())
        if match:
            h, m, s, text = match.groups()
            said.append((int(h) * 3600 + int(m) * 60 + float(s), " ".join(text.split())))
    return said


def clock():
    now = time.localtime()
    return now.tm_hour * 3600 + now.tm_min * 60 + now.tm_sec + time.time() % 1


def inside(program):
    work = pathlib.Path(tempfile.mkdtemp(prefix="tornevo-orca-"))
    private_home(work / "home")
    started = []
    try:
        started.append(subprocess.Popen(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"]))
        started.append(subprocess.Popen(["openbox"], stderr=subprocess.DEVNULL))
        log = work / "orca.log"
        orca = subprocess.Popen(["orca", "--replace", "--user-prefs", str(work / "orca"), "--debug-file", str(log)],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        started.append(orca)
        for _ in range(100):
            if log.exists() and "Screen reader on" in log.read_text(errors="replace"):
                break
            if orca.poll() is not None:
                skip(f"Orca ended at start with status {orca.returncode}")
            time.sleep(0.2)
        else:
            skip("Orca did not start within 20 s")

        app = subprocess.Popen([program])
        started.append(app)
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^RCF/RPM Conversion$"],
                       capture_output=True, timeout=20, check=True)
        marks = []
        for keys, _ in STEPS:
            time.sleep(SETTLE)
            marks.append(clock())
            if keys:
                subprocess.run(["xdotool", "key", "--delay", "150", *keys.split()], check=True)
        time.sleep(SETTLE)
        marks.append(clock())
        subprocess.run(["xdotool", "key", "alt+x"], check=True)
        app.wait(10)
        end(orca)
        said = speech(log.read_text(errors="replace"))
    finally:
        for process in reversed(started):
            end(process, grace=2)

    failures = []
    for (keys, words), start, stop in zip(STEPS, [0.0] + marks[1:], marks[1:]):
        heard = [text for when, text in said if start <= when < stop]
        print(f"== {keys or 'the window opens'}")
        for text in heard:
            print(f"   said: {text}")
        spoken = "\n".join(heard)
        for word in words:
            if not re.search(word, spoken, re.M):
                failures.append(f"after '{keys}': nothing matched {word!r}")
        if keys.endswith("alt+c") and "Answer" in words[0] and spoken.count("notification") != 1:
            failures.append(f"after '{keys}': the answer was not said exactly once")
        for word in NEVER:
            if re.search(word, spoken, re.M):
                failures.append(f"after '{keys}': {word!r} was said")
    print(f"== the program ended with status {app.returncode}")
    if app.returncode != 0:
        failures.append(f"the program ended with status {app.returncode}")
    for failure in failures:
        print(f"FAIL: {failure}")
    shutil.rmtree(work, ignore_errors=True)
    return 1 if failures else 0


if __name__ == "__main__":
    program = os.path.realpath(sys.argv[1])
    if os.environ.get("ORCA_TEST_INSIDE") != "1":
        outside(program)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    sys.exit(inside(program))
