"""The Linux program end to end: restart and power off through each desktop's real session
manager, headless on an Xvfb and buses of its own (the last row, no desktop, is the program's
own run on X11); natively on Wayland, over AT-SPI; its command line; and left running a minute.

    linux_program_test.py TOLVANE WINDOW_DESCRIPTION.json MENU_ENTRY.desktop VERSION
                          [-k desktop | -k wayland | -k command_line | -k soak ...]

python3-dbusmock's logind is started first, so that services the session bus starts on demand
(plasma-shutdown, xfconfd) inherit its private system bus.
"""

import contextlib
import ctypes
import json
import os
import pathlib
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
import x_session

LOGIND = {"restart": "Reboot", "shutdown": "PowerOff"}
CAN = {"restart": "CanReboot", "shutdown": "CanPowerOff"}
MANAGER = "org.freedesktop.login1.Manager"
INTERACTIVE = 0x4  # the header flag ALLOW_INTERACTIVE_AUTHORIZATION
DENIED = ("raise dbus.exceptions.DBusException('Operation inhibited.', "
          "name='org.freedesktop.DBus.Error.AccessDenied')")  # polkit's refusal
# logind stopping each label's request first: its answer to CanReboot or CanPowerOff, the
# inhibitors held (what, who, why, mode; only the first blocks a shutdown) and the words shown.
STOPS = {
    "restart": ("no", [], 'This user may not restart this computer now (systemd-logind '
                'answered "no").'),
    "shutdown": ("challenge", [("sleep:shutdown", "Updates", "Installing\u2028 security\u202e",
                                "block"), ("shutdown", "Delay", "x", "delay"),
                               ("sleep", "Sleep", "x", "block")],
                 "Programs that must finish first do not let this computer shut down now:\n"
                 "Updates: Installing security"),
}

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

# Each desktop: how it starts ("{home}" is the test's home), the bus name that shows it is up
# (GNOME's, which MATE and Cinnamon keep, unless given), the services D-Bus starts for it on
# demand, the files it reads, openbox started "before" it or awaited as its "required"
# component, the call that says it is "idle"; the requests that reach it for restart and shut
# down, those for the other label first when "cancelled" in GNOME Shell's dialog; whether it
# "asks_logind" itself first; and whether it is "silent", never answering a request that
# succeeds.
DESKTOPS = [
    dict(name="kde", command=["ksmserver"], owner="org.kde.ksmserver",
         services=["org.kde.Shutdown"], requests=("logoutAndReboot", "logoutAndShutdown")),
    dict(name="xfce", command=["xfce4-session"], owner="org.xfce.SessionManager",
         services=["org.xfce.Xfconf"],
         files={"config/xfce4/xfconf/xfce-perchannel-xml/xfce4-session.xml": XFCE_CHANNEL},
         idle=("org.xfce.SessionManager", "/org/xfce/SessionManager",
               "org.xfce.Session.Manager", "GetState", 1),
         wm="required", requests=("Restart", "Shutdown"), asks_logind=True),
    dict(name="mate", command=["mate-session", "-a", "{home}/autostart"],
         files={"config/glib-2.0/settings/keyfile": "[org/mate/desktop/session]\n"
                "required-components-list=@as []\ndefault-session=@as []\n"
                "gnome-compat-startup=@as []\n"},
         requests=("RequestReboot", "RequestShutdown")),
    dict(name="cinnamon",
         command=["cinnamon-session", "--session=tolvane", "-a", "{home}/autostart"],
         files={"config/cinnamon-session/sessions/tolvane.session":
                "[Cinnamon Session]\nName=Tolvane test\nRequiredComponents=openbox;\n",
                "schemas/tolvane-cinnamon.gschema.xml": CINNAMON_SCHEMAS},
         wm="required", requests=("RequestReboot", "RequestShutdown")),
    dict(name="gnome",
         command=["/usr/libexec/gnome-session-binary", "--builtin", "--session=tolvane",
                  "--disable-acceleration-check", "-a", "{home}/autostart"],
         files={"config/gnome-session/sessions/tolvane.session":
                "[GNOME Session]\nName=Tolvane test\nRequiredComponents=\n"},
         requests=("RequestReboot Reboot", "RequestShutdown Shutdown"), cancelled=True,
         silent=True),
    dict(name="lxqt", command=["lxqt-session"], owner="org.lxqt.session",
         files={"config/lxqt/session.conf": "[General]\nwindow_manager=openbox\n"},
         wm="before", requests=("reboot", "powerOff"), silent=True),
    dict(name="none", command=None, requests=("", "")),
]
REQUESTS = {name for desktop in DESKTOPS for names in desktop["requests"]
            for name in names.split()}


