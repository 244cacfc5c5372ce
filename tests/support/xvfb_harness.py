"""The harness of the window tests that run a real program under Xvfb and drive it with xdotool.

A test case derives from `XvfbTestCase`: every test gets a private display (Xvfb started with
-displayfd, so no display number is guessed), programs started through `launch` are read line by
line on threads and ended with the test. Nothing waits for a fixed time on the program: windows
are polled for (`Program.wait_window`, `Program.wait_windows`), output is polled for
(`Program.wait_line`), and between two input steps the harness waits until the program and the
X server have gone quiet (`Program.wait_idle`), so a slow build (the sanitizer one) only makes a
test slower. The waits are bounded generously; only pauses that shape the input itself (a held
button, two clicks that must not make a double click) remain as sleeps in the tests.

`run_view` is the common runner of the view tool: it opens a scene, waits for the first paint,
plays xdotool steps, saves a screenshot with F12, ends the tool with Escape and answers its
printed lines."""
import os
import shutil
import subprocess
import threading
import time
import unittest

BINARY_DIR = os.environ.get("DBI_BINARY_DIR", "")
SOURCE_DIR = os.environ.get("DBI_SOURCE_DIR", "")
SG_VIEW = os.path.join(BINARY_DIR, "tools", "sg_view")
TOOLS = ("Xvfb", "xdotool")

# Upper bounds of the waits, in seconds: a sanitized build runs 5-10 times slower than the
# default one, and a loaded machine slower still. They are only reached when a test fails.
WINDOW_TIMEOUT = 240
LINE_TIMEOUT = 120
EXIT_TIMEOUT = 240
IDLE_TIMEOUT = 30
XDOTOOL_TIMEOUT = 60
# Safety net for a program left running by a failed test: it ends itself after this many ms.
EXIT_AFTER_MS = 600000


def missing(*binaries, tools=TOOLS):
    """Why the tests cannot run here (a binary not built, a tool not installed), or None."""
    for path in binaries:
        if not os.path.exists(path):
            return os.path.basename(path) + " is not built"
    for tool in tools:
        if not shutil.which(tool):
            return tool + " is not installed"
    return None


