#!/usr/bin/python3
"""Draws the installer's title picture resources/Database_Installer.png.

The picture sits in the title bars of both windows (155 x 19 in the wizard, 160 x 19 in the
message window), so it is drawn at exactly 160 x 19 on a transparent background: a small stack
of database discs in the installer's orange, then the words "Database Installer". Everything is
drawn at four times the size and reduced once, which gives clean anti-aliased edges at this
small height without depending on the font renderer's hinting.

Usage: make_title_picture.py [output]   (needs python3-pil and fonts-dejavu-core)
"""
import pathlib
import sys

from PIL import Image, ImageDraw, ImageFont

WIDTH, HEIGHT = 160, 19
SCALE = 4
ORANGE = (0xF6, 0x8D, 0x34, 255)
ORANGE_DARK = (0xC8, 0x6A, 0x1E, 255)
TEXT = (0x3C, 0x3F, 0x44, 255)
TITLE = "Database Installer"
FONT_CANDIDATES = [
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/dejavu/DejaVuSans-Bold.ttf",
]
DEFAULT_OUTPUT = pathlib.Path(__file__).resolve().parent.parent / "resources" / "Database_Installer.png"


def load_font(size):
    for path in FONT_CANDIDATES:
        if pathlib.Path(path).exists():
            return ImageFont.truetype(path, size)
    raise SystemExit("DejaVu Sans Bold not found: install fonts-dejavu-core")


def draw_discs(draw, left, top, width, height):
    """Three stacked discs: the usual sign for a database."""
    disc_h = height / 4.2
    gap = (height - disc_h) / 3
    for i in range(3):
        y = top + i * gap
        body_top = y + disc_h / 2
        body_bottom = min(y + gap + disc_h / 2, top + height - disc_h / 2)
        draw.rectangle([left, body_top, left + width, body_bottom], fill=ORANGE)
        draw.ellipse([left, body_bottom - disc_h / 2, left + width, body_bottom + disc_h / 2],
                     fill=ORANGE_DARK if i == 2 else ORANGE)
        draw.ellipse([left, y, left + width, y + disc_h], fill=ORANGE_DARK)
        draw.ellipse([left + width * 0.08, y + disc_h * 0.12, left + width * 0.92, y + disc_h * 0.88],
                     fill=ORANGE)


def render():
    w, h = WIDTH * SCALE, HEIGHT * SCALE
    big = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    draw = ImageDraw.Draw(big)
    icon_left, icon_top = 2 * SCALE, 1 * SCALE
    icon_w, icon_h = 13 * SCALE, 17 * SCALE
    draw_discs(draw, icon_left, icon_top, icon_w, icon_h)

    font = load_font(12 * SCALE)
    text_left = icon_left + icon_w + 5 * SCALE
    box = draw.textbbox((0, 0), TITLE, font=font)
    text_top = (h - (box[3] - box[1])) // 2 - box[1]
    available = w - text_left - SCALE
    if box[2] - box[0] > available:  # keep the words inside the picture whatever the font
        font = load_font(int(12 * SCALE * available / (box[2] - box[0])))
        box = draw.textbbox((0, 0), TITLE, font=font)
        text_top = (h - (box[3] - box[1])) // 2 - box[1]
    draw.text((text_left, text_top), TITLE, font=font, fill=TEXT)
    return big.resize((WIDTH, HEIGHT), Image.LANCZOS)


def main(argv):
    output = pathlib.Path(argv[0]) if argv else DEFAULT_OUTPUT
    render().save(output, format="PNG", optimize=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
