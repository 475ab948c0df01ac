#!/usr/bin/python3
"""Draws res/defaults/uninstall.ico, the icon of the uninstall shortcut: the
launcher's shield in its 16 px colours with a gold cross in place of the Q.

One 16x16 entry at 32 bpp, 1150 bytes. The icon is committed; run this only to
change it (Debian's python3 with python3-pil, as tools/art/generate.sh uses).
"""
import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
sys.path.insert(0, os.path.join(ROOT, "res", "art"))
from draw import (GOLD_HI, BLOOD, BLOOD_DARK, Image, ImageChops, down, mask, paint,  # noqa: E402
                  shadow, solid, vgradient, write_ico)

SIZE = 16
S = 16  # supersampling
W = SIZE * S


def shield(inset):
    m, d = mask(W, W)
    i = inset
    pts = [(0.08 + i, 0.06 + i), (0.5, 0.02 + i * 1.2), (0.92 - i, 0.06 + i), (0.92 - i, 0.50),
           (0.86 - i * 0.9, 0.70), (0.5, 0.97 - i * 1.5), (0.14 + i * 0.9, 0.70), (0.08 + i, 0.50)]
    d.polygon([(x * W, y * W) for x, y in pts], fill=255)
    return m


def cross(cx, cy, arm, half_width):
    m, d = mask(W, W)
    for angle in (45, 135):
        ux, uy = math.cos(math.radians(angle)), math.sin(math.radians(angle))
        nx, ny = -uy, ux
        a = (cx - ux * arm, cy - uy * arm)
        b = (cx + ux * arm, cy + uy * arm)
        d.polygon([(a[0] + nx * half_width, a[1] + ny * half_width), (b[0] + nx * half_width, b[1] + ny * half_width),
                   (b[0] - nx * half_width, b[1] - ny * half_width), (a[0] - nx * half_width, a[1] - ny * half_width)],
                  fill=255)
    return m


def draw():
    img = Image.new("RGBA", (W, W), (0, 0, 0, 0))
    body, inner = shield(0), shield(0.065 * 1.8)
    # Dark bronze rim, as the app icon has at 16 px: the gold mark stays brightest.
    paint(img, vgradient(W, W, [(0, (150, 104, 50)), (1, (86, 52, 24))]), body)
    paint(img, vgradient(W, W, [(0, (132, 44, 30)), (0.6, BLOOD), (1, BLOOD_DARK)]), inner)
    x = cross(0.5 * W, 0.45 * W, 0.25 * W, 0.058 * W)
    sh = ImageChops.multiply(shadow(x, 0.03 * W, (int(0.015 * W), int(0.02 * W))), inner)
    paint(img, solid(W, W, (10, 4, 2)), sh, 0.8)
    paint(img, vgradient(W, W, [(0, GOLD_HI), (0.5, (240, 200, 110)), (1, (176, 124, 52))]), x)
    return down(img, SIZE, SIZE)


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "res", "defaults", "uninstall.ico")
    write_ico(out, [draw()])
    print(out, os.path.getsize(out), "bytes")
