"""The privilege step and both requests under wine64, with a relay trace of the calls
involved: their order and arguments.

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
TRACED = ["advapi32.OpenProcessToken", "advapi32.LookupPrivilegeValueW",
          "advapi32.AdjustTokenPrivileges", "kernel32.CloseHandle", "user32.ExitWindowsEx"]
CALL = re.compile(r"^([0-9a-f]+):Call (\w+\.\w+)\((.*)\) ret=[0-9a-f]+$", re.M)


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


def restart_session():
    """Ends the prefix's session, then starts its services untraced."""
    run([WINESERVER, "-k"])
    run([WINESERVER, "-w"])
    run([WINE_RUN, PREFIX, "cmd", "/c", "exit", "0"])  # creates the prefix on first use


class PowerTraceTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        restart_session()
        run([WINE, "reg", "add", r"HKCU\Software\Wine\Debug", "/v", "RelayInclude", "/d",
             ";".join(TRACED), "/f"])
        cls.addClassCleanup(run, [WINESERVER, "-k"])

    def test_privilege_then_request_in_order_never_forced(self):
        for action, flags in (("restart", "00000002"), ("poweroff", "00000008")):
            with self.subTest(action):
                restart_session()
                code, trace = run([WINE, PROBE, action], WINEDEBUG="+relay")
                self.assertEqual(code, 0, trace[-2000:])
                self.assertIn("started=1", trace)
                calls = [(tid, name.lower(), args) for tid, name, args in CALL.findall(trace)
                         if name.lower() in {t.lower() for t in TRACED}]
                # Wine's own processes make such calls too; only the probe calls ExitWindowsEx.
                probe = next(tid for tid, name, _ in calls if name == "user32.exitwindowsex")
                calls = [(name, args) for tid, name, args in calls if tid == probe]
                self.assertEqual([n for n, _ in calls], [t.lower() for t in TRACED], trace[-4000:])
                opened, looked_up, adjusted, closed, exited = (args for _, args in calls)
                # The process's pseudo-handle, adjust-privileges and query access.
                self.assertRegex(opened, r"^ffffffffffffffff,00000028,[0-9a-f]*[1-9a-f]")
                self.assertRegex(looked_up, r'^00000000,[0-9a-f]+ L"SeShutdownPrivilege",')
                # Nothing else disabled, the previous state received, and the token closed.
                token = re.match(r"([0-9a-f]*[1-9a-f][0-9a-f]*),00000000,[0-9a-f]+,[0-9a-f]+,"
                                 r"[0-9a-f]*[1-9a-f]", adjusted)
                self.assertIsNotNone(token, adjusted)
                self.assertEqual(closed, token.group(1), "the token is closed after use")
                self.assertEqual(exited, f"{flags},00000000", "never the force flag")


if __name__ == "__main__":
    PROBE, PREFIX, WINE_RUN = (os.path.abspath(a) for a in sys.argv[1:4])
    del sys.argv[1:4]
    unittest.main(verbosity=2)
