"""The real tavrel program driven from outside as a person would, in an X server of its own:
Xvfb through pyvirtualdisplay, pointer and keys through xdotool, the clipboard read with xclip,
and python3-xlib to list, inspect and close windows.

There is no window manager: windows have no frame and positions are client-area positions.
Every wait is a bounded poll. Before each action on the main window the test waits until that
window is the program's only one: a click sent while a popup (the file dialog's name
completion, say) still holds the pointer only closes that popup. An action whose effect has
not shown after a while is done again. Everything started here is stopped by its pid.
"""

import os
import re
import signal
import subprocess
import time

from pyvirtualdisplay import Display
from Xlib import X, error, protocol
from Xlib import display as xdisplay

SCREEN = (1024, 768)
TIMEOUT = 60.0  # one step on a busy machine; a poll ends as soon as the thing happens
RETRY_AFTER = 5.0  # an action whose effect has not shown by then is done again
MAIN, FILE_DIALOG, MESSAGE, POPUP = "  tavrel", "Open", "Tavrel", ""  # window names


class Failure(Exception):
    pass


def log(message):
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def wait_until(what, probe, retry=None, timeout=TIMEOUT):
    """Polls probe() until it gives something truthy; runs retry() after each quiet spell."""
    start = last = time.monotonic()
    while not (result := probe()):
        now = time.monotonic()
        if now - start > timeout:
            raise Failure(f"timed out after {timeout:.0f} s waiting for {what}")
        if retry and now - last > RETRY_AFTER:
            log(f"no {what} yet: trying again")
            retry()
            last = now
        time.sleep(0.1)
    return result


