#!/usr/bin/env python3
"""End to end through the real window: the real tavrel program in an X server of its own,
driven with pointer and keys as a person would, on copies of the demo image. Afterwards each
image must equal, byte for byte, its first contents with exactly the expected changes.

Cancelling the image dialog at start ends the program with status 0 and no window. Then: open
image A (the window is 462x359, centred, with 16x16 and 32x32 icons); Denmark from the team
list's drop-down, step the catalog, Salva; Export; Bayer Monaco with the arrow keys, Import of
the exported file; Rombi, Modifica. Open image B (its nets made Rombi beforehand): Normali,
Modifica; Newcastle (no palette), step, Salva. Closing the window ends with status 0.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))

from tavrel_window import (FILE_DIALOG, MAIN, MESSAGE, SCREEN, Failure, Session, Tavrel,  # noqa: E402
                           control_places, log)

# The game's places, 0-based file offsets, written down here independently of the program.
TYPE_TABLE_COPIES = (1929004, 2005412, 2328060, 4904664, 5711640)
NETS = 14368636
NORMAL_NETS, RHOMBUS_NETS = bytes([0x00, 0x65]), bytes([0x28, 0x61])
CLIENT_SIZE = (462, 359)
# Catalog designs 103 and 104: the type byte, then the fifteen colours.
NORWAY = ("0257 14 57 14 57 14 FF FF FF FF 80 34 80 34 "
          "57 14 57 14 57 14 57 14 FF FF FF FF 80 34 80 34")
ROUNDEL = ("37C0 48 C0 48 C0 48 FF 7F FF 7F 5B 0C 5B 0C "
           "C0 48 C0 48 C0 48 FF 7F FF 7F 5B 0C 5B 0C 5B 0C")


class Team:
    def __init__(self, index, label, *palette_runs):
        self.index, self.label = index, label
        self.slot = index if index < 54 else index + 9  # national teams, then the clubs
        self.palette_runs = palette_runs  # (offset, length): 30 bytes in one or two runs


# Both palettes run past the end of a sector's user data: 26 bytes, then 4 in the next sector.
DENMARK = Team(13, "Denmark", (12549966, 26), (12550296, 4))
BAYER_MONACO = Team(80, "Bayer Monaco", (12552318, 26), (12552648, 4))
NEWCASTLE = Team(59, "Newcastle")


def write_flag(image, team, record):
    """What Salva or Import of `record` must do to the image, and nothing else."""
    before = bytes(image)
    for copy in TYPE_TABLE_COPIES:
        image[copy + team.slot] = int(record[:2], 16)
    palette = bytes.fromhex(record[2:])
    for offset, length in team.palette_runs:
        image[offset:offset + length], palette = palette[:length], palette[length:]
    if image == before:  # the step would prove nothing
        raise Failure(f"writing {record!r} into {team.label} changes nothing")


def expect_equal(actual, expected, what):
    if actual != expected:
        raise Failure(f"{what}: {actual!r}, expected {expected!r}")
    log(f"{what}: {actual!r}")


def compare_image(path, expected, what):
    with open(path, "rb") as reader:
        actual = reader.read()
    expect_equal(len(actual), len(expected), f"{what}, size")
    chunk = 4096
    wrong = [at for start in range(0, len(actual), chunk)
             if actual[start:start + chunk] != expected[start:start + chunk]
             for at in range(start, min(start + chunk, len(actual)))
             if actual[at] != expected[at]]
    if wrong:
        raise Failure(f"{what} ({path}) differs at {len(wrong)} offsets: " + ", ".join(
            f"{at} holds {actual[at]:02X}, expected {expected[at]:02X}" for at in wrong[:16]))
    log(f"{what}: all {len(actual)} bytes as expected")


def cancel_at_start(session, program, workdir):
    with Tavrel(session, program, workdir) as tavrel:
        dialog = tavrel.wait_for(FILE_DIALOG, "the image dialog")
        session.focus(dialog)
        session.keys("Escape")

        def no_main_window():
            if MAIN in session.windows(tavrel.process.pid).values():
                raise Failure("the main window showed after the image dialog was cancelled")
        expect_equal(tavrel.wait_for_exit(no_main_window), 0, "status after Cancel")


def edit_images(session, program, workdir, places, image_a, image_b, program_dir, a, b):
    """The session through the window; `a` and `b` get the changes expected in the images."""
    with Tavrel(session, program, workdir, places) as tavrel:
        main = tavrel.open_at_start(image_a)
        position, size = session.geometry(main)
        expect_equal(size, CLIENT_SIZE, "window size")
        if any(abs(p - (s - c) / 2) > 0.5 for p, s, c in zip(position, SCREEN, CLIENT_SIZE)):
            raise Failure(f"window at {position}: not centred on the {SCREEN} screen")
        icons = session.icon_sizes(main)
        if not {(16, 16), (32, 32)} <= set(icons):
            raise Failure(f"window icon sizes {icons}, expected 16x16 and 32x32")

        # Image A. Denmark gets design 104, three steps on from the first.
        tavrel.choose_in_dropdown(DENMARK.index)
        expect_equal(tavrel.team_text(), DENMARK.label, "team list")
        tavrel.click("cmdNext", 3)
        tavrel.confirm("cmdSalva", "Salva")
        expect_equal(tavrel.pairing_line(0), "Denmark Bandiera N° 4", "first pairing line")
        write_flag(a, DENMARK, ROUNDEL)

        # Export: Flag_<the name box's text>.flg beside the program, with Denmark's flag.
        name = tavrel.copy_text(*tavrel.centre("txtSqHEX"), "the name box")
        tavrel.confirm("cmdExport", "Export")
        flag_path = os.path.join(program_dir, f"Flag_{name}.flg")
        with open(flag_path, "rb") as reader:
            expect_equal(reader.read(), (ROUNDEL + "\r\n").encode(), "exported flag file")

        # Import into Bayer Monaco, reached from Denmark with the arrow keys. Copying the team
        # list's text first also proves the keys will go there.
        expect_equal(tavrel.team_text(), DENMARK.label, "team list")
        session.keys("Down", repeat=BAYER_MONACO.index - DENMARK.index)
        expect_equal(tavrel.team_text(), BAYER_MONACO.label, "team list")
        tavrel.answer_file_dialog(flag_path, tavrel.button("cmdImp", FILE_DIALOG, "Import"))
        tavrel.close_with(tavrel.wait_for(MESSAGE, "the message after Import"), "Return",
                          "the message after Import")
        write_flag(a, BAYER_MONACO, ROUNDEL)

        tavrel.click("optRombi")
        tavrel.confirm("cmdReti", "Modifica")
        a[NETS:NETS + 2] = RHOMBUS_NETS

        # Image B in place of A. Its nets hold Rombi, so only Normali's click makes Modifica
        # write 00 65.
        tavrel.answer_file_dialog(image_b, tavrel.button("cmdOpen", FILE_DIALOG, "Apri"))
        tavrel.click("optNorm")
        tavrel.confirm("cmdReti", "Modifica")
        b[NETS:NETS + 2] = NORMAL_NETS

        # Newcastle has no palette: Salva writes only its type, design 103 (on three, back one).
        tavrel.choose_in_dropdown(NEWCASTLE.index)
        expect_equal(tavrel.team_text(), NEWCASTLE.label, "team list")
        tavrel.click("cmdNext", 3)
        tavrel.click("cmdBack")
        tavrel.confirm("cmdSalva", "Salva")
        expect_equal(tavrel.pairing_line(0), "Newcastle Bandiera N° 3", "first pairing line")
        write_flag(b, NEWCASTLE, NORWAY)

        session.close(main)
        expect_equal(tavrel.wait_for_exit(), 0, "status after closing the window")
    return flag_path


def run(args, session, workdir):
    # The program runs from a folder of its own: Export writes beside it.
    program_dir = os.path.join(workdir, "program")
    os.makedirs(program_dir)
    program = shutil.copy2(args.program, program_dir)
    pristine = os.path.join(workdir, "pristine.bin")
    subprocess.run([args.demo_image_tool, pristine], check=True, stdout=subprocess.DEVNULL,
                   timeout=120)
    with open(pristine, "rb") as reader:
        a = bytearray(reader.read())
    b = bytearray(a)
    b[NETS:NETS + 2] = RHOMBUS_NETS
    images = os.path.join(workdir, "game images")  # a blank in the path on purpose
    os.makedirs(images)
    image_a, image_b = os.path.join(images, "image A.bin"), os.path.join(images, "image B.bin")
    for path, contents in ((image_a, a), (image_b, b)):
        with open(path, "wb") as writer:
            writer.write(contents)

    cancel_at_start(session, program, workdir)
    places = control_places(args.source_dir)
    flag_path = edit_images(session, program, workdir, places, image_a, image_b, program_dir,
                            a, b)
    compare_image(image_a, a, "image A")
    compare_image(image_b, b, "image B")
    expect_equal(sorted(os.listdir(program_dir)), sorted(["tavrel", os.path.basename(flag_path)]),
                 "program folder")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True, help="the tavrel executable")
    parser.add_argument("--demo-image-tool", required=True, help="the tavrel-demo-image tool")
    parser.add_argument("--source-dir", required=True, help="the top of the source tree")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    args = parser.parse_args()
    workdir = tempfile.mkdtemp(prefix="tavrel-e2e-")
    try:
        with Session() as session:
            run(args, session, workdir)
    except Failure as failure:
        log(f"FAILED: {failure}")
        return 1
    finally:
        if args.keep:
            log(f"work folder kept: {workdir}")
        else:
            shutil.rmtree(workdir, ignore_errors=True)
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
