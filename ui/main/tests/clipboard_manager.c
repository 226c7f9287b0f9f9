/* A stand-in for the desktop's clipboard manager, for the X11 end-to-end test.
 *
 * It owns the CLIPBOARD_MANAGER selection. When a program that owns CLIPBOARD exits, Qt asks
 * the manager to convert SAVE_TARGETS; a real manager then copies the clipboard so that it
 * outlives the program. This one copies it as UTF8_STRING, prints "saved: TEXT", answers the
 * request and exits. It prints "ready" once it owns the selection. */

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <string.h>

int main(void)
{
    Display *display = XOpenDisplay(NULL);
    if (!display)
        return 2;
    Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    Atom manager = XInternAtom(display, "CLIPBOARD_MANAGER", False);
    Atom saveTargets = XInternAtom(display, "SAVE_TARGETS", False);
    Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom property = XInternAtom(display, "ORVAN_SAVED", False);

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

        XConvertSelection(display, clipboard, utf8, property, window, CurrentTime);
        XEvent reply;
        do
            XNextEvent(display, &reply);
        while (reply.type != SelectionNotify);
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char *data = NULL;
        if (reply.xselection.property != None
            && XGetWindowProperty(display, window, property, 0, 1024, True, AnyPropertyType, &type,
                   &format, &count, &after, &data)
                == Success
            && data) {
            printf("saved: %.*s\n", (int)count, (const char *)data);
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
        XCloseDisplay(display);
        return 0;
    }
}
