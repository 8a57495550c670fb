#!/usr/bin/python3
"""The shared window scenarios, the desktop windows' own tables, run against the web page
in a browser engine: every key and click as a user gives them, one fresh page a case.

Usage: scenario_test.py [--engine chromium|webkit|firefox] SCENARIOS.json file:///.../tornevo.html
"""

import json
import sys
import time

import browser as engines

engine, (scenarios_json, page) = engines.engine_argument()
scenarios = json.load(open(scenarios_json))
browser = engines.launch(engine, page)
failures = []


def check(what, actual, expected):
    if actual != expected:
        failures.append(f"{what}: {actual!r}, expected {expected!r}")


def settle():
    time.sleep(0.05)  # a frame for the page to render what the key did


try:
    for walk in scenarios["tabWalks"]:
        browser.open()
        if walk["mouseSelects"]:
            browser.click(walk["mouseSelects"])
        browser.js("$(arguments[0]).focus()", walk["start"])
        landed = []
        for _ in walk["focusAfterEach"]:
            browser.press(walk["key"])
            landed.append(browser.focus())
        check(walk["name"], landed, walk["focusAfterEach"])

    for move in scenarios["arrowMoves"]:
        browser.open()
        browser.click(move["from"])
        browser.press(move["key"])
        what = f"{move['key']} from {move['from']}"
        check(f"{what}: focus", browser.focus(), move["to"])
        check(f"{what}: selected", browser.js("return $(arguments[0]).checked", move["to"]), True)
        check(f"{what}: units", browser.state()["units"], move["units"])

    for press in scenarios["keyPresses"]:
        browser.open()
        browser.js("$(arguments[0]).focus()", press["focus"])
        browser.press(press["key"])
        settle()
        state = browser.state()
        what = f"{press['key']} on {press['focus']}"
        expected = {"Calculates": (" 6688", "RPM", False), "Ends": ("", "RPM", True), "Nothing": ("", "RPM", False)}
        check(what, (state["answer"], state["units"], state["ended"]), expected[press["effect"]])

    for selects in scenarios["focusSelections"]:
        browser.open()
        browser.set_text(selects["box"], selects["text"])
        browser.js("$(arguments[0]).focus()", selects["from"])
        if selects["how"] == "Click":
            browser.click(selects["box"])
        else:
            browser.press(selects["how"])
        what = f"{selects['how']} into {selects['box']} from {selects['from']}"
        check(f"{what}: focus", browser.focus(), selects["box"])
        selection = browser.js("const b = $(arguments[0]); return b.value.substring(b.selectionStart, b.selectionEnd)",
                               selects["box"])
        check(f"{what}: selection", selection, selects["text"])

    for calculation in scenarios["calculations"]:
        browser.open()
        browser.set_text("TextRadius", calculation["radius"])
        browser.set_text("TextConvert", calculation["value"])
        browser.click("OptionIn" if calculation["inches"] else "OptionCm")
        browser.click("OptionRCF" if calculation["fromRcf"] else "OptionRPM")
        browser.click("CommandCalculate")
        state = browser.state()
        check(f"{calculation}", (state["answer"], state["units"]), (calculation["answer"], calculation["units"]))

    for failure in scenarios["failures"]:
        browser.open()
        browser.set_text("TextRadius", failure["radius"])
        browser.set_text("TextConvert", failure["value"])
        browser.click("OptionRCF" if failure["fromRcf"] else "OptionRPM")
        units = browser.state()["units"]
        browser.js("$(arguments[0]).focus()", failure["focus"])
        browser.press("Return")
        settle()
        state = browser.state()
        check(f"{failure}: the failure box", (state["failure"], state["kind"]), (True, failure["kind"]))
        browser.press("Return")  # OK
        settle()
        state = browser.state()
        check(f"{failure}: after OK", (state["failure"], state["answer"], state["units"], browser.focus()),
              (False, "", units, failure["focus"]))

    changes = {
        "TypeInRadius": lambda: browser.set_text("TextRadius", "7"),
        "TypeInValue": lambda: browser.set_text("TextConvert", "3500"),
        "SelectIn": lambda: browser.click("OptionIn"),
        "SelectRpm": lambda: browser.click("OptionRPM"),
        "FailedCalculation": lambda: (browser.set_text("TextConvert", "1e400"), browser.click("CommandCalculate"),
                                      browser.press("Return")),
    }
    for case in scenarios["outOfDate"]:
        browser.open()
        browser.click("CommandCalculate")
        for change in case["changes"]:
            changes[change]()
        state = browser.state()
        check(f"{case['changes']}: answer", state["answer"], " 6688")
        check(f"{case['changes']}: out of date", state["outOfDate"], case["outOfDate"])
        check(f"{case['changes']}: screen-reader text", "out of date" in state["label"],
              case["outOfDate"])
        browser.set_text("TextConvert", "3000")
        browser.click("CommandCalculate")
        check(f"{case['changes']}: calculated again", browser.state()["outOfDate"], False)
finally:
    browser.close()

for failure in failures:
    print(f"FAIL: {failure}")
count = sum(len(table) for table in scenarios.values())
print(f"{engine}: {count} scenarios run, {len(failures)} failures")
print(f"{count - len(failures)} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
