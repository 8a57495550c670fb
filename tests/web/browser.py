"""Headless Chromium, driven through WebDriver, showing build/web/tornevo.html."""

import json
import os
import shutil
import sys
import tempfile

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print("SKIP: needs python3-selenium (scripts/install-deps installs it)")
    sys.exit(77)

KEYS = {
    "Tab": [Keys.TAB], "BackTab": [Keys.SHIFT, Keys.TAB], "Up": [Keys.UP], "Down": [Keys.DOWN],
    "Left": [Keys.LEFT], "Right": [Keys.RIGHT], "Return": [Keys.RETURN], "KeypadEnter": [Keys.ENTER],
    "Escape": [Keys.ESCAPE], "Space": [Keys.SPACE], "AltC": [Keys.ALT, "c"], "AltX": [Keys.ALT, "x"],
}


class Browser:
    def __init__(self, page, width=1280, height=900):
        for tool in ("/usr/bin/chromium", "/usr/bin/chromedriver"):
            if not os.path.exists(tool):
                print(f"SKIP: needs {tool} (scripts/install-deps installs chromium and chromium-driver)")
                sys.exit(77)
        self.page = page
        self.profile = tempfile.mkdtemp(prefix="tornevo-chromium-")
        options = webdriver.ChromeOptions()
        options.binary_location = "/usr/bin/chromium"
        # A closed network: nothing of the browser's own may try to reach out.
        for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--disable-dev-shm-usage", f"--user-data-dir={self.profile}", f"--window-size={width},{height}"):
            options.add_argument(flag)
        options.set_capability("goog:loggingPrefs", {"performance": "ALL", "browser": "ALL"})
        self.driver = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)

    def close(self):
        self.driver.quit()
        shutil.rmtree(self.profile, ignore_errors=True)

    def open(self, url=None):
        self.driver.get(url or self.page)
        WebDriverWait(self.driver, 10).until(lambda d: self.js("return $('Form1').classList.contains('ready')"))

    def js(self, script, *args):
        return self.driver.execute_script("const $ = (n) => document.getElementById(n);\n" + script, *args)

    def press(self, key):
        chord = KEYS[key]
        actions = ActionChains(self.driver)
        for modifier in chord[:-1]:
            actions.key_down(modifier)
        actions.send_keys(chord[-1])
        for modifier in reversed(chord[:-1]):
            actions.key_up(modifier)
        actions.perform()

    def click(self, name):
        ActionChains(self.driver).move_to_element(self.driver.find_element("id", name)).click().perform()

    def focus(self):
        return self.js("return document.activeElement.id")

    def set_text(self, name, text):
        """Types a whole new text, as a user who selects all and types."""
        self.js("$(arguments[0]).value = arguments[1];"
                "$(arguments[0]).dispatchEvent(new Event('input', {bubbles: true}))", name, text)

    def state(self):
        return self.js("""return {answer: $('LabelAnswer').textContent, units: $('LabelAnswerUnits').textContent,
            outOfDate: $('LabelAnswer').classList.contains('out-of-date'), ended: !$('Ended').hidden,
            failure: $('Failure').open, kind: $('FailureKind').textContent,
            label: $('LabelAnswer').getAttribute('aria-label'),

            announced: $('Announcer').textContent}""")

    def network_requests(self):
        """The URLs the page asked for, from the browser's performance log."""
        urls = []
        for entry in self.driver.get_log("performance"):
            message = json.loads(entry["message"])["message"]
            if message["method"] == "Network.requestWillBeSent":
                urls.append(message["params"]["request"]["url"])
        return urls
