#!/usr/bin/env python3
"""Writes a scene file of a rig in rings round a cylindrical screen, for the
example scenes and for tests and benchmarks of large rigs.

  scripts/make-ring-scene.py COUNT [--rows R] [--span DEGREES] [--radius R] > scene.json

COUNT projectors per row, evenly spaced over SPAN degrees of screen angle
(360: the whole circle, each aimed 360/COUNT apart); ROWS rows stacked one
above the other. Each projector stands on the inward normal of its aim
point (no projection angle) with a lens wide enough that neighbours
overlap by about a fifth of a footprint; the screen extent asked for lies
inside the footprints. Every number is written with at most four decimals.
"""
import argparse
import json
import math


def main():
    p = argparse.ArgumentParser()
    p.add_argument("count", type=int)
    p.add_argument("--rows", type=int, default=1)
    p.add_argument("--span", type=float, default=360.0)
    p.add_argument("--radius", type=float, default=5.0)
    a = p.parse_args()
    if a.count < 1 or a.rows < 1 or not 0 < a.span <= 360:
        raise SystemExit("COUNT and ROWS must be at least 1, SPAN in (0, 360]")
    whole = a.span >= 360.0
    step = a.span / a.count
    start = -a.span / 2 + step / 2 if not whole else 0.0
    distance = round(0.6 * a.radius, 4)       # the projector stands 0.4 R from the axis
    # Screen angle seen from the projector: a footprint of 1.25 steps.
    width = math.radians(step * 1.25)
    half = math.atan2(a.radius * math.sin(width / 2), a.radius * math.cos(width / 2) - (a.radius - distance))
    fov_x = round(math.degrees(2 * half), 4)
    row_height = 1.2
    fov_y = round(math.degrees(2 * math.atan(0.5 * row_height * 1.25 / distance)), 4)
    projectors = []
    for row in range(a.rows):
        height = round(1.5 + (row - (a.rows - 1) / 2) * row_height, 4)
        for k in range(a.count):
            angle = start + k * step
            angle = round(((angle + 180) % 360) - 180, 4)
            projectors.append({
                "name": "r%dp%d" % (row + 1, k + 1) if a.rows > 1 else "p%d" % (k + 1),
                "aim": {"angle": angle, "height": height},
                "distance": distance,
                "field_of_view": [fov_x, fov_y],
                "resolution": [1920, 1200],
            })
    low = round(1.5 - a.rows * row_height / 2 + 0.1, 4)
    high = round(1.5 + a.rows * row_height / 2 - 0.1, 4)
    angles = [0.0, 0.0] if whole else [round(-a.span / 2 + step * 0.1, 4), round(a.span / 2 - step * 0.1, 4)]
    scene = {
        "screen": {"radius": a.radius, "angles": angles, "heights": [low, high]},
        "camera": {"position": [0.0, 1.5, 0.0], "aim": {"angle": 0.0, "height": 1.5},
                   "field_of_view": [100.0, 60.0]},
        "projectors": projectors,
    }
    print(json.dumps(scene, indent=1))


if __name__ == "__main__":
    main()
