#!/usr/bin/python3
"""Pillow as the independent reference for the image codecs.

  image_oracle.py make DIR      writes image files of many kinds into DIR, each with NAME.rgba
                                (what Pillow decodes: width, height as 32-bit little-endian,
                                then RGBA bytes) and a manifest of "name tolerance" lines.
  image_oracle.py decode FILE.. writes FILE.rgba for files the layer encoded.
"""
import io
import os
import struct
import sys
import zlib

from PIL import Image


def dump(img, path):
    rgba = img.convert("RGBA")
    with open(path, "wb") as f:
        f.write(struct.pack("<II", rgba.width, rgba.height))
        f.write(rgba.tobytes())


def dump_raw(width, height, rgba_bytes, path):
    with open(path, "wb") as f:
        f.write(struct.pack("<II", width, height))
        f.write(rgba_bytes)


def gradient_rgba(w, h):
    img = Image.new("RGBA", (w, h))
    img.putdata([((x * 37) % 256, (y * 53) % 256, (x * y) % 256, 255 if (x + y) % 3 else (x * 20) % 256)
                 for y in range(h) for x in range(w)])
    return img


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def rgb16_png(w, h):
    """A 16-bit RGB PNG, written by hand (Pillow cannot write one); returns bytes and RGBA."""
    raw = bytearray()
    expected = bytearray()
    for y in range(h):
        raw.append(0)
        for x in range(w):
            r, g, b = (x * 4099) % 65536, (y * 7919) % 65536, ((x + y) * 1237) % 65536
            raw += struct.pack(">HHH", r, g, b)
            # libpng's 16-to-8 scaling rounds: (v * 255 + 32895) >> 16
            expected += bytes([(v * 255 + 32895) >> 16 for v in (r, g, b)] + [255])
    data = b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 16, 2, 0, 0, 0))
    data += png_chunk(b"IDAT", zlib.compress(bytes(raw))) + png_chunk(b"IEND", b"")
    return data, bytes(expected)


def make(folder):
    os.makedirs(folder, exist_ok=True)
    manifest = []

    def save(name, img, tolerance=0, **options):
        path = os.path.join(folder, name)
        img.save(path, **options)
        dump(Image.open(path), path + ".rgba")
        manifest.append("%s %d" % (name, tolerance))

    base = gradient_rgba(23, 17)
    save("rgba.png", base)
    save("rgb.png", base.convert("RGB"))
    save("grey.png", base.convert("L"))
    save("grey_alpha.png", base.convert("LA"))
    save("bilevel.png", base.convert("1"))
    palette = base.convert("RGB").convert("P", palette=Image.ADAPTIVE, colors=16)
    save("palette.png", palette)
    transparent = palette.copy()
    transparent.info["transparency"] = 3
    save("palette_trns.png", transparent, transparency=3)

    grey16 = Image.new("I;16", (9, 5))
    values = [(x * 7001 + y * 13) % 65536 for y in range(5) for x in range(9)]
    grey16.putdata(values)
    path = os.path.join(folder, "grey16.png")
    grey16.save(path)
    dump_raw(9, 5, bytes(b for v in values for b in [(v * 255 + 32895) >> 16] * 3 + [255]),
             path + ".rgba")
    manifest.append("grey16.png 1")

    data, expected = rgb16_png(11, 7)
    path = os.path.join(folder, "rgb16.png")
    with open(path, "wb") as f:
        f.write(data)
    dump_raw(11, 7, expected, path + ".rgba")
    manifest.append("rgb16.png 1")

    save("photo.jpg", base.convert("RGB"), 2, quality=90)
    save("grey.jpg", base.convert("L"), 2, quality=90)
    save("cmyk.jpg", base.convert("CMYK"), 3, quality=95)
    save("rgb24.bmp", base.convert("RGB"))
    save("palette8.bmp", palette)
    save("bilevel.bmp", base.convert("1"))
    save("grey8.bmp", base.convert("L"))
    save("palette.gif", palette)
    save("transparent.gif", transparent, transparency=3)
    # An interlaced GIF made by Pillow's writer option.
    save("interlaced.gif", palette.resize((23, 40)), interlace=True)

    with open(os.path.join(folder, "manifest.txt"), "w") as f:
        f.write("\n".join(manifest) + "\n")


def main():
    if len(sys.argv) >= 3 and sys.argv[1] == "make":
        make(sys.argv[2])
    elif len(sys.argv) >= 3 and sys.argv[1] == "decode":
        for path in sys.argv[2:]:
            dump(Image.open(path), path + ".rgba")
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
