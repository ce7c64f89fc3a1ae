"""The real tavrel program driven from outside as a person would, in an X server of its own:
Xvfb through pyvirtualdisplay, pointer and keys through xdotool, the clipboard read with xclip,
windows listed and closed through python3-xlib. There is no window manager: windows have no
frame, and positions are client-area positions.

The Windows program runs the same way under wine (Wine below): its windows are plain X windows
of the same names, its paths are typed as wine shows them (Z:\\tmp\\x.bin), and its prefix's
wine server is ended with it.

On a busy machine every wait is a bounded poll, an action whose effect has not shown after a
while is done again, and each action on the main window first waits until it is the program's
only window: a click that comes while a popup (the file dialog's name completion, say) still
holds the pointer only closes that popup. Everything started here is stopped by its pid.
"""

import os
import re
import signal
import subprocess
import threading
import time
import urllib.parse

from pyvirtualdisplay import Display
from Xlib import X, Xutil, error, protocol
from Xlib import display as xdisplay

SCREEN = (1024, 768)
TIMEOUT = 60.0  # one step on a busy machine; a poll ends as soon as the thing happens
RETRY_AFTER = 5.0  # an action whose effect has not shown by then is done again
MAIN, FILE_DIALOG, MESSAGE, POPUP = "  tavrel", "Open", "Tavrel", ""  # window names
FLAG_WINDOW = "Bandiera della squadra"


class Failure(Exception):
    pass


