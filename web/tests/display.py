"""A private X server for the browsers that run with a window: Xvfb on a free display, a small
window manager so that the browser's window has the focus, the real X clipboard, read and
written with xclip as another program would, and the browser's own context menu, used with the
X server's mouse and keyboard (xdotool). Everything started here is stopped by its process id.
"""
import os
import shutil
import subprocess
import tempfile
import time


class Display:
    def __init__(self):
        for tool in ("Xvfb", "matchbox-window-manager", "xclip", "xdotool", "xwininfo"):
            if not shutil.which(tool):
                raise RuntimeError(f"{tool} is missing: scripts/deps.sh test")
        self.work = tempfile.mkdtemp(prefix="orvan-display-")
        read, write = os.pipe()
        self.server = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-noreset", "-screen", "0", "1024x768x24"],
            pass_fds=(write,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as f:
            number = f.readline().strip()
        if not number:
            raise RuntimeError("Xvfb did not start")
        os.environ["DISPLAY"] = ":" + number
        os.environ["XDG_RUNTIME_DIR"] = os.path.join(self.work, "run")
        os.mkdir(os.environ["XDG_RUNTIME_DIR"], 0o700)
        self.manager = subprocess.Popen(["matchbox-window-manager", "-use_titlebar", "no"],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(0.3)

    def close(self):
        # The xclip processes that still hold the clipboard end with the server's connection.
        for process in (self.manager, self.server):
            process.terminate()
            process.wait()
        shutil.rmtree(self.work, ignore_errors=True)


def stop(process, folder):
    """Ends a browser by its process id, asked first and killed after 10 s, and removes its
    profile FOLDER."""
    process.terminate()
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
    shutil.rmtree(folder, ignore_errors=True)


def clipboard():
    """The X clipboard's text, as another program reads it."""
    return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                          timeout=20).stdout.decode("utf-8")


def popups():
    """The menus (override-redirect windows) on the screen, by their window ids."""
    listing = subprocess.run(["xwininfo", "-root", "-children"], capture_output=True, text=True).stdout
    shown = set()
    for window in (line.split()[0] for line in listing.splitlines() if line.strip().startswith("0x")):
        info = subprocess.run(["xwininfo", "-id", window], capture_output=True, text=True).stdout
        if "IsViewable" in info and "Override Redirect State: yes" in info:
            shown.add(window)
    return shown


def right_click(x, y):
    """A right click at (X, Y) on the screen, as the X server's mouse gives it."""
    subprocess.run(["xdotool", "mousemove", str(round(x)), str(round(y)), "click", "3"], check=True)


def choose_from_context_menu(x, y, access_key):
    """A right click at (X, Y) on the screen, then the context menu's entry by its access key,
    once the menu is on the screen; returns when it has gone."""
    before = popups()
    right_click(x, y)
    for shown in (True, False):
        end = time.monotonic() + 10
        while bool(popups() - before) != shown:
            if time.monotonic() > end:
                raise TimeoutError("the context menu did not " + ("open" if shown else "close"))
            time.sleep(0.02)
        if shown:
            subprocess.run(["xdotool", "key", access_key], check=True)


def set_clipboard(text):
    """Another program takes the X clipboard with TEXT. xclip stays behind, holding it, until
    someone else takes it; its output goes nowhere, so that nothing waits for it."""
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text.encode("utf-8"),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=20)
