"""Tolvane.exe end to end under wine64: a private X display driven with xdotool.

    wine_program_test.py TOLVANE.EXE PREFIX WINE-RUN

PREFIX is a throwaway prefix of this test's own: confirming a request makes Wine end that
prefix's session (never the machine's), so it must not be the one other tests share.
"""

import os
import shutil
import sys
import tempfile
import unittest

import frm_main_driver
import pointer_checks
import wine_program
import x_session

PROGRAM = PREFIX = WINE_RUN = None
SESSION_END_TIMEOUT = 30  # seconds


class WineProgramTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tolvane-e2e-wine-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)
        self.display = x_session.Display(os.path.join(self.dir, "xvfb.log"))
        self.addCleanup(self.display.close)
        self.wine = wine_program.WineSession(self.display, PREFIX, WINE_RUN, self.dir)
        self.addCleanup(self.wine.close)  # before the display goes
        self.program = self.wine.start(PROGRAM, "tolvane.log")
        self.window = frm_main_driver.MainWindow(self.display, self.program, self.dir)

    def test_a_live_uptime_and_a_label_lit_until_the_pointer_crosses_the_frame(self):
        self.window.wait_for_live_uptime()
        pointer_checks.check_hover(self, self.window)

    # Yes ends the whole Wine session, so each label gets a session of its own.
    def test_restart_no_then_about_then_yes_ends_the_session(self):
        self.no_then_about_then_yes("restart")

    def test_shut_down_no_then_about_then_yes_ends_the_session(self):
        self.no_then_about_then_yes("shutdown")

    def no_then_about_then_yes(self, label):
        window = self.window
        window.double_click(label)
        window.answer("Sure?", "n")  # MessageBox's &No
        self.assertTrue(window.alive())

        window.open_popup()
        window.display.key("a")  # the popup's one item, by its mnemonic
        window.answer("About Tolvane", "Return")
        self.assertTrue(window.alive())

        window.double_click(label)
        window.wait_for_box("Sure?")
        window.display.key("Return")  # Yes is the default
        self.assertEqual(self.program.wait(timeout=SESSION_END_TIMEOUT), 0)

    def test_a_held_key_opens_the_box_but_never_answers_it(self):
        window = self.window
        holds = [(label, key) for label in ("restart", "shutdown") for key in ("Return", "space")]
        for label, key in holds:
            with self.subTest(label=label, key=key):
                window.hold_on_label(label, key)
                self.assertTrue(window.alive())  # no session ended: nothing was requested
                if (label, key) != holds[-1]:
                    window.answer("Sure?", "n")  # MessageBox's &No
        # Pressed afresh, Enter gives the default answer, Yes, and the session ends.
        window.wait_for_box("Sure?")
        window.display.key("Return")
        self.assertEqual(self.program.wait(timeout=SESSION_END_TIMEOUT), 0)


if __name__ == "__main__":
    PROGRAM, PREFIX, WINE_RUN = (os.path.abspath(a) for a in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main(verbosity=2)
