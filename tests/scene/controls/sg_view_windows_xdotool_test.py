"""The in-scene window with its knob and numeric boxes, and the activity indicators, in a real
window under Xvfb driven by the real pointer and keyboard through xdotool: the view tool opens
the scene with the default sheet it carries and prints the changes of the controls. Dragging
the knob round its centre reports snapped angles; Up, Up and Enter commit a number box's value,
and dragging over it steps the value once per move; each click of the spin box's plus button
commits. The screenshot is kept for looking at."""
import os
import shutil
import subprocess
import tempfile
import time
import unittest

BINARY = os.path.join(os.environ.get("DBI_BINARY_DIR", ""), "tools", "sg_view")
SCENE = os.path.join(os.environ.get("DBI_SOURCE_DIR", ""), "tools/scenes/controls_windows.txt")
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
class WindowsAndNumbersInARealWindow(unittest.TestCase):
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
            time.sleep(0.3)
        self.xdotool("key", "F12")
        time.sleep(0.3)
        self.xdotool("key", "Escape")
        out, err = self.view.communicate(timeout=30)
        self.assertEqual(self.view.returncode, 0, err)
        self.assertIn("wrote " + shot, err)
        return out.splitlines()

    # The window is root.0; its knob, number box and spin box are root.0.0, root.0.1, root.0.2.
    def test_knob_number_box_and_spin_box_answer_the_pointer_and_the_keys(self):
        lines = self.run_view(os.path.join(SHOTS, "sg_view_controls_windows.png"), [
            # The knob's centre is (70, 96): right of it, then up and to the right, then above.
            ("mousemove", "--window", "WINDOW", "90", "96", "mousedown", "1"),
            ("mousemove", "--window", "WINDOW", "80", "90"),
            ("mousemove", "--window", "WINDOW", "70", "60"),
            ("mouseup", "1"),
            ("mousemove", "--window", "WINDOW", "186", "77", "click", "1"),
            ("key", "Up"),
            ("key", "Up"),
            ("key", "Return"),
            ("mousedown", "1"),
            ("mousemove", "--window", "WINDOW", "196", "77"),
            ("mousemove", "--window", "WINDOW", "206", "77"),
            ("mousemove", "--window", "WINDOW", "216", "77"),
            ("mouseup", "1"),
            ("mousemove", "--window", "WINDOW", "237", "117", "click", "1"),
            ("click", "1"),
        ])
        text = "\n".join(lines)
        knob = [float(line.split()[2]) for line in lines if line.startswith("root.0.0 change ")]
        self.assertIn(90.0, knob, text)
        self.assertTrue(all(v % 15 == 0 for v in knob), "the knob snaps to its frequency")
        self.assertEqual(knob[-1], 90.0, text)
        number = [float(line.split()[2]) for line in lines if line.startswith("root.0.1 change ")]
        self.assertEqual(number[0], 2.0, "Up twice, committed by Enter")
        self.assertEqual(len(number), 2, text)
        self.assertEqual(number[1], 5.0, "one step per move, committed by the release")
        spin = [float(line.split()[2]) for line in lines if line.startswith("root.0.2 change ")]
        self.assertEqual(spin, [1.0, 2.0], text)


if __name__ == "__main__":
    unittest.main()
