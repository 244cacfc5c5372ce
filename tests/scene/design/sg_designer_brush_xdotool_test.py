"""The brush dialog of the designer tool in a real window under Xvfb, driven by the real pointer
and keyboard through xdotool: the "Edit..." button of an object's Fill row in the inspector opens
the brush dialog on that brush, a channel typed on the solid page or the gradient page chosen
changes the brush, OK writes it back to the object, and the saved scene holds the new brush;
Cancel leaves the object as it was."""
import os
import queue
import shutil
import subprocess
import tempfile
import threading
import time
import unittest

BINARY_DIR = os.environ.get("DBI_BINARY_DIR", "")
DESIGNER = os.path.join(BINARY_DIR, "tools", "sg_designer")
DATA = os.path.join(os.environ.get("DBI_SOURCE_DIR", ""), "tests/scene/design/data")
SCENE = os.path.join(DATA, "designer_scene.txt")
TOOLS = ("Xvfb", "xdotool")

# Places in the 330 x 360 dialog: the tabs, the red channel of the solid page, OK and Cancel.
TAB_GRADIENT = (150, 55)
SOLID_RED = (255, 115)
BUTTON_OK = (268, 328)
BUTTON_CANCEL = (190, 328)


def missing():
    if not os.path.exists(DESIGNER):
        return "sg_designer is not built"
    for tool in TOOLS:
        if not shutil.which(tool):
            return tool + " is not installed"
    return None


@unittest.skipIf(missing(), missing())
class BrushDialogUnderXvfb(unittest.TestCase):
    def setUp(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                      "1280x800x24", "-nolisten", "tcp"],
                                     pass_fds=(write,), stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as display:
            number = display.readline().strip()
        self.assertTrue(number, "Xvfb gave no display")
        self.display = ":" + number
        self.env = dict(os.environ, DISPLAY=self.display)
        self.env.pop("DBI_VIDEO_DRIVER", None)
        self.env.pop("SDL_VIDEODRIVER", None)
        self.tool = None
        self.lines = queue.Queue()
        self.seen = []
        self.work = tempfile.mkdtemp(prefix="sg_brush_test")

    def tearDown(self):
        for process in (self.tool, self.xvfb):
            if process and process.poll() is None:
                process.kill()
                process.wait(timeout=10)
        if self.tool:
            self.tool.stdout.close()
            self.tool.stderr.close()
        shutil.rmtree(self.work, ignore_errors=True)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=60,
                              capture_output=True, text=True).stdout

    def start(self, *extra):
        self.tool = subprocess.Popen([DESIGNER, SCENE, *extra, "--exit-after", "120000"],
                                     env=self.env, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True)

        def pump():
            for line in self.tool.stdout:
                self.lines.put(line.rstrip("\n"))
        threading.Thread(target=pump, daemon=True).start()
        design = self.xdotool("search", "--sync", "--name", "sg_designer").split()[0]
        inspector = self.xdotool("search", "--sync", "--name", "Properties").split()[0]
        self.wait_painted()
        return design, inspector

    def wait_painted(self):
        time.sleep(0.5)

    def wait_for(self, predicate, timeout=30.0):
        """The first line of the tool's output, from now on, that the predicate accepts."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            try:
                line = self.lines.get(timeout=0.1)
            except queue.Empty:
                continue
            self.seen.append(line)
            if predicate(line):
                return line
        self.fail("no such line; the tool said: %r" % self.seen)

    def click(self, window, x, y):
        self.xdotool("mousemove", "--window", window, str(x), str(y))
        time.sleep(0.1)
        self.xdotool("click", "1")
        time.sleep(0.3)

    def select_row(self, inspector, name):
        """Selects the inspector's row of the property name, from the first row down."""
        self.click(inspector, 60, 8)
        row = self.wait_for(lambda line: line.startswith("inspect "))
        for _ in range(80):
            if row.startswith("inspect %s =" % name):
                return row
            self.xdotool("key", "Down")
            row = self.wait_for(lambda line: line.startswith("inspect "))
        self.fail("no row " + name)

    def open_dialog(self):
        design, inspector = self.start("--save", os.path.join(self.work, "saved.txt"))
        # Rectangle1 lies at (40,40) 60 x 40 in the design window.
        self.click(design, 70, 60)
        self.wait_for(lambda line: line == "select Rectangle1")
        self.select_row(inspector, "Fill")
        # The row's "Edit..." button has the focus: Enter opens the brush dialog.
        self.xdotool("key", "Return")
        window = self.xdotool("search", "--sync", "--name", "Brush Designer").split()[0]
        self.wait_painted()
        self.xdotool("windowfocus", "--sync", window)
        return inspector, window

    def screenshot(self, name):
        keep = os.environ.get("DBI_BRUSH_SCREENSHOT_DIR")
        if not keep:
            return
        try:
            from PIL import ImageGrab
        except ImportError:
            return
        ImageGrab.grab(xdisplay=self.display).save(os.path.join(keep, name))

    def save_and_read(self, inspector):
        saved = os.path.join(self.work, "saved.txt")
        self.xdotool("windowfocus", "--sync", inspector)
        self.click(inspector, 60, 8)
        self.xdotool("key", "ctrl+s")
        self.wait_for(lambda line: line == "saved " + saved)
        self.xdotool("key", "Escape")
        self.tool.wait(timeout=60)
        self.assertEqual(self.tool.returncode, 0, self.tool.stderr.read())
        with open(saved) as f:
            text = f.read()
        block = text[text.index("object Rectangle1"):]
        return block[:block.index("\n  end")]

    def test_a_channel_typed_on_the_solid_page_sets_the_fill(self):
        inspector, window = self.open_dialog()
        self.screenshot("brush-dialog-solid.png")
        self.click(window, *SOLID_RED)
        self.xdotool("key", "ctrl+a")
        self.xdotool("type", "--delay", "50", "255")
        self.xdotool("key", "Return")
        time.sleep(0.3)
        self.screenshot("brush-dialog-typed.png")
        self.click(window, *BUTTON_OK)
        self.wait_for(lambda line: line == "modified")
        block = self.save_and_read(inspector)
        self.assertIn("Fill.Color = '#FFFF6FB6'", block)

    def test_the_gradient_page_gives_the_fill_a_gradient(self):
        inspector, window = self.open_dialog()
        self.click(window, *TAB_GRADIENT)
        time.sleep(0.3)
        self.screenshot("brush-dialog-gradient.png")
        self.click(window, *BUTTON_OK)
        self.wait_for(lambda line: line == "modified")
        block = self.save_and_read(inspector)
        self.assertIn("Fill.Style = sgBrushGradient", block)
        self.assertIn("Fill.Gradient.Points = <", block)

    def test_cancel_leaves_the_fill_as_it_was(self):
        inspector, window = self.open_dialog()
        self.click(window, *TAB_GRADIENT)
        self.click(window, *BUTTON_CANCEL)
        self.xdotool("search", "--sync", "--name", "Properties")
        time.sleep(0.5)
        block = self.save_and_read(inspector)
        self.assertIn("Fill.Color = '#FF3B6FB6'", block)
        self.assertNotIn("sgBrushGradient", block)


if __name__ == "__main__":
    unittest.main()
