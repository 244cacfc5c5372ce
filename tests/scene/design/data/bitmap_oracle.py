"""Reference operations on picture files for the bitmap editor's tests, done by Pillow:
  crop SRC LEFT TOP WIDTH HEIGHT OUT   the part of SRC, as PNG
  resize SRC WIDTH HEIGHT OUT          SRC scaled bilinearly, as PNG
  compare A B TOLERANCE                exit 0 when the sizes are equal and no channel of any
                                       pixel differs by more than TOLERANCE, else 1"""
import sys

from PIL import Image, ImageChops


def main(args):
    op = args[0]
    if op == "crop":
        src, left, top, width, height, out = args[1:]
        left, top, width, height = int(left), int(top), int(width), int(height)
        Image.open(src).convert("RGBA").crop((left, top, left + width, top + height)).save(out)
        return 0
    if op == "resize":
        src, width, height, out = args[1:]
        image = Image.open(src).convert("RGBA")
        image.resize((int(width), int(height)), Image.BILINEAR).save(out)
        return 0
    if op == "compare":
        a, b, tolerance = args[1:]
        first = Image.open(a).convert("RGBA")
        second = Image.open(b).convert("RGBA")
        if first.size != second.size:
            print("sizes differ: %s %s" % (first.size, second.size))
            return 1
        worst = max(high for _, high in ImageChops.difference(first, second).getextrema())
        if worst > int(tolerance):
            print("largest difference %d" % worst)
            return 1
        return 0
    print("unknown operation " + op)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
