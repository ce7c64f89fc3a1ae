#!/usr/bin/env python3
"""Runs the real tavrel program in an X server of its own (Xvfb) and drives it from outside:
the image dialog comes up, a typed path opens the main window, closing that window ends the
program with status 0; cancelling the dialog ends it with status 0 and no main window.

Every wait is a bounded poll, so a loaded machine only makes the test slower; everything the
test starts is stopped by its pid at the end.
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import time

MAIN_WINDOW_NAME = "^  tavrel$"  # the caption starts with two blanks
DIALOG_NAME = "^Open$"  # Qt's own file dialog when the program gives it no title
CLIENT_SIZE = (462, 359)
SCREEN = (1024, 768)

# Generous bounds for a busy 2-core machine; the polls end as soon as the thing happens.
START_TIMEOUT = 90.0
STEP_TIMEOUT = 60.0
POLL = 0.1

# The game image is only opened, never interpreted here: a sparse file of the game's size with
# plain net bytes is enough for the window to come up with "Normali" selected.
IMAGE_SIZE = 6110 * 2352
NET_BYTES_OFFSET = 14368636


class SmokeFailure(Exception):
    pass


def log(message):
    print(f"[smoke {time.strftime('%H:%M:%S')}] {message}", flush=True)


def wait_until(what, timeout, probe):
    """Polls probe() until it returns something truthy; fails after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise SmokeFailure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(POLL)


class XServer:
    def __init__(self, workdir):
        self.workdir = workdir
        self.process = None
        self.display = None

    def start(self):
        number_file = os.path.join(self.workdir, "display-number")
        # -displayfd writes the chosen display number into a file we keep open for its whole
        # life; -noreset keeps the server from resetting when its last client leaves.
        with open(number_file, "w") as writer, open(os.path.join(self.workdir, "xvfb.log"),
                                                     "w") as xlog:
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(writer.fileno()), "-noreset", "-screen", "0",
                 f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
                pass_fds=[writer.fileno()], stdout=xlog, stderr=subprocess.STDOUT,
                stdin=subprocess.DEVNULL)

        def display_number():
            if self.process.poll() is not None:
                raise SmokeFailure(f"Xvfb ended at start with status {self.process.returncode}")
            with open(number_file) as reader:
                text = reader.read()
            return text.strip() if text.endswith("\n") else None

        self.display = ":" + wait_until("Xvfb's display number", START_TIMEOUT, display_number)
        log(f"Xvfb pid {self.process.pid} on display {self.display}")

    def stop(self):
        stop_process(self.process, "Xvfb")


def stop_process(process, name):
    if process is None or process.poll() is not None:
        return
    process.terminate()
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        log(f"{name} did not end on SIGTERM; killing pid {process.pid}")
        process.kill()
        process.wait(timeout=10)


class Desktop:
    """xdotool and Xlib against one display."""

    def __init__(self, display):
        self.env = dict(os.environ, DISPLAY=display)
        self.env.pop("XAUTHORITY", None)  # the server was started without access control
        from Xlib import display as xdisplay  # imported late: a missing package says so below
        self.x = xdisplay.Display(display)

    def xdotool(self, *args):
        try:
            done = subprocess.run(["xdotool", *args], env=self.env, capture_output=True,
                                  text=True, timeout=STEP_TIMEOUT)
        except subprocess.TimeoutExpired:
            return ""
        return done.stdout if done.returncode == 0 else ""

    def windows(self, pid, name_pattern):
        # --all: pid AND name; anchored names keep out Qt's hidden helper windows. A window
        # that vanishes mid-search only makes this poll come back empty.
        found = self.xdotool("search", "--all", "--onlyvisible", "--pid", str(pid), "--name",
                             name_pattern)
        return [int(w) for w in found.split()]

    def focus(self, window):
        self.xdotool("windowfocus", str(window))
        focused = self.xdotool("getwindowfocus").strip()
        return focused == str(window)

    def geometry(self, window):
        text = self.xdotool("getwindowgeometry", str(window))
        position = re.search(r"Position: (\d+),(\d+)", text)
        size = re.search(r"Geometry: (\d+)x(\d+)", text)
        if not position or not size:
            return None
        return tuple(map(int, position.groups())), tuple(map(int, size.groups()))

    def icon_sizes(self, window):
        from Xlib import X
        atom = self.x.intern_atom("_NET_WM_ICON")
        prop = self.x.create_resource_object("window", window).get_full_property(
            atom, X.AnyPropertyType)
        sizes, data, at = [], list(prop.value) if prop else [], 0
        while at + 2 <= len(data):
            width, height = data[at], data[at + 1]
            sizes.append((width, height))
            at += 2 + width * height
        return sorted(sizes)

    def send_delete_window(self, window):
        """What a title bar's close button does: WM_PROTOCOLS / WM_DELETE_WINDOW."""
        from Xlib import X, protocol
        target = self.x.create_resource_object("window", window)
        wm_protocols = self.x.intern_atom("WM_PROTOCOLS")
        wm_delete = self.x.intern_atom("WM_DELETE_WINDOW")
        event = protocol.event.ClientMessage(window=target, client_type=wm_protocols,
                                             data=(32, [wm_delete, X.CurrentTime, 0, 0, 0]))
        target.send_event(event, event_mask=X.NoEventMask)
        self.x.flush()


