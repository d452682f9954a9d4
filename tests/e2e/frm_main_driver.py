"""Drives the main window from the outside, through the pointer and the keyboard.

Places come from the window description in twips (15 a pixel at 96 dpi, the display's
resolution here), relative to the window's client area.
"""

import os

import x_session

TWIPS_PER_PIXEL = 15
CLIENT = (5040, 2160)
FRAME = (360, 1200)
LABELS = {  # left, top, width, height inside the frame
    "restart": (1305, 480, 1725, 195),
    "shutdown": (1185, 240, 1965, 195),
}
UPTIME = (360, 720, 4215, 375)
BACKGROUND = (120, 900)  # the window's bare background, left of the text box
FRAME_SURFACE = (480, 1777)  # inside the frame, left of both labels

# Grey levels (0 black .. 1 white): button text is dark, the highlight is light.
DARK = 0.35
LIGHT = 0.6


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

    def label_rect(self, label):
        """The middle of the label's text: wide of the edges, whatever its font's width."""
        left, top, width, height = LABELS[label]
        x, y = self.point(FRAME[0] + left + width / 4, FRAME[1] + top + height / 4)
        return (x, y, px(width / 2), px(height / 2))

    def label_centre(self, label):
        left, top, width, height = LABELS[label]
        return self.point(FRAME[0] + left + width / 2, FRAME[1] + top + height / 2)

    def uptime_rect(self):
        left, top, width, height = UPTIME
        x, y = self.point(left, top)
        return (x + 2, y + 2, px(width) - 4, px(height) - 4)  # inside the border

    def capture(self, name):
        return self.display.capture(self.window, os.path.join(self.shots_dir, name + ".png"))

    def alive(self):
        return self.program.poll() is None and self.display.windows("Tolvane")

    def wait_for_live_uptime(self):
        """Waits until the text box shows text, and that text changes by itself."""
        rect = self.uptime_rect()
        first = x_session.wait_until(
            lambda: self._uptime_shown(rect), "the uptime text", process=self.program)
        x_session.wait_until(
            lambda: self._uptime_shown(rect) not in (None, first), "the uptime moving on",
            process=self.program)

    def _uptime_shown(self, rect):
        shot = self.capture("uptime")
        if x_session.region_darkest(shot, rect) > DARK:
            return None
        return x_session.region_signature(shot, rect)

    def label_darkest(self, label):
        return x_session.region_darkest(self.capture("label"), self.label_rect(label))

    def wait_for_label(self, label, lit):
        """Waits until label is drawn in the highlight colour (lit) or in button text."""
        if lit:
            condition = lambda: self.label_darkest(label) > LIGHT  # noqa: E731
        else:
            condition = lambda: self.label_darkest(label) < DARK  # noqa: E731
        x_session.wait_until(condition, f"{label} {'lit' if lit else 'in button text'}",
                             process=self.program)

    def rest_on_background(self):
        self.display.move_to(self.window, *self.point(*BACKGROUND))

    def hover_frame(self):
        self.display.move_to(self.window, *self.point(*FRAME_SURFACE))

    def hover(self, label):
        self.display.move_to(self.window, *self.label_centre(label))

    def double_click(self, label):
        self.hover(label)
        self.display.click(1, repeat=2)

    def focus_label(self, label):
        """Gives the keyboard to the window, clicks into the text box and Tabs to label."""
        self.display.focus(self.window)
        self.display.move_to(self.window, *self.point(UPTIME[0] + 300, UPTIME[1] + 180))
        self.display.click(1)
        self.display.key(*["Tab"] * (1 if label == "shutdown" else 2))

    def hold_on_label(self, label, key, seconds=3):
        self.focus_label(label)
        self.display.hold(key, seconds)

    def open_popup(self):
        """Right-clicks the bare background and waits for the popup menu."""
        self.rest_on_background()
        before = self.display.visible_windows()
        self.display.click(3)
        self.display.wait_for_new_window(before, "the popup menu", self.program)

    def wait_for_box(self, title):
        box = self.display.wait_for_window(title, self.program)
        self.display.focus(box)
        return box

    def answer(self, title, *keys):
        """Answers the box titled title with keys and waits until it is gone."""
        self.wait_for_box(title)
        self.display.key(*keys)
        self.display.wait_until_gone(title, self.program)
