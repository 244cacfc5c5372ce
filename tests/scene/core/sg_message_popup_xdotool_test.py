"""The message popup in a real window under Xvfb: the demo asks its question in a message popup
that slides in at the top of its window; xdotool presses a button with the mouse, or Return or
Escape, and the demo prints the modal result. The screen is read back from Xvfb's frame buffer
file while the popup slides in, once it rests and after it closed; the pictures are saved as PNG
files next to the build for a look (message_*.png)."""
import os
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xvfb_harness as xh  # noqa: E402
from xwd_screen import read_xwd, write_png  # noqa: E402

BINARY = os.path.join(xh.BINARY_DIR, "tools", "sg_popup_demo")
SHOTS = os.path.join(xh.BINARY_DIR or tempfile.gettempdir(), "screenshots")
# The sanitizer build is several times slower; every wait is generous.
TIMEOUT = 120


GREY = (224, 224, 224)


def is_panel(px):
    """The popup's near-white panel over the grey window."""
    return all(c >= 240 for c in px)


@unittest.skipIf(xh.missing(BINARY), xh.missing(BINARY))
class MessagePopupOnARealDisplay(xh.XvfbTestCase):
    FBDIR = True

    def setUp(self):
        super().setUp()
        self.demo = None
        self.read = 0  # the demo's output lines looked at so far
        os.makedirs(SHOTS, exist_ok=True)

    def screen(self, name=None):
        width, height, rows = read_xwd(os.path.join(self.fbdir, "Xvfb_screen0"))
        if name:
            write_png(os.path.join(SHOTS, name), width, height, rows)
        return rows

    def line(self):
        """The demo's next line of output."""
        self.read = self.demo.wait_line(lambda line: True, self.read, timeout=TIMEOUT)
        return self.demo.out[self.read - 1].strip()

    def start(self, buttons, shots=None):
        """Runs the demo up to the resting popup; answers {caption: (x, y)} of its buttons.
        With `shots`, the screen is saved a few times while the popup slides in."""
        self.demo = self.launch(BINARY, "--message", buttons, "--hold", "1000")
        self.read = 0
        self.assertEqual(self.line(), "shown")
        if shots:
            for i in range(4):
                time.sleep(0.08)
                self.screen("%s_sliding_%d.png" % (shots, i))
        places = {}
        while True:
            text = self.line()
            if text == "opened":
                break
            word, caption, x, y = text.split()
            self.assertEqual(word, "button")
            places[caption] = (int(x), int(y))
        self.assertEqual(sorted(places), sorted(buttons.split(",")))
        return places

    def finish(self, expected):
        self.assertEqual(self.line(), "result %d" % expected)
        self.assertEqual(self.line(), "closed")
        self.assertEqual(self.demo.finish(), 0, self.demo.said())

    # The window is at (100, 100), 600 x 400; the 500 x 150 popup rests at the top of it, centred.
    def test_the_popup_slides_in_and_a_clicked_button_answers(self):
        places = self.start("Yes,No", shots="message")
        # Polled until the slide has been drawn.
        deadline = time.time() + TIMEOUT
        while True:
            time.sleep(0.2)
            rows = self.screen("message_open.png")
            if is_panel(rows[215][400]) or time.time() > deadline:
                break
        self.assertTrue(is_panel(rows[215][400]), "no panel: %r" % (rows[215][400],))
        # The window shows its grey beside and below the popup.
        self.assertEqual(rows[215][120], GREY)
        self.assertEqual(rows[400][400], GREY)
        # Table order, right-aligned: Yes left of No, both on one row near the popup's bottom.
        (yes_x, yes_y), (no_x, no_y) = places["Yes"], places["No"]
        self.assertLess(yes_x, no_x)
        self.assertEqual(yes_y, no_y)
        self.assertTrue(150 < yes_x < 650 and 100 < yes_y < 250, places)

        self.xdotool("mousemove", str(no_x), str(no_y))
        time.sleep(0.3)
        self.xdotool("click", "1")
        self.assertEqual(self.line(), "result 7")
        self.assertEqual(self.line(), "closed")
        # The window stays a second after the popup went; polled until it is drawn without it.
        deadline = time.time() + TIMEOUT
        while True:
            time.sleep(0.1)
            rows = self.screen("message_closed.png")
            if rows[215][400] == GREY or time.time() > deadline:
                break
        self.assertEqual(rows[215][400], GREY)
        self.assertEqual(self.demo.finish(), 0, self.demo.said())

    def test_return_and_escape_press_the_default_and_the_cancel_button(self):
        cases = [("Yes,No", "Return", 6), ("Yes,No", "Escape", 7), ("OK", "Escape", 1),
                 ("OK,Cancel", "Return", 1), ("OK,Cancel", "Escape", 2)]
        for buttons, key, expected in cases:
            with self.subTest(buttons=buttons, key=key):
                self.start(buttons)
                # Without a window manager the popup window took the focus as it mapped; the
                # keys are typed into the demo's own window, which hands them to the popup.
                window = self.demo.wait_window("^sg_popup_demo$")
                self.xdotool("windowfocus", window)
                self.xdotool("key", key)
                self.finish(expected)
                self.demo.stop()
                self.demo = None


if __name__ == "__main__":
    unittest.main()
