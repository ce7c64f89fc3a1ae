#!/usr/bin/env python3
"""End to end through the real window:
real_window_e2e.py PROGRAM DEMO_IMAGE_TOOL SOURCE_DIR TAVREL_TOOL.
Cancel at start ends the program with status 0 and no window. Image A (window 462x359, centred,
16x16 and 32x32 icons): Denmark from the drop-down, step to N° 3, Salva; Export; Germany with the
arrow keys, Import of the exported file; Rombi, Modifica. The flag window (Ctrl+B) on Italy:
its flag N° 11; Import of the exported file shown, nothing written; N° 82 with colour 3 chosen
in the colour chooser, the preview showing it, Salva, verified once the program has ended;
started again, Ctrl+Z in the flag window. Image B (its nets Rombi beforehand)
through "Apri Image CD": Normali, Modifica; Newcastle, step, Salva. Closing the window ends the
program with status 0, and both images must then hold exactly the expected bytes at the places
written, the rest unchanged but for the EDC and ECC of the sectors holding those places, and
every sector must check right (tavrel-tool verify). Then image C by its .cue given as the
argument: no dialog; a patch dropped on the window (XDND) asks, applies, Ctrl+Z takes it back;
another disc dropped opens, and Salva's question answered No writes nothing.
"""

import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
from collections import namedtuple

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "window_driver"))

from tavrel_window import (FILE_DIALOG, MAIN, MESSAGE, SCREEN, Failure, Tavrel,  # noqa: E402
                           control_places, log)
from tavrel_window import FLAG_WINDOW, team_labels  # noqa: E402

# The game's places, 0-based file offsets, written down here independently of the program.
TYPE_TABLE_COPIES = (1929004, 2005412, 2328060, 4904664, 5711640)
NETS = 14368636
NORMAL_NETS, RHOMBUS_NETS = bytes([0x00, 0x65]), bytes([0x28, 0x61])
CLIENT_SIZE = (462, 359)
# palette_runs: (offset, length); these two palettes run past the end of a sector's user data.
Team = namedtuple("Team", "index label palette_runs")
DENMARK = Team(13, "Denmark", ((12549966, 26), (12550296, 4)))
GERMANY = Team(12, "Germany", ((12549934, 30),))
NEWCASTLE = Team(59, "Newcastle", ())  # no palette, a club: its type slot lies 9 further on
ITALY = Team(10, "Italy", ((12549870, 30),))
# Catalog design 103 (N° 3) as a flag record: the type byte, then the colours.
NORWAY = ("0257 14 57 14 57 14 FF FF FF FF 80 34 80 34 "
          "57 14 57 14 57 14 57 14 FF FF FF FF 80 34 80 34")
# Design 182 (N° 82), whose drawing paints colour 3 (white, 7FFF: bit 15 clear) as its middle
# band; with colour 3 chosen as ORANGE, 31 16 0 at 5 bits a channel, bit 15 kept: 021F.
ITALIAN = ("0B40 22 40 22 FF 7F FF 7F 79 14 79 14 40 22 40 22 "
           "40 22 FF 7F FF 7F FF 7F 79 14 79 14 79 14")
ORANGE, ORANGE_SHOWN = (255, 128, 0), (255, 132, 0)
ITALIAN_ORANGE = ITALIAN.replace("40 22 FF 7F", "40 22 1F 02", 1)


def write_flag(image, team, record):
    """What Salva or Import of `record` must change in the image, and nothing else."""
    before = bytes(image)
    slot = team.index if team.index < 54 else team.index + 9  # national teams, then clubs
    for copy in TYPE_TABLE_COPIES:
        image[copy + slot] = int(record[:2], 16)
    palette = bytes.fromhex(record[2:])
    for offset, length in team.palette_runs:
        image[offset:offset + length], palette = palette[:length], palette[length:]
    if image == before:  # the step would prove nothing
        raise Failure(f"writing {record!r} into {team.label} changes nothing")


def expect(actual, expected, what):
    if actual != expected:
        raise Failure(f"{what}: {actual!r}, expected {expected!r}")
    log(f"{what}: {actual!r}")


SECTOR, CHECKSUMS_FROM = 2352, 2072  # Mode 2 Form 1: EDC and ECC from byte 2072 of a sector


def answer(tavrel, key, what):
    tavrel.close_with(tavrel.wait_for(MESSAGE, what), key, what)


