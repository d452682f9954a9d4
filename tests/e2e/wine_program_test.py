"""Tolvane.exe end to end under wine64 on a private Xvfb, driven with xdotool.

    wine_program_test.py TOLVANE.EXE WINDOW_DESCRIPTION.json PREFIX WINE-RUN
"""

import os
import shutil
import sys
import tempfile
import unittest

import frm_main_driver
import wine_program
import x_session

PROGRAM = DESCRIPTION = PREFIX = WINE_RUN = None


class WineProgramTest(unittest.TestCase):
    def test_live_uptime_about_held_return_then_yes_ends_the_session(self):
        directory = tempfile.mkdtemp(prefix="tolvane-e2e-wine-")
        self.addCleanup(shutil.rmtree, directory, ignore_errors=True)
        display = x_session.Display(os.path.join(directory, "xvfb.log"))
        self.addCleanup(display.close)
        wine = wine_program.WineSession(display, PREFIX, WINE_RUN, directory)
        self.addCleanup(wine.close)  # before the display goes
        program = wine.start(PROGRAM, os.path.join(directory, "tolvane.log"))
        window = frm_main_driver.MainWindow(display, program, DESCRIPTION)
        window.wait_for_live_uptime()
        window.about()
        window.double_click("restart")
        window.answer("Sure?", "n")  # MessageBox's &No
        # Held, Return opens "Sure?" once and never answers it, though Yes is the default.
        window.hold_on_label("shutdown", "Return")
        self.assertTrue(window.alive())
        window.focus(display.wait_for_window("Sure?", program))
        display.key("Return")  # pressed afresh: Yes, and the session, the program with it, ends
        self.assertEqual(program.wait(timeout=30), 0)


if __name__ == "__main__":
    PROGRAM, DESCRIPTION, PREFIX, WINE_RUN = (os.path.abspath(a) for a in sys.argv[1:5])
    del sys.argv[1:5]
    unittest.main(verbosity=2)