def control_places(source_dir):
    """Each control's rectangle (x, y, width, height) in client pixels, from the window's
    layout table (twips, some relative to the frame holding them)."""
    with open(os.path.join(source_dir, "src", "ui", "control_layout.h")) as reader:
        rows = re.findall(r'\{"(\w+)",\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\},[ \t]*'
                          r'(?://\s*inside (\w+))?', reader.read())
    twips = {}
    for name, left, top, width, height, frame in rows:
        x, y = (twips[frame][0], twips[frame][1]) if frame else (0, 0)
        twips[name] = (x + int(left), y + int(top), int(width), int(height))
    if "cmdSalva" not in twips:
        raise Failure("could not read the control places from src/ui/control_layout.h")
    return {name: tuple((v + 7) // 15 for v in rect) for name, rect in twips.items()}


class Session:
    """A private Xvfb, and what a person's hands and eyes do with it."""

    def __enter__(self):
        def terminate(signum, _frame):
            raise SystemExit(f"ended by signal {signum}")  # every cleanup still runs
        for signum in (signal.SIGTERM, signal.SIGHUP):
            signal.signal(signum, terminate)
        # -noreset: otherwise the server resets whenever its last client leaves, and a client
        # connecting just then is refused.
        self.xvfb = Display(size=SCREEN, color_depth=24, manage_global_env=False,
                            extra_args=["-noreset", "-nolisten", "tcp"])
        try:
            self.xvfb.start()
            self.env = dict(os.environ, DISPLAY=f":{self.xvfb.display}")
            self.env.pop("XAUTHORITY", None)  # the server runs without access control
            self.x = xdisplay.Display(self.env["DISPLAY"])
        except BaseException:
            self.xvfb.stop()
            raise
        log(f"Xvfb pid {self.xvfb.pid} on display {self.env['DISPLAY']}")
        return self

    def __exit__(self, *_):
        self.x.close()
        self.xvfb.stop()

    def tool(self, *args):
        """A tool's output, or None when it failed or hung."""
        try:
            done = subprocess.run(args, env=self.env, capture_output=True, encoding="utf-8",
                                  timeout=TIMEOUT, stdin=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            return None
        return done.stdout if done.returncode == 0 else None

    def windows(self, pid):
        """{window: name} of the visible top-level windows of process `pid`."""
        pid_atom, found = self.x.intern_atom("_NET_WM_PID"), {}
        for window in self.x.screen().root.query_tree().children:
            try:
                owner = window.get_full_property(pid_atom, X.AnyPropertyType)
                if (owner and owner.value[0] == pid
                        and window.get_attributes().map_state == X.IsViewable):
                    found[window.id] = window.get_wm_name() or ""
            except error.BadWindow:  # gone meanwhile
                pass
        return found

    def _window(self, window):
        return self.x.create_resource_object("window", window)

    def focus(self, window):
        self._window(window).set_input_focus(X.RevertToParent, X.CurrentTime,
                                             onerror=error.CatchError())
        self.x.sync()

    def geometry(self, window):
        g = self._window(window).get_geometry()
        return (g.x, g.y), (g.width, g.height)

    def icon_sizes(self, window):
        prop = self._window(window).get_full_property(self.x.intern_atom("_NET_WM_ICON"),
                                                      X.AnyPropertyType)
        data, sizes = list(prop.value) if prop else [], []
        while len(data) >= 2:  # width, height, then width * height pixels
            sizes.append((data[0], data[1]))
            data = data[2 + data[0] * data[1]:]
        return sizes

    def close(self, window):
        """What a title bar's close button does: WM_PROTOCOLS / WM_DELETE_WINDOW."""
        target = self._window(window)
        target.send_event(protocol.event.ClientMessage(
            window=target, client_type=self.x.intern_atom("WM_PROTOCOLS"),
            data=(32, [self.x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
        self.x.flush()

    def clear_clipboard(self):
        protocol.request.SetSelectionOwner(display=self.x.display, window=X.NONE,
                                           selection=self.x.intern_atom("CLIPBOARD"),
                                           time=X.CurrentTime)
        self.x.sync()

    def clipboard(self):
        return self.tool("xclip", "-o", "-selection", "clipboard")

    def keys(self, *keys, repeat=1):
        self.tool("xdotool", "key", "--repeat", str(repeat), "--delay", "20", *keys)


class Tavrel:
    """The program running in the session, its windows and a person's hands on them."""

    def __init__(self, session, path, workdir, places=None):
        self.session, self.places, self.main = session, places, None
        self.log_path = os.path.join(workdir, "tavrel.log")
        runtime = os.path.join(workdir, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = dict(session.env, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime)
        with open(self.log_path, "a") as output:
            self.process = subprocess.Popen([path], cwd=workdir, env=env, stdout=output,
                                            stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        log(f"started {path} as pid {self.process.pid}")

    def __enter__(self):
        return self

    def __exit__(self, *_):
        if self.process.poll() is None:
            log("the program still runs; its output:\n" + self.output())
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def output(self):
        with open(self.log_path, errors="replace") as reader:
            return reader.read()

    def windows(self):
        if self.process.poll() is not None:
            raise Failure(f"the program ended with status {self.process.returncode}:\n"
                          + self.output())
        return self.session.windows(self.process.pid)

    def wait(self, what, probe, retry=None):
        """wait_until(), naming the program's windows should it time out."""
        try:
            return wait_until(what, probe, retry)
        except Failure as failure:
            raise Failure(f"{failure}; the program's windows: {self.windows()}") from None

    def wait_for(self, name, what, retry=None):
        return self.wait(what, lambda: next(
            (w for w, n in self.windows().items() if n == name), None), retry)

    def wait_for_exit(self, probe=lambda: None):
        """The exit status; probe() runs on each poll and may raise."""
        self.wait("the program to end", lambda: probe() or self.process.poll() is not None)
        return self.process.returncode

    def close_with(self, window, key, what):
        """Presses `key` in `window` until the window is gone."""
        def press():
            self.session.focus(window)
            self.session.keys(key)
        press()
        self.wait(f"{what} to close", lambda: window not in self.windows(), press)

    def open_at_start(self, image):
        """Answers the image dialog shown at start; the main window."""
        self.answer_file_dialog(image)
        self.main = self.wait_for(MAIN, "the main window")
        return self.main

    def answer_file_dialog(self, path, dialog=None):
        """Types a full path into the file dialog, and Return."""
        dialog = dialog or self.wait_for(FILE_DIALOG, "the file dialog")
        self.session.focus(dialog)
        self.session.keys("ctrl+a")  # the name field may hold an earlier choice
        self.session.tool("xdotool", "type", "--delay", "20", path)
        self.close_with(dialog, "Return", "the file dialog")

    # --- the main window ----------------------------------------------------------------------

    def _click(self, x, y, count=1):
        self.session.tool("xdotool", "mousemove", "--window", str(self.main), str(x), str(y),
                          "click", "--repeat", str(count), "--delay", "60", "1")

    def click_at(self, x, y, count=1):
        """Clicks once the main window is alone on screen, and gives it the keyboard."""
        self.wait("the main window alone on screen", lambda: list(self.windows()) == [self.main])
        self.session.focus(self.main)
        self._click(x, y, count)

    def centre(self, name):
        x, y, width, height = self.places[name]
        return x + width // 2, y + height // 2

    def click(self, name, count=1):
        self.click_at(*self.centre(name), count)

    def button(self, name, opens, what):
        """Clicks a button until the window it opens (a modal one) shows; that window."""
        self.click(name)
        # A click that comes while the window is already up is lost to its modality.
        return self.wait_for(opens, what, lambda: self._click(*self.centre(name)))

    def confirm(self, name, what):
        """Clicks a button and dismisses the message it brings."""
        self.close_with(self.button(name, MESSAGE, f"the message after {what}"), "Return",
                        f"the message after {what}")

    def choose_in_dropdown(self, index):
        """Opens the team list's drop-down with its arrow, walks from the top to `index`."""
        x, y, width, height = self.places["cboSeqSQ"]
        arrow = (x + width - 8, y + height // 2)
        self.click_at(*arrow)
        popup = self.wait_for(POPUP, "the team list's drop-down", lambda: self._click(*arrow))
        self.session.keys("Home", *["Down"] * index, "Return")  # the drop-down has the keyboard
        self.wait("the team list's drop-down to close", lambda: popup not in self.windows())

    def copy_text(self, x, y, what):
        """The text at (x, y): click it, select all, copy, read the clipboard."""
        def copy():
            self.click_at(x, y)
            self.session.keys("ctrl+a", "ctrl+c")
        self.session.clear_clipboard()
        copy()
        return self.wait(f"the text of {what} on the clipboard", self.session.clipboard, copy)

    def team_text(self):
        x, y, _, height = self.places["cboSeqSQ"]
        return self.copy_text(x + 30, y + height // 2, "the team list")

    def pairing_line(self, row):
        x, y, width, _ = self.places["listAbbin"]
        return self.copy_text(x + width // 2, y + 9 + 16 * row, f"pairing line {row + 1}")
