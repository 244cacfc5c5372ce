#!/usr/bin/python3
"""Walks the installer's wizard as a user would: the real program in a real window, driven by the
pointer and the keyboard through xdotool, with a screenshot of every page.

As a library: `Wizard` starts the program with an environment, follows its states (DBI_TRACE
makes the wizard write "wizard: state N" on standard error at each state it enters), finds its
two windows, clicks the layout's buttons, types, takes screenshots and waits for the exit code.
`make_machine` lays out a small machine of its own in a folder (one installed CAD program, a
registry store naming it and a drive map) with scripts/make_demo_environment.sh.

As a program, it walks the whole road to an installed catalogue on the display it is given
(scripts/run.sh runs it under Xvfb on a machine without a display):

    wizard_walk.py --program build/default/DbInstaller [--shots FOLDER] [--timeout SECONDS]

The program's environment is this process's own (run.sh sources the demo machine's variables
first). Prints where the screenshots and the installed tree are; the exit code is the
wizard's (0 once the catalogue is installed and Finish pressed).
"""
import argparse
import os
import queue
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE = os.path.abspath(os.path.join(HERE, "..", "..", ".."))
sys.path.insert(0, os.path.join(SOURCE, "tests", "support"))
import xvfb_harness as xh  # noqa: E402

# The wizard: 660 x 516, its buttons 112 x 28 in the 50-high bar at the bottom.
WIZARD_SIZE = (660, 516)
WIZARD_BAR_TOP = 516 - 50
WIZARD_BUTTONS = {"next": (533, 11), "back": (414, 11), "cancel": (11, 11)}
BUTTON_SIZE = (112, 28)
# The message window: 390 x 222 (taller when its text needs more lines), its buttons 112 x 26
# in its own 50-high bar at the bottom.
MESSAGE_SIZE = (390, 222)
MESSAGE_BAR_TOP = 222 - 50
MESSAGE_BUTTONS = {"yes": (75, 14), "ok": (140, 14), "no": (200, 14)}
MESSAGE_BUTTON_SIZE = (112, 26)

# Wizard states, as the trace names them.
WELCOME, LICENSE, CHOOSE_PATH, VERIFY_PATH, INSTALL, FINAL = range(6)

STATE_LINE = re.compile(r"wizard: state (-?\d+)")
PAINT_LINE = re.compile(r"sgscene paint (\d+) (\d+) (\d+)")


def missing_tools():
    """What this machine lacks for a walk, or None."""
    for tool in ("xdotool",):
        if not shutil.which(tool):
            return tool + " is not installed"
    try:
        from PIL import ImageGrab  # noqa: F401
    except ImportError:
        return "python3-pil is not installed"
    return None


def make_machine(folder):
    """Lays out the demo machine in `folder`; returns its DBI_ variables (and DEMO_TARGET, the
    installed program's folder with a trailing slash)."""
    script = os.path.join(SOURCE, "scripts", "make_demo_environment.sh")
    result = subprocess.run(["bash", script, folder], check=True, capture_output=True,
                            text=True, timeout=120)
    env_file = result.stdout.strip().splitlines()[-1]
    variables = {}
    with open(env_file, encoding="utf-8") as lines:
        for line in lines:
            match = re.match(r"export (\w+)='(.*)'$", line.strip())
            if match:
                variables[match.group(1)] = match.group(2)
    return variables


def folder_picker(folder, choice):
    """A stand-in for the desktop's folder dialog in `folder`: it answers every question with
    `choice` (None: the user cancels). Put `folder` first on PATH."""
    os.makedirs(folder, exist_ok=True)
    path = os.path.join(folder, "zenity")
    with open(path, "w", encoding="utf-8") as script:
        if choice is None:
            script.write("#!/bin/sh\nexit 1\n")
        else:
            quoted = choice.replace("'", "'\\''")
            script.write(f"#!/bin/sh\nprintf '%s\\n' '{quoted}'\n")
    os.chmod(path, 0o755)
    return path


def start_display(size="1024x768x24"):
    """Starts a private Xvfb; returns (process, display name)."""
    display = xh.Display(size)
    return display.process, display.name


