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

    # Yes ends the whole Wine session, so one session walks everything up to that Yes.
    def test_uptime_hover_no_about_held_keys_then_yes_ends_the_session(self):
        window = self.window
        window.wait_for_live_uptime()
        frm_main_driver.check_hover(self, window)

        window.double_click("restart")
        window.answer("Sure?", "n")  # MessageBox's &No
        window.open_popup()
        window.display.key("a")  # the popup's one item, by its mnemonic
        window.answer("About Tolvane", "Return")

        holds = [(label, key) for label in ("restart", "shutdown") for key in ("Return", "space")]
        for label, key in holds:
            with self.subTest(label=label, key=key):
                window.hold_on_label(label, key)
                self.assertTrue(window.alive())  # no session ended: nothing was requested
                if (label, key) != holds[-1]:
                    window.answer("Sure?", "n")
        # Pressed afresh, Enter gives the default answer, Yes, and the session ends.
        window.wait_for_box("Sure?")
        window.display.key("Return")
        self.assertEqual(self.program.wait(timeout=SESSION_END_TIMEOUT), 0)


if __name__ == "__main__":
    PROGRAM, PREFIX, WINE_RUN = (os.path.abspath(a) for a in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main(verbosity=2)
