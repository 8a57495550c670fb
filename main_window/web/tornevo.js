// Tornevo in a browser. The rules of the window live in the presenter that the desktop
// windows run too, compiled to WebAssembly: this page passes the user's events in and,
// after each, renders the presenter's whole state. `Form` (the form table's controls by
// index, and the presenter's focus causes) and `CoreModule` (the presenter, compiled in the
// page's head) stand before this script, which the page runs in strict mode.

const $ = (name) => document.getElementById(name);
const productName = () => $('FailureTitle').textContent; // the failure box bears the program's name

// Where the page cannot work it says why, and leaves no dead form behind.
function cannotCalculate(why) {
    $('Form1').hidden = true;
    $('Notice').textContent = `${productName()} cannot calculate in this browser: ${why}`;
    $('Notice').hidden = false;
}

// The core stands alone: it asks the page whether the answer fits its box, says when its
// memory has grown (the page views the memory afresh each time), and stops for good only
// on a fault of its own. Its constructors run before its first call.
let answerFits = () => true; // until the page has started
CoreModule.then((module) => {
    const core = new WebAssembly.Instance(module, {
        env: {
            AnswerFitsAt: (size) => (answerFits(size) ? 1 : 0),
            emscripten_notify_memory_growth: () => {},
        },
        wasi_snapshot_preview1: {
            proc_exit: (code) => {
                throw new Error(`the core stopped (${code})`);
            },
        },
    }).exports;
    core._initialize();
    return core;
}).then(start, (error) =>
    cannotCalculate(typeof WebAssembly === 'object'
        ? `its WebAssembly core did not start (${error.message}). A setting or a policy may block WebAssembly here.`
        : 'it does not run WebAssembly, or a setting or a policy has turned WebAssembly off.'));

