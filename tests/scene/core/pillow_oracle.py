"""Independent pictures for the canvas tests, made with Pillow.

    pillow_oracle.py fixtures <dir>   PNG files of several pixel formats with known pixels
    pillow_oracle.py shapes <dir>     coverage masks of shapes rasterised by ImageDraw

The shapes are described in SHAPES below; the C++ test draws the same geometry through the
canvas and compares every pixel that is not on a boundary of Pillow's mask.
"""
import os
import sys

from PIL import Image, ImageDraw

SIZE = (100, 80)

# name: (kind, geometry) in pixel-edge coordinates (the canvas's convention: pixel (0,0) covers
# [0,1) x [0,1)). Pillow's ellipse and rectangle take inclusive pixel boxes, hence the -1.
SHAPES = {
    "ellipse": ("ellipse", (10, 8, 90, 72)),
    "rect": ("rectangle", (15, 12, 61, 47)),
    "polygon": ("polygon", [(50, 5), (62, 35), (95, 38), (68, 55), (78, 76), (50, 62),
                            (22, 76), (32, 55), (5, 38), (38, 35)]),
}


def fixtures(folder):
    rgba = Image.new("RGBA", (4, 3))
    rgba.putdata([(255, 0, 0, 255), (0, 255, 0, 128), (0, 0, 255, 0), (255, 255, 255, 255),
                  (10, 20, 30, 40), (200, 100, 50, 255), (0, 0, 0, 255), (128, 128, 128, 64),
                  (1, 2, 3, 255), (4, 5, 6, 255), (7, 8, 9, 255), (250, 251, 252, 255)])
    rgba.save(os.path.join(folder, "rgba.png"))

    palette = Image.new("P", (3, 2))
    palette.putpalette([255, 0, 0, 0, 255, 0, 0, 0, 255] + [0] * (256 * 3 - 9))
    palette.putdata([0, 1, 2, 2, 1, 0])
    palette.save(os.path.join(folder, "palette.png"))

    grey = Image.new("L", (3, 1))
    grey.putdata([0, 128, 255])
    grey.save(os.path.join(folder, "grey.png"))

    grey16 = Image.new("I;16", (3, 1))
    grey16.putdata([0, 32896, 65535])
    grey16.save(os.path.join(folder, "grey16.png"))

    # Quadrants of distinct colours, to see which way a rotation turned the picture.
    quads = Image.new("RGBA", (40, 20))
    draw = ImageDraw.Draw(quads)
    draw.rectangle((0, 0, 19, 9), fill=(255, 0, 0, 255))
    draw.rectangle((20, 0, 39, 9), fill=(0, 255, 0, 255))
    draw.rectangle((0, 10, 19, 19), fill=(0, 0, 255, 255))
    draw.rectangle((20, 10, 39, 19), fill=(255, 255, 0, 255))
    quads.save(os.path.join(folder, "quads.png"))

    Image.new("RGB", (100, 50), (30, 60, 90)).save(os.path.join(folder, "wide.png"))


def shapes(folder):
    for name, (kind, geometry) in SHAPES.items():
        mask = Image.new("L", SIZE, 0)
        draw = ImageDraw.Draw(mask)
        if kind == "ellipse":
            x0, y0, x1, y1 = geometry
            draw.ellipse((x0, y0, x1 - 1, y1 - 1), fill=255)
        elif kind == "rectangle":
            x0, y0, x1, y1 = geometry
            draw.rectangle((x0, y0, x1 - 1, y1 - 1), fill=255)
        else:
            # Pillow also sets the pixels the outline passes through, so its mask reaches a little
            # past the exact edge; those pixels are boundary pixels for the comparison.
            draw.polygon(geometry, fill=255)
        mask.save(os.path.join(folder, name + ".png"))


def main():
    if len(sys.argv) != 3 or sys.argv[1] not in ("fixtures", "shapes"):
        sys.stderr.write(__doc__)
        return 2
    os.makedirs(sys.argv[2], exist_ok=True)
    (fixtures if sys.argv[1] == "fixtures" else shapes)(sys.argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main())
