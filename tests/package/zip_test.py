#!/usr/bin/env python3
"""The Windows zip as a user gets it: zip_test.py BUILD SOURCE_DIR WINE_RUN PREFIX.
Built by cpack from the cross build folder and unpacked into a new folder whose name has a blank
and an accent, it holds the two programs, the demo image, the guide and the licence side by side
(the texts with CR LF lines and, past ASCII, UTF-8's byte order mark, for Notepad); each program
asks for none but the system's DLLs and carries an Italian version resource of the zip's
version. Then, in a
wine prefix made for this run, tavrel.exe started from that folder offers the demo image at once
(Return alone opens it), a Salva changes exactly the flag's places of that demo image, and
the zip's tavrel-tool finds every sector of it right.
"""

import codecs
import os
import re
import subprocess
import sys
import tempfile
import zipfile

import pefile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tools", "window_driver"))

from real_window_e2e import close_program, compare_image, expect, save_design  # noqa: E402
from tavrel_window import (FILE_DIALOG, MAIN, Failure, Tavrel, Wine,  # noqa: E402
                           control_places, log)

CONTENTS = ["LEGGIMI.txt", "LICENSE.txt", "demo.bin", "tavrel-tool.exe", "tavrel.exe"]
SYSTEM_DLLS = {"kernel32", "user32", "gdi32", "comctl32", "comdlg32", "shell32", "ole32",
               "uxtheme", "msvcrt", "bcrypt"}
ITALIAN_UNICODE = "041004b0"


def unpack(build, workdir):
    """cpack's zip unpacked into a folder named as a user might; the program folder and the
    zip's version."""
    subprocess.run(["cpack", "-G", "ZIP", "-B", os.path.join(workdir, "out")], cwd=build,
                   check=True, stdout=subprocess.DEVNULL, timeout=600)
    out = os.path.join(workdir, "out")
    name = next(n for n in os.listdir(out) if n.endswith("-win64.zip"))
    target = os.path.join(workdir, "Modding è prova")
    with zipfile.ZipFile(os.path.join(out, name)) as archive:
        archive.extractall(target)
    version = re.fullmatch(r"tavrel-(.+)-win64\.zip", name).group(1)
    return os.path.join(target, name[:-len(".zip")]), version


def check_dlls(path):
    dump = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path], capture_output=True,
                          text=True, check=True).stdout
    dlls = {n.lower().removesuffix(".dll") for n in re.findall(r"DLL Name: (\S+)", dump)}
    expect(sorted(dlls - SYSTEM_DLLS), [], f"{os.path.basename(path)}: DLLs beyond the system's")


def check_version(path, version):
    """The version resource: one Italian Unicode block naming this file, with the zip's version
    and a copyright."""
    exe = pefile.PE(path)
    tables = {table.LangID.decode().lower(): {k.decode(): v.decode()
                                              for k, v in table.entries.items()}
              for info in exe.FileInfo[0] if info.Key == b"StringFileInfo"
              for table in info.StringTable}
    texts, name = tables.get(ITALIAN_UNICODE, {}), os.path.basename(path)
    expect((sorted(tables), texts.get("OriginalFilename"), texts.get("FileVersion"),
            texts.get("ProductVersion"), "©" in texts.get("LegalCopyright", "")),
           ([ITALIAN_UNICODE], name, version, version, True), f"{name}: version resource")


def check_texts(folder):
    for name in ("LEGGIMI.txt", "LICENSE.txt"):
        with open(os.path.join(folder, name), "rb") as reader:
            text = reader.read()
        bare = text.replace(b"\r\n", b"").count(b"\n")
        if not text.endswith(b"\r\n") or bare:
            raise Failure(f"{name}: {bare} lines end in LF alone")
        # Without the mark an older Notepad reads UTF-8's "è" as two other letters.
        if not text.isascii() and not text.startswith(codecs.BOM_UTF8):
            raise Failure(f"{name}: UTF-8 text without the byte order mark")
        log(f"{name}: {text.count(13)} lines, each ending in CR LF")


def edit_demo_in_window(folder, source_dir, prefix, tool):
    """tavrel.exe from the unpacked folder, in a new wine prefix: Return in the image dialog
    opens the demo image beside it; Denmark gets N° 3 by Salva."""
    demo = os.path.join(folder, "demo.bin")
    with open(demo, "rb") as reader:
        original = reader.read()
    expected = bytearray(original)
    places = control_places(source_dir)
    with Tavrel(os.path.dirname(prefix), places, Wine(tool[0], prefix)) as tavrel:
        tavrel.start(os.path.join(folder, "tavrel.exe"))
        dialog = tavrel.wait_for(FILE_DIALOG, "the image dialog")
        tavrel.close_with(dialog, "Return", "the image dialog, answered with Return alone")
        tavrel.main = tavrel.wait_for(MAIN, "the main window on the demo image")
        save_design(tavrel, expected)
        close_program(tavrel)
    compare_image(demo, original, expected, "the zip's demo image",
                  [*tool, os.path.join(folder, "tavrel-tool.exe")])


def main():
    build, source_dir, wine_run, tools_prefix = map(os.path.abspath, sys.argv[1:5])
    with tempfile.TemporaryDirectory(prefix="tavrel-zip-") as workdir:
        try:
            folder, version = unpack(build, workdir)
            expect(sorted(os.listdir(folder)), CONTENTS, "the zip's folder")
            for program in ("tavrel.exe", "tavrel-tool.exe"):
                check_dlls(os.path.join(folder, program))
                check_version(os.path.join(folder, program), version)
            check_texts(folder)
            edit_demo_in_window(folder, source_dir, os.path.join(workdir, "wine prefix"),
                                [wine_run, tools_prefix])
        except Failure as failure:
            log(f"FAILED: {failure}")
            return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
