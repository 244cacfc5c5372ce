"""Steps shared by the window tests of the designer tool: its design window and the property
inspector beside it on a private display, the tool's output read line by line, clicks that wait
for the tool, and choosing an inspector row by the name of its property."""
import os
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xvfb_harness as xh  # noqa: E402

DESIGNER = os.path.join(xh.BINARY_DIR, "tools", "sg_designer")
DATA = os.path.join(xh.SOURCE_DIR, "tests/scene/design/data")
SCENE = os.path.join(DATA, "designer_scene.txt")


class DesignerWindowsCase(xh.XvfbTestCase):
    SCREEN = "1280x800x24"

    def setUp(self):
        super().setUp()
        self.tool = None
        self.read = 0  # the tool's output lines looked at so far
        self.work = tempfile.mkdtemp(prefix="sg_designer_windows")
        self.addCleanup(shutil.rmtree, self.work, True)

    def start(self, *extra, scene=SCENE):
        self.tool = self.launch(DESIGNER, scene, *extra, "--exit-after", str(xh.EXIT_AFTER_MS))
        design = self.tool.wait_window("sg_designer")
        inspector = self.tool.wait_window("Properties")
        self.tool.wait_idle()
        return design, inspector

    def wait_for(self, predicate):
        """The first line of the tool's output, from the last one looked at on, that the
        predicate accepts."""
        self.read = self.tool.wait_line(predicate, self.read)
        return self.tool.out[self.read - 1]

    def click(self, window, x, y):
        self.xdotool("mousemove", "--window", window, str(x), str(y))
        self.tool.wait_idle()
        self.xdotool("click", "1")
        self.tool.wait_idle()

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

    def open_editor(self, inspector, row, title):
        """Opens the editor of the selected object's property row through the row's
        "Edit..." button (it has the focus once the row is selected); answers its window."""
        self.select_row(inspector, row)
        self.xdotool("key", "Return")
        window = self.tool.wait_window(title)
        self.tool.wait_idle()
        self.xdotool("windowfocus", "--sync", window)
        return window

    def save_and_quit(self, inspector, saved):
        """Saves through the inspector's window (the closed editor had the keyboard), ends
        the tool and answers the saved text."""
        self.xdotool("windowfocus", "--sync", inspector)
        self.click(inspector, 60, 8)
        self.xdotool("key", "ctrl+s")
        self.wait_for(lambda line: line == "saved " + saved)
        self.xdotool("key", "Escape")
        self.assertEqual(self.tool.finish(), 0, self.tool.said())
        with open(saved) as f:
            return f.read()
