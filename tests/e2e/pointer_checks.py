"""Checks of the labels' hover colours, the same on both programs."""

import frm_main_driver

LABEL_PAIRS = (("restart", "shutdown"), ("shutdown", "restart"))


def check_hover(test, window):
    """A label lights alone under the pointer and goes back when the pointer is on the frame."""
    window.rest_on_background()
    for label in ("restart", "shutdown"):
        test.assertLess(window.label_darkest(label), frm_main_driver.DARK, label)
    for label, other in LABEL_PAIRS:
        with test.subTest(label):
            window.hover(label)
            window.wait_for_label(label, lit=True)
            test.assertLess(window.label_darkest(other), frm_main_driver.DARK, other)
            window.hover_frame()
            window.wait_for_label(label, lit=False)
