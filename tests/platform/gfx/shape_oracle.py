#!/usr/bin/python3
"""Pillow's ImageDraw as an independent rasteriser for the shape tests.

  shape_oracle.py OUT.png polygon x0 y0 x1 y1 ...   filled polygon, white on black
  shape_oracle.py OUT.png ellipse left top right bottom
  shape_oracle.py OUT.png line x0 y0 x1 y1 width

The image is 64 x 64; ImageDraw puts pixel centres on integer coordinates.
"""
import sys

from PIL import Image, ImageDraw


def main():
    out, kind, numbers = sys.argv[1], sys.argv[2], [float(v) for v in sys.argv[3:]]
    img = Image.new("L", (64, 64), 0)
    draw = ImageDraw.Draw(img)
    if kind == "polygon":
        draw.polygon(list(zip(numbers[0::2], numbers[1::2])), fill=255)
    elif kind == "ellipse":
        draw.ellipse(numbers, fill=255)
    elif kind == "line":
        draw.line(numbers[:4], fill=255, width=int(numbers[4]))
    else:
        sys.exit(__doc__)
    img.save(out)


if __name__ == "__main__":
    main()
