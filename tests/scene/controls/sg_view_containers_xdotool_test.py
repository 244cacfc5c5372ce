"""The container controls in a real window under Xvfb, driven by xdotool: the view tool opens a
tab control whose pages hold a tree view with check boxes, a text box beside a grid layout, and a
scroll box with tall content, with a scaled layout below. Clicking a header switches the page,
the tree selects, expands and checks by the mouse, the text box takes typing, and the wheel
scrolls the scroll box. A screenshot of each page is kept for looking at."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

BINARY = os.path.join(os.environ.get("DBI_BINARY_DIR", ""), "tools", "sg_view")
SCENE = os.path.join(os.environ.get("DBI_SOURCE_DIR", ""), "tools/scenes/containers.txt")
SHOTS = os.environ.get("DBI_BINARY_DIR") or tempfile.gettempdir()


def missing():
    if not os.path.exists(BINARY):
        return "sg_view is not built"
    for tool in ("Xvfb", "xdotool"):
        if not shutil.which(tool):
            return tool + " is not installed"
    return None


@unittest.skipIf(missing(), missing())
class ContainersInARealWindow(unittest.TestCase):
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

    def tearDown(self):
        for process in (self.view, self.xvfb):
            if process and process.poll() is None:
                process.kill()
                process.wait(timeout=10)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=20,
                              capture_output=True, text=True).stdout

    def test_pages_tree_text_and_scrolling_answer_the_mouse_and_the_keys(self):
        shot = os.path.join(SHOTS, "sg_view_containers.png")
        self.view = subprocess.Popen([BINARY, SCENE, "--print-events", "--exit-after", "30000",
                                      "--screenshot", shot],
                                     env=self.env, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True)
        window = self.xdotool("search", "--sync", "--name", "sg_view").split()[0]
        time.sleep(0.8)

        def at(x, y, *then):
            self.xdotool("mousemove", "--window", window, str(x), str(y), *then)
            time.sleep(0.3)

        def key(*names):
            self.xdotool("key", *names)
            time.sleep(0.3)

        # Tree page: the tree starts at (24, 40) in the window with rows of 19. An item with
        # children shows its expander at x 24..40 and its check box after it; an item without
        # has its check box first, at x 24..42.
        at(90, 50, "click", "1")            # select "Programs"
        at(31, 50, "click", "1")            # expand it: Lumora 7 and Fennix 3 below
        at(120, 88, "click", "1")           # select "Fennix 3", the second child
        at(31, 107, "click", "1")           # check "Folders" by its box
        # Text page: the box at (32, 48) in the window, 200 x 22.
        at(106, 22, "click", "1")
        at(150, 59, "click", "1")
        key("End")
        self.xdotool("type", "--delay", "80", "xy")
        time.sleep(0.3)
        # Scroll page: three wheel steps down over the tall content.
        at(166, 22, "click", "1")
        at(200, 140, "click", "5", "click", "5", "click", "5")
        key("F12")
        time.sleep(0.3)
        key("Escape")
        out, err = self.view.communicate(timeout=30)
        self.assertEqual(self.view.returncode, 0, err)
        lines = out.splitlines()
        text = "\n".join(lines)

        def after(line, start=0):
            self.assertIn(line, lines[start:], text)
            return lines.index(line, start) + 1

        def event(suffix, start=0):
            for number, line in enumerate(lines[start:], start):
                if line.split(" ", 1)[1:] == [suffix]:
                    return number + 1
            self.fail(suffix + " missing after line %d:\n" % start + text)

        # Objects are named by their child indices; the events are matched by what they say.
        step = event("change Programs")
        step = event("change Fennix 3", step)
        step = event("check Folders 1", step)
        step = event("change 1", step)
        step = event("change abcx", step)
        step = event("change abcxy", step)
        step = event("change 2", step)
        scrolls = [l for l in lines[step:] if " scroll " in l]
        self.assertTrue(scrolls, text)
        last_y = float(scrolls[-1].split()[-1].split(",")[1])
        self.assertGreater(last_y, 0, text)
        self.assertLessEqual(last_y, 600 - 180 + 1, text)
        # Checking one item by its box leaves the others as they were.
        self.assertFalse([l for l in lines if "check Lumora 7" in l or "check Programs" in l],
                         text)


if __name__ == "__main__":
    unittest.main()
