"""The memo in a real window under Xvfb, driven by the real pointer and keyboard through
xdotool: the view tool opens the memo scene with the first memo holding 20,000 lines, a click
puts the caret into it, Ctrl+End goes to the end of the text, typing and Enter add to it, and
Page Up scrolls back. The tool prints every change of the text; the screenshot is kept for
looking at."""
import os
import re
import shutil
import subprocess
import tempfile
import time
import unittest

BINARY = os.path.join(os.environ.get("DBI_BINARY_DIR", ""), "tools", "sg_view")
SCENE = os.path.join(os.environ.get("DBI_SOURCE_DIR", ""), "tools/scenes/memo.txt")
SHOTS = os.environ.get("DBI_BINARY_DIR") or tempfile.gettempdir()
TOOLS = ("Xvfb", "xdotool")
LINES = 20000


def missing():
    if not os.path.exists(BINARY) or not os.path.exists(SCENE):
        return "sg_view or its memo scene is missing"
    for tool in TOOLS:
        if not shutil.which(tool):
            return tool + " is not installed"
    return None


def large_scene(folder):
    """The memo scene with the first memo's text replaced by LINES numbered lines."""
    with open(SCENE, encoding="utf-8") as f:
        text = f.read()
    body = " +\n".join("      'Line %d of a large memo'#13#10" % i for i in range(1, LINES))
    body += " +\n      'Line %d of a large memo'" % LINES
    start = text.index("Text =", text.index("object Notes"))
    end = text.index("  end", start)
    text = text[:start] + "Text = \n" + body + "\n" + text[end:]
    path = os.path.join(folder, "memo_large.txt")
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)
    return path


@unittest.skipIf(missing(), missing())
class MemoInARealWindow(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()
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
        shutil.rmtree(self.folder, ignore_errors=True)

    def xdotool(self, *args):
        return subprocess.run(["xdotool", *args], env=self.env, check=True, timeout=20,
                              capture_output=True, text=True).stdout

    def test_typing_at_the_end_of_a_large_memo(self):
        shot = os.path.join(SHOTS, "sg_view_memo_large.png")
        self.view = subprocess.Popen([BINARY, large_scene(self.folder), "--print-events",
                                      "--exit-after", "60000", "--screenshot", shot],
                                     env=self.env, stdout=subprocess.PIPE,
                                     stderr=subprocess.PIPE, text=True)
        window = self.xdotool("search", "--sync", "--name", "sg_view").split()[0]
        time.sleep(1.5)
        steps = [
            ("mousemove", "--window", window, "120", "60", "click", "1"),
            ("key", "ctrl+End"),
            ("keyup", "ctrl"),
            ("type", "xyz"),
            ("key", "Return"),
            ("type", "tail"),
            ("key", "Prior"),
            ("key", "Prior"),
            ("key", "Up"),
        ]
        for step in steps:
            self.xdotool(*step)
            time.sleep(0.3)
        self.xdotool("key", "F12")
        time.sleep(0.5)
        self.xdotool("key", "Escape")
        out, err = self.view.communicate(timeout=60)
        self.assertEqual(self.view.returncode, 0, err)
        self.assertIn("wrote " + shot, err)
        changes = [line for line in out.splitlines() if line.startswith("root.1 change")]
        self.assertTrue(changes, out[-2000:])
        last = re.match(r"root.1 change lines (\d+) length (\d+) last '(.*)'$", changes[-1])
        self.assertTrue(last, changes[-1])
        self.assertEqual(int(last.group(1)), LINES + 1, changes[-1])
        self.assertEqual(last.group(3), "tail", changes[-1])
        # Seven characters typed and one line break: one change each.
        self.assertEqual(len(changes), 8, "\n".join(changes))
        self.assertIn("root.1 change lines %d length %d last 'Line %d of a large memox'"
                      % (LINES, len(self.expected_text()) + 1, LINES), changes)

    @staticmethod
    def expected_text():
        return "\r\n".join("Line %d of a large memo" % i for i in range(1, LINES + 1))


if __name__ == "__main__":
    unittest.main()
