#!/usr/bin/python3
"""Tolvane beside the smallest Qt Widgets program doing the same visible work.

Under a private Xvfb, each program is started N times (alternating, so both see the same
machine load) and the medians are reported of:
  start-up  from just before the program is started to its top-level window being mapped,
            seen as a MapNotify on the root window by an X client of our own (libX11 through
            ctypes), so the resolution is the event's delivery latency, well under 1 ms;
  CPU       time on a CPU over a window of running after the map, as a percentage of one
            core: the scheduler's nanosecond sum over the process's threads
            (/proc/PID/task/*/schedstat); where the kernel keeps none, utime + stime from
            /proc/PID/stat, whose 10 ms ticks are too coarse to tell two idle programs apart;
  memory    peak resident set, VmHWM from /proc/PID/status at the end of that window.
Then the Windows executables' sizes and imported DLLs. One table is printed and the same
table is written as JSON.

    bench/whole_program.py [--quick] [--runs N] [--cpu-seconds S] [--json PATH]
"""
import argparse
import contextlib
import ctypes
import json
import os
import re
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import x_session  # noqa: E402  the tests' own Xvfb starter

MIB = 1024 * 1024
CLOCK_TICKS = os.sysconf("SC_CLK_TCK")
# Windows ships these in System32; anything else would have to travel with the .exe.
WINDOWS_OWN_DLLS = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll", "kernel32.dll", "msvcrt.dll",
    "ntdll.dll", "ole32.dll", "oleacc.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll",
    "user32.dll", "uxtheme.dll", "version.dll",
}


class MapWatcher:
    """Timestamps every top-level window mapped on the display, as the X server reports it."""

    MAP_NOTIFY = 19
    SUBSTRUCTURE_NOTIFY_MASK = 1 << 19

    class MapEvent(ctypes.Structure):
        _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                    ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                    ("event", ctypes.c_ulong), ("window", ctypes.c_ulong),
                    ("override_redirect", ctypes.c_int)]

    def __init__(self, display_name):
        x11 = ctypes.CDLL("libX11.so.6")
        x11.XOpenDisplay.restype = ctypes.c_void_p
        x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        x11.XDefaultRootWindow.restype = ctypes.c_ulong
        x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        x11.XSelectInput.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_long]
        x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        x11.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
        x11.XPending.argtypes = [ctypes.c_void_p]
        x11.XConnectionNumber.argtypes = [ctypes.c_void_p]
        x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
        self.x11 = x11
        self.display = x11.XOpenDisplay(display_name.encode())
        if not self.display:
            raise RuntimeError(f"cannot open display {display_name}")
        x11.XSelectInput(self.display, x11.XDefaultRootWindow(self.display),
                         self.SUBSTRUCTURE_NOTIFY_MASK)
        # Once the server has answered, no map can slip past the selection.
        x11.XSync(self.display, 0)
        self.maps = []
        self.condition = threading.Condition()
        self.stopping = threading.Event()
        self.thread = threading.Thread(target=self._watch, daemon=True)
        self.thread.start()

    def _watch(self):
        # select() wakes as soon as the server writes, so waiting costs no resolution; the
        # timeout only lets close() stop the thread before the connection goes.
        event = ctypes.create_string_buffer(192)  # sizeof(XEvent)
        connection = self.x11.XConnectionNumber(self.display)
        while not self.stopping.is_set():
            select.select([connection], [], [], 0.1)
            while self.x11.XPending(self.display):
                self.x11.XNextEvent(self.display, event)
                seen = time.monotonic()
                mapped = self.MapEvent.from_buffer(event)
                if mapped.type == self.MAP_NOTIFY and not mapped.override_redirect:
                    with self.condition:
                        self.maps.append(seen)
                        self.condition.notify_all()

    def close(self):
        # Xlib ends the whole process when its server disappears under it.
        self.stopping.set()
        self.thread.join()
        self.x11.XCloseDisplay(self.display)

    def first_map_after(self, start, timeout=30):
        with self.condition:
            found = self.condition.wait_for(
                lambda: any(t >= start for t in self.maps), timeout)
            if not found:
                raise RuntimeError("no window was mapped")
            return min(t for t in self.maps if t >= start)