def method_calls(log, members):
    """The calls to members that busctl has written whole into log."""
    logged = (json.loads(line) for line in x_session.read(log).split("\n")[:-1]
              if line.startswith("{"))
    return [m for m in logged if m["type"] == "method_call" and m.get("member") in members]


def monitor(address, log, *names):
    """busctl watching what reaches names (all when none) on a bus, into log."""
    x_session.spawn(["busctl", "--address=" + address, "monitor", "--json=short", *names], log)
    x_session.wait_until(lambda: "Monitoring" in x_session.read(log), f"busctl on {log}")
    return log


def start_program(home, **env):
    """The program on the desktop's X display."""
    return x_session.spawn([PROGRAM], f"{home}/tolvane.log",
                           dict(os.environ, QT_QPA_PLATFORM="xcb", **env))


def stop_all():
    """Kills what the desktop started: this process is a subreaper, so daemons that left their
    parent come back to it as children, round after round, until none is left."""
    while children := {int(pid) for task in os.listdir("/proc/self/task")
                       for pid in x_session.read(f"/proc/self/task/{task}/children").split()}:
        for pid in children:
            with contextlib.suppress(ProcessLookupError, ChildProcessError):
                os.kill(pid, signal.SIGKILL)
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
        return [(m["member"], bool(m["flags"] & INTERACTIVE), m["payload"]["data"])
                for m in method_calls(self.monitor_log, LOGIND.values())]

    def requests(self):  # that reached a session manager
        return [m["member"] for m in method_calls(self.session_log, REQUESTS)]

    def start_desktop(self, desktop, home):
        """Returns the session manager, started on its own buses. A display and a logind of its
        own: nothing one desktop leaves (windows, inhibitors) reaches the next."""
        self.display = x_session.Display(os.path.join(home, "xvfb.log"))
        os.environ["DISPLAY"] = self.display.name
        self.buses.start_system_bus()
        _, self.logind = self.buses.spawn_server_template("logind", stdout=subprocess.DEVNULL)
        self.monitor_log = monitor(os.environ["DBUS_SYSTEM_BUS_ADDRESS"], f"{home}/logind.log",
                                   "org.freedesktop.login1")
        for sub in ("config", "data", "cache", "runtime", "autostart"):
            os.makedirs(os.path.join(home, sub), mode=0o700)
        os.environ.update(HOME=home, XDG_CONFIG_HOME=f"{home}/config",
                          XDG_DATA_HOME=f"{home}/data", XDG_CACHE_HOME=f"{home}/cache",
                          XDG_RUNTIME_DIR=f"{home}/runtime", GSETTINGS_BACKEND="keyfile")
        # The machine's autostart entries hidden: a session still starting them refuses or
        # stalls a shutdown, which is not what is tested here.
        hidden = "[Desktop Entry]\nType=Application\nName=hidden\nHidden=true\n"
        files = {f"config/autostart/{entry}": hidden for entry in os.listdir("/etc/xdg/autostart")}
        for path, text in {**files, **desktop.get("files", {})}.items():
            (target := pathlib.Path(home, path)).parent.mkdir(parents=True, exist_ok=True)
            target.write_text(text)
        if os.path.isdir(f"{home}/schemas"):
            subprocess.run(["glib-compile-schemas", f"{home}/schemas"], check=True)
            os.environ["GSETTINGS_SCHEMA_DIR"] = f"{home}/schemas"
        self.buses.start_session_bus()  # after the files and variables its services read
        self.session_log = monitor(os.environ["DBUS_SESSION_BUS_ADDRESS"], f"{home}/session.json")
        for service in ["org.a11y.Bus", *desktop.get("services", [])]:  # a11y: as a desktop's
            self.buses.enable_service(service)
        if desktop.get("cancelled"):
            self.shell_log, path = f"{home}/shell.log", "/org/gnome/SessionManager/EndSessionDialog"
            with open(self.shell_log, "wb") as log:
                self.buses.spawn_server("org.gnome.Shell", path,
                                        "org.gnome.SessionManager.EndSessionDialog", stdout=log)
            with contextlib.closing(self.buses.get_dbus()) as bus:
                bus.get_object("org.gnome.Shell", path).AddMethod(
                    "org.gnome.SessionManager.EndSessionDialog", "Open", "uuuao", "",
                    END_SESSION_DIALOG, dbus_interface=dbusmock.MOCK_IFACE)
        if not desktop["command"]:
            return None
        if desktop.get("wm") == "before":
            self.window_manager()  # the session then finds it running
        command = [part.replace("{home}", home) for part in desktop["command"]]
        manager = x_session.spawn(command, f"{home}/session.log")
        bus = self.buses.get_dbus()
        owner = desktop.get("owner", "org.gnome.SessionManager")
        x_session.wait_until(lambda: bus.name_has_owner(owner),
                             f"{desktop['name']}'s session manager on the bus", timeout=30,
                             process=manager)
        if "idle" in desktop:  # it takes requests only once it has started its session
            service, path, interface, method, idle = desktop["idle"]
            state = bus.get_object(service, path).get_dbus_method(method, interface)
            x_session.wait_until(lambda: state() == idle, "the session idle", process=manager)
        bus.close()
        if desktop.get("wm") == "required":
            self.window_manager(manager)
        return manager

    def window_manager(self, process=None):
        """openbox, started unless given, managing the screen: windows mapped sooner stay hidden."""
        process = process or x_session.spawn(["openbox"], f"{os.environ['HOME']}/openbox.log")
        x_session.wait_until(lambda: "window id" in self.display.run(
            "xprop", "-root", "_NET_SUPPORTING_WM_CHECK", check=False).stdout,
                             "openbox managing the screen", process=process)

    def confirm(self, window, label):
        window.double_click(label)
        window.answer("Sure?", "Return")  # Yes is the default

    def boxes(self, window):
        return [w for w in self.display.windows("Tolvane") if w != window.window]

    def box_text(self, window):
        """The words of the box that the answer brought, read over AT-SPI as a screen reader
        would, then answered by its first Return, even when it opened at once."""
        x_session.wait_until(lambda: self.boxes(window), "a box", process=window.program)
        text = x_session.wait_until(lambda: over_atspi("box"), "the box's words over AT-SPI",
                                    process=window.program)
        window.focus(self.boxes(window)[0])
        self.display.key("Return")
        x_session.wait_until(lambda: not self.boxes(window), "the box closed by one Return")
        return text

    def assert_no_box(self, window, label):
        """The window acts again, so the answer has come, and no box came with it."""
        def acts():
            self.assertEqual(self.boxes(window), [], "a box titled Tolvane")
            window.double_click(label)
            return self.display.windows("Sure?")
        x_session.wait_until(acts, "the window acting again", process=window.program)
        window.answer("Sure?", "Escape")

    def test_yes_reaches_logind_through_each_desktop_and_a_refusal_or_inhibitor_in_a_box(self):
        labels = os.environ.get("TOLVANE_LABELS", "restart shutdown").split()  # make check's
        for desktop in DESKTOPS:
            for label in labels:
                with self.subTest(desktop=desktop["name"], label=label):
                    if desktop["command"] and not shutil.which(desktop["command"][0]):
                        self.skipTest(f"{desktop['command'][0]} is not installed")
                    self.check_desktop(desktop, label)

    def check_desktop(self, desktop, label):
        unconfirmed = "shutdown" if label == "restart" else "restart"
        with self.desktop(desktop) as (manager, home):
            window = frm_main_driver.MainWindow(self.display, start_program(
                home, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"), DESCRIPTION)
            window.wait_for_live_uptime()
            self.check_stopped_by_logind(window, manager, label)
            if desktop.get("asks_logind"):  # logind's "no" to its own question, after our "yes"
                self.logind_runs(CAN[label], "ret = 'no' if hasattr(self, 'asked') else 'yes'\n"
                                 "self.asked = True")
                self.confirm(window, label)
                self.assertRegex(self.box_text(window), r"answered Can(Restart|Shutdown): no\.$")
                self.logind_runs(CAN[label], "ret = 'yes'")
            if desktop.get("cancelled"):
                self.confirm(window, unconfirmed)
                x_session.wait_until(lambda: "Canceled" in x_session.read(self.shell_log),
                                     "the dialog cancelled", process=window.program)
                self.assert_no_box(window, label)
            self.confirm(window, label)
            x_session.wait_until(lambda: self.logind_calls() or self.boxes(window),
                                 f"logind's {LOGIND[label]}", timeout=30)
            calls = self.logind_calls()
            self.assertEqual({method for method, _, _ in calls}, {LOGIND[label]})
            asked = (unconfirmed, label) if desktop.get("cancelled") else (label,)
            self.assertEqual(self.requests(), " ".join(
                desktop["requests"][asked_label == "shutdown"] for asked_label in asked).split())
            if not manager:
                return self.check_program_alone(window, calls, label, unconfirmed)
            if desktop.get("silent"):  # its ending, as the session's would, is no refusal
                manager.kill()
            self.assert_no_box(window, label)

    def check_stopped_by_logind(self, window, manager, label):
        """logind refusing, or a block inhibitor held: the box says why, nothing is sent, and
        the session manager goes on."""
        can, inhibitors, shown = STOPS[label]
        self.logind_runs(CAN[label], f"ret = '{can}'")
        self.logind_runs(LOGIND[label], DENIED)  # should it be asked all the same
        held = [self.logind.Inhibit(*held, dbus_interface=MANAGER) for held in inhibitors]
        self.confirm(window, label)
        self.assertRegex(self.box_text(window), f"^Tolvane could not [^\n]*\n{re.escape(shown)}$")
        self.assertEqual(self.requests() + self.logind_calls(), [])
        self.assertTrue(manager is None or manager.poll() is None, "the session ended")
        for fd in held:
            os.close(fd.take())
        self.logind_runs(CAN[label], "ret = 'yes'")
        self.logind_runs(LOGIND[label], "")

    def logind_runs(self, method, code):
        self.logind.AddMethod(MANAGER, method, "b" if method in LOGIND.values() else "",
                              "s" if method in CAN.values() else "", code,
                              dbus_interface=dbusmock.MOCK_IFACE)

    def check_program_alone(self, window, calls, label, unconfirmed):
        """The program's own wiring, end to end, on the rows without a desktop."""
        # Its own call: interactive, in the header and the argument.
        self.assertEqual(calls, [(LOGIND[label], True, [True])])
        self.assert_no_box(window, label)
        # openbox, to close the window as a user would and hand the focus back as boxes close;
        # framed, the window is managed, and openbox has grabbed its keys before that.
        self.window_manager()
        x_session.wait_until(lambda: " = " in self.display.run(
            "xprop", "-id", str(window.window), "_NET_FRAME_EXTENTS", check=False).stdout,
                             "openbox managing the window", process=window.program)
        if label == "shutdown":
            # Closed right after Yes, while logind still ponders its first question, the
            # program still sends the request, and ends only then.
            self.logind_runs(CAN[label], "time.sleep(4); ret = 'yes'")
            calls = self.logind_calls()
            self.confirm(window, label)
            window.wait_for_live_uptime()  # live meanwhile
            self.display.xdotool("windowactivate", "--sync", str(window.window))
            self.display.key("alt+F4")
            x_session.wait_until(lambda: not self.display.windows(window.description["caption"]),
                                 "the window closed")
            self.assertEqual(self.logind_calls(), calls, "the request went before the close")
            self.assertEqual(window.program.wait(timeout=20), 0)
            self.assertEqual(self.logind_calls()[len(calls):], [(LOGIND[label], True, [True])])
            return
        window.about()
        # Its class is the one its menu entry names (desktops on X11 tie the two), and it is a
        # normal window, which desktops keep in the task bar and Alt+Tab.
        wm_class = re.search(r"^StartupWMClass=(.*)$", x_session.read(MENU_ENTRY), re.M)[1]
        shown = self.display.run("xprop", "-id", str(window.window), "WM_CLASS",
                                 "_NET_WM_WINDOW_TYPE").stdout
        self.assertRegex(shown, re.compile(f'^WM_CLASS.*"{re.escape(wm_class)}"$', re.M))
        self.assertIn("_NET_WM_WINDOW_TYPE_NORMAL", shown)
        # logind gone without answering: a lost answer, which only GNOME's or LXQt's ending is.
        self.logind_runs(LOGIND[unconfirmed], "os._exit(0)")
        # The keyboard alone: Enter, Escape, Enter opens "Sure?" twice; held, Space and Return
        # never answer it; the first Return answers the refusal; a held arrow moves the caret.
        window.tab_to(unconfirmed)
        for held in (None, None, "space", "Return"):  # Enter, Escape, Enter; then held
            window.hold(held) if held else self.display.key("Return")
            self.display.wait_for_window("Sure?", window.program)
            self.assertEqual(len(self.display.windows("Sure?")), 1, "held, it answered")
            if held != "Return":
                self.display.key("Escape")
                x_session.wait_until(lambda: not self.display.windows("Sure?"), "Escape")
        self.display.key("Return")
        self.assertIn("without replying", self.box_text(window))
        window.tab_to("txtUptime")
        self.display.key("End")
        window.hold("Left")
        x_session.wait_until(lambda: over_atspi("caret") == "0", "the caret at the start",
                             timeout=5)
        self.assertEqual(self.logind_calls()[1:], [(LOGIND[unconfirmed], True, [True])])

    def test_wayland_native_window_read_and_pressed_over_atspi(self):
        with self.desktop(DESKTOPS[-1]) as (_, home):
            env = {name: value for name, value in os.environ.items() if name != "DISPLAY"}
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
            wait(lambda: uptime.getText(0, -1), "an uptime")  # live: the desktops' table
            restart = find(app, pyatspi.ROLE_PUSH_BUTTON, "Restart the Computer").queryAction()
            self.assertEqual(restart.getName(0), "press")
            restart.doAction(0)
            wait(lambda: find(app, pyatspi.ROLE_ALERT, r"^Sure\?$"), '"Sure?"')
            restart.doAction(0)  # while it is open: nothing, once the window has moved on
            shown = uptime.getText(0, -1)
            wait(lambda: uptime.getText(0, -1) != shown, "the uptime moving on after the press")
            self.assertEqual(sum(child.getRole() == pyatspi.ROLE_ALERT for child in app), 1)

    def test_command_line_answers_before_any_display_or_bus(self):
        """Neither display nor bus is reachable: what needs none answers, the rest fails in one
        line; Qt's own options are Qt's."""
        usage = "Usage: tolvane [--help | --version]\n"
        no_display = "tolvane: no display found (DISPLAY or WAYLAND_DISPLAY)\n"
        version = f"tolvane {VERSION}\n"
        runtime = os.path.join(self.dir, "runtime")  # as a session has, so Wayland's library
        os.makedirs(runtime, mode=0o700, exist_ok=True)  # has nothing else to complain about
        missing = f"unix:path={self.dir}/missing"
        base = {name: value for name, value in os.environ.items() if name not in
                ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE")}
        base.update(XDG_RUNTIME_DIR=runtime, DBUS_SYSTEM_BUS_ADDRESS=missing,
                    DBUS_SESSION_BUS_ADDRESS=missing)
        for arguments, env, status, stdout, stderr in (
                (["--version"], {}, 0, version, ""),
                (["-platform", "xcb", "--version"], {}, 0, version, ""),
                (["--help"], {}, 0, usage, ""),
                (["-h"], {}, 0, usage, ""),
                (["--bogus"], {}, 2, "", usage),
                (["bogus", "--version"], {}, 2, "", usage),
                ([], {}, 1, "", no_display),
                ([], {"DISPLAY": ":151"}, 1, "", no_display),
                ([], {"WAYLAND_DISPLAY": "nope"}, 1, "", no_display),
                (["-display", ":151"], {}, 1, "", no_display)):
            with self.subTest(arguments=arguments, env=env):
                done = subprocess.run([PROGRAM, *arguments], env=dict(base, **env),
                                      stdin=subprocess.DEVNULL, capture_output=True, text=True,
                                      timeout=20, check=False)
                self.assertEqual(done.returncode, status)
                self.assertEqual(done.stdout[:len(stdout) or None], stdout)
                self.assertEqual(done.stderr[:len(stderr) or None], stderr)

    def test_soak_resident_memory_stays_flat_and_the_timer_runs(self):
        """Left running (TOLVANE_SOAK_SECONDS, 60 by default), it may not grow by more than
        256 KiB resident from its 10th second, when fonts and first paints are done."""
        with self.desktop(DESKTOPS[-1]) as (_, home):
            started = time.monotonic()
            program = start_program(home)
            self.display.wait_for_window("Tolvane", process=program)

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
        environment = dict(os.environ)
        try:
            yield self.start_desktop(desktop, home), home
        except BaseException:  # the tail of each log
            for log in ("session", "openbox", "tolvane", "shell", "logind", "weston"):
                with contextlib.suppress(OSError):
                    print(f"--- {log}.log", x_session.read(f"{home}/{log}.log")[-3000:],
                          sep="\n", file=sys.stderr)
            raise
        finally:
            stop_all()
            self.display.close()
            self.buses.system_bus_pid = self.buses.session_bus_pid = None
            os.environ.clear()
            os.environ.update(environment)
            with contextlib.suppress(OSError):
                shutil.rmtree(self.buses.get_services_dir())
                os.makedirs(self.buses.get_services_dir())


def over_atspi(function):
    """What function below prints, in a python of its own: pyatspi keeps the first
    accessibility bus it finds. Nothing while the program is not on it yet."""
    return subprocess.run([sys.executable, "-c", f"import linux_program_test as t; t.{function}()"],
                          cwd=os.path.dirname(__file__), capture_output=True, text=True,
                          timeout=20).stdout


def box():
    """The words of the box titled Tolvane."""
    import pyatspi
    alert = find(pyatspi.Registry.getDesktop(0), pyatspi.ROLE_ALERT, "^Tolvane$")
    print(alert and find(alert, pyatspi.ROLE_LABEL, ".").name or "", end="")


def caret():
    import pyatspi
    app = find(pyatspi.Registry.getDesktop(0), pyatspi.ROLE_APPLICATION, "Tolvane")
    print(find(app, pyatspi.ROLE_TEXT, "^Uptime$").queryText().caretOffset, end="")


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
        sys.exit(77)  # ctest's SKIP_RETURN_CODE
    ctypes.CDLL(None, use_errno=True).prctl(36, 1, 0, 0, 0)  # PR_SET_CHILD_SUBREAPER
    PROGRAM, DESCRIPTION, MENU_ENTRY, VERSION = (sys.argv.pop(1) for _ in range(4))
    unittest.main(verbosity=2)
