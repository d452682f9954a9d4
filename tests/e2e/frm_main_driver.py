"""Drives the main window from the outside, with the pointer and the keyboard, at the places
of window_description.json, which the build writes from the window description itself (twips
relative to the client area; 15 twips a pixel on the tests' 96 dpi display)."""

import json
import re
import time

import x_session

LABELS = {"restart": "lblRestart", "shutdown": "lblShutDown"}
DARK = 0.35  # grey level (0 black .. 1 white) below which something is drawn


def px(twips):
    return round(twips / 15)


class MainWindow:
    def __init__(self, display, program, description):
        with open(description, encoding="utf-8") as text:
            self.description = json.load(text)
        self.display, self.program = display, program
        self.window = display.wait_for_window(self.description["caption"], program)
        # Where the client area starts inside the X window: at its corner on a bare X server,
        # but Wine draws the caption and border itself when nothing manages them.
        outer = dict(line.split("=", 1) for line in
                     display.xdotool("getwindowgeometry", "--shell", str(self.window)).split())
        width, height = map(px, self.description["client"])
        border = (int(outer["WIDTH"]) - width) // 2
        self.client = (border, int(outer["HEIGHT"]) - height - border)

    def rect(self, control):
        """(x, y, width, height) of the control in pixels, within the X window."""
        left, top, width, height = self.description["controls"][control]
        return (self.client[0] + px(left), self.client[1] + px(top), px(width), px(height))

    def point_at(self, control, dx=0.5, dy=0.5):
        x, y, width, height = self.rect(control)
        for step in (-6, -3, 0):  # a few steps, as a hand moves
            self.display.xdotool("mousemove", "--window", str(self.window),
                                 str(x + round(width * dx) + step), str(y + round(height * dy)))

    def wait_for_live_uptime(self):
        """Waits until the text box shows text, and that text changes by itself."""
        x, y, width, height = self.rect("txtUptime")
        inside = (x + 2, y + 2, width - 4, height - 4)

        def shown():
            darkest, signature = self.display.region(self.window, inside)
            return signature if darkest < DARK else None

        first = x_session.wait_until(shown, "the uptime text", process=self.program)
        x_session.wait_until(lambda: shown() not in (None, first), "the uptime moving on",
                             process=self.program)

    def double_click(self, label):
        self.point_at(LABELS[label])
        self.display.click(1, repeat=2)

    def tab_to(self, control):
        """Clicks into the text box and Tabs on to control: "txtUptime" or a label's key."""
        self.focus(self.window)
        self.point_at("txtUptime")
        self.display.click(1)
        for _ in range(["txtUptime", "shutdown", "restart"].index(control)):
            self.display.key("Tab")

    def hold(self, key, seconds=3):
        """key held down, the X server repeating it as it does a held key: first made sure
        of, else this tests nothing."""
        keyboard = self.display.run("xset", "q").stdout
        delay = re.search(r"auto repeat:\s+on\b.*auto repeat delay:\s+(\d+)", keyboard, re.S)
        if not delay or int(delay[1]) >= seconds * 500:
            raise AssertionError(f"the X server would not repeat a held key:\n{keyboard}")
        self.display.xdotool("keydown", key)
        try:
            time.sleep(seconds)
        finally:
            self.display.xdotool("keyup", key)

    def about(self):
        """Right-clicks the bare background left of the text box, picks the popup's one item
        by its mnemonic and closes the About box."""
        self.point_at("txtUptime", dx=-0.05)
        before = set(self.display.windows())
        self.display.click(3)
        x_session.wait_until(lambda: set(self.display.windows()) - before, "the popup menu",
                             process=self.program)
        self.display.key("a")
        self.answer("About Tolvane", "Return")

    def focus(self, window):
        # Nothing manages windows here: give the keyboard ourselves rather than race the
        # program giving it.
        self.display.xdotool("windowfocus", str(window))

    def answer(self, title, *keys):
        """Answers the box titled title with keys and waits until it is gone."""
        self.focus(self.display.wait_for_window(title, self.program))
        self.display.key(*keys)
        x_session.wait_until(lambda: not self.display.windows(title), f'"{title}" answered',
                             process=self.program)
