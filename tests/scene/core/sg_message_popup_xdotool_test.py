"""The message popup in a real window under Xvfb: the demo asks its question in a message popup
that slides in at the top of its window; xdotool presses a button with the mouse, or Return or
Escape, and the demo prints the modal result. The screen is read back from Xvfb's frame buffer
file while the popup slides in, once it rests and after it closed; the pictures are saved as PNG
files next to the build for a look (message_*.png)."""
import os
import shutil
import struct
import subprocess
import tempfile
import time
import unittest
import zlib

BINARY = os.path.join(os.environ.get("DBI_BINARY_DIR", ""), "tools", "sg_popup_demo")
SHOTS = os.path.join(os.environ.get("DBI_BINARY_DIR", "") or tempfile.gettempdir(),
                     "screenshots")
# The sanitizer build is several times slower; every wait is generous.
TIMEOUT = 120


def missing():
    if not os.path.exists(BINARY):
        return "sg_popup_demo is not built"
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            return tool + " is not installed"
    return None


def read_xwd(path):
    """Answers (width, height, rows of (r, g, b)) of a 24/32-bit XWD screen dump."""
    with open(path, "rb") as f:
        data = f.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    red_mask, green_mask, blue_mask, ncolors = fields[14], fields[15], fields[16], fields[19]
    if bits_per_pixel != 32:
        raise ValueError("unexpected pixel size %d" % bits_per_pixel)
    offset = header_size + ncolors * 12
    fmt = "<I" if byte_order == 0 else ">I"

    def channel(value, mask):
        shift = (mask & -mask).bit_length() - 1
        return (value & mask) >> shift

    rows = []
    for y in range(height):
        row = []
        base = offset + y * bytes_per_line
        for x in range(width):
            (v,) = struct.unpack_from(fmt, data, base + 4 * x)
            row.append((channel(v, red_mask), channel(v, green_mask), channel(v, blue_mask)))
        rows.append(row)
    return width, height, rows


def write_png(path, width, height, rows):
    raw = b"".join(b"\0" + bytes(c for px in row for c in px) for row in rows)

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw)))
        f.write(chunk(b"IEND", b""))


GREY = (224, 224, 224)


def is_panel(px):
    """The popup's near-white panel over the grey window."""
    return all(c >= 240 for c in px)


@unittest.skipIf(missing(), missing())
class MessagePopupOnARealDisplay(unittest.TestCase):
    def setUp(self):
        self.fbdir = tempfile.mkdtemp(prefix="sg-msgpopup-fb-")
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                      "800x600x24", "-fbdir", self.fbdir, "-nolisten", "tcp"],
                                     pass_fds=(write,), stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as display:
            number = display.readline().strip()
        self.assertTrue(number, "Xvfb gave no display")
        self.env = dict(os.environ, DISPLAY=":" + number)
        self.env.pop("DBI_VIDEO_DRIVER", None)
        self.env.pop("SDL_VIDEODRIVER", None)
        self.demo = None
        os.makedirs(SHOTS, exist_ok=True)

    def tearDown(self):
        for process in (self.demo, self.xvfb):
            if process and process.poll() is None:
                process.kill()
                process.wait(timeout=10)
        if self.demo:
            self.demo.stdout.close()
            self.demo.stderr.close()
        shutil.rmtree(self.fbdir, ignore_errors=True)

    def xdotool(self, *args):
        return subprocess.run(["xdotool"] + list(args), env=self.env, check=True,
                              capture_output=True, text=True, timeout=TIMEOUT).stdout

    def screen(self, name=None):
        width, height, rows = read_xwd(os.path.join(self.fbdir, "Xvfb_screen0"))
        if name:
            write_png(os.path.join(SHOTS, name), width, height, rows)
        return rows

    def line(self):
        text = self.demo.stdout.readline()
        if not text:
            self.fail("the demo ended early: %s" % self.demo.stderr.read())
        return text.strip()

    def start(self, buttons, shots=None):
        """Runs the demo up to the resting popup; answers {caption: (x, y)} of its buttons.
        With `shots`, the screen is saved a few times while the popup slides in."""
        self.demo = subprocess.Popen([BINARY, "--message", buttons, "--hold", "1000"], env=self.env,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
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
        self.assertEqual(self.demo.wait(timeout=TIMEOUT), 0)

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
        # The window stays a second after the popup went.
        time.sleep(0.2)
        rows = self.screen("message_closed.png")
        self.assertEqual(rows[215][400], GREY)
        self.assertEqual(self.demo.wait(timeout=TIMEOUT), 0)

    def test_return_and_escape_press_the_default_and_the_cancel_button(self):
        cases = [("Yes,No", "Return", 6), ("Yes,No", "Escape", 7), ("OK", "Escape", 1),
                 ("OK,Cancel", "Return", 1), ("OK,Cancel", "Escape", 2)]
        for buttons, key, expected in cases:
            with self.subTest(buttons=buttons, key=key):
                self.start(buttons)
                # Without a window manager the popup window took the focus as it mapped; the
                # keys are typed into the demo's own window, which hands them to the popup.
                window = self.xdotool("search", "--sync", "--name", "^sg_popup_demo$").split()[0]
                self.xdotool("windowfocus", window)
                self.xdotool("key", key)
                self.finish(expected)
                self.demo.stdout.close()
                self.demo.stderr.close()
                self.demo = None


if __name__ == "__main__":
    unittest.main()
