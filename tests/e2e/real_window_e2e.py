#!/usr/bin/env python3
"""End to end through the real window: the real tavrel program, in an X server of its own,
driven with pointer and keys as a person would, on copies of the demo image. Afterwards each
image must equal, byte for byte, its pristine copy with exactly the expected changes.

The session: open image A; pick Denmark in the team list's drop-down, step the catalog, Salva;
Export; move the team list to Bayer Monaco with the arrow keys and Import the exported file;
choose "Rombi" and press Modifica; open image B with "Apri Image CD", pick Newcastle (no
palette), step, Salva; close the window, which must end the program with status 0.
Denmark's and Bayer Monaco's palettes both run past the end of a sector's user data.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "support"))

from tavrel_window import TavrelWindow, control_places  # noqa: E402
from xsession import (Desktop, Program, SessionFailure, XServer, check_tools,  # noqa: E402
                      exit_on_termination, log, set_log_tag)

# The game's places, 0-based file offsets, written down here independently of the program.
TYPE_TABLE_COPIES = (1929004, 2005412, 2328060, 4904664, 5711640)
NET_BYTES_OFFSET = 14368636
RHOMBUS_NETS = bytes([0x28, 0x61])
FIRST_CATALOG_ID = 101


class Team:
    def __init__(self, index, label, palette=None, continuation=None):
        self.index = index
        self.label = label
        # Where the 30 palette bytes go: one run, or 26 bytes and then 4 at the start of the
        # next sector's user data.
        if palette is None:
            self.palette_runs = []
        elif continuation is None:
            self.palette_runs = [(palette, 30)]
        else:
            self.palette_runs = [(palette, 26), (continuation, 4)]

    @property
    def slot(self):
        return self.index if self.index < 54 else self.index + 9


DENMARK = Team(13, "Denmark", 12549966, 12550296)
BAYER_MONACO = Team(80, "Bayer Monaco", 12552318, 12552648)
NEWCASTLE = Team(59, "Newcastle")


def catalog_records(source_dir):
    """The 135 catalog records by catalog id, as the program's table stores them."""
    path = os.path.join(source_dir, "src", "catalog", "catalog_records.cpp")
    with open(path) as reader:
        rows = re.findall(r'/\*\s*(\d+)\s*\*/\s*"([0-9A-F ]+)"', reader.read())
    records = {int(number): record for number, record in rows}
    if sorted(records) != list(range(FIRST_CATALOG_ID, FIRST_CATALOG_ID + 135)):
        raise SessionFailure(f"could not read the 135 catalog records from {path}")
    return records


def flag_bytes(record):
    """A flag record's type byte and 30 palette bytes (nothing past character 91 counts)."""
    record = record[:91]
    palette = bytes.fromhex(record[2:])
    if len(record) != 91 or len(palette) != 30:
        raise SessionFailure(f"not a flag record: {record!r}")
    return int(record[:2], 16), palette


def write_flag(image, team, record):
    """What a flag write must do to the image: nothing else may change."""
    type_byte, palette = flag_bytes(record)
    changed = False
    for copy in TYPE_TABLE_COPIES:
        changed |= image[copy + team.slot] != type_byte
        image[copy + team.slot] = type_byte
    at = 0
    for offset, length in team.palette_runs:
        changed |= image[offset:offset + length] != palette[at:at + length]
        image[offset:offset + length] = palette[at:at + length]
        at += length
    if not changed:  # the step would prove nothing
        raise SessionFailure(f"writing {record!r} into {team.label} changes nothing in the image")


def current_flag_line(image, team):
    """The flag file Export must write for a team: its type byte (from the first type-table
    copy) and palette as a flag record, then CR LF."""
    palette = b"".join(image[offset:offset + length] for offset, length in team.palette_runs)
    record = f"{image[TYPE_TABLE_COPIES[0] + team.slot]:02X}" + " ".join(
        f"{byte:02X}" for byte in palette)
    return (record + "\r\n").encode("ascii")


def compare_images(path, expected, what):
    with open(path, "rb") as reader:
        actual = reader.read()
    if actual == expected:
        log(f"{what}: all {len(actual)} bytes as expected")
        return
    lines = [f"{what} differs from the expected image ({path})"]
    if len(actual) != len(expected):
        lines.append(f"  size {len(actual)}, expected {len(expected)}")
    shown, chunk = 0, 1 << 16
    for start in range(0, min(len(actual), len(expected)), chunk):
        if actual[start:start + chunk] == expected[start:start + chunk]:
            continue
        for offset in range(start, min(start + chunk, len(actual), len(expected))):
            if actual[offset] != expected[offset]:
                lines.append(f"  offset {offset} (0x{offset:X}): {actual[offset]:02X}, "
                             f"expected {expected[offset]:02X}")
                shown += 1
                if shown == 16:
                    break
        if shown == 16:
            lines.append("  ...")
            break
    raise SessionFailure("\n".join(lines))


def expect_equal(actual, expected, what):
    if actual != expected:
        raise SessionFailure(f"{what}: {actual!r}, expected {expected!r}")
    log(f"{what}: {actual!r}")


def choose_team(window, team, how):
    if how == "popup":
        window.choose_team_in_popup(team.index)
    else:
        window.step_team_with_keys(how)
    expect_equal(window.text_of("cboSeqSQ", "the team list"), team.label, "team list text")


