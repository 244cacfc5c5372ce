#!/usr/bin/python3
"""Writes the CSS Color Module Level 3 keyword table, as Debian's python3-webcolors knows it, in
the form the toolkit's colour tests compare against: one "Name #AARRGGBB" line per keyword,
alphabetical, the name capitalised as the toolkit spells it, alpha FF."""
import sys

import webcolors


def main():
    out = open(sys.argv[1], "w") if len(sys.argv) > 1 else sys.stdout
    for name, value in sorted(webcolors.CSS3_NAMES_TO_HEX.items()):
        out.write("%s #FF%s\n" % (name.capitalize(), value[1:].upper()))


if __name__ == "__main__":
    main()
