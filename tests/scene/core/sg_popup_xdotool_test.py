"""A popup in a real window under Xvfb: the demo opens a drop-down popup in a window of its own
under its field, fades it in and out and closes it. The screen is read back from Xvfb's frame
buffer file while it is open and after it closed; both pictures are saved as PNG files next to
the build for a look (popup_open.png, popup_closed.png)."""
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


def missing():
    if not os.path.exists(BINARY):
        return "sg_popup_demo is not built"
    if not shutil.which("Xvfb"):
        return "Xvfb is not installed"
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


@unittest.skipIf(missing(), missing())
class PopupOnARealDisplay(unittest.TestCase):
    def setUp(self):
        self.fbdir = tempfile.mkdtemp(prefix="sg-popup-fb-")
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                      "640x480x24", "-fbdir", self.fbdir, "-nolisten", "tcp"],
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

    def screen(self, name):
        time.sleep(0.3)
        width, height, rows = read_xwd(os.path.join(self.fbdir, "Xvfb_screen0"))
        write_png(os.path.join(SHOTS, name), width, height, rows)
        return rows

    # Without a window manager the display gives the focus to the popup as it maps; the owner
    # takes it back at once, and the popup must stay open through that round trip.
    def test_popup_opens_under_its_field_and_goes_again(self):
        self.demo = subprocess.Popen([BINARY, "--hold", "1500"], env=self.env,
                                     stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.assertEqual(self.demo.stdout.readline().strip(), "opened")
        rows = self.screen("popup_open.png")
        # The field (white) at (140..340, 140..170); the popup (blue) right under it.
        self.assertEqual(rows[155][240], (255, 255, 255))
        r, g, b = rows[250][240]
        self.assertTrue(b > 150 and r < 80, "popup not shown: %r" % ((r, g, b),))
        # The window itself still shows its grey beside the popup.
        self.assertEqual(rows[250][400], (224, 224, 224))

        self.assertEqual(self.demo.stdout.readline().strip(), "closed")
        rows = self.screen("popup_closed.png")
        self.assertEqual(rows[250][240], (224, 224, 224))
        self.assertEqual(self.demo.wait(timeout=30), 0)


if __name__ == "__main__":
    unittest.main()
