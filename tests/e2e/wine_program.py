"""Runs a Windows program under wine64 on a private display, in a prefix of its own.

Wine's service processes inherit the output of the wine process that starts them, so Wine
never gets the caller's stdout or stderr: a ctest pipe held open by winedevice.exe would keep
ctest waiting forever.
"""

import os
import subprocess

import x_session


class WineSession:
    """The prefix's Wine session on display; close() ends it and everything in it."""

    def __init__(self, display, prefix, wine_run, log_dir):
        self.env = display.env()
        self.env.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        self.log = os.path.join(log_dir, "wine-session.log")
        self.program = None
        # Creates the prefix on first use, then starts its services on this display: Wine's
        # desktop process keeps the display it started with.
        self._quiet(wine_run, prefix, "cmd", "/c", "exit", "0", check=True)

    def _quiet(self, *args, check=False):
        with open(self.log, "ab") as log:
            subprocess.run(args, env=self.env, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                           timeout=300, check=check)  # a fresh prefix takes a while

    def start(self, program, log_path):
        self.program = x_session.spawn(["/usr/lib/wine/wine64", program], log_path, self.env,
                                       start_new_session=True)
        return self.program

    def close(self):
        # Ends every process of this prefix, whatever state the steps left it in.
        self._quiet("/usr/lib/wine/wineserver64", "-k")
        self._quiet("/usr/lib/wine/wineserver64", "-w")
        if self.program:
            x_session.stop(self.program)
