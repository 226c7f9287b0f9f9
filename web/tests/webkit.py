"""WebKitGTK's MiniBrowser with a window, driven over WebDriver by WebKitWebDriver and Debian's
python3-selenium, for the page's behaviour test.

selenium 4.8 has no service class of its own for WebKitGTK's driver; its WebKitGTK class, given
the driver's path and the MiniBrowser in automation mode, starts both, and quit() ends them.
Real input events go through WebDriver's actions, as its key values (bidi.WebDriver).
"""
from selenium import webdriver

from bidi import WebDriver

MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"


class WebKit(WebDriver):
    # The browser's window fills the screen (the window manager's way), its toolbar above the page.
    origin = "[screenX + outerWidth - innerWidth, screenY + outerHeight - innerHeight]"

    def __init__(self, url, binary=MINIBROWSER):
        options = webdriver.WebKitGTKOptions()
        options.binary_location = binary
        options.add_argument("--automation")
        self.driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options)
        self.open(url)

    def close(self):
        self.driver.quit()

    def evaluate(self, script):
        """WebDriver waits for a promise that the script returns."""
        return self.driver.execute_script("return " + script)

    def open(self, url):
        self.driver.get(url)

    def actions(self, source, actions):
        self.driver.execute("actions", {"actions": [{**source, "actions": actions}]})

    def click(self, x, y, count=1, button=0):
        if button:  # WebKitWebDriver releases a right button as the left one, which clicks
            return self.right_click(x, y)
        super().click(x, y, count, button)
