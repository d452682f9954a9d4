#!/usr/bin/python3
"""The Linux program left running on a private Xvfb: its resident memory may not grow by
more than 256 KiB from the 10th second to the last, and its timer must keep it working.

    resident_memory_soak.py PROGRAM [SECONDS]
"""

import os
import re
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import linux_program  # noqa: E402
import x_session  # noqa: E402

SETTLED_AT = 10  # seconds after start: caches, fonts and the first paints are done
ALLOWED_GROWTH = 256 * 1024


def sample(pid):
    """(resident bytes, CPU ticks used so far)."""
    status = x_session.read(f"/proc/{pid}/status")
    resident = int(re.search(r"^VmRSS:\s+(\d+) kB", status, re.M).group(1)) * 1024
    fields = x_session.read(f"/proc/{pid}/stat").rsplit(")", 1)[1].split()
    return resident, int(fields[11]) + int(fields[12])  # utime + stime


def soak(program, seconds):
    with tempfile.TemporaryDirectory() as scratch:
        display = x_session.Display(os.path.join(scratch, "xvfb.log"))
        started = time.monotonic()
        process = linux_program.start(display, program, scratch, linux_program.no_buses(scratch))
        try:
            display.wait_for_window("Tolvane", process=process)
            time.sleep(max(0.0, started + SETTLED_AT - time.monotonic()))
            settled = sample(process.pid)
            time.sleep(max(0.0, started + seconds - time.monotonic()))
            if process.poll() is not None:
                sys.exit(f"the program ended during the soak ({process.returncode})")
            last = sample(process.pid)
        finally:
            x_session.stop(process)
            display.close()
    growth = last[0] - settled[0]
    print(f"VmRSS grew {growth // 1024} KiB from {SETTLED_AT} s to {seconds:g} s")
    if last[1] == settled[1]:
        sys.exit("the program used no CPU time after settling: its timer is not running")
    if growth > ALLOWED_GROWTH:
        sys.exit(f"resident memory grew more than {ALLOWED_GROWTH // 1024} KiB")


if __name__ == "__main__":
    soak(sys.argv[1], float(sys.argv[2]) if len(sys.argv) > 2 else 60)
