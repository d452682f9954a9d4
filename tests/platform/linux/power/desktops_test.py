"""Restart and power off through each desktop's real session manager, driven as a user would.

    desktops_test.py TOLVANE XSMP_CANCEL_CLIENT

Each desktop runs headless on an Xvfb and a session bus of its own; python3-dbusmock's logind
listens on a private system bus, started first so that services the session bus starts on
demand (plasma-shutdown, xfconfd) inherit it. Exits with SKIP_CODE when a session manager is
not installed.
"""

import contextlib
import ctypes
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import textwrap
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "..", "e2e"))
import frm_main_driver  # noqa: E402
import linux_program  # noqa: E402
import x_session  # noqa: E402

SKIP_CODE = 77
PROGRAM = XSMP_CLIENT = None
GNOME_SESSION = "/usr/libexec/gnome-session-binary"
LOGIND_CALL = {"restart": "Reboot True", "shutdown": "PowerOff True"}
SETTLE = 2.0  # seconds a cancelled request is given to show a box or reach logind anyway

XFCE_CHANNEL = """<?xml version="1.0" encoding="UTF-8"?>
<channel name="xfce4-session" version="1.0">
  <property name="sessions" type="empty">
    <property name="Failsafe" type="empty">
      <property name="IsFailsafe" type="bool" value="true"/>
      <!-- An empty failsafe session is an error; a client that cannot start is not. -->
      <property name="Count" type="int" value="1"/>
      <property name="Client0_Command" type="array">
        <value type="string" value="/nonexistent/window-manager"/>
      </property>
      <property name="Client0_Priority" type="int" value="15"/>
      <property name="Client0_PerScreen" type="bool" value="false"/>
    </property>
  </property>
</channel>
"""

# Files each desktop needs in the test's home, and how it is started. "{dir}" is the home.
DESKTOPS = {
    "kde": dict(command=["ksmserver"], owner="org.kde.ksmserver",
                activatable=["org.kde.Shutdown"], files={}),
    "xfce": dict(command=["xfce4-session"], owner="org.xfce.SessionManager",
                 activatable=["org.xfce.Xfconf"],
                 files={"config/xfce4/xfconf/xfce-perchannel-xml/xfce4-session.xml": XFCE_CHANNEL}),
    "mate": dict(command=["mate-session", "-a", "{dir}/autostart"],
                 owner="org.gnome.SessionManager", activatable=[],
                 files={"config/glib-2.0/settings/keyfile": textwrap.dedent("""\
                     [org/mate/desktop/session]
                     required-components-list=@as []
                     default-session=@as []
                     gnome-compat-startup=@as []
                     """)}),
    "cinnamon": dict(command=["cinnamon-session", "--session=tolvane", "-a", "{dir}/autostart"],
                     owner="org.gnome.SessionManager", activatable=[],
                     files={"config/cinnamon-session/sessions/tolvane.session": textwrap.dedent("""\
                         [Cinnamon Session]
                         Name=Tolvane test
                         RequiredComponents=openbox;
                         """),
                            # The keys it reads from Cinnamon's settings daemon and shell, which
                            # are not installed: their defaults, not a stand-in for a service.
                            "schemas/tolvane-cinnamon.gschema.xml": textwrap.dedent("""\
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
                         """)}),
    "gnome": dict(command=[GNOME_SESSION, "--builtin", "--session=tolvane",
                           "--disable-acceleration-check", "-a", "{dir}/autostart"],
                  owner="org.gnome.SessionManager", activatable=[],
                  files={"config/gnome-session/sessions/tolvane.session": textwrap.dedent("""\
                      [GNOME Session]
                      Name=Tolvane test
                      RequiredComponents=
                      """)}),
    "lxqt": dict(command=["lxqt-session"], owner="org.lxqt.session", activatable=[],
                 files={"config/lxqt/session.conf": "[General]\nwindow_manager=openbox\n"}),
    "none": dict(command=None, owner=None, activatable=[], files={}),
}

# desktop, [(how the end of the session is refused, label)...], then the label confirmed.
# "xsmp": an application refuses through XSMP; "dialog": the user cancels GNOME Shell's dialog.
TABLE = [
    ("kde", [("xsmp", "shutdown")], "restart"),
    ("xfce", [("xsmp", "restart")], "shutdown"),
    ("mate", [("xsmp", "shutdown")], "restart"),
    ("cinnamon", [], "shutdown"),
    ("gnome", [("dialog", "shutdown"), ("xsmp", "restart")], "restart"),
    ("lxqt", [], "shutdown"),
    ("none", [], "restart"),
]

