"""Draws every image resource of the launcher. Run through tools/art/generate.sh.

Everything is drawn procedurally at a supersampled scale and box-filtered down,
so edges are antialiased except where a colour key demands hard edges.
"""
import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

# Palette: warm dark browns with gold trims, tuned to the text colours the
# code draws with (0xDAC29D, 0xFFF5D3, 0xCBAE5B, 0xFFF3CD).
INK = (22, 15, 11)
UMBER = (46, 31, 22)
UMBER_LIGHT = (74, 51, 35)
BLOOD = (92, 30, 20)
BLOOD_DARK = (46, 14, 10)
GOLD_HI = (255, 232, 160)
GOLD = (214, 172, 92)
GOLD_MID = (203, 174, 91)
GOLD_LO = (128, 88, 40)
CREAM = (255, 245, 211)
BEIGE = (218, 194, 157)


# ---------------------------------------------------------------- helpers

def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def vgradient(w, h, stops):
    """Vertical gradient; stops is [(pos 0..1, rgb or rgba), ...]."""
    col = Image.new("RGBA", (1, h))
    px = col.load()
    for y in range(h):
        t = y / max(1, h - 1)
        for i in range(len(stops) - 1):
            p0, c0 = stops[i]
            p1, c1 = stops[i + 1]
            if t <= p1 or i == len(stops) - 2:
                u = 0 if p1 == p0 else min(1, max(0, (t - p0) / (p1 - p0)))
                c = lerp(c0 if len(c0) == 4 else c0 + (255,),
                         c1 if len(c1) == 4 else c1 + (255,), u)
                px[0, y] = c
                break
    return col.resize((w, h), Image.NEAREST)


def solid(w, h, rgb, a=255):
    return Image.new("RGBA", (w, h), tuple(rgb[:3]) + (a,))


def mask(w, h):
    m = Image.new("L", (w, h), 0)
    return m, ImageDraw.Draw(m)


def paint(dst, src, m, opacity=1.0):
    """Composites src over dst through mask m (both full size)."""
    if opacity < 1.0:
        m = m.point(lambda v: int(v * opacity))
    a = ImageChops.multiply(src.getchannel("A"), m)
    layer = src.copy()
    layer.putalpha(a)
    dst.alpha_composite(layer)


def down(img, w, h):
    return img.resize((w, h), Image.BOX)


def font(px):
    return ImageFont.truetype(FONT_PATH, px, index=0)


def text_mask(w, h, s, px, cx, cy, stroke=0):
    """Mask of text s centred on (cx, cy) by its ink box."""
    m, d = mask(w, h)
    f = font(px)
    l, t, r, b = d.textbbox((0, 0), s, font=f, stroke_width=stroke)
    x = cx - (r - l) / 2 - l
    y = cy - (b - t) / 2 - t
    d.text((x, y), s, font=f, fill=255, stroke_width=stroke)
    return m


def shadow(m, radius, offset=(0, 0), strength=1.0):
    s = m.filter(ImageFilter.GaussianBlur(radius)) if radius else m.copy()
    if offset != (0, 0):
        s = ImageChops.offset(s, *offset)
    if strength != 1.0:
        s = s.point(lambda v: min(255, int(v * strength)))
    return s


def rounded(w, h, box, r, inset=0):
    m, d = mask(w, h)
    x0, y0, x1, y1 = box
    d.rounded_rectangle((x0 + inset, y0 + inset, x1 - inset, y1 - inset),
                        max(0, r - inset), fill=255)
    return m


def ring_of(outer, inner):
    return ImageChops.subtract(outer, inner)


