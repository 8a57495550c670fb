#!/usr/bin/env python3
"""Builds the web page of Tornevo: one self-contained tornevo.html, and beside it the web
app manifest and its icons.

Usage: build_page.py FORM.json CORE.wasm SOURCE-DIR OUT-DIR IDENTITY.json ESBUILD
FORM.json is the form table as form_json prints it; CORE.wasm is the presenter compiled
to WebAssembly; IDENTITY.json the product's name, description, version and colours;
ESBUILD the minifier of the page's scripts. Everything the page needs is inlined, and its
Content-Security-Policy allows exactly the inlined script and style, and no connection.
"""

import base64
import hashlib
import html
import json
import pathlib
import shutil
import subprocess
import sys

form_json, core_wasm, source, out, identity_json, esbuild = sys.argv[1:7]
source, out = pathlib.Path(source), pathlib.Path(out)
web = pathlib.Path(__file__).resolve().parent  # the page's template, style and script
table = json.loads(pathlib.Path(form_json).read_text())
identity = json.loads(pathlib.Path(identity_json).read_text())
FONT_PX = 12  # the form's font: 9 pt, 12 CSS pixels at the default text size


def em(twips):
    return f"{twips / table['twipsPerPixel'] / FONT_PX:.4f}".rstrip("0").rstrip(".") + "em"


def data_uri(path, mime):
    return f"data:{mime};base64,{base64.b64encode(path.read_bytes()).decode()}"


def caption_markup(control):
    """The caption with its access key underlined, and the key; form_json marks where it stands."""
    caption, at = control["caption"], control["accessKeyAt"]
    if at < 0:
        return html.escape(caption), None
    key = caption[at]
    return html.escape(caption[:at]) + f"<u>{html.escape(key)}</u>" + html.escape(caption[at + 1:]), key


def look(control):
    """The table's alignment, font and face, as classes of the style sheet."""
    return f' class="align-{control["align"]} font-{control["font"]} look-{control["look"]}"'


def accessible(control):
    attributes = look(control)
    if control["accessibleDescription"]:
        attributes += f' aria-description="{html.escape(control["accessibleDescription"])}"'
    return attributes


def markup(control, children):
    name, kind = control["name"], control["kind"]
    label = html.escape(control["accessibleName"])
    if kind == "TextBox":
        limit = f' maxlength="{control["maxLength"]}"' if control["maxLength"] else ""  # else none but memory's
        return (f'<input id="{name}"{look(control)}{limit} type="text" value="{html.escape(control["caption"])}" aria-label="{label}"'
                ' inputmode="decimal" enterkeyhint="go" autocomplete="off" autocapitalize="off" spellcheck="false">')
    if kind == "Frame":
        inner = "".join(markup(child, []) for child in children)
        return f'<fieldset id="{name}"><legend>{html.escape(control["caption"])}</legend>{inner}</fieldset>'
    if kind == "OptionButton":
        checked = " checked" if control["selectedAtStart"] else ""
        return (f'<label class="option" id="{name}Label"><input type="radio" id="{name}" name="{control["container"]}"'
                f'{checked}>{html.escape(control["caption"])}</label>')
    if kind == "CommandButton":
        text, key = caption_markup(control)
        keys = f' aria-keyshortcuts="Alt+{key.upper()}"' if key else ""
        return f'<button id="{name}" type="button"{keys}>{text}</button>'
    if kind == "Picture":
        return f'<img id="{name}"{look(control)} tabindex="0" alt="{label}" src="{data_uri(source / "art/logo/logo.svg", "image/svg+xml")}">'
    if name == "LabelAnswer":
        return f'<output id="{name}"{look(control)} aria-live="off" aria-label="{label}"></output>'
    return f'<div id="{name}"{accessible(control)}>{html.escape(control["caption"])}</div>'


controls = table["controls"]
children = {c["name"]: [d for d in controls if d["container"] == c["name"]] for c in controls}
top = [c for c in controls if c["container"] == "Form1"]
# Until the presenter has started the form takes no input (inert) and says it is busy.
form = (f'<form id="Form1" aria-label="{html.escape(table["caption"])}" novalidate autocomplete="off" inert'
        ' aria-busy="true">') + "".join(
    markup(c, children[c["name"]]) for c in top) + "</form>"

# Places: relative to the container's top-left corner, in em of the form's font; an
# option stands where its own box is, its label's clickable area its place.
places = [f"#Form1{{width:{em(table['width'])};height:{em(table['height'])}}}"]
for c in controls:
    selector = f"#{c['name']}Label" if c["kind"] == "OptionButton" else f"#{c['name']}"
    places.append(f"{selector}{{left:{em(c['left'])};top:{em(c['top'])};width:{em(c['width'])};height:{em(c['height'])}}}")
# In one column the order is the tab order, but the unit stands after the answer.
order = {c["name"]: i for i, c in enumerate(top)}
order["FrameConvertTo"] = order["LabelAnswer"]
narrow_order = "\n".join(f"    #{name} {{ order: {i}; }}" for name, i in order.items())
# The column takes over where the form and its margins no longer fit, in the reader's em.
narrow = f"{(table['width'] / table['twipsPerPixel'] + 16) / 16:.2f}em"
logo_w, logo_h = table["logoWidth"] + 4, table["logoHeight"] + 4

