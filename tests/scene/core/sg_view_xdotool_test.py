"""A scene in a real window under Xvfb, driven by the real pointer and keyboard through xdotool:
the view tool prints the events its objects receive, and clicks, typing, Tab, Ctrl+V, Return
and Escape must reach them as the toolkit routes input; pressing empty space drags the
window."""
import os
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xvfb_harness as xh  # noqa: E402

SCENE = os.path.join(xh.SOURCE_DIR, "tests/scene/core/data/input_smoke_scene.txt")


@unittest.skipIf(xh.missing(xh.SG_VIEW), xh.missing(xh.SG_VIEW))
class RealPointerOverTheViewTool(xh.XvfbTestCase):
    def open(self):
        """The view tool on the scene, once it has painted (its first screenshot, kept in a
        folder of the test's own, tells when)."""
        folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, folder, True)
        return self.open_view(SCENE, "--print-events", shot=os.path.join(folder, "shot.png"))

    def test_clicks_typing_and_tab_reach_the_objects(self):
        view, window = self.open()
        self.play(view, [
            ("mousemove", "--window", "WINDOW", "50", "35", "click", "1"),
            ("type", "--delay", "40", "ab"),
            ("key", "Tab"),
            ("key", "ctrl+v"),
            ("key", "Return"),
            ("mousemove", "--window", "WINDOW", "240", "165", "click", "1"),
            ("key", "Escape"),
        ], window)
        self.assertEqual(view.finish(), 0, view.said())
        lines = list(view.out)

        def after(line, start=0):
            self.assertIn(line, lines[start:], "\n".join(lines))
            return lines.index(line, start) + 1

        at = after("root.0 enter")
        at = after("root.0 focus", at)
        at = after("root.0 click", at)
        at = after("root.0 keydown 0 char 97", at)
        at = after("root.0 keydown 0 char 98", at)
        at = after("root.0 unfocus", at)
        at = after("root.1 focus", at)
        at = after("root.1 keydown 86 char 0 ctrl", at)
        at = after("root.1 keydown 0 char 118 ctrl", at)
        at = after("root.1 keydown 13 char 0", at)
        at = after("root.2 focus", at)
        after("root.2 click", at)
        self.assertNotIn("root.0 keydown 9 char 0", lines, "Tab moves the focus only")
        self.assertFalse([line for line in lines if line.endswith("char 13")],
                         "Return comes once, as its key")

    def test_pressing_empty_space_drags_the_window(self):
        view, window = self.open()

        def position():
            geometry = self.xdotool("getwindowgeometry", window)
            line = next(l for l in geometry.splitlines() if "Position:" in l)
            x, y = line.split()[1].split(",")
            return int(x), int(y)

        start = position()
        self.play(view, [("mousemove", "--window", window, "100", "130", "mousedown", "1")] +
                  [("mousemove_relative", "--", "5", "4")] * 6 + [("mouseup", "1")])
        self.assertEqual(position(), (start[0] + 30, start[1] + 24))
        self.xdotool("key", "Escape")
        self.assertEqual(view.finish(), 0, view.said())
        out = "\n".join(view.out)
        self.assertNotIn("click", out, "empty space has no object to click")


if __name__ == "__main__":
    unittest.main()
