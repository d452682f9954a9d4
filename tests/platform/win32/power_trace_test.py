"""The privilege step and both requests under wine64, in a relay trace: the calls in
order, with the arguments that make each what it is.

    power_trace_test.py PROBE.exe PREFIX WINE-RUN

PREFIX is this test's own: Wine's ExitWindowsEx ends that prefix's session (never the
machine's), so no other test may share it.
"""

import os
import re
import subprocess
import sys
import unittest

WINE, WINESERVER = "/usr/lib/wine/wine64", "/usr/lib/wine/wineserver64"
# The probe's calls in order, and how their arguments begin.
PRIVILEGE = [
    ("advapi32.OpenProcessToken", "ffffffffffffffff,00000028,"),  # its own; adjust, query
    ("advapi32.LookupPrivilegeValueW", r'00000000,\w+ L"SeShutdownPrivilege",'),
    ("advapi32.AdjustTokenPrivileges", r"\w+,00000000,"),  # nothing else disabled
]
REQUEST = "user32.ExitWindowsEx"
FLAGS = {"restart": "00000002", "poweroff": "00000008"}  # never with EWX_FORCE
CALL = re.compile(r"^(\w+):Call (\w+\.\w+)\((.*)\) ret=\w+$", re.M)


def run(args, **env):
    # Never ctest's pipes: Wine's services would inherit them and keep ctest waiting.
    environment = dict(os.environ, WINEPREFIX=PREFIX, WINEDEBUG="-all",
                       WINEDLLOVERRIDES="mscoree,mshtml=")
    environment.update(env)
    environment.pop("DISPLAY", None)  # nothing here draws
    with open(os.path.join(os.path.dirname(PREFIX), "power-trace.log"), "w+b") as log:
        done = subprocess.run(args, env=environment, stdin=subprocess.DEVNULL, stdout=log,
                              stderr=log, timeout=300, check=False)
        log.seek(0)
        return done.returncode, log.read().decode(errors="replace")


class PowerTraceTest(unittest.TestCase):
    def test_privilege_then_request_never_forced(self):
        self.addCleanup(run, [WINESERVER, "-k"])
        for action, flags in FLAGS.items():
            with self.subTest(action):
                # A fresh session (the last request ended it), its services started untraced;
                # the prefix is created on first use.
                run([WINESERVER, "-k"])
                run([WINESERVER, "-w"])
                run([WINE_RUN, PREFIX, "cmd", "/c", "exit", "0"])
                expected = PRIVILEGE + [(REQUEST, flags + ",00000000$")]
                run([WINE, "reg", "add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude",
                     "/d", ";".join(name for name, _ in expected), "/f"])
                code, trace = run([WINE, PROBE, action], WINEDEBUG="+relay")
                self.assertEqual(code, 0, trace[-2000:])
                calls = [(tid, name.lower(), args) for tid, name, args in CALL.findall(trace)]
                # Wine's own processes make such calls too; only the probe makes the request.
                probe = next((tid for tid, name, _ in calls if name == REQUEST.lower()), None)
                calls = [(name, args) for tid, name, args in calls if tid == probe]
                self.assertEqual([name for name, _ in calls],
                                 [name.lower() for name, _ in expected], trace[-4000:])
                for (name, args), (_, pattern) in zip(calls, expected):
                    self.assertRegex(args, "^" + pattern, name)


if __name__ == "__main__":
    PROBE, PREFIX, WINE_RUN = (os.path.abspath(a) for a in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main(verbosity=2)
