// The page's own part: it routes the user's actions to the form (compiled from C++)
// and does what only a page can: the clipboard, the message box, the menus, the About window
// and the end of the program. The window itself is static HTML, painted before this runs.
"use strict";
(() => {
    const $ = (id) => document.getElementById(id);
    const window1 = $("Form1"), client = $("client"), value = $("Text1"), popup = $("Label1");
    const notice = $("clipNotice"), message = $("message"), about = $("about");
    const flagIndex = (element) => {
        const m = /^Check1_(\d+)$/.exec(element && element.id);
        return m ? Number(m[1]) : -1;
    };
    let M = null, ready = false, ended = false;
    // The form's entries, Module._orvan_<name>, once the program has loaded.
    const call = (name, ...args) => M["_orvan_" + name](...args);
    const accepts = (text, length) => { M.candidate = text; return call("accepts", length); };

    // The value box as it was before the user's change: a change the form does not accept
    // (a character that is not a digit, by any route, or more than the box may hold) is undone.
    let good = { text: "0", start: 0, end: 1 };
    const keep = () => { good = { text: value.value, start: value.selectionStart, end: value.selectionEnd }; };
    const check = () => {
        if (value.value === good.text) return;
        if (!accepts(value.value, value.value.length)) {
            value.value = good.text;
            value.setSelectionRange(good.start, good.end);
            return;
        }
        keep();
        call("valueEdited");
    };

    // The clipboard. The event's last total goes out once, when the event's work is done (GO
    // sets twenty totals in a row), as the Qt window does under Wayland. A write the browser
    // refuses (no recent user action, an unfocused page) is said next to the value; the next
    // action of the user writes the total again.
    let refused = null, queued = null;
    const write = () => {
        const total = queued;
        queued = null;
        refused = total;
        const fail = () => {
            if (refused !== total) return;
            notice.textContent = "Not on the clipboard: the browser refused it. Click or press a key to copy " + total + ".";
        };
        if (!navigator.clipboard) return fail();
        navigator.clipboard.writeText(total).then(() => {
            if (refused !== total) return;
            refused = null;
            notice.textContent = "";
        }, fail);
    };
    const copy = (total) => {
        if (queued === null) queueMicrotask(write);
        queued = total;
    };
    const retry = () => { if (refused !== null && !ended) copy(refused); };
    document.addEventListener("pointerdown", retry, true);
    document.addEventListener("keydown", retry, true);

    // The menus: a menu bar of two menus, for the mouse and the keyboard.
    const tops = [...document.querySelectorAll("#menubar .top")];
    let openTop = null, back = null, aboutBack = null; // where the focus goes back to
    const itemsOf = (top) => [...top.nextElementSibling.querySelectorAll("[role=menuitem]")];
    const openMenu = (top, focusFirst) => {
        if (!openTop) back = document.activeElement;
        else if (openTop !== top) closeMenu(false);
        openTop = top;
        top.setAttribute("aria-expanded", "true");
        top.classList.add("open");
        top.nextElementSibling.hidden = false;
        (focusFirst ? itemsOf(top)[0] : top).focus();
    };
    const closeMenu = (refocus) => {
        if (!openTop) return;
        openTop.setAttribute("aria-expanded", "false");
        openTop.classList.remove("open");
        openTop.nextElementSibling.hidden = true;
        openTop = null;
        if (refocus && back) back.focus();
    };
    const command = (number) => { if (ready && !ended) call("run", Number(number)); };
    for (const top of tops) {
        top.addEventListener("mousedown", (e) => {
            e.preventDefault();
            if (openTop === top) closeMenu(true); else openMenu(top, false);
        });
        top.addEventListener("mouseenter", () => { if (openTop && openTop !== top) openMenu(top, false); });
    }
    document.querySelectorAll("#menubar [data-command]").forEach((item) => {
        item.addEventListener("click", () => { closeMenu(true); command(item.dataset.command); });
    });
    document.addEventListener("mousedown", (e) => {
        if (openTop && !e.target.closest("#menubar")) closeMenu(false);
    });
    const menuKey = (e) => {
        const items = itemsOf(openTop), at = items.indexOf(document.activeElement);
        const k = tops.indexOf(openTop);
        switch (e.key) {
        case "Escape": closeMenu(true); break;
        case "ArrowDown": items[(at + 1) % items.length].focus(); break;
        case "ArrowUp": items[(at + items.length - 1) % items.length].focus(); break;
        case "ArrowLeft": case "ArrowRight":
            openMenu(tops[(k + (e.key === "ArrowLeft" ? tops.length - 1 : 1)) % tops.length], true);
            break;
        case "Enter": case " ":
            if (at >= 0) items[at].click(); else openMenu(openTop, true);
            break;
        case "Tab": closeMenu(true); break;
        default: {
            const hit = items.find((i) => i.dataset.key.toLowerCase() === e.key.toLowerCase());
            if (hit) hit.click(); else return;
        }
        }
        e.preventDefault();
    };

    // The keyboard, before the focused control sees it.
    document.addEventListener("keydown", (e) => {
        if (ended || !ready || message.open) return;
        if (openTop) return menuKey(e);
        const inAbout = about.contains(document.activeElement);
        if (e.key === "F10" || (e.altKey && !e.ctrlKey && e.key.length === 1)) {
            const top = e.key === "F10" ? tops[0]
                : tops.find((t) => t.dataset.key.toLowerCase() === e.key.toLowerCase());
            if (top) { e.preventDefault(); openMenu(top, e.key !== "F10"); }
            return;
        }
        if (e.key === "F1") {
            e.preventDefault();
            if (!inAbout) call("helpRequested", flagIndex(document.activeElement));
        } else if (e.key === "Escape") {
            e.preventDefault();
            // In About, Esc presses its OK, the window's cancel button.
            if (inAbout) $("cmdOK").click(); else call("escapePressed");
        } else if (e.key === "Tab") {
            // Tab goes round the window's controls, as in the desktop windows.
            const order = [...document.querySelectorAll(inAbout ? "#about button" : "#client input, #client button")]
                .filter((c) => !c.disabled);
            const at = order.indexOf(document.activeElement);
            e.preventDefault();
            order[at < 0 ? 0 : (at + (e.shiftKey ? order.length - 1 : 1)) % order.length].focus();
        } else if (e.key === "Enter" && e.target.tagName === "BUTTON" && client.contains(e.target)) {
            e.preventDefault(); // Enter presses no button in the main window
        } else if ((e.key === "Enter" || e.key === " ") && e.target.classList.contains("description")) {
            e.preventDefault();
            call("descriptionClicked", Number(e.target.id.slice(7)));
        }
    }, true);

    // Moves of the focus between the main window's controls.
    client.addEventListener("focusin", (e) => {
        if (ready && client.contains(e.relatedTarget)) call("focusMoved");
    });

    // The controls. The second click of a double click is no click, as on the desktop; a click
    // from the keyboard or a screen reader (detail 0) is one.
    const click = (element, handler) => element.addEventListener("click", (e) => {
        if (ready && !ended && (e.detail === 0 || e.detail % 2 === 1)) handler(e);
    });
    // The click resets the box and selects its "0": the browser's own caret placing, which it
    // finishes after the click when the press lands in a selection, would undo that.
    value.addEventListener("mousedown", (e) => {
        if (e.button !== 0) return;
        e.preventDefault();
        value.focus();
    });
    click(value, () => call("valueClicked"));
    click(popup, () => call("popupClicked"));
    // Labels take no focus from a click, as on the desktop: the value box keeps its selection.
    for (const label of [popup, ...document.querySelectorAll(".description")])
        label.addEventListener("mousedown", (e) => e.preventDefault());
    for (let i = 0; i < 20; ++i) {
        $("Check1_" + i).addEventListener("change", () => call("flagClicked", i));
        click($("Label3_" + i), () => call("descriptionClicked", i));
    }
    document.querySelectorAll("button[data-command]").forEach((b) => {
        b.addEventListener("click", () => command(b.dataset.command));
    });
    value.addEventListener("beforeinput", (e) => {
        if (!value.matches(":focus") || e.isComposing) return;
        keep();
        const after = value.value.length - (value.selectionEnd - value.selectionStart) + (e.data || "").length;
        if (e.data && !accepts(e.data, after)) e.preventDefault();
    });
    value.addEventListener("compositionstart", keep);
    value.addEventListener("compositionend", check);
    value.addEventListener("input", (e) => { if (!e.isComposing) check(); });

    // What the form asks of the page.
    const page = {
        copy,
        message(title, text) {
            $("messageTitle").textContent = title;
            $("messageText").textContent = text;
            message.showModal();
        },
        announce(text) {
            const live = $("announce");
            live.textContent = "";
            requestAnimationFrame(() => { live.textContent = text; });
        },
        closeAbout() {
            about.hidden = true;
            if (aboutBack) aboutBack.focus();
        },
        openAbout() {
            if (about.hidden) aboutBack = client.contains(document.activeElement) ? document.activeElement : value;
            about.hidden = false;
            $("cmdOK").focus();
        },
        end() {
            ended = true;
            if (message.open) message.close();
            about.hidden = true;
            window1.inert = true;
            window1.classList.add("ended");
            $("ended").hidden = false;
            document.title += " (ended)";
        },
    };
    message.addEventListener("close", () => { if (!ended) value.focus(); });

    // On a zoomed page that is not a whole multiple, the pixel font goes uneven: the windows
    // take a scalable sans-serif face instead, sized so that the widest description keeps the
    // width the design font gives it, as the desktop windows do on scaled screens.
    const descriptions = [...document.querySelectorAll(".description")];
    const fit = () => {
        const scaled = window.devicePixelRatio % 1 !== 0;
        if (scaled === document.body.classList.contains("scaled")) return;
        document.body.classList.remove("scaled");
        if (!scaled) return;
        const widest = descriptions.reduce((a, b) => (b.offsetWidth > a.offsetWidth ? b : a));
        const designed = widest.offsetWidth;
        document.body.classList.add("scaled");
        document.body.style.setProperty("--face", "11px");
        const size = Math.min(11, 11 * designed / widest.offsetWidth);
        document.body.style.setProperty("--face", size.toFixed(2) + "px");
    };
    let resolution = null; // held, or it is collected with its listener
    const watch = () => {
        fit();
        resolution = matchMedia(`(resolution: ${window.devicePixelRatio}dppx)`);
        resolution.addEventListener("change", watch, { once: true });
    };
    watch();

    // The program's WebAssembly compiles in the background while the window is painted; the
    // program starts once the window is on the screen.
    const compiled = WebAssembly.compile(Uint8Array.from(atob(programCode), (c) => c.charCodeAt(0)));
    const instantiateWasm = (imports, done) => {
        compiled.then((code) => WebAssembly.instantiate(code, imports)).then((instance) => done(instance));
        return {};
    };
    requestAnimationFrame(() => setTimeout(() => createOrvan({ page, instantiateWasm }).then((module) => {
        M = module;
        ready = true;
        call("load");
        window1.inert = false;
        value.focus();
        document.documentElement.dataset.ready = "";
        performance.mark("orvan-ready");
    })));
})();
