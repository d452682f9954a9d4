"""The Linux program end to end on private buses: restart and power off through each desktop's
real session manager, as one table, whose last row, no desktop, is the program's own run on X11
(live uptime, About, requests); natively on Wayland under weston, read and pressed over AT-SPI
as a screen reader would; without any display; and left running for a minute.

    linux_program_test.py TOLVANE WINDOW_DESCRIPTION.json MENU_ENTRY.desktop
                          [-k desktop | -k wayland | -k soak ...]

Each desktop runs headless on an Xvfb and a session bus of its own; python3-dbusmock's logind
listens on a private system bus, started first so that services the session bus starts on
demand (plasma-shutdown, xfconfd) inherit it, and busctl watches what reaches it. A desktop
not installed is skipped.
"""

import contextlib
import ctypes
import json
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import unittest

import dbusmock

import frm_main_driver
import linux_program
import x_session

SKIP_CODE = 77
PROGRAM = None
LOGIND = {"restart": "Reboot", "shutdown": "PowerOff"}
SETTLE = 1.5  # seconds a box is given to show, or a cancelled request to reach logind anyway
INTERACTIVE = 0x4  # the header flag ALLOW_INTERACTIVE_AUTHORIZATION

# Over the machine's own failsafe session: one client, its window manager, without which XFCE
# never ends the session.
XFCE_CHANNEL = """\
<channel name="xfce4-session" version="1.0">
  <property name="sessions" type="empty">
    <property name="Failsafe" type="empty">
      <property name="Count" type="int" value="1"/>
      <property name="Client0_Command" type="array">
        <value type="string" value="openbox"/>
      </property>
    </property>
  </property>
</channel>
"""

# The keys Cinnamon's session reads from its settings daemon and shell, which are not
# installed: their defaults, not a stand-in for a service.
CINNAMON_SCHEMAS = """\
<schemalist>
  <schema id="org.cinnamon.sounds" path="/org/cinnamon/sounds/">
    <key name="logout-enabled" type="b"><default>false</default></key>
    <key name="logout-file" type="s"><default>''</default></key>
  </schema>
  <schema id="org.cinnamon.settings-daemon.plugins.power"
          path="/org/cinnamon/settings-daemon/plugins/power/">
    <key name="lock-on-suspend" type="b"><default>false</default></key>
  </schema>
</schemalist>
"""

# Stands in for GNOME Shell, a compositor that cannot run here: its end-session dialog answers
# Open as the user's click would, a moment later: Cancel the first time, then confirmed.
END_SESSION_DIALOG = """\
from gi.repository import GLib
signal = 'ConfirmedReboot' if args[0] == 2 else 'ConfirmedShutdown'
signal = signal if hasattr(self, 'cancelled') else 'Canceled'
self.cancelled = True
GLib.timeout_add(300, lambda obj=self, signal=signal: obj.EmitSignal(
    'org.gnome.SessionManager.EndSessionDialog', signal, '', []) and False)
"""

