"""The tavrel window as a person sees it from outside: where its controls are (read from
src/ui/control_layout.h), and what a person does with them: answer the file dialog, click a
button, pick a team, dismiss a message box, copy a control's text.
"""

import os
import re
import time

from xsession import STEP_TIMEOUT, START_TIMEOUT, SessionFailure, log, wait_until

MAIN_WINDOW_NAME = "^  tavrel$"  # the caption starts with two blanks
OPEN_DIALOG_NAME = "^Open$"  # Qt's own file dialog, which the program gives no caption
MESSAGE_BOX_NAME = "^Tavrel$"
POPUP_NAME = "^$"  # the team list's drop-down has an empty WM_NAME

TWIPS_PER_PIXEL = 15
# A key that seems to have gone nowhere is pressed again after this quiet time (a file-name
# completer's popup may swallow the first Return).
RETRY_QUIET = 5.0
RETRIES = 3


def _pixels(twips):
    return (twips + TWIPS_PER_PIXEL // 2) // TWIPS_PER_PIXEL


def control_places(source_dir):
    """Each control's rectangle (x, y, width, height) in client-area pixels."""
    path = os.path.join(source_dir, "src", "ui", "control_layout.h")
    with open(path) as reader:
        text = reader.read()
    row = re.compile(r'\{"(\w+)",\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)\},[ \t]*'
                     r'(?://\s*inside (\w+))?')
    places = {}
    for name, left, top, width, height, frame in row.findall(text):
        left, top = int(left), int(top)
        if frame:  # relative to its frame, which comes earlier in the table
            left += places[frame]["left"]
            top += places[frame]["top"]
        places[name] = {"left": left, "top": top, "width": int(width), "height": int(height)}
    if len(places) < 20 or "cmdSalva" not in places:
        raise SessionFailure(f"could not read the control places from {path}")
    return {name: tuple(_pixels(v) for v in (p["left"], p["top"], p["width"], p["height"]))
            for name, p in places.items()}


def _centre(rect):
    x, y, width, height = rect
    return x + width // 2, y + height // 2


class TavrelWindow:
    """A running tavrel program and its main window, driven with pointer and keys."""

    def __init__(self, program, desktop, places=None):
        self.program = program
        self.desktop = desktop
        self.places = places or {}
        self.window = None

    # --- start, dialogs, messages ------------------------------------------------------------

    def open_at_start(self, image_path):
        """Answers the image dialog shown at start with `image_path`; waits for the window."""
        self.answer_open_dialog(image_path, START_TIMEOUT)
        self.window = self.program.wait_for_window(MAIN_WINDOW_NAME, "the main window")
        log(f"main window is window {self.window}")
        return self.window

    def answer_open_dialog(self, path, timeout=STEP_TIMEOUT):
        """Types a full path into the file dialog and presses Return; waits until it closes."""
        dialog = self.program.wait_for_window(OPEN_DIALOG_NAME, "the file dialog", timeout)
        self.program.focus(dialog, "the file dialog")
        self.desktop.key("ctrl+a")  # the name field may hold an earlier choice
        self.desktop.type_text(path)
        self._press_until_gone(dialog, "Return", "the file dialog")

    def dismiss_message(self, what):
        """Waits for a message box (caption "Tavrel") and closes it with Return."""
        box = self.program.wait_for_window(MESSAGE_BOX_NAME, f"the message box after {what}")
        self._press_until_gone(box, "Return", f"the message box after {what}")

    def _press_until_gone(self, window, key, what):
        self.program.focus(window, what)
        self.desktop.key(key)
        state = {"pressed": time.monotonic(), "retries": 0}

        def gone():
            self.program.alive_or_fail()
            if not self.desktop.is_visible(window):
                return True
            quiet = time.monotonic() - state["pressed"]
            if quiet > RETRY_QUIET and state["retries"] < RETRIES:
                # One focus attempt only: the window may close meanwhile, and a long wait for
                # the focus of a window that is gone would outlast the whole step.
                if not self.desktop.focus(window) or not self.desktop.is_visible(window):
                    return not self.desktop.is_visible(window)
                log(f"{what} still open; pressing {key} again")
                self.desktop.key(key)
                state["pressed"] = time.monotonic()
                state["retries"] += 1
            return False

        wait_until(f"{what} to close", STEP_TIMEOUT, gone)

    def close(self):
        """Closes the window as its title bar's close button would."""
        self.desktop.send_delete_window(self.window)

    # --- controls ----------------------------------------------------------------------------

    def click(self, name, count=1):
        self.program.alive_or_fail()
        x, y = _centre(self.places[name])
        self.desktop.click(self.window, x, y, count)

    def click_team_text(self):
        x, y, _, height = self.places["cboSeqSQ"]
        self.desktop.click(self.window, x + 30, y + height // 2)

    def choose_team_in_popup(self, index):
        """Opens the team list's drop-down, walks from its top to `index`, presses Return."""
        x, y, width, height = self.places["cboSeqSQ"]
        self.desktop.click(self.window, x + width - 8, y + height // 2)  # the arrow
        popup = self.program.wait_for_window(POPUP_NAME, "the team list's drop-down")
        # The drop-down grabs the keyboard while it is open.
        self.desktop.key("Home")
        if index:
            self.desktop.key("Down", repeat=index)
        self.desktop.key("Return")
        self.program.wait_until_gone(popup, "the team list's drop-down")

    def step_team_with_keys(self, steps):
        """Moves the team list's choice by `steps` (down when positive) from its text field."""
        self.click_team_text()
        self.program.focus(self.window, "the main window")
        self.desktop.key("Down" if steps > 0 else "Up", repeat=abs(steps))

    def text_of(self, name, what):
        """A text control's text, through the clipboard: click, select all, copy."""
        if name == "cboSeqSQ":
            self.click_team_text()
        else:
            self.click(name)
        return self._copy(what)

    def pairing_line(self, row):
        """The text of line `row` of the pairing list (click it, copy)."""
        x, y, width, _ = self.places["listAbbin"]
        self.desktop.click(self.window, x + width // 2, y + 9 + 16 * row)
        return self._copy(f"pairing line {row + 1}")

    def _copy(self, what):
        self.program.focus(self.window, "the main window")
        self.desktop.clear_clipboard()
        self.desktop.key("ctrl+a", "ctrl+c")

        def copied():
            self.program.alive_or_fail()
            return self.desktop.clipboard()
        return wait_until(f"the text of {what} on the clipboard", STEP_TIMEOUT, copied)
