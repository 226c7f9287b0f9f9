/* Starts a program and waits, without polling, for its window to appear on the X server.
 *
 *   xstartwait [-s SETTLE_MS] [-T TIMEOUT_S] TITLE_ERE COMMAND [ARGS...]
 *
 * It listens for the X server's MapNotify and PropertyNotify events on the top-level windows
 * before it forks, so the server wakes it when a window whose WM_NAME or _NET_WM_NAME matches
 * the extended regular expression (case-insensitive) is mapped and viewable. At that event it
 * reads the clocks; SETTLE_MS later (300) it reads the program's memory, then ends the program
 * by its process id and waits until the server has destroyed the window, so that the next run
 * starts on an empty screen. It prints one line:
 *
 *   WALL_US CPU_US RSS_KB ANON_KB
 *
 * WALL_US runs from just before fork() to the event (CLOCK_MONOTONIC). CPU_US is the time the
 * program and its descendants have spent on a processor by then, all threads included: the
 * scheduler's sum_exec_runtime, the first field of /proc/PID/schedstat, read through the
 * process's CPU clock, which brings a running thread's count up to date where schedstat lags
 * by up to a timer tick. RSS_KB and ANON_KB are VmRSS and RssAnon of /proc/PID/status.
 *
 * Exit status: 0 measured; 1 the program exited or timed out before its window appeared;
 * 2 usage or set-up error; 3 a matching window was already there. */

#define _GNU_SOURCE
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <errno.h>
#include <poll.h>
#include <regex.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static Display *display;
static regex_t title;
static Atom netWmName, utf8String;

static long long nowUs(void)
{
    struct timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1000000LL + ts.tv_nsec / 1000;
}

static void sleepMs(long ms)
{
    struct timespec ts = { ms / 1000, ms % 1000 * 1000000L };
    while (nanosleep(&ts, &ts) < 0 && errno == EINTR) { }
}

/* Windows may vanish between an event and the queries about it. */
static int ignoreErrors(Display *d, XErrorEvent *e)
{
    (void)d;
    (void)e;
    return 0;
}

static int nameMatches(Window w)
{
    int hit = 0;
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = NULL;
    if (XGetWindowProperty(display, w, netWmName, 0, 4096, False, utf8String, &type, &format,
            &count, &after, &data)
            == Success
        && data) {
        hit = type == utf8String && regexec(&title, (char *)data, 0, NULL, 0) == 0;
        XFree(data);
    }
    XTextProperty name;
    if (!hit && XGetWMName(display, w, &name) && name.value) {
        char **list = NULL;
        int n = 0;
        if (Xutf8TextPropertyToTextList(display, &name, &list, &n) >= Success && list) {
            for (int i = 0; i < n && !hit; i++)
                hit = regexec(&title, list[i], 0, NULL, 0) == 0;
            XFreeStringList(list);
        }
        XFree(name.value);
    }
    return hit;
}

/* The window, or one of its descendants down to depth (a window manager's frame holds the
 * program's window), if it is viewable and its name matches; else 0. */
static Window matchingWindow(Window w, int depth)
{
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, w, &attributes) || attributes.map_state != IsViewable)
        return 0;
    if (nameMatches(w))
        return w;
    Window found = 0, root, parent, *children = NULL;
    unsigned int n = 0;
    if (depth > 0 && XQueryTree(display, w, &root, &parent, &children, &n)) {
        for (unsigned int i = 0; i < n && !found; i++)
            found = matchingWindow(children[i], depth - 1);
    }
    if (children)
        XFree(children);
    return found;
}

static void watch(Window w)
{
    XSelectInput(display, w, PropertyChangeMask | SubstructureNotifyMask | StructureNotifyMask);
}

/* Nanoseconds on a processor of every thread, live or ended, of one process; 0 if it is gone. */
static long long processCpuNs(pid_t pid)
{
    clockid_t clock;
    struct timespec ts;
    if (clock_getcpuclockid(pid, &clock) != 0 || clock_gettime(clock, &ts) != 0)
        return 0;
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

static pid_t parentOf(pid_t pid)
{
    char path[64], buffer[512];
    snprintf(path, sizeof path, "/proc/%d/stat", (int)pid);
    FILE *file = fopen(path, "r");
    if (!file)
        return 0;
    size_t n = fread(buffer, 1, sizeof buffer - 1, file);
    fclose(file);
    buffer[n] = '\0';
    /* pid (comm) state ppid: the name may hold spaces and parentheses: read after the last ')' */
    const char *end = strrchr(buffer, ')');
    int parent = 0;
    return end && sscanf(end + 1, " %*c %d", &parent) == 1 ? parent : 0;
}

static int inTree(const pid_t *tree, int size, pid_t pid)
{
    for (int i = 0; i < size; i++)
        if (tree[i] == pid)
            return 1;
    return 0;
}

/* The CPU time of the program's live descendants. */
static long long descendantsCpuNs(pid_t pid)
{
    long long total = 0;
    pid_t tree[256] = { pid };
    int size = 1;
    DIR *proc = opendir("/proc");
    if (!proc)
        return total;
    /* A child has a larger pid than its parent unless pids wrapped, so one pass in ascending
     * order would do; two passes cover the wrap. */
    for (int pass = 0; pass < 2; pass++) {
        struct dirent *entry;
        rewinddir(proc);
        while ((entry = readdir(proc)) && size < 256) {
            pid_t candidate = (pid_t)atoi(entry->d_name);
            if (candidate > 0 && !inTree(tree, size, candidate)
                && inTree(tree, size, parentOf(candidate))) {
                tree[size++] = candidate;
                total += processCpuNs(candidate);
            }
        }
    }
    closedir(proc);
    return total;
}

static void readMemory(pid_t pid, long *rssKb, long *anonKb)
{
    char path[64], line[256];
    snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
    FILE *file = fopen(path, "r");
    *rssKb = *anonKb = -1;
    if (!file)
        return;
    while (fgets(line, sizeof line, file)) {
        sscanf(line, "VmRSS: %ld", rssKb);
        sscanf(line, "RssAnon: %ld", anonKb);
    }
    fclose(file);
}

/* Ends the program by its pid: SIGTERM, SIGKILL after 3 s; returns once it is reaped. */
static void stop(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; i++) {
        if (waitpid(pid, NULL, WNOHANG) == pid)
            return;
        sleepMs(10);
    }
    kill(pid, SIGKILL);
    while (waitpid(pid, NULL, 0) < 0 && errno == EINTR) { }
}

