"""The page in a real browser engine, the same calls for each: headless Chromium and WebKitGTK's
MiniBrowser (on an Xvfb display of its own) through WebDriver, Firefox ESR through WebDriver BiDi with
puppeteer-core (firefox.mjs). A test names its engine with --engine chromium|webkit|firefox.

Every engine navigates without waiting for the load, so that a test can act on a page that
is still loading; open() then waits until a new document has its core ready.
"""

import faulthandler
import json
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

sys.stdout.reconfigure(line_buffering=True)  # each line at once, should a test be stopped
faulthandler.dump_traceback_later(280, exit=True)  # where a test hangs, before CTest stops it at 300 s

ENGINES = ("chromium", "webkit", "firefox")
MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"
TOOLS = {
    "chromium": ["/usr/bin/chromium", "/usr/bin/chromedriver"],
    "webkit": ["/usr/bin/WebKitWebDriver", MINIBROWSER, "/usr/bin/Xvfb", "/usr/bin/xdpyinfo"],
    "firefox": ["/usr/bin/firefox-esr", "/usr/bin/node"],
}

# The keys of the shared tables, as modifiers and a key in WebDriver's names.
KEYS = {
    "Tab": ([], "Tab"), "BackTab": (["Shift"], "Tab"), "Up": ([], "ArrowUp"), "Down": ([], "ArrowDown"),
    "Left": ([], "ArrowLeft"), "Right": ([], "ArrowRight"), "Return": ([], "Enter"),
    "KeypadEnter": ([], "NumpadEnter"), "Escape": ([], "Escape"), "Space": ([], "Space"),
    "AltC": (["Alt"], "KeyC"), "AltX": (["Alt"], "KeyX"),
}


def driver_hang():
    """The error a WebDriver command gives when its driver stops answering."""
    import urllib3
    return urllib3.exceptions.TimeoutError


def engine_argument():
    """The --engine NAME among the arguments (chromium by default), and the others."""
    args = sys.argv[1:]
    engine = "chromium"
    if "--engine" in args:
        at = args.index("--engine")
        engine = args[at + 1]
        del args[at:at + 2]
    if engine not in ENGINES:
        sys.exit(f"unknown engine {engine}: one of {', '.join(ENGINES)}")
    # WebKit's MiniBrowser needs an X display: the whole script runs again on one of its own.
    if engine == "webkit" and os.environ.get("TORNEVO_OWN_DISPLAY") != "1" and all(map(os.path.exists, TOOLS[engine])):
        os.environ["TORNEVO_OWN_DISPLAY"] = "1"
        own_display = pathlib.Path(__file__).resolve().parent.parent / "x11/own-display"
        os.execv(own_display, [own_display, "1280x1100", sys.executable, *sys.argv])
    return engine, args


def launch(engine, page=None, width=1280, height=900, wasm=True, scripts=True):
    """A browser of that engine; wasm=False and scripts=False turn WebAssembly or all
    JavaScript off, where the engine can (else None)."""
    for tool in TOOLS[engine]:
        if not os.path.exists(tool):
            print(f"SKIP: needs {tool} (scripts/install-deps installs it)")
            sys.exit(77)
    if engine == "firefox":
        return FirefoxBrowser(page, width, height, wasm, scripts)
    if engine == "webkit" and not (wasm and scripts):
        return None
    return WebDriverBrowser(engine, page, width, height, wasm, scripts)


class Browser:
    """What the tests do with a page, whichever engine shows it."""

    engine = ""

    def open(self, url=None):
        before = self.document()
        self.navigate(url or self.page)
        self.wait_ready(before)

    def document(self):
        """The current document's identity, to tell a new one from it."""
        try:
            return self.js("return performance.timeOrigin")
        except Exception:
            return None

    def wait(self, script, *args, timeout=10):
        """Until the script returns something true; returns that."""
        end = time.monotonic() + timeout
        while True:
            try:
                result = self.poll(script, *args)
                if result:
                    return result
            except Exception:
                pass  # between two documents
            if time.monotonic() > end:
                raise TimeoutError(f"{self.engine}: waited {timeout} s for: {script}")
            time.sleep(0.05)

    def poll(self, script, *args):
        return self.js(script, *args)

    def wait_ready(self, before):
        self.wait("return performance.timeOrigin !== arguments[0] && $('Form1')?.classList.contains('ready')", before,
                  timeout=30 if self.engine == "webkit" else 10)

    def focus(self):
        return self.js("return document.activeElement.id")

    def set_text(self, name, text):
        """Types a whole new text, as a user who selects all and types."""
        self.js("$(arguments[0]).value = arguments[1];"
                "$(arguments[0]).dispatchEvent(new Event('input', {bubbles: true}))", name, text)

    def state(self):
        # Waited for: a driver can answer null while the page handles a key.
        return self.wait("""return {answer: $('LabelAnswer').textContent, units: $('LabelAnswerUnits').textContent,
            outOfDate: $('LabelAnswer').classList.contains('out-of-date'), ended: !$('Ended').hidden,
            failure: $('Failure').open, kind: $('FailureKind').textContent,
            label: $('LabelAnswer').getAttribute('aria-label'), announced: $('Announcer').textContent,
            notice: $('Notice').hidden ? '' : $('Notice').textContent,
            texts: [$('TextRadius').value, $('TextConvert').value],
            checked: [...document.querySelectorAll('input[type=radio]:checked')].map((e) => e.id)}""")


