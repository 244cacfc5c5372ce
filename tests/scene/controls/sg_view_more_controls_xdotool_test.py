"""The glyph buttons, the expander, the image well and the popup box in a real window under Xvfb,
driven by the real pointer through xdotool: the view tool opens their scene, styled by the
default sheet it carries, and prints the clicks, changes and expansions. Screenshots are kept for
looking at."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xvfb_harness as xh  # noqa: E402

SCENE = os.path.join(xh.SOURCE_DIR, "tools/scenes/controls_more.txt")
SHOTS = xh.BINARY_DIR or tempfile.gettempdir()


@unittest.skipIf(xh.missing(xh.SG_VIEW), xh.missing(xh.SG_VIEW))
class MoreControlsInARealWindow(xh.XvfbTestCase):
    def run_view(self, shot, steps):
        return super().run_view(SCENE, shot, steps)

    def windows_shown(self, enough):
        """A step that waits until the view tool shows that many windows (a popup is a window
        of its own)."""
        return lambda: self.view.wait_windows(enough)

    @staticmethod
    def click(x, y):
        return ("mousemove", "--window", "WINDOW", str(x), str(y), "click", "1")

    def test_glyph_buttons_click_and_the_content_takes_the_pointer(self):
        lines = self.run_view(os.path.join(SHOTS, "sg_view_more_controls_open.png"), [
            self.click(76, 56),    # bitmap button
            self.click(178, 68),   # tool button
            self.click(280, 56),   # path button
            self.click(376, 56),   # animated button
            self.click(60, 157),   # the check box inside the expander
            ("mousemove", "--window", "WINDOW", "290", "300"),
        ])
        text = "\n".join(lines)
        for name in ("root.1", "root.2", "root.3", "root.4"):
            self.assertIn(name + " click", lines, text)
        self.assertIn("root.5.1.0 change 1", lines, text)
        self.assertNotIn("root.5 expand 0", lines, text)

    def test_the_popup_box_offers_its_list_and_a_row_chooses(self):
        # The box at (240,230), 22 high, holds three entries: the menu opens 19 units above
        # it (half its height less 10 per entry); rows are 22 high below a 1-unit border.
        lines = self.run_view(os.path.join(SHOTS, "sg_view_more_controls_popup.png"), [
            self.click(310, 241),
            self.windows_shown(lambda count: count == 2),
            self.click(280, 211 + 1 + 2 * 22 + 11),
            self.windows_shown(lambda count: count == 1),
        ])
        text = "\n".join(lines)
        self.assertIn("root.7 click", lines, text)
        self.assertIn("root.7 change 2", lines, text)

    def test_the_header_button_collapses_and_expands_the_expander(self):
        # The clicks on the header are half a second apart, so that none makes a double click.
        lines = self.run_view(os.path.join(SHOTS, "sg_view_more_controls_collapsed.png"), [
            self.click(26, 121),
            ("sleep", "0.5"),
            self.click(26, 121),
            ("sleep", "0.5"),
            self.click(26, 121),
            ("sleep", "0.5"),
            # Collapsed: the place of the inner check box is empty now.
            self.click(60, 157),
        ])
        text = "\n".join(lines)
        self.assertEqual([l for l in lines if " expand " in l],
                         ["root.5 expand 0", "root.5 expand 1", "root.5 expand 0"], text)
        self.assertNotIn("root.5.1.0 change 1", lines, text)


if __name__ == "__main__":
    unittest.main()
