// Tornevo in a browser. The rules of the window live in the presenter that the desktop
// windows run too, compiled to WebAssembly: this page passes the user's events in and
// shows what the presenter holds. `Controls` (the form table's names, by index),
// `CoreModule` (the presenter, compiling since the page's head) and `TornevoCore` (its
// JavaScript side) stand before this script.

'use strict';

TornevoCore({
    instantiateWasm(imports, receive) {
        CoreModule.then((module) => receive(new WebAssembly.Instance(module, imports), module));
        return {};
    },
}).then((core) => {
    const call = (name, returns, ...args) =>
        core.ccall(name, returns, args.map((a) => (typeof a === 'string' ? 'string' : 'number')), args);

    const Cause = { Keyboard: 0, MousePress: 1, Activation: 2 }; // the presenter's FocusCause
    const FormId = Controls.length; // the window itself
    const idOf = (element) => (element && Controls.includes(element.id) ? Controls.indexOf(element.id) : FormId);
    const $ = (name) => document.getElementById(name);

    const form = $('Form1');
    const boxes = ['TextRadius', 'TextConvert'].map($);
    const options = ['OptionCm', 'OptionIn', 'OptionRCF', 'OptionRPM'].map($);
    const answer = $('LabelAnswer');
    const failure = $('Failure');
    const live = $('Announcer');

    function render() {
        answer.textContent = call('Answer', 'string');
        answer.classList.toggle('out-of-date', call('AnswerOutOfDate', 'number') !== 0);
        answer.setAttribute('aria-label', call('AnswerAccessibleName', 'string'));
        $('LabelAnswerUnits').textContent = call('Units', 'string');
        fitAnswer();
    }

    // A cut-off number reads as another number: the font shrinks until the whole text fits.
    function fitAnswer() {
        answer.style.fontSize = '';
        let size = parseFloat(getComputedStyle(answer).fontSize);
        while ((answer.scrollWidth > answer.clientWidth || answer.scrollHeight > answer.clientHeight) && size > 1) {
            size *= 0.9;
            answer.style.fontSize = `${size}px`;
        }
    }

    // Said once after each calculation, wherever the focus is: the live region is emptied
    // first, so that the same answer twice is said twice.
    function announce() {
        const name = call('AnswerAccessibleName', 'string');
        live.textContent = '';
        requestAnimationFrame(() => (live.textContent = name));
    }

    // The text boxes select all of their text when Tab, Shift+Tab or a click brings the focus.
    let pressed = null; // the box a left press is focusing
    let activating = false; // the focus comes back from the failure box
    const select = (id) => {
        if (id >= 0) $(Controls[id]).select();
    };
    for (const control of form.querySelectorAll('input, button, img'))
        if (Controls.includes(control.id) && !boxes.includes(control))
            control.addEventListener('focus', () => call('FocusEntered', 'number', idOf(control), Cause.Keyboard));
    for (const box of boxes) {
        box.addEventListener('input', () => {
            call('TextChanged', null, idOf(box), box.value);
            render();
        });
        box.addEventListener('pointerdown', (event) => {
            if (event.button === 0 && document.activeElement !== box) pressed = box;
        });
        box.addEventListener('focus', () => {
            const cause = pressed === box ? Cause.MousePress : activating ? Cause.Activation : Cause.Keyboard;
            select(call('FocusEntered', 'number', idOf(box), cause));
        });
        box.addEventListener('pointerup', () => {
            if (pressed !== box) return;
            pressed = null;
            select(call('BoxReleased', 'number', idOf(box), box.selectionStart, box.selectionEnd));
        });
        box.addEventListener('pointercancel', () => {
            if (pressed === box) call('PressCancelled', 'number', idOf(box));
            pressed = null;
        });
    }

    for (const option of options)
        option.addEventListener('change', () => {
            call('OptionClicked', null, idOf(option));
            render();
        });

    // Tab and Shift+Tab go round the form's tab stops, the picture included, as in the desktop
    // window (F6 still reaches the browser's own bar). Enter clicks the default button from a
    // box, an option or the picture; a focused button clicks itself, as the browser does. The
    // picture takes no other key.
    form.addEventListener('keydown', (event) => {
        const focus = document.activeElement;
        const plain = !event.altKey && !event.ctrlKey && !event.metaKey;
        if (event.key === 'Tab' && plain) {
            event.preventDefault();
            const from = idOf(focus) === FormId ? (event.shiftKey ? 0 : Controls.indexOf('Picture1')) : idOf(focus);
            $(Controls[call('NextTabStop', 'number', from, Number(event.shiftKey))]).focus();
        } else if (event.key === 'Enter' && plain && focus?.tagName !== 'BUTTON') {
            event.preventDefault();
            $(Controls[call('EnterClicks', 'number', idOf(focus))]).click();
        } else if (focus?.id === 'Picture1' && !event.altKey && !event.ctrlKey && event.key !== 'Tab') {
            event.preventDefault();
        }
    });

    $('CommandCalculate').addEventListener('click', () => {
        const failed = call('Calculate', 'number');
        if (failed) return report(failed - 1);
        render();
        announce();
    });

    // A failed calculation changes nothing: the box names the failure and its likely cause,
    // and the focus goes back where it was, a text box selecting its text for retyping.
    function report(kind) {
        const focus = document.activeElement;
        $('FailureKind').textContent = call('FailureKindText', 'string', kind);
        $('FailureCause').textContent = call('LikelyCause', 'string', kind);
        failure.addEventListener(
            'close',
            () => {
                activating = true;
                focus?.focus();
                activating = false;
                select(call('FailureClosed', 'number'));
            },
            { once: true },
        );
        failure.showModal();
    }

    // A page cannot end its browser. An installed app's window closes; a tab that the page
    // may not close says honestly that the program has ended, and offers a new start.
    $('CommandExit').addEventListener('click', () => {
        window.close();
        form.inert = true;
        form.hidden = true;
        $('Ended').hidden = false;
        $('StartAgain').focus();
    });
    $('StartAgain').addEventListener('click', () => location.reload());

    // The web app manifest, for a phone or a desktop to install the page, where it is served;
    // opened from disk the page has no origin to fetch it from.
    if (location.protocol !== 'file:')
        document.head.append(Object.assign(document.createElement('link'), { rel: 'manifest', href: 'manifest.webmanifest' }));

    $('LabelVelAddress').textContent = call('ContactBlock', 'string', new Date().getFullYear());
    render();
    form.classList.add('ready');
    performance.mark('ready'); // the start-up benchmark's end point
    activating = true; // the program's own first focus selects like a Tab
    $('TextRadius').focus();
    activating = false;
});