# Each desktop: how it starts ("{home}" is the test's home), the bus name that shows it is up,
# the services D-Bus starts for it on demand, the files it reads, openbox started "before" it
# or awaited as its "required" component, the call that says it is "idle"; then the label
# whose Yes must reach logind through it, after a request for the other label "cancelled" in
# GNOME Shell's dialog.
DESKTOPS = [
    dict(name="kde", command=["ksmserver"], owner="org.kde.ksmserver",
         services=["org.kde.Shutdown"], label="restart"),
    dict(name="xfce", command=["xfce4-session"], owner="org.xfce.SessionManager",
         services=["org.xfce.Xfconf"],
         files={"config/xfce4/xfconf/xfce-perchannel-xml/xfce4-session.xml": XFCE_CHANNEL},
         idle=("org.xfce.SessionManager", "/org/xfce/SessionManager",
               "org.xfce.Session.Manager", "GetState", 1),
         wm="required", label="shutdown"),
    dict(name="mate", command=["mate-session", "-a", "{home}/autostart"],
         owner="org.gnome.SessionManager",
         files={"config/glib-2.0/settings/keyfile": "[org/mate/desktop/session]\n"
                "required-components-list=@as []\ndefault-session=@as []\n"
                "gnome-compat-startup=@as []\n"},
         label="shutdown"),
    dict(name="cinnamon",
         command=["cinnamon-session", "--session=tolvane", "-a", "{home}/autostart"],
         owner="org.gnome.SessionManager",
         files={"config/cinnamon-session/sessions/tolvane.session":
                "[Cinnamon Session]\nName=Tolvane test\nRequiredComponents=openbox;\n",
                "schemas/tolvane-cinnamon.gschema.xml": CINNAMON_SCHEMAS},
         wm="required", label="shutdown"),
    dict(name="gnome",
         command=["/usr/libexec/gnome-session-binary", "--builtin", "--session=tolvane",
                  "--disable-acceleration-check", "-a", "{home}/autostart"],
         owner="org.gnome.SessionManager",
         files={"config/gnome-session/sessions/tolvane.session":
                "[GNOME Session]\nName=Tolvane test\nRequiredComponents=\n"},
         label="restart", cancelled=True),
    dict(name="lxqt", command=["lxqt-session"], owner="org.lxqt.session",
         files={"config/lxqt/session.conf": "[General]\nwindow_manager=openbox\n"},
         wm="before", label="shutdown"),
    dict(name="none", command=None, label="restart"),
]


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "w") as out:
        out.write(text)


def stop_all():
    """Kills what the desktop started: this process is a subreaper, so daemons that left their
    parent come back to it as children, round after round, until none is left."""
    while True:
        children = {int(pid) for task in os.listdir("/proc/self/task")
                    for pid in x_session.read(f"/proc/self/task/{task}/children").split()}
        if not children:
            return
        for pid in children:
            with contextlib.suppress(ProcessLookupError):
                os.kill(pid, signal.SIGKILL)
        for pid in children:
            with contextlib.suppress(ChildProcessError):
                os.waitpid(pid, 0)


class LinuxProgramTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.buses = dbusmock.DBusTestCase  # the private buses
        cls.dir = tempfile.mkdtemp(prefix="tolvane-desktops-")
        for leak in ("XDG_RUNTIME_DIR", "DBUS_STARTER_ADDRESS", "DBUS_STARTER_BUS_TYPE",
                     "DBUS_SESSION_BUS_ADDRESS", "SESSION_MANAGER", "WAYLAND_DISPLAY"):
            os.environ.pop(leak, None)

    @classmethod
    def tearDownClass(cls):
        # dbusmock 0.28 forgets its own data directory.
        shutil.rmtree(os.path.dirname(cls.buses.get_services_dir()), ignore_errors=True)
        cls.buses.tearDownClass()
        shutil.rmtree(cls.dir, ignore_errors=True)

    def logind_calls(self):
        """(method, interactive, arguments) of each Reboot or PowerOff that reached logind."""
        messages = [json.loads(line) for line in x_session.read(self.monitor_log).splitlines()
                    if line.startswith("{")]
        return [(m["member"], bool(m["flags"] & INTERACTIVE), m["payload"]["data"])
                for m in messages
                if m["type"] == "method_call" and m.get("member") in LOGIND.values()]

    def start_desktop(self, desktop, home):
        """The desktop's buses and session manager; returns the session manager."""
        # A display and a logind of its own: nothing one desktop leaves (windows, inhibitors)
        # reaches the next.
        self.display = x_session.Display(os.path.join(home, "xvfb.log"))
        os.environ["DISPLAY"] = self.display.name
        self.buses.start_system_bus()
        _, self.logind = self.buses.spawn_server_template("logind", stdout=subprocess.DEVNULL)
        self.monitor_log = f"{home}/logind.log"
        x_session.spawn(["busctl", "--address=" + os.environ["DBUS_SYSTEM_BUS_ADDRESS"],
                         "monitor", "--json=short", "org.freedesktop.login1"], self.monitor_log)
        x_session.wait_until(lambda: "Monitoring" in x_session.read(self.monitor_log),
                             "busctl watching logind")
        for sub in ("config", "data", "cache", "runtime", "autostart"):
            os.makedirs(os.path.join(home, sub), mode=0o700)
        os.environ.update(HOME=home, XDG_CONFIG_HOME=f"{home}/config",
                          XDG_DATA_HOME=f"{home}/data", XDG_CACHE_HOME=f"{home}/cache",
                          XDG_RUNTIME_DIR=f"{home}/runtime", GSETTINGS_BACKEND="keyfile")
        # The machine's autostart entries hidden: a session still starting them refuses or
        # stalls a shutdown, which is not what is tested here.
        for entry in os.listdir("/etc/xdg/autostart"):
            write(f"{home}/config/autostart/{entry}",
                  "[Desktop Entry]\nType=Application\nName=hidden\nHidden=true\n")
        for path, text in desktop.get("files", {}).items():
            write(os.path.join(home, path), text)
        if os.path.isdir(f"{home}/schemas"):
            subprocess.run(["glib-compile-schemas", f"{home}/schemas"], check=True)
            os.environ["GSETTINGS_SCHEMA_DIR"] = f"{home}/schemas"
        self.buses.start_session_bus()  # after the files and variables its services read
        for service in desktop.get("services", []):
            self.buses.enable_service(service)
        if desktop.get("cancelled"):
            self.start_end_session_dialog(home)
        if not desktop["command"]:
            return None
        if desktop.get("wm") == "before":
            self.start_window_manager()  # the session then finds it running
        command = [part.replace("{home}", home) for part in desktop["command"]]
        manager = x_session.spawn(command, f"{home}/session.log")
        bus = self.buses.get_dbus()
        x_session.wait_until(lambda: bus.name_has_owner(desktop["owner"]),
                             f"{desktop['name']}'s session manager on the bus", timeout=30,
                             process=manager)
        if "idle" in desktop:  # it takes requests only once it has started its session
            service, path, interface, method, idle = desktop["idle"]
            state = bus.get_object(service, path).get_dbus_method(method, interface)
            x_session.wait_until(lambda: state() == idle, "the session idle", process=manager)
        bus.close()
        if desktop.get("wm") == "required":
            self.wait_for_window_manager(manager)
        return manager

    def start_window_manager(self):
        self.wait_for_window_manager(
            x_session.spawn(["openbox"], os.path.join(os.environ["HOME"], "openbox.log")))

    def wait_for_window_manager(self, process):
        """A window mapped while openbox is still taking over the screen stays hidden."""
        x_session.wait_until(lambda: "window id" in self.display.run(
            "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False).stdout,
                             "openbox managing the screen", process=process)

    def start_end_session_dialog(self, home):
        self.shell_log = f"{home}/shell.log"
        path = "/org/gnome/SessionManager/EndSessionDialog"
        with open(self.shell_log, "wb") as log:
            self.buses.spawn_server("org.gnome.Shell", path,
                                    "org.gnome.SessionManager.EndSessionDialog", stdout=log)
        bus = self.buses.get_dbus()
        bus.get_object("org.gnome.Shell", path).AddMethod(
            "org.gnome.SessionManager.EndSessionDialog", "Open", "uuuao", "",
            END_SESSION_DIALOG, dbus_interface=dbusmock.MOCK_IFACE)
        bus.close()

    def confirm(self, window, label):
        window.double_click(label)
        window.answer("Sure?", "Return")  # Yes is the default

    def boxes(self, window):
        return [w for w in self.display.windows("Tolvane") if w != window.window]

    def assert_no_box(self, window):
        time.sleep(SETTLE)
        self.assertTrue(window.alive(), "the program ended")
        self.assertEqual(self.boxes(window), [], "a box titled Tolvane")

    def test_yes_reaches_logind_through_each_desktop_a_cancel_silently_an_error_in_a_box(self):
        only = os.environ.get("TOLVANE_DESKTOPS", "").split()  # to rerun some rows by hand
        for desktop in DESKTOPS:
            with self.subTest(desktop=desktop["name"]):
                if desktop["command"] and not shutil.which(desktop["command"][0]):
                    self.skipTest(f"{desktop['command'][0]} is not installed")
                if not only or desktop["name"] in only:
                    self.check_desktop(desktop)

    def check_desktop(self, desktop):
        label = desktop["label"]
        unconfirmed = "shutdown" if label == "restart" else "restart"
        with self.desktop(desktop) as (manager, home):
            env = dict(os.environ)
            if manager:  # then only the session manager can reach logind: calls there are its
                env["DBUS_SYSTEM_BUS_ADDRESS"] = linux_program.nowhere(home, "system")
            else:  # read over AT-SPI too
                self.buses.enable_service("org.a11y.Bus")
                env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
            program = linux_program.start(self.display, PROGRAM, home, env)
            window = frm_main_driver.MainWindow(self.display, program, DESCRIPTION)
            window.wait_for_live_uptime()
            if desktop.get("cancelled"):
                self.confirm(window, unconfirmed)
                x_session.wait_until(lambda: "Canceled" in x_session.read(self.shell_log),
                                     "the dialog cancelled", process=window.program)
                self.assert_no_box(window)
            self.confirm(window, label)
            x_session.wait_until(lambda: self.logind_calls() or self.boxes(window),
                                 f"logind's {LOGIND[label]}", timeout=30)
            calls = self.logind_calls()
            self.assertEqual({method for method, _, _ in calls}, {LOGIND[label]})
            if manager:  # which ends the session, as the restart would; still no box
                manager.kill()
                self.assert_no_box(window)
            else:
                self.check_program_alone(window, calls, label, unconfirmed)

    def check_program_alone(self, window, calls, label, unconfirmed):
        """The program's own wiring, end to end, on the row without a desktop."""
        # Its own call: interactive, in the header and the argument.
        self.assertEqual(calls, [(LOGIND[label], True, [True])])
        self.assert_no_box(window)
        window.about()
        # Its window's class is the one its menu entry names: desktops on X11 tie the two.
        wm_class = re.search(r"^StartupWMClass=(.*)$", x_session.read(MENU_ENTRY), re.M)[1]
        self.assertRegex(self.display.run("xprop", "-id", str(window.window), "WM_CLASS").stdout,
                         f'"{re.escape(wm_class)}"$')
        # A normal window, which desktops keep in the task bar and Alt+Tab.
        self.assertIn("_NET_WM_WINDOW_TYPE_NORMAL", self.display.run(
            "xprop", "-id", str(window.window), "_NET_WM_WINDOW_TYPE").stdout)
        self.logind.AddMethod(
            "org.freedesktop.login1.Manager", LOGIND[unconfirmed], "b", "",
            "raise dbus.exceptions.DBusException('Operation inhibited.', "
            "name='org.freedesktop.DBus.Error.AccessDenied')",
            dbus_interface=dbusmock.MOCK_IFACE)
        self.start_window_manager()  # which hands the focus back as boxes close
        # Framed, the window is managed, and openbox has grabbed its keys before that.
        x_session.wait_until(lambda: " = " in self.display.run(
            "xprop", "-id", str(window.window), "_NET_FRAME_EXTENTS", check=False).stdout,
                             "openbox managing the window", process=window.program)
        self.check_keyboard_alone(window, unconfirmed)
        self.assertEqual(self.logind_calls()[1:], [(LOGIND[unconfirmed], True, [True])])
        # A hung session bus leaves the window live and closable. Stopped, the bus still
        # accepts connections but never answers. (Hung from the start, it would hang Qt's own
        # accessibility bridge before the window shows.)
        os.kill(self.buses.session_bus_pid, signal.SIGSTOP)
        self.confirm(window, label)
        window.wait_for_live_uptime()
        self.display.xdotool("windowactivate", "--sync", str(window.window))
        self.display.key("alt+F4")
        self.assertEqual(window.program.wait(timeout=10), 0)

    def check_keyboard_alone(self, window, label):
        """Enter, Escape, Enter opens "Sure?" twice; held, Space and Return never answer it; the
        first Return answers the refusal; a held arrow moves the caret (if the server repeats)."""
        self.assertRegex(self.display.run("xset", "q").stdout, r"auto repeat:\s+on")
        window.tab_to(label)
        for held in (None, None, "space", "Return"):  # Enter, Escape, Enter; then held
            window.hold(held) if held else self.display.key("Return")
            self.display.wait_for_window("Sure?", window.program)
            self.assertEqual(len(self.display.windows("Sure?")), 1, "held, it answered")
            if held != "Return":
                self.display.key("Escape")
                x_session.wait_until(lambda: not self.display.windows("Sure?"), "Escape")
        self.display.key("Return")
        x_session.wait_until(lambda: self.boxes(window), "a box for logind's error",
                             process=window.program)
        self.display.key("Return")
        x_session.wait_until(lambda: not self.boxes(window), "the error box closed")
        window.tab_to("txtUptime")
        self.display.key("End")
        window.hold("Left")
        x_session.wait_until(lambda: uptime_caret() == 0, "the caret at the start", timeout=5)

    def test_wayland_native_window_read_and_pressed_over_atspi(self):
        with self.desktop(DESKTOPS[-1]) as (_, home):
            env = {name: value for name, value in os.environ.items() if name != "DISPLAY"}
            self.buses.enable_service("org.a11y.Bus")  # the accessibility bus, as a desktop's
            x_session.spawn(["weston", "--backend=headless-backend.so",
                             "--socket=tolvane-wayland", "--idle-time=0"], f"{home}/weston.log",
                            env)
            x_session.wait_until(lambda: os.path.exists(f"{home}/runtime/tolvane-wayland"),
                                 "weston")
            env.update(WAYLAND_DISPLAY="tolvane-wayland", QT_QPA_PLATFORM="wayland",
                       WAYLAND_DEBUG="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
            program = x_session.spawn([PROGRAM], f"{home}/tolvane.log", env)

            def wait(condition, what):
                return x_session.wait_until(condition, what, process=program)

            import pyatspi  # only now: it finds the accessibility bus when first imported

            app = wait(lambda: find(pyatspi.Registry.getDesktop(0), pyatspi.ROLE_APPLICATION,
                                    "^Tolvane$"), "Tolvane on AT-SPI")
            # Wayland's own window, named for the menu entry.
            app_id = re.compile(r'xdg_toplevel@\d+\.set_app_id\("org\.tolvane\.Tolvane"\)')
            wait(lambda: app_id.search(x_session.read(f"{home}/tolvane.log")), "the app id")
            heading = wait(lambda: find(app, pyatspi.ROLE_LABEL, "has been up for:"), "heading")
            self.assertIn(socket.gethostname(), heading.name)
            uptime = find(app, pyatspi.ROLE_TEXT, "^Uptime$").queryText()
            first = wait(lambda: uptime.getText(0, -1), "an uptime")
            wait(lambda: uptime.getText(0, -1) != first, "the uptime moving on")
            restart = find(app, pyatspi.ROLE_PUSH_BUTTON, "Restart the Computer").queryAction()
            self.assertEqual(restart.getName(0), "press")
            restart.doAction(0)
            wait(lambda: find(app, pyatspi.ROLE_ALERT, r"^Sure\?$"), '"Sure?"')
            restart.doAction(0)  # while it is open: nothing
            time.sleep(SETTLE)
            self.assertEqual(sum(child.getRole() == pyatspi.ROLE_ALERT for child in app), 1)

    def test_without_a_display_it_says_so_in_one_line_and_exits_with_1(self):
        env = {name: value for name, value in linux_program.no_buses(self.dir).items()
               if name not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
        done = subprocess.run([PROGRAM], env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=20, check=False)
        self.assertEqual(done.returncode, 1)
        self.assertEqual(done.stderr, "tolvane: no display found (DISPLAY or WAYLAND_DISPLAY)\n")

    def test_soak_resident_memory_stays_flat_and_the_timer_runs(self):
        """Left running (TOLVANE_SOAK_SECONDS, 60 by default), it may not grow by more than
        256 KiB resident from its 10th second, when fonts and first paints are done."""
        display = x_session.Display(os.path.join(self.dir, "xvfb.log"))
        self.addCleanup(display.close)
        started = time.monotonic()
        program = linux_program.start(display, PROGRAM, self.dir, linux_program.no_buses(self.dir))
        self.addCleanup(x_session.stop, program)
        display.wait_for_window("Tolvane", process=program)

        def sample_at(second):  # (KiB resident, CPU ticks used so far)
            time.sleep(max(0.0, started + second - time.monotonic()))
            self.assertIsNone(program.poll(), "the program ended")
            status = x_session.read(f"/proc/{program.pid}/status")
            stat = x_session.read(f"/proc/{program.pid}/stat").rsplit(")", 1)[1].split()
            return (int(re.search(r"^VmRSS:\s+(\d+) kB", status, re.M).group(1)),
                    int(stat[11]) + int(stat[12]))  # utime + stime

        (settled, used), (last, used_after) = sample_at(10), sample_at(
            float(os.environ.get("TOLVANE_SOAK_SECONDS", "60")))
        print(f"VmRSS grew {last - settled} KiB after the 10th second", file=sys.stderr)
        self.assertGreater(used_after, used, "no CPU time after settling: the timer stopped")
        self.assertLessEqual(last - settled, 256)

    @contextlib.contextmanager
    def desktop(self, desktop):
        """The desktop running in a home of its own; afterwards nothing of it is left."""
        home = tempfile.mkdtemp(prefix=f"{desktop['name']}-", dir=self.dir)
        try:
            yield self.start_desktop(desktop, home), home
        except BaseException:
            x_session.print_logs(home, "session.log", "openbox.log", "tolvane.log", "shell.log",
                                 "logind.log", "weston.log")
            raise
        finally:
            stop_all()
            self.display.close()
            self.buses.system_bus_pid = self.buses.session_bus_pid = None
            for variable in ("DBUS_SYSTEM_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS",
                             "GSETTINGS_SCHEMA_DIR"):
                os.environ.pop(variable, None)
            with contextlib.suppress(OSError):
                shutil.rmtree(self.buses.get_services_dir())
                os.makedirs(self.buses.get_services_dir())


def uptime_caret():
    """Where the uptime box's caret is, over AT-SPI in a process of its own: pyatspi keeps
    the accessibility bus it first found."""
    script = ("import pyatspi, linux_program_test as t\n"
              "app = t.find(pyatspi.Registry.getDesktop(0), pyatspi.ROLE_APPLICATION, 'Tolvane')\n"
              "print(t.find(app, pyatspi.ROLE_TEXT, '^Uptime$').queryText().caretOffset)")
    done = subprocess.run([sys.executable, "-c", script], capture_output=True, text=True,
                          env=dict(os.environ, PYTHONPATH=os.path.dirname(__file__)), timeout=20)
    return int(done.stdout) if done.returncode == 0 else -1  # not yet on the bus


def find(root, role, name_pattern):
    """The first node below root, depth first, with that role and a name matching."""
    for child in filter(None, (root.getChildAtIndex(i) for i in range(root.childCount))):
        if child.getRole() == role and re.search(name_pattern, child.name or ""):
            return child
        if (found := find(child, role, name_pattern)) is not None:
            return found
    return None


if __name__ == "__main__":
    if not shutil.which("openbox") or not shutil.which("busctl"):
        print("SKIP: openbox or busctl is not installed (scripts/bootstrap installs them)")
        sys.exit(SKIP_CODE)
    PR_SET_CHILD_SUBREAPER = 36
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    DESCRIPTION = sys.argv.pop(1)
    MENU_ENTRY = sys.argv.pop(1)
    unittest.main(verbosity=2)
