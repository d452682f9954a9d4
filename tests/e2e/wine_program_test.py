"""Tolvane.exe end to end under wine64 on a private Xvfb, driven with xdotool, its privilege
step and request in a relay trace, and a DLL planted beside it as oleacc.dll.

    wine_program_test.py TOLVANE.EXE WINDOW_DESCRIPTION.json PREFIX WINE-RUN PLANTED.DLL ASK.EXE
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

import frm_main_driver
import wine_program
import x_session

PROGRAM = DESCRIPTION = PREFIX = WINE_RUN = PLANTED = ASK = None

# The calls a confirmed request makes, in order, and how their arguments begin.
PRIVILEGE = [
    ("advapi32.OpenProcessToken", "ffffffffffffffff,00000028,"),  # its own; adjust, query
    ("advapi32.LookupPrivilegeValueW", r'00000000,\w+ L"SeShutdownPrivilege",'),
    ("advapi32.AdjustTokenPrivileges", r"\w+,00000000,"),  # nothing else disabled
]
REQUEST = "user32.ExitWindowsEx"
FLAGS = {"restart": "00000002", "shutdown": "00000008"}  # never with EWX_FORCE
PLANNED = "80000000"  # the reason: planned, major and minor "other"
CALL = re.compile(r"^\w+:Call (\w+\.\w+)\((.*)\) ret=\w+$", re.M)


class WineProgramTest(unittest.TestCase):
    def setUp(self):
        self.directory = tempfile.mkdtemp(prefix="tolvane-e2e-wine-")
        self.addCleanup(shutil.rmtree, self.directory, ignore_errors=True)
        self.display = x_session.Display(os.path.join(self.directory, "xvfb.log"))
        self.addCleanup(self.display.close)
        # As from a Downloads folder: a DLL there named as one the program uses.
        self.program_copy = shutil.copy(PROGRAM, self.directory)
        shutil.copy(PLANTED, os.path.join(self.directory, "oleacc.dll"))

    def test_live_uptime_about_held_return_then_yes_ends_the_session(self):
        window = self.start("shutdown")
        window.wait_for_live_uptime()
        window.about()
        # A taskbar button: Wine marks skip-taskbar exactly the windows Windows keeps off it.
        self.assertNotIn("SKIP_TASKBAR", self.display.run(
            "xprop", "-id", str(window.window), "_NET_WM_STATE").stdout)
        window.double_click("restart")
        # A screen reader presses restart meanwhile: still one box. Wine loads as Windows does
        # here (oleacc=n,b): a DLL beside the program first, unless the program names System32.
        # The planted one has none of oleacc's functions: the label is pressed only without it.
        subprocess.run([wine_program.WINE, ASK], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60, check=True)
        time.sleep(2)  # time for a second box to open
        self.assertEqual(len(self.display.windows("Sure?")), 1)
        window.answer("Sure?", "n")  # MessageBox's &No
        window.tab_to("shutdown")
        for _ in range(2):  # Enter, Escape, Enter: "Sure?" each time
            self.display.key("Return")
            window.answer("Sure?", "Escape")
            window.focus(window.window)
        # Held, Space and Return open "Sure?" once and never answer it, Yes the default.
        window.hold("space")
        window.answer("Sure?", "Escape")
        window.focus(window.window)
        window.hold("Return")
        self.confirm(window, "Return")  # pressed afresh: Yes
        self.assert_requested("shutdown")

        # A request ends the session: restart is confirmed in a session of its own.
        window = self.start("restart")
        window.double_click("restart")
        self.confirm(window, "y")
        self.assert_requested("restart")

    def start(self, action):
        wine = wine_program.WineSession(self.display, PREFIX, WINE_RUN, self.directory,
                                        [name for name, _ in PRIVILEGE] + [REQUEST])
        self.addCleanup(wine.close)  # before the display goes
        self.log = os.path.join(self.directory, f"tolvane-{action}.log")
        self.program = wine.start(self.program_copy, self.log)
        self.env = wine.env
        return frm_main_driver.MainWindow(self.display, self.program, DESCRIPTION)

    def confirm(self, window, key):
        window.focus(self.display.wait_for_window("Sure?", self.program))
        self.display.key(key)

    def assert_requested(self, action):
        """The session, the program with it, ended by the privilege step and then the
        request, and no other such call."""
        self.assertEqual(self.program.wait(timeout=30), 0)
        trace = x_session.read(self.log)
        calls = [(name.lower(), args) for name, args in CALL.findall(trace)]
        expected = PRIVILEGE + [(REQUEST, f"{FLAGS[action]},{PLANNED}$")]
        self.assertEqual([name for name, _ in calls],
                         [name.lower() for name, _ in expected], trace[-4000:])
        for (name, args), (_, pattern) in zip(calls, expected):
            self.assertRegex(args, "^" + pattern, name)


if __name__ == "__main__":
    PROGRAM, DESCRIPTION, PREFIX, WINE_RUN, PLANTED, ASK = map(os.path.abspath, sys.argv[1:7])
    del sys.argv[1:7]
    unittest.main(verbosity=2)
