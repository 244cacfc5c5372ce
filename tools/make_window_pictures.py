#!/usr/bin/python3
"""Draws the pictures the installer's two windows carry, as PNG files into one folder.

Every picture is drawn at four times its size and reduced once, for clean edges. The names are
the ones the window layouts refer to:
  close.png, minimise.png      32 x 28  title-bar glyphs
  question.png, warning.png    48 x 48  message pictures (shown scaled to fit)
  link.png                    658 x 30  the web link at the foot of the welcome page
  slide1.png .. slide6.png    614 x 315 the slide show of the installation page
  disk.png                     55 x 57  the free-space picture
  final.png                   608 x 100 the picture of the final page
  logo.png                    608 x 30  the maker's link on the final page
  print.png                    25 x 25  the print picture of the licence page
  product1.png .. product3.png 25 x 25  product pictures of the message window

Usage: make_window_pictures.py OUTPUT_FOLDER   (needs python3-pil and fonts-dejavu-core)
"""
import math
import pathlib
import sys

from PIL import Image, ImageDraw, ImageFont

SCALE = 4
ORANGE = (0xF6, 0x8D, 0x34, 255)
ORANGE_DARK = (0xC8, 0x6A, 0x1E, 255)
SLATE = (0x3C, 0x3F, 0x44, 255)
GREY = (0x8A, 0x8F, 0x96, 255)
LIGHT = (0xE9, 0xED, 0xF0, 255)
BLUE = (0x2E, 0x6C, 0xB5, 255)
WHITE = (255, 255, 255, 255)
FONTS = {
    True: "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    False: "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
}


def font(size, bold=False):
    path = FONTS[bold]
    if not pathlib.Path(path).exists():
        raise SystemExit("DejaVu Sans not found: install fonts-dejavu-core")
    return ImageFont.truetype(path, int(size * SCALE))


def canvas(w, h, fill=(0, 0, 0, 0)):
    image = Image.new("RGBA", (w * SCALE, h * SCALE), fill)
    return image, ImageDraw.Draw(image)


def done(image, w, h):
    return image.resize((w, h), Image.LANCZOS)


def s(*values):
    return [v * SCALE for v in values]


def centred_text(draw, box, text, size, fill, bold=False):
    f = font(size, bold)
    l, t, r, b = draw.textbbox((0, 0), text, font=f)
    x = box[0] + (box[2] - box[0] - (r - l)) / 2 - l
    y = box[1] + (box[3] - box[1] - (b - t)) / 2 - t
    draw.text((x, y), text, font=f, fill=fill)


def close_glyph():
    image, d = canvas(32, 28)
    d.line(s(11, 9, 21, 19), fill=SLATE, width=2 * SCALE)
    d.line(s(21, 9, 11, 19), fill=SLATE, width=2 * SCALE)
    return done(image, 32, 28)


def minimise_glyph():
    image, d = canvas(32, 28)
    d.line(s(11, 18, 21, 18), fill=SLATE, width=2 * SCALE)
    return done(image, 32, 28)


def question():
    image, d = canvas(48, 48)
    d.ellipse(s(2, 2, 46, 46), fill=BLUE)
    centred_text(d, s(2, 2, 46, 46), "?", 30, WHITE, bold=True)
    return done(image, 48, 48)


def warning():
    image, d = canvas(48, 48)
    d.polygon(s(24, 3, 46, 43, 2, 43), fill=ORANGE)
    centred_text(d, s(2, 12, 46, 44), "!", 26, WHITE, bold=True)
    return done(image, 48, 48)


def discs(d, left, top, width, height, colour=ORANGE, dark=ORANGE_DARK):
    disc = height / 4.2
    gap = (height - disc) / 3
    for i in range(3):
        y = top + i * gap
        bottom = min(y + gap + disc / 2, top + height - disc / 2)
        d.rectangle([left, y + disc / 2, left + width, bottom], fill=colour)
        d.ellipse([left, bottom - disc / 2, left + width, bottom + disc / 2], fill=dark)
        d.ellipse([left, y, left + width, y + disc], fill=dark)
        d.ellipse([left + width * 0.08, y + disc * 0.12, left + width * 0.92, y + disc * 0.88],
                  fill=colour)


