#!/usr/bin/python3
"""The Linux program left running on a private Xvfb: its resident memory may not grow by
more than 256 KiB from the 10th second to the last, and its timer must keep it working.

    resident_memory_soak.py PROGRAM [SECONDS]
"""
import os
import re
import subprocess
import sys
import tempfile
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
import x_session  # noqa: E402

SETTLED_AT = 10  # seconds after start: caches, fonts and the first paints are done
ALLOWED_GROWTH = 256 * 1024


def resident_bytes(pid):
    status = Path(f"/proc/{pid}/status").read_text()
    return int(re.search(r"^VmRSS:\s+(\d+) kB", status, re.M).group(1)) * 1024


def cpu_ticks(pid):
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def main():
    program, seconds = sys.argv[1], float(sys.argv[2]) if len(sys.argv) > 2 else 60
    with tempfile.TemporaryDirectory() as scratch:
        display = x_session.Display(os.path.join(scratch, "xvfb.log"))
        env = display.env(dict(os.environ, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=scratch,
                               DBUS_SESSION_BUS_ADDRESS="unix:path=/nonexistent",
                               DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nonexistent"))
        started = time.monotonic()
        process = subprocess.Popen([program], env=env)
        try:
            display.wait_for_window("Tolvane", process=process)
            time.sleep(max(0.0, started + SETTLED_AT - time.monotonic()))
            settled, settled_cpu = resident_bytes(process.pid), cpu_ticks(process.pid)
            time.sleep(max(0.0, started + seconds - time.monotonic()))
            if process.poll() is not None:
                sys.exit(f"the program ended during the soak ({process.returncode})")
            growth = resident_bytes(process.pid) - settled
            print(f"VmRSS grew {growth // 1024} KiB from {SETTLED_AT} s to {seconds:g} s")
            if cpu_ticks(process.pid) == settled_cpu:
                sys.exit("the program used no CPU time after settling: its timer is not running")
            if growth > ALLOWED_GROWTH:
                sys.exit(f"resident memory grew more than {ALLOWED_GROWTH // 1024} KiB")
        finally:
            process.terminate()
            process.wait()
            display.close()


if __name__ == "__main__":
    main()
