"""Drives the main window from the outside, through the pointer and the keyboard.

Places come from the window description itself (src/ui/window_description.h), in twips
(15 a pixel at 96 dpi, the display's resolution here), relative to the window's client area.
"""

import os
import re

import x_session

TWIPS_PER_PIXEL = 15
DESCRIPTION = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "src", "ui",
                           "window_description.h")


def read_description(path=DESCRIPTION):
    """The client area's size and each control's (left, top, width, height), by name."""
    text = open(path, encoding="utf-8").read()
    size = tuple(int(re.search(rf"kClient{side}Twips = (\d+);", text).group(1))
                 for side in ("Width", "Height"))
    rects = {name: tuple(map(int, numbers)) for name, *numbers in re.findall(
        r'"(\w+)",\s*ControlKind::\w+,\s*Control::\w+,\s*\{(\d+), (\d+), (\d+), (\d+)\}', text)}
    return size, rects


CLIENT, CONTROLS = read_description()
FRAME = CONTROLS["fraTodo"][:2]
LABELS = {"restart": CONTROLS["lblRestart"], "shutdown": CONTROLS["lblShutDown"]}
UPTIME = CONTROLS["txtUptime"]
HEADING = CONTROLS["lblTip"]
BACKGROUND = (UPTIME[0] // 3, UPTIME[1] + UPTIME[3] // 2)  # left of the text box
DARK = 0.35  # grey level (0 black .. 1 white) below which text is drawn


def px(twips):
    return round(twips / TWIPS_PER_PIXEL)


class MainWindow:
    def __init__(self, display, program, shots_dir):
        self.display, self.program, self.shots_dir = display, program, shots_dir
        self.window = display.wait_for_window("Tolvane", program)
        # Where the client area starts inside the X window: nowhere else on a bare X
        # server, but Wine draws the caption and border itself when nothing manages them.
        _, _, width, height = display.geometry(self.window)
        border = (width - px(CLIENT[0])) // 2
        self.client = (border, height - px(CLIENT[1]) - border)

    def point(self, x_twips, y_twips):
        return (self.client[0] + px(x_twips), self.client[1] + px(y_twips))

    def capture(self, name):
        return self.display.capture(self.window, os.path.join(self.shots_dir, name + ".png"))

    def alive(self):
        return self.program.poll() is None and self.display.windows("Tolvane")

    def wait_for_live_uptime(self):
        """Waits until the text box shows text, and that text changes by itself."""
        left, top, width, height = UPTIME
        x, y = self.point(left, top)
        rect = (x + 2, y + 2, px(width) - 4, px(height) - 4)  # inside the border

        def shown():
            darkest, signature = x_session.region(self.capture("uptime"), rect)
            return signature if darkest < DARK else None

        first = x_session.wait_until(shown, "the uptime text", process=self.program)
        x_session.wait_until(lambda: shown() not in (None, first), "the uptime moving on",
                             process=self.program)

    def double_click(self, label):
        left, top, width, height = LABELS[label]
        self.display.move_to(self.window, *self.point(FRAME[0] + left + width / 2,
                                                      FRAME[1] + top + height / 2))
        self.display.click(1, repeat=2)

    def hold_on_label(self, label, key, seconds=3):
        """Gives the keyboard to the window, clicks into the text box, Tabs to label and holds
        key down there."""
        self.display.focus(self.window)
        self.display.move_to(self.window, *self.point(UPTIME[0] + 300, UPTIME[1] + 180))
        self.display.click(1)
        self.display.key(*["Tab"] * (1 if label == "shutdown" else 2))
        self.display.hold(key, seconds)

    def about(self):
        """Right-clicks the bare background, picks the popup's one item by its mnemonic and
        closes the About box."""
        self.display.move_to(self.window, *self.point(*BACKGROUND))
        before = self.display.visible_windows()
        self.display.click(3)
        x_session.wait_until(lambda: self.display.visible_windows() - before,
                             "the popup menu (a window without a title)", process=self.program)
        self.display.key("a")
        self.answer("About Tolvane", "Return")

    def wait_for_box(self, title):
        box = self.display.wait_for_window(title, self.program)
        self.display.focus(box)
        return box

    def answer(self, title, *keys):
        """Answers the box titled title with keys and waits until it is gone."""
        self.wait_for_box(title)
        self.display.key(*keys)
        self.display.wait_until_gone(title, self.program)
