"""The glyph buttons, the expander, the image well and the popup box in a real window under Xvfb,
driven by the real pointer through xdotool: the view tool opens their scene, styled by the
default sheet it carries, and prints the clicks, changes and expansions. Screenshots are kept for
looking at."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

BINARY = os.path.join(os.environ.get("DBI_BINARY_DIR", ""), "tools", "sg_view")
SCENE = os.path.join(os.environ.get("DBI_SOURCE_DIR", ""), "tools/scenes/controls_more.txt")
SHOTS = os.environ.get("DBI_BINARY_DIR") or tempfile.gettempdir()
TOOLS = ("Xvfb", "xdotool")


def missing():
    if not os.path.exists(BINARY):
        return "sg_view is not built"
    for tool in TOOLS:
        if not shutil.which(tool):
            return tool + " is not installed"
    return None


@unittest.skipIf(missing(), missing())
class MoreControlsInARealWindow(unittest.TestCase):
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

    def run_view(self, shot, steps):
        """Opens the scene, plays the steps (xdotool argument lists, the window id written as
        WINDOW) and returns the printed lines once F12 saved the screenshot and Escape ended it."""
        self.view = subprocess.Popen([BINARY, SCENE, "--print-events", "--exit-after", "30000",
                                      "--screenshot", shot],
                                     env=self.env, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True)
        window = self.xdotool("search", "--sync", "--name", "sg_view").split()[0]
        time.sleep(0.8)
        for step in steps:
            self.xdotool(*[window if arg == "WINDOW" else arg for arg in step])
            time.sleep(0.4)
        self.xdotool("key", "F12")
        time.sleep(0.3)
        self.xdotool("key", "Escape")
        out, err = self.view.communicate(timeout=30)
        self.assertEqual(self.view.returncode, 0, err)
        self.assertIn("wrote " + shot, err)
        return out.splitlines()

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
            ("sleep", "0.5"),
            self.click(280, 211 + 1 + 2 * 22 + 11),
            ("sleep", "0.5"),
        ])
        text = "\n".join(lines)
        self.assertIn("root.7 click", lines, text)
        self.assertIn("root.7 change 2", lines, text)

    def test_the_header_button_collapses_and_expands_the_expander(self):
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
