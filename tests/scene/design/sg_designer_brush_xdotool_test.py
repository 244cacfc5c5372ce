"""The brush dialog of the designer tool in a real window under Xvfb, driven by the real pointer
and keyboard through xdotool: the "Edit..." button of an object's Fill row in the inspector opens
the brush dialog on that brush, a channel typed on the solid page or the gradient page chosen
changes the brush, OK writes it back to the object, and the saved scene holds the new brush;
Cancel leaves the object as it was."""
import os
import unittest

from designer_windows import DESIGNER, DesignerWindowsCase, xh

# Places in the 330 x 360 dialog: the tabs, the red channel of the solid page, OK and Cancel.
TAB_GRADIENT = (150, 55)
SOLID_RED = (255, 115)
BUTTON_OK = (268, 328)
BUTTON_CANCEL = (190, 328)


@unittest.skipIf(xh.missing(DESIGNER), xh.missing(DESIGNER))
class BrushDialogUnderXvfb(DesignerWindowsCase):
    def open_dialog(self):
        design, inspector = self.start("--save", os.path.join(self.work, "saved.txt"))
        # Rectangle1 lies at (40,40) 60 x 40 in the design window.
        self.click(design, 70, 60)
        self.wait_for(lambda line: line == "select Rectangle1")
        return inspector, self.open_editor(inspector, "Fill", "Brush Designer")

    def screenshot(self, name):
        keep = os.environ.get("DBI_BRUSH_SCREENSHOT_DIR")
        if not keep:
            return
        try:
            from PIL import ImageGrab
        except ImportError:
            return
        ImageGrab.grab(xdisplay=self.env["DISPLAY"]).save(os.path.join(keep, name))

    def save_and_read(self, inspector):
        text = self.save_and_quit(inspector, os.path.join(self.work, "saved.txt"))
        block = text[text.index("object Rectangle1"):]
        return block[:block.index("\n  end")]

    def test_a_channel_typed_on_the_solid_page_sets_the_fill(self):
        inspector, window = self.open_dialog()
        self.screenshot("brush-dialog-solid.png")
        self.click(window, *SOLID_RED)
        self.xdotool("key", "ctrl+a")
        self.xdotool("type", "--delay", "50", "255")
        self.xdotool("key", "Return")
        self.tool.wait_idle()
        self.screenshot("brush-dialog-typed.png")
        self.click(window, *BUTTON_OK)
        self.wait_for(lambda line: line == "modified")
        block = self.save_and_read(inspector)
        self.assertIn("Fill.Color = '#FFFF6FB6'", block)

    def test_the_gradient_page_gives_the_fill_a_gradient(self):
        inspector, window = self.open_dialog()
        self.click(window, *TAB_GRADIENT)
        self.screenshot("brush-dialog-gradient.png")
        self.click(window, *BUTTON_OK)
        self.wait_for(lambda line: line == "modified")
        block = self.save_and_read(inspector)
        self.assertIn("Fill.Style = sgBrushGradient", block)
        self.assertIn("Fill.Gradient.Points = <", block)

    def test_cancel_leaves_the_fill_as_it_was(self):
        inspector, window = self.open_dialog()
        self.click(window, *TAB_GRADIENT)
        self.click(window, *BUTTON_CANCEL)
        self.tool.wait_windows(lambda count: count == 2, what="the dialog closing")
        self.tool.wait_idle()
        block = self.save_and_read(inspector)
        self.assertIn("Fill.Color = '#FF3B6FB6'", block)
        self.assertNotIn("sgBrushGradient", block)


if __name__ == "__main__":
    unittest.main()
