#!/usr/bin/python3
"""Draws the four message icons of the default style sheet and writes their sheet entries.

The message popup clones the styles "iconconfirmation", "iconinformation", "iconwarning" and
"iconerror" by name: each is an image of 50 x 50 that fits its picture. This script draws the
pictures (a blue disc with a question mark, a blue disc with an "i", an amber triangle with an
exclamation mark, a red disc with a cross), saves them as PNG files under
resources/styles/icons/ to look at, and writes resources/styles/07-icons.txt, the part of the
sheet's text that carries them (the PNG bytes as the bitmap's binary property). Everything is
drawn at four times the size and reduced once, for clean anti-aliased edges.

Usage: make_style_icons.py [styles folder]   (needs python3-pil)
"""
import io
import pathlib
import sys

from PIL import Image, ImageDraw

SIZE = 50
SCALE = 4
BLUE = (0x2E, 0x6B, 0xC6, 255)
AMBER = (0xF2, 0xA9, 0x1E, 255)
RED = (0xD6, 0x3B, 0x30, 255)
WHITE = (255, 255, 255, 255)
DARK = (0x3A, 0x2A, 0x05, 255)
HEX_BYTES_PER_LINE = 32
# Design positions of the four entries in the sheet (they follow the 106 styles before them).
FIRST_CELL = 106
STYLES = pathlib.Path(__file__).resolve().parent.parent / "resources" / "styles"


def disc(draw, colour):
    s = SIZE * SCALE
    draw.ellipse((2 * SCALE, 2 * SCALE, s - 2 * SCALE, s - 2 * SCALE), fill=colour)


def question(draw):
    s = SCALE
    draw.arc((17 * s, 11 * s, 33 * s, 27 * s), start=180, end=60, fill=WHITE, width=4 * s)
    draw.line((29 * s, 24 * s, 25 * s, 28 * s, 25 * s, 31 * s), fill=WHITE, width=4 * s, joint="curve")
    draw.ellipse((22.5 * s, 34 * s, 27.5 * s, 39 * s), fill=WHITE)


def information(draw):
    s = SCALE
    draw.ellipse((22 * s, 11 * s, 28 * s, 17 * s), fill=WHITE)
    draw.rounded_rectangle((22.5 * s, 21 * s, 27.5 * s, 39 * s), radius=2 * s, fill=WHITE)


def warning(draw):
    s = SCALE
    draw.polygon(((25 * s, 3 * s), (48 * s, 45 * s), (2 * s, 45 * s)), fill=AMBER)
    draw.rounded_rectangle((22.5 * s, 16 * s, 27.5 * s, 33 * s), radius=2 * s, fill=DARK)
    draw.ellipse((22.5 * s, 36 * s, 27.5 * s, 41 * s), fill=DARK)


def error(draw):
    s = SCALE
    draw.line((17 * s, 17 * s, 33 * s, 33 * s), fill=WHITE, width=5 * s)
    draw.line((33 * s, 17 * s, 17 * s, 33 * s), fill=WHITE, width=5 * s)


ICONS = [
    ("iconconfirmation", lambda d: (disc(d, BLUE), question(d))),
    ("iconinformation", lambda d: (disc(d, BLUE), information(d))),
    ("iconwarning", warning),
    ("iconerror", lambda d: (disc(d, RED), error(d))),
]


def picture(paint):
    big = Image.new("RGBA", (SIZE * SCALE, SIZE * SCALE), (0, 0, 0, 0))
    paint(ImageDraw.Draw(big))
    small = big.resize((SIZE, SIZE), Image.LANCZOS)
    out = io.BytesIO()
    small.save(out, format="PNG", optimize=True)
    return out.getvalue()


def entry(name, png, cell):
    x = 4 + (cell % 8) * 69
    y = 4 + (cell // 8) * 39
    lines = [
        "  object TsgImage",
        f"    ResourceName = '{name}'",
        f"    Position.Point = '({x},{y})'",
        "    HitTest = False",
        f"    Width = {SIZE}",
        f"    Height = {SIZE}",
        "    WrapMode = sgImageFit",
        "    Bitmap.PNG = {",
    ]
    hexed = png.hex().upper()
    step = HEX_BYTES_PER_LINE * 2
    body = [" " * 6 + hexed[i:i + step] for i in range(0, len(hexed), step)]
    body[-1] += "}"
    return lines + body + ["  end"]


def main():
    styles = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else STYLES
    (styles / "icons").mkdir(parents=True, exist_ok=True)
    text = []
    for i, (name, paint) in enumerate(ICONS):
        png = picture(paint)
        (styles / "icons" / f"{name}.png").write_bytes(png)
        text += entry(name, png, FIRST_CELL + i)
    (styles / "07-icons.txt").write_text("\n".join(text) + "\n")


if __name__ == "__main__":
    main()
