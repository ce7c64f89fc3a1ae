"""Retakes the README's pictures of the windows: starts the built program in an X server of
its own on a fresh demo image, gives Italy the Italian flag with "Salva", and saves only the
window (no frame: there is no window manager) as docs/screenshot.png; then opens the flag
window with Ctrl+B, starts it from design N° 2 (whose black the console leaves transparent),
and saves it as docs/screenshot-flag.png. With --windows, the same of tavrel.exe under wine
(build-win/) as docs/screenshot-windows.png and docs/screenshot-flag-windows.png. Builds
nothing.

    bash scripts/screenshot.sh [--windows] [--build DIR] [--output FILE] [--flag-output FILE]
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "tools", "window_driver"))

from tavrel_window import Failure, Tavrel, Wine, control_places, log  # noqa: E402

TRANSPARENT_BLACK_POSITION = "2"  # its colours 14 and 15 are 0000

ITALY = 10
ITALIAN_FLAG_POSITION = 82  # catalog design 182


def save(tavrel, window, path):
    """The whole screen cut to the window: what shows there, whoever draws it."""
    # The pointer off the window: no hover highlight.
    tavrel.tool("xdotool", "mousemove", "0", "0")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    place = tavrel.window(window).get_geometry()
    if tavrel.tool("import", "-window", "root", "-crop",
                   f"{place.width}x{place.height}+{place.x}+{place.y}", "+repage", path) is None:
        raise Failure("ImageMagick's import could not save the window")
    log(f"saved {path}")


def take(args, workdir):
    image = os.path.join(workdir, "demo.bin")
    run = [os.path.join(ROOT, "scripts", "wine-run.sh"), os.path.join(args.build, "wineprefix")]
    run = run if args.windows else []
    subprocess.run([*run, os.path.join(args.build, "tavrel-demo-image" + args.suffix), image],
                   check=True, stdout=subprocess.DEVNULL, timeout=300)
    # The program runs from a copy, so nothing can land in the build folder.
    program = shutil.copy2(os.path.join(args.build, "tavrel" + args.suffix), workdir)
    wine = Wine(run[0], run[1] + "-window") if args.windows else None
    with Tavrel(workdir, control_places(ROOT), wine) as tavrel:
        tavrel.open_at_start(program, image)
        tavrel.choose_in_dropdown(ITALY)
        tavrel.click("nextButton", ITALIAN_FLAG_POSITION - 1)
        tavrel.confirm("saveButton", "Salva")
        line = tavrel.pairing_line(0)
        if line != f"Italy Bandiera N° {ITALIAN_FLAG_POSITION}":
            raise Failure(f"the pairing list shows {line!r}")
        save(tavrel, tavrel.main, args.output)
        tavrel.open_flag_window(control_places(ROOT, "flag_window_table.h"))
        tavrel.click("numberBox", flag=True)
        tavrel.keys("ctrl+a", *TRANSPARENT_BLACK_POSITION)
        if not tavrel.flag_text("draftBox").startswith("N° 2 "):
            raise Failure("the flag window does not show design N° 2")
        tavrel.click("numberBox", flag=True)  # the text copied is no longer selected
        save(tavrel, tavrel.flags, args.flag_output)
        tavrel.close(tavrel.main)
        tavrel.wait_for_exit()


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--windows", action="store_true",
                        help="tavrel.exe under wine, from build-win/")
    parser.add_argument("--build", help="the build folder holding tavrel and tavrel-demo-image")
    parser.add_argument("--output")
    parser.add_argument("--flag-output")
    args = parser.parse_args()
    args.suffix = ".exe" if args.windows else ""
    args.build = os.path.abspath(args.build or os.path.join(
        ROOT, "build-win" if args.windows else "build"))
    args.output = os.path.abspath(args.output or os.path.join(
        ROOT, "docs", "screenshot-windows.png" if args.windows else "screenshot.png"))
    args.flag_output = os.path.abspath(args.flag_output or os.path.join(
        ROOT, "docs", "screenshot-flag-windows.png" if args.windows else "screenshot-flag.png"))
    for tool in ("tavrel", "tavrel-demo-image"):
        if not os.access(os.path.join(args.build, tool + args.suffix), os.R_OK):
            script = "build-windows.sh" if args.windows else "build.sh"
            log(f"no {tool + args.suffix} in {args.build}: build first (bash scripts/{script})")
            return 1
    try:
        with tempfile.TemporaryDirectory(prefix="tavrel-screenshot-") as workdir:
            take(args, workdir)
    except Failure as failure:
        log(f"FAILED: {failure}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
