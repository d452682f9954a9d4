"""The Linux program end to end: a private X display driven with xdotool, a private system
bus with a mocked logind, and a private session bus without a session manager.

    linux_program_test.py TOLVANE
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import frm_main_driver
import linux_program
import pointer_checks
import x_session
from linux_program import private_bus

PROGRAM = None
LOGIND = ("org.freedesktop.login1", "/org/freedesktop/login1")
POWER_METHODS = ("Reboot", "PowerOff")


class LinuxProgramTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tolvane-e2e-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)
        processes = private_bus.Processes()
        self.addCleanup(processes.close)
        self.display = x_session.Display(os.path.join(self.dir, "xvfb.log"))
        self.addCleanup(self.display.close)
        self.addCleanup(self.print_log_on_failure)

        system = private_bus.PrivateBus(processes, self.dir, "system")
        self.addCleanup(system.close)
        session = private_bus.PrivateBus(processes, self.dir, "session")
        self.addCleanup(session.close)
        env = linux_program.bus_env(system.address, session.address)
        self.logind = private_bus.Mock(processes, self.dir, system, "system", *LOGIND,
                                       ["-t", "logind"], env)
        self.program = linux_program.start(processes, self.display, PROGRAM, self.dir, env)
        self.window = frm_main_driver.MainWindow(self.display, self.program, self.dir)

    def print_log_on_failure(self):
        outcome = getattr(self, "_outcome", None)
        if outcome is not None and not outcome.success:
            with open(os.path.join(self.dir, "tolvane.log"), errors="replace") as log:
                print(log.read()[-4000:], file=sys.stderr)

    def power_requests(self):
        return [call for call in self.logind.calls() if call[0] in POWER_METHODS]

    def test_the_window_shows_a_live_uptime(self):
        self.window.wait_for_live_uptime()

    def test_a_label_lights_under_the_pointer_until_it_crosses_the_frame(self):
        pointer_checks.check_hover(self, self.window)

    def test_no_then_about_then_yes_reaches_logind_and_the_program_runs_on(self):
        cases = [  # label, the key that answers No, logind's method
            ("restart", "n", "Reboot"),
            ("shutdown", "Escape", "PowerOff"),
        ]
        window = self.window
        for label, no_key, method in cases:
            with self.subTest(label):
                self.logind.mock.ClearCalls()
                window.double_click(label)
                window.answer("Sure?", no_key)
                self.assertTrue(window.alive())
                self.assertEqual(self.power_requests(), [])

                window.open_popup()
                window.display.key("a")  # the popup's one item, by its mnemonic
                window.answer("About Tolvane", "Return")

                window.double_click(label)
                window.answer("Sure?", "Return")  # Yes is the default
                x_session.wait_until(self.power_requests, f"a {method} call",
                                     process=self.program)
                self.assertEqual(self.power_requests(), [(method, [True])])
                self.assertTrue(window.alive())

    def test_a_held_key_opens_the_box_but_never_answers_it(self):
        window = self.window
        for label, method in (("restart", "Reboot"), ("shutdown", "PowerOff")):
            for key in ("Return", "space"):
                with self.subTest(label=label, key=key):
                    self.logind.mock.ClearCalls()
                    window.hold_on_label(label, key)
                    self.assertEqual(self.power_requests(), [])
                    window.answer("Sure?", "Return")  # pressed afresh: Yes, the default
                    x_session.wait_until(self.power_requests, f"a {method} call",
                                         process=self.program)
                    self.assertEqual(self.power_requests(), [(method, [True])])


class NoDisplayTest(unittest.TestCase):
    def test_without_a_display_it_says_so_in_one_line_and_exits_with_1(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        done = subprocess.run([PROGRAM], env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=20, check=False)
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stderr, "tolvane: no display found (DISPLAY or WAYLAND_DISPLAY)\n")


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
