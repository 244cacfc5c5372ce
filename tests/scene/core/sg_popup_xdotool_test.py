"""A popup in a real window under Xvfb: the demo opens a drop-down popup in a window of its own
under its field, fades it in and out and closes it. The screen is read back from Xvfb's frame
buffer file while it is open and after it closed; both pictures are saved as PNG files next to
the build for a look (popup_open.png, popup_closed.png)."""
import os
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xvfb_harness as xh  # noqa: E402
from xwd_screen import read_xwd, write_png, xwd_pixel  # noqa: E402

BINARY = os.path.join(xh.BINARY_DIR, "tools", "sg_popup_demo")
SHOTS = os.path.join(xh.BINARY_DIR or tempfile.gettempdir(), "screenshots")
# How long the screen may take to show what the demo said it shows.
SCREEN_TIMEOUT = 60


def missing():
    return xh.missing(BINARY, tools=("Xvfb",))


@unittest.skipIf(missing(), missing())
class PopupOnARealDisplay(xh.XvfbTestCase):
    SCREEN = "640x480x24"
    FBDIR = True

    def setUp(self):
        super().setUp()
        os.makedirs(SHOTS, exist_ok=True)

    def screen(self, name, shows):
        """The screen once shows(pixel) holds for it, polled from Xvfb's frame buffer (or when
        the time runs out, for the checks to tell what is wrong), also saved as PNG."""
        dump = os.path.join(self.fbdir, "Xvfb_screen0")
        deadline = time.monotonic() + SCREEN_TIMEOUT
        while not shows(lambda x, y: xwd_pixel(dump, x, y)) and time.monotonic() < deadline:
            time.sleep(0.02)
        width, height, rows = read_xwd(dump)
        write_png(os.path.join(SHOTS, name), width, height, rows)
        return rows

    # Without a window manager the display gives the focus to the popup as it maps; the owner
    # takes it back at once, and the popup must stay open through that round trip.
    def test_popup_opens_under_its_field_and_goes_again(self):
        demo = self.launch(BINARY, "--hold", "1500")
        demo.wait_line(lambda line: True, what="opened")
        self.assertEqual(demo.out[0].strip(), "opened")

        def popup_shown(pixel):
            r, g, b = pixel(240, 250)
            return b > 150 and r < 80
        rows = self.screen("popup_open.png", popup_shown)
        # The field (white) at (140..340, 140..170); the popup (blue) right under it.
        self.assertEqual(rows[155][240], (255, 255, 255))
        r, g, b = rows[250][240]
        self.assertTrue(b > 150 and r < 80, "popup not shown: %r" % ((r, g, b),))
        # The window itself still shows its grey beside the popup.
        self.assertEqual(rows[250][400], (224, 224, 224))

        demo.wait_line(lambda line: True, 1, what="closed")
        self.assertEqual(demo.out[1].strip(), "closed")
        rows = self.screen("popup_closed.png", lambda pixel: pixel(240, 250) == (224, 224, 224))
        self.assertEqual(rows[250][240], (224, 224, 224))
        self.assertEqual(demo.finish(), 0, demo.said())


if __name__ == "__main__":
    unittest.main()
