"""The licence's rich-text view hosted by a native-window layout, in a real window under Xvfb,
driven with xdotool: the view is placed over the layout's rectangle and drawn in front of the
scene, scrolls by the wheel and the keys, hides when its page is hidden and comes back placed
when the page is shown. A screenshot of the window is kept for looking at."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xvfb_harness as xh  # noqa: E402

BINARY = os.path.join(xh.BINARY_DIR, "tools", "sg_native_view")
SCENE = os.path.join(xh.SOURCE_DIR, "tests/scene/controls/data/licence_scene.txt")
LICENCE = os.path.join(xh.SOURCE_DIR, "resources/licenses/LICEN.rtf")
SHOT = os.path.join(xh.BINARY_DIR or tempfile.gettempdir(), "native_view_licence.png")


@unittest.skipIf(xh.missing(BINARY), xh.missing(BINARY))
class LicenceViewInARealWindow(xh.XvfbTestCase):
    def setUp(self):
        super().setUp()
        self.view = None
        self.read = 0  # the view's output lines looked at so far

    def wait_for(self, test, what):
        """The first line (from the last one looked at on) for which test holds."""
        self.read = self.view.wait_line(test, self.read, what=what)
        return self.view.out[self.read - 1]

    def scroll(self, line):
        return int(line.split()[1]) if line.startswith("scroll ") else None

    def test_placed_drawn_scrolled_hidden_and_shown(self):
        if os.path.exists(SHOT):
            os.remove(SHOT)
        self.view = self.launch(BINARY, SCENE, LICENCE, "--screenshot", SHOT,
                                "--exit-after", str(xh.EXIT_AFTER_MS))
        window = self.view.wait_window("sg_native_view")
        # The page at (16, 48) 448 x 296; the layout fills it inside a padding of 4.
        self.wait_for(lambda l: l == "visible 1", "shown view")
        self.wait_for(lambda l: l == "view 20 52 440 288", "placed view")
        self.view.wait_idle()

        written = len(self.view.err)
        self.xdotool("key", "--window", window, "F12")
        self.view.wait_line("sg_native_view: wrote " + SHOT, written, stream="err",
                            what="screenshot")
        self.assertTrue(os.path.exists(SHOT), "no screenshot")
        try:
            from PIL import Image
        except ImportError:
            Image = None
        if Image:
            image = Image.open(SHOT).convert("RGB")
            self.assertEqual(image.size, (480, 360))
            # The view's white page in front of the scene's dark frame, text on it.
            view = [image.getpixel((x, y)) for x in range(20, 440, 3) for y in range(52, 340, 3)]
            white = sum(1 for p in view if p == (255, 255, 255))
            self.assertGreater(white, len(view) // 2, "the view is not in front")
            self.assertEqual(image.getpixel((18, 200)), (0x3C, 0x3C, 0x3C))
            self.assertEqual(image.getpixel((8, 200)), (0x2B, 0x2B, 0x2B))
            dark = sum(1 for x in range(24, 440) for y in range(56, 120)
                       if sum(image.getpixel((x, y))) < 300)
            self.assertGreater(dark, 200, "no text in the view")

        # The wheel over the view scrolls it.
        self.xdotool("mousemove", "--window", window, "200", "200")
        self.view.wait_idle()
        for _ in range(3):
            self.xdotool("click", "5")
            self.view.wait_idle()
        wheeled = self.scroll(self.wait_for(lambda l: (self.scroll(l) or 0) > 0, "wheel scroll"))
        # Clicking it gives it the keys: Home goes to the top, End back to the bottom, which
        # three wheel steps already reach in this short licence.
        self.xdotool("click", "1")
        self.view.wait_idle()
        self.xdotool("key", "Home")
        self.wait_for(lambda l: l == "scroll 0", "scroll home")
        self.xdotool("key", "End")
        bottom = self.scroll(self.wait_for(lambda l: (self.scroll(l) or 0) > 0, "scroll to the end"))
        self.assertGreaterEqual(bottom, wheeled)

        # F2 on the scene hides the page: the view follows within the poll, and comes back placed.
        self.xdotool("mousemove", "--window", window, "100", "20", "click", "1")
        self.view.wait_idle()
        self.xdotool("key", "F2")
        self.wait_for(lambda l: l == "visible 0", "hidden view")
        self.xdotool("key", "F2")
        self.wait_for(lambda l: l == "visible 1", "shown again")
        self.xdotool("key", "Escape")
        self.assertEqual(self.view.finish(), 0, self.view.said())


if __name__ == "__main__":
    unittest.main()
