"""A private Xvfb display, the xdotool and ImageMagick steps that drive a program on it, and
the processes started for a test. Every wait is a bounded poll that fails naming what it awaited."""

import os
import re
import subprocess
import time

WAIT_TIMEOUT = 20  # seconds; only reached when something is broken


def wait_until(condition, what, timeout=WAIT_TIMEOUT, process=None):
    """Polls condition until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while not (result := condition()):
        if process is not None and process.poll() is not None:
            raise AssertionError(f"{what}: the program exited with {process.returncode}")
        if time.monotonic() > deadline:
            raise AssertionError(f"{what}: not after {timeout} s")
        time.sleep(0.05)
    return result


class Display:
    """Xvfb at 96 dpi (15 twips a pixel) on a display number it picks itself."""

    def __init__(self, log_path):
        read_end, write_end = os.pipe()
        # -noreset: otherwise the last client leaving (a poll with xprop, say) resets the
        # server, and a client connecting meanwhile is turned away.
        self._server = spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                              "1280x1024x24", "-dpi", "96", "-nolisten", "tcp", "-noreset"],
                             log_path, pass_fds=(write_end,), start_new_session=True)
        os.close(write_end)
        with os.fdopen(read_end) as announced:
            self.name = ":" + announced.readline().strip()
        if self.name == ":":
            stop(self._server)
            raise RuntimeError(f"Xvfb did not start; see {log_path}")

    def env(self):
        return {name: value for name, value in dict(os.environ, DISPLAY=self.name).items()
                if name not in ("WAYLAND_DISPLAY", "XAUTHORITY")}

    def run(self, *args, check=True):
        done = subprocess.run(args, env=self.env(), stdin=subprocess.DEVNULL,
                              capture_output=True, text=True, timeout=WAIT_TIMEOUT, check=False)
        if check and done.returncode != 0:
            raise RuntimeError(f"{' '.join(args)}: {done.stderr.strip()}")
        return done

    def xdotool(self, *args, check=True):
        return self.run("xdotool", *args, check=check).stdout

    def windows(self, title=None):
        """Visible windows whose whole title is title, or all visible windows."""
        pattern = "" if title is None else f"^{re.escape(title)}$"
        found = self.xdotool("search", "--onlyvisible", "--name", pattern, check=False)
        return [int(line) for line in found.split()]

    def wait_for_window(self, title, process=None):
        return wait_until(lambda: self.windows(title), f'a window titled "{title}"',
                          process=process)[0]

    def click(self, button, repeat=1):
        self.xdotool("click", "--repeat", str(repeat), "--delay", "80", str(button))

    def key(self, *keys):
        self.xdotool("key", "--delay", "50", *keys)

    def region(self, window, rect):
        """(the darkest grey level, 0 black .. 1 white; a hash of the pixels) of window within
        rect = (x, y, width, height): whether something is drawn there, and whether it changed."""
        x, y, width, height = rect
        darkest, signature = self.run(
            "import", "-window", str(window), "-crop", f"{width}x{height}+{x}+{y}", "+repage",
            "-colorspace", "Gray", "-format", "%[fx:minima] %#", "info:").stdout.split()
        return float(darkest), signature

    def close(self):
        stop(self._server)


def read(path):
    with open(path, errors="replace") as text:
        return text.read()


def spawn(args, log_path, env=None, **options):
    """args started with its output in log_path, reading nothing."""
    with open(log_path, "wb") as log:
        return subprocess.Popen(args, env=env, stdin=subprocess.DEVNULL, stdout=log,
                                stderr=log, **options)


def stop(process):
    if process.poll() is None:
        process.terminate()
        try:
            process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
