#!/usr/bin/python3
"""The Linux program left running on a private Xvfb: its resident memory may not grow by
more than 256 KiB from the 10th second to the 60th.

    resident_memory_soak.py PROGRAM [--seconds 60]
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile
import time
from pathlib import Path

SETTLED_AT = 10  # seconds after start: caches, fonts and the first paints are done
ALLOWED_GROWTH = 256 * 1024


def start_display():
    """An Xvfb of our own; it picks a free display number and tells us through a pipe."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
        pass_fds=[write_end], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as pipe:
        number = pipe.readline().strip()
    if not number:
        sys.exit("Xvfb did not start")
    return server, ":" + number


def resident_bytes(pid):
    status = Path(f"/proc/{pid}/status").read_text()
    return int(re.search(r"^VmRSS:\s+(\d+) kB", status, re.M).group(1)) * 1024


def cpu_ticks(pid):
    fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
    return int(fields[11]) + int(fields[12])  # utime + stime


def window_shown(display, pid):
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)],
                           env=dict(os.environ, DISPLAY=display), capture_output=True)
    return found.returncode == 0 and found.stdout.strip() != b""


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("program")
    parser.add_argument("--seconds", type=float, default=60)
    args = parser.parse_args()

    server, display = start_display()
    runtime_dir = tempfile.TemporaryDirectory()
    os.chmod(runtime_dir.name, 0o700)
    env = dict(os.environ, DISPLAY=display, QT_QPA_PLATFORM="xcb",
               XDG_RUNTIME_DIR=runtime_dir.name,
               DBUS_SESSION_BUS_ADDRESS="unix:path=/nonexistent",
               DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nonexistent")
    env.pop("WAYLAND_DISPLAY", None)
    started = time.monotonic()
    program = subprocess.Popen([args.program], env=env)
    try:
        deadline = started + SETTLED_AT
        while not window_shown(display, program.pid):
            if program.poll() is not None or time.monotonic() > deadline:
                sys.exit("the window was not shown")
            time.sleep(0.05)

        # The program's own running is what is measured: it is left alone until then.
        time.sleep(max(0.0, started + SETTLED_AT - time.monotonic()))
        settled, settled_cpu = resident_bytes(program.pid), cpu_ticks(program.pid)
        samples = [settled]
        while time.monotonic() < started + args.seconds:
            time.sleep(1)
            if program.poll() is not None:
                sys.exit(f"the program ended during the soak ({program.returncode})")
            samples.append(resident_bytes(program.pid))
        final = samples[-1]
        ticking = cpu_ticks(program.pid) > settled_cpu

        print(f"VmRSS at {SETTLED_AT} s: {settled // 1024} KiB, at {args.seconds:g} s: "
              f"{final // 1024} KiB, growth {(final - settled) // 1024} KiB "
              f"(highest {max(samples) // 1024} KiB)")
        if not ticking:
            sys.exit("the program used no CPU time after settling: its timer is not running")
        if final - settled > ALLOWED_GROWTH:
            sys.exit(f"resident memory grew by {(final - settled) // 1024} KiB, more than "
                     f"{ALLOWED_GROWTH // 1024} KiB")
    finally:
        program.terminate()
        program.wait()
        server.terminate()
        server.wait()
        runtime_dir.cleanup()


if __name__ == "__main__":
    main()
