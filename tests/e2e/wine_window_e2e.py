#!/usr/bin/env python3
"""tavrel.exe end to end under wine, through its real window:
wine_window_e2e.py PROGRAM DEMO_IMAGE_TOOL SOURCE_DIR TAVREL_TOOL WINE_RUN PREFIX.
Cancel at start ends the program with status 0 and no window. Then the image through the open
dialog (window 462x359, icons of 16 and 32 pixels): Denmark from the drop-down, step to N° 3,
Salva; Export; Germany with the arrow keys, Import of the exported file; Rombi, Modifica;
Ctrl+Z answered "Sì" takes the nets back. The flag window as the Linux test drives it, with
the system's colour chooser, opened by a double click on the preview. Closing the window ends
the program with status 0, and the image must then hold exactly the expected bytes at the
places written, the rest unchanged but for the EDC and ECC of the sectors holding those places,
and every sector must check right (tavrel-tool verify). Then, as on Linux, an image's .cue given as the argument (what
dropping it on tavrel.exe does), a patch and another disc dropped on the window: wine turns the
X server's drop (XDND) into the WM_DROPFILES a drop from Explorer sends. The Windows tools run in
PREFIX; the program in a prefix of its own beside it, since the first program of a prefix
decides its display.
"""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "window_driver"))

from real_window_e2e import (NETS, RHOMBUS_NETS, by_name_and_drops,  # noqa: E402
                             cancel_at_start, check_window, close_program, compare_image, expect,
                             flag_window, import_flag, save_and_export, undo)
from tavrel_window import Failure, Tavrel, Wine, control_places, log, team_labels  # noqa: E402


def import_nets_undo(tavrel, labels, image, flag_path, a):
    """Import into Germany; Rombi and Modifica; Ctrl+Z takes Modifica back."""
    import_flag(tavrel, labels, flag_path, a)
    tavrel.click("diamondNetsOption")
    tavrel.confirm("applyNetsButton", "Modifica")
    expect(pathlib.Path(image).read_bytes()[NETS:NETS + 2], RHOMBUS_NETS, "nets after Modifica")
    undo(tavrel, tavrel.main)


def main():
    program, demo_image_tool, source_dir, tool, wine_run, prefix = map(os.path.abspath,
                                                                        sys.argv[1:7])
    with tempfile.TemporaryDirectory(prefix="tavrel-wine-e2e-") as workdir:
        program_dir = os.path.join(workdir, "program")  # Export writes beside the program
        images = os.path.join(workdir, "game images")  # a blank in the path on purpose
        os.makedirs(program_dir)
        os.makedirs(images)
        program = shutil.copy2(program, program_dir)
        image = os.path.join(images, "image A.bin")
        subprocess.run([wine_run, prefix, demo_image_tool, image], check=True,
                       stdout=subprocess.DEVNULL, timeout=300)
        a = bytearray(pathlib.Path(image).read_bytes())
        original = bytes(a)
        try:
            wine = Wine(wine_run, prefix + "-window")
            with Tavrel(workdir, control_places(source_dir), wine) as tavrel:
                cancel_at_start(tavrel, program)
                check_window(tavrel, tavrel.open_at_start(program, image), centred=False)
                flag_path = save_and_export(tavrel, program_dir, a)
                import_nets_undo(tavrel, team_labels(source_dir), image, flag_path, a)
                flag_window(tavrel, program, source_dir, image, original, a, flag_path,
                            [wine_run, prefix, tool], "double-click")
                close_program(tavrel)
                by_name_and_drops(tavrel, program, images, [wine_run, prefix, tool], original,
                                  wine.path)
            expect(sorted(os.listdir(program_dir)),
                   sorted(["tavrel.exe", os.path.basename(flag_path)]), "program folder")
            compare_image(image, original, a, "the image", [wine_run, prefix, tool])
        except Failure as failure:
            log(f"FAILED: {failure}")
            return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