class Program:
    def __init__(self, path, desktop, workdir, name):
        self.desktop = desktop
        self.log_path = os.path.join(workdir, f"{name}.log")
        runtime = os.path.join(workdir, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = dict(desktop.env, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime)
        with open(self.log_path, "w") as output:
            self.process = subprocess.Popen([path], cwd=workdir, env=env, stdout=output,
                                            stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        log(f"started {os.path.basename(path)} as pid {self.process.pid}")

    def alive_or_fail(self):
        if self.process.poll() is not None:
            raise SmokeFailure(f"program ended early with status {self.process.returncode}:\n"
                               + open(self.log_path).read())

    def wait_for_window(self, name_pattern, what):
        def probe():
            self.alive_or_fail()
            found = self.desktop.windows(self.process.pid, name_pattern)
            return found[0] if found else None
        return wait_until(what, START_TIMEOUT, probe)

    def focus(self, window, what):
        def probe():
            self.alive_or_fail()
            return self.desktop.focus(window)
        wait_until(f"keyboard focus on {what}", STEP_TIMEOUT, probe)

    def wait_for_exit(self, watch=None):
        """The exit status; `watch()` runs on every poll (it may raise)."""
        def probe():
            if watch:
                watch()
            return self.process.poll() is not None
        wait_until("the program to end", STEP_TIMEOUT, probe)
        return self.process.returncode

    def stop(self):
        if self.process.poll() is None:
            log("program still running at the end; its output:\n" + open(self.log_path).read())
        stop_process(self.process, "tavrel")


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
        dialog = program.wait_for_window(DIALOG_NAME, "the image dialog")
        log(f"image dialog is window {dialog}")
        program.focus(dialog, "the image dialog")
        desktop.xdotool("type", "--delay", "20", image)
        desktop.xdotool("key", "Return")

        # Should the file-name completer's popup swallow the first Return, the dialog is
        # still up after a while: one more Return then accepts it.
        state = {"last_return": time.monotonic(), "retries": 0}

        def main_window():
            program.alive_or_fail()
            found = desktop.windows(program.process.pid, MAIN_WINDOW_NAME)
            if found:
                return found[0]
            quiet = time.monotonic() - state["last_return"]
            if quiet > 5 and state["retries"] < 3 and desktop.windows(program.process.pid,
                                                                      DIALOG_NAME):
                log("dialog still open; pressing Return again")
                program.focus(dialog, "the image dialog")
                desktop.xdotool("key", "Return")
                state["last_return"] = time.monotonic()
                state["retries"] += 1
            return None

        window = wait_until("the main window", START_TIMEOUT, main_window)
        log(f"main window is window {window}")

        position, size = wait_until("the main window's geometry", STEP_TIMEOUT,
                                    lambda: desktop.geometry(window))
        if size != CLIENT_SIZE:
            raise SmokeFailure(f"main window is {size[0]}x{size[1]}, expected "
                               f"{CLIENT_SIZE[0]}x{CLIENT_SIZE[1]}")
        centred = tuple((screen - client) // 2 for screen, client in zip(SCREEN, CLIENT_SIZE))
        if any(abs(a - b) > 1 for a, b in zip(position, centred)):
            raise SmokeFailure(f"main window at {position}, expected centred at {centred}")
        icons = desktop.icon_sizes(window)
        if not {(16, 16), (32, 32)} <= set(icons):
            raise SmokeFailure(f"window icon sizes {icons}, expected 16x16 and 32x32")

        desktop.send_delete_window(window)
        status = program.wait_for_exit()
        if status != 0:
            raise SmokeFailure(f"closing the window ended the program with status {status}")
        log("closing the main window ended the program with status 0")
    finally:
        program.stop()


def cancel_at_start(program_path, desktop, workdir):
    program = Program(program_path, desktop, workdir, "cancel")
    try:
        dialog = program.wait_for_window(DIALOG_NAME, "the image dialog")
        program.focus(dialog, "the image dialog")
        desktop.xdotool("key", "Escape")

        def no_main_window():
            if desktop.windows(program.process.pid, MAIN_WINDOW_NAME):
                raise SmokeFailure("the main window appeared after the dialog was cancelled")

        status = program.wait_for_exit(watch=no_main_window)
        if status != 0:
            raise SmokeFailure(f"cancelling the dialog ended the program with status {status}")
        log("cancelling the image dialog ended the program with status 0, no window shown")
    finally:
        program.stop()


def check_tools():
    missing = [tool for tool in ("Xvfb", "xdotool") if shutil.which(tool) is None]
    try:
        import Xlib  # noqa: F401
    except ImportError:
        missing.append(f"python Xlib for {sys.executable}")
    if missing:
        raise SmokeFailure("missing " + ", ".join(missing) +
                           " (Debian packages: xvfb xdotool python3-xlib)")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("program", help="path of the tavrel executable")
    args = parser.parse_args()

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
    except SmokeFailure as failure:
        log(f"FAILED: {failure}")
        return 1
    log("passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
