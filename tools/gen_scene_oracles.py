#!/usr/bin/python3
"""Writes the oracle tables of the toolkit's primitive tests from independent implementations:
Python's colorsys for the HSL conversions and scipy's natural cubic spline for the path spline.

    gen_scene_oracles.py <folder>

hsl_to_rgb.txt: "h s l rrggbb" lines (h, s, l multiples of 1/1024, so exact as floats).
rgb_to_hsl.txt: "rrggbb h s l" lines.
spline.txt:     "points x0,y0;x1,y1;... | t x y [t x y ...]" lines, the spline through the points
                at parameters 0, 1, ... evaluated at each t (ends extrapolated). Long paths
                (hundreds of points) carry many parameters on one line."""
import colorsys
import math
import random
import sys

from scipy.interpolate import CubicSpline


def hsl_to_rgb(out):
    rnd = random.Random(1147)
    cases = [(0, 1, 512), (0, 0, 1024), (341, 512, 256), (683, 1024, 512), (1024, 1024, 512)]
    cases += [(rnd.randrange(1025), rnd.randrange(1025), rnd.randrange(1025)) for _ in range(300)]
    for h, s, l in cases:
        r, g, b = colorsys.hls_to_rgb(h / 1024, l / 1024, s / 1024)
        rgb = [round(v * 255) for v in (r, g, b)]
        out.write("%d %d %d %02X%02X%02X\n" % (h, s, l, *rgb))


def rgb_to_hsl(out):
    rnd = random.Random(33)
    colors = [0xFFFFFF, 0, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080, 0xC04040, 0x7F7F80]
    colors += [rnd.randrange(1 << 24) for _ in range(300)]
    for c in colors:
        r, g, b = (c >> 16) & 255, (c >> 8) & 255, c & 255
        h, l, s = colorsys.rgb_to_hls(r / 255, g / 255, b / 255)
        out.write("%06X %.9f %.9f %.9f\n" % (c, h, s, l))


def rounded_rectangle(points, width, height, radius):
    """The outline of a rounded rectangle flattened to about the given number of points, as a
    path animation follows a shape's outline."""
    straight = 2 * (width - 2 * radius) + 2 * (height - 2 * radius)
    perimeter = straight + 2 * math.pi * radius
    outline = []
    for i in range(points):
        d = perimeter * i / points
        corners = [(width - radius, radius, -90), (width - radius, height - radius, 0),
                   (radius, height - radius, 90), (radius, radius, 180)]
        sides = [width - 2 * radius, height - 2 * radius, width - 2 * radius, height - 2 * radius]
        starts = [(radius, 0, 1, 0), (width, radius, 0, 1), (width - radius, height, -1, 0),
                  (0, height - radius, 0, -1)]
        for side in range(4):
            x, y, dx, dy = starts[side]
            if d < sides[side]:
                outline.append((round(x + dx * d, 2), round(y + dy * d, 2)))
                break
            d -= sides[side]
            arc = math.pi * radius / 2
            if d < arc:
                cx, cy, a0 = corners[side]
                a = math.radians(a0) + d / radius
                outline.append((round(cx + radius * math.cos(a), 2),
                                round(cy + radius * math.sin(a), 2)))
                break
            d -= arc
    return outline


def spline(out):
    rnd = random.Random(5127)
    polygons = [[(0, 0), (10, 0), (20, 0)], [(0, 0), (100, 50)], [(0, 0), (50, 80), (100, 0), (150, 80)]]
    for n in (5, 8, 12):
        polygons.append([(rnd.randrange(-300, 300), rnd.randrange(-300, 300)) for _ in range(n)])
    for points in polygons:
        n = len(points)
        xs = CubicSpline(range(n), [p[0] for p in points], bc_type="natural")
        ys = CubicSpline(range(n), [p[1] for p in points], bc_type="natural")
        spec = ";".join("%g,%g" % p for p in points)
        for t in [-0.5, 0, 0.25, 0.5, 1, 1.5, n - 1.25, n - 1, n - 0.5]:
            out.write("%s | %g %.9f %.9f\n" % (spec, t, xs(t), ys(t)))
    # Long paths: every point itself, the middles of the last segments and the extended ends.
    long_paths = [[(rnd.randrange(0, 640), rnd.randrange(0, 480)) for _ in range(n)] for n in (100, 300)]
    long_paths.append(rounded_rectangle(550, 400, 240, 30))
    for points in long_paths:
        n = len(points)
        xs = CubicSpline(range(n), [p[0] for p in points], bc_type="natural")
        ys = CubicSpline(range(n), [p[1] for p in points], bc_type="natural")
        spec = ";".join("%g,%g" % p for p in points)
        ts = [-0.5] + list(range(n)) + [n - 2.5, n - 1.75, n - 1.5, n - 1.25, n - 0.5]
        out.write("%s |%s\n" % (spec, "".join(" %g %.9f %.9f" % (t, xs(t), ys(t)) for t in ts)))


def main():
    folder = sys.argv[1]
    with open(folder + "/hsl_to_rgb.txt", "w") as out:
        hsl_to_rgb(out)
    with open(folder + "/rgb_to_hsl.txt", "w") as out:
        rgb_to_hsl(out)
    with open(folder + "/spline.txt", "w") as out:
        spline(out)


if __name__ == "__main__":
    main()
