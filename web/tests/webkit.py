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
from bidi import KEYS, MODIFIERS

MINIBROWSER = "/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser"


class WebKit:
    name = "webkit"

    def __init__(self, url, binary=MINIBROWSER):
        options = webdriver.WebKitGTKOptions()
        options.binary_location = binary
        options.add_argument("--automation")
        self.driver = webdriver.WebKitGTK(executable_path="/usr/bin/WebKitWebDriver", options=options)
        self.open(url)

    def close(self):
        self.driver.quit()

    def js(self, expression):
        """The value of a JavaScript expression in the page (promises awaited), through JSON:
        WebDriver waits for a promise that the script returns."""
        value = self.driver.execute_script(f"return Promise.resolve({expression}).then(JSON.stringify)")
        return None if value is None else json.loads(value)

    def open(self, url):
        self.driver.get(url)

    def click(self, x, y, count=1, button=0):
        if button:  # WebKitWebDriver releases a right button as the left one, which clicks
            left, top = self.js("[screenX + outerWidth - innerWidth, screenY + outerHeight - innerHeight]")
            display.right_click(left + x, top + y)
            return
        actions = ActionBuilder(self.driver)
        actions.pointer_action.move_to_location(round(x), round(y))
        for _ in range(count):
            actions.pointer_action.click()
        actions.perform()

    def press(self, key, modifiers=0, **_chromium_only):
        self.keys([(KEYS.get(key, key), modifiers)])

    def paste(self, x, y):
        """The context menu's Paste at (X, Y) in the page, chosen by its access key. The browser's
        window fills the screen (the window manager's way) with its toolbar above the page."""
        left, top = self.js("[screenX + outerWidth - innerWidth, screenY + outerHeight - innerHeight]")
        display.choose_from_context_menu(left + x, top + y, "p")

    def type(self, text):
        self.keys([(c, 0) for c in text])

    def keys(self, chords):
        actions = ActionBuilder(self.driver)
        for value, modifiers in chords:
            held = [KEYS[name] for bit, name in MODIFIERS if modifiers & bit]
            for k in held + [value]:
                actions.key_action.key_down(k)
            for k in reversed(held + [value]):
                actions.key_action.key_up(k)
        actions.perform()
