#!/usr/bin/python3
# A stand-in for the desktop's clipboard manager, for the X11 end-to-end tests, over Xlib.
#
# It owns the CLIPBOARD_MANAGER selection and prints "ready". When a program that owns CLIPBOARD
# exits, Qt asks the manager to convert SAVE_TARGETS; a real manager then copies the clipboard so
# that it outlives the program. "clipboard_manager.py keep" copies it (xclip, as UTF8_STRING),
# prints "saved: TEXT", answers the request, and then holds CLIPBOARD with the saved text in its
# own place (xclip, in the foreground, by the same process id), so that it can be pasted after
# the program has gone. "clipboard_manager.py stall" prints "stalled" on the request and never
# answers it, to hold the program in its hand-over. "clipboard_manager.py silent" takes CLIPBOARD
# instead, prints "ready" and answers no request at all, as a hung program would.
import ctypes
import os
import signal
import subprocess
import sys

SELECTION_REQUEST, SELECTION_NOTIFY = 30, 31
mode = sys.argv[1]
x = ctypes.CDLL("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x.XOpenDisplay(None))
window = x.XCreateSimpleWindow(display, x.XDefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0)
owned = x.XInternAtom(display, b"CLIPBOARD" if mode == "silent" else b"CLIPBOARD_MANAGER", 0)
x.XSetSelectionOwner(display, owned, window, 0)
if x.XGetSelectionOwner(display, owned) != window:
    sys.exit(2)
print("ready", flush=True)
# An XEvent as longs: a SelectionRequest's type, serial, send_event, display, owner, requestor,
# selection, target, property and time; a SelectionNotify's the same without the owner.
event = (ctypes.c_ulong * 24)()
while mode == "silent" or event[0] % 2**32 != SELECTION_REQUEST \
        or event[7] != x.XInternAtom(display, b"SAVE_TARGETS", 0):
    x.XNextEvent(display, event)
if mode == "stall":
    print("stalled", flush=True)
    signal.pause()
saved = subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True).stdout
print("saved:", saved.decode(), flush=True)
x.XSendEvent(display, ctypes.c_ulong(event[5]), 0, 0, (ctypes.c_ulong * 24)(SELECTION_NOTIFY, 0, 0, 0, *event[5:10]))
x.XCloseDisplay(display)
kept, write = os.pipe()
os.write(write, saved)
os.close(write)
os.dup2(kept, 0)
os.execvp("xclip", ["xclip", "-quiet", "-selection", "clipboard"])
