#!/usr/bin/env python3
"""tavrel-tool built for Linux and for Windows (run under wine), on the same demo images: the same
output and bytes (patches included: each system's own tests apply them), one change log both
read and undo, UTF-8 names, two Windows writers at once, and Windows' paths in plans.
Usage: cross_system_test.py LINUX_BUILD WINDOWS_BUILD"""
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

LINUX_BUILD, WINDOWS_BUILD = (pathlib.Path(p).resolve() for p in sys.argv[1:3])
WINE_RUN = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "wine-run.sh"
PREFIX = WINDOWS_BUILD / "wineprefix"


def command(system, *args):
    if system == "linux":
        return [str(LINUX_BUILD / "tavrel-tool"), *args]
    return [str(WINE_RUN), str(PREFIX), str(WINDOWS_BUILD / "tavrel-tool.exe"), *args]


class CrossSystem(unittest.TestCase):
    def setUp(self):
        self.dir = pathlib.Path(tempfile.mkdtemp(prefix="tavrel-cross-"))
        self.addCleanup(shutil.rmtree, self.dir)
        demo = self.dir / "demo.bin"
        subprocess.run([str(LINUX_BUILD / "tavrel-demo-image"), str(demo)], check=True,
                       capture_output=True)
        self.demo = demo.read_bytes()

    def tool(self, system, *args, folder=None, status=0):
        run = subprocess.run(command(system, *args), cwd=folder or self.dir, capture_output=True,
                             timeout=300)
        self.assertEqual(run.returncode, status, f"{system} {args}: {run.stderr!r}")
        return run.stdout

    def image(self, name, content=None):
        path = self.dir / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(self.demo if content is None else content)
        return path

    def test_every_command_gives_what_linux_gives(self):
        plan = b"# CR LF lines\r\nItaly 3\r\n\"Bayer Monaco\" a.flg\r\n"
        steps = [("teams", "game.bin"), ("apply", "game.bin", "denmark", "--design", "58"),
                 ("nets", "game.bin", "rombi"), ("apply", "game.bin", "--plan", "plan.txt"),
                 ("show", "game.bin", "80"), ("export", "game.bin", "--to", "flags"),
                 ("undo", "game.bin"), ("patch", "game.bin", "mod.ppf"),
                 ("patch", "game.bin", "mod.xdelta"), ("nets", "game.bin"),
                 ("apply", "game.bin", "italy", "--design", "9", "--colour", "3=#FF8000",
                  "--colour", "8=8000"),
                 ("render", "game.bin", "italy", "--png", "italy.png", "--scale", "3"),
                 ("info", "game.bin")]
        results = {}
        for system in ("linux", "windows"):
            folder = self.dir / system
            self.image(f"{system}/game.bin")
            (folder / "flags").mkdir()
            (folder / "plan.txt").write_bytes(plan)
            (folder / "a.flg").write_bytes(self.tool("linux", "catalog", "77"))
            outputs = [self.tool(system, *step, folder=folder) for step in steps]
            # export names the files it wrote as each system writes paths
            outputs[5] = outputs[5].replace(b"\\", b"/")
            files = {p.relative_to(folder): p.read_bytes() for p in folder.rglob("*")
                     if p.is_file() and not p.name.endswith(".tavrel-log")}
            results[system] = outputs, files
        (linux_outputs, linux_files), (outputs, files) = results["linux"], results["windows"]
        self.assertEqual(outputs, linux_outputs)
        self.assertEqual(sorted(files), sorted(linux_files))
        for name, content in linux_files.items():
            self.assertTrue(files[name] == content, f"{name} differs")

    def test_each_system_lists_and_undoes_the_others_changes(self):
        for writer, reader in (("windows", "linux"), ("linux", "windows")):
            self.image("game.bin")
            for log in self.dir.glob("game.bin.tavrel-log*"):
                log.unlink()
            self.tool(writer, "apply", "game.bin", "denmark", "--design", "58")
            self.assertIn("Denmark: N° 58", self.tool(reader, "history", "game.bin").decode())
            self.tool(reader, "undo", "game.bin")
            self.assertEqual((self.dir / "game.bin").read_bytes(), self.demo, writer)
            self.assertEqual(len(self.tool(writer, "history", "game.bin").splitlines()), 2)

    def test_a_folder_named_in_utf8_is_edited_exported_and_imported(self):
        folder = "Città è più"
        game = self.image(f"{folder}/game.bin")
        self.tool("windows", "apply", f"{folder}/game.bin", "denmark", "--design", "58")
        self.tool("windows", "export", f"{folder}/game.bin", "denmark", "--to", folder)
        self.tool("windows", "apply", f"{folder}\\game.bin", "italy", "--file",
                  f"{folder}\\Flag_Denma.flg")
        self.assertTrue((game.parent / "game.bin.tavrel-log").is_file())
        self.assertEqual(self.tool("linux", "show", str(game), "italy").splitlines()[0],
                         (game.parent / "Flag_Denma.flg").read_bytes().rstrip())

    def test_a_second_windows_writer_is_refused_while_the_first_holds_the_image(self):
        game = self.image("game.bin")
        first = subprocess.Popen(command("windows", "apply", "game.bin", "--plan", "-"),
                                 cwd=self.dir, stdin=subprocess.PIPE, stdout=subprocess.DEVNULL)
        self.addCleanup(first.kill)
        # Trying the lock would race the first writer for it: the kernel's list says when wine
        # holds it for that process.
        inode = f":{game.stat().st_ino} "
        deadline = time.monotonic() + 120
        while inode not in pathlib.Path("/proc/locks").read_text():
            self.assertLess(time.monotonic(), deadline, "the first writer never locked")
            time.sleep(0.01)
        refused = subprocess.run(command("windows", "apply", "game.bin", "13", "--design", "3"),
                                 cwd=self.dir, capture_output=True, timeout=300)
        self.assertEqual(refused.returncode, 1)
        self.assertIn(b"accesso negato", refused.stderr)
        self.assertEqual(game.read_bytes(), self.demo)
        first.communicate(b"Italy 3\n", timeout=300)
        self.assertEqual(first.returncode, 0)
        self.assertNotEqual(game.read_bytes(), self.demo)

    def test_plans_take_windows_paths(self):
        flag = self.tool("linux", "catalog", "77")
        mods = PREFIX / "drive_c" / "mods"
        mods.mkdir(parents=True, exist_ok=True)
        (mods / "x.flg").write_bytes(flag)
        self.addCleanup(shutil.rmtree, mods)
        game = self.image("game.bin")
        self.image("plans/plan.txt", b"Denmark C:\\mods\\x.flg\r\nItaly ..\\x.flg\r\n")
        self.image("x.flg", flag)
        self.tool("windows", "apply", str(game), "--plan", "plans\\plan.txt")
        for team in ("denmark", "italy"):
            self.assertEqual(self.tool("linux", "show", "game.bin", team).splitlines()[0],
                             flag.rstrip())


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