def save_design(window, team, steps_forward, steps_back, pairing_line):
    window.click("cmdNext", steps_forward)
    if steps_back:
        window.click("cmdBack", steps_back)
    window.click("cmdSalva")
    window.dismiss_message(f"Salva for {team.label}")
    expect_equal(window.pairing_line(0), pairing_line, "pairing list, first line")


def run_session(args, desktop, workdir):
    places = control_places(args.source_dir)
    records = catalog_records(args.source_dir)

    # The program runs from a folder of its own: Export writes beside it.
    program_dir = os.path.join(workdir, "program")
    os.makedirs(program_dir)
    program_path = os.path.join(program_dir, "tavrel")
    shutil.copy2(args.program, program_path)

    images_dir = os.path.join(workdir, "game images")  # a blank in the path on purpose
    os.makedirs(images_dir)
    pristine_path = os.path.join(workdir, "pristine.bin")
    subprocess.run([args.demo_image_tool, pristine_path], check=True, stdout=subprocess.DEVNULL,
                   timeout=120)
    image_a = os.path.join(images_dir, "image A.bin")
    image_b = os.path.join(images_dir, "image B.bin")
    shutil.copyfile(pristine_path, image_a)
    shutil.copyfile(pristine_path, image_b)
    with open(pristine_path, "rb") as reader:
        pristine = reader.read()
    expected_a = bytearray(pristine)
    expected_b = bytearray(pristine)

    program = Program(program_path, desktop, workdir, "tavrel", cwd=workdir)
    try:
        window = TavrelWindow(program, desktop, places)
        window.open_at_start(image_a)

        # Image A. Salva: Denmark gets design 104 (three steps from the first).
        choose_team(window, DENMARK, "popup")
        save_design(window, DENMARK, 3, 0, "Denmark Bandiera N° 4")
        write_flag(expected_a, DENMARK, records[104])

        # Export: Flag_<the name box's text>.flg beside the program, holding Denmark's flag.
        name = window.text_of("txtSqHEX", "the name box")
        window.click("cmdExport")
        window.dismiss_message("Export")
        flag_path = os.path.join(program_dir, f"Flag_{name}.flg")
        if not os.path.isfile(flag_path):
            raise SessionFailure(f"Export wrote no {flag_path}; the program's folder holds "
                                 f"{sorted(os.listdir(program_dir))}")
        with open(flag_path, "rb") as reader:
            exported = reader.read()
        expect_equal(exported, current_flag_line(expected_a, DENMARK), "exported flag file")

        # Import into Bayer Monaco, reached from Denmark with the arrow keys.
        choose_team(window, BAYER_MONACO, BAYER_MONACO.index - DENMARK.index)
        window.click("cmdImp")
        window.answer_open_dialog(flag_path)
        window.dismiss_message("Import")
        write_flag(expected_a, BAYER_MONACO, exported.decode("ascii").splitlines()[0])

        # Goal nets: "Rombi", then Modifica.
        window.click("optRombi")
        window.click("cmdReti")
        window.dismiss_message("Modifica")
        expected_a[NET_BYTES_OFFSET:NET_BYTES_OFFSET + 2] = RHOMBUS_NETS

        # Image B, opened in place of A: the window starts over at design 101. Newcastle has
        # no palette, so Salva writes only its type (design 103: forward three, back one).
        window.click("cmdOpen")
        window.answer_open_dialog(image_b)
        choose_team(window, NEWCASTLE, "popup")
        save_design(window, NEWCASTLE, 3, 1, "Newcastle Bandiera N° 3")
        write_flag(expected_b, NEWCASTLE, records[103])

        window.close()
        status = program.wait_for_exit()
        if status != 0:
            raise SessionFailure(f"closing the window ended the program with status {status}:\n"
                                 + program.output())
        log("closing the window ended the program with status 0")
    except SessionFailure:
        if args.keep:  # what the screen showed when it went wrong
            desktop.capture("root", os.path.join(workdir, "failure.png"))
        raise
    finally:
        program.stop()

    compare_images(image_a, bytes(expected_a), "image A")
    compare_images(image_b, bytes(expected_b), "image B")
    left = sorted(os.listdir(program_dir))
    expect_equal(left, sorted(["tavrel", os.path.basename(flag_path)]), "program folder")


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--program", required=True, help="the tavrel executable")
    parser.add_argument("--demo-image-tool", required=True, help="the tavrel-demo-image tool")
    parser.add_argument("--source-dir", required=True, help="the top of the source tree")
    parser.add_argument("--keep", action="store_true", help="keep the work folder")
    args = parser.parse_args()
    args.program = os.path.abspath(args.program)
    args.demo_image_tool = os.path.abspath(args.demo_image_tool)
    set_log_tag("e2e")
    exit_on_termination()

    workdir = tempfile.mkdtemp(prefix="tavrel-e2e-")
    server = None
    try:
        check_tools()
        server = XServer(workdir)
        server.start()
        run_session(args, Desktop(server.display), workdir)
    except SessionFailure as failure:
        log(f"FAILED: {failure}")
        return 1
    finally:
        if server:
            server.stop()
        if args.keep:
            log(f"work folder kept: {workdir}")
        else:
            shutil.rmtree(workdir, ignore_errors=True)
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
