"""A list box and combo boxes with 100,000 items each in a real window under Xvfb, driven by the
real pointer and keyboard through xdotool: the view tool opens the list scene, adds the items
and prints the changes of the lists. A click picks a row, End and Home go to the last and first
item, the wheel scrolls, and the combo box drops its list down in a popup window where a click
chooses. A screenshot is kept for looking at."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xvfb_harness as xh  # noqa: E402

SCENE = os.path.join(xh.SOURCE_DIR, "tools/scenes/lists.txt")
SHOTS = xh.BINARY_DIR or tempfile.gettempdir()
ITEMS = 20000


@unittest.skipIf(xh.missing(xh.SG_VIEW), xh.missing(xh.SG_VIEW))
class LongListsInARealWindow(xh.XvfbTestCase):
    def test_a_long_list_and_a_combo_box_answer_the_mouse_and_the_keys(self):
        shot = os.path.join(SHOTS, "sg_view_lists.png")
        # Filling the long list takes a while on a loaded (or sanitized) build: the harness
        # waits for the window's first paint as long as that takes.
        lines = self.run_view(SCENE, shot, [
            # The second row of the list box (rows 19 high under a one-unit frame).
            ("mousemove", "--window", "WINDOW", "100", "70", "click", "1"),
            ("key", "End"),
            ("key", "Home"),
            ("mousemove", "--window", "WINDOW", "100", "150", "click", "5", "click", "5"),
            # The combo box opens; its list lies under it, the third row is chosen.
            ("mousemove", "--window", "WINDOW", "300", "51", "click", "1"),
            lambda: self.view.wait_windows(lambda count: count == 2),
            ("mousemove", "--window", "WINDOW", "300", "112", "click", "1"),
            lambda: self.view.wait_windows(lambda count: count == 1),
            ("key", "End"),
        ], "--list-items", str(ITEMS))
        text = "\n".join(lines)

        def after(line, start=0):
            self.assertIn(line, lines[start:], text)
            return lines.index(line, start) + 1

        # The scene loads its objects without names, so they go by child index: the list box
        # is root.1, the combo box root.2. The scene's two items come first, then the items added.
        at = after("root.1 change 1")
        at = after("root.1 change %d" % (ITEMS + 1), at)
        at = after("root.1 change 0", at)
        self.assertIn("root.1 wheel -120", lines[at:], text)
        at = after("root.2 change 2", at)
        after("root.2 change %d" % ITEMS, at)


if __name__ == "__main__":
    unittest.main()
