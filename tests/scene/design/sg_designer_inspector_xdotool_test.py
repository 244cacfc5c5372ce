"""The designer tool's property inspector in a real window under Xvfb, driven by the real pointer
and keyboard through xdotool: a click on an object of the design window lists its properties in
the inspector window beside it, the arrow keys move through the rows, a value typed into the
editor and confirmed with Enter changes the object, and the saved scene holds the new value; the
"Edit..." buttons open the path designer, the bitmap editor and the font dialog."""
import os
import shutil
import subprocess
import unittest

from designer_windows import DATA, DESIGNER, DesignerWindowsCase, xh
PATH_SCENE = os.path.join(DATA, "designer_path_scene.txt")
IMAGE_SCENE = os.path.join(DATA, "designer_image_scene.txt")
TEXT_SCENE = os.path.join(DATA, "designer_text_scene.txt")


@unittest.skipIf(xh.missing(DESIGNER), xh.missing(DESIGNER))
class InspectorUnderXvfb(DesignerWindowsCase):
    def test_a_property_typed_in_the_inspector_changes_the_object(self):
        saved = os.path.join(self.work, "saved.txt")
        shot = os.path.join(self.work, "designer.png")
        design, inspector = self.start("--save", saved, "--screenshot", shot)
        # Rectangle1 lies at (40,40) 60 x 40 in the design window.
        self.click(design, 70, 60)
        self.wait_for(lambda line: line == "select Rectangle1")
        self.assertEqual(self.select_row(inspector, "Width"), "inspect Width = 60")
        self.xdotool("key", "ctrl+a")
        self.xdotool("type", "--delay", "50", "90")
        self.xdotool("key", "Return")
        self.wait_for(lambda line: line == "modified")
        # The row shows the new value when it is selected again.
        self.xdotool("key", "Up")
        self.xdotool("key", "Down")
        self.wait_for(lambda line: line == "inspect Width = 90")
        self.xdotool("key", "F12")
        self.tool.wait_idle()
        self.xdotool("key", "ctrl+s")
        self.wait_for(lambda line: line == "saved " + saved)
        self.xdotool("key", "Escape")
        self.assertEqual(self.tool.finish(), 0, self.tool.said())
        with open(saved) as f:
            text = f.read()
        block = text[text.index("object Rectangle1"):]
        block = block[:block.index("end")]
        self.assertIn("Width = 90.0", block)
        self.assertIn("Height = 40.0", block)
        for picture in (shot, shot.replace(".png", "-properties.png")):
            self.assertTrue(os.path.getsize(picture) > 0, picture)
        keep = os.environ.get("DBI_INSPECTOR_SCREENSHOT")
        if keep:
            shutil.copy(shot.replace(".png", "-properties.png"), keep)
            shutil.copy(shot, keep.replace(".png", "-design.png"))

    def test_the_path_designer_opens_from_the_inspector_and_sets_the_path(self):
        saved = os.path.join(self.work, "saved.txt")
        design, inspector = self.start("--save", saved, scene=PATH_SCENE)
        self.click(design, 100, 90)
        self.wait_for(lambda line: line == "select Path1")
        window = self.open_editor(inspector, "Data", "Path Designer")
        self.click(window, 200, 44)
        self.xdotool("type", "--delay", "30", "M 0 0 L 100 0 L 50 80 Z")
        self.tool.wait_idle()
        # OK, second from the right in the bottom row of the 666 x 455 window.
        self.click(window, 538, 431)
        self.wait_for(lambda line: line == "modified")
        text = self.save_and_quit(inspector, saved)
        block = text[text.index("object Path1"):]
        self.assertIn("Data.Path = {", block[:block.index("end")])

    def test_the_bitmap_editor_opens_from_the_inspector_and_crops_the_picture(self):
        saved = os.path.join(self.work, "saved.txt")
        design, inspector = self.start("--save", saved, scene=IMAGE_SCENE)
        self.click(design, 100, 80)
        self.wait_for(lambda line: line == "select Image1")
        window = self.open_editor(inspector, "Bitmap", "Bitmap Editor")
        # "Crop" in the second row of the 584 x 469 window frames 80 % of the 40 x 20 picture,
        # then OK, left of Cancel in the top row.
        self.click(window, 104, 56)
        self.click(window, 456, 22)
        self.wait_for(lambda line: line == "modified")
        text = self.save_and_quit(inspector, saved)
        data = text[text.index("Bitmap.PNG = {") + len("Bitmap.PNG = {"):]
        data = "".join(data[:data.index("}")].split())
        # The PNG header's width and height, big-endian after the IHDR tag.
        header = bytes.fromhex(data[:66])
        width = int.from_bytes(header[16:20], "big")
        height = int.from_bytes(header[20:24], "big")
        self.assertEqual((width, height), (32, 16))

    def test_the_font_dialog_opens_from_the_inspector_and_sets_the_font(self):
        saved = os.path.join(self.work, "saved.txt")
        shot = os.path.join(self.work, "text.png")
        design, inspector = self.start("--save", saved, "--screenshot", shot, scene=TEXT_SCENE)
        self.click(design, 60, 100)
        self.wait_for(lambda line: line == "select Text1")
        window = self.open_editor(inspector, "Font", "^Font$")
        # The first family, then Bold in the style list, then three sizes past 12 (18).
        for key in ("Home", "Tab", "Down", "Tab", "Down", "Down", "Down"):
            self.xdotool("key", key)
            self.tool.wait_idle()
        # OK, left of Cancel in the bottom right corner of the 440 x 340 window.
        self.click(window, 302, 317)
        self.wait_for(lambda line: line == "modified")
        self.xdotool("windowfocus", "--sync", design)
        self.xdotool("key", "F12")
        self.tool.wait_idle()
        text = self.save_and_quit(inspector, saved)
        block = text[text.index("object Text1"):]
        block = block[:block.index("end")]
        families = subprocess.run(["fc-list", "--format", "%{family[0]}\\n"], check=True,
                                  capture_output=True, text=True).stdout.split("\n")
        first = sorted({name for name in families if name}, key=lambda n: (n.lower(), n))[0]
        self.assertIn("Font.Family = '%s'" % first, block)
        self.assertIn("Font.Size = 18.0", block)
        self.assertIn("Font.Style = sgFontBold", block)
        keep = os.environ.get("DBI_FONT_SCREENSHOT")
        if keep:
            shutil.copy(shot, keep)


if __name__ == "__main__":
    unittest.main()
