"""Renders one program's window, heading and live uptime shown, into a PNG file.

    screenshot.py linux TOLVANE OUT.png
    screenshot.py windows TOLVANE.EXE PREFIX WINE-RUN OUT.png
"""

import contextlib
import os
import shutil
import sys
import tempfile

import frm_main_driver
import x_session


def linux_program(stack, display, directory, program):
    import linux_program as linux  # only here: it needs python3-dbusmock

    # No bus at all: the window needs none, and the machine's own must stay out of reach.
    env = dict(os.environ, DBUS_SYSTEM_BUS_ADDRESS=linux.nowhere(directory, "system"),
               DBUS_SESSION_BUS_ADDRESS=linux.nowhere(directory, "session"))
    process = linux.start(display, program, directory, env)
    stack.callback(x_session.stop, process)
    return process


def windows_program(stack, display, directory, program, prefix, wine_run):
    import wine_program

    session = wine_program.WineSession(display, prefix, wine_run, directory)
    stack.callback(session.close)
    return session.start(program, "tolvane.log")


def render(kind, args, out):
    with contextlib.ExitStack() as stack:
        directory = tempfile.mkdtemp(prefix="tolvane-screenshot-")
        stack.callback(shutil.rmtree, directory, ignore_errors=True)
        display = x_session.Display(os.path.join(directory, "xvfb.log"))
        stack.callback(display.close)
        start = {"linux": linux_program, "windows": windows_program}[kind]
        program = start(stack, display, directory, *args)

        window = frm_main_driver.MainWindow(display, program, directory)
        display.xdotool("mousemove", "0", "0")  # no label lit, no pointer in the picture
        window.wait_for_live_uptime()
        shot = window.capture("window")
        left, top, width, height = frm_main_driver.HEADING
        x, y = window.point(left, top)
        heading = (x, y, frm_main_driver.px(width) - 1, frm_main_driver.px(height))
        if x_session.region(shot, heading)[0] > frm_main_driver.DARK:
            raise AssertionError("the heading is not shown")
        shutil.copyfile(shot, out)


if __name__ == "__main__":
    if len(sys.argv) < 4 or sys.argv[1] not in ("linux", "windows"):
        sys.exit(__doc__)
    render(sys.argv[1], [os.path.abspath(a) for a in sys.argv[2:-1]], sys.argv[-1])
    print(f"screenshot: {sys.argv[-1]}")
