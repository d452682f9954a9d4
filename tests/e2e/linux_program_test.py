"""The Linux program end to end on private buses, beside its X11 run with the desktops
(tests/platform/linux): native on Wayland under weston, read and pressed over AT-SPI as a
screen reader would; and without any display.

    linux_program_test.py TOLVANE
"""

import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import unittest

import linux_program
import x_session

PROGRAM = None


class LinuxProgramTest(linux_program.DBusTestCase):
    @classmethod
    def setUpClass(cls):
        for leak in ("DBUS_STARTER_ADDRESS", "DBUS_STARTER_BUS_TYPE", "XDG_RUNTIME_DIR"):
            os.environ.pop(leak, None)
        cls.start_system_bus()
        cls.start_session_bus()

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tolvane-e2e-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)
        # Shown by ctest only when the test failed.
        self.addCleanup(x_session.print_logs, self.dir, "tolvane.log", "weston.log")

    def start(self, args, log_name, env, ready=lambda: True):
        process = x_session.spawn(args, os.path.join(self.dir, log_name), env)
        self.addCleanup(x_session.stop, process)
        x_session.wait_until(ready, f"{args[0]} ready", process=process)
        return process

    def wait(self, condition, what):
        return x_session.wait_until(condition, what, process=self.program)

    def test_native_window_read_and_pressed_over_atspi(self):
        runtime = os.path.join(self.dir, "runtime")
        os.makedirs(runtime, mode=0o700)
        env = dict(os.environ, XDG_RUNTIME_DIR=runtime, HOME=self.dir)
        env.pop("DISPLAY", None)
        # The accessibility bus, announced on the session bus as a desktop's is.
        bus = self.get_dbus()
        self.addCleanup(bus.close)
        self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], "at-spi.log",
                   env, lambda: bus.name_has_owner("org.a11y.Bus"))
        self.start(["weston", "--backend=headless-backend.so", "--socket=tolvane-wayland",
                    "--idle-time=0"], "weston.log", env,
                   lambda: os.path.exists(f"{runtime}/tolvane-wayland"))
        env.update(WAYLAND_DISPLAY="tolvane-wayland", QT_QPA_PLATFORM="wayland",
                   WAYLAND_DEBUG="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.program = self.start([PROGRAM], "tolvane.log", env)

        import pyatspi  # only now: it finds the accessibility bus when first imported

        app = self.wait(lambda: find(pyatspi.Registry.getDesktop(0),
                                     pyatspi.ROLE_APPLICATION, "^Tolvane$"), "Tolvane on AT-SPI")
        # Wayland's own window, named for the menu entry.
        app_id = re.compile(r'xdg_toplevel@\d+\.set_app_id\("org\.tolvane\.Tolvane"\)')
        self.wait(lambda: app_id.search(x_session.read(f"{self.dir}/tolvane.log")), "the app id")
        heading = self.wait(lambda: find(app, pyatspi.ROLE_LABEL, "has been up for:"), "heading")
        self.assertIn(socket.gethostname(), heading.name)
        uptime = find(app, pyatspi.ROLE_TEXT, "^Uptime$").queryText()
        first = self.wait(lambda: uptime.getText(0, -1), "an uptime")
        self.wait(lambda: uptime.getText(0, -1) != first, "the uptime moving on")
        restart = find(app, pyatspi.ROLE_PUSH_BUTTON, "Restart the Computer").queryAction()
        self.assertEqual(restart.getName(0), "press")
        restart.doAction(0)
        self.wait(lambda: find(app, pyatspi.ROLE_ALERT, r"^Sure\?$"), '"Sure?"')

    def test_without_a_display_it_says_so_in_one_line_and_exits_with_1(self):
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        done = subprocess.run([PROGRAM], env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=20, check=False)
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stderr, "tolvane: no display found (DISPLAY or WAYLAND_DISPLAY)\n")


def find(root, role, name_pattern):
    """The first node below root, depth first, with that role and a name matching."""
    for child in filter(None, (root.getChildAtIndex(i) for i in range(root.childCount))):
        if child.getRole() == role and re.search(name_pattern, child.name or ""):
            return child
        if (found := find(child, role, name_pattern)) is not None:
            return found
    return None


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
