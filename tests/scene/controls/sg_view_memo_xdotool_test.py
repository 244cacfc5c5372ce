"""The memo in a real window under Xvfb, driven by the real pointer and keyboard through
xdotool: the view tool opens the memo scene with the first memo holding 20,000 lines, a click
puts the caret into it, Ctrl+End goes to the end of the text, typing and Enter add to it, and
Page Up scrolls back. The tool prints every change of the text; the screenshot is kept for
looking at."""
import os
import re
import shutil
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xvfb_harness as xh  # noqa: E402

SCENE = os.path.join(xh.SOURCE_DIR, "tools/scenes/memo.txt")
SHOTS = xh.BINARY_DIR or tempfile.gettempdir()
LINES = 20000


def missing():
    if not os.path.exists(xh.SG_VIEW) or not os.path.exists(SCENE):
        return "sg_view or its memo scene is missing"
    return xh.missing()


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
class MemoInARealWindow(xh.XvfbTestCase):
    def setUp(self):
        super().setUp()
        self.folder = tempfile.mkdtemp()
        self.addCleanup(shutil.rmtree, self.folder, True)

    def test_typing_at_the_end_of_a_large_memo(self):
        shot = os.path.join(SHOTS, "sg_view_memo_large.png")
        lines = self.run_view(large_scene(self.folder), shot, [
            ("mousemove", "--window", "WINDOW", "120", "60", "click", "1"),
            ("key", "ctrl+End"),
            ("keyup", "ctrl"),
            ("type", "xyz"),
            ("key", "Return"),
            ("type", "tail"),
            ("key", "Prior"),
            ("key", "Prior"),
            ("key", "Up"),
        ])
        out = "\n".join(lines)
        changes = [line for line in lines if line.startswith("root.1 change")]
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
