"""The real D-Bus restart and power-off requests, against private buses and mocked services.

    power_request_test.py PROBE

PROBE is the small program that runs one request (restart|poweroff) and prints its outcome.
"""

import contextlib
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import private_bus  # noqa: E402

PROBE = None

GNOME = ("org.gnome.SessionManager", "/org/gnome/SessionManager", "org.gnome.SessionManager",
         {"restart": "RequestReboot", "poweroff": "RequestShutdown"})
KDE = ("org.kde.Shutdown", "/Shutdown", "org.kde.Shutdown",
       {"restart": "logoutAndReboot", "poweroff": "logoutAndShutdown"})
LOGIND_METHODS = {"restart": "Reboot", "poweroff": "PowerOff"}
ACTIONS = ("restart", "poweroff")

INTERACTIVE_REQUIRED = ("raise dbus.exceptions.DBusException('Interactive authentication "
                        "required.', name='org.freedesktop.DBus.Error."
                        "InteractiveAuthorizationRequired')")
ACCESS_DENIED = ("raise dbus.exceptions.DBusException('Operation inhibited by \"gnome-shell\".', "
                 "name='org.freedesktop.DBus.Error.AccessDenied')")


def hold_until_exists(path):
    """Mock method code that answers only once path exists (or fails after a long while)."""
    return ("import os, time\n"
            "deadline = time.monotonic() + 30\n"
            f"while not os.path.exists({path!r}):\n"
            "    if time.monotonic() > deadline:\n"
            "        raise dbus.exceptions.DBusException('the caller never kept responsive')\n"
            "    time.sleep(0.01)\n")


class PowerRequestTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="tolvane-power-")
        self.addCleanup(shutil.rmtree, self.dir, ignore_errors=True)
        daemons = private_bus.Processes()
        self.addCleanup(daemons.close)
        self.services = private_bus.Processes()  # the mocks, restarted for each case
        self.addCleanup(self.services.close)
        self.system = self._bus(daemons, "system")
        self.session = self._bus(daemons, "session")

    def _bus(self, daemons, name):
        bus = private_bus.PrivateBus(daemons, self.dir, name)
        self.addCleanup(bus.close)
        return bus

    @contextlib.contextmanager
    def case(self, msg=None, **params):
        """One sub-test; the mocks it started are gone afterwards, even when it failed."""
        with self.subTest(msg, **params):
            try:
                yield
            finally:
                self.services.close()

    def env(self, system=None, session=None):
        env = dict(os.environ)
        for leak in ("XDG_RUNTIME_DIR", "DBUS_STARTER_ADDRESS", "DBUS_STARTER_BUS_TYPE"):
            env.pop(leak, None)  # no way back to the machine's own buses
        env["DBUS_SYSTEM_BUS_ADDRESS"] = system or self.system.address
        env["DBUS_SESSION_BUS_ADDRESS"] = session or self.session.address
        return env

    def nowhere(self, name):
        return f"unix:path={os.path.join(self.dir, name + '_missing_socket')}"

    def start_logind(self):
        return private_bus.Mock(self.services, self.dir, self.system, "system",
                                "org.freedesktop.login1", "/org/freedesktop/login1",
                                ["-t", "logind"], self.env())

    def start_session_manager(self, manager, action, code=""):
        name, path, interface, methods = manager
        mock = private_bus.Mock(self.services, self.dir, self.session, "session", name, path,
                                [name, path, interface], self.env())
        for method in methods.values():
            mock.add_method(interface, method, code=code if method == methods[action] else "")
        return mock

    def request(self, action, marker=None, **env):
        args = [PROBE, action] + ([marker] if marker else [])
        done = subprocess.run(args, env=self.env(**env), stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=120, check=False)
        self.assertEqual(done.returncode, 0, done.stderr)
        fields = dict(line.split("=", 1) for line in done.stdout.splitlines())
        return fields["started"] == "1", fields["reason"], int(fields["keep_responsive_calls"])

    def test_a_session_manager_is_asked_instead_of_logind(self):
        for manager in (GNOME, KDE):
            for action in ACTIONS:
                with self.case(manager=manager[0], action=action):
                    logind = self.start_logind()
                    session_manager = self.start_session_manager(manager, action)
                    self.assertEqual(self.request(action)[:2], (True, ""))
                    self.assertEqual(session_manager.calls(), [(manager[3][action], [])])
                    self.assertEqual(logind.calls(), [])

    def test_gnome_goes_first_when_both_are_present(self):
        gnome = self.start_session_manager(GNOME, "restart")
        kde = self.start_session_manager(KDE, "restart")
        self.assertEqual(self.request("restart")[:2], (True, ""))
        self.assertEqual(gnome.calls(), [("RequestReboot", [])])
        self.assertEqual(kde.calls(), [])

    def test_without_a_session_manager_logind_is_asked_interactively(self):
        for session in ("empty", "missing"):
            for action in ACTIONS:
                with self.case(session_bus=session, action=action):
                    logind = self.start_logind()
                    address = self.nowhere("session") if session == "missing" else None
                    self.assertEqual(self.request(action, session=address)[:2], (True, ""))
                    self.assertEqual(logind.calls(), [(LOGIND_METHODS[action], [True])])

    def test_an_error_reply_is_the_reason_and_nothing_else_is_tried(self):
        cases = [
            (GNOME, INTERACTIVE_REQUIRED, "Interactive authentication required."),
            (KDE, ACCESS_DENIED, 'Operation inhibited by "gnome-shell".'),
            (None, INTERACTIVE_REQUIRED, "Interactive authentication required."),
            (None, ACCESS_DENIED, 'Operation inhibited by "gnome-shell".'),
        ]
        for manager, code, reason in cases:
            for action in ACTIONS:
                with self.case(manager=manager and manager[0], reason=reason, action=action):
                    logind = self.start_logind()
                    if manager:
                        self.start_session_manager(manager, action, code)
                    else:
                        logind.add_method("org.freedesktop.login1.Manager",
                                          LOGIND_METHODS[action], "b", code)
                    self.assertEqual(self.request(action)[:2], (False, reason))
                    if manager:
                        self.assertEqual(logind.calls(), [])

    def test_no_service_to_ask_is_a_reason(self):
        cases = [
            ("no system bus", self.nowhere("system"), "system bus could not be reached: No such file or directory"),
            ("no logind", None, "org.freedesktop.login1"),
        ]
        for what, system, words in cases:
            with self.case(what):
                started, reason, _ = self.request("poweroff", system=system)
                self.assertFalse(started)
                self.assertIn(words, reason)

    def test_the_caller_stays_responsive_while_the_answer_is_awaited(self):
        # The mock answers only after the caller's keepResponsive has run once meanwhile.
        marker = os.path.join(self.dir, "kept-responsive")
        for target in ("session manager", "logind"):
            with self.case(target):
                if os.path.exists(marker):
                    os.remove(marker)
                logind = self.start_logind()
                if target == "logind":
                    logind.add_method("org.freedesktop.login1.Manager", "Reboot", "b",
                                      hold_until_exists(marker))
                else:
                    self.start_session_manager(GNOME, "restart", hold_until_exists(marker))
                started, reason, calls = self.request("restart", marker)
                self.assertEqual((started, reason), (True, ""))
                self.assertGreater(calls, 0)


if __name__ == "__main__":
    PROBE = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
