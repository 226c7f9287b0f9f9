"""WebKitGTK's MiniBrowser with a window, driven over WebDriver by WebKitWebDriver and Debian's
python3-selenium, for the page's behaviour test.

selenium 4.8 has no service class of its own for WebKitGTK's driver; its WebKitGTK class, given
the driver's path and the MiniBrowser in automation mode, starts both, and quit() ends them.
Real input events go through WebDriver's actions, as its key values.
"""
import json

from selenium import webdriver
from selenium.webdriver.common.actions.action_builder import ActionBuilder

import display
from bidi import chord

MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"


class WebKit(display.Browser):
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

    def js(self, expression):
        """Through JSON: WebDriver waits for a promise that the script returns."""
        value = self.driver.execute_script(f"return Promise.resolve({expression}).then(JSON.stringify)")
        return None if value is None else json.loads(value)

    def open(self, url):
        self.driver.get(url)

    def click(self, x, y, count=1, button=0):
        if button:  # WebKitWebDriver releases a right button as the left one, which clicks
            return self.right_click(x, y)
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(round(x), round(y))
        for _ in range(count):
            actions.pointer_action.click()
        actions.perform()

    def press(self, key, modifiers=0):
        self.type([key], modifiers)

    def type(self, keys, modifiers=0):
        actions = ActionBuilder(self.driver)
        for a in (a for k in keys for a in chord(k, modifiers)):
            (actions.key_action.key_down if a["type"] == "keyDown" else actions.key_action.key_up)(a["value"])
        actions.perform()
