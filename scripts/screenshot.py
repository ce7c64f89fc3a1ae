"""Retakes the README's picture of the window: starts the built program in an X server of its
own on a fresh demo image, gives Italy the Italian flag with "Salva", and saves only the window
(no frame: there is no window manager) as docs/screenshot.png. Builds nothing.

    bash scripts/screenshot.sh [--build DIR] [--output FILE]
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tests", "support"))

from tavrel_window import TavrelWindow, control_places  # noqa: E402
from xsession import (Desktop, Program, SessionFailure, XServer, check_tools,  # noqa: E402
                      exit_on_termination, log, set_log_tag)

ITALY = 10
ITALIAN_FLAG_POSITION = 82  # catalog design 182


def take(args, desktop, workdir):
    image = os.path.join(workdir, "demo.bin")
    subprocess.run([os.path.join(args.build, "tavrel-demo-image"), image], check=True,
                   stdout=subprocess.DEVNULL, timeout=120)
    # The program runs from a copy, so nothing can land in the build folder.
    program_path = os.path.join(workdir, "tavrel")
    shutil.copy2(os.path.join(args.build, "tavrel"), program_path)
    program = Program(program_path, desktop, workdir, "tavrel")
    try:
        window = TavrelWindow(program, desktop, control_places(ROOT))
        window.open_at_start(image)
        window.choose_team_in_popup(ITALY)
        window.click("cmdNext", ITALIAN_FLAG_POSITION - 1)
        window.click("cmdSalva")
        window.dismiss_message("Salva")
        line = window.pairing_line(0)
        if line != f"Italy Bandiera N° {ITALIAN_FLAG_POSITION}":
            raise SessionFailure(f"the pairing list shows {line!r}")
        # The pointer off the window: no hover highlight.
        desktop.xdotool("mousemove", "0", "0")
        os.makedirs(os.path.dirname(args.output), exist_ok=True)
        desktop.capture(window.window, args.output)
        window.close()
        program.wait_for_exit()
    finally:
        program.stop()
    log(f"saved {args.output}")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--build", default=os.path.join(ROOT, "build"),
                        help="the build folder holding tavrel and tavrel-demo-image")
    parser.add_argument("--output", default=os.path.join(ROOT, "docs", "screenshot.png"))
    args = parser.parse_args()
    args.build = os.path.abspath(args.build)
    args.output = os.path.abspath(args.output)
    set_log_tag("screenshot")
    exit_on_termination()
    for tool in ("tavrel", "tavrel-demo-image"):
        if not os.access(os.path.join(args.build, tool), os.X_OK):
            log(f"no {tool} in {args.build}: build first (bash scripts/build.sh)")
            return 1

    server = None
    try:
        check_tools("import")
        with tempfile.TemporaryDirectory(prefix="tavrel-screenshot-") as workdir:
            server = XServer(workdir)
            try:
                server.start()
                take(args, Desktop(server.display), workdir)
            finally:
                server.stop()
    except SessionFailure as failure:
        log(f"FAILED: {failure}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
