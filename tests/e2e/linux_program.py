"""Starts the Linux program on a private display, cut off from the machine's own buses."""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "platform", "linux", "power"))
import private_bus  # noqa: E402  (the private D-Bus harness of the power tests)

__all__ = ["private_bus", "bus_env", "nowhere", "start"]


def bus_env(system_address, session_address):
    """This environment with the given buses and no way back to the machine's own."""
    env = dict(os.environ)
    for leak in ("DBUS_STARTER_ADDRESS", "DBUS_STARTER_BUS_TYPE", "XDG_RUNTIME_DIR"):
        env.pop(leak, None)
    env["DBUS_SYSTEM_BUS_ADDRESS"] = system_address
    env["DBUS_SESSION_BUS_ADDRESS"] = session_address
    return env


def nowhere(directory, name):
    """The address of a bus that is not there."""
    return f"unix:path={os.path.join(directory, name + '_missing_socket')}"


def start(processes, display, program, directory, env):
    """The program on display, its home and runtime directory in directory."""
    runtime = os.path.join(directory, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env = display.env(env)
    env.update(QT_QPA_PLATFORM="xcb", HOME=directory, XDG_RUNTIME_DIR=runtime)
    return processes.start([program], os.path.join(directory, "tolvane.log"), env=env)
