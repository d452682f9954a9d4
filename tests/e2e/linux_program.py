"""Starts the Linux program on a private display, out of reach of the machine's own buses."""

import os

import x_session


def no_buses(directory):
    """The environment with neither bus reachable: the window needs none."""
    return dict(os.environ, **{
        f"DBUS_{bus.upper()}_BUS_ADDRESS": f"unix:path={directory}/{bus}_missing_socket"
        for bus in ("system", "session")})


def start(display, program, directory, env=None):
    """The program on display, its home and runtime directory in directory."""
    runtime = os.path.join(directory, "runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    env = display.env(env)
    env.update(QT_QPA_PLATFORM="xcb", HOME=directory, XDG_RUNTIME_DIR=runtime)
    return x_session.spawn([program], os.path.join(directory, "tolvane.log"), env)