/* Waits for the next X event, at most timeoutMs; returns 0 on timeout. */
static int nextEvent(XEvent *event, int timeoutMs)
{
    while (!XPending(display)) {
        struct pollfd fd = { ConnectionNumber(display), POLLIN, 0 };
        if (poll(&fd, 1, timeoutMs) == 0)
            return 0;
    }
    XNextEvent(display, event);
    return 1;
}

int main(int argc, char **argv)
{
    long settleMs = 300;
    double timeoutS = 30;
    int option;
    while ((option = getopt(argc, argv, "+s:T:")) != -1) {
        if (option == 's')
            settleMs = atol(optarg);
        else if (option == 'T')
            timeoutS = atof(optarg);
        else
            return 2;
    }
    if (argc - optind < 2) {
        fprintf(stderr, "usage: %s [-s SETTLE_MS] [-T TIMEOUT_S] TITLE_ERE COMMAND [ARGS...]\n",
            argv[0]);
        return 2;
    }
    if (regcomp(&title, argv[optind], REG_EXTENDED | REG_ICASE | REG_NOSUB) != 0) {
        fprintf(stderr, "xstartwait: bad expression: %s\n", argv[optind]);
        return 2;
    }
    char **command = &argv[optind + 1];
    display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "xstartwait: cannot open display\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    utf8String = XInternAtom(display, "UTF8_STRING", False);
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    Window unused, *children = NULL;
    unsigned int n = 0;
    if (XQueryTree(display, root, &unused, &unused, &children, &n)) {
        for (unsigned int i = 0; i < n; i++)
            watch(children[i]);
    }
    if (children)
        XFree(children);
    XSync(display, False);
    Window found = matchingWindow(root, 2);
    if (found && found != root) {
        fprintf(stderr, "xstartwait: a matching window 0x%lx is already there\n", found);
        return 3;
    }
    found = 0;

    fflush(stdout);
    const long long start = nowUs();
    const pid_t pid = fork();
    if (pid < 0) {
        perror("fork");
        return 2;
    }
    if (pid == 0) {
        close(ConnectionNumber(display));
        execvp(command[0], command);
        perror(command[0]);
        _exit(127);
    }

    long long wallUs = 0, cpuNs = 0;
    int status;
    while (!found) {
        XEvent event;
        /* The timeout serves only to notice a program that exits or never shows a window. */
        if (!nextEvent(&event, 20)) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                fprintf(stderr, "xstartwait: %s exited before showing its window\n", command[0]);
                return 1;
            }
            if (nowUs() - start > timeoutS * 1e6) {
                fprintf(stderr, "xstartwait: no window from %s in %g s\n", command[0], timeoutS);
                stop(pid);
                return 1;
            }
            continue;
        }
        const long long seen = nowUs();
        const long long cpu = processCpuNs(pid);
        switch (event.type) {
        case CreateNotify:
            watch(event.xcreatewindow.window);
            break;
        case MapNotify:
            found = matchingWindow(event.xmap.window, 2);
            break;
        case ReparentNotify:
            found = matchingWindow(event.xreparent.window, 2);
            break;
        case PropertyNotify:
            if (event.xproperty.atom == XA_WM_NAME || event.xproperty.atom == netWmName)
                found = matchingWindow(event.xproperty.window, 0);
            break;
        }
        /* The clocks as of the event, not after the round trips that checked it. */
        wallUs = seen - start;
        cpuNs = cpu;
    }
    cpuNs += descendantsCpuNs(pid);

    sleepMs(settleMs);
    long rssKb, anonKb;
    readMemory(pid, &rssKb, &anonKb);
    stop(pid);
    /* The server destroys a client's windows once it notices the connection closed. */
    for (;;) {
        XEvent event;
        if (!nextEvent(&event, 5000)) {
            fprintf(stderr, "xstartwait: window 0x%lx still there 5 s after the program ended\n",
                found);
            break;
        }
        if (event.type == DestroyNotify && event.xdestroywindow.window == found)
            break;
    }
    printf("%lld %lld %ld %ld\n", wallUs, cpuNs / 1000, rssKb, anonKb);
    return 0;
}