def undo(tavrel, window):
    """Ctrl+Z in `window` (the main window or the flag window), answered "Sì"."""
    def press():
        tavrel.focus(window)
        tavrel.keys("ctrl+z")
    press()
    tavrel.answer_yes(tavrel.wait_for(MESSAGE, "the undo question", press), "the undo question")
    answer(tavrel, "Return", "undo's message")


def close_program(tavrel):
    """The main window closed: the program ends with status 0."""
    tavrel.close(tavrel.main)
    expect(tavrel.wait_for_exit(), 0, "status after closing the window")


def differing(first, second, step=SECTOR):
    """Offsets where two byte strings differ, found a block at a time."""
    for start in range(0, max(len(first), len(second)), step):
        if first[start:start + step] != second[start:start + step]:
            yield from (at for at in range(start, start + step)
                        if first[at:at + 1] != second[at:at + 1])


def compare_image(path, original, expected, what, tool, verify=True):
    """The places hold `expected`; other bytes differ only in the checksums of their sectors,
    and (unless the program holds the image) every sector checks right. `tool` is the command
    that runs tavrel-tool."""
    actual = pathlib.Path(path).read_bytes()
    sectors = {at // SECTOR for at in differing(original, expected)}
    wrong = [at for at in differing(actual, expected)
             if not (at // SECTOR in sectors and at % SECTOR >= CHECKSUMS_FROM)]
    if wrong:
        raise Failure(f"{what} ({path}) differs at {len(wrong)} offsets: " + "; ".join(
            f"{at} holds {actual[at:at + 1].hex() or 'nothing'} instead of "
            f"{expected[at:at + 1].hex() or 'nothing'}" for at in wrong[:16]))
    if not verify:
        return log(f"{what}: the places as expected, the rest as before")
    verify = subprocess.run([*tool, "verify", path], capture_output=True, text=True, timeout=300)
    if verify.returncode != 0:
        raise Failure(f"{what}: tavrel-tool verify says\n{verify.stdout}{verify.stderr}")
    log(f"{what}: the places as expected, the rest as before but for the checksums of "
        f"sectors {sorted(sectors)}, every sector right")


def cancel_at_start(tavrel, program):
    """Cancelling the image dialog at start ends the program with status 0 and no window."""
    tavrel.start(program)
    dialog = tavrel.wait_for(FILE_DIALOG, "the image dialog")

    def cancel():
        tavrel.focus(dialog)
        tavrel.keys("Escape")

    def no_main_window():
        if MAIN in tavrel.shown().values():
            raise Failure("the main window showed after the image dialog was cancelled")
    cancel()
    expect(tavrel.wait_for_exit(no_main_window, cancel), 0, "status after Cancel")


def check_window(tavrel, main, centred=True):
    """The client size and both icons; centred on the screen where the program places itself
    (under wine, the system places a window's frame)."""
    geometry = tavrel.window(main).get_geometry()
    position, size = (geometry.x, geometry.y), (geometry.width, geometry.height)
    expect(size, CLIENT_SIZE, "client size")
    if centred and any(abs(at - (screen - client) / 2) > 0.5
                       for at, screen, client in zip(position, SCREEN, CLIENT_SIZE)):
        raise Failure(f"the window at {position} is not centred on the screen")
    icons = tavrel.icon_sizes(main)
    expect([size for size in ((16, 16), (32, 32)) if size in icons], [(16, 16), (32, 32)],
           "window icons")


def save_design(tavrel, a):
    """Salva of Denmark with design 103, chosen from the drop-down."""
    tavrel.choose_in_dropdown(DENMARK.index)
    expect(tavrel.team_text(), DENMARK.label, "team list")
    tavrel.click("nextButton", 2)
    tavrel.confirm("saveButton", "Salva")
    write_flag(a, DENMARK, NORWAY)


def save_and_export(tavrel, program_dir, a):
    """Salva of Denmark with design 103, then Export of its flag; the exported file."""
    save_design(tavrel, a)
    expect(tavrel.pairing_line(0), "Denmark Bandiera N° 3", "first pairing line")
    name = tavrel.copy_text(*tavrel.centre("nameBox"), "the name box")
    tavrel.confirm("exportButton", "Export")
    flag_path = os.path.join(program_dir, f"Flag_{name}.flg")
    expect(pathlib.Path(flag_path).read_bytes(), (NORWAY + "\r\n").encode(), "exported flag file")
    return flag_path


def import_flag(tavrel, labels, flag_path, a):
    """Import of the exported file into Germany, reached from Denmark with the arrow keys."""
    tavrel.arrow_to_team(GERMANY.label, labels)
    tavrel.answer_file_dialog(flag_path, tavrel.button("importButton", FILE_DIALOG, "Import"))
    answer(tavrel, "Return", "Import's message")
    write_flag(a, GERMANY, NORWAY)


def edit_image_a(tavrel, program_dir, labels, a):
    """Salva, Export, Import and Modifica on the image open at start; the exported file."""
    flag_path = save_and_export(tavrel, program_dir, a)
    import_flag(tavrel, labels, flag_path, a)

    tavrel.click("diamondNetsOption")
    tavrel.confirm("applyNetsButton", "Modifica")
    a[NETS:NETS + 2] = RHOMBUS_NETS
    return flag_path


def flag_window(tavrel, program, source_dir, image, original, a, flag_path, tool, by="key"):
    """The flag window on Italy, opened `by` (open_flag_window): what it holds, a file looked
    at, a colour chosen and saved; the image verified once the program has ended; in a new
    session, the window opened from the team list's menu, Ctrl+Z there takes the colour back."""
    places = control_places(source_dir, "flag_window_table.h")
    tavrel.arrow_to_team(ITALY.label, team_labels(source_dir))
    tavrel.open_flag_window(places, by)
    expect(tavrel.flag_text("holdsBox"), "N° 11 White with red sash", "Italy's flag")

    tavrel.answer_file_dialog(flag_path, tavrel.button("importButton", FILE_DIALOG, "Import",
                                                       flag=True))
    expect(tavrel.flag_text("draftBox"), "N° 3 Norway", "the file looked at")
    compare_image(image, original, a, "the image after Import in the flag window", tool,
                  verify=False)

    tavrel.click("numberBox", flag=True)
    tavrel.keys("ctrl+a", "8", "2")
    before = tavrel.colours_in("preview")
    tavrel.choose_colour("swatch3", "Colore 3 di Italy", *ORANGE)
    shown = tavrel.wait("the preview to show the colour chosen",
                        lambda: ORANGE_SHOWN in tavrel.colours_in("preview"))
    expect((shown, ORANGE_SHOWN in before), (True, False), "the colour chosen in the preview")
    saved = bytes(a)
    tavrel.confirm("saveButton", "Salva", flag=True)
    write_flag(a, ITALY, ITALIAN_ORANGE)
    close_program(tavrel)
    compare_image(image, original, a, "the image after Salva in the flag window", tool)

    tavrel.open_at_start(program, image)
    tavrel.choose_in_dropdown(ITALY.index)
    tavrel.open_flag_window(places, "menu")
    expect(tavrel.flag_text("holdsBox"), "personalizzata, tipo 0B (la più vicina: N° 82 Italy)",
           "Italy's flag")
    undo(tavrel, tavrel.flags)
    a[:] = saved
    expect(tavrel.flag_text("holdsBox"), "N° 11 White with red sash", "Italy's flag after Ctrl+Z")
    tavrel.close(tavrel.flags)
    tavrel.wait("the flag window to close", lambda: FLAG_WINDOW not in tavrel.windows().values())
    tavrel.flags = None


def edit_image_b(tavrel, image_b, b):
    """Image B opened through "Apri Image CD": Modifica with Normali, Salva of Newcastle."""
    # Image B holds Rombi nets: only Normali's click makes Modifica write 00 65.
    tavrel.answer_file_dialog(image_b, tavrel.button("openButton", FILE_DIALOG, "Apri Image CD"))
    tavrel.click("plainNetsOption")
    tavrel.confirm("applyNetsButton", "Modifica")
    b[NETS:NETS + 2] = NORMAL_NETS

    tavrel.choose_in_dropdown(NEWCASTLE.index)
    expect(tavrel.team_text(), NEWCASTLE.label, "team list")
    tavrel.click("nextButton", 3)
    tavrel.click("backButton")  # design 103
    tavrel.confirm("saveButton", "Salva")
    expect(tavrel.pairing_line(0), "Newcastle Bandiera N° 3", "first pairing line")
    write_flag(b, NEWCASTLE, NORWAY)


def make_patch(tool, images, original):
    """A patch of Denmark's and Italy's flags and the nets, made by tavrel-tool on a copy of
    the image; the patch and the image it makes."""
    source = pathlib.Path(images, "mod source.bin")
    source.write_bytes(original)
    for change in (["apply", source, "denmark", "--design", "58"],
                   ["apply", source, "italy", "--design", "9"], ["nets", source, "rombi"],
                   ["patch", source, os.path.join(images, "mod.ppf")]):
        subprocess.run([*tool, *change], check=True, stdout=subprocess.DEVNULL, timeout=300)
    return os.path.join(images, "mod.ppf"), source.read_bytes()


def expect_file(path, content, what):
    if path.read_bytes() != content:
        raise Failure(f"{what}: {path} is not as expected")
    log(f"{what}: {path.name} as expected")


def by_name_and_drops(tavrel, program, images, tool, original, name=lambda path: path):
    """Image C opened by its .cue at start; a patch and another disc dropped on the window."""
    image_c, cue = pathlib.Path(images, "image C.bin"), pathlib.Path(images, "image C.cue")
    image_c.write_bytes(original)
    cue.write_bytes(b'FILE "IMAGE C.BIN" BINARY\r\n  TRACK 01 MODE2/2352\r\n'
                    b'    INDEX 01 00:00:00\r\n')
    patch, patched = make_patch(tool, images, original)
    tavrel.start(program, name(str(cue)))
    tavrel.main = tavrel.wait_for(MAIN, "the main window")
    if FILE_DIALOG in tavrel.shown().values():
        raise Failure("the image dialog showed although an image was given")

    tavrel.drop(patch)
    answer(tavrel, "s", "the patch's question")  # "&Sì"
    answer(tavrel, "Return", "the patch's message")
    expect_file(image_c, patched, "the patch dropped")
    tavrel.click("pairingList")  # out of the text boxes, whose own Ctrl+Z is for typing
    undo(tavrel, tavrel.main)
    expect_file(image_c, original, "the patch taken back")

    other = pathlib.Path(images, "other disc.bin")
    other.write_bytes(bytes(14 << 20))
    tavrel.drop(str(other))
    tavrel.choose_in_dropdown(DENMARK.index)
    tavrel.click("saveButton")
    answer(tavrel, "Return", "the question before writing into another disc")  # No
    tavrel.wait("the main window alone", lambda: list(tavrel.windows()) == [tavrel.main])
    expect_file(other, bytes(14 << 20), "another disc after No")
    close_program(tavrel)


def run(tavrel, program_dir, images, a, b, source_dir, tool):
    """The session; `a` and `b` take the changes it must make to the images, (path, original)
    in `images`."""
    program = os.path.join(program_dir, "tavrel")
    cancel_at_start(tavrel, program)
    check_window(tavrel, tavrel.open_at_start(program, images[0][0]))
    flag_path = edit_image_a(tavrel, program_dir, team_labels(source_dir), a)
    flag_window(tavrel, program, source_dir, *images[0], a, flag_path, tool)
    edit_image_b(tavrel, images[1][0], b)
    close_program(tavrel)  # the program started again
    expect(sorted(os.listdir(program_dir)), sorted(["tavrel", os.path.basename(flag_path)]),
           "program folder")


def main():
    program, demo_image_tool, source_dir, tool = map(os.path.abspath, sys.argv[1:5])
    with tempfile.TemporaryDirectory(prefix="tavrel-e2e-") as workdir:
        program_dir = os.path.join(workdir, "program")  # Export writes beside the program
        images = os.path.join(workdir, "game images")  # a blank in the path on purpose
        os.makedirs(program_dir)
        os.makedirs(images)
        shutil.copy2(program, program_dir)
        image_a, image_b = os.path.join(images, "image A.bin"), os.path.join(images, "image B.bin")
        subprocess.run([demo_image_tool, image_a], check=True, stdout=subprocess.DEVNULL,
                       timeout=120)
        # Image B: Rombi nets set beforehand, and no change log that Ctrl+Z could take back.
        shutil.copy(image_a, image_b)
        subprocess.run([tool, "nets", image_b, "rombi"], check=True, stdout=subprocess.DEVNULL,
                       timeout=120)
        os.remove(image_b + ".tavrel-log")
        a, b = (bytearray(pathlib.Path(path).read_bytes()) for path in (image_a, image_b))
        original_a, original_b = bytes(a), bytes(b)
        try:
            with Tavrel(workdir, control_places(source_dir)) as tavrel:
                run(tavrel, program_dir, ((image_a, original_a), (image_b, original_b)), a, b,
                    source_dir, [tool])
                by_name_and_drops(tavrel, os.path.join(program_dir, "tavrel"), images, [tool],
                                  original_a)
            compare_image(image_a, original_a, a, "image A", [tool])
            compare_image(image_b, original_b, b, "image B", [tool])
        except Failure as failure:
            log(f"FAILED: {failure}")
            return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
