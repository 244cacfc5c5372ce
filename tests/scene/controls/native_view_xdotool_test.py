"""The licence's rich-text view hosted by a native-window layout, in a real window under Xvfb,
driven with xdotool: the view is placed over the layout's rectangle and drawn in front of the
scene, scrolls by the wheel and the keys, hides when its page is hidden and comes back placed
when the page is shown. A screenshot of the window is kept for looking at."""
import os
import queue
import shutil
import subprocess
import tempfile
import threading
import time
import unittest

BINARY = os.path.join(os.environ.get("DBI_BINARY_DIR", ""), "tools", "sg_native_view")
SOURCE = os.environ.get("DBI_SOURCE_DIR", "")
SCENE = os.path.join(SOURCE, "tests/scene/controls/data/licence_scene.txt")
LICENCE = os.path.join(SOURCE, "resources/licenses/LICEN.rtf")
SHOT = os.path.join(os.environ.get("DBI_BINARY_DIR", tempfile.gettempdir()),
                    "native_view_licence.png")
TOOLS = ("Xvfb", "xdotool")


def missing():
    if not os.path.exists(BINARY):
        return "sg_native_view is not built"
    for tool in TOOLS:
        if not shutil.which(tool):
            return tool + " is not installed"
    return None


@unittest.skipIf(missing(), missing())
class LicenceViewInARealWindow(unittest.TestCase):
    def setUp(self):
        read, write = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0",
                                      "800x600x24", "-nolisten", "tcp"],
                                     pass_fds=(write,), stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        os.close(write)
        with os.fdopen(read) as display:
            number = display.readline().strip()
        self.assertTrue(number, "Xvfb gave no display")
        self.env = dict(os.environ, DISPLAY=":" + number)
        self.env.pop("DBI_VIDEO_DRIVER", None)
        self.env.pop("SDL_VIDEODRIVER", None)
        self.view = None
        self.lines = queue.Queue()
        self.seen = []

    def tearDown(self):
        for process in (self.view, self.xvfb):
            if process and process.poll() is None:
                process.kill()
                process.wait(timeout=10)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=20,
                              capture_output=True, text=True).stdout

    def read_output(self):
        for line in self.view.stdout:
            self.lines.put(line.strip())

    def wait_for(self, test, what, timeout=5.0):
        """The first line (from now on) for which test holds."""
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            try:
                line = self.lines.get(timeout=max(0.01, end - time.monotonic()))
            except queue.Empty:
                break
            self.seen.append(line)
            if test(line):
                return line
        self.fail("no %s in %r" % (what, self.seen))

    def scroll(self, line):
        return int(line.split()[1]) if line.startswith("scroll ") else None

    def test_placed_drawn_scrolled_hidden_and_shown(self):
        if os.path.exists(SHOT):
            os.remove(SHOT)
        self.view = subprocess.Popen([BINARY, SCENE, LICENCE, "--screenshot", SHOT,
                                      "--exit-after", "60000"],
                                     env=self.env, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True)
        threading.Thread(target=self.read_output, daemon=True).start()
        window = self.xdotool("search", "--sync", "--name", "sg_native_view").split()[0]
        # The page at (16, 48) 448 x 296; the layout fills it inside a padding of 4.
        self.wait_for(lambda l: l == "visible 1", "shown view")
        self.wait_for(lambda l: l == "view 20 52 440 288", "placed view")
        time.sleep(0.5)

        self.xdotool("key", "--window", window, "F12")
        time.sleep(0.5)
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
        time.sleep(0.2)
        for _ in range(3):
            self.xdotool("click", "5")
            time.sleep(0.1)
        wheeled = self.scroll(self.wait_for(lambda l: (self.scroll(l) or 0) > 0, "wheel scroll"))
        # Clicking it gives it the keys: Home goes to the top, End back to the bottom, which
        # three wheel steps already reach in this short licence.
        self.xdotool("click", "1")
        time.sleep(0.2)
        self.xdotool("key", "Home")
        self.wait_for(lambda l: l == "scroll 0", "scroll home")
        self.xdotool("key", "End")
        bottom = self.scroll(self.wait_for(lambda l: (self.scroll(l) or 0) > 0, "scroll to the end"))
        self.assertGreaterEqual(bottom, wheeled)

        # F2 on the scene hides the page: the view follows within the poll, and comes back placed.
        self.xdotool("mousemove", "--window", window, "100", "20", "click", "1")
        time.sleep(0.2)
        self.xdotool("key", "F2")
        self.wait_for(lambda l: l == "visible 0", "hidden view")
        self.xdotool("key", "F2")
        self.wait_for(lambda l: l == "visible 1", "shown again")
        self.xdotool("key", "Escape")
        self.assertEqual(self.view.wait(timeout=30), 0, self.view.stderr.read())


if __name__ == "__main__":
    unittest.main()
