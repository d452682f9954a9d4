"""Renders one program's window, its live uptime shown, into a PNG file.

    screenshot.py WINDOW_DESCRIPTION.json OUT.png linux TOLVANE
    screenshot.py WINDOW_DESCRIPTION.json OUT.png windows TOLVANE.EXE PREFIX WINE-RUN
"""

import contextlib
import os
import shutil
import sys
import tempfile

import frm_main_driver
import x_session


def render(description, out, kind, program, *wine):
    with contextlib.ExitStack() as stack:
        directory = tempfile.mkdtemp(prefix="tolvane-screenshot-")
        stack.callback(shutil.rmtree, directory, ignore_errors=True)
        display = x_session.Display(os.path.join(directory, "xvfb.log"))
        stack.callback(display.close)
        if kind == "linux":
            import linux_program  # only here: it needs python3-dbusmock

            # No bus at all: the window needs none, and the machine's must stay out of reach.
            env = {f"DBUS_{bus.upper()}_BUS_ADDRESS": linux_program.nowhere(directory, bus)
                   for bus in ("system", "session")}
            process = linux_program.start(display, program, directory, dict(os.environ, **env))
            stack.callback(x_session.stop, process)
        else:
            import wine_program

            session = wine_program.WineSession(display, *wine, directory)
            stack.callback(session.close)
            process = session.start(program, os.path.join(directory, "tolvane.log"))
        window = frm_main_driver.MainWindow(display, process, directory, description)
        display.xdotool("mousemove", "0", "0")  # no label lit, no pointer in the picture
        window.wait_for_live_uptime()
        shutil.copyfile(window.capture(), out)


if __name__ == "__main__":
    if len(sys.argv) < 5 or sys.argv[3] not in ("linux", "windows"):
        sys.exit(__doc__)
    render(*sys.argv[1:4], *map(os.path.abspath, sys.argv[4:]))
    print(f"screenshot: {sys.argv[2]}")