class WalkError(AssertionError):
    pass


class Wizard:
    """The installer running in a window, followed through its trace lines."""

    def __init__(self, program, env, shots=None, args=(), log=None):
        self.program = program
        self.env = dict(env)
        self.env["DBI_TRACE"] = "1"
        # A real window on the display given: a failed connection is an error, not offscreen.
        self.env["DBI_VIDEO_DRIVER"] = "x11"
        self.env.pop("SDL_VIDEODRIVER", None)
        self.shots = shots
        self.args = list(args)
        self.log = log
        self.process = None
        self.states = []
        self.paints = []  # (state when painted, width, height, area)
        self.stderr_lines = []
        self.stdout_lines = []
        self.windows = {}
        self._lock = threading.Lock()
        self._changed = threading.Condition(self._lock)
        self._shot_number = 0

    # The process.

    def start(self):
        if self.shots:
            os.makedirs(self.shots, exist_ok=True)
        self.process = subprocess.Popen([self.program, *self.args], env=self.env,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        text=True, errors="replace")
        self._readers = [
            threading.Thread(target=self._read, args=(self.process.stderr, True), daemon=True),
            threading.Thread(target=self._read, args=(self.process.stdout, False), daemon=True)]
        for reader in self._readers:
            reader.start()
        return self

    def _finish_reading(self):
        """Once the program has ended: takes its last lines and closes the pipes."""
        for reader in getattr(self, "_readers", []):
            reader.join(timeout=10)
        for stream in (self.process.stdout, self.process.stderr):
            if stream and not stream.closed:
                stream.close()

    def _read(self, stream, is_stderr):
        for line in stream:
            line = line.rstrip("\n")
            with self._changed:
                if is_stderr:
                    self.stderr_lines.append(line)
                    match = STATE_LINE.search(line)
                    if match:
                        self.states.append(int(match.group(1)))
                        if self.log:
                            self.log(f"state {match.group(1)}")
                    paint = PAINT_LINE.search(line)
                    if paint:
                        self.paints.append((self.state,) + tuple(int(g) for g in paint.groups()))
                else:
                    self.stdout_lines.append(line)
                self._changed.notify_all()

    @property
    def state(self):
        return self.states[-1] if self.states else None

    def output(self):
        with self._lock:
            return "\n".join(self.stdout_lines + self.stderr_lines[-60:])

    def wait_for(self, condition, timeout, what):
        """Waits until condition() holds (checked at every line the program writes and every
        0.1 s); raises WalkError naming `what` when the time runs out."""
        deadline = time.monotonic() + timeout
        with self._changed:
            while not condition():
                left = deadline - time.monotonic()
                if left <= 0:
                    raise WalkError(f"timed out waiting for {what}; state {self.state}, "
                                    f"exit {self.process.poll()}\n{self.output_unlocked()}")
                self._changed.wait(min(left, 0.1))

    def output_unlocked(self):
        return "\n".join(self.stdout_lines + self.stderr_lines[-60:])

    def wait_state(self, state, timeout=60):
        self.wait_for(lambda: self.state == state, timeout, f"state {state}")

    def wait_exit(self, timeout=60):
        try:
            code = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            raise WalkError(f"the program did not end within {timeout} s; state {self.state}\n"
                            f"{self.output()}")
        self._finish_reading()
        return code

    def stop(self):
        if self.process and self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=30)
        if self.process:
            self._finish_reading()

    # Windows.

    def xdotool(self, *args, check=True):
        run = subprocess.run(["xdotool", *args], env=self.env, capture_output=True, text=True,
                             timeout=30)
        if check and run.returncode != 0:
            raise WalkError(f"xdotool {' '.join(args)}: {run.stderr.strip()}")
        return run.stdout

    def geometry(self, window):
        out = self.xdotool("getwindowgeometry", window, check=False)
        position = re.search(r"Position: (-?\d+),(-?\d+)", out)
        size = re.search(r"Geometry: (\d+)x(\d+)", out)
        if not position or not size:
            return None
        return (int(position.group(1)), int(position.group(2)), int(size.group(1)),
                int(size.group(2)))

    def find_window(self, size):
        """The program's visible window of that size, or None; the message window counts at
        any height from its layout's up, as it grows for long texts."""
        out = self.xdotool("search", "--onlyvisible", "--pid", str(self.process.pid),
                           check=False)
        for window in out.split():
            box = self.geometry(window)
            if box and (box[2:] == size or
                        (size == MESSAGE_SIZE and box[2] == size[0] and box[3] >= size[1])):
                return window
        return None

    def wait_window(self, kind="wizard", timeout=60):
        size = WIZARD_SIZE if kind == "wizard" else MESSAGE_SIZE
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise WalkError(f"the program ended ({self.process.returncode}) before its "
                                f"{kind} window showed\n{self.output()}")
            window = self.find_window(size)
            if window:
                self.windows[kind] = window
                return window
            time.sleep(0.1)
        raise WalkError(f"no {kind} window within {timeout} s\n{self.output()}")

    def wait_no_window(self, kind="message", timeout=30):
        size = WIZARD_SIZE if kind == "wizard" else MESSAGE_SIZE
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if self.process.poll() is not None or not self.find_window(size):
                return
            time.sleep(0.1)
        raise WalkError(f"the {kind} window stays open\n{self.output()}")

    def settle(self):
        """Waits until the program has dealt with its input and painted it (it has gone quiet);
        never a wait for a state."""
        xh.wait_idle([self.process.pid], stop=lambda: self.process.poll() is not None)

    # Input.

    def click(self, kind, x, y):
        window = self.windows.get(kind) or self.wait_window(kind)
        self.xdotool("mousemove", "--window", window, str(x), str(y), "click", "1")

    def press(self, button):
        """Clicks a button of the wizard's bar (next, back, cancel) or of the message window
        (yes, ok, no) at the middle of its place in the layout."""
        if button in WIZARD_BUTTONS:
            left, top = WIZARD_BUTTONS[button]
            width, height = BUTTON_SIZE
            self.click("wizard", left + width // 2, WIZARD_BAR_TOP + top + height // 2)
        else:
            left, top = MESSAGE_BUTTONS[button]
            width, height = MESSAGE_BUTTON_SIZE
            window = self.windows.get("message") or self.wait_window("message")
            box = self.geometry(window)
            bar_top = box[3] - 50 if box else MESSAGE_BAR_TOP
            self.click("message", left + width // 2, bar_top + top + height // 2)

    def press_until(self, button, state, timeout=60, every=3.0):
        """Presses the button until the wizard is in `state` (a press may come while the
        button is still disabled, for example while a CAD program runs)."""
        deadline = time.monotonic() + timeout
        while True:
            self.press(button)
            try:
                self.wait_state(state, min(every, max(deadline - time.monotonic(), 0.1)))
                return
            except WalkError:
                if time.monotonic() >= deadline or self.process.poll() is not None:
                    raise

    def press_until_exit(self, button, timeout=60, every=3.0):
        """Presses the button until the program ends (a press may come before the button is
        enabled, as the page is shown); answers the exit code."""
        deadline = time.monotonic() + timeout
        while True:
            try:
                self.press(button)
            except WalkError:  # the window went as the program ends
                if time.monotonic() >= deadline:
                    raise
            try:
                return self.wait_exit(min(every, max(deadline - time.monotonic(), 0.1)))
            except WalkError:
                if time.monotonic() >= deadline:
                    raise

    def type_text(self, text):
        self.xdotool("type", "--delay", "30", "--", text)

    def key(self, *keys):
        self.xdotool("key", "--delay", "30", *keys)

    # Pictures.

    def screenshot(self, name, kind="wizard"):
        """Saves the window as <shots>/<nn>-<name>.png; returns the picture (PIL image)."""
        picture = self.grab(kind)
        if self.shots:
            self._shot_number += 1
            path = os.path.join(self.shots, f"{self._shot_number:02d}-{name}.png")
            picture.save(path)
            if self.log:
                self.log(f"screenshot {path}")
        return picture

    def grab(self, kind="wizard"):
        """The window as it is on the screen now (PIL image), not saved."""
        from PIL import ImageGrab
        window = self.windows.get(kind) or self.wait_window(kind)
        box = self.geometry(window)
        if box is None:
            raise WalkError(f"the {kind} window is gone")
        x, y, w, h = box
        screen = ImageGrab.grab(xdisplay=self.env["DISPLAY"])
        return screen.crop((x, y, x + w, y + h)).convert("RGB")

    def screenshot_in_state(self, state, name, kind="wizard"):
        """A screenshot kept only when the wizard was in `state` before and after it (a page
        shown briefly may be gone by the time the picture is taken); the picture or None."""
        if self.state != state:
            return None
        picture = self.screenshot(name, kind)
        if self.state == state:
            return picture
        if self.shots:
            os.remove(os.path.join(self.shots, f"{self._shot_number:02d}-{name}.png"))
            self._shot_number -= 1
        return None


def count_colour(picture, colour, tolerance=40, box=None):
    """How many pixels of the picture (or of box = (l, t, r, b) in it) lie near the colour."""
    if box:
        picture = picture.crop(box)
    r0, g0, b0 = colour
    return sum(1 for r, g, b in picture.getdata()
               if abs(r - r0) <= tolerance and abs(g - g0) <= tolerance and abs(b - b0) <= tolerance)


def walk_happy_path(wizard, timeout=120):
    """Welcome, target page with the detected program, installation, final page, Finish.
    Returns the exit code."""
    wizard.start()
    wizard.wait_window("wizard", timeout)
    wizard.wait_state(WELCOME, timeout)
    wizard.settle()
    wizard.screenshot("welcome")
    wizard.press_until("next", CHOOSE_PATH, timeout)
    wizard.settle()
    wizard.screenshot("target")
    wizard.press("next")
    # Databases already present are named in a question first; the walk agrees.
    wizard.wait_for(lambda: wizard.state in (INSTALL, FINAL) or
                    wizard.find_window(MESSAGE_SIZE) is not None, timeout,
                    "the installation or the overwrite question")
    if wizard.state == CHOOSE_PATH:
        wizard.wait_window("message")
        wizard.settle()
        wizard.screenshot("overwrite-question", "message")
        wizard.press("yes")
        wizard.wait_for(lambda: wizard.state in (INSTALL, FINAL), timeout, "the installation")
    wizard.screenshot_in_state(INSTALL, "installation")  # a small catalogue is in at once
    wizard.wait_state(FINAL, timeout)
    wizard.settle()
    wizard.screenshot("final")
    return wizard.press_until_exit("next", timeout)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the built DbInstaller")
    parser.add_argument("--shots", help="folder for the screenshots (default: a new one)")
    parser.add_argument("--timeout", type=float, default=180,
                        help="seconds allowed for each step")
    args = parser.parse_args()
    problem = missing_tools()
    if problem:
        print(f"wizard_walk: {problem}", file=sys.stderr)
        return 1
    if not os.environ.get("DISPLAY"):
        print("wizard_walk: no display (run it under xvfb-run)", file=sys.stderr)
        return 1
    shots = args.shots or tempfile.mkdtemp(prefix="dbinstaller-shots.")
    env = dict(os.environ)
    env.setdefault("DBI_LANGUAGE_ID", "1033")
    wizard = Wizard(os.path.abspath(args.program), env, shots,
                    log=lambda text: print(f"wizard_walk: {text}", flush=True))
    try:
        code = walk_happy_path(wizard, args.timeout)
    except WalkError as error:
        print(f"wizard_walk: {error}", file=sys.stderr)
        wizard.stop()
        code = 1
    finally:
        wizard.stop()
    print(f"Screenshots: {shots}")
    target = os.environ.get("DEMO_TARGET")
    if target:
        print(f"Installed tree: {target}")
    print(f"Exit code of the wizard: {code}")
    return code


if __name__ == "__main__":
    sys.exit(main())
