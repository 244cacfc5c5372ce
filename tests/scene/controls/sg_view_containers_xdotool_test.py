"""The container controls in a real window under Xvfb, driven by xdotool: the view tool opens a
tab control whose pages hold a tree view with check boxes, a text box beside a grid layout, and a
scroll box with tall content, with a scaled layout below. Clicking a header switches the page,
the tree selects, expands and checks by the mouse, the text box takes typing, and the wheel
scrolls the scroll box. A screenshot of each page is kept for looking at."""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "support"))
import xvfb_harness as xh  # noqa: E402

SCENE = os.path.join(xh.SOURCE_DIR, "tools/scenes/containers.txt")
SHOTS = xh.BINARY_DIR or tempfile.gettempdir()


@unittest.skipIf(xh.missing(xh.SG_VIEW), xh.missing(xh.SG_VIEW))
class ContainersInARealWindow(xh.XvfbTestCase):
    def test_pages_tree_text_and_scrolling_answer_the_mouse_and_the_keys(self):
        shot = os.path.join(SHOTS, "sg_view_containers.png")
        view, window = self.open_view(SCENE, "--print-events", shot=shot)

        def at(x, y, *then):
            self.xdotool("mousemove", "--window", window, str(x), str(y), *then)
            view.wait_idle()

        def key(*names):
            self.xdotool("key", *names)
            view.wait_idle()

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
        view.wait_idle()
        # Scroll page: three wheel steps down over the tall content.
        at(166, 22, "click", "1")
        at(200, 140, "click", "5", "click", "5", "click", "5")
        lines = self.close_view(view, shot)
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
