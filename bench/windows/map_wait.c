/* Starts a command and reports, in milliseconds, how long until a top-level X window with the
 * given name is viewable; then ends the command. Polls the window tree every millisecond, which
 * is finer than xdotool's half-second --sync.
 *
 *   map_wait NAME COMMAND [ARGS...]   prints "<ms>"; exits 1 after 30 s without the window
 */
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static double now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

/* Wine's top-level windows are children of the root, or one level further down. */
static int shown(Display *display, Window window, const char *name, int depth)
{
    char *title = NULL;
    XWindowAttributes attributes;
    int found = 0;
    if (XFetchName(display, window, &title) && title) {
        found = strcmp(title, name) == 0 && XGetWindowAttributes(display, window, &attributes)
            && attributes.map_state == IsViewable;
        XFree(title);
    }
    if (!found && depth < 2) {
        Window root, parent, *children = NULL;
        unsigned int count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count)) {
            for (unsigned int i = 0; i < count && !found; ++i)
                found = shown(display, children[i], name, depth + 1);
            if (children)
                XFree(children);
        }
    }
    return found;
}

int main(int argc, char *argv[])
{
    if (argc < 3) {
        fprintf(stderr, "usage: %s NAME COMMAND [ARGS...]\n", argv[0]);
        return 2;
    }
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "no X display\n");
        return 2;
    }
    const double start = now_ms();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[2], argv + 2);
        _exit(127);
    }
    int status = 1;
    while (now_ms() - start < 30000) {
        if (shown(display, DefaultRootWindow(display), argv[1], 0)) {
            printf("%.1f\n", now_ms() - start);
            status = 0;
            break;
        }
        usleep(1000);
    }
    kill(child, SIGTERM);
    waitpid(child, NULL, 0);
    XCloseDisplay(display);
    return status;
}
