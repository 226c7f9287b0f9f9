/* The floor for any X11 program: one 500 x 442 window titled "bare-xlib", drawing one line of
 * text in the server's core font on every Expose. */

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <string.h>

int main(void)
{
    Display *display = XOpenDisplay(NULL);
    if (!display)
        return 1;
    const int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 500, 442, 0,
        BlackPixel(display, screen), WhitePixel(display, screen));
    XStoreName(display, window, "bare-xlib");
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, window, &deleteWindow, 1);
    XSelectInput(display, window, ExposureMask | StructureNotifyMask);
    XMapWindow(display, window);
    GC gc = XCreateGC(display, window, 0, NULL);
    XSetForeground(display, gc, BlackPixel(display, screen));
    const char *text = "bare-xlib";
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == Expose && event.xexpose.count == 0)
            XDrawString(display, window, gc, 10, 20, text, (int)strlen(text));
        else if (event.type == ClientMessage && (Atom)event.xclient.data.l[0] == deleteWindow)
            break;
    }
    XFreeGC(display, gc);
    XCloseDisplay(display);
    return 0;
}
