"""Starts the Linux program on a private display, cut off from the machine's own buses.

The private buses are python3-dbusmock's (DBusTestCase), which needs the system python.
"""

import os

from dbusmock import DBusTestCase

import x_session

__all__ = ["DBusTestCase", "private_buses", "nowhere", "start"]


def private_buses(system=True):
    """dbusmock's private session bus, and its system bus unless told otherwise, set in
    os.environ for everything started after; DBusTestCase.tearDownClass() stops them."""
    for leak in ("DBUS_STARTER_ADDRESS", "DBUS_STARTER_BUS_TYPE", "XDG_RUNTIME_DIR"):
        os.environ.pop(leak, None)
    if system:
        DBusTestCase.start_system_bus()
    DBusTestCase.start_session_bus()


def nowhere(directory, name):
    """The address of a bus that is not there."""
    return f"unix:path={os.path.join(directory, name + '_missing_socket')}"


def start(display, program, directory, env=None):
    """The program on display, its home and runtime directory in directory."""
    runtime = os.path.join(directory, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env = display.env(env)
    env.update(QT_QPA_PLATFORM="xcb", HOME=directory, XDG_RUNTIME_DIR=runtime)
    return x_session.spawn([program], os.path.join(directory, "tolvane.log"), env)