class WebDriverBrowser(Browser):
    def __init__(self, engine, page, width, height, wasm, scripts):
        from selenium import webdriver
        from selenium.webdriver.common.keys import Keys
        self.engine, self.page = engine, page
        self.profile = tempfile.mkdtemp(prefix=f"tornevo-{engine}-")
        if engine == "chromium":
            from selenium.webdriver.chrome.service import Service
            options = webdriver.ChromeOptions()
            options.binary_location = "/usr/bin/chromium"
            # A closed network: nothing of the browser's own may try to reach out.
            for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                         "--disable-background-networking", "--disable-component-update", "--disable-sync",
                         "--disable-dev-shm-usage", f"--user-data-dir={self.profile}",
                         f"--window-size={width},{height}"):
                options.add_argument(flag)
            options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
            options.page_load_strategy = "none"
            self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
            if not scripts:
                self.cdp("Emulation.setScriptExecutionDisabled", {"value": True})
            if not wasm:  # Chromium has no switch for it: the browser's own script takes it away first
                self.cdp("Page.addScriptToEvaluateOnNewDocument", {"source": "delete globalThis.WebAssembly"})
        else:
            # WebKitGTK's driver can stop answering after a step through the history: a command
            # then fails after a minute (DriverHang) rather than at CTest's time limit.
            from selenium.webdriver.remote.remote_connection import RemoteConnection
            RemoteConnection.set_timeout(60)
            from selenium.webdriver.webkitgtk.options import Options
            options = Options()
            options.binary_location = MINIBROWSER
            options.add_argument("--automation")
            options.page_load_strategy = "none"
            self.driver = webdriver.WebKitGTK(options=options, executable_path="/usr/bin/WebKitWebDriver")
            self.driver.set_window_size(width, height)
        # A page may close a tab whose history holds nothing else, and Exit does: the tab shows
        # a page of its own first, which stays in its history.
        self.driver.get("data:text/html,<title>start</title>")
        self.wait("return document.title === 'start'")
        names = {"Shift": Keys.SHIFT, "Alt": Keys.ALT, "Tab": Keys.TAB, "ArrowUp": Keys.UP, "ArrowDown": Keys.DOWN,
                 "ArrowLeft": Keys.LEFT, "ArrowRight": Keys.RIGHT, "Enter": Keys.RETURN, "NumpadEnter": Keys.ENTER,
                 "Escape": Keys.ESCAPE, "Space": Keys.SPACE, "KeyC": "c", "KeyX": "x"}
        self.keys = {key: ([names[m] for m in modifiers], names[name]) for key, (modifiers, name) in KEYS.items()}

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def navigate(self, url):
        self.driver.get(url)

    def back(self):
        self.driver.back()

    def reload(self):
        self.driver.refresh()

    def poll(self, script, *args):
        if self.engine != "webkit":
            return self.js(script, *args)
        # A script sent while WebKitGTK puts the page being left into its back/forward cache
        # is never answered: a poll gives up on it after a few seconds and asks again.
        from selenium.webdriver.remote.remote_connection import RemoteConnection
        RemoteConnection.set_timeout(5)
        try:
            return self.js(script, *args)
        finally:
            RemoteConnection.set_timeout(60)

    def js(self, script, *args):
        return self.driver.execute_script("const $ = (n) => document.getElementById(n);\n" + script, *args)

    def press(self, key):
        from selenium.webdriver.common.action_chains import ActionChains
        modifiers, name = self.keys[key]
        actions = ActionChains(self.driver)
        for modifier in modifiers:
            actions.key_down(modifier)
        actions.send_keys(name)
        for modifier in reversed(modifiers):
            actions.key_up(modifier)
        actions.perform()

    def click(self, name):
        from selenium.webdriver.common.action_chains import ActionChains
        ActionChains(self.driver).move_to_element(self.driver.find_element("id", name)).click().perform()

    def resize(self, width, height):
        self.driver.set_window_size(width, height)

    def screenshot(self, path):
        self.driver.save_screenshot(str(path))

    def cdp(self, command, arguments):
        return self.driver.execute_cdp_cmd(command, arguments)

    def network_requests(self):
        """The URLs the page asked for, from Chromium's performance log."""
        urls = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                urls.append(message["params"]["request"]["url"])
        return urls

    def errors(self):
        return [e["message"] for e in self.driver.get_log("browser") if e["level"] == "SEVERE"]


class FirefoxBrowser(Browser):
    """Firefox through puppeteer-core, in a Node process of its own that takes one command a line."""

    def __init__(self, page, width, height, wasm, scripts):
        self.engine, self.page = "firefox", page
        prefs = {"javascript.options.wasm": wasm, "javascript.enabled": scripts}
        bridge = pathlib.Path(__file__).with_name("firefox.mjs")
        self.process = subprocess.Popen(["/usr/bin/node", str(bridge), json.dumps({
            "width": width, "height": height, "prefs": prefs})], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            text=True)
        self.send("ready")

    def send(self, command, *args):
        self.process.stdin.write(json.dumps([command, *args]) + "\n")
        self.process.stdin.flush()
        line = self.process.stdout.readline()
        if not line:
            raise RuntimeError("firefox: the browser has gone")
        answer = json.loads(line)
        if "error" in answer:
            raise RuntimeError(f"firefox: {answer['error']}")
        return answer.get("value")

    def close(self):
        self.process.stdin.write(json.dumps(["close"]) + "\n")
        self.process.stdin.close()
        self.process.wait(30)

    def navigate(self, url):
        self.send("navigate", url)

    def back(self):
        self.send("back")

    def reload(self):
        self.send("reload")

    def js(self, script, *args):
        return self.send("js", "const $ = (n) => document.getElementById(n);\n" + script, list(args))

    def press(self, key):
        self.send("press", *KEYS[key])

    def click(self, name):
        self.send("click", name)

    def resize(self, width, height):
        self.send("resize", width, height)

    def screenshot(self, path):
        self.send("screenshot", str(path))
