"""Private D-Bus daemons and python3-dbusmock services for one test, all stopped by close().

Nothing here ever connects to the machine's own system or session bus: every address is a
socket in the test's own temporary directory.
"""

import os
import signal
import subprocess
import sys
import time

import dbus

CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <listen>unix:path={socket}</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
  </policy>
</busconfig>
"""

READY_TIMEOUT = 30  # seconds; only reached when something is broken


def wait_until(condition, what, process=None):
    """Polls condition until it holds; fails if process dies or the deadline passes."""
    deadline = time.monotonic() + READY_TIMEOUT
    while not condition():
        if process is not None and process.poll() is not None:
            raise RuntimeError(f"{what}: the process exited with {process.returncode}")
        if time.monotonic() > deadline:
            raise RuntimeError(f"{what}: not ready after {READY_TIMEOUT} s")
        time.sleep(0.02)


class Processes:
    """Children started in their own process groups, so stopping one stops all it started."""

    def __init__(self):
        self._children = []

    def start(self, args, log_path, env=None, stdout=None):
        log = open(log_path, "wb")
        try:
            child = subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL,
                                     stdout=stdout if stdout is not None else log,
                                     stderr=log, start_new_session=True)
        finally:
            log.close()
        self._children.append(child)
        return child

    def close(self):
        for child in reversed(self._children):
            _stop(child)
        self._children.clear()


def _stop(child):
    if child.poll() is None:
        os.killpg(child.pid, signal.SIGTERM)
        try:
            child.wait(timeout=5)
        except subprocess.TimeoutExpired:
            os.killpg(child.pid, signal.SIGKILL)
            child.wait()
    else:  # the leader is gone; its group may not be
        try:
            os.killpg(child.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    if child.stdout:
        child.stdout.close()


class PrivateBus:
    """A dbus-daemon listening on a socket in directory, with a connection for the harness."""

    def __init__(self, processes, directory, name):
        self.socket = os.path.join(directory, f"{name}_bus_socket")
        config = os.path.join(directory, f"{name}_bus.conf")
        with open(config, "w", encoding="utf-8") as out:
            out.write(CONFIG.format(socket=self.socket))
        daemon = processes.start(
            ["dbus-daemon", f"--config-file={config}", "--nofork", "--print-address=1"],
            os.path.join(directory, f"{name}_bus.log"), stdout=subprocess.PIPE)
        self.address = daemon.stdout.readline().decode().strip()
        if not self.address:
            raise RuntimeError(f"the {name} bus did not start")
        self.connection = dbus.bus.BusConnection(self.address)

    def has_owner(self, name):
        return bool(self.connection.name_has_owner(name))

    def close(self):
        self.connection.close()


class Mock:
    """One python3-dbusmock process owning name on a private bus."""

    def __init__(self, processes, directory, bus, bus_kind, name, path, args, env):
        self.bus, self.name, self.path = bus, name, path
        log = os.path.join(directory, f"{name}.log")
        self.process = processes.start(
            [sys.executable, "-m", "dbusmock", f"--{bus_kind}", "-l", log + ".calls", *args],
            log, env=env)
        wait_until(lambda: bus.has_owner(name), f"mock {name}", self.process)
        self.mock = dbus.Interface(bus.connection.get_object(name, path),
                                   "org.freedesktop.DBus.Mock")

    def add_method(self, interface, method, in_signature="", code=""):
        self.mock.AddMethod(interface, method, in_signature, "", code)

    def calls(self):
        """[(method, [arguments...])] in the order received."""
        return [(str(method), [_plain(a) for a in args]) for _, method, args in self.mock.GetCalls()]


def _plain(value):
    if isinstance(value, dbus.Boolean):
        return bool(value)
    return value