function start(core) {
    const controls = Form.controls;
    const Cause = Form.focusCauses;
    const FormId = controls.length; // the window itself
    const idOf = (element) => {
        const at = controls.findIndex((control) => control.name === element?.id);
        return at < 0 ? FormId : at;
    };
    const ofKind = (kind) => controls.filter((control) => control.kind === kind).map((control) => $(control.name));

    const form = $('Form1');
    const boxes = ofKind('TextBox');
    const options = ofKind('OptionButton');
    const answer = $('LabelAnswer');
    const answerName = answer.getAttribute('aria-label');
    const failure = $('Failure');
    const notice = $('Notice');
    const live = $('Announcer');

    // A call into the core, which refuses a wrong control with -1. Should a call fail (a
    // trap or an exception), the core's stack is put back as it was before the call.
    function call(name, ...args) {
        const stack = core.stackSave();
        try {
            const result = core[name](...args);
            if (result === -1) throw new Error(`the core refused ${name}(${args.join(', ')})`);
            return result;
        } catch (error) {
            core.stackRestore(stack);
            throw error;
        }
    }
    const decoder = new TextDecoder();
    const text = (address) => {
        if (!address) throw new Error('the core returned no text');
        return decoder.decode(new Uint8Array(core.memory.buffer, address, core.ReturnedSize()));
    };
    function passText(box) {
        const bytes = new TextEncoder().encode(box.value);
        const address = call('TextBuffer', bytes.length);
        if (!address) throw new Error('there is not enough memory for this text');
        new Uint8Array(core.memory.buffer).set(bytes, address);
        call('TextChanged', idOf(box), bytes.length);
    }

    // Every control from the presenter: the texts, the checked options, the answer, its unit
    // and whether it is out of date; then what it asks for once: a focus, a box's text
    // selected, a failure reported, the answer announced.
    function render() {
        const state = JSON.parse(text(call('State')));
        for (const box of boxes)
            if (box.value !== state.texts[box.id]) box.value = state.texts[box.id];
        for (const option of options) option.checked = state.selected.includes(option.id);
        answer.textContent = state.answer;
        answer.classList.toggle('out-of-date', state.outOfDate);
        answer.setAttribute('aria-label', state.accessibleName);
        $('LabelAnswerUnits').textContent = state.units;
        fitAnswer();
        const requests = JSON.parse(text(call('TakeRequests')));
        if (requests.focus && document.activeElement !== $(requests.focus)) $(requests.focus).focus();
        if (requests.selectAll) $(requests.selectAll).select();
        if (requests.announce) announce();
        if (requests.failure) report(requests.failure);
    }

    // A cut-off number reads as another number: the presenter picks the size that fits.
    answerFits = (size) => {
        answer.style.fontSize = `${size}px`;
        return answer.scrollWidth <= answer.clientWidth && answer.scrollHeight <= answer.clientHeight;
    };
    function fitAnswer() {
        answer.style.fontSize = '';
        if (!answer.textContent) return; // nothing to fit, and no layout to force at the start
        const own = parseFloat(getComputedStyle(answer).fontSize);
        const size = call('AnswerFontSize', own);
        answer.style.fontSize = size === own ? '' : `${size}px`;
    }

    // A failed call into the core leaves no answer on show that might not belong to the
    // inputs: the page shows what the presenter still holds, without the answer, says what
    // happened, and goes on.
    function coreFailed(error) {
        try {
            render();
        } catch {
            // the presenter's state is out of reach: the answer stays cleared all the same
        }
        answer.textContent = '';
        answer.classList.remove('out-of-date');
        answer.setAttribute('aria-label', answerName);
        notice.textContent = `${productName()} could not do that in this browser (${error?.message ?? error}). ` +
            'The answer is cleared until the next calculation.';
        notice.hidden = false;
    }
    const guarded = (handler) => (event) => {
        try {
            handler(event);
        } catch (error) {
            coreFailed(error);
        }
    };
    const on = (target, type, handler) => target.addEventListener(type, guarded(handler));

    // Said once after each calculation, wherever the focus is: the live region is emptied
    // first, so that the same answer twice is said twice.
    function announce() {
        live.textContent = '';
        requestAnimationFrame(() => (live.textContent = answer.getAttribute('aria-label')));
    }

    // The text boxes select all of their text when Tab, Shift+Tab or a click brings the focus.
    let pressed = null; // the box a left press is focusing
    let activating = false; // the focus comes back from the failure box, or the program gives it
    for (const box of boxes) {
        on(box, 'input', () => {
            passText(box);
            render();
        });
        on(box, 'pointerdown', (event) => {
            if (event.button === 0 && document.activeElement !== box) pressed = box;
        });
        on(box, 'focus', () => {
            call('FocusEntered', idOf(box), pressed === box ? Cause.MousePress : activating ? Cause.Activation : Cause.Keyboard);
            render();
        });
        // The selection the release leaves, once the browser has placed the caret: some do
        // that only after the release's own events.
        on(box, 'pointerup', () => {
            if (pressed !== box) return;
            pressed = null;
            setTimeout(guarded(() => {
                call('BoxReleased', idOf(box), box.selectionStart, box.selectionEnd);
                render();
            }));
        });
        on(box, 'pointercancel', () => {
            if (pressed === box) call('PressCancelled', idOf(box));
            pressed = null;
        });
    }

    for (const option of options)
        on(option, 'change', () => {
            call('OptionClicked', idOf(option));
            render();
        });
    // Every other control that takes the focus tells the presenter, so that it knows where
    // the focus goes back to after the failure box.
    for (const control of controls)
        if (control.kind !== 'TextBox' && control.kind !== 'Frame' && control.kind !== 'Label')
            on($(control.name), 'focus', () => call('FocusEntered', idOf($(control.name)), Cause.Keyboard));

    // Tab and Shift+Tab go round the form's tab stops, the picture included, as in the desktop
    // window (F6 still reaches the browser's own bar). The arrows move an option group's
    // selection, wrapping at its ends. Enter clicks the default button from a box, an option
    // or the picture; a focused button clicks itself, as the browser does. Alt and a letter
    // click the button whose access key it is, in every browser alike. The picture takes no
    // other key.
    on(document, 'keydown', (event) => {
        if (form.hidden || failure.open) return;
        const focus = document.activeElement;
        const plain = !event.altKey && !event.ctrlKey && !event.metaKey;
        const tab = event.key === 'Tab' || event.code === 'Tab'; // WebKitGTK's Shift+Tab has no key name
        const arrowTo = plain && !event.shiftKey && event.key in Form.arrowKeys
            ? call('ArrowTarget', idOf(focus), Form.arrowKeys[event.key]) : FormId;
        const letter = /^[a-z0-9]$/i.test(event.key) ? event.key : /^Key[A-Z]$/.test(event.code) ? event.code[3] : '';
        const clickedByKey = event.altKey && !event.ctrlKey && !event.metaKey && letter
            ? call('AccessKey', letter.charCodeAt(0)) : FormId;
        if (tab && plain) {
            event.preventDefault();
            $(controls[call('NextTabStop', idOf(focus), Number(event.shiftKey))].name).focus();
        } else if (arrowTo !== FormId) {
            event.preventDefault();
            $(controls[arrowTo].name).focus();
            call('OptionClicked', arrowTo); // a selection by the keyboard counts as a click
            render();
        } else if (event.key === 'Enter' && plain && focus?.tagName !== 'BUTTON') {
            event.preventDefault();
            $(controls[call('EnterClicks', idOf(focus))].name).click();
        } else if (clickedByKey !== FormId) {
            event.preventDefault();
            $(controls[clickedByKey].name).click();
        } else if (controls[idOf(focus)]?.kind === 'Picture' && !event.altKey && !event.ctrlKey && !tab) {
            event.preventDefault();
        }
    });

    on($('CommandCalculate'), 'click', () => {
        call('CalculateClicked');
        notice.hidden = true;
        render();
    });

    // A failed calculation changes nothing: the box names the failure and its likely cause;
    // once it closes, the presenter sends the focus back where it was.
    function report([kind, cause]) {
        $('FailureKind').textContent = kind;
        $('FailureCause').textContent = cause;
        failure.addEventListener(
            'close',
            guarded(() => {
                activating = true;
                try {
                    call('FailureClosed');
                    render();
                } finally {
                    activating = false;
                }
            }),
            { once: true },
        );
        failure.showModal();
    }

    // Back and forward may bring the page back from the browser's cache, its boxes and options
    // as the browser kept them: they show the presenter's state again.
    on(window, 'pageshow', (event) => {
        if (event.persisted) render();
    });

    // A page cannot end its browser. An installed app's window closes; a tab that the page
    // may not close says honestly that the program has ended, and offers a new start.
    on($('CommandExit'), 'click', () => {
        window.close();
        form.inert = true;
        form.hidden = true;
        $('Ended').hidden = false;
        $('StartAgain').focus();
    });
    on($('StartAgain'), 'click', () => location.reload());

    // Where the page is served: the web app manifest, for a phone or a desktop to install it,
    // and the service worker that lets the installed app start offline. Opened from disk the
    // page has no origin to fetch them from.
    if (location.protocol !== 'file:') {
        document.head.append(Object.assign(document.createElement('link'), { rel: 'manifest', href: 'manifest.webmanifest' }));
        navigator.serviceWorker?.register('service-worker.js').catch(() => {}); // the page works without it
    }

    $('LabelVelAddress').textContent = text(call('ContactBlock', new Date().getFullYear()));
    render(); // the start values, whatever the browser restored into the form
    form.inert = false;
    form.removeAttribute('aria-busy');
    form.classList.add('ready');
    performance.mark('ready'); // the start-up benchmark's end point
    activating = true; // the program's own first focus selects like a Tab
    $(controls[call('Focus')].name).focus();
    activating = false;
}
