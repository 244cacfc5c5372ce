"""A list box and combo boxes with 100,000 items each in a real window under Xvfb, driven by the
real pointer and keyboard through xdotool: the view tool opens the list scene, adds the items
and prints the changes of the lists. A click picks a row, End and Home go to the last and first
item, the wheel scrolls, and the combo box drops its list down in a popup window where a click
chooses. A screenshot is kept for looking at."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

BINARY = os.path.join(os.environ.get("DBI_BINARY_DIR", ""), "tools", "sg_view")
SCENE = os.path.join(os.environ.get("DBI_SOURCE_DIR", ""), "tools/scenes/lists.txt")
SHOTS = os.environ.get("DBI_BINARY_DIR") or tempfile.gettempdir()
TOOLS = ("Xvfb", "xdotool")
ITEMS = 20000


def missing():
    if not os.path.exists(BINARY):
        return "sg_view is not built"
    for tool in TOOLS:
        if not shutil.which(tool):
            return tool + " is not installed"
    return None


@unittest.skipIf(missing(), missing())
class LongListsInARealWindow(unittest.TestCase):
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

    def xdotool(self, *args, timeout=20):
        return subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=timeout,
                              capture_output=True, text=True).stdout

    def test_a_long_list_and_a_combo_box_answer_the_mouse_and_the_keys(self):
        shot = os.path.join(SHOTS, "sg_view_lists.png")
        self.view = subprocess.Popen([BINARY, SCENE, "--print-events", "--exit-after", "180000",
                                      "--list-items", str(ITEMS), "--screenshot", shot],
                                     env=self.env, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True)
        # Filling the long list takes a while on a loaded (or sanitized) build.
        window = self.xdotool("search", "--sync", "--name", "sg_view", timeout=240).split()[0]
        time.sleep(1.0)
        steps = [
            # The second row of the list box (rows 19 high under a one-unit frame).
            ("mousemove", "--window", window, "100", "70", "click", "1"),
            ("key", "End"),
            ("key", "Home"),
            ("mousemove", "--window", window, "100", "150", "click", "5", "click", "5"),
            # The combo box opens; its list lies under it, the third row is chosen.
            ("mousemove", "--window", window, "300", "51", "click", "1"),
            ("mousemove", "--window", window, "300", "112", "click", "1"),
            ("key", "End"),
        ]
        for step in steps:
            self.xdotool(*step)
            time.sleep(0.4)
        self.xdotool("key", "F12")
        time.sleep(0.4)
        self.xdotool("key", "Escape")
        out, err = self.view.communicate(timeout=60)
        self.assertEqual(self.view.returncode, 0, err)
        self.assertIn("wrote " + shot, err)
        lines = out.splitlines()
        text = "\n".join(lines)

        def after(line, start=0):
            self.assertIn(line, lines[start:], text)
            return lines.index(line, start) + 1

        # The scene loads its objects without names, so they go by child index: the list box
        # is root.1, the combo box root.2. The scene's two items come first, then the items added.
        at = after("root.1 change 1")
        at = after("root.1 change %d" % (ITEMS + 1), at)
        at = after("root.1 change 0", at)
        self.assertIn("root.1 wheel -120", lines[at:], text)
        at = after("root.2 change 2", at)
        after("root.2 change %d" % ITEMS, at)


if __name__ == "__main__":
    unittest.main()