def program_environment(display_name, runtime_dir):
    env = dict(os.environ)
    env.update(DISPLAY=display_name, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime_dir,
               # No bus to talk to: neither program should depend on one to start.
               DBUS_SESSION_BUS_ADDRESS="unix:path=/nonexistent",
               DBUS_SYSTEM_BUS_ADDRESS="unix:path=/nonexistent")
    env.pop("WAYLAND_DISPLAY", None)
    env.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)
    return env


def cpu_seconds(pid):
    """Time on a CPU so far, in nanoseconds from the scheduler where it keeps them."""
    try:
        return sum(int((task / "schedstat").read_text().split()[0])
                   for task in Path(f"/proc/{pid}/task").iterdir()) / 1e9
    except (OSError, ValueError, IndexError):
        # The command name may hold spaces; the fields after it are fixed.
        fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / CLOCK_TICKS  # utime, stime


def peak_resident_bytes(pid):
    status = Path(f"/proc/{pid}/status").read_text()
    return int(re.search(r"^VmHWM:\s+(\d+) kB", status, re.M).group(1)) * 1024


def measure_once(program, env, watcher, cpu_window):
    start = time.monotonic()
    process = subprocess.Popen([str(program)], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
    try:
        mapped = watcher.first_map_after(start)
        cpu_before, wall_before = cpu_seconds(process.pid), time.monotonic()
        startup_cpu_ms = cpu_before * 1000
        time.sleep(cpu_window)  # the quantity measured is the program's own running
        cpu_after, wall_after = cpu_seconds(process.pid), time.monotonic()
        if process.poll() is not None:
            raise RuntimeError(f"{program.name} ended early ({process.returncode})")
        return {"startup_ms": (mapped - start) * 1000, "startup_cpu_ms": startup_cpu_ms,
                "cpu_percent": 100 * (cpu_after - cpu_before) / (wall_after - wall_before),
                "peak_rss_bytes": peak_resident_bytes(process.pid)}
    finally:
        process.send_signal(signal.SIGTERM)
        process.wait()


def measure_programs(programs, runs, cpu_window):
    samples = {name: [] for name in programs}
    with tempfile.TemporaryDirectory() as runtime_dir, contextlib.ExitStack() as stack:
        os.chmod(runtime_dir, 0o700)
        display = x_session.Display(os.path.join(runtime_dir, "xvfb.log"))
        stack.callback(display.close)
        watcher = MapWatcher(display.name)
        stack.callback(watcher.close)  # first: Xlib ends the process if its server goes
        env = program_environment(display.name, runtime_dir)
        for run in range(runs):
            for name, program in programs.items():
                sample = measure_once(program, env, watcher, cpu_window)
                samples[name].append(sample)
                print(f"  run {run + 1}/{runs} {name:9} {sample['startup_ms']:7.1f} ms "
                      f"{sample['cpu_percent']:6.3f} % "
                      f"{sample['peak_rss_bytes'] / MIB:6.1f} MiB", file=sys.stderr)
    return {name: {key: statistics.median(s[key] for s in runs_of)
                   for key in runs_of[0]}
            for name, runs_of in samples.items()}, samples


def objdump_for(exe):
    header = exe.read_bytes()[:1024]
    pe = int.from_bytes(header[0x3C:0x40], "little")
    machine = int.from_bytes(header[pe + 4:pe + 6], "little")
    triplet = {0x14C: "i686-w64-mingw32", 0x8664: "x86_64-w64-mingw32"}.get(machine)
    tool = shutil.which(f"{triplet}-objdump") if triplet else None
    return tool or "objdump"


def imported_dlls(exe):
    listing = subprocess.run([objdump_for(exe), "-p", str(exe)], capture_output=True,
                             text=True, check=True).stdout
    return sorted(set(re.findall(r"DLL Name: (\S+)", listing)), key=str.lower)


def verdict(passed):
    return "PASS" if passed else "MISS"


def compare(medians):
    tolvane, baseline = medians["tolvane"], medians["baseline"]
    rows = []
    for key, label, unit, scale in [("startup_ms", "start-up to window mapped", "ms", 1),
                                    ("startup_cpu_ms", "  CPU time until mapped", "ms", 1),
                                    ("cpu_percent", "CPU, % of one core", "%", 1),
                                    ("peak_rss_bytes", "peak resident memory", "MiB", MIB)]:
        ours, theirs = tolvane[key], baseline[key]
        if key == "startup_cpu_ms":
            # No target: it tells the programs' own start-up work from the machine's load,
            # which the wall-clock time above also contains.
            target, passed = "-", None
        elif key == "peak_rss_bytes":
            target, passed = "<= baseline + 4 MiB", ours <= theirs + 4 * MIB
        else:
            target, passed = "<= 1.2 x baseline", ours <= 1.2 * theirs
        rows.append({"measure": label, "unit": unit, "tolvane": ours / scale,
                     "baseline": theirs / scale, "ratio": ours / theirs if theirs else None,
                     "target": target, "verdict": "-" if passed is None else verdict(passed)})
    return rows


def executables(paths):
    rows = []
    for preset, exe in paths.items():
        if not exe.is_file():
            rows.append({"preset": preset, "path": str(exe), "missing": True})
            continue
        dlls = imported_dlls(exe)
        foreign = [d for d in dlls if d.lower() not in WINDOWS_OWN_DLLS]
        row = {"preset": preset, "path": str(exe), "size_bytes": exe.stat().st_size,
               "imports": dlls, "foreign_imports": foreign}
        if preset == "windows-x86":
            row["target"] = "<= 256 KiB, Windows' own DLLs only"
            row["verdict"] = verdict(row["size_bytes"] <= 256 * 1024 and not foreign)
        rows.append(row)
    return rows


def print_table(rows, exes, runs, cpu_window, load):
    print(f"Whole programs under Xvfb: median of {runs} runs, CPU over {cpu_window:g} s; "
          f"machine load (1-minute average) {load[0]:.2f} before, {load[1]:.2f} after")
    print(f"{'measure':28} {'Tolvane':>10} {'baseline':>10} {'ratio':>7}  {'target':21} verdict")
    for r in rows:
        ratio = f"{r['ratio']:.2f}" if r["ratio"] is not None else "-"
        print(f"{r['measure'] + ' (' + r['unit'] + ')':28} {r['tolvane']:10.3f} "
              f"{r['baseline']:10.3f} {ratio:>7}  {r['target']:21} {r['verdict']}")
    print()
    print(f"{'executable':12} {'size (KiB)':>10}  imports")
    for e in exes:
        if e.get("missing"):
            print(f"{e['preset']:12} {'-':>10}  not built ({e['path']})")
            continue
        tail = f"  [{e['target']}: {e['verdict']}]" if "verdict" in e else ""
        print(f"{e['preset']:12} {e['size_bytes'] / 1024:10.1f}  {' '.join(e['imports'])}{tail}")
        if e["foreign_imports"]:
            print(f"{'':24}not Windows' own: {' '.join(e['foreign_imports'])}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--quick", action="store_true", help="3 runs, 5 s of CPU window")
    parser.add_argument("--runs", type=int)
    parser.add_argument("--cpu-seconds", type=float)
    parser.add_argument("--tolvane", type=Path,
                        default=ROOT / "build/linux/src/platform/qt/tolvane")
    parser.add_argument("--baseline", type=Path,
                        default=ROOT / "build/linux/bench/baseline/tolvane_baseline")
    parser.add_argument("--exe-x86", type=Path,
                        default=ROOT / "build/windows-x86/src/platform/win32/Tolvane.exe")
    parser.add_argument("--exe-x64", type=Path,
                        default=ROOT / "build/windows-x64/src/platform/win32/Tolvane.exe")
    parser.add_argument("--json", type=Path, default=ROOT / "build/bench/whole_program.json")
    args = parser.parse_args()
    runs = args.runs or (3 if args.quick else 7)
    cpu_window = args.cpu_seconds or (5.0 if args.quick else 30.0)

    programs = {"tolvane": args.tolvane, "baseline": args.baseline}
    for program in programs.values():
        if not os.access(program, os.X_OK):
            sys.exit(f"whole_program: {program} is not built")
    load_before = os.getloadavg()[0]
    medians, samples = measure_programs(programs, runs, cpu_window)
    load = (load_before, os.getloadavg()[0])
    rows = compare(medians)
    exes = executables({"windows-x86": args.exe_x86, "windows-x64": args.exe_x64})
    print_table(rows, exes, runs, cpu_window, load)

    args.json.parent.mkdir(parents=True, exist_ok=True)
    args.json.write_text(json.dumps(
        {"runs": runs, "cpu_window_seconds": cpu_window, "load_average": load, "programs": rows,
         "executables": exes, "samples": samples}, indent=2) + "\n")
    print(f"\nwritten to {args.json}")


if __name__ == "__main__":
    main()
