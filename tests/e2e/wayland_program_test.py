"""The Linux program native on Wayland, under Debian's weston on its headless backend,
read and pressed over AT-SPI as a screen reader would.

    wayland_program_test.py TOLVANE
"""

import os
import re
import shutil
import socket
import sys
import tempfile
import unittest

import linux_program
import x_session

PROGRAM = None
WAYLAND_SOCKET = "tolvane-wayland"
APP_ID = "org.tolvane.Tolvane"
UPTIME_WORDS = re.compile(r"^(\d+ (weeks?|days?|hours?|minutes?|seconds?) ?)+$")


def find(root, role, name_pattern):
    """The first node below root, depth first, with that role and a name matching."""
    for index in range(root.childCount):
        child = root.getChildAtIndex(index)
        if child is None:
            continue
        if child.getRole() == role and re.search(name_pattern, child.name or ""):
            return child
        found = find(child, role, name_pattern)
        if found is not None:
            return found
    return None


class WaylandProgramTest(linux_program.DBusTestCase):
    @classmethod
    def setUpClass(cls):
        linux_program.private_buses(system=False)

    def start(self, args, log_name, env):
        process = x_session.spawn(args, os.path.join(self.dir, log_name), env)
        self.addCleanup(x_session.stop, process)
        return process

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tolvane-wayland-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)
        runtime = os.path.join(self.dir, "runtime")
        os.makedirs(runtime, mode=0o700)
        # Nothing is confirmed here, so the system bus is one that is not there.
        env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=linux_program.nowhere(self.dir, "system"),
                   XDG_RUNTIME_DIR=runtime, HOME=self.dir)
        env.pop("DISPLAY", None)

        # The accessibility bus, announced on the session bus as a desktop's is.
        launcher = self.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                              "at-spi.log", env)
        bus = self.get_dbus()
        self.addCleanup(bus.close)
        x_session.wait_until(lambda: bus.name_has_owner("org.a11y.Bus"), "the AT-SPI bus",
                             process=launcher)
        weston = self.start(["weston", "--backend=headless-backend.so",
                             f"--socket={WAYLAND_SOCKET}", "--idle-time=0"], "weston.log", env)
        x_session.wait_until(lambda: os.path.exists(os.path.join(runtime, WAYLAND_SOCKET)),
                             "weston", process=weston)

        env.update(WAYLAND_DISPLAY=WAYLAND_SOCKET, QT_QPA_PLATFORM="wayland", WAYLAND_DEBUG="1",
                   QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.program = self.start([PROGRAM], "tolvane.log", env)

    def wait(self, condition, what):
        return x_session.wait_until(condition, what, process=self.program)

    def test_native_window_read_and_its_restart_pressed_over_atspi(self):
        try:
            self.check_native_window()
        except BaseException:
            x_session.print_logs(self.dir, "tolvane.log", "weston.log", "at-spi.log")
            raise

    def check_native_window(self):
        # The harness reads the same accessibility bus as a screen reader would.
        import pyatspi as atspi  # (it finds the bus when first imported)

        desktop = atspi.Registry.getDesktop(0)
        app = self.wait(lambda: find(desktop, atspi.ROLE_APPLICATION, "^Tolvane$"),
                        "Tolvane on the accessibility bus")

        # The window is Wayland's own, named for its menu entry.
        set_app_id = re.compile(r"xdg_toplevel@\d+\.set_app_id\(\"" + re.escape(APP_ID) + '"')
        log = os.path.join(self.dir, "tolvane.log")
        self.wait(lambda: set_app_id.search(x_session.read(log)),
                  f'set_app_id("{APP_ID}") on the wire')

        heading = self.wait(lambda: find(app, atspi.ROLE_LABEL, "has been up for:"), "the heading")
        self.assertIn(socket.gethostname(), heading.name)
        uptime = find(app, atspi.ROLE_TEXT, "^Uptime$")
        self.assertIsNotNone(uptime)
        read = lambda: uptime.queryText().getText(0, -1)  # noqa: E731
        first = self.wait(read, "an uptime")
        self.assertRegex(first, UPTIME_WORDS)
        self.wait(lambda: read() != first, "the uptime moving on")

        for words in ("Shut Down the Computer", "Restart the Computer"):
            button = find(app, atspi.ROLE_PUSH_BUTTON, re.escape(words))
            self.assertIsNotNone(button, f"a push button named {words}")
            action = button.queryAction()
            self.assertEqual([action.getName(i) for i in range(action.nActions)], ["press"])

        # Restart pressed as Enter would: "Sure?" asks, and No leaves the program running.
        action.doAction(0)
        box = self.wait(lambda: find(app, atspi.ROLE_ALERT, r"^Sure\?$"), '"Sure?"')
        self.assertIn("reboot", find(box, atspi.ROLE_LABEL, "sure").name)
        find(box, atspi.ROLE_PUSH_BUTTON, "^No$").queryAction().doAction(0)
        self.wait(lambda: not find(app, atspi.ROLE_ALERT, r"^Sure\?$"), '"Sure?" answered')
        self.assertIsNone(self.program.poll())


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
