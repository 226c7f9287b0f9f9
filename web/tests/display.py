"""A private X server for the browsers that run with a window: Xvfb on a free display, a small
window manager so that the browser's window has the focus, and the real X clipboard, read and
written with xclip as another program would. Everything started here is stopped by its process id.
"""
import os
import shutil
import subprocess
import tempfile
import time


class Display:
    def __init__(self):
        for tool in ("Xvfb", "matchbox-window-manager", "xclip"):
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


def clipboard():
    """The X clipboard's text, as another program reads it."""
    return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                          timeout=20).stdout.decode("utf-8")


def set_clipboard(text):
    """Another program takes the X clipboard with TEXT. xclip stays behind, holding it, until
    someone else takes it; its output goes nowhere, so that nothing waits for it."""
    subprocess.run(["xclip", "-i", "-selection", "clipboard"], input=text.encode("utf-8"),
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True, timeout=20)