# Stands in for GNOME Shell, a compositor that cannot run here: its end-session dialog answers
# Open with the signal named in the file ANSWER, as the user's click would, a moment later.
END_SESSION_DIALOG = """\
from gi.repository import GLib
answer = open({answer!r}).read().strip()
signal = answer or ('ConfirmedReboot' if args[0] == 2 else 'ConfirmedShutdown')
GLib.timeout_add(300, lambda obj=self, signal=signal: obj.EmitSignal(
    'org.gnome.SessionManager.EndSessionDialog', signal, '', []) and False)
"""


def missing_programs():
    needed = [d["command"][0] for d in DESKTOPS.values() if d["command"]] + ["openbox"]
    return [p for p in needed if not shutil.which(p) and not os.access(p, os.X_OK)]


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


class DesktopsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.buses = linux_program.DBusTestCase
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

    def logind_log(self):
        return x_session.read(self.logind_log_path)

    def start_desktop(self, name, home):
        """The desktop's session bus and session manager; returns the session manager."""
        desktop = DESKTOPS[name]
        # A display of its own: what one desktop leaves on the X server cannot reach the next.
        self.display = x_session.Display(os.path.join(home, "xvfb.log"))
        os.environ["DISPLAY"] = self.display.name
        # And a logind of its own: no inhibitor one session manager took is left for the next.
        self.buses.start_system_bus()
        self.logind_log_path = os.path.join(home, "logind.log")
        with open(self.logind_log_path, "wb") as log:
            self.buses.spawn_server_template("logind", stdout=log)
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
        for path, text in desktop["files"].items():
            write(os.path.join(home, path), text)
        if os.path.isdir(f"{home}/schemas"):
            subprocess.run(["glib-compile-schemas", f"{home}/schemas"], check=True)
            os.environ["GSETTINGS_SCHEMA_DIR"] = f"{home}/schemas"
        self.buses.start_session_bus()  # after the files and variables its services read
        for service in desktop["activatable"]:
            self.buses.enable_service(service)
        if name == "gnome":
            self.start_end_session_dialog(home)
        if not desktop["command"]:
            return None
        if "window_manager=openbox" in str(desktop["files"]):
            self.start_window_manager()  # the session then finds it running
        command = [part.replace("{dir}", home) for part in desktop["command"]]
        manager = x_session.spawn(command, f"{home}/session.log")
        bus = self.buses.get_dbus()
        x_session.wait_until(lambda: bus.name_has_owner(desktop["owner"]),
                             f"{name}'s session manager on the bus", timeout=30,
                             process=manager)
        if name == "xfce":  # it takes requests only once it has started its session
            session = bus.get_object("org.xfce.SessionManager", "/org/xfce/SessionManager")
            x_session.wait_until(lambda: session.GetState(
                dbus_interface="org.xfce.Session.Manager") == 1, "XFCE's session idle",
                process=manager)
        bus.close()
        if "RequiredComponents=openbox" in str(desktop["files"]):
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
        self.dialog_answer = f"{home}/dialog-answer"
        write(self.dialog_answer, "")
        with open(f"{home}/shell.log", "wb") as log:
            self.buses.spawn_server(
                "org.gnome.Shell", "/org/gnome/SessionManager/EndSessionDialog",
                "org.gnome.SessionManager.EndSessionDialog", stdout=log)
        bus = self.buses.get_dbus()
        dialog = bus.get_object("org.gnome.Shell", "/org/gnome/SessionManager/EndSessionDialog")
        dialog.AddMethod("org.gnome.SessionManager.EndSessionDialog", "Open", "uuuao", "",
                         END_SESSION_DIALOG.format(answer=self.dialog_answer),
                         dbus_interface="org.freedesktop.DBus.Mock")
        bus.close()

    def start_program(self, home, reaches_logind=True):
        env = dict(os.environ)
        if not reaches_logind:
            # Then only the session manager can reach logind: a call there went through it.
            env["DBUS_SYSTEM_BUS_ADDRESS"] = linux_program.nowhere(home, "system")
        program = linux_program.start(self.display, PROGRAM, home, env)
        return frm_main_driver.MainWindow(self.display, program, home)

    def confirm(self, window, label):
        window.double_click(label)
        window.answer("Sure?", "Return")  # Yes is the default

    def assert_no_box(self, window):
        self.assertTrue(window.alive(), "the program ended")
        self.assertEqual(len(self.display.windows("Tolvane")), 1, "a box titled Tolvane")

    def refuse(self, name, manager, window, how, label, home):
        """Yes on label, then the end of the session refused by an XSMP client, or on GNOME
        by cancelling the shell's dialog (which also lists a refusing client: cancelled)."""
        logged = len(self.logind_log())
        if name == "gnome":
            write(self.dialog_answer, "Canceled")
        log, refused = f"{home}/shell.log", "Canceled"
        if how == "xsmp":
            host, ice = socket.gethostname(), f"/tmp/.ICE-unix/{manager.pid}"
            log, refused = f"{home}/xsmp.log", "cancelling\n"
            client = x_session.spawn([XSMP_CLIENT], log, dict(
                os.environ, SESSION_MANAGER=f"local/{host}:@{ice},unix/{host}:{ice}"))
            x_session.wait_until(lambda: "registered\n" in x_session.read(log),
                                 "the XSMP client registered", process=client)
        self.confirm(window, label)
        x_session.wait_until(lambda: refused in x_session.read(log),
                             f"the end of the session refused ({how}) on {name}",
                             process=window.program)
        time.sleep(SETTLE)
        for call in LOGIND_CALL.values():
            self.assertNotIn(call, self.logind_log()[logged:])
        self.assert_no_box(window)
        self.assertIsNone(manager.poll(), "the session ended")
        if name == "gnome":
            write(self.dialog_answer, "")

    def test_yes_ends_the_session_through_each_desktop_and_a_refusal_is_silent(self):
        only = os.environ.get("TOLVANE_DESKTOPS", "").split()  # to rerun some rows by hand
        for name, refusals, label in TABLE:
            if only and name not in only:
                continue
            with self.subTest(desktop=name), self.desktop(name) as (manager, home):
                window = self.start_program(home, reaches_logind=name == "none")
                window.wait_for_live_uptime()
                for how, refused_label in refusals:
                    self.refuse(name, manager, window, how, refused_label, home)
                logged = len(self.logind_log())
                self.confirm(window, label)
                x_session.wait_until(
                    lambda: LOGIND_CALL[label] in self.logind_log()[logged:]
                    or len(self.display.windows("Tolvane")) > 1,
                    f"logind's {LOGIND_CALL[label]} through {name}", timeout=30)
                self.assert_no_box(window)
                self.assertIn(LOGIND_CALL[label], self.logind_log()[logged:])

    def test_a_hung_session_bus_leaves_the_window_live_and_closable(self):
        with self.desktop("none") as (_, home):
            self.start_window_manager()  # to close the window as the user would
            window = self.start_program(home)
            window.wait_for_live_uptime()
            # Stopped, the bus still accepts connections but never answers. (Hung from the
            # start, it would hang Qt's own accessibility bridge before the window shows.)
            os.kill(self.buses.session_bus_pid, signal.SIGSTOP)
            self.confirm(window, "restart")
            window.wait_for_live_uptime()
            self.display.xdotool("windowactivate", "--sync", str(window.window))
            self.display.key("alt+F4")
            self.assertEqual(window.program.wait(timeout=10), 0)

    @contextlib.contextmanager
    def desktop(self, name):
        """The desktop running in a home of its own; afterwards nothing of it is left."""
        home = tempfile.mkdtemp(prefix=f"{name}-", dir=self.dir)
        try:
            yield self.start_desktop(name, home), home
        except BaseException:
            x_session.print_logs(home, "session.log", "openbox.log", "tolvane.log", "xsmp.log",
                                 "shell.log", "logind.log")
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


if __name__ == "__main__":
    missing = missing_programs()
    if missing:
        print(f"SKIP: not installed: {' '.join(missing)} (scripts/bootstrap installs them)")
        sys.exit(SKIP_CODE)
    PR_SET_CHILD_SUBREAPER = 36
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
    PROGRAM, XSMP_CLIENT = (os.path.abspath(a) for a in sys.argv[1:3])
    del sys.argv[1:3]
    unittest.main(verbosity=2)
