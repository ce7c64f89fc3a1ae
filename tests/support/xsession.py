"""A private X server (Xvfb) and the means to drive programs in it from outside: xdotool for
pointer and keys, python3-xlib for what xdotool cannot do (close a window as a title bar does,
read a window's icons, clear and read the clipboard).

There is no window manager: windows have no frame and positions are client-area positions.
Every wait is a bounded poll, so a loaded machine only makes a run slower; every process
started here is stopped by its pid, and dies with the process that started it.
"""

import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import time

SCREEN = (1024, 768)

# Generous bounds for a busy 2-core machine; the polls end as soon as the thing happens.
START_TIMEOUT = 90.0
STEP_TIMEOUT = 60.0
POLL = 0.1

_log_tag = "xsession"


class SessionFailure(Exception):
    pass


def set_log_tag(tag):
    global _log_tag
    _log_tag = tag


def log(message):
    print(f"[{_log_tag} {time.strftime('%H:%M:%S')}] {message}", flush=True)


def wait_until(what, timeout, probe):
    """Polls probe() until it returns something truthy; fails after `timeout` seconds."""
    deadline = time.monotonic() + timeout
    while True:
        result = probe()
        if result:
            return result
        if time.monotonic() > deadline:
            raise SessionFailure(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(POLL)


def _die_with_parent():
    # Runs in the child before exec: should the driving script be killed outright (a test
    # runner's timeout), the kernel ends its X server and program too.
    PR_SET_PDEATHSIG = 1
    ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)


def start_process(args, **kwargs):
    return subprocess.Popen(args, preexec_fn=_die_with_parent, **kwargs)


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


def exit_on_termination():
    """SIGTERM and SIGHUP unwind the script like an exception, so its cleanup still runs."""
    def handler(signum, _frame):
        raise SystemExit(f"ended by signal {signum}")
    for signum in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, handler)


