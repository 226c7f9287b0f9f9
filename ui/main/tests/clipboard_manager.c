/* A stand-in for the desktop's clipboard manager, for the X11 end-to-end test.
 *
 * It owns the CLIPBOARD_MANAGER selection. When a program that owns CLIPBOARD exits, Qt asks
 * the manager to convert SAVE_TARGETS; a real manager then copies the clipboard so that it
 * outlives the program. This one copies it as UTF8_STRING, prints "saved: TEXT", answers the
 * request and exits. It prints "ready" once it owns the selection.
 *
 * "clipboard_manager keep" then takes CLIPBOARD itself and serves the saved text as a real
 * manager does, until it is killed, so that it can be pasted after the program has gone.
 * "clipboard_manager stall" prints "stalled" on the request and never answers it, to hold the
 * program in its hand-over. "clipboard_manager silent" takes CLIPBOARD instead, prints "silent"
 * and answers no request at all, as a hung program would. */

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

/* Answers requests for CLIPBOARD with TEXT until the process is killed. */
static void serve(Display *display, Window window, Atom clipboard, Atom utf8, const char *text)
{
    Atom targets = XInternAtom(display, "TARGETS", False);
    XSetSelectionOwner(display, clipboard, window, CurrentTime);
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != SelectionRequest)
            continue;
        XSelectionRequestEvent request = event.xselectionrequest;
        Atom property = request.property == None ? request.target : request.property;
        if (request.target == targets) {
            Atom offered[] = { targets, utf8, XA_STRING };
            XChangeProperty(display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                (unsigned char *)offered, 3);
        } else if (request.target == utf8 || request.target == XA_STRING) {
            XChangeProperty(display, request.requestor, property, request.target, 8,
                PropModeReplace, (const unsigned char *)text, (int)strlen(text));
        } else {
            property = None;
        }
        XEvent reply;
        memset(&reply, 0, sizeof reply);
        reply.xselection.type = SelectionNotify;
        reply.xselection.requestor = request.requestor;
        reply.xselection.selection = request.selection;
        reply.xselection.target = request.target;
        reply.xselection.property = property;
        reply.xselection.time = request.time;
        XSendEvent(display, request.requestor, False, 0, &reply);
        XFlush(display);
    }
}

int main(int argc, char **argv)
{
    const char *mode = argc > 1 ? argv[1] : "";
    Display *display = XOpenDisplay(NULL);
    if (!display)
        return 2;
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    Atom manager = XInternAtom(display, "CLIPBOARD_MANAGER", False);
    Atom saveTargets = XInternAtom(display, "SAVE_TARGETS", False);
    Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom property = XInternAtom(display, "ORVAN_SAVED", False);

    if (strcmp(mode, "silent") == 0) {
        XSetSelectionOwner(display, clipboard, window, CurrentTime);
        if (XGetSelectionOwner(display, clipboard) != window)
            return 2;
        printf("silent\n");
        fflush(stdout);
        for (;;)
            pause();
    }
    XSetSelectionOwner(display, manager, window, CurrentTime);
    if (XGetSelectionOwner(display, manager) != window)
        return 2;
    printf("ready\n");
    fflush(stdout);

    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type != SelectionRequest || event.xselectionrequest.target != saveTargets)
            continue;
        XSelectionRequestEvent request = event.xselectionrequest;
        if (strcmp(mode, "stall") == 0) {
            printf("stalled\n");
            fflush(stdout);
            for (;;)
                pause();
        }

        XConvertSelection(display, clipboard, utf8, property, window, CurrentTime);
        XEvent reply;
        do
            XNextEvent(display, &reply);
        while (reply.type != SelectionNotify);
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char *data = NULL;
        char saved[1025] = "";
        if (reply.xselection.property != None
            && XGetWindowProperty(display, window, property, 0, 256, True, AnyPropertyType, &type,
                   &format, &count, &after, &data)
                == Success
            && data) {
            snprintf(saved, sizeof saved, "%.*s", (int)count, (const char *)data);
            printf("saved: %s\n", saved);
            XFree(data);
        }
        fflush(stdout);

        XEvent done;
        memset(&done, 0, sizeof done);
        done.xselection.type = SelectionNotify;
        done.xselection.requestor = request.requestor;
        done.xselection.selection = request.selection;
        done.xselection.target = request.target;
        done.xselection.property = request.property;
        done.xselection.time = request.time;
        XSendEvent(display, request.requestor, False, 0, &done);
        if (strcmp(mode, "keep") == 0)
            serve(display, window, clipboard, utf8, saved);
        XCloseDisplay(display);
        return 0;
    }
}
