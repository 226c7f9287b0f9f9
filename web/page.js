// The page's own part: it routes the user's actions to the form (compiled from C++)
// and does what only a page can: the clipboard, the message box, the menus, the About window
// and the end of the program. The window itself is static HTML, painted before this runs.
"use strict";
(() => {
    const $ = (id) => document.getElementById(id);
    const window1 = $("Form1"), client = $("client"), value = $("Text1"), popup = $("Label1");
    const notice = $("clipNotice"), message = $("message"), about = $("about");
    const aboutOK = about.querySelector(".area [data-close]"), aboutBar = $("aboutBar");
    const descriptions = [...client.querySelectorAll(".description")], go = $("cmdGo"), boxes = [];
    const flagIndex = (element) => Number(element.dataset.flag ?? -1);
    for (const box of client.querySelectorAll("input[data-flag]")) boxes[flagIndex(box)] = box;
    // The program (its module, and its entry points from page_seam.js) once it has loaded: until
    // then the window is inert and no listener calls it.
    let M = null, program = null, ended = false;
    const live = () => program !== null && !ended;

    // The clipboard: the form writes the last total once per user action, when the action's
    // work is done. A write the browser refuses (no recent user action, an unfocused page) is
    // said next to the value; the next action of the user writes the total again.
    let refused = null;
    const copy = (total) => {
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
    const retry = () => { if (refused !== null && !ended) copy(refused); };
    for (const type of ["pointerdown", "keydown"]) document.addEventListener(type, retry, true);

    // The menus: a menu bar of two menus, for the mouse and the keyboard.
    const tops = [...document.querySelectorAll("#menubar .top")];
    let openTop = null, back = null, aboutBack = value; // where the focus goes back to
    const itemsOf = (top) => [...top.nextElementSibling.querySelectorAll("[role=menuitem]")];
    // The menu or menu entry of that access key, in either case.
    const byKey = (elements, key) => elements.find((m) => m.dataset.key.toLowerCase() === key.toLowerCase());
    const showMenu = (top, shown) => {
        top.setAttribute("aria-expanded", shown);
        top.classList.toggle("open", shown);
        top.nextElementSibling.hidden = !shown;
    };
    const openMenu = (top, focusFirst) => {
        if (!openTop) back = document.activeElement;
        else if (openTop !== top) closeMenu(false);
        openTop = top;
        showMenu(top, true);
        (focusFirst ? itemsOf(top)[0] : top).focus();
    };
    const closeMenu = (refocus) => {
        if (!openTop) return;
        showMenu(openTop, false);
        openTop = null;
        if (refocus && back) back.focus();
    };
    const command = (number) => { if (live()) program.run(Number(number)); };
    for (const top of tops) {
        top.addEventListener("mousedown", (e) => {
            e.preventDefault();
            if (openTop === top) closeMenu(true); else openMenu(top, false);
        });
        top.addEventListener("mouseenter", () => { if (openTop && openTop !== top) openMenu(top, false); });
    }
    for (const item of document.querySelectorAll("#menubar [data-command]"))
        item.addEventListener("click", () => { closeMenu(true); command(item.dataset.command); });
    document.addEventListener("mousedown", (e) => {
        if (openTop && !e.target.closest("#menubar")) closeMenu(false);
    });
    const menuKey = (e) => {
        const items = itemsOf(openTop), at = items.indexOf(document.activeElement);
        const k = tops.indexOf(openTop);
        switch (e.key) {
        case "Escape": case "Tab": closeMenu(true); break;
        case "ArrowDown": items[(at + 1) % items.length].focus(); break;
        case "ArrowUp": items[(at + items.length - 1) % items.length].focus(); break;
        case "ArrowLeft": case "ArrowRight":
            openMenu(tops[(k + (e.key === "ArrowLeft" ? tops.length - 1 : 1)) % tops.length], true);
            break;
        case "Enter": case " ":
            if (at >= 0) items[at].click(); else openMenu(openTop, true);
            break;
        default: {
            const hit = byKey(items, e.key);
            if (hit) hit.click(); else return;
        }
        }
        e.preventDefault();
    };

    // The keyboard, before the focused control sees it.
    document.addEventListener("keydown", (e) => {
        // The function keys the window uses are the window's in every state, the program
        // ended too: the browser's own (its help on F1, its menu bar on F10) never sees them.
        if (e.key === "F1" || e.key === "F10") e.preventDefault();
        if (!live() || message.open) return;
        if (openTop) return menuKey(e);
        const inAbout = about.contains(document.activeElement);
        if (e.key === "F10" || (e.altKey && !e.ctrlKey && e.key.length === 1)) {
            const top = e.key === "F10" ? tops[0] : byKey(tops, e.key);
            if (top) { e.preventDefault(); openMenu(top, e.key !== "F10"); }
            return;
        }
        if (e.key === "F1") {
            if (!inAbout) program.helpRequested(flagIndex(document.activeElement));
        } else if (e.key === "Escape") {
            e.preventDefault();
            // In About, Esc presses its OK, the window's cancel button.
            if (inAbout) aboutOK.click(); else program.escapePressed();
        } else if (e.key === "Tab") {
            // Tab goes round the window's controls, in the order the markup holds them.
            const order = (inAbout ? [...about.querySelectorAll("[data-tab]")].sort((a, b) => a.dataset.tab - b.dataset.tab)
                : [...client.querySelectorAll("input, button")]).filter((c) => !c.disabled);
            const at = order.indexOf(document.activeElement);
            e.preventDefault();
            order[at < 0 ? 0 : (at + (e.shiftKey ? order.length - 1 : 1)) % order.length].focus();
        } else if (e.key === "Enter" && e.target.tagName === "BUTTON" && client.contains(e.target)) {
            e.preventDefault(); // Enter presses no button in the main window
        } else if ((e.key === "Enter" || e.key === " ") && e.target.classList.contains("description")) {
            e.preventDefault();
            program.descriptionClicked(flagIndex(e.target));
        }
    }, true);

    // A window shows no menu of the browser's for a right click, but in the value box.
    window1.addEventListener("contextmenu", (e) => { if (e.target !== value) e.preventDefault(); });
    // A press on nothing that takes the focus (a label, a disabled button, empty space) leaves
    // the focus where it was, as on the desktop: the browser would give it to the page's body.
    document.addEventListener("mousedown", (e) => {
        if (!e.target.closest("input, button:enabled, label, [tabindex]")) e.preventDefault();
    }, true);
    // A disabled button hears no press at all, yet the browser still takes the focus away:
    // the focus goes back to the control that lost it, unless the page itself lost it.
    document.addEventListener("focusout", (e) => {
        if (e.relatedTarget) return;
        queueMicrotask(() => {
            if (document.hasFocus() && document.activeElement === document.body) e.target.focus();
        });
    });

    // Moves of the focus between the main window's controls; the last of them gets the focus
    // back when About closes.
    client.addEventListener("focusin", (e) => {
        aboutBack = e.target;
        if (live() && client.contains(e.relatedTarget)) program.focusMoved();
    });

    // The controls. Whether a press is a click (the second of a double click is none) is the
    // form's to say; only the left button clicks.
    const click = (element, handler) => element.addEventListener("click", (e) => {
        if (live() && e.button === 0 && program.isClick(e.detail)) handler(e);
    });
    // The click resets the box and selects its "0": the browser's own caret placing, which it
    // finishes after the click when the press lands in a selection, would undo that.
    value.addEventListener("mousedown", (e) => {
        if (e.button !== 0) return;
        e.preventDefault();
        value.focus();
    });
    click(value, () => program.valueClicked());
    click(popup, () => program.popupClicked());
    // Labels take no focus from a click, as on the desktop: the value box keeps its selection.
    for (const label of [popup, ...descriptions])
        label.addEventListener("mousedown", (e) => e.preventDefault());
    boxes.forEach((box, index) => box.addEventListener("change", () => { if (live()) program.flagClicked(index); }));
    for (const description of descriptions)
        click(description, () => program.descriptionClicked(flagIndex(description)));
    for (const button of client.querySelectorAll("button[data-command]"))
        button.addEventListener("click", () => command(button.dataset.command));

    // The value box. Every way text comes in is told to the form, with its route and its text,
    // and the text goes in only if the form takes it: the key, the paste or the drop is stopped
    // before it reaches the box, so that the box always holds what the form set or took. An
    // input method's composition cannot be stopped: its commit is undone if the form refuses it.
    // In characters, as the form counts: a surrogate pair is one.
    const length = (text) => text.replace(/[\ud800-\udbff][\udc00-\udfff]/g, "_").length;
    const lengthAfter = (text, [v, start, end] = [value.value, value.selectionStart, value.selectionEnd]) =>
        length(v) - length(v.slice(start, end)) + length(text);
    // The form's verdict: the length first, so that a text too long is never converted, then the
    // text itself, as code points in the program's memory.
    const admit = (route, text, after) => {
        let verdict = program.admitLength(route, after);
        if (verdict === Verdict.Take) {
            const points = Array.from(text, (c) => c.codePointAt(0));
            M.HEAPU32.set(points, program.textBuffer(points.length) >> 2);
            verdict = program.admit(route, after);
        }
        if (verdict === Verdict.Refuse) notice.textContent = "Not taken: too long for the value box.";
        return verdict === Verdict.Take;
    };
    // The box as the form last set it or took a change, for undoing a composition.
    let shown = ["0", 0, 1];
    const keep = () => { shown = [value.value, value.selectionStart, value.selectionEnd]; };
    const restore = () => {
        value.value = shown[0];
        value.setSelectionRange(shown[1], shown[2]);
    };
    // A key's route and text: the character it types, the control character of Backspace,
    // Enter or Ctrl+letter, or a clipboard command. Null for a key that only edits or moves
    // (Delete, the arrows, Home, End, with Shift to select), which works as in any box.
    const keyText = (e) => {
        const ctrl = (e.ctrlKey || e.metaKey) && !e.altKey;
        if ((e.key === "Insert" && (e.shiftKey || ctrl)) || (e.key === "Delete" && e.shiftKey))
            return [Route.KeyCommand, ""];
        if (e.key === "Backspace") return [Route.Typed, "\b"];
        if (e.key === "Enter") return [Route.Typed, "\r"];
        if (ctrl) {
            const letter = /^[a-z]$/i.test(e.key) ? e.key : /^Key[A-Z]$/.test(e.code) ? e.code[3] : "";
            return letter ? [Route.Typed, String.fromCharCode(letter.toUpperCase().charCodeAt(0) - 64)] : null;
        }
        return [...e.key].length === 1 ? [Route.Typed, e.key] : null;
    };
    // The value changed by the user, in whatever way: the form hears of it.
    const edited = () => {
        notice.textContent = refused === null ? "" : notice.textContent;
        program.valueEdited();
    };
    // Text the form took, put in by the page itself: the browser's editor would keep each
    // insertion in its undo history, which nothing here undoes (the form drops the undo keys),
    // and which holds on to a node of the box's text for every value typed.
    const put = (text) => {
        value.setRangeText(text, value.selectionStart, value.selectionEnd, "end");
        edited();
    };
    // The input the form took at its key or drop, which beforeinput then lets through.
    let decided = null, passed = false, dragged = false;
    value.addEventListener("keydown", (e) => {
        decided = null;
        const key = !e.defaultPrevented && !e.isComposing && live() && keyText(e);
        if (!key) return;
        if (!admit(key[0], key[1], lengthAfter(key[1]))) e.preventDefault();
        else if (key[1] >= " ") { e.preventDefault(); put(key[1]); }
        else decided = "insertText";
    });
    // The context menu's Paste, or a middle click: Ctrl+V and Shift+Insert never get here.
    value.addEventListener("paste", (e) => {
        const text = e.clipboardData.getData("text/plain");
        e.preventDefault();
        if (live() && admit(Route.MenuPaste, text, lengthAfter(text))) put(text);
    });
    // A drop; text dragged from the box itself moves within it.
    value.addEventListener("dragstart", () => { dragged = true; });
    value.addEventListener("dragend", () => { dragged = false; });
    value.addEventListener("drop", (e) => {
        const text = e.dataTransfer.getData("text/plain");
        const after = length(value.value) + (dragged ? 0 : length(text));
        decided = live() && admit(Route.Inserted, text, after) ? "insertFromDrop" : null;
        if (!decided) e.preventDefault();
    });
    // Any other text: an input method's commit outside a composition, a screen reader's
    // insertion; and the browser's own undo, a command like Ctrl+Z.
    value.addEventListener("beforeinput", (e) => {
        const type = e.inputType, was = decided;
        decided = null;
        passed = true;
        if (e.isComposing || type === was || type.startsWith("delete")) return;
        const text = e.data ?? (e.dataTransfer ? e.dataTransfer.getData("text/plain") : "");
        const route = type.startsWith("history") ? Route.KeyCommand
            : type.startsWith("insertFromPaste") ? Route.MenuPaste : Route.Inserted;
        if (!live() || !admit(route, text, lengthAfter(text))) {
            passed = false;
            e.preventDefault();
        }
    });
    value.addEventListener("compositionstart", keep);
    value.addEventListener("compositionend", (e) => {
        if (live() && admit(Route.Inserted, e.data, lengthAfter(e.data, shown))) program.valueEdited();
        else restore();
    });
    value.addEventListener("input", (e) => {
        if (e.isComposing || !live()) return;
        // A change no event announced (a screen reader setting the text) is the whole text.
        if (!passed && value.value !== shown[0] && !admit(Route.Inserted, value.value, length(value.value)))
            return restore();
        passed = false;
        edited();
    });

    // Screen readers hear a live region's new text, politely. Chromium says nothing when a region
    // gets the same text again, so two regions take turns: the text always arrives in the one
    // that was empty, and F1 pressed three times on one box is heard three times.
    const regions = [$("announce0"), $("announce1")];
    let turn = 0, messageDue = false;
    const say = (text) => {
        regions[turn].textContent = "";
        turn = 1 - turn;
        regions[turn].textContent = text;
    };

    const expanded = (flag) => descriptions.forEach((d) => d.setAttribute("aria-expanded", flagIndex(d) === flag));

    // What the form asks of the page. Setting a box or the value from here fires no event: the
    // form's own changes never come back as the user's.
    const page = {
        isTicked: (index) => boxes[index].checked,
        setTicked(index, ticked) { boxes[index].checked = ticked; },
        valueText: () => value.value,
        setValueText(text) { value.value = text; },
        selectValueText(start, end) { value.setSelectionRange(start, end); },
        focusValueBox() { if (!messageDue) value.focus(); },
        setGoEnabled(enabled) { go.disabled = !enabled; },
        // An explanation, at its place in pixels, and read out to screen readers.
        // The description of the flag it explains, if any, is marked as open.
        showPopup(text, flag, left, top, width, height) {
            Object.assign(popup.style, { left: left + "px", top: top + "px", width: width + "px", height: height + "px" });
            popup.textContent = text;
            popup.hidden = false;
            expanded(flag);
            say(text);
        },
        hidePopup() {
            popup.hidden = true;
            expanded(-1);
        },
        copy,
        announce: (text) => say(text),
        message(title, text) {
            $("messageTitle").textContent = title;
            $("messageText").textContent = text;
            // Emptied, or the window's return from behind the message reads the last one again.
            regions.forEach((region) => { region.textContent = ""; });
            // Opened a frame later, once screen readers have heard of the boxes just set: behind a
            // modal box they are hidden, and Chromium never tells of a change made there; until
            // then the focus stays where it is. OK takes it as the box opens, and the text that
            // describes OK is read with it: a box that took the focus itself, for a screen reader
            // to read it first, would be skipped by one that hears OK's focus before it is done.
            messageDue = true;
            requestAnimationFrame(() => setTimeout(() => {
                messageDue = false;
                if (live()) message.showModal();
            }, 0));
        },
        openAbout() {
            about.hidden = false;
            aboutOK.focus();
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
    $("messageOK").addEventListener("click", () => message.close());
    message.addEventListener("close", () => { if (!ended) value.focus(); });
    // About's OK and its title bar's close button, the page's own window's command. The focus
    // goes back to the main window if About had it.
    about.querySelectorAll("[data-close]").forEach((b) => b.addEventListener("click", () => {
        const had = about.contains(document.activeElement);
        about.hidden = true;
        if (had) aboutBack.focus();
    }));
    // About is a window beside the main one, not a modal, and stays above it as a window owned
    // by it does; it moves by its title bar, within the page.
    aboutBar.addEventListener("pointerdown", (e) => {
        if (e.button !== 0 || e.target.closest("button")) return;
        e.preventDefault();
        const dx = e.clientX - about.offsetLeft, dy = e.clientY - about.offsetTop;
        const move = (m) => {
            about.style.left = Math.max(40 - about.offsetWidth, Math.min(innerWidth - 40, m.clientX - dx)) + "px";
            about.style.top = Math.max(0, Math.min(innerHeight - 20, m.clientY - dy)) + "px";
        };
        aboutBar.setPointerCapture(e.pointerId);
        aboutBar.addEventListener("pointermove", move);
        aboutBar.addEventListener("lostpointercapture", () => aboutBar.removeEventListener("pointermove", move),
            { once: true });
    });

    // On a zoomed page that is not a whole multiple, the pixel font goes uneven: the windows
    // take a scalable sans-serif face instead, sized so that the widest description keeps the
    // width the design font gives it, as the desktop windows do on scaled screens.
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

    // The program's WebAssembly compiles in the background while the window is painted, and the
    // program starts as soon as it is compiled: the window is inert until then, and a click that
    // lands before is lost. (Waiting for the first frame to start it cost a first click.)
    const compiled = WebAssembly.compile(Uint8Array.from(atob(programCode), (c) => c.charCodeAt(0)));
    const instantiateWasm = (imports, done) => {
        compiled.then((code) => WebAssembly.instantiate(code, imports)).then((instance) => done(instance));
        return {};
    };
    createOrvan({ page, instantiateWasm }).then((module) => {
        M = module;
        program = entryPoints(module, keep);
        program.load();
        window1.inert = false;
        value.focus();
        document.documentElement.dataset.ready = "";
        performance.mark("orvan-ready");
    });
})();
