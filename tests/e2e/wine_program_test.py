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


class WineProgramTest(unittest.TestCase):
    # Yes ends the whole Wine session, so one session walks everything up to that Yes.
    def test_uptime_about_held_keys_then_yes_ends_the_session(self):
        directory = tempfile.mkdtemp(prefix="tolvane-e2e-wine-")
        self.addCleanup(shutil.rmtree, directory, ignore_errors=True)
        display = x_session.Display(os.path.join(directory, "xvfb.log"))
        self.addCleanup(display.close)
        wine = wine_program.WineSession(display, PREFIX, WINE_RUN, directory)
        self.addCleanup(wine.close)  # before the display goes
        window = frm_main_driver.MainWindow(display, wine.start(PROGRAM, "tolvane.log"),
                                            directory)
        window.wait_for_live_uptime()
        window.about()
        window.double_click("restart")
        window.answer("Sure?", "n")  # MessageBox's &No
        for label, key in (("restart", "Return"), ("shutdown", "space")):
            window.hold_on_label(label, key)
            self.assertTrue(window.alive(), key)  # no session ended: nothing was requested
            window.wait_for_box("Sure?")
            if key == "Return":
                window.answer("Sure?", "n")
        # Pressed afresh, Enter gives the default answer, Yes, and the session ends.
        window.display.key("Return")
        self.assertEqual(window.program.wait(timeout=30), 0)


if __name__ == "__main__":
    PROGRAM, PREFIX, WINE_RUN = (os.path.abspath(a) for a in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main(verbosity=2)
