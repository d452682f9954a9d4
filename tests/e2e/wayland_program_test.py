"""The Linux program native on Wayland, under Debian's weston on its headless backend,
read and pressed over AT-SPI as a screen reader would.

    wayland_program_test.py TOLVANE
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
WAYLAND_SOCKET = "tolvane-wayland"
APP_ID = "org.tolvane.Tolvane"
UPTIME_WORDS = re.compile(r"^(\d+ (weeks?|days?|hours?|minutes?|seconds?) ?)+$")


def descendants(node):
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is not None:
            yield child
            yield from descendants(child)


class WaylandProgramTest(linux_program.DBusTestCase):
    @classmethod
    def setUpClass(cls):
        linux_program.private_buses(system=False)

    def start(self, args, log_name, env):
        with open(os.path.join(self.dir, log_name), "wb") as log:
            process = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=log,
                                       stderr=log)
        self.addCleanup(linux_program.stop, process)
        return process

    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tolvane-wayland-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)
        self.addCleanup(self.print_logs_on_failure)
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
        self.log = os.path.join(self.dir, "tolvane.log")
        self.program = self.start([PROGRAM], "tolvane.log", env)

        # The harness reads the same accessibility bus as a screen reader would.
        import pyatspi  # noqa: E402  (it finds the bus when first imported)
        self.pyatspi = pyatspi

    def print_logs_on_failure(self):
        outcome = getattr(self, "_outcome", None)
        if outcome is not None and not outcome.success:
            for name in ("tolvane.log", "weston.log", "at-spi.log"):
                with open(os.path.join(self.dir, name), errors="replace") as log:
                    print(f"--- {name}", log.read()[-3000:], sep="\n", file=sys.stderr)

    def read_log(self):
        with open(self.log, errors="replace") as log:
            return log.read()

    def wait(self, condition, what):
        return x_session.wait_until(condition, what, process=self.program)

    def application(self):
        desktop = self.pyatspi.Registry.getDesktop(0)
        for index in range(desktop.childCount):
            app = desktop.getChildAtIndex(index)
            if app is not None and app.name == "Tolvane":
                return app
        return None

    def find(self, root, role, name_pattern):
        for node in descendants(root):
            if node.getRole() == role and re.search(name_pattern, node.name or ""):
                return node
        return None

    def test_native_window_read_and_its_restart_pressed_over_atspi(self):
        atspi = self.pyatspi
        app = self.wait(self.application, "Tolvane on the accessibility bus")

        # The window is Wayland's own, named for its menu entry.
        set_app_id = re.compile(r"xdg_toplevel@\d+\.set_app_id\(\"" + re.escape(APP_ID) + '"')
        self.wait(lambda: set_app_id.search(self.read_log()), f'set_app_id("{APP_ID}") on the wire')

        heading = self.wait(lambda: self.find(app, atspi.ROLE_LABEL, "has been up for:"),
                            "the heading")
        self.assertIn(socket.gethostname(), heading.name)
        uptime = self.find(app, atspi.ROLE_TEXT, "^Uptime$")
        self.assertIsNotNone(uptime)
        read = lambda: uptime.queryText().getText(0, -1)  # noqa: E731
        first = self.wait(read, "an uptime")
        self.assertRegex(first, UPTIME_WORDS)
        self.wait(lambda: read() != first, "the uptime moving on")

        for words in ("Restart the Computer", "Shut Down the Computer"):
            button = self.find(app, atspi.ROLE_PUSH_BUTTON, re.escape(words))
            self.assertIsNotNone(button, f"a push button named {words}")
            action = button.queryAction()
            self.assertEqual([action.getName(i) for i in range(action.nActions)], ["press"])

        # Pressed as Enter would: "Sure?" asks, and No leaves the program running.
        restart = self.find(app, atspi.ROLE_PUSH_BUTTON, "Restart the Computer")
        restart.queryAction().doAction(0)
        box = self.wait(lambda: self.find(app, atspi.ROLE_ALERT, r"^Sure\?$"), '"Sure?"')
        self.assertIn("reboot", self.find(box, atspi.ROLE_LABEL, "sure").name)
        self.find(box, atspi.ROLE_PUSH_BUTTON, "^No$").queryAction().doAction(0)
        self.wait(lambda: not self.find(app, atspi.ROLE_ALERT, r"^Sure\?$"), '"Sure?" answered')
        self.assertIsNone(self.program.poll())


if __name__ == "__main__":
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
