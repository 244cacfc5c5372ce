"""The designer tool in a real window under Xvfb, driven by the real pointer and keyboard
through xdotool: a scene opens in design state, a click selects an object, dragging it moves
it, dragging its right-bottom handle resizes it, Ctrl+S saves, and the saved text form holds
exactly the new place and size; saving in the binary form reads back to the same tree. The
design menu opens the tab-order editor, whose "Down" moves the button in the tab order, and
copies a button's style for editing."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xvfb_harness as xh  # noqa: E402

DESIGNER = os.path.join(xh.BINARY_DIR, "tools", "sg_designer")
STREAM_TOOL = os.path.join(xh.BINARY_DIR, "tools", "sgstream_tool")
SCENE = os.path.join(xh.SOURCE_DIR, "tests/scene/design/data/designer_scene.txt")
BUTTONS = os.path.join(xh.SOURCE_DIR, "tests/scene/design/data/designer_buttons_scene.txt")
# The design menu's rows are 22 units high below a 1-unit frame; the offsets below reach the
# middle of a row from the point the menu opened at.
ROW = 22


@unittest.skipIf(xh.missing(DESIGNER), xh.missing(DESIGNER))
class DesignerUnderXvfb(xh.XvfbTestCase):
    maxDiff = None

    def setUp(self):
        super().setUp()
        self.tool = None
        self.work = tempfile.mkdtemp(prefix="sg_designer_test")
        self.addCleanup(shutil.rmtree, self.work, True)

    def start(self, *extra, scene=SCENE):
        self.tool = self.launch(DESIGNER, scene, *extra, "--exit-after", str(xh.EXIT_AFTER_MS))
        window = self.tool.wait_window("sg_designer")
        self.tool.wait_idle()
        return window

    def drag(self, window, x0, y0, x1, y1):
        self.xdotool("mousemove", "--window", window, str(x0), str(y0))
        self.tool.wait_idle()
        self.xdotool("mousedown", "1")
        self.tool.wait_idle()
        # In steps, as a hand moves it.
        for i in range(1, 5):
            self.xdotool("mousemove", "--window", window, str(x0 + (x1 - x0) * i // 4),
                         str(y0 + (y1 - y0) * i // 4))
            self.tool.wait_idle()
        self.xdotool("mouseup", "1")
        self.tool.wait_idle()

    def finish(self):
        saved = len(self.tool.out)
        self.xdotool("key", "ctrl+s")
        self.tool.wait_line(lambda line: line.startswith("saved "), saved)
        self.xdotool("key", "Escape")
        self.assertEqual(self.tool.finish(), 0, self.tool.said())
        return list(self.tool.out)

    def move_and_resize(self, window):
        # Press inside the box (40,40 60x40) and move it by (20, 10), then take its
        # right-bottom handle, now at (120, 90), to (140, 110).
        self.drag(window, 70, 60, 90, 70)
        self.drag(window, 120, 90, 140, 110)
        self.xdotool("key", "F12")
        self.tool.wait_idle()

    def expected_text(self):
        with open(SCENE) as f:
            text = f.read()
        # The scene file is in the form the tool writes (the designer names the nested
        # objects as they load), so only the edited lines differ.
        return (text.replace("Position.Point = '(40,40)'", "Position.Point = '(60,50)'")
                .replace("    Width = 60.0\n    Height = 40.0\n",
                         "    Width = 80.0\n    Height = 60.0\n"))

    def test_move_resize_and_save_as_text(self):
        saved = os.path.join(self.work, "saved.txt")
        shot = os.path.join(self.work, "designer.png")
        window = self.start("--save", saved, "--screenshot", shot)
        self.move_and_resize(window)
        lines = self.finish()
        self.assertTrue(any(line.startswith("select ") for line in lines), lines)
        self.assertIn("modified", lines)
        self.assertIn("saved " + saved, lines)
        with open(saved) as f:
            got = f.read()
        self.assertEqual(got.strip(), self.expected_text().strip())
        self.assertTrue(os.path.getsize(shot) > 0)
        keep = os.environ.get("DBI_DESIGNER_SCREENSHOT")
        if keep:
            shutil.copy(shot, keep)

    def wait_for_windows(self, enough):
        """Waits until the tool's count of visible windows satisfies `enough` (the menu is a
        window of its own) and returns it, so a loaded machine only makes the test slower."""
        return len(self.tool.wait_windows(enough, what="the designer's windows"))

    def grab_screen(self, path):
        """The whole X screen as PNG (the menu is a window of its own, outside the scene's
        buffer); False when Pillow cannot read the display."""
        try:
            from PIL import ImageGrab
            ImageGrab.grab(xdisplay=self.env["DISPLAY"]).save(path)
            return True
        except Exception:  # noqa: BLE001 - a missing grabber only skips the picture
            return False

    def test_right_click_menu_deletes_the_object(self):
        saved = os.path.join(self.work, "saved.txt")
        window = self.start("--save", saved)
        # A right press on the small box selects it and opens the design menu at the pointer.
        self.xdotool("mousemove", "--window", window, "70", "60")
        self.tool.wait_idle()
        shown = self.wait_for_windows(lambda count: count >= 1)
        self.xdotool("click", "3")
        self.wait_for_windows(lambda count: count > shown)
        self.tool.wait_idle()
        shot = os.path.join(self.work, "menu.png")
        if self.grab_screen(shot):
            keep = os.environ.get("DBI_MENU_SCREENSHOT")
            if keep:
                shutil.copy(shot, keep)
        # "Delete object" is the second row: 22 units a row below a 1-unit frame.
        self.xdotool("mousemove_relative", "--", "40", "34")
        self.tool.wait_idle()
        self.xdotool("click", "1")
        self.wait_for_windows(lambda count: count == shown)
        self.tool.wait_idle()
        lines = self.finish()
        self.assertIn("modified", lines)
        with open(saved) as f:
            got = f.read()
        self.assertNotIn("Rectangle1", got)
        self.assertIn("object Rectangle2: TsgRectangle", got)

    def choose(self, window, x, y, row):
        """Right-clicks the object at (x, y) and picks the menu's row (0 the first)."""
        self.xdotool("mousemove", "--window", window, str(x), str(y))
        self.tool.wait_idle()
        shown = self.wait_for_windows(lambda count: count >= 1)
        self.xdotool("click", "3")
        self.wait_for_windows(lambda count: count > shown)
        self.tool.wait_idle()
        self.xdotool("mousemove_relative", "--", "40", str(1 + ROW * row + ROW // 2))
        self.tool.wait_idle()
        self.xdotool("click", "1")
        return shown

    def test_tab_order_editor_moves_the_button_down(self):
        saved = os.path.join(self.work, "saved.txt")
        window = self.start("--save", saved, scene=BUTTONS)
        before = set(self.tool.windows())
        # The second button: the rows are the adding ones, "Hide in Design-time", the two style
        # entries and then "Tab Order...".
        shown = self.choose(window, 80, 103, 6)
        found = self.tool.wait_windows(lambda count: count > shown, what="the tab-order editor")
        editors = [w for w in found if w not in before]
        self.assertEqual(len(editors), 1, "no tab-order editor")
        editor = editors[0]
        geometry = self.xdotool("getwindowgeometry", editor)
        self.assertIn("400x300", geometry)
        self.tool.wait_idle()
        # "Down" at (330, 90), 50 x 26; then the window's close button at its right edge,
        # below the caption.
        self.xdotool("mousemove", "--window", editor, "355", "103")
        self.tool.wait_idle()
        self.xdotool("click", "1")
        self.tool.wait_idle()
        self.xdotool("mousemove", "--window", editor, "392", "40")
        self.tool.wait_idle()
        self.xdotool("click", "1")
        self.wait_for_windows(lambda count: count == shown)
        self.tool.wait_idle()
        self.finish()
        with open(saved) as f:
            got = f.read()
        orders = {}
        name = None
        for line in got.splitlines():
            line = line.strip()
            if line.startswith("object Button"):
                name = line.split()[1].rstrip(":")
            elif line.startswith("TabOrder = ") and name:
                orders[name] = int(line.split("=")[1])
        self.assertEqual(orders, {"Button1": 0, "Button2": 2, "Button3": 1}, got)

    def test_edit_default_style_reports_the_style(self):
        window = self.start(scene=BUTTONS)
        shown = self.choose(window, 80, 53, 4)
        self.wait_for_windows(lambda count: count == shown)
        self.tool.wait_line(lambda line: line == "edit style ButtonStyle")
        self.tool.wait_idle()
        self.xdotool("key", "Escape")
        self.assertEqual(self.tool.finish(), 0, self.tool.said())
        self.assertIn("edit style ButtonStyle", list(self.tool.out))

    @unittest.skipUnless(os.path.exists(STREAM_TOOL), "sgstream_tool is not built")
    def test_binary_save_reads_back_to_the_same_tree(self):
        saved = os.path.join(self.work, "saved.bin")
        window = self.start("--save", saved, "--binary")
        self.move_and_resize(window)
        self.finish()
        as_text = subprocess.run([STREAM_TOOL, "totext", saved, "-"], check=True, timeout=20,
                                 capture_output=True, text=True).stdout
        self.assertEqual(as_text.strip(), self.expected_text().strip())


if __name__ == "__main__":
    unittest.main()
