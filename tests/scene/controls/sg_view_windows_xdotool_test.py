"""The in-scene window with its knob and numeric boxes, and the activity indicators, in a real
window under Xvfb driven by the real pointer and keyboard through xdotool: the view tool opens
the scene with the default sheet it carries and prints the changes of the controls. Dragging
the knob round its centre reports snapped angles; Up, Up and Enter commit a number box's value,
and dragging over it steps the value once per move; each click of the spin box's plus button
commits. The screenshot is kept for looking at."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xvfb_harness as xh  # noqa: E402

SCENE = os.path.join(xh.SOURCE_DIR, "tools/scenes/controls_windows.txt")
SHOTS = xh.BINARY_DIR or tempfile.gettempdir()


@unittest.skipIf(xh.missing(xh.SG_VIEW), xh.missing(xh.SG_VIEW))
class WindowsAndNumbersInARealWindow(xh.XvfbTestCase):
    def run_view(self, shot, steps):
        return super().run_view(SCENE, shot, steps)

    # The window is root.0; its knob, number box and spin box are root.0.0, root.0.1, root.0.2.
    def test_knob_number_box_and_spin_box_answer_the_pointer_and_the_keys(self):
        lines = self.run_view(os.path.join(SHOTS, "sg_view_controls_windows.png"), [
            # The knob's centre is (70, 96): right of it, then up and to the right, then above.
            ("mousemove", "--window", "WINDOW", "90", "96", "mousedown", "1"),
            ("mousemove", "--window", "WINDOW", "80", "90"),
            ("mousemove", "--window", "WINDOW", "70", "60"),
            ("mouseup", "1"),
            ("mousemove", "--window", "WINDOW", "186", "77", "click", "1"),
            ("key", "Up"),
            ("key", "Up"),
            ("key", "Return"),
            ("mousedown", "1"),
            ("mousemove", "--window", "WINDOW", "196", "77"),
            ("mousemove", "--window", "WINDOW", "206", "77"),
            ("mousemove", "--window", "WINDOW", "216", "77"),
            ("mouseup", "1"),
            ("mousemove", "--window", "WINDOW", "237", "117", "click", "1"),
            ("click", "1"),
        ])
        text = "\n".join(lines)
        knob = [float(line.split()[2]) for line in lines if line.startswith("root.0.0 change ")]
        self.assertIn(90.0, knob, text)
        self.assertTrue(all(v % 15 == 0 for v in knob), "the knob snaps to its frequency")
        self.assertEqual(knob[-1], 90.0, text)
        number = [float(line.split()[2]) for line in lines if line.startswith("root.0.1 change ")]
        self.assertEqual(number[0], 2.0, "Up twice, committed by Enter")
        self.assertEqual(len(number), 2, text)
        self.assertEqual(number[1], 5.0, "one step per move, committed by the release")
        spin = [float(line.split()[2]) for line in lines if line.startswith("root.0.2 change ")]
        self.assertEqual(spin, [1.0, 2.0], text)


if __name__ == "__main__":
    unittest.main()
