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

import dbus
import dbusmock

import frm_main_driver
import linux_program
import x_session

PROGRAM = None
POWER_METHODS = ("Reboot", "PowerOff")


class LinuxProgramTest(linux_program.DBusTestCase):
    @classmethod
    def setUpClass(cls):
        linux_program.private_buses()

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tolvane-e2e-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)
        self.display = x_session.Display(os.path.join(self.dir, "xvfb.log"))
        self.addCleanup(self.display.close)
        self.addCleanup(self.print_log_on_failure)
        logind, logind_object = self.spawn_server_template("logind", stdout=subprocess.DEVNULL)
        self.addCleanup(linux_program.stop, logind)
        self.logind = dbus.Interface(logind_object, dbusmock.MOCK_IFACE)
        self.program = linux_program.start(self.display, PROGRAM, self.dir)
        self.addCleanup(linux_program.stop, self.program)
        self.window = frm_main_driver.MainWindow(self.display, self.program, self.dir)

    def print_log_on_failure(self):
        outcome = getattr(self, "_outcome", None)
        if outcome is not None and not outcome.success:
            with open(os.path.join(self.dir, "tolvane.log"), errors="replace") as log:
                print(log.read()[-4000:], file=sys.stderr)

    def power_requests(self):
        return [(str(method), [bool(a) for a in args])
                for _, method, args in self.logind.GetCalls() if method in POWER_METHODS]

    def test_the_window_shows_a_live_uptime(self):
        self.window.wait_for_live_uptime()

    def test_a_label_lights_under_the_pointer_until_it_crosses_the_frame(self):
        frm_main_driver.check_hover(self, self.window)

    def test_no_then_about_then_yes_reaches_logind_and_the_program_runs_on(self):
        cases = [  # label, the key that answers No, logind's method
            ("restart", "n", "Reboot"),
            ("shutdown", "Escape", "PowerOff"),
        ]
        window = self.window
        for label, no_key, method in cases:
            with self.subTest(label):
                self.logind.ClearCalls()
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
                    self.logind.ClearCalls()
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