def check_tools(*extra):
    missing = [tool for tool in ("Xvfb", "xdotool", *extra) if shutil.which(tool) is None]
    try:
        import Xlib  # noqa: F401
    except ImportError:
        missing.append(f"python Xlib for {sys.executable}")
    if missing:
        raise SessionFailure("missing " + ", ".join(missing) +
                             " (Debian packages: xvfb xdotool python3-xlib imagemagick)")


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
            self.process = start_process(
                ["Xvfb", "-displayfd", str(writer.fileno()), "-noreset", "-screen", "0",
                 f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp"],
                pass_fds=[writer.fileno()], stdout=xlog, stderr=subprocess.STDOUT,
                stdin=subprocess.DEVNULL)

        def display_number():
            if self.process.poll() is not None:
                raise SessionFailure(f"Xvfb ended at start with status {self.process.returncode}")
            with open(number_file) as reader:
                text = reader.read()
            return text.strip() if text.endswith("\n") else None

        self.display = ":" + wait_until("Xvfb's display number", START_TIMEOUT, display_number)
        log(f"Xvfb pid {self.process.pid} on display {self.display}")

    def stop(self):
        stop_process(self.process, "Xvfb")


class Desktop:
    """xdotool and Xlib against one display."""

    def __init__(self, display):
        self.display = display
        self.env = dict(os.environ, DISPLAY=display)
        self.env.pop("XAUTHORITY", None)  # the server was started without access control
        from Xlib import display as xdisplay  # imported late: check_tools says what is missing
        self.x = xdisplay.Display(display)
        self._requestor = None  # our window that receives the clipboard's text

    def run(self, tool, *args):
        """A tool's output, or "" when it failed or hung (a vanished window, say)."""
        try:
            done = subprocess.run([tool, *args], env=self.env, capture_output=True, text=True,
                                  timeout=STEP_TIMEOUT, stdin=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            return ""
        return done.stdout if done.returncode == 0 else ""

    def xdotool(self, *args):
        return self.run("xdotool", *args)

    def windows(self, pid, name_pattern):
        # --all: pid AND name; anchored names keep out Qt's hidden helper windows. A window
        # that vanishes mid-search only makes this poll come back empty.
        found = self.xdotool("search", "--all", "--onlyvisible", "--pid", str(pid), "--name",
                             name_pattern)
        return [int(w) for w in found.split()]

    def is_visible(self, window):
        from Xlib import X, error
        try:
            attributes = self.x.create_resource_object("window", window).get_attributes()
        except error.XError:
            return False
        return attributes.map_state == X.IsViewable

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

    def click(self, window, x, y, count=1):
        """Left clicks at (x, y) of the window's client area."""
        self.xdotool("mousemove", "--window", str(window), str(x), str(y))
        self.xdotool("click", "--repeat", str(count), "--delay", "60", "1")

    def key(self, *keys, repeat=1):
        self.xdotool("key", "--repeat", str(repeat), "--delay", "20", *keys)

    def type_text(self, text):
        self.xdotool("type", "--delay", "20", text)

    def clear_clipboard(self):
        """No client owns the clipboard afterwards: a later read sees only a new copy."""
        from Xlib import X
        from Xlib.protocol import request
        request.SetSelectionOwner(display=self.x.display, window=X.NONE,
                                  selection=self.x.intern_atom("CLIPBOARD"), time=X.CurrentTime)
        self.x.sync()

    def clipboard(self):
        """The clipboard's text, or None while no client owns it or its owner gives none."""
        from Xlib import X
        if self._requestor is None:
            self._requestor = self.x.screen().root.create_window(0, 0, 1, 1, 0,
                                                                 X.CopyFromParent)
        clipboard = self.x.intern_atom("CLIPBOARD")
        if self.x.get_selection_owner(clipboard) == X.NONE:
            return None
        target = self.x.intern_atom("TAVREL_CLIPBOARD")
        self._requestor.convert_selection(clipboard, self.x.intern_atom("UTF8_STRING"), target,
                                          X.CurrentTime)
        self.x.flush()
        deadline = time.monotonic() + STEP_TIMEOUT
        while time.monotonic() < deadline:
            while self.x.pending_events():
                event = self.x.next_event()
                if event.type != X.SelectionNotify or event.selection != clipboard:
                    continue
                if event.property == X.NONE:
                    return None
                value = self._requestor.get_full_property(target, X.AnyPropertyType)
                self._requestor.delete_property(target)
                return bytes(value.value).decode("utf-8") if value else None
            time.sleep(POLL)
        return None

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

    def capture(self, window, path):
        """Saves the window's client area as an image file (ImageMagick's import)."""
        if shutil.which("import") is None:
            raise SessionFailure("missing import (Debian package: imagemagick)")
        done = subprocess.run(["import", "-window", str(window), path], env=self.env,
                              capture_output=True, text=True, timeout=STEP_TIMEOUT,
                              stdin=subprocess.DEVNULL)
        if done.returncode != 0:
            raise SessionFailure(f"import failed: {done.stderr.strip()}")


class Program:
    """One program started in the X server, with its output in `<name>.log` of workdir."""

    def __init__(self, path, desktop, workdir, name, cwd=None):
        self.desktop = desktop
        self.log_path = os.path.join(workdir, f"{name}.log")
        runtime = os.path.join(workdir, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = dict(desktop.env, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime)
        with open(self.log_path, "w") as output:
            self.process = start_process([path], cwd=cwd or workdir, env=env, stdout=output,
                                         stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        log(f"started {path} as pid {self.process.pid}")

    @property
    def pid(self):
        return self.process.pid

    def output(self):
        with open(self.log_path, errors="replace") as reader:
            return reader.read()

    def alive_or_fail(self):
        if self.process.poll() is not None:
            raise SessionFailure(f"program ended early with status {self.process.returncode}:\n"
                                 + self.output())

    def find_window(self, name_pattern):
        found = self.desktop.windows(self.pid, name_pattern)
        return found[0] if found else None

    def wait_for_window(self, name_pattern, what, timeout=START_TIMEOUT):
        def probe():
            self.alive_or_fail()
            return self.find_window(name_pattern)
        return wait_until(what, timeout, probe)

    def wait_until_gone(self, window, what, timeout=STEP_TIMEOUT):
        def probe():
            self.alive_or_fail()
            return not self.desktop.is_visible(window)
        wait_until(f"{what} to close", timeout, probe)

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
            log("program still running at the end; its output:\n" + self.output())
        stop_process(self.process, os.path.basename(self.process.args[0]))