def log(message):
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def control_places(source_dir, table="main_window_table.h"):
    """Each control's rectangle (x, y, width, height) in client pixels, from a window's layout
    table in twips (15 to a pixel), where a control held by a frame is placed relative to it."""
    path = os.path.join("src", "editor", table)
    with open(os.path.join(source_dir, path), encoding="utf-8") as reader:
        # {"name", Kind, left, top, width, height, "parent", ...
        rows = re.findall(r'\{"(\w+)",\s*\w+,\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+),\s*"(\w*)",',
                          reader.read())
    twips = {}
    for name, x, y, width, height, frame in rows:
        left, top = twips[frame][:2] if frame else (0, 0)
        twips[name] = (left + int(x), top + int(y), int(width), int(height))
    if "saveButton" not in twips:
        raise Failure(f"could not read the control places from {path}")
    return {name: tuple((v + 7) // 15 for v in rect) for name, rect in twips.items()}


def team_labels(source_dir):
    """The team list's labels in order, from the team table."""
    path = os.path.join("src", "game", "team_table.h")
    with open(os.path.join(source_dir, path), encoding="utf-8") as reader:
        labels = re.findall(r'^\s*\{"([^"]+)",\s*(?:\d+|kNoName),', reader.read(), re.M)
    if len(labels) != 86:
        raise Failure(f"read {len(labels)} team labels from {path}, not 86")
    return labels


class Wine:
    """How a Windows program runs here: scripts/wine-run.sh and a wine prefix of its own, which
    no program without a display shares (the first program of a prefix sets its display)."""

    def __init__(self, wine_run, prefix):
        self.wine_run, self.prefix = wine_run, prefix

    def command(self, program):
        return [self.wine_run, self.prefix, program]

    @staticmethod
    def path(path):
        return "Z:" + path.replace("/", "\\")

    def prepare(self):
        """Makes the prefix when it is new, which takes a while, before anything is timed."""
        subprocess.run(self.command("wineboot"), timeout=600, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        self.end()

    @staticmethod
    def colour_keys(red, green, blue):
        """The system colour chooser opens wide: Alt and a field's letter, then its value."""
        keys = []
        for letter, value in (("r", red), ("g", green), ("b", blue)):
            keys.append((f"alt+{letter}", "ctrl+a", str(value)))
        return keys

    @staticmethod
    def walk_dropdown(index):
        """Keys to item `index` of an open drop-down with nothing chosen yet: Home stays in the
        list's text, and the first Down chooses the first item."""
        return ["Down"] * (index + 1)

    def end(self):
        """Ends every program of the prefix, and its wine server, before the X server goes."""
        env = dict(os.environ, WINEPREFIX=self.prefix)
        for option in ("-k", "-w"):
            subprocess.run(["wineserver", option], env=env, timeout=TIMEOUT,
                           stdin=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


class WindowStates(threading.Thread):
    """The one duty of a window manager that wine waits for: each top-level window's state
    (WM_STATE) follows its mapping, normal once mapped, withdrawn once unmapped. Without it
    wine waits two seconds at every window it hides."""

    def __init__(self, display_name):
        super().__init__(daemon=True)
        self.x = xdisplay.Display(display_name)
        self.x.screen().root.change_attributes(event_mask=X.SubstructureNotifyMask)
        self.x.sync()

    def run(self):
        wm_state = self.x.intern_atom("WM_STATE")
        try:
            while True:
                event = self.x.next_event()
                if event.type in (X.MapNotify, X.UnmapNotify):
                    mapped = event.type == X.MapNotify
                    state = Xutil.NormalState if mapped else Xutil.WithdrawnState
                    event.window.change_property(wm_state, wm_state, 32, [state, X.NONE],
                                                 onerror=error.CatchError())
                    self.x.flush()
        except error.ConnectionClosedError:  # the X server is gone, and its windows
            pass


class Tavrel:
    """A private Xvfb, the program started in it, and a person's hands on its windows."""

    def __init__(self, workdir, places=None, wine=None):
        self.workdir, self.places, self.process, self.main = workdir, places, None, None
        self.wine = wine
        self.flags, self.flag_places = None, None  # the flag window, once open

    def __enter__(self):
        def terminate(signum, _frame):
            raise SystemExit(f"ended by signal {signum}")  # every cleanup still runs
        for signum in (signal.SIGTERM, signal.SIGHUP):
            signal.signal(signum, terminate)
        if self.wine:
            self.wine.prepare()
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
        if self.wine:
            WindowStates(self.env["DISPLAY"]).start()
        return self

    def __exit__(self, *_):
        try:
            self.stop()
            self.x.close()
        finally:
            self.xvfb.stop()

    def start(self, path, *args):
        """Starts the program with `args`; its output goes to this script's."""
        self.stop()
        self.main, self.flags, runtime = None, None, os.path.join(self.workdir, "runtime")
        os.makedirs(runtime, mode=0o700, exist_ok=True)
        env = dict(self.env, QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=runtime,
                   TAVREL_WINE_DISPLAY=self.env["DISPLAY"])
        # wine-run.sh and wine replace themselves with the program: the pid stays its own.
        command = (self.wine.command(path) if self.wine else [path]) + list(args)
        self.process = subprocess.Popen(command, cwd=self.workdir, env=env,
                                        stdin=subprocess.DEVNULL)
        log(f"started {path} as pid {self.process.pid}")

    def stop(self):
        if self.process and self.process.poll() is None:
            log(f"stopping the program, pid {self.process.pid}")
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.wine:
            self.wine.end()

    def tool(self, *args):
        """A tool's output, or None when it failed or hung."""
        try:
            done = subprocess.run(args, env=self.env, capture_output=True, encoding="utf-8",
                                  timeout=TIMEOUT, stdin=subprocess.DEVNULL)
        except subprocess.TimeoutExpired:
            return None
        return done.stdout if done.returncode == 0 else None

    def keys(self, *keys, repeat=1):
        self.tool("xdotool", "key", "--repeat", str(repeat), "--delay", "20", *keys)

    def window(self, window):
        return self.x.create_resource_object("window", window)

    def focus(self, window):
        self.window(window).set_input_focus(X.RevertToParent, X.CurrentTime,
                                            onerror=error.CatchError())
        self.x.sync()

    def icon_sizes(self, window):
        icons = self.window(window).get_full_property(self.x.intern_atom("_NET_WM_ICON"),
                                                      X.AnyPropertyType)
        sizes, data = [], list(icons.value) if icons else []
        while len(data) >= 2:  # width, height, then width * height pixels
            sizes.append(tuple(data[:2]))
            data = data[2 + data[0] * data[1]:]
        return sizes

    def close(self, window):
        """What a title bar's close button does: WM_PROTOCOLS / WM_DELETE_WINDOW."""
        self.window(window).send_event(protocol.event.ClientMessage(
            window=self.window(window), client_type=self.x.intern_atom("WM_PROTOCOLS"),
            data=(32, [self.x.intern_atom("WM_DELETE_WINDOW"), X.CurrentTime, 0, 0, 0])))
        self.x.flush()

    def shown(self):
        """{window: name} of the program's visible top-level windows."""
        pid_atom, found = self.x.intern_atom("_NET_WM_PID"), {}
        for window in self.x.screen().root.query_tree().children:
            try:
                owner = window.get_full_property(pid_atom, X.AnyPropertyType)
                if (owner and owner.value[0] == self.process.pid
                        and window.get_attributes().map_state == X.IsViewable):
                    found[window.id] = window.get_wm_name() or ""
            except error.BadWindow:  # gone meanwhile
                pass
        return found

    def windows(self):
        """shown(), while the program runs."""
        if self.process.poll() is not None:
            raise Failure(f"the program ended with status {self.process.returncode}")
        return self.shown()

    def wait(self, what, probe, retry=None):
        """Polls probe() until it gives something truthy; runs retry() after each quiet spell."""
        start = last = time.monotonic()
        while not (result := probe()):
            if time.monotonic() - start > TIMEOUT:
                raise Failure(f"timed out after {TIMEOUT:.0f} s waiting for {what}; "
                              f"the program's windows: {self.shown()}")
            if retry and time.monotonic() - last > RETRY_AFTER:
                log(f"still waiting for {what}: trying again")
                retry()
                last = time.monotonic()
            time.sleep(0.1)
        return result

    def wait_for(self, name, what, retry=None):
        return self.wait(what, lambda: next(
            (w for w, n in self.windows().items() if n == name), None), retry)

    def wait_for_exit(self, probe=lambda: None, retry=None):
        """The exit status; probe() runs on each poll and may raise."""
        self.wait("the program to end", lambda: probe() or self.process.poll() is not None,
                  retry)
        return self.process.returncode

    def close_with(self, window, key, what):
        def press():
            self.focus(window)
            self.keys(*key.split())
        press()
        self.wait(f"{what} to close", lambda: window not in self.windows(), press)

    def answer_yes(self, question, what):
        """Answers a Yes/No question "Sì" (its default is No): under wine its key, under Qt
        the button before the default one."""
        self.close_with(question, "s" if self.wine else "shift+Tab space", what)

    def answer_file_dialog(self, path, dialog=None):
        dialog = dialog or self.wait_for(FILE_DIALOG, "the file dialog")
        self.focus(dialog)
        self.keys("ctrl+a")  # the name field may hold an earlier choice
        self.tool("xdotool", "type", "--delay", "8", self.wine.path(path) if self.wine else path)
        self.close_with(dialog, "Return", "the file dialog")

    def open_at_start(self, program, image):
        self.start(program)
        self.answer_file_dialog(image)
        self.main = self.wait_for(MAIN, "the main window")
        return self.main

    def drop(self, path, x=5, y=5):
        """Drops the file `path` on the main window at client (x, y), as a file manager does:
        the XDND protocol, from a window of a connection of its own that owns the selection
        and serves the file's URI to whoever asks (wine asks as the drag enters)."""
        x_drop = xdisplay.Display(self.env["DISPLAY"])
        try:
            _XdndSource(x_drop, path).drop(self.main, x, y, self.wait)
        finally:
            x_drop.close()

    # --- the main window, and the flag window -----------------------------------------------
    # Actions name the window they act in with `flag`: false for the main window.

    def _target(self, flag):
        return (self.flags, self.flag_places) if flag else (self.main, self.places)

    def _click(self, x, y, count=1, flag=False):
        self.tool("xdotool", "mousemove", "--window", str(self._target(flag)[0]), str(x), str(y),
                  "click", "--repeat", str(count), "--delay", "25", "1")

    def click_at(self, x, y, count=1, flag=False):
        steady = {self.main, self.flags} - {None}
        self.wait("the program's windows alone on screen", lambda: set(self.windows()) <= steady)
        self.focus(self._target(flag)[0])
        self._click(x, y, count, flag)

    def centre(self, name, flag=False):
        x, y, width, height = self._target(flag)[1][name]
        return x + width // 2, y + height // 2

    def click(self, name, count=1, flag=False):
        self.click_at(*self.centre(name, flag), count, flag)

    def button(self, name, opens, what, flag=False):
        """Clicks a button until the modal window it opens shows (a click that comes while
        that window is up is lost to its modality); that window."""
        self.click(name, flag=flag)
        return self.wait_for(opens, what, lambda: self._click(*self.centre(name, flag), 1, flag))

    def confirm(self, name, what, flag=False):
        """Clicks a button, and dismisses the message it brings."""
        what = f"the message after {what}"
        self.close_with(self.button(name, MESSAGE, what, flag), "Return", what)

    def open_flag_window(self, places, by="key"):
        """Opens the flag window from the main window, `by` Ctrl+B, a double click on the
        preview, or the team list's context menu, whose only item it is; `places` are its
        controls'."""
        def open_it():
            if by == "key":
                self.focus(self.main)
                self.keys("ctrl+b")
            elif by == "double-click":
                self.click("preview", 2)
            else:
                x, y, _, height = self.places["teamList"]
                self.focus(self.main)
                self.tool("xdotool", "mousemove", "--window", str(self.main), str(x + 30),
                          str(y + height // 2), "click", "3")
                # The menu has the keyboard, as long as the focus is left where it is.
                self.wait_for(POPUP, "the team list's context menu")
                self.keys("Up", "Return")
        open_it()
        self.flags = self.wait_for(FLAG_WINDOW, "the flag window", open_it)
        self.flag_places = places
        return self.flags

    def flag_text(self, name):
        """The text of a box of the flag window."""
        x, y, _, height = self.flag_places[name]
        return self.copy_text(x + 8, y + height // 2, f"the flag window's {name}", flag=True)

    def choose_colour(self, swatch, title, red, green, blue):
        """Clicks a colour's swatch and gives the system's colour chooser, under `title`, the
        colour red, green, blue (0-255), then OK."""
        dialog = self.button(swatch, title, "the colour chooser", flag=True)
        self.focus(dialog)
        if self.wine:
            for keys in self.wine.colour_keys(red, green, blue):
                self.keys(*keys[:2])
                self.tool("xdotool", "type", "--delay", "8", keys[2])
        else:  # Qt's chooser: its HTML field takes the whole colour
            self.keys("alt+h", "ctrl+a")
            self.tool("xdotool", "type", "--delay", "8", f"#{red:02x}{green:02x}{blue:02x}")
        self.close_with(dialog, "Return", "the colour chooser")

    def colours_in(self, name, flag=True):
        """The set of (red, green, blue) the screen shows inside a control."""
        x, y, width, height = self._target(flag)[1][name]
        place = self.window(self._target(flag)[0]).get_geometry()
        shot = subprocess.run(["import", "-window", "root", "-crop",
                               f"{width}x{height}+{place.x + x}+{place.y + y}", "+repage",
                               "-depth", "8", "rgb:-"], env=self.env, capture_output=True,
                              timeout=TIMEOUT, stdin=subprocess.DEVNULL).stdout
        return {tuple(shot[at:at + 3]) for at in range(0, len(shot) - 2, 3)}

    def choose_in_dropdown(self, index):
        """Opens the team list's drop-down with its arrow, walks from the top to `index`
        (under wine, from nothing chosen)."""
        x, y, width, height = self.places["teamList"]
        arrow = (x + width - 8, y + height // 2)
        self.click_at(*arrow)
        popup = self.wait_for(POPUP, "the team list's drop-down", lambda: self._click(*arrow))
        walk = self.wine.walk_dropdown(index) if self.wine else ["Home", *["Down"] * index]
        self.keys(*walk, "Return")  # the drop-down has the keyboard
        self.wait("the team list's drop-down to close", lambda: popup not in self.windows())

    def copy_text(self, x, y, what, flag=False):
        """The text at (x, y): click it, select all, copy, read the clipboard."""
        def copy():
            self.click_at(x, y, flag=flag)
            self.keys("ctrl+a", "ctrl+c")
        protocol.request.SetSelectionOwner(display=self.x.display, window=X.NONE,
                                           selection=self.x.intern_atom("CLIPBOARD"),
                                           time=X.CurrentTime)  # no owner: no stale text
        self.x.sync()
        copy()
        return self.wait(f"the text of {what} on the clipboard",
                         lambda: self.tool("xclip", "-o", "-selection", "clipboard"), copy)

    def team_text(self):
        x, y, _, height = self.places["teamList"]
        return self.copy_text(x + 30, y + height // 2, "the team list")

    def arrow_to_team(self, label, labels):
        """The arrow keys in the team list until it shows `label`, counted from what it shows:
        under wine a key that comes as the keyboard reaches the list is now and then lost."""
        x, y, _, height = self.places["teamList"]
        self.click_at(x + 30, y + height // 2)
        for _ in range(4):
            step = labels.index(label) - labels.index(self.team_text())
            if step == 0:
                return
            self.keys("Down" if step > 0 else "Up", repeat=abs(step))
        raise Failure(f"the arrow keys did not bring the team list to {label}")

    def pairing_line(self, row):
        x, y, width, _ = self.places["pairingList"]
        return self.copy_text(x + width // 2, y + 9 + 16 * row, f"pairing line {row + 1}")


class _XdndSource:
    """One drag of one file, from its source's side of the XDND protocol (version 5)."""

    def __init__(self, x, path):
        self.x, self.uri = x, ("file://" + urllib.parse.quote(path) + "\r\n").encode()
        self.atom = {name: x.intern_atom(name) for name in (
            "XdndAware", "XdndSelection", "XdndEnter", "XdndPosition", "XdndStatus", "XdndDrop",
            "XdndFinished", "XdndActionCopy", "text/uri-list", "TARGETS", "ATOM")}
        self.window = x.screen().root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
        self.window.set_selection_owner(self.atom["XdndSelection"], X.CurrentTime)
        x.sync()

    def send(self, target, message, data):
        target.send_event(protocol.event.ClientMessage(
            window=target, client_type=self.atom[message], data=(32, data)))
        self.x.flush()

    def serve(self, request):
        """Answers a request for the selection: its URI, or the one type it has."""
        notify = dict(time=request.time, requestor=request.requestor,
                      selection=request.selection, target=request.target, property=X.NONE)
        if request.target == self.atom["text/uri-list"]:
            request.requestor.change_property(request.property, request.target, 8, self.uri)
            notify["property"] = request.property
        elif request.target == self.atom["TARGETS"]:
            request.requestor.change_property(request.property, self.atom["ATOM"], 32,
                                              [self.atom["text/uri-list"]])
            notify["property"] = request.property
        request.requestor.send_event(protocol.event.SelectionNotify(**notify))
        self.x.flush()

    def reply(self, message):
        """The target's next `message`, selection requests served meanwhile; None for now."""
        while self.x.pending_events():
            event = self.x.next_event()
            if event.type == X.SelectionRequest:
                self.serve(event)
            elif event.type == X.ClientMessage and event.client_type == self.atom[message]:
                return event
        return None

    def drop(self, main, x, y, wait):
        target = self.x.create_resource_object("window", main)
        at = self.x.screen().root.translate_coords(target, x, y)
        source, uri_list = self.window.id, self.atom["text/uri-list"]
        self.send(target, "XdndEnter", [source, 5 << 24, uri_list, 0, 0])
        position = [source, 0, (at.x << 16) | at.y, X.CurrentTime, self.atom["XdndActionCopy"]]
        self.send(target, "XdndPosition", position)
        status = wait("the window's answer to the drag", lambda: self.reply("XdndStatus"),
                      lambda: self.send(target, "XdndPosition", position))
        if not status.data[1][1] & 1:
            raise Failure("the window does not take the dropped file")
        self.send(target, "XdndDrop", [source, 0, X.CurrentTime, 0, 0])
        wait("the drop to finish", lambda: self.reply("XdndFinished"))
        self.window.destroy()
        self.x.flush()
