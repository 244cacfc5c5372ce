#!/usr/bin/python3
"""Fills a window layout template (component text form) with the pictures and style trees it
carries, so that the layouts are written once as readable text.

In the template:
  @PNG:name.png@      becomes the picture file's bytes as a binary value ({hex})
  @STYLES:name@       becomes the bytes of the binary style tree given with --styles name=FILE

The pictures are looked up in the --pictures folders in the order given; a picture that is
missing everywhere is an error, as is an unknown style name.

Usage: make_window_layouts.py [--pictures DIR]... [--styles NAME=FILE]... TEMPLATE OUTPUT
"""
import pathlib
import re
import sys

BYTES_PER_LINE = 32


def hex_block(data, indent):
    pad = " " * indent
    lines = [data[i:i + BYTES_PER_LINE].hex().upper() for i in range(0, len(data), BYTES_PER_LINE)]
    return "{" + "".join("\n" + pad + line for line in lines) + "}"


def main(argv):
    pictures, styles, rest = [], {}, []
    args = iter(argv)
    for arg in args:
        if arg == "--pictures":
            pictures.append(pathlib.Path(next(args)))
        elif arg == "--styles":
            name, _, file = next(args).partition("=")
            styles[name] = pathlib.Path(file)
        else:
            rest.append(arg)
    if len(rest) != 2:
        sys.exit(__doc__)
    template, output = map(pathlib.Path, rest)

    def picture(name):
        for folder in pictures:
            path = folder / name
            if path.is_file():
                return path.read_bytes()
        sys.exit(f"{template}: picture {name} not found in {[str(p) for p in pictures]}")

    def style(name):
        if name not in styles:
            sys.exit(f"{template}: no style tree named {name}")
        return styles[name].read_bytes()

    out = []
    for line in template.read_text(encoding="utf-8").splitlines():
        match = re.search(r"@(PNG|STYLES):([^@]+)@", line)
        if match:
            kind, name = match.groups()
            data = picture(name) if kind == "PNG" else style(name)
            indent = len(line) - len(line.lstrip()) + 2
            line = line[:match.start()] + hex_block(data, indent) + line[match.end():]
        out.append(line)
    output.write_text("\n".join(out) + "\n", encoding="utf-8")


if __name__ == "__main__":
    main(sys.argv[1:])
