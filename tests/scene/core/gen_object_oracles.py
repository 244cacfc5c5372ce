#!/usr/bin/python3
"""Writes the oracle tables of the object-model tests: absolute matrices of visual-object
chains (numpy) and SVG endpoint arcs (svg.path). Run it by hand when the cases change."""
import math
import os
import random

import numpy as np
from svg.path import Arc

HERE = os.path.dirname(os.path.abspath(__file__))


def local_matrix(px, py, sx, sy, angle, cx, cy, w, h):
    m = np.array([[sx, 0, 0], [0, sy, 0], [px, py, 1]], dtype=float)
    if angle != 0:
        c = (cx * w, cy * h)
        a = math.radians(angle)
        r = np.array([[math.cos(a), math.sin(a), 0], [-math.sin(a), math.cos(a), 0], [0, 0, 1]])
        t1 = np.array([[1, 0, 0], [0, 1, 0], [-c[0], -c[1], 1]])
        t2 = np.array([[1, 0, 0], [0, 1, 0], [c[0], c[1], 1]])
        m = t1 @ r @ t2 @ m
    return m


def normalize(angle):
    # the toolkit keeps angles in [-180, 360)
    while angle >= 360:
        angle -= 360
    while angle < -180:
        angle += 360
    return angle


def matrices(rng):
    lines = []
    for _ in range(24):
        levels = []
        absolute = np.identity(3)
        for _ in range(3):
            v = [rng.choice([0, rng.uniform(-200, 200)]), rng.uniform(-200, 200),
                 rng.choice([1, -1, rng.uniform(0.25, 3)]), rng.choice([1, rng.uniform(0.25, 3)]),
                 rng.choice([0, 90, rng.uniform(-720, 720)]), rng.uniform(0, 1), rng.uniform(0, 1),
                 rng.uniform(1, 300), rng.uniform(1, 300)]
            v = [float('%.3f' % x) for x in v]
            levels.append(v)
        for v in levels:
            args = list(v)
            args[4] = normalize(args[4])
            absolute = local_matrix(*args) @ absolute
        values = [x for v in levels for x in v] + list(absolute.flatten())
        lines.append(' '.join('%.6f' % x for x in values))
    return lines


def arcs(rng):
    lines = []
    for _ in range(40):
        p1 = complex(rng.uniform(-100, 100), rng.uniform(-100, 100))
        p2 = complex(rng.uniform(-100, 100), rng.uniform(-100, 100))
        r = complex(rng.uniform(1, 120), rng.uniform(1, 120))
        rot = rng.choice([0, 30, rng.uniform(-180, 180)])
        large, sweep = rng.choice([0, 1]), rng.choice([0, 1])
        arc = Arc(p1, r, rot, bool(large), bool(sweep), p2)
        values = [p1.real, p1.imag, r.real, r.imag, rot, large, sweep, p2.real, p2.imag]
        values = [float('%.3f' % x) for x in values]
        arc = Arc(complex(values[0], values[1]), complex(values[2], values[3]), values[4],
                  bool(values[5]), bool(values[6]), complex(values[7], values[8]))
        samples = [arc.point(t) for t in (0.25, 0.5, 0.75)]
        values += [x for s in samples for x in (s.real, s.imag)]
        lines.append(' '.join('%.6f' % x for x in values))
    return lines


def main():
    rng = random.Random(20261210)
    with open(os.path.join(HERE, 'data', 'visual_matrices.txt'), 'w') as f:
        f.write('\n'.join(matrices(rng)) + '\n')
    with open(os.path.join(HERE, 'data', 'svg_arcs.txt'), 'w') as f:
        f.write('\n'.join(arcs(rng)) + '\n')


if __name__ == '__main__':
    main()
