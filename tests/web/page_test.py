#!/usr/bin/python3
"""What only the web page has: the answer announced through a live region, the layout
from phone to desktop widths, no network and no storage, and axe-core's accessibility
rules. Run in headless Chromium against the page opened from disk and served on loopback.

Usage: page_test.py WEB-DIR AXE.js
"""

import functools
import http.server
import pathlib
import sys
import threading
import time

from browser import Browser

web, axe = pathlib.Path(sys.argv[1]).resolve(), pathlib.Path(sys.argv[2])
failures = []
if not axe.exists():
    sys.exit(f"FAIL: {axe} is missing: scripts/install-deps installs axe-core with npm ci")


def check(what, ok, detail=""):
    print(f"{'ok  ' if ok else 'FAIL'} {what}{': ' + str(detail) if detail and not ok else ''}")
    if not ok:
        failures.append(what)


LAYOUT = """
const controls = [...document.querySelectorAll('#Form1 [id]')].filter((e) => e.offsetParent);
const rect = (e) => e.getBoundingClientRect();
const clipped = controls.filter((e) => e.scrollWidth > e.clientWidth + 1 && e.tagName !== 'INPUT'
    && getComputedStyle(e).overflow !== 'visible').map((e) => e.id);
const overlapping = [];
for (const a of controls) for (const b of controls) {
    if (a === b || a.contains(b) || b.contains(a) || a.id >= b.id) continue;
    const r = rect(a), s = rect(b);
    if (r.left < s.right - 1 && s.left < r.right - 1 && r.top < s.bottom - 1 && s.top < r.bottom - 1)
        overlapping.push(a.id + '/' + b.id);
}
const outside = controls.filter((e) => rect(e).left < 0 || rect(e).right > innerWidth).map((e) => e.id);
const small = [...document.querySelectorAll('#Form1 input, #Form1 button, #Form1 [tabindex]')]
    .map((e) => e.type === 'radio' ? e.closest('label') : e)
    .filter((e) => rect(e).width < 24 || rect(e).height < 24).map((e) => e.id);
return {clipped, overlapping, outside, small,
        scroll: document.documentElement.scrollWidth > document.documentElement.clientWidth};
"""

browser = Browser(web.joinpath("tornevo.html").as_uri())
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(
    http.server.SimpleHTTPRequestHandler, directory=str(web)))
server.RequestHandlerClass.log_message = lambda *args: None
threading.Thread(target=server.serve_forever, daemon=True).start()
try:
    # Opened from disk, with no server: it calculates, and says so to a screen reader.
    browser.open()
    browser.press("AltC")
    time.sleep(0.2)
    state = browser.state()
    check("opened from disk, Alt+C calculates", (state["answer"], state["units"]) == (" 6688", "RPM"), state)
    check("the live region announces the answer", state["announced"] == "Answer: 6688 RPM", state["announced"])
    check("the live region is polite and atomic",
          browser.js("const l = $('Announcer'); return [l.getAttribute('aria-live'), l.getAttribute('aria-atomic')]")
          == ["polite", "true"])
    check("nothing is stored", browser.js("return [document.cookie, localStorage.length, sessionStorage.length]")
          == ["", 0, 0])

    # Served: after the page itself, not one request, though the user calculates and fails.
    url = f"http://127.0.0.1:{server.server_port}/tornevo.html"
    browser.driver.get_log("performance")
    browser.open(url)
    loaded = browser.network_requests()
    for key in ("AltC", "Tab", "Down", "AltC"):
        browser.press(key)
    browser.set_text("TextRadius", "0")
    browser.js("$('OptionRCF').click(); $('CommandCalculate').click()")
    browser.press("Return")
    time.sleep(0.5)
    after = browser.network_requests()
    # The browser itself may fetch the manifest's icon at any time; that is all.
    own = lambda urls: [u.removeprefix(f"http://127.0.0.1:{server.server_port}/") for u in urls
                        if not u.startswith("data:")]
    check("served, it asks for itself, its manifest and icon, nothing else",
          set(own(loaded + after)) <= {"tornevo.html", "manifest.webmanifest", "icon.svg", "icon-256.png"}
          and own(loaded + after).count("tornevo.html") == 1, own(loaded + after))
    check("no request after load but the browser's fetch of the manifest's icon",
          set(own(after)) <= {"icon.svg", "icon-256.png"}, own(after))
    errors = [e["message"] for e in browser.driver.get_log("browser") if e["level"] == "SEVERE"]
    check("no errors in the browser's log", not errors, errors)

    # axe-core's rules, on the page at rest, with an answer out of date, and with the failure box.
    browser.driver.execute_cdp_cmd("Page.setBypassCSP", {"enabled": True})  # to inject axe only
    for setup in ("", "$('CommandCalculate').click(); $('OptionRPM').click()",
                  "$('TextRadius').value = '0'; $('TextRadius').dispatchEvent(new Event('input'));"
                  "$('OptionRCF').click(); $('CommandCalculate').click()"):
        browser.open(url)
        browser.js(setup)
        browser.js(axe.read_text())
        result = browser.driver.execute_async_script(
            "const done = arguments[arguments.length - 1];"
            "axe.run(document).then((r) => done(r.violations.map((v) => v.id + ': ' + v.nodes.length)))")
        check(f"axe finds no violation ({setup[:40] or 'at rest'})", result == [], result)

    # From a phone to a desktop: nothing clipped, overlapping or outside, no sideways scroll;
    # in one column every control is a finger's size.
    for width in (320, 360, 768, 1280):
        browser.driver.set_window_size(width, 900)
        browser.open(url)
        inner = browser.js("return innerWidth")
        browser.driver.set_window_size(width + (width - inner), 900)  # the viewport itself that wide
        browser.open(url)
        layout = browser.js(LAYOUT)
        check(f"{width} px: no horizontal scrolling", not layout["scroll"])
        check(f"{width} px: nothing clipped", not layout["clipped"], layout["clipped"])
        check(f"{width} px: nothing overlaps", not layout["overlapping"], layout["overlapping"])
        check(f"{width} px: nothing outside the page", not layout["outside"], layout["outside"])
        if width == 320:
            check("320 px: touch targets of at least 24 px", not layout["small"], layout["small"])
            order = browser.js("return [...document.querySelectorAll('#Form1 input, #Form1 button, #Picture1')]"
                               ".sort((a, b) => a.getBoundingClientRect().top - b.getBoundingClientRect().top)"
                               ".map((e) => e.id)")
            check("320 px: one column in tab order",
                  order == ["TextRadius", "OptionCm", "OptionIn", "TextConvert", "OptionRCF", "OptionRPM",
                            "CommandCalculate", "CommandExit", "Picture1"], order)
        if width in (360, 1280):
            browser.press("AltC")
            time.sleep(0.2)
            browser.driver.save_screenshot(str(web / f"screenshot-web-{width}.png"))
        if width == 1280:
            places = browser.js("return ['TextRadius', 'CommandCalculate', 'Picture1'].map((n) => {"
                                "const r = $(n).getBoundingClientRect(), f = $('Form1').getBoundingClientRect();"
                                "return [Math.round(r.left - f.left), Math.round(r.top - f.top)]})")
            check("1280 px: the form's places are its twips / 15", places == [[24, 34], [24, 264], [273, 60]], places)
finally:
    browser.close()
    server.shutdown()

print(f"{len(failures)} failures")
sys.exit(1 if failures else 0)
