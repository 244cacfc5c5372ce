"""A scene in a real window under Xvfb, driven by the real pointer and keyboard through xdotool:
the view tool prints the events its objects receive, and clicks, typing, Tab, Ctrl+V, Return
and Escape must reach them as the toolkit routes input; pressing empty space drags the
window."""
import os
import shutil
import subprocess
import time
import unittest

BINARY = os.path.join(os.environ.get("DBI_BINARY_DIR", ""), "tools", "sg_view")
SCENE = os.path.join(os.environ.get("DBI_SOURCE_DIR", ""),
                     "tests/scene/core/data/input_smoke_scene.txt")
TOOLS = ("Xvfb", "xdotool")


def missing():
    if not os.path.exists(BINARY):
        return "sg_view is not built"
    for tool in TOOLS:
        if not shutil.which(tool):
            return tool + " is not installed"
    return None


@unittest.skipIf(missing(), missing())
class RealPointerOverTheViewTool(unittest.TestCase):
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

    def test_clicks_typing_and_tab_reach_the_objects(self):
        self.view = subprocess.Popen([BINARY, SCENE, "--print-events", "--exit-after", "30000"],
                                     env=self.env, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True)
        window = self.xdotool("search", "--sync", "--name", "sg_view").split()[0]
        time.sleep(0.5)
        steps = [
            ("mousemove", "--window", window, "50", "35", "click", "1"),
            ("type", "--delay", "40", "ab"),
            ("key", "Tab"),
            ("key", "ctrl+v"),
            ("key", "Return"),
            ("mousemove", "--window", window, "240", "165", "click", "1"),
            ("key", "Escape"),
        ]
        for step in steps:
            self.xdotool(*step)
            time.sleep(0.3)
        out, err = self.view.communicate(timeout=30)
        self.assertEqual(self.view.returncode, 0, err)
        lines = out.splitlines()

        def after(line, start=0):
            self.assertIn(line, lines[start:], "\n".join(lines))
            return lines.index(line, start) + 1

        at = after("root.0 enter")
        at = after("root.0 focus", at)
        at = after("root.0 click", at)
        at = after("root.0 keydown 0 char 97", at)
        at = after("root.0 keydown 0 char 98", at)
        at = after("root.0 unfocus", at)
        at = after("root.1 focus", at)
        at = after("root.1 keydown 86 char 0 ctrl", at)
        at = after("root.1 keydown 0 char 118 ctrl", at)
        at = after("root.1 keydown 13 char 0", at)
        at = after("root.2 focus", at)
        after("root.2 click", at)
        self.assertNotIn("root.0 keydown 9 char 0", lines, "Tab moves the focus only")
        self.assertFalse([line for line in lines if line.endswith("char 13")],
                         "Return comes once, as its key")

    def test_pressing_empty_space_drags_the_window(self):
        self.view = subprocess.Popen([BINARY, SCENE, "--print-events", "--exit-after", "30000"],
                                     env=self.env, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True)
        window = self.xdotool("search", "--sync", "--name", "sg_view").split()[0]
        time.sleep(0.5)

        def position():
            geometry = self.xdotool("getwindowgeometry", window)
            line = next(l for l in geometry.splitlines() if "Position:" in l)
            x, y = line.split()[1].split(",")
            return int(x), int(y)

        start = position()
        self.xdotool("mousemove", "--window", window, "100", "130", "mousedown", "1")
        time.sleep(0.2)
        for _ in range(6):
            self.xdotool("mousemove_relative", "--", "5", "4")
            time.sleep(0.05)
        time.sleep(0.2)
        self.xdotool("mouseup", "1")
        time.sleep(0.3)
        self.assertEqual(position(), (start[0] + 30, start[1] + 24))
        self.xdotool("key", "Escape")
        out, err = self.view.communicate(timeout=30)
        self.assertEqual(self.view.returncode, 0, err)
        self.assertNotIn("click", out, "empty space has no object to click")


if __name__ == "__main__":
    unittest.main()
