#!/usr/bin/python3
"""What only the web page has, in one browser engine. First the paths people take every day
(Back, reload, a tap while loading, a huge paste, a failed call into the core, WebAssembly or
JavaScript off, the installed app offline, forced colours), each ending with the figure for
the inputs on show, or none. Then the answer announced through a live region, no network and
no storage, axe-core's accessibility rules and the layout from phone to desktop widths.
Where an engine cannot take a step headless, one line says so.

Usage: page_test.py [--engine chromium|webkit|firefox] WEB-DIR AXE.js
"""

import functools
import http.server
import os
import pathlib
import shutil
import tempfile
import threading
import time

import browser as engines

engine, (web, axe) = engines.engine_argument()
web, axe = pathlib.Path(web).resolve(), pathlib.Path(axe)
failures = []
passed = 0
if not axe.exists():
    raise SystemExit(f"FAIL: {axe} is missing: scripts/install-deps installs axe-core with npm ci")


def check(what, ok, detail=""):
    global passed
    print(f"{'ok  ' if ok else 'FAIL'} {engine}: {what}{': ' + str(detail) if detail and not ok else ''}")
    if ok:
        passed += 1
    else:
        failures.append(what)


def cannot(step, why, instead="the other engines do"):
    print(f"skip {engine}: cannot {step} headless ({why}); {instead}")


class Handler(http.server.SimpleHTTPRequestHandler):
    """The folder on loopback; `slow` holds the page's last script back, `policy` is a
    Content-Security-Policy header the server adds to the page's own."""

    slow, policy = 0, None

    def end_headers(self):
        if self.policy:
            self.send_header("Content-Security-Policy", self.policy)
        super().end_headers()

    def copyfile(self, source, out):
        if not (self.slow and self.path.endswith(".html")):
            return super().copyfile(source, out)
        page = source.read()
        cut = page.rindex(b"<script>")
        out.write(page[:cut])
        out.flush()
        time.sleep(self.slow)
        out.write(page[cut:])

    def log_message(self, *args):
        pass


def serve(directory, **settings):
    handler = type("Handler", (Handler,), settings)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(handler, directory=str(directory)))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server, f"http://127.0.0.1:{server.server_port}/"


# The figures of the inputs the paths leave on show: (radius, inches, value, from RCF).
FIGURES = {
    ("6", False, "3000", True): (" 6688", "RPM"),
    ("6", True, "3000", False): (" 1533", "RCF"),
    ("6", False, "3000", False): (" 604", "RCF"),
    ("6", False, "1000", True): (" 3861", "RPM"),
}


def shown_figure_is_right(path):
    state = browser.state()
    inputs = (state["texts"][0], "OptionIn" in state["checked"], state["texts"][1], "OptionRCF" in state["checked"])
    check(f"{path}: the figure shown is the answer to the inputs shown",
          (state["answer"], state["units"]) == FIGURES.get(inputs), (inputs, state["answer"], state["units"]))


def calculate():
    browser.click("CommandCalculate")
    time.sleep(0.1)
    if browser.state()["failure"]:
        browser.press("Return")  # OK
        time.sleep(0.1)


def choose_in_and_rpm():
    browser.click("OptionIn")
    browser.click("OptionRPM")


def another_page_and_back():
    browser.navigate(url + "icon.svg")
    browser.wait("return document.contentType === 'image/svg+xml'")
    away = browser.document()
    browser.back()
    browser.wait_ready(away)


def reload():
    before = browser.document()
    browser.reload()
    browser.wait_ready(before)


PATHS = {
    "in and RPM, another page, Back, Calculate": [choose_in_and_rpm, another_page_and_back, calculate],
    "the same, then reload, Calculate": [choose_in_and_rpm, another_page_and_back, reload, calculate],
    "in and RPM, reload, Calculate": [choose_in_and_rpm, reload, calculate],
}

# Texts that reach the presenter whole: the box shows the presenter's text after each input,
# and would show less if the core had cut it.
WHOLE_TEXTS = {
    "2,000,000 characters": "1" * 2_000_000,
    "an embedded NUL": "3000\0" + "1",
    "digits of another script": "\u0663\u0660\u0660\u0660",
    "a character beyond the BMP": "3000\U0001F600",
}

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

