"""Runs the privilege step and both requests under wine64 with a relay trace restricted to
the calls involved, and checks the calls and their arguments in order.

    power_trace_test.py PROBE.exe PREFIX WINE-RUN

PREFIX is a throwaway Wine prefix of this test's own: Wine's ExitWindowsEx ends that
prefix's Wine session (never the machine), so it must not be the one other tests share.
"""

import os
import re
import subprocess
import sys
import unittest

WINE = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver64"
TRACED = ["advapi32.OpenProcessToken", "advapi32.LookupPrivilegeValueW",
          "advapi32.AdjustTokenPrivileges", "kernel32.CloseHandle", "user32.ExitWindowsEx"]
CALL = re.compile(r"^([0-9a-f]+):Call (\w+)\.(\w+)\((.*)\) ret=[0-9a-f]+$")
HEX = r"([0-9a-f]+)"

PROBE = PREFIX = WINE_RUN = None


def wine_env(**extra):
    env = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all",
               WINEDLLOVERRIDES="mscoree,mshtml=")
    env.pop("DISPLAY", None)  # nothing here draws; the test must not need an X server
    env.update(extra)
    return env


def quiet(args, check=True):
    # Wine services started by this command inherit its output: never ctest's pipe.
    subprocess.run(args, env=wine_env(), stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=check, timeout=300)


def stop_wineserver():
    quiet([WINESERVER, "-k"], check=False)  # fails harmlessly when none is running
    quiet([WINESERVER, "-w"], check=False)


def start_session():
    """Starts the prefix's services untraced, so the trace holds the probe's calls only."""
    quiet([WINE_RUN, PREFIX, "cmd", "/c", "exit", "0"])


def calls_of_the_probe(trace):
    """(dll.function in lower case, arguments) of the traced calls of the probe's own thread."""
    traced = {name.lower() for name in TRACED}
    calls = []
    for line in trace.splitlines():
        match = CALL.match(line)
        if match:
            tid, dll, function, args = match.groups()
            name = f"{dll}.{function}".lower()  # Wine writes KERNEL32 for kernel32
            if name in traced:
                calls.append((tid, name, args))
    # Wine's own processes make such calls too; only the probe calls ExitWindowsEx.
    probe = next((tid for tid, name, _ in calls if name == "user32.exitwindowsex"), None)
    return [(name, args) for tid, name, args in calls if tid == probe]


class PowerTraceTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.addClassCleanup(stop_wineserver)
        start_session()  # creates the prefix on first use
        quiet([WINE, "reg", "add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude",
               "/d", ";".join(TRACED), "/f"])

    def trace(self, action):
        path = os.path.join(os.path.dirname(PREFIX), f"power-trace-{action}.log")
        start_session()
        with open(path, "wb") as log:
            done = subprocess.run([WINE, PROBE, action], env=wine_env(WINEDEBUG="+relay"),
                                  stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                  timeout=120, check=False)
        stop_wineserver()  # the request ended this prefix's session anyway
        with open(path, encoding="utf-8", errors="replace") as log:
            text = log.read()
        self.assertEqual(done.returncode, 0, text[-2000:])
        return text

    def test_privilege_then_request_in_order(self):
        for action, flags in (("restart", "00000002"), ("poweroff", "00000008")):
            with self.subTest(action):
                trace = self.trace(action)
                calls = calls_of_the_probe(trace)
                self.assertEqual([name for name, _ in calls], [n.lower() for n in TRACED],
                                 trace[-4000:])
                open_args, lookup_args, adjust_args, close_args, exit_args = (a for _, a in calls)
                # The current process's pseudo-handle, adjust-privileges plus query access.
                self.assertRegex(open_args, r"^ffffffffffffffff,00000028,[0-9a-f]*[1-9a-f]")
                # Looked up on the local system (no system name).
                self.assertRegex(lookup_args, r'^00000000,[0-9a-f]+ L"SeShutdownPrivilege",')
                # Nothing else disabled, and the previous state is received.
                token = re.match(HEX + r",00000000,[0-9a-f]+,[0-9a-f]+,[0-9a-f]*[1-9a-f]",
                                 adjust_args)
                self.assertIsNotNone(token, adjust_args)
                self.assertNotEqual(int(token.group(1), 16), 0)
                self.assertEqual(close_args, token.group(1), "the token is closed after use")
                self.assertEqual(exit_args, f"{flags},00000000", "never the force flag")
                self.assertIn("started=1", trace)


if __name__ == "__main__":
    PROBE, PREFIX, WINE_RUN = (os.path.abspath(a) for a in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main(verbosity=2)