def noise_texture(w, h, seed, amount):
    """Deterministic grain so flat areas don't look plastic."""
    import random
    rnd = random.Random(seed)
    small = Image.new("L", (max(1, w // 3), max(1, h // 3)))
    small.putdata([128 + int(rnd.gauss(0, amount)) for _ in range(small.width * small.height)])
    return small.resize((w, h), Image.BICUBIC)


def grain(img, seed, amount=10):
    """Adds (noise - 128) to each colour channel."""
    n = noise_texture(img.width, img.height, seed, amount)
    mid = Image.new("L", n.size, 128)
    up, dn = ImageChops.subtract(n, mid), ImageChops.subtract(mid, n)
    r, g, b, a = img.split()
    chans = [ImageChops.subtract(ImageChops.add(c, up), dn) for c in (r, g, b)]
    return Image.merge("RGBA", chans + [a])


# ---------------------------------------------------------------- emblem

def emblem(size, tray=False):
    """The game's mark: a gold Q whose tail is an arrow, on a crimson shield.

    Small sizes get relatively heavier strokes so the mark survives at 16 px.
    """
    S = 16
    W = size * S
    img = Image.new("RGBA", (W, W), (0, 0, 0, 0))
    heavy = 1.0 + max(0, (48 - size)) / 40.0  # 1.0 at 48, 1.8 at 16

    def P(x, y):
        return (x * W, y * W)

    if tray:
        # Round badge fills the tray slot better than a shield.
        body, d = mask(W, W)
        d.ellipse((0.02 * W, 0.02 * W, 0.98 * W, 0.98 * W), fill=255)
        inner, d = mask(W, W)
        rim = 0.07 * heavy
        d.ellipse(((0.02 + rim) * W,) * 2 + ((0.98 - rim) * W,) * 2, fill=255)
    else:
        def shield(inset):
            m, d = mask(W, W)
            i = inset
            pts = [P(0.08 + i, 0.06 + i), P(0.5, 0.02 + i * 1.2), P(0.92 - i, 0.06 + i),
                   P(0.92 - i, 0.50), P(0.86 - i * 0.9, 0.70), P(0.5, 0.97 - i * 1.5),
                   P(0.14 + i * 0.9, 0.70), P(0.08 + i, 0.50)]
            d.polygon(pts, fill=255)
            return m
        body = shield(0)
        inner = shield(0.065 * heavy)

    paint(img, vgradient(W, W, [(0, GOLD_HI), (0.45, GOLD), (1, GOLD_LO)]), body)
    paint(img, vgradient(W, W, [(0, (132, 44, 30)), (0.6, BLOOD), (1, BLOOD_DARK)]), inner)

    # A Q whose tail is an arrow breaking out of the ring to the lower right.
    cx, cy = (0.45 * W, 0.43 * W) if not tray else (0.46 * W, 0.46 * W)
    ro = (0.25 if not tray else 0.28) * W
    t = 0.075 * heavy * W
    q, d = mask(W, W)
    d.ellipse((cx - ro, cy - ro, cx + ro, cy + ro), fill=255)
    d.ellipse((cx - ro + t, cy - ro + t, cx + ro - t, cy + ro - t), fill=0)
    ang = math.radians(45)
    ux, uy = math.cos(ang), math.sin(ang)
    nx, ny = -uy, ux
    sw = 0.04 * heavy * W
    x0, y0 = cx + ux * 0.08 * W, cy + uy * 0.08 * W
    x1, y1 = cx + ux * 0.30 * W, cy + uy * 0.30 * W
    d.polygon([(x0 + nx * sw, y0 + ny * sw), (x1 + nx * sw, y1 + ny * sw),
               (x1 - nx * sw, y1 - ny * sw), (x0 - nx * sw, y0 - ny * sw)], fill=255)
    hl, hw = 0.16 * W, 0.10 * heavy * W
    tip = (x1 + ux * hl * 0.7, y1 + uy * hl * 0.7)
    base = (x1 - ux * hl * 0.3, y1 - uy * hl * 0.3)
    d.polygon([tip, (base[0] + nx * hw, base[1] + ny * hw),
               (base[0] - nx * hw, base[1] - ny * hw)], fill=255)
    sh = shadow(q, 0.03 * W, (int(0.015 * W), int(0.02 * W)))
    sh = ImageChops.multiply(sh, inner)
    paint(img, solid(W, W, (10, 4, 2)), sh, 0.8)
    paint(img, vgradient(W, W, [(0, GOLD_HI), (0.5, (240, 200, 110)), (1, (176, 124, 52))]), q)
    return down(img, size, size)


def write_ico(path, images):
    """Writes 32 bpp BMP-style icon entries (widest compatibility with Wine/old shells)."""
    entries = []
    for im in images:
        w, h = im.size
        im = im.convert("RGBA")
        px = im.load()
        rows = []
        for y in range(h - 1, -1, -1):
            row = bytearray()
            for x in range(w):
                r, g, b, a = px[x, y]
                row += bytes((b, g, r, a))
            rows.append(bytes(row))
        xor = b"".join(rows)
        mask_stride = ((w + 31) // 32) * 4
        andm = bytearray()
        for y in range(h - 1, -1, -1):
            bits = bytearray(mask_stride)
            for x in range(w):
                if px[x, y][3] == 0:
                    bits[x // 8] |= 0x80 >> (x % 8)
            andm += bits
        hdr = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                          len(xor) + len(andm), 0, 0, 0, 0)
        entries.append((w, h, hdr + xor + bytes(andm)))
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for w, h, data in entries:
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for _, _, data in entries:
        out += data
    with open(path, "wb") as f:
        f.write(out)


# ---------------------------------------------------------------- registry

RESOURCES = []  # (id, type, filename)


def save_png(outdir, rid, name, img):
    img.save(os.path.join(outdir, name), optimize=True)
    RESOURCES.append((rid, "PNG", name))


def make_icons(outdir):
    write_ico(os.path.join(outdir, "app.ico"), [emblem(s) for s in (16, 32, 48)])
    RESOURCES.append((180, "ICON", "app.ico"))
    write_ico(os.path.join(outdir, "tray.ico"), [emblem(s, tray=True) for s in (16, 32, 48)])
    RESOURCES.append((273, "ICON", "tray.ico"))


def write_rc(path):
    lines = ["// Generated by tools/art/generate.sh; edit res/art/draw.py instead.\n"]
    for rid, typ, name in sorted(RESOURCES):
        lines.append('%d %s "images/%s"\n' % (rid, typ, name))
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.writelines(lines)


def main():
    outdir = sys.argv[1]
    rc = sys.argv[2]
    os.makedirs(outdir, exist_ok=True)
    make_icons(outdir)
    write_rc(rc)


if __name__ == "__main__":
    main()
