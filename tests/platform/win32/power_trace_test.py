"""The privilege step and both requests under wine64, in a relay trace: the calls in
order, with the arguments that make each what it is.

    power_trace_test.py PROBE.exe PREFIX WINE-RUN

PREFIX is this test's own: Wine's ExitWindowsEx ends that prefix's session (never the
machine's), so no other test may share it.
"""

import os
import re
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "e2e"))
import wine_program  # noqa: E402
import x_session  # noqa: E402

# The probe's calls in order, and how their arguments begin.
PRIVILEGE = [
    ("advapi32.OpenProcessToken", "ffffffffffffffff,00000028,"),  # its own; adjust, query
    ("advapi32.LookupPrivilegeValueW", r'00000000,\w+ L"SeShutdownPrivilege",'),
    ("advapi32.AdjustTokenPrivileges", r"\w+,00000000,"),  # nothing else disabled
]
REQUEST = "user32.ExitWindowsEx"
FLAGS = {"restart": "00000002", "poweroff": "00000008"}  # never with EWX_FORCE
CALL = re.compile(r"^(\w+):Call (\w+\.\w+)\((.*)\) ret=\w+$", re.M)


class PowerTraceTest(unittest.TestCase):
    def test_privilege_then_request_never_forced(self):
        for action, flags in FLAGS.items():
            # A session each (the request ends it), its services started untraced.
            wine = wine_program.WineSession(None, PREFIX, WINE_RUN, os.path.dirname(PREFIX))
            self.addCleanup(wine.close)
            with self.subTest(action):
                expected = PRIVILEGE + [(REQUEST, flags + ",00000000$")]
                wine.run(wine_program.WINE, "reg", "add", r"HKCU\Software\Wine\Debug", "/v",
                         "RelayInclude", "/d", ";".join(name for name, _ in expected), "/f")
                log = f"{PREFIX}-{action}.log"
                code = wine.run(wine_program.WINE, PROBE, action, log_path=log,
                                WINEDEBUG="+relay")
                trace = x_session.read(log)
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
