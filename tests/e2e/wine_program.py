"""Runs a Windows program under wine64 on a private display, in a prefix of its own.

Wine's service processes inherit the output of the wine process that starts them, so
nothing here ever hands Wine the caller's stdout or stderr: a ctest pipe held open by
winedevice.exe would keep ctest waiting forever.
"""

import os
import subprocess

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver64"
PREFIX_TIMEOUT = 300  # seconds; a fresh prefix takes some on a busy machine


class WineSession:
    """The prefix's Wine session on display; close() ends it and everything in it."""

    def __init__(self, display, prefix, wine_run, log_dir):
        self.prefix, self.log_dir = prefix, log_dir
        self.env = display.env()
        self.env.update(WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        self._programs = []
        # Creates the prefix on first use, then starts its services on this display: Wine's
        # desktop process keeps the display it started with.
        self._quiet([wine_run, prefix, "cmd", "/c", "exit", "0"], "wine-session.log")

    def _quiet(self, args, log_name, check=True):
        with open(os.path.join(self.log_dir, log_name), "ab") as log:
            subprocess.run(args, env=self.env, stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                           timeout=PREFIX_TIMEOUT, check=check)

    def start(self, program, log_name):
        with open(os.path.join(self.log_dir, log_name), "wb") as log:
            child = subprocess.Popen([WINE, program], env=self.env, stdin=subprocess.DEVNULL,
                                     stdout=log, stderr=log, start_new_session=True)
        self._programs.append(child)
        return child

    def close(self):
        # Ends every process of this prefix, whatever state the steps left it in.
        self._quiet([WINESERVER, "-k"], "wine-session.log", check=False)
        self._quiet([WINESERVER, "-w"], "wine-session.log", check=False)
        for child in self._programs:
            try:
                child.wait(timeout=10)
            except subprocess.TimeoutExpired:
                child.kill()
                child.wait()
