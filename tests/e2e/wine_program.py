"""Runs Windows programs under wine64 in a prefix of its own, on a private display.

Wine's service processes inherit the output of the wine process that starts them, so Wine
never gets the caller's stdout or stderr: a ctest pipe held open by winedevice.exe would keep
ctest waiting forever.
"""

import os
import subprocess

import x_session

WINE = "/usr/lib/wine/wine64"


class WineSession:
    """The prefix's Wine session, its program traced at the calls named in relay, if any;
    close() ends it and everything in it."""

    def __init__(self, display, prefix, wine_run, log_dir, relay=()):
        self.env = display.env()
        # oleacc=n,b: a DLL of that name beside the program is loaded first, as on Windows.
        self.env.update(WINEPREFIX=prefix, WINEDEBUG="-all",
                        WINEDLLOVERRIDES="mscoree,mshtml=;oleacc=n,b")
        self.log = os.path.join(log_dir, "wine-session.log")
        self.program = None
        self.traced = bool(relay)
        # Creates the prefix on first use, then starts its services untraced and on this
        # display (Wine's desktop process keeps the display it started with). The trace is
        # limited to relay: every call traced would be slow and huge.
        self.run(wine_run, prefix, "reg", "add", r"HKCU\Software\Wine\Debug", "/v",
                 "RelayInclude", "/d", ";".join(relay), "/f", check=True)

    def run(self, *args, check=False):
        with open(self.log, "ab") as log:
            subprocess.run(args, env=self.env, stdin=subprocess.DEVNULL, stdout=log,
                           stderr=log, timeout=300, check=check)  # a fresh prefix: slow

    def start(self, program, log_path):
        env = dict(self.env, WINEDEBUG="+relay") if self.traced else self.env
        self.program = x_session.spawn([WINE, program], log_path, env, start_new_session=True)
        return self.program

    def close(self):
        self.run("/usr/lib/wine/wineserver64", "-k")
        self.run("/usr/lib/wine/wineserver64", "-w")
        if self.program:
            x_session.stop(self.program)