class Display:
    """A private Xvfb screen; `env` is the environment that shows windows on it."""

    def __init__(self, size="800x600x24", fbdir=None):
        read, write = os.pipe()
        # -noreset: by default the server resets whenever its last client leaves (the probe
        # below, each xdotool call), and a program connecting during the reset is refused.
        command = ["Xvfb", "-displayfd", str(write), "-screen", "0", size, "-nolisten", "tcp",
                   "-noreset"]
        if fbdir:
            command += ["-fbdir", fbdir]
        self.process = subprocess.Popen(command, pass_fds=(write,), stdout=subprocess.DEVNULL,
                                        stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as display:
            number = display.readline().strip()
        if not number:
            self.stop()
            raise RuntimeError("Xvfb gave no display")
        self.name = ":" + number
        self._wait_accepting(number)
        self.env = dict(os.environ, DISPLAY=self.name)
        # The programs must open real windows on this display: a failed connection is an
        # error, never a quiet fall back to the offscreen driver of the unit tests.
        self.env["DBI_VIDEO_DRIVER"] = "x11"
        self.env.pop("SDL_VIDEODRIVER", None)

    def _wait_accepting(self, number, timeout=60):
        """Waits until the server takes connections on its socket, so that a program started
        next does not find the display unavailable on a loaded machine."""
        import socket
        path = "/tmp/.X11-unix/X" + number
        deadline = time.monotonic() + timeout
        while True:
            with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as probe:
                try:
                    probe.connect(path)
                    return
                except OSError:
                    pass
            if self.process.poll() is not None or time.monotonic() > deadline:
                self.stop()
                raise RuntimeError("Xvfb takes no connections on :" + number)
            time.sleep(0.05)

    def stop(self):
        # Ended politely, Xvfb removes its lock file and socket for the next display.
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
        self.process.wait(timeout=30)


def xdotool(env, *args, timeout=XDOTOOL_TIMEOUT, check=True):
    """Runs xdotool on the display of env; answers its standard output."""
    run = subprocess.run(["xdotool", *args], env=env, capture_output=True, text=True,
                         timeout=timeout)
    if check and run.returncode != 0:
        raise AssertionError("xdotool %s failed (%d): %s"
                             % (" ".join(args), run.returncode, run.stderr.strip()))
    return run.stdout


def _run_time(pid):
    """Nanoseconds every thread of the process has run so far (0 once it is gone)."""
    total = 0
    try:
        tasks = os.listdir("/proc/%d/task" % pid)
    except OSError:
        return 0
    for task in tasks:
        try:
            with open("/proc/%d/task/%s/schedstat" % (pid, task)) as stat:
                total += int(stat.read().split()[0])
        except (OSError, ValueError, IndexError):
            pass
    return total


def wait_idle(pids, timeout=IDLE_TIMEOUT, quiet=0.1, share=0.1, stop=None):
    """Waits until the processes together have taken less than `share` of a core during the
    last `quiet` seconds (or stop() holds). Answers False when they stay busy (an animation)
    for `timeout` seconds; never fails, as being busy is no fault."""
    samples = []
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        now = time.monotonic()
        samples.append((now, sum(_run_time(pid) for pid in pids)))
        while len(samples) > 1 and now - samples[1][0] >= quiet:
            samples.pop(0)
        first_time, first_run = samples[0]
        if now - first_time >= quiet and samples[-1][1] - first_run < share * quiet * 1e9:
            return True
        if stop and stop():
            return True
        time.sleep(0.01)
    return False


class Program:
    """A program running on a display, its standard output and error read line by line."""

    def __init__(self, command, env, display=None):
        self.env = env
        self.display = display
        self.out = []
        self.err = []
        self._changed = threading.Condition()
        self.process = subprocess.Popen(command, env=env, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE, text=True, errors="replace")
        self._readers = [threading.Thread(target=self._read, args=(stream, lines), daemon=True)
                         for stream, lines in ((self.process.stdout, self.out),
                                               (self.process.stderr, self.err))]
        for reader in self._readers:
            reader.start()

    def _read(self, stream, lines):
        for line in stream:
            with self._changed:
                lines.append(line.rstrip("\n"))
                self._changed.notify_all()
        with self._changed:
            self._changed.notify_all()

    @property
    def pid(self):
        return self.process.pid

    def said(self, tail=60):
        """The last lines of both streams, for failure messages."""
        with self._changed:
            return "\n".join(self.out[-tail:] + ["-- stderr --"] + self.err[-tail:])

    def _fail(self, what):
        raise AssertionError("%s (exit %s)\n%s" % (what, self.process.poll(), self.said()))

    def wait_line(self, predicate, start=0, stream="out", timeout=LINE_TIMEOUT, what=None):
        """Waits for a line of the stream ("out" or "err"), at index `start` or later, that
        the predicate (or string) accepts; answers the index after it."""
        lines = self.out if stream == "out" else self.err
        test = predicate if callable(predicate) else (lambda line: line == predicate)
        deadline = time.monotonic() + timeout
        with self._changed:
            while True:
                for index in range(start, len(lines)):
                    if test(lines[index]):
                        return index + 1
                start = max(start, len(lines))
                left = deadline - time.monotonic()
                if left <= 0 or (self.process.poll() is not None and
                                 not any(r.is_alive() for r in self._readers)):
                    self._fail("no line %s" % (what or repr(predicate)))
                self._changed.wait(min(left, 0.1))

    def windows(self, visible=True):
        """The program's (visible) windows as xdotool names them."""
        args = ["search"] + (["--onlyvisible"] if visible else []) + ["--pid", str(self.pid)]
        return xdotool(self.env, *args, check=False).split()

    def wait_windows(self, enough, timeout=WINDOW_TIMEOUT, what="windows"):
        """Waits until the number of the program's visible windows satisfies `enough`."""
        deadline = time.monotonic() + timeout
        while True:
            found = self.windows()
            if enough(len(found)):
                return found
            if self.process.poll() is not None:
                self._fail("the program ended while waiting for %s" % what)
            if time.monotonic() > deadline:
                self._fail("%s: %d windows shown" % (what, len(found)))
            time.sleep(0.05)

    def wait_window(self, name, timeout=WINDOW_TIMEOUT):
        """Waits for the program's visible window whose title holds `name`; answers its id."""
        deadline = time.monotonic() + timeout
        while True:
            # --all: the window must match both, the program and the title.
            found = xdotool(self.env, "search", "--all", "--onlyvisible", "--pid", str(self.pid),
                            "--name", name, check=False).split()
            if found:
                return found[0]
            if self.process.poll() is not None:
                self._fail("the program ended before its window %r showed" % name)
            with self._changed:
                no_video = [line for line in self.err if "cannot start SDL video" in line]
            if no_video:
                self._fail("the program cannot show windows on %s" % self.env.get("DISPLAY"))
            if time.monotonic() > deadline:
                self._fail("no window %r within %d s" % (name, timeout))
            time.sleep(0.05)

    def wait_idle(self, timeout=IDLE_TIMEOUT):
        """Waits until the program and the X server have dealt with the input sent so far
        (events are queued in order, but a slow program must not see two steps as one)."""
        pids = [self.pid] + ([self.display.process.pid] if self.display else [])
        return wait_idle(pids, timeout, stop=lambda: self.process.poll() is not None)

    def finish(self, timeout=EXIT_TIMEOUT):
        """Waits for the program to end; answers its exit code once all its output is read."""
        try:
            code = self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self._fail("the program did not end within %d s" % timeout)
        for reader in self._readers:
            reader.join(timeout=30)
        return code

    def stop(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=30)
        for reader in self._readers:
            reader.join(timeout=30)
        for stream in (self.process.stdout, self.process.stderr):
            stream.close()


class XvfbTestCase(unittest.TestCase):
    """A test case with a private display per test; `launch` starts programs on it."""

    SCREEN = "800x600x24"
    FBDIR = False  # True: Xvfb keeps its screen in a file under self.fbdir

    def setUp(self):
        self.view = None  # the view tool opened last
        self.fbdir = None
        if self.FBDIR:
            import tempfile
            self.fbdir = tempfile.mkdtemp(prefix="xvfb-fb-")
            self.addCleanup(shutil.rmtree, self.fbdir, True)
        self.display = Display(self.SCREEN, self.fbdir)
        self.addCleanup(self.display.stop)
        self.env = self.display.env

    def xdotool(self, *args, **options):
        return xdotool(self.env, *args, **options)

    def launch(self, *command, env=None):
        program = Program(list(command), env or self.env, self.display)
        self.addCleanup(program.stop)
        return program

    def play(self, program, steps, window=None):
        """Sends the steps one by one, each once the program is idle after the last. A step is
        an xdotool argument list (WINDOW stands for the window id) or a callable."""
        for step in steps:
            if callable(step):
                step()
            else:
                self.xdotool(*[window if arg == "WINDOW" else arg for arg in step])
            program.wait_idle()

    def open_view(self, scene, *options, shot=None, exit_after=EXIT_AFTER_MS, title="sg_view"):
        """Starts the view tool on the scene and answers (program, window) once the window
        shows its first paint (known by the first screenshot when one is asked for)."""
        command = [SG_VIEW, scene, *options, "--exit-after", str(exit_after)]
        if shot:
            command += ["--screenshot", shot]
        view = self.view = self.launch(*command)
        window = view.wait_window(title)
        if shot:
            view.wait_line("sg_view: wrote " + shot, stream="err", what="first paint")
        view.wait_idle()
        return view, window

    def close_view(self, view, shot=None):
        """F12 saves the screenshot (waited for), Escape ends the tool; answers the lines it
        printed on standard output after checking it ended well."""
        if shot:
            written = len(view.err)
            self.xdotool("key", "F12")
            view.wait_line("sg_view: wrote " + shot, written, stream="err", what="F12 screenshot")
        view.wait_idle()
        self.xdotool("key", "Escape")
        code = view.finish()
        self.assertEqual(code, 0, view.said())
        if shot:
            self.assertIn("sg_view: wrote " + shot, view.err)
        return list(view.out)

    def run_view(self, scene, shot, steps, *options):
        """Opens the scene with --print-events, plays the steps and answers the printed lines
        once F12 saved the screenshot and Escape ended the tool."""
        view, window = self.open_view(scene, "--print-events", *options, shot=shot)
        self.play(view, steps, window)
        return self.close_view(view, shot)
