// Firefox ESR for the page's tests (browser.py), through WebDriver BiDi with puppeteer-core:
// one command a line on standard input, as a JSON array [name, ...arguments], and one line
// of JSON back for each, {"value": ...} or {"error": "..."}.
//
//   node firefox.mjs '{"width": 1280, "height": 900, "prefs": {...}}'

import puppeteer from 'puppeteer-core';
import readline from 'node:readline';

const settings = JSON.parse(process.argv[2]);
const browser = await puppeteer.launch({
    browser: 'firefox',
    protocol: 'webDriverBiDi',
    executablePath: '/usr/bin/firefox-esr',
    headless: true,
    extraPrefsFirefox: settings.prefs,
});
// A tab of its own has the focus, as focus events need. A page may close a tab that has shown
// nothing before it, and Exit does: so the tab shows a blank page first.
const page = await browser.newPage();
await page.goto('about:blank');
await page.setViewport({ width: settings.width, height: settings.height });

// A navigation is not waited for: the test waits for what it needs.
const unwaited = (navigation) => void navigation.catch(() => {});

const commands = {
    ready: () => true,
    navigate: (url) => unwaited(page.goto(url)),
    back: () => unwaited(page.goBack()),
    reload: () => unwaited(page.reload()),
    // The script is the body of a function, its arguments in `arguments`, as in WebDriver.
    js: (script, args) => page.evaluate(`(function () {\n${script}\n}).apply(null, ${JSON.stringify(args)})`),
    press: async (modifiers, key) => {
        // puppeteer names the space bar by its character, and takes WebDriver's own codes
        // for the main Enter and the keypad's (its 'Enter' is the keypad's).
        key = { Space: ' ', Enter: '\uE006', NumpadEnter: '\uE007' }[key] ?? key;
        for (const modifier of modifiers) await page.keyboard.down(modifier);
        await page.keyboard.press(key);
        for (const modifier of modifiers.reverse()) await page.keyboard.up(modifier);
    },
    click: (name) => page.click(`#${name}`),
    resize: (width, height) => page.setViewport({ width, height }),
    screenshot: (path) => page.screenshot({ path }),
    close: async () => {
        await browser.close();
        process.exit(0);
    },
};

for await (const line of readline.createInterface({ input: process.stdin })) {
    const [name, ...args] = JSON.parse(line);
    let answer;
    try {
        answer = { value: (await commands[name](...args)) ?? null };
    } catch (error) {
        answer = { error: String(error?.message ?? error) };
    }
    process.stdout.write(JSON.stringify(answer) + '\n');
}
await browser.close();
