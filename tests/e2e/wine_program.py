"""Runs Windows programs under wine64 in a prefix of its own, on a private display or none.

Wine's service processes inherit the output of the wine process that starts them, so Wine
never gets the caller's stdout or stderr: a ctest pipe held open by winedevice.exe would keep
ctest waiting forever.
"""

import os
import subprocess

import x_session

WINE = "/usr/lib/wine/wine64"


class WineSession:
    """The prefix's Wine session; close() ends it and everything in it."""

    def __init__(self, display, prefix, wine_run, log_dir):
        self.env = display.env() if display else {
            name: value for name, value in os.environ.items() if name != "DISPLAY"}
        self.env.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        self.log = os.path.join(log_dir, "wine-session.log")
        self.program = None
        # Creates the prefix on first use, then starts its services (on this display: Wine's
        # desktop process keeps the display it started with).
        self.run(wine_run, prefix, "cmd", "/c", "exit", "0", check=True)

    def run(self, *args, log_path=None, check=False, **env):
        """args run to the end, their output in log_path (afresh) or added to the session's
        log; returns the exit status."""
        with open(log_path or self.log, "wb" if log_path else "ab") as log:
            return subprocess.run(args, env=dict(self.env, **env), stdin=subprocess.DEVNULL,
                                  stdout=log, stderr=log, timeout=300,  # a fresh prefix: slow
                                  check=check).returncode

    def start(self, program, log_path):
        self.program = x_session.spawn([WINE, program], log_path, self.env,
                                       start_new_session=True)
        return self.program

    def close(self):
        # Ends every process of this prefix, whatever state the steps left it in.
        self.run("/usr/lib/wine/wineserver64", "-k")
        self.run("/usr/lib/wine/wineserver64", "-w")
        if self.program:
            x_session.stop(self.program)