# The brand colours, as the style sheet names them.
style = f":root {{ --theme: {identity['themeColour']}; --background: {identity['backgroundColour']}; }}\n"
style += (web / "tornevo.css").read_text()
contact = table["contactFont"]
style = style.replace("@CONTACT_FONT@", f'{contact["points"]}pt "{contact["family"]}", "Liberation Sans", sans-serif')
style = style.replace("@NARROW@", narrow).replace("@NARROW_ORDER@", narrow_order)
style = style.replace("@LOGO_WIDTH@", f"{logo_w}px").replace("@LOGO_HEIGHT@", f"{logo_h}px")
style += "\n" + "\n".join(places) + "\n"

# The compiled presenter is decoded and compiled from the head, at once: a module this small
# compiles in a millisecond or two, where an asynchronous compilation waits behind the page's
# own parsing for its turns on the main thread.
head_script = "\n".join([
    "const CoreModule = (() => {",
    "    try {",
    "        if (typeof WebAssembly !== 'object') throw new Error('no WebAssembly');",
    "        const core = '" + base64.b64encode(pathlib.Path(core_wasm).read_bytes()).decode() + "';",
    "        const bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(core)",
    "            : Uint8Array.from(atob(core), (c) => c.charCodeAt(0)); // a browser without fromBase64",
    "        return Promise.resolve(new WebAssembly.Module(bytes));",
    "    } catch (error) {",
    "        return Promise.reject(error); // reported where the page starts",
    "    }",
    "})();",
    "CoreModule.catch(() => {});",
])
page_form = {"controls": [{"name": c["name"], "kind": c["kind"]} for c in controls],
             "focusCauses": table["focusCauses"], "arrowKeys": table["arrowKeys"]}
script = "\n".join([
    "'use strict';",
    f"const Form = {json.dumps(page_form)};",
    (web / "tornevo.js").read_text(),
])


def minified(script):
    """The script without its comments and with short local names: the browser reads and
    parses each byte of the page before the page can start."""
    return subprocess.run([esbuild, "--minify", "--log-level=warning"], input=script, stdout=subprocess.PIPE,
                          text=True, check=True).stdout.strip()


head_script, script = minified(head_script), minified(script)


def sha256(text):
    return "'sha256-" + base64.b64encode(hashlib.sha256(text.encode()).digest()).decode() + "'"


csp = "; ".join([
    "default-src 'none'",
    f"script-src {sha256(head_script)} {sha256(script)} 'wasm-unsafe-eval'",
    f"style-src {sha256(style)}",
    "img-src data: 'self'",  # 'self': the manifest's icons, where the page is served
    "manifest-src 'self'",
    "worker-src 'self'",  # the service worker of the installed app, where the page is served
    "base-uri 'none'",
    "form-action 'none'",
])

icon = source / "art/icon/hicolor"
OFFLINE_FILES = ["tornevo.html", "manifest.webmanifest", "icon-256.png", "icon.svg"]
page = (web / "tornevo.html.in").read_text()
for key, value in {
    "@CSP@": csp,
    "@CAPTION@": html.escape(table["caption"]),
    "@NAME@": html.escape(identity["name"]),
    "@DESCRIPTION@": html.escape(identity["description"]),
    "@THEME_COLOUR@": identity["themeColour"],
    "@ICON@": data_uri(icon / "32x32.png", "image/png"),
    "@TOUCH_ICON@": data_uri(icon / "128x128.png", "image/png"),
    "@STYLE@": style,
    "@FORM@": form,
    "@HEAD_SCRIPT@": head_script,
    "@SCRIPT@": script,
}.items():
    page = page.replace(key, value)

out.mkdir(parents=True, exist_ok=True)
(out / "tornevo.html").write_text(page)
manifest = {
    "name": identity["name"],
    "short_name": identity["name"],
    "description": identity["description"],
    "version": identity["version"],
    "start_url": "tornevo.html",
    "scope": ".",
    "display": "standalone",
    "background_color": identity["backgroundColour"],
    "theme_color": identity["themeColour"],
    "icons": [
        {"src": "icon-256.png", "sizes": "256x256", "type": "image/png"},
        {"src": "icon.svg", "sizes": "any", "type": "image/svg+xml"},
    ],
}
(out / "manifest.webmanifest").write_text(json.dumps(manifest, indent=2) + "\n")
shutil.copyfile(icon / "256x256.png", out / "icon-256.png")
shutil.copyfile(icon / "scalable.svg", out / "icon.svg")
# The installed app's service worker keeps these files in a cache named after this build,
# so that a new build's worker differs from the old one's and replaces its cache.
build = hashlib.sha256(b"".join((out / name).read_bytes() for name in OFFLINE_FILES)).hexdigest()[:16]
worker = (web / "service_worker.js").read_text()
worker = worker.replace("@CACHE@", f"tornevo-{identity['version']}-{build}").replace("@FILES@", json.dumps(OFFLINE_FILES))
(out / "service-worker.js").write_text(worker)
