"""The basic controls in a real window under Xvfb, driven by the real pointer and keyboard through
xdotool: the view tool opens the scene of every basic control, styled by the default sheet it
carries, and prints the events and changes of the controls. A button clicks by the mouse, by
Space and by Enter when focused; a check box toggles by the mouse and the same keys; a radio button takes the check from its
sibling; dragging a track bar's thumb moves its value; the wheel over a scroll bar goes on to
its parent. Screenshots before and after are kept for looking at."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

BINARY = os.path.join(os.environ.get("DBI_BINARY_DIR", ""), "tools", "sg_view")
SCENE = os.path.join(os.environ.get("DBI_SOURCE_DIR", ""), "tools/scenes/controls.txt")
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
class BasicControlsInARealWindow(unittest.TestCase):
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

    # The scene's objects as the view tool names them: their child indices from the root.
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
            time.sleep(0.3)
        self.xdotool("key", "F12")
        time.sleep(0.3)
        self.xdotool("key", "Escape")
        out, err = self.view.communicate(timeout=30)
        self.assertEqual(self.view.returncode, 0, err)
        self.assertIn("wrote " + shot, err)
        return out.splitlines()

    def test_buttons_and_boxes_answer_the_mouse_and_the_keys(self):
        lines = self.run_view(os.path.join(SHOTS, "sg_view_controls_boxes.png"), [
            ("mousemove", "--window", "WINDOW", "66", "53", "click", "1"),
            ("key", "space"),
            ("key", "Return"),
            ("mousemove", "--window", "WINDOW", "30", "90", "click", "1"),
            ("key", "space"),
            ("key", "Return"),
            ("mousemove", "--window", "WINDOW", "40", "170", "click", "1"),
            ("key", "space"),
        ])
        text = "\n".join(lines)

        def after(line, start=0):
            self.assertIn(line, lines[start:], text)
            return lines.index(line, start) + 1

        at = after("root.1 focus")
        at = after("root.1 click", at)
        at = after("root.1 keydown 32 char 0", at)
        at = after("root.1 click", at)
        at = after("root.1 keydown 13 char 0", at)
        at = after("root.1 click", at)
        self.assertEqual(lines.count("root.1 click"), 3, text)
        at = after("root.6 change 1", at)
        at = after("root.6 change 0", at)
        at = after("root.6 change 1", at)
        after("root.7.1 change 1", at)
        after("root.7.0 change 0", at)
        # Space on a focused radio button that is checked already changes nothing.
        self.assertEqual(lines.count("root.7.1 change 1"), 1, text)
        self.assertNotIn("root.7.1 change 0", lines, text)
        self.assertEqual(lines.count("root.6 change 1"), 2, text)

    def test_dragging_a_thumb_and_wheeling_over_a_scroll_bar(self):
        lines = self.run_view(os.path.join(SHOTS, "sg_view_controls_bars.png"), [
            ("mousemove", "--window", "WINDOW", "284", "122", "mousedown", "1"),
            ("mousemove", "--window", "WINDOW", "320", "122"),
            ("mousemove", "--window", "WINDOW", "360", "123"),
            ("mousemove", "--window", "WINDOW", "400", "122"),
            ("mouseup", "1"),
            ("mousemove", "--window", "WINDOW", "110", "219", "click", "5"),
        ])
        text = "\n".join(lines)
        slider = [float(line.split()[2]) for line in lines if line.startswith("root.9 change ")]
        self.assertTrue(slider, text)
        self.assertGreater(slider[-1], 60, text)
        self.assertLess(slider[-1], 85, text)
        self.assertEqual(slider, sorted(slider), "the value follows the pointer to the right")
        self.assertIn("root.11 wheel -120", lines, text)
        wheel = lines.index("root.11 wheel -120")
        self.assertIn("root wheel -120", lines[wheel:], "the wheel goes on to the parent")
        self.assertFalse([l for l in lines[wheel:] if l.startswith("root.11 change")],
                         "a scroll bar alone does not scroll by the wheel")


    def test_arrow_buttons_step_and_repeat_while_held(self):
        # The horizontal bar spans x 16..216 at y 210..228 with its value at 40; its arrow buttons
        # sit at both ends. A click on the right arrow steps once; holding the left one repeats.
        lines = self.run_view(os.path.join(SHOTS, "sg_view_controls_arrows.png"), [
            ("mousemove", "--window", "WINDOW", "209", "219", "click", "1"),
            ("mousemove", "--window", "WINDOW", "22", "219", "mousedown", "1"),
            ("sleep", "1.5"),
            ("mouseup", "1"),
        ])
        text = "\n".join(lines)
        values = [float(line.split()[2]) for line in lines if line.startswith("root.11 change ")]
        self.assertTrue(values, text)
        self.assertEqual(values[0], 41, text)
        self.assertEqual(values[1], 40, text)
        # Held for 1.5 s: the first repeat after 600 ms, then one every 100 ms.
        self.assertGreaterEqual(len(values), 6, text)
        self.assertEqual(values[1:], sorted(values[1:], reverse=True), text)

if __name__ == "__main__":
    unittest.main()