def link():
    image, d = canvas(658, 30)
    centred_text(d, s(0, 0, 658, 30), "Visit the maker's web page for more catalogues", 11, BLUE)
    return done(image, 658, 30)


SLIDES = [
    ("Tiles", (0xE8, 0xD8, 0xC8, 255), "tiles"),
    ("Interior fittings", (0xD9, 0xE4, 0xEC, 255), "fittings"),
    ("Cabinets", (0xE6, 0xDF, 0xD3, 255), "cabinets"),
    ("Appliances", (0xDD, 0xE7, 0xDF, 255), "appliances"),
    ("Walls", (0xEA, 0xE2, 0xDA, 255), "walls"),
    ("Materials", (0xE2, 0xDE, 0xEA, 255), "materials"),
]


def slide(index):
    title, background, kind = SLIDES[index]
    w, h = 614, 315
    image, d = canvas(w, h, background)
    # A quiet pattern of the database kind: a tiled floor in perspective-free squares.
    for row in range(6):
        for col in range(10):
            x, y = 372 + col * 28, 40 + row * 40
            if x + 24 > w - 10:
                continue
            shade = 200 - ((row + col + index) % 3) * 25
            d.rounded_rectangle(s(x, y, x + 24, y + 34), radius=3 * SCALE,
                                fill=(shade, shade - 10, shade - 25, 255))
    discs(d, 40 * SCALE, 70 * SCALE, 90 * SCALE, 120 * SCALE)
    d.text(s(40, 215), title, font=font(28, True), fill=SLATE)
    d.text(s(40, 258), "Catalogue database for your design program", font=font(12), fill=SLATE)
    return done(image, w, h)


def disk():
    image, d = canvas(55, 57)
    d.rounded_rectangle(s(4, 12, 51, 48), radius=5 * SCALE, fill=GREY)
    d.rounded_rectangle(s(8, 16, 47, 36), radius=3 * SCALE, fill=LIGHT)
    d.ellipse(s(40, 40, 45, 45), fill=(0x7C, 0xD3, 0x6B, 255))
    return done(image, 55, 57)


def final():
    image, d = canvas(608, 100)
    d.ellipse(s(254, 10, 334, 90), fill=(0x4C, 0xAF, 0x50, 255))
    d.line(s(273, 52, 289, 68, 316, 34), fill=WHITE, width=8 * SCALE, joint="curve")
    return done(image, 608, 100)


def logo():
    image, d = canvas(608, 30)
    discs(d, 236 * SCALE, 4 * SCALE, 16 * SCALE, 22 * SCALE)
    d.text(s(260, 5), "Catalogue Databases", font=font(14, True), fill=SLATE)
    return done(image, 608, 30)


def printer():
    image, d = canvas(25, 25)
    d.rectangle(s(7, 2, 18, 9), fill=WHITE, outline=SLATE, width=SCALE)
    d.rounded_rectangle(s(2, 8, 23, 18), radius=2 * SCALE, fill=GREY)
    d.rectangle(s(7, 14, 18, 23), fill=WHITE, outline=SLATE, width=SCALE)
    d.line(s(9, 18, 16, 18), fill=SLATE, width=SCALE)
    return done(image, 25, 25)


def product(index):
    colours = [ORANGE, BLUE, (0x4C, 0xAF, 0x50, 255)]
    image, d = canvas(25, 25)
    d.rounded_rectangle(s(1, 1, 24, 24), radius=5 * SCALE, fill=colours[index])
    centred_text(d, s(1, 1, 24, 24), str(index + 1), 13, WHITE, bold=True)
    return done(image, 25, 25)


def pictures():
    yield "close.png", close_glyph()
    yield "minimise.png", minimise_glyph()
    yield "question.png", question()
    yield "warning.png", warning()
    yield "link.png", link()
    for i in range(6):
        yield f"slide{i + 1}.png", slide(i)
    yield "disk.png", disk()
    yield "final.png", final()
    yield "logo.png", logo()
    yield "print.png", printer()
    for i in range(3):
        yield f"product{i + 1}.png", product(i)


def main(argv):
    if len(argv) != 1:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    folder = pathlib.Path(argv[0])
    folder.mkdir(parents=True, exist_ok=True)
    for name, image in pictures():
        image.save(folder / name, format="PNG", optimize=True)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
