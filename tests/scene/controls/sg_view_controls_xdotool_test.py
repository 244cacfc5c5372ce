"""The basic controls in a real window under Xvfb, driven by the real pointer and keyboard through
xdotool: the view tool opens the scene of every basic control, styled by the default sheet it
carries, and prints the events and changes of the controls. A button clicks by the mouse, by
Space and by Enter when focused; a check box toggles by the mouse and the same keys; a radio button takes the check from its
sibling; dragging a track bar's thumb moves its value; the wheel over a scroll bar goes on to
its parent. Screenshots before and after are kept for looking at."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xvfb_harness as xh  # noqa: E402

SCENE = os.path.join(xh.SOURCE_DIR, "tools/scenes/controls.txt")
SHOTS = xh.BINARY_DIR or tempfile.gettempdir()


@unittest.skipIf(xh.missing(xh.SG_VIEW), xh.missing(xh.SG_VIEW))
class BasicControlsInARealWindow(xh.XvfbTestCase):
    # The scene's objects as the view tool names them: their child indices from the root.
    def run_view(self, shot, steps):
        return super().run_view(SCENE, shot, steps)

    def test_buttons_and_boxes_answer_the_mouse_and_the_keys(self):
        lines = self.run_view(os.path.join(SHOTS, "sg_view_controls_boxes.png"), [
            ("mousemove", "--window", "WINDOW", "66", "53", "click", "1"),
            ("key", "space"),
            ("key", "Return"),
            ("mousemove", "--window", "WINDOW", "30", "90", "click", "1"),
            ("key", "space"),
            ("key", "Return"),
            ("mousemove", "--window", "WINDOW", "40", "170", "click", "1"),
            ("key", "space"),
        ])
        text = "\n".join(lines)

        def after(line, start=0):
            self.assertIn(line, lines[start:], text)
            return lines.index(line, start) + 1

        at = after("root.1 focus")
        at = after("root.1 click", at)
        at = after("root.1 keydown 32 char 0", at)
        at = after("root.1 click", at)
        at = after("root.1 keydown 13 char 0", at)
        at = after("root.1 click", at)
        self.assertEqual(lines.count("root.1 click"), 3, text)
        at = after("root.6 change 1", at)
        at = after("root.6 change 0", at)
        at = after("root.6 change 1", at)
        after("root.7.1 change 1", at)
        after("root.7.0 change 0", at)
        # Space on a focused radio button that is checked already changes nothing.
        self.assertEqual(lines.count("root.7.1 change 1"), 1, text)
        self.assertNotIn("root.7.1 change 0", lines, text)
        self.assertEqual(lines.count("root.6 change 1"), 2, text)

    def test_dragging_a_thumb_and_wheeling_over_a_scroll_bar(self):
        lines = self.run_view(os.path.join(SHOTS, "sg_view_controls_bars.png"), [
            ("mousemove", "--window", "WINDOW", "284", "122", "mousedown", "1"),
            ("mousemove", "--window", "WINDOW", "320", "122"),
            ("mousemove", "--window", "WINDOW", "360", "123"),
            ("mousemove", "--window", "WINDOW", "400", "122"),
            ("mouseup", "1"),
            ("mousemove", "--window", "WINDOW", "110", "219", "click", "5"),
        ])
        text = "\n".join(lines)
        slider = [float(line.split()[2]) for line in lines if line.startswith("root.9 change ")]
        self.assertTrue(slider, text)
        self.assertGreater(slider[-1], 60, text)
        self.assertLess(slider[-1], 85, text)
        self.assertEqual(slider, sorted(slider), "the value follows the pointer to the right")
        self.assertIn("root.11 wheel -120", lines, text)
        wheel = lines.index("root.11 wheel -120")
        self.assertIn("root wheel -120", lines[wheel:], "the wheel goes on to the parent")
        self.assertFalse([l for l in lines[wheel:] if l.startswith("root.11 change")],
                         "a scroll bar alone does not scroll by the wheel")


    def test_arrow_buttons_step_and_repeat_while_held(self):
        # The horizontal bar spans x 16..216 at y 210..228 with its value at 40; its arrow buttons
        # sit at both ends. A click on the right arrow steps once; holding the left one repeats.
        lines = self.run_view(os.path.join(SHOTS, "sg_view_controls_arrows.png"), [
            ("mousemove", "--window", "WINDOW", "209", "219", "click", "1"),
            ("mousemove", "--window", "WINDOW", "22", "219", "mousedown", "1", "sleep", "1.5",
             "mouseup", "1"),
        ])
        text = "\n".join(lines)
        values = [float(line.split()[2]) for line in lines if line.startswith("root.11 change ")]
        self.assertTrue(values, text)
        self.assertEqual(values[0], 41, text)
        self.assertEqual(values[1], 40, text)
        # Held for 1.5 s: the first repeat after 600 ms, then one every 100 ms.
        self.assertGreaterEqual(len(values), 6, text)
        self.assertEqual(values[1:], sorted(values[1:], reverse=True), text)

if __name__ == "__main__":
    unittest.main()
