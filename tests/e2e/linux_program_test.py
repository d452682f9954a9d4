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


class LinuxProgramTest(linux_program.DBusTestCase):
    @classmethod
    def setUpClass(cls):
        linux_program.private_buses()

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tolvane-e2e-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)
        self.display = x_session.Display(os.path.join(self.dir, "xvfb.log"))
        self.addCleanup(self.display.close)
        logind, logind_object = self.spawn_server_template("logind", stdout=subprocess.DEVNULL)
        self.addCleanup(x_session.stop, logind)
        self.logind = dbus.Interface(logind_object, dbusmock.MOCK_IFACE)
        self.program = linux_program.start(self.display, PROGRAM, self.dir)
        self.addCleanup(x_session.stop, self.program)

    def test_uptime_about_then_yes_and_held_keys_reach_logind(self):
        window = frm_main_driver.MainWindow(self.display, self.program, self.dir)
        try:
            window.wait_for_live_uptime()
            window.about()
            # label, how it is asked, logind's method (with interactive = true)
            for label, key, method in [("restart", None, "Reboot"),
                                       ("shutdown", "Return", "PowerOff"),
                                       ("restart", "space", "Reboot")]:
                self.logind.ClearCalls()
                if key:  # held: it opens the box but never answers it
                    window.hold_on_label(label, key)
                    self.assertEqual(self.requests(), [], key)
                else:
                    window.double_click(label)
                window.answer("Sure?", "Return")  # pressed afresh: Yes, the default
                x_session.wait_until(self.requests, method, process=self.program)
                self.assertEqual(self.requests(), [(method, [True])], key)
                self.assertTrue(window.alive())
        except BaseException:
            x_session.print_logs(self.dir, "tolvane.log")
            raise

    def requests(self):
        return [(str(method), [bool(a) for a in args])
                for _, method, args in self.logind.GetCalls() if method in ("Reboot", "PowerOff")]


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
