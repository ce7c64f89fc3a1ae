#!/usr/bin/env python3
"""Runs the real tavrel program in an X server of its own (Xvfb) and drives it from outside:
the image dialog comes up, a typed path opens the main window, closing that window ends the
program with status 0; cancelling the dialog ends it with status 0 and no main window.

Every wait is a bounded poll, so a loaded machine only makes the test slower; everything the
test starts is stopped by its pid at the end.
"""

import argparse
import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))

from tavrel_window import MAIN_WINDOW_NAME, OPEN_DIALOG_NAME, TavrelWindow  # noqa: E402
from xsession import (SCREEN, STEP_TIMEOUT, Desktop, Program, SessionFailure,  # noqa: E402
                      XServer, check_tools, exit_on_termination, log, set_log_tag, wait_until)

CLIENT_SIZE = (462, 359)

# The game image is only opened, never interpreted here: a sparse file of the game's size with
# plain net bytes is enough for the window to come up with "Normali" selected.
IMAGE_SIZE = 6110 * 2352
NET_BYTES_OFFSET = 14368636


def make_image(workdir):
    path = os.path.join(workdir, "game image.bin")  # a blank in the name on purpose
    with open(path, "wb") as image:
        image.truncate(IMAGE_SIZE)
        image.seek(NET_BYTES_OFFSET)
        image.write(bytes([0x00, 0x65]))
    return path


def open_image_then_close(program_path, desktop, workdir):
    image = make_image(workdir)
    program = Program(program_path, desktop, workdir, "open-and-close")
    try:
        window = TavrelWindow(program, desktop).open_at_start(image)

        position, size = wait_until("the main window's geometry", STEP_TIMEOUT,
                                    lambda: desktop.geometry(window))
        if size != CLIENT_SIZE:
            raise SessionFailure(f"main window is {size[0]}x{size[1]}, expected "
                                 f"{CLIENT_SIZE[0]}x{CLIENT_SIZE[1]}")
        centred = tuple((screen - client) // 2 for screen, client in zip(SCREEN, CLIENT_SIZE))
        if any(abs(a - b) > 1 for a, b in zip(position, centred)):
            raise SessionFailure(f"main window at {position}, expected centred at {centred}")
        icons = desktop.icon_sizes(window)
        if not {(16, 16), (32, 32)} <= set(icons):
            raise SessionFailure(f"window icon sizes {icons}, expected 16x16 and 32x32")

        desktop.send_delete_window(window)
        status = program.wait_for_exit()
        if status != 0:
            raise SessionFailure(f"closing the window ended the program with status {status}")
        log("closing the main window ended the program with status 0")
    finally:
        program.stop()


def cancel_at_start(program_path, desktop, workdir):
    program = Program(program_path, desktop, workdir, "cancel")
    try:
        dialog = program.wait_for_window(OPEN_DIALOG_NAME, "the image dialog")
        program.focus(dialog, "the image dialog")
        desktop.key("Escape")

        def no_main_window():
            if desktop.windows(program.pid, MAIN_WINDOW_NAME):
                raise SessionFailure("the main window appeared after the dialog was cancelled")

        status = program.wait_for_exit(watch=no_main_window)
        if status != 0:
            raise SessionFailure(f"cancelling the dialog ended the program with status {status}")
        log("cancelling the image dialog ended the program with status 0, no window shown")
    finally:
        program.stop()


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("program", help="path of the tavrel executable")
    args = parser.parse_args()
    set_log_tag("smoke")
    exit_on_termination()

    server = None
    try:
        check_tools()
        with tempfile.TemporaryDirectory(prefix="tavrel-smoke-") as workdir:
            server = XServer(workdir)
            try:
                server.start()
                desktop = Desktop(server.display)
                open_image_then_close(os.path.abspath(args.program), desktop, workdir)
                cancel_at_start(os.path.abspath(args.program), desktop, workdir)
            finally:
                server.stop()
    except SessionFailure as failure:
        log(f"FAILED: {failure}")
        return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