browser = engines.launch(engine, web.joinpath("tornevo.html").as_uri())
server, url = serve(web)
hung = False
try:
    for path, steps in PATHS.items():
        try:
            browser.open(url + "tornevo.html")
            for step in steps:
                step()
        except engines.driver_hang():
            if engine != "webkit":
                raise
            cannot(f"finish the path '{path}'", "WebKitGTK's WebDriver stopped answering after a step through the history")
            try:
                browser.close()
            except Exception:
                pass  # the driver is stopped all the same; a browser left behind ends with the display
            browser = engines.launch(engine, web.joinpath("tornevo.html").as_uri())
            continue
        shown_figure_is_right(path)

    # A tap on RPM while the page is still loading: the form takes no input until the core is
    # ready, and the figure then belongs to the options on show.
    slow, slow_url = serve(web, slow=2)
    before = browser.document()
    browser.navigate(slow_url + "tornevo.html")
    browser.wait("return performance.timeOrigin !== arguments[0] && !!$('OptionRPM')", before)
    loading = browser.js("return !$('Form1').classList.contains('ready') && $('Form1').inert")
    try:
        browser.click("OptionRPM")
    except Exception:
        pass  # a driver may refuse to click what takes no input; the tap is lost all the same
    check("while loading, the form takes no input", loading)
    browser.wait_ready(before)
    calculate()
    shown_figure_is_right("a tap on RPM while loading, Calculate")
    slow.shutdown()

    browser.open(url + "tornevo.html")
    for what, text in WHOLE_TEXTS.items():
        browser.js("$('TextConvert').value = arguments[0];"
                   "$('TextConvert').dispatchEvent(new Event('input', {bubbles: true}))", text)
        # WebKit's own text box holds at most 524,288 characters: what it holds must reach the core.
        held = browser.js("const box = document.createElement('input'); box.value = arguments[0];"
                          "return box.value.length", text)
        check(f"{what} reach the presenter whole", browser.js("return $('TextConvert').value === arguments[0]",
                                                               text[:held]))
    browser.set_text("TextConvert", WHOLE_TEXTS["2,000,000 characters"])
    calculate()
    browser.set_text("TextConvert", "1000")
    calculate()
    shown_figure_is_right("a paste of 2,000,000 characters, Calculate, then 1000, Calculate")

    # A call into the core that fails (here: the page's own check whether the answer fits,
    # which the core calls back, throws) leaves no old answer looking current, and the page goes on.
    browser.open(url + "tornevo.html")
    calculate()
    browser.js("Object.defineProperty(HTMLElement.prototype, 'scrollWidth', {configurable: true,"
               " get() { throw new RangeError('no layout, as the test wants'); }})")
    browser.set_text("TextConvert", "2000")
    calculate()
    state = browser.state()
    check("a failed call: no answer on show, a notice says so", (state["answer"], bool(state["notice"])) == ("", True),
          state["notice"])
    browser.js("delete HTMLElement.prototype.scrollWidth")
    browser.set_text("TextConvert", "1000")
    calculate()
    shown_figure_is_right("after a failed call, 1000, Calculate")

    # Where WebAssembly cannot run, or no script at all, a notice says why, and no form is left.
    if engine == "webkit":
        cannot("block WebAssembly by a policy", "WebKitGTK compiles it all the same, and the page works")
    else:
        blocked, blocked_url = serve(web, policy="script-src 'unsafe-inline'")
        browser.navigate(blocked_url + "tornevo.html")
        notice = browser.wait("return !$('Notice').hidden && $('Notice').textContent")
        check("WebAssembly blocked by a policy: a notice says why", "WebAssembly" in notice, notice)
        check("WebAssembly blocked by a policy: no dead form", browser.js("return $('Form1').offsetParent === null"))
        blocked.shutdown()
    for what, settings in (("turn WebAssembly off", {"wasm": False}), ("turn JavaScript off", {"scripts": False})):
        other = engines.launch(engine, web.joinpath("tornevo.html").as_uri(), **settings)
        if other is None:
            cannot(what, "WebKitGTK's WebDriver has no such setting")
            continue
        try:
            other.navigate(other.page)
            shown = other.wait("const n = [...document.querySelectorAll('.notice')].find((e) => e.offsetParent);"
                               "return n && $('Form1').offsetParent === null && n.textContent")
            check(f"{what}: a notice says why, and no form is left", "cannot calculate" in shown, shown)
        finally:
            other.close()

    # Installed, it starts offline; a new build's worker replaces the old build's cache.
    installed = pathlib.Path(tempfile.mkdtemp(prefix="tornevo-installed-"))
    for name in ("tornevo.html", "manifest.webmanifest", "icon-256.png", "icon.svg", "service-worker.js"):
        shutil.copy(web / name, installed)
    app, app_url = serve(installed)
    browser.open(app_url + "tornevo.html")
    if not browser.js("return 'serviceWorker' in navigator"):
        cannot("start the installed app offline", "no service workers under automation")
    else:
        browser.wait("return navigator.serviceWorker.controller !== null", timeout=20)
        worker = installed / "service-worker.js"
        worker.write_text(worker.read_text().replace("const CACHE = 'tornevo-", "const CACHE = 'tornevo-next-"))
        later = time.time() + 5  # than the old one's, which the server compares in whole seconds
        os.utime(worker, (later, later))
        reload()
        try:
            browser.wait("return caches.keys().then((names) => names.length === 1"
                         " && names[0].startsWith('tornevo-next-'))", timeout=20)
        finally:
            check("a new build replaces the old cache", browser.js("return caches.keys()")[0].startswith("tornevo-next-"),
                  browser.js("return Promise.all([caches.keys(), navigator.serviceWorker.getRegistration()"
                             ".then((r) => [r?.installing?.state, r?.waiting?.state, r?.active?.state])])"))
        app.shutdown()
        app.server_close()
        reload()
        browser.set_text("TextConvert", "3000")
        calculate()
        shown_figure_is_right("installed, opened offline, Calculate")
    shutil.rmtree(installed, ignore_errors=True)

    # Forced colours: the out-of-date answer still looks out of date without the page's colours.
    if engine != "chromium":
        cannot("emulate forced colours", "only Chromium's DevTools protocol emulates them", "Chromium does")
    else:
        browser.cdp("Emulation.setEmulatedMedia", {"features": [{"name": "forced-colors", "value": "active"}]})
        browser.open(url + "tornevo.html")
        calculate()
        look = "const s = getComputedStyle($('LabelAnswer')); return [s.color, s.borderTopStyle]"
        current = browser.js(look)
        browser.click("OptionRPM")
        stale = browser.js(look)
        check("forced colours: an out-of-date answer looks out of date",
              browser.js("return matchMedia('(forced-colors: active)').matches") and current != stale, (current, stale))
        browser.cdp("Emulation.setEmulatedMedia", {"features": []})

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
    # In strict mode a slip such as a misspelt name fails at once; a strict function's caller is unreadable.
    check("the page's script runs in strict mode", browser.js("try { start.caller; return false; } catch { return true; }"))

    # Served: after the page itself, not one request, though the user calculates and fails.
    if engine == "chromium":
        browser.driver.get_log("performance")
        browser.errors()  # what the paths above left, such as the other page's favicon.ico
        browser.open(url + "tornevo.html")
        time.sleep(0.5)  # the manifest, which the page links once it has started
        loaded = browser.network_requests()
        for key in ("AltC", "Tab", "Down", "AltC"):
            browser.press(key)
        browser.set_text("TextRadius", "0")
        browser.js("$('OptionRCF').click(); $('CommandCalculate').click()")
        browser.press("Return")
        time.sleep(0.5)
        after = browser.network_requests()
        # The browser itself may fetch the manifest's icon at any time; that is all.
        own = lambda urls: [u.removeprefix(url) for u in urls if not u.startswith("data:")]
        check("served, it asks for itself, its manifest, worker and icon, nothing else",
              set(own(loaded + after)) <= {"tornevo.html", "manifest.webmanifest", "service-worker.js", "icon.svg",
                                          "icon-256.png"}, own(loaded + after))
        check("no request after load but the browser's fetch of the manifest's icon",
              set(own(after)) <= {"icon.svg", "icon-256.png"}, own(after))
        errors = browser.errors()
        check("no errors in the browser's log", not errors, errors)

    # axe-core's rules, on the page at rest, with an answer out of date, and with the failure box.
    if engine == "chromium":
        browser.cdp("Page.setBypassCSP", {"enabled": True})  # to inject axe only
    for setup in ("", "$('CommandCalculate').click(); $('OptionRPM').click()",
                  "$('TextRadius').value = '0'; $('TextRadius').dispatchEvent(new Event('input'));"
                  "$('OptionRCF').click(); $('CommandCalculate').click()"):
        browser.open(url + "tornevo.html")
        browser.js(setup)
        browser.js(axe.read_text())
        result = browser.js("return axe.run(document).then((r) => r.violations.map((v) => v.id + ': ' + v.nodes.length))")
        check(f"axe finds no violation ({setup[:40] or 'at rest'})", result == [], result)

    # From a phone to a desktop: nothing clipped, overlapping or outside, no sideways scroll;
    # in one column every control is a finger's size.
    for width in (320, 360, 768, 1280):
        browser.resize(width, 900)
        browser.open(url + "tornevo.html")
        inner = browser.js("return innerWidth")
        browser.resize(width + (width - inner), 900)  # the viewport itself that wide
        browser.open(url + "tornevo.html")
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
            browser.screenshot(web / f"screenshot-web-{engine}-{width}.png")
        if width == 1280:
            places = browser.js("return ['TextRadius', 'CommandCalculate', 'Picture1'].map((n) => {"
                                "const r = $(n).getBoundingClientRect(), f = $('Form1').getBoundingClientRect();"
                                "return [Math.round(r.left - f.left), Math.round(r.top - f.top)]})")
            check("1280 px: the form's places are its twips / 15", places == [[24, 34], [24, 264], [273, 60]], places)
except engines.driver_hang():
    if engine != "webkit":
        raise
    cannot("finish its page test", "WebKitGTK's WebDriver stopped answering", f"{passed} checks passed before that")
    hung = True
finally:
    try:
        browser.close()
    except engines.driver_hang():
        pass  # the driver is stopped all the same; a browser left behind ends with the display
    server.shutdown()

print(f"{passed} passed, {len(failures)} failed")
raise SystemExit(1 if failures else 77 if hung else 0)
