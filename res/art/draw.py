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
BLOOD = (92, 30, 20)
BLOOD_DARK = (46, 14, 10)
GOLD_HI = (255, 232, 160)
GOLD = (214, 172, 92)
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


def shift(m, dx, dy):
    """Translate without the wrap-around ImageChops.offset does."""
    out = Image.new(m.mode, m.size, 0)
    out.paste(m, (int(dx), int(dy)))
    return out


def shadow(m, radius, offset=(0, 0), strength=1.0):
    s = m.filter(ImageFilter.GaussianBlur(radius)) if radius else m.copy()
    if offset != (0, 0):
        s = shift(s, *offset)
    if strength != 1.0:
        s = s.point(lambda v: min(255, int(v * strength)))
    return s


def rounded(w, h, box, r, inset=0):
    m, d = mask(w, h)
    x0, y0, x1, y1 = box
    d.rounded_rectangle((x0 + inset, y0 + inset, x1 - inset, y1 - inset),
                        max(0, r - inset), fill=255)
    return m


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
    S = 16 if size <= 48 else 4
    W = size * S
    img = Image.new("RGBA", (W, W), (0, 0, 0, 0))
    heavy = 1.0 + max(0, (48 - size)) / 40.0  # rims: 1.0 at 48, 1.8 at 16
    qheavy = 1.0 + max(0, (48 - size)) / 90.0  # Q strokes: keep its hole open

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

    if size <= 16:
        # A bright rim would melt into the Q at this size; a dark bronze one
        # keeps the gold letter the brightest thing.
        paint(img, vgradient(W, W, [(0, (150, 104, 50)), (1, (86, 52, 24))]), body)
    else:
        paint(img, vgradient(W, W, [(0, GOLD_HI), (0.45, GOLD), (1, GOLD_LO)]), body)
    paint(img, vgradient(W, W, [(0, (132, 44, 30)), (0.6, BLOOD), (1, BLOOD_DARK)]), inner)

    # A Q whose tail is an arrow breaking out of the ring to the lower right.
    cx, cy = (0.45 * W, 0.43 * W) if not tray else (0.46 * W, 0.46 * W)
    ro = (0.25 if not tray else 0.28) * W * (1.06 if size <= 16 else 1.0)
    t = 0.075 * qheavy * W
    q, d = mask(W, W)
    d.ellipse((cx - ro, cy - ro, cx + ro, cy + ro), fill=255)
    d.ellipse((cx - ro + t, cy - ro + t, cx + ro - t, cy + ro - t), fill=0)
    ang = math.radians(45)
    ux, uy = math.cos(ang), math.sin(ang)
    nx, ny = -uy, ux
    sw = 0.04 * qheavy * W
    x0, y0 = cx + ux * 0.08 * W, cy + uy * 0.08 * W
    x1, y1 = cx + ux * 0.30 * W, cy + uy * 0.30 * W
    d.polygon([(x0 + nx * sw, y0 + ny * sw), (x1 + nx * sw, y1 + ny * sw),
               (x1 - nx * sw, y1 - ny * sw), (x0 - nx * sw, y0 - ny * sw)], fill=255)
    hl, hw = 0.16 * W, 0.10 * qheavy * W
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


# ---------------------------------------------------------------- text

def label_mask(w, h, s, px, cx, cy, ref="国Q"):
    """Mask of s at final resolution (FreeType hinting keeps small CJK crisp),
    centred horizontally by advance and vertically on a reference glyph box so
    labels of different buttons share one baseline."""
    m, d = mask(w, h)
    f = font(px)
    _, t, _, b = f.getbbox(ref)
    width = f.getlength(s)
    x = round(cx - width / 2)
    y = round(cy - (t + b) / 2)
    d.text((x, y), s, font=f, fill=255)
    return m


def put_text(img, s, px, cx, cy, colour, shadow_rgba=(0, 0, 0, 170), ref="国Q"):
    w, h = img.size
    m = label_mask(w, h, s, px, cx, cy, ref)
    if shadow_rgba:
        paint(img, solid(w, h, shadow_rgba[:3]), shift(m, 0, 1), shadow_rgba[3] / 255)
    paint(img, solid(w, h, colour), m)


# ---------------------------------------------------------------- glyphs
# Glyph painters draw into a supersampled mask; coordinates are final pixels
# and u is the supersampling factor.

def g_rect(d, u, x0, y0, x1, y1):
    d.rectangle((x0 * u, y0 * u, x1 * u - 1, y1 * u - 1), fill=255)


def g_line(d, u, pts, width):
    d.line([(x * u, y * u) for x, y in pts], fill=255, width=max(1, int(round(width * u))),
           joint="curve")


def glyph_minimize(d, u, cx, cy):
    g_rect(d, u, cx - 5, cy + 2, cx + 5, cy + 4)


def glyph_maximize(d, u, cx, cy):
    g_rect(d, u, cx - 5, cy - 4, cx + 5, cy + 5)
    d.rectangle(((cx - 4) * u, (cy - 2) * u, (cx + 4) * u - 1, (cy + 4) * u - 1), fill=0)


def glyph_restore(d, u, cx, cy):
    # Back window, then front window punched through it.
    g_rect(d, u, cx - 2, cy - 5, cx + 6, cy + 2)
    d.rectangle(((cx - 1) * u, (cy - 3) * u, (cx + 5) * u - 1, (cy + 1) * u - 1), fill=0)
    d.rectangle(((cx - 6) * u, (cy - 2) * u, (cx + 2) * u - 1, (cy + 6) * u - 1), fill=0)
    g_rect(d, u, cx - 6, cy - 2, cx + 2, cy + 6)
    d.rectangle(((cx - 5) * u, cy * u, (cx + 1) * u - 1, (cy + 5) * u - 1), fill=0)


def glyph_close(d, u, cx, cy, r=4.5, width=1.9):
    g_line(d, u, [(cx - r, cy - r), (cx + r, cy + r)], width)
    g_line(d, u, [(cx - r, cy + r), (cx + r, cy - r)], width)


def glyph_fullscreen(d, u, cx, cy):
    # Four corner brackets.
    for sx in (-1, 1):
        for sy in (-1, 1):
            x, y = cx + sx * 5.5, cy + sy * 5.5
            g_line(d, u, [(x, y - sy * 3.5), (x, y), (x - sx * 3.5, y)], 1.5)


def glyph_key(d, u, cx, cy):
    d.ellipse(((cx - 6) * u, (cy - 3.5) * u, (cx - 0) * u, (cy + 2.5) * u), fill=255)
    d.ellipse(((cx - 4.4) * u, (cy - 1.9) * u, (cx - 1.6) * u, (cy + 0.9) * u), fill=0)
    g_rect(d, u, cx, cy - 1.5, cx + 6.5, cy + 0.5)
    g_rect(d, u, cx + 3, cy + 0.5, cx + 4.5, cy + 3)
    g_rect(d, u, cx + 5, cy + 0.5, cx + 6.5, cy + 2.5)


def glyph_broom(d, u, cx, cy):
    # Brush head sweeping down-left from a slanted handle.
    g_line(d, u, [(cx + 5.5, cy - 6), (cx + 0.5, cy - 0.5)], 1.5)
    d.polygon([((cx - 1.5) * u, (cy - 2.5) * u), ((cx + 2.5) * u, (cy + 1.5) * u),
               ((cx - 1) * u, (cy + 6) * u), ((cx - 6.5) * u, (cy + 6) * u),
               ((cx - 6.5) * u, (cy + 5) * u)], fill=255)
    for k in (0, 1):
        g_line(d, u, [(cx - 3.8 + k * 2.2, cy + 6), (cx - 1.2 + k * 2.2, cy + 2.6)], 0.7)
        d.line([((cx - 3.8 + k * 2.2) * u, (cy + 6) * u),
                ((cx - 1.2 + k * 2.2) * u, (cy + 2.6) * u)], fill=0, width=int(0.7 * u))


def glyph_refresh(d, u, cx, cy):
    # Clockwise arc open at the upper right, arrow head on its end.
    r = 4.8
    d.arc(((cx - r) * u, (cy - r) * u, (cx + r) * u, (cy + r) * u), 330, 275,
          fill=255, width=int(1.6 * u))
    a = math.radians(275)
    ex, ey = cx + r * math.cos(a), cy + r * math.sin(a)
    tx, ty = -math.sin(a), math.cos(a)
    nx, ny = -ty, tx
    d.polygon([((ex + tx * 3.2) * u, (ey + ty * 3.2) * u),
               ((ex - tx * 0.6 + nx * 2.8) * u, (ey - ty * 0.6 + ny * 2.8) * u),
               ((ex - tx * 0.6 - nx * 2.8) * u, (ey - ty * 0.6 - ny * 2.8) * u)], fill=255)


def glyph_servers(d, u, cx, cy):
    for k in (-1, 0, 1):
        y = cy + k * 4
        g_rect(d, u, cx - 6, y - 1.5, cx + 6, y + 1.5)
        d.rectangle(((cx - 5) * u, (y - 0.5) * u, (cx - 3) * u - 1, (y + 0.5) * u - 1), fill=0)


# ---------------------------------------------------------------- buttons

LOOKS = {
    # border, fill top, fill bottom, text colour, inner top highlight alpha
    "normal": ((150, 112, 58), (72, 50, 35), (36, 25, 18), BEIGE, 60),
    "hover": ((214, 176, 100), (96, 67, 45), (48, 33, 23), CREAM, 90),
    "pressed": ((120, 86, 42), (22, 15, 11), (52, 36, 26), BEIGE, 0),
}
DANGER = {
    "normal": LOOKS["normal"],
    "hover": ((226, 150, 110), (158, 48, 32), (84, 20, 14), CREAM, 90),
    "pressed": ((150, 70, 50), (60, 14, 10), (118, 34, 24), BEIGE, 0),
}


def framed_button(w, h, look, radius=4, glyph=None, label=None, px=12, primary=False,
                  looks=LOOKS, hanging=False):
    """A bevelled plate with a gold-ish rim; pressed looks pushed in (inverted
    gradient, dark inner top edge, content shifted down a pixel)."""
    u = 4
    W, H = w * u, h * u
    border, top, bottom, ink, hi = looks[look]
    if primary:
        # The primary action is a gold plate with dark lettering.
        border = {"normal": (110, 74, 30), "hover": (140, 96, 40), "pressed": (90, 60, 24)}[look]
        top, bottom = {"normal": ((236, 200, 120), (168, 120, 54)),
                       "hover": ((252, 222, 146), (192, 142, 66)),
                       "pressed": ((150, 106, 46), (214, 176, 100))}[look]
        ink = (44, 26, 14)
    big = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    # A hanging tab has square top corners and no top rim: it grows out of
    # the edge it hangs from.
    box = (0, -2 * radius * u if hanging else 0, W - 1, H - 1)
    outer = rounded(W, H, box, radius * u)
    inner = rounded(W, H, box, radius * u, inset=u)
    paint(big, solid(W, H, (12, 8, 6)), outer, 0.9)
    paint(big, vgradient(W, H, [(0, lerp(border, GOLD_HI, 0.25)), (1, border)]),
          rounded(W, H, box, radius * u, inset=u * 0.35))
    paint(big, vgradient(W, H, [(0, top), (1, bottom)]), inner)
    if hi:
        if not hanging:
            line = ImageChops.subtract(inner, shift(inner, 0, u))
            paint(big, solid(W, H, (255, 236, 190)), line, hi / 255)
    else:
        sh = ImageChops.subtract(inner, shift(inner, 0, 2 * u))
        paint(big, solid(W, H, (0, 0, 0)), sh, 0.6)
    dy = 1 if look == "pressed" else 0
    if glyph:
        gm, gd = mask(W, H)
        gx = w / 2 if not label else glyph[1]
        glyph[0](gd, u, gx, h / 2 + dy)
        if not primary:
            paint(big, solid(W, H, (0, 0, 0)), shift(gm, 0, u), 0.6)
        paint(big, solid(W, H, ink), gm)
    img = down(big, w, h)
    if label:
        lx = (w if not glyph else w + glyph[2]) / 2
        put_text(img, label, px, lx, h / 2 + dy, ink,
                 None if primary else (0, 0, 0, 190))
    return img


STATES = ("normal", "hover", "pressed")


def make_strip_buttons(outdir):
    window = [
        ("close", (207, 208, 227), glyph_close, DANGER),
        ("maximize", (220, 213, 228), glyph_maximize, LOOKS),
        ("restore", (221, 217, 229), glyph_restore, LOOKS),
        ("minimize", (209, 210, 230), glyph_minimize, LOOKS),
    ]
    for name, ids, g, looks in window:
        for rid, look in zip(ids, STATES):
            img = framed_button(28, 26, look, glyph=(g,), looks=looks)
            save_png(outdir, rid, "title_%s_%s.png" % (name, look), img)
    # Text buttons: an icon sits left of the label; the pair is centred.
    texts = [
        ("fullscreen", (224, 214, 234), 85, "全屏", glyph_fullscreen),
        ("bosskey", (223, 215, 233), 97, "老板键", glyph_key),
        ("clearcache", (252, 253, 261), 85, "清除缓存", glyph_broom),
        ("refresh", (226, 219, 236), 78, "刷新", glyph_refresh),
        ("servers", (211, 212, 231), 59, "选服", glyph_servers),
    ]
    f = font(12)
    for name, ids, w, label, g in texts:
        tw = f.getlength(label)
        icon, gap = 13, 5
        total = icon + gap + tw
        x0 = (w - total) / 2
        gx = x0 + icon / 2
        for rid, look in zip(ids, STATES):
            img = framed_button(w, 24, look, glyph=(g, gx, icon + gap), label=label)
            save_png(outdir, rid, "title_%s_%s.png" % (name, look), img)


# ---------------------------------------------------------------- title strip

STRIP_H = 30


def strip_base(w):
    """Vertical-only shading so any piece tiles seamlessly against 172."""
    img = vgradient(w, STRIP_H, [(0, (64, 44, 31)), (1, (28, 19, 14))])
    d = ImageDraw.Draw(img)
    d.line((0, 0, w, 0), fill=(10, 7, 5))
    d.line((0, 1, w, 1), fill=(104, 76, 50))
    d.line((0, 27, w, 27), fill=(14, 10, 7))
    d.line((0, 28, w, 28), fill=(170, 128, 64))
    d.line((0, 29, w, 29), fill=(10, 7, 5))
    return img


def gold_text(img, s, px, x, cy, ref="国Q"):
    """Left-aligned gold wordmark text with a dark drop shadow."""
    w, h = img.size
    f = font(px)
    m = label_mask(w, h, s, px, x + f.getlength(s) / 2, cy, ref)
    _, t, _, b = f.getbbox(ref)
    top = round(cy - (t + b) / 2) + t
    grad = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    grad.paste(vgradient(w, b - t + 1, [(0, GOLD_HI), (0.55, (232, 192, 108)), (1, (170, 120, 56))]),
               (0, top))
    paint(img, solid(w, h, (0, 0, 0)), shift(m, 1, 1), 0.8)
    paint(img, grad, m)


def diamond(d, cx, cy, r, fill):
    d.polygon([(cx, cy - r), (cx + r, cy), (cx, cy + r), (cx - r, cy)], fill=fill)


WORDMARK = "《Quarrow》加强版"


def make_strip(outdir):
    save_png(outdir, 172, "title_mid.png", strip_base(32))

    text_x, px = 31, 15
    tw = font(px).getlength(WORDMARK)
    w = int(math.ceil(text_x + tw + 17))
    left = strip_base(w)
    left.alpha_composite(emblem(22), (5, 3))
    gold_text(left, WORDMARK, px, text_x, 14)
    # Divider before the server name that the launcher draws at width + 5.
    u = 4
    big = Image.new("RGBA", (w * u, STRIP_H * u), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    sx = (w - 6) * u
    d.rectangle((sx - u // 2, 6 * u, sx + u // 2 - 1, 24 * u), fill=(150, 112, 58, 200))
    diamond(d, sx, 15 * u, 3 * u, (226, 186, 106, 255))
    left.alpha_composite(down(big, w, STRIP_H))
    save_png(outdir, 203, "title_left.png", left)

    # Right end: a recessed bay for the button row, entered by a slanted edge.
    w = 520
    big = strip_base(w).resize((w * u, STRIP_H * u), Image.NEAREST)
    bay, d = mask(w * u, STRIP_H * u)
    d.polygon([(18 * u, 2 * u), (w * u, 2 * u), (w * u, 27 * u), (8 * u, 27 * u)], fill=255)
    paint(big, vgradient(w * u, STRIP_H * u, [(0, (24, 17, 13)), (0.5, (36, 25, 18)), (1, (30, 21, 15))]), bay)
    edge, d = mask(w * u, STRIP_H * u)
    d.line([(18 * u, 2 * u), (8 * u, 27 * u)], fill=255, width=int(1.3 * u))
    paint(big, solid(w * u, STRIP_H * u, (190, 146, 76)), edge)
    edge, d = mask(w * u, STRIP_H * u)
    d.line([(18 * u, 2.5 * u), (w * u, 2.5 * u)], fill=255, width=u)
    paint(big, solid(w * u, STRIP_H * u, (8, 5, 4)), edge, 0.7)
    d = ImageDraw.Draw(big)
    diamond(d, 13 * u, 14.5 * u, 3.2 * u, (226, 186, 106, 255))
    save_png(outdir, 206, "title_right.png", down(big, w, STRIP_H))


# ---------------------------------------------------------------- message box

def panel(w, h, r, header_h, u=4, header=True):
    """Dark panel with a gold rim and a deeper header band, supersampled."""
    W, H = w * u, h * u
    big = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    box = (0, 0, W - 1, H - 1)
    paint(big, solid(W, H, (8, 5, 4)), rounded(W, H, box, r * u))
    paint(big, vgradient(W, H, [(0, (226, 190, 116)), (0.5, (160, 118, 58)), (1, (120, 84, 40))]),
          rounded(W, H, box, r * u, inset=u))
    body = rounded(W, H, box, r * u, inset=2 * u)
    paint(big, vgradient(W, H, [(0, (50, 35, 25)), (1, (26, 18, 13))]), body)
    if header:
        band, d = mask(W, H)
        d.rectangle((0, 0, W, header_h * u), fill=255)
        band = ImageChops.multiply(band, body)
        paint(big, vgradient(W, H, [(0, (96, 36, 24)), (header_h / h, (52, 22, 16)),
                                    (header_h / h + 0.001, (0, 0, 0, 0)), (1, (0, 0, 0, 0))]), band)
        # Gold divider that fades out towards the rim.
        line, d = mask(W, H)
        d.rectangle((3 * u, header_h * u, W - 3 * u, (header_h + 1) * u - 1), fill=255)
        fade = Image.linear_gradient("L").rotate(90, expand=True).resize((W, H))
        fade = fade.point(lambda v: int(255 * min(1, 2.4 * (1 - abs(v / 127.5 - 1)))))
        paint(big, solid(W, H, (214, 170, 92)), ImageChops.multiply(line, fade))
        sh, d = mask(W, H)
        d.rectangle((3 * u, (header_h + 1) * u, W - 3 * u, (header_h + 2) * u - 1), fill=255)
        paint(big, solid(W, H, (0, 0, 0)), ImageChops.multiply(sh, fade), 0.6)
    # Small gold corner brackets inside the rim; the top corners are left to
    # the emblem and the close button.
    orn, d = mask(W, H)
    k, L, t = 5 * u, 12 * u, u
    for sx, x in ((1, k), (-1, W - 1 - k)):
        for sy, y in ((-1, H - 1 - k),):
            d.rectangle(sorted((x, x + sx * L))[0:1] + [min(y, y + sy * t)] +
                        sorted((x, x + sx * L))[1:2] + [max(y, y + sy * t)], fill=255)
            d.rectangle([min(x, x + sx * t), min(y, y + sy * L), max(x, x + sx * t), max(y, y + sy * L)],
                        fill=255)
    paint(big, solid(W, H, (196, 154, 80)), orn, 0.75)
    return big


def round_close(w, h, cx, cy, r, look="normal"):
    """Round medallion close button (used where it overlaps a panel rim)."""
    u = 4
    W, H = w * u, h * u
    big = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    def disc(rr):
        m, d = mask(W, H)
        d.ellipse(((cx - rr) * u, (cy - rr) * u, (cx + rr) * u, (cy + rr) * u), fill=255)
        return m
    paint(big, solid(W, H, (0, 0, 0)), shadow(disc(r), 1.5 * u, (0, u)), 0.6)
    paint(big, vgradient(W, H, [(0, GOLD_HI), (1, GOLD_LO)]), disc(r))
    fill = {"normal": ((110, 40, 28), (48, 16, 11)), "hover": ((156, 58, 38), (80, 26, 18)),
            "pressed": ((44, 14, 10), (100, 36, 26))}[look]
    paint(big, vgradient(W, H, [(0, fill[0]), (1, fill[1])]), disc(r - 1.4))
    g, d = mask(W, H)
    dy = 0.5 if look == "pressed" else 0
    glyph_close(d, u, cx, cy + dy, r=r * 0.36, width=1.7)
    paint(big, solid(W, H, (0, 0, 0)), shift(g, 0, u), 0.5)
    paint(big, solid(W, H, CREAM if look == "hover" else BEIGE), g)
    return down(big, w, h)


def make_message_box(outdir):
    w, h, u = 256, 110, 4
    big = panel(w, h, 7, 32, u)
    img = down(big, w, h)
    img.alpha_composite(emblem(20), (12, 7))
    save_png(outdir, 304, "msgbox_bg.png", img)
    # Only the left 25 px are inside the window; the rest hangs off its edge.
    save_png(outdir, 316, "msgbox_close.png", round_close(28, 26, 12, 12.5, 9.5))
    for rid, look in ((314, "normal"), (313, "hover")):
        save_png(outdir, rid, "msgbox_ok_%s.png" % look,
                 framed_button(82, 34, look, radius=5, label="确定", px=14, primary=True))
    for rid, look in ((312, "normal"), (311, "hover")):
        save_png(outdir, rid, "msgbox_cancel_%s.png" % look,
                 framed_button(82, 34, look, radius=5, label="取消", px=14))


# ---------------------------------------------------------------- wait overlay

def make_wait(outdir):
    n, u = 64, 4
    # Draw a 3x3 block and keep the centre so the lattice wraps seamlessly.
    N = 3 * n * u
    big = solid(N, N, (21, 16, 12))
    m, d = mask(N, N)
    step = 32 * u
    for k in range(-2 * N // step, 2 * N // step + 2):
        c = k * step
        d.line([(c, 0), (c + N, N)], fill=255, width=u)
        d.line([(c, 0), (c - N, N)], fill=255, width=u)
    paint(big, solid(N, N, (37, 28, 20)), m)
    dots, d = mask(N, N)
    for i in range(0, N // step + 1):
        for j in range(0, N // step + 1):
            x, y = i * step + step // 2, j * step
            diamond(d, x, y, 2.5 * u, 255)
            diamond(d, i * step, j * step + step // 2, 2.5 * u, 255)
    paint(big, solid(N, N, (62, 46, 30)), dots)
    tile = down(big.crop((n * u, n * u, 2 * n * u, 2 * n * u)), n, n)
    save_png(outdir, 275, "wait_bg.png", tile)

    # Twelve beads with three comets; each frame moves them one bead, so the
    # four frames loop smoothly.
    for k, rid in enumerate((276, 277, 278, 279)):
        W = n * u
        big = Image.new("RGBA", (W, W), (0, 0, 0, 0))
        c = W / 2
        ring, d = mask(W, W)
        d.ellipse((c - 29 * u, c - 29 * u, c + 29 * u, c + 29 * u), fill=255)
        d.ellipse((c - 28 * u, c - 28 * u, c + 28 * u, c + 28 * u), fill=0)
        paint(big, solid(W, W, (170, 128, 64)), ring, 0.55)
        for i in range(12):
            phase = (k - i) % 4
            level = (1.0, 0.55, 0.32, 0.18)[phase]
            a = math.radians(i * 30 - 90)
            x, y = c + 21 * u * math.cos(a), c + 21 * u * math.sin(a)
            r = (2.2 + 1.6 * level) * u
            b, d = mask(W, W)
            d.ellipse((x - r, y - r, x + r, y + r), fill=255)
            if phase == 0:
                paint(big, solid(W, W, (255, 200, 110)), shadow(b, 3 * u), 0.9)
            paint(big, solid(W, W, lerp((120, 84, 42), (255, 236, 176), level)), b,
                  0.45 + 0.55 * level)
        img = down(big, n, n)
        img.alpha_composite(emblem(24), (20, 20))
        save_png(outdir, rid, "wait_frame%d.png" % (k + 1), img)


# ---------------------------------------------------------------- launch picture

LAUNCH_W, LAUNCH_H = 1114, 723
POPUP_W = 705  # the popup sits at (353, 194) on the launch picture


def ridge(rnd, w, base, rough, points=9, levels=7):
    """Mountain skyline by midpoint displacement; returns y per x."""
    ys = [base + rnd.uniform(-rough, rough) for _ in range(points)]
    amp = rough
    for _ in range(levels):
        amp *= 0.55
        out = []
        for i in range(len(ys) - 1):
            out += [ys[i], (ys[i] + ys[i + 1]) / 2 + rnd.uniform(-amp, amp)]
        ys = out + [ys[-1]]
    return [ys[min(len(ys) - 1, int(x * (len(ys) - 1) / (w - 1)))] for x in range(w)]


def silhouette(w, h, ys):
    m, d = mask(w, h)
    d.polygon([(0, h)] + [(x, ys[x]) for x in range(w)] + [(w - 1, h)], fill=255)
    return m


def castle(d, u, x0, base):
    """Keep with towers; everything in final-pixel units scaled by u."""
    def R(x, y, w, h):
        d.rectangle(((x0 + x) * u, (base - y - h) * u, (x0 + x + w) * u, (base - y) * u), fill=255)

    def roof(x, y, w, h):
        d.polygon([((x0 + x - 3) * u, (base - y) * u), ((x0 + x + w / 2) * u, (base - y - h) * u),
                   ((x0 + x + w + 3) * u, (base - y) * u)], fill=255)

    def crenels(x, y, w, n):
        step = w / (2 * n - 1)
        for i in range(0, 2 * n - 1, 2):
            R(x + i * step, y, step, 5)

    R(20, 0, 200, 60)            # curtain wall
    crenels(20, 60, 200, 11)
    R(55, 0, 40, 120)            # left tower
    roof(55, 120, 40, 48)
    R(150, 0, 44, 104)           # right tower
    roof(150, 104, 44, 44)
    R(92, 0, 62, 150)            # keep
    crenels(92, 150, 62, 5)
    R(112, 150, 22, 40)          # keep turret
    roof(112, 190, 22, 52)
    d.line([((x0 + 123) * u, (base - 242) * u), ((x0 + 123) * u, (base - 262) * u)],
           fill=255, width=max(1, u))
    d.polygon([((x0 + 123) * u, (base - 262) * u), ((x0 + 139) * u, (base - 257) * u),
               ((x0 + 123) * u, (base - 252) * u)], fill=255)
    R(0, 0, 26, 84)              # outer towers
    crenels(0, 84, 26, 3)
    R(214, 0, 26, 76)
    crenels(214, 76, 26, 3)


def castle_windows(d, u, x0, base):
    for x, y, w, h in ((68, 80, 6, 11), (80, 80, 6, 11), (119, 110, 8, 14), (168, 70, 6, 10),
                       (118, 165, 6, 10), (8, 50, 5, 8), (221, 44, 5, 8), (114, 40, 18, 24)):
        d.rectangle(((x0 + x) * u, (base - y - h) * u, (x0 + x + w) * u, (base - y) * u), fill=255)


def crossed_arrows(d, u, cx, cy, length, width):
    for sgn in (1, -1):
        a = math.radians(90 + sgn * 50)
        ux, uy = math.cos(a), -math.sin(a)
        nx, ny = -uy, ux
        tail = (cx - ux * length / 2, cy - uy * length / 2)
        head = (cx + ux * length / 2, cy + uy * length / 2)
        w = width / 2
        d.polygon([((tail[0] + nx * w) * u, (tail[1] + ny * w) * u),
                   ((head[0] + nx * w) * u, (head[1] + ny * w) * u),
                   ((head[0] - nx * w) * u, (head[1] - ny * w) * u),
                   ((tail[0] - nx * w) * u, (tail[1] - ny * w) * u)], fill=255)
        hl, hw = width * 5, width * 2.6
        tip = (head[0] + ux * hl, head[1] + uy * hl)
        d.polygon([(tip[0] * u, tip[1] * u),
                   ((head[0] + nx * hw) * u, (head[1] + ny * hw) * u),
                   ((head[0] - nx * hw) * u, (head[1] - ny * hw) * u)], fill=255)
        for k in range(3):
            fx, fy = tail[0] + ux * k * width * 2.2, tail[1] + uy * k * width * 2.2
            for s2 in (1, -1):
                d.polygon([(fx * u, fy * u),
                           ((fx + ux * width * 2) * u, (fy + uy * width * 2) * u),
                           ((fx - ux * width * 1.2 + s2 * nx * width * 2.4) * u,
                            (fy - uy * width * 1.2 + s2 * ny * width * 2.4) * u)], fill=255)


def launch_shape(W, H, u):
    """Outline of the launch window: rounded frame, studded corners and a
    crest that breaks out of the top edge at the left."""
    m, d = mask(W, H)
    fx0, fy0, fx1, fy1 = 18 * u, 30 * u, 1096 * u, 702 * u
    d.rounded_rectangle((fx0, fy0, fx1, fy1), 24 * u, fill=255)
    for x, y in ((fx0, fy0), (fx1, fy0), (fx0, fy1), (fx1, fy1)):
        cx, cy = x + (14 * u if x == fx0 else -14 * u), y + (14 * u if y == fy0 else -14 * u)
        diamond(d, cx, cy, 26 * u, 255)
    # Bottom centre pendant.
    d.polygon([(520 * u, fy1 - u), (557 * u, fy1 + 16 * u), (594 * u, fy1 - u)], fill=255)
    return m, (fx0, fy0, fx1, fy1)


def make_launch(outdir):
    import random
    rnd = random.Random(7)
    u = 2
    w, h = LAUNCH_W, LAUNCH_H
    W, H = w * u, h * u
    shape, (fx0, fy0, fx1, fy1) = launch_shape(W, H, u)
    crest_c = (186 * u, 142 * u)
    crest_size = 236

    art = vgradient(W, H, [(0, (20, 12, 12)), (0.35, (44, 20, 18)), (0.62, (104, 44, 24)),
                           (0.74, (150, 78, 34)), (0.80, (60, 30, 20)), (1, (18, 11, 9))])
    # Moon glow low over the left hills.
    mx, my, mr = 196 * u, 418 * u, 54 * u
    glow, d = mask(W, H)
    d.ellipse((mx - mr * 2.6, my - mr * 2.6, mx + mr * 2.6, my + mr * 2.6), fill=255)
    paint(art, solid(W, H, (226, 150, 80)), shadow(glow, 60 * u), 0.35)
    moon, d = mask(W, H)
    d.ellipse((mx - mr, my - mr, mx + mr, my + mr), fill=255)
    paint(art, solid(W, H, (255, 220, 160)), shadow(moon, 8 * u), 0.6)
    paint(art, vgradient(W, H, [(0, (255, 240, 200)), (1, (232, 180, 110))]), moon)
    # Stars, sparse and dim so the title stays the brightest thing up there.
    stars, d = mask(W, H)
    for _ in range(140):
        x, y = rnd.uniform(0, W), rnd.uniform(fy0, 330 * u)
        r = rnd.choice((0.6, 0.8, 1.0, 1.3)) * u
        d.ellipse((x - r, y - r, x + r, y + r), fill=rnd.randint(90, 230))
    paint(art, solid(W, H, (255, 236, 200)), stars)
    # Three ranges of hills, hazier with distance.
    for base, rough, col, seed in ((470, 70, (92, 44, 30), 1), (540, 50, (52, 26, 20), 2),
                                   (610, 34, (24, 14, 11), 3)):
        ys = ridge(random.Random(seed), W, base * u, rough * u)
        paint(art, solid(W, H, col), silhouette(W, H, ys))
    # Castle on the near hill, at left, in the column the popup leaves free.
    cm, d = mask(W, H)
    castle(d, u, 62, 604)
    d.ellipse((20 * u, 585 * u, 350 * u, 690 * u), fill=255)
    paint(art, solid(W, H, (14, 9, 8)), cm)
    win, d = mask(W, H)
    castle_windows(d, u, 62, 604)
    paint(art, solid(W, H, (255, 170, 70)), shadow(win, 4 * u), 0.8)
    paint(art, solid(W, H, (255, 200, 110)), win)
    # Drifting embers.
    emb, d = mask(W, H)
    for _ in range(70):
        x, y = rnd.uniform(fx0, fx1), rnd.uniform(380 * u, fy1)
        r = rnd.uniform(0.8, 2.0) * u
        d.ellipse((x - r, y - r, x + r, y + r), fill=rnd.randint(120, 255))
    paint(art, solid(W, H, (255, 160, 70)), shadow(emb, 2 * u), 0.9)
    paint(art, solid(W, H, (255, 210, 140)), emb)
    # Darken the top band a little behind the title, and the bottom behind
    # the version text.
    paint(art, vgradient(W, H, [(0, (0, 0, 0, 150)), (0.25, (0, 0, 0, 0)), (0.88, (0, 0, 0, 0)),
                                (1, (0, 0, 0, 170))]), Image.new("L", (W, H), 255))
    art = grain(art, 11, 3)

    img = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    paint(img, solid(W, H, (0, 0, 0)), shadow(shape, 9 * u, (0, 6 * u)), 0.7)
    # Rim: dark edge, gold band, dark line, then the picture.
    def inset(m, px):
        return m.filter(ImageFilter.MinFilter(2 * int(px * u) + 1)) if px else m
    paint(img, solid(W, H, (10, 6, 4)), shape)
    rim = inset(shape, 1.5)
    paint(img, vgradient(W, H, [(0, (255, 226, 150)), (0.5, (196, 150, 74)), (1, (130, 90, 40))]), rim)
    inner = inset(rim, 3)
    paint(img, solid(W, H, (16, 10, 7)), inner)
    picture = inset(inner, 1)
    paint(img, art, picture)
    # Second, thin gold line inside the rim.
    line = ImageChops.subtract(inset(picture, 7), inset(picture, 8))
    paint(img, solid(W, H, (214, 170, 92)), line, 0.55)

    # Crest: crossed arrows behind the shield, breaking the top edge.
    cx, cy = crest_c
    arrows, d = mask(W, H)
    crossed_arrows(d, u, cx / u, cy / u + 4, 330, 7)
    paint(img, solid(W, H, (0, 0, 0)), shadow(arrows, 5 * u, (0, 4 * u)), 0.8)
    paint(img, vgradient(W, H, [(0, GOLD_HI), (0.3, (214, 170, 92)), (0.5, (140, 96, 44))]), arrows)
    shield = emblem(crest_size).resize((crest_size * u, crest_size * u), Image.BICUBIC)
    sx, sy = int(cx - crest_size * u / 2), int(cy - crest_size * u / 2)
    sm = Image.new("L", (W, H), 0)
    sm.paste(shield.getchannel("A"), (sx, sy))
    paint(img, solid(W, H, (0, 0, 0)), shadow(sm, 8 * u, (0, 6 * u)), 0.8)
    img.alpha_composite(shield, (sx, sy))
    img = down(img, w, h)

    # Title over the band above the login popup.
    f = font(66)
    title_cx, title_cy = 712, 112
    m = label_mask(w, h, WORDMARK, 66, title_cx, title_cy)
    outline = label_mask(w, h, WORDMARK, 66, title_cx, title_cy).filter(ImageFilter.MaxFilter(7))
    paint(img, solid(w, h, (255, 170, 60)), shadow(outline, 12), 0.55)
    paint(img, solid(w, h, (0, 0, 0)), shadow(outline, 3, (0, 4)), 0.9)
    paint(img, solid(w, h, (30, 14, 8)), outline)
    _, t, _, b = f.getbbox("国Q")
    top = round(title_cy - (t + b) / 2) + t
    grad = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    grad.paste(vgradient(w, b - t + 2, [(0, (255, 246, 210)), (0.45, (244, 206, 120)),
                                        (0.55, (214, 160, 76)), (1, (250, 214, 130))]), (0, top - 1))
    paint(img, grad, m)
    # A gilded rule with a diamond between title and popup.
    rule = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    d = ImageDraw.Draw(rule)
    rule_y = 170
    for x in range(470, 955):
        k = 1 - abs((x - 712) / 243) ** 2
        d.point((x, rule_y), fill=(226, 182, 100, int(255 * k)))
        d.point((x, rule_y + 1), fill=(0, 0, 0, int(150 * k)))
    img.alpha_composite(rule)
    d = ImageDraw.Draw(img)
    diamond(d, 712, rule_y, 6, (255, 226, 150, 255))
    diamond(d, 712, rule_y, 3, (120, 40, 24, 255))
    save_png(outdir, 319, "launch.png", img)
    return img


# ---------------------------------------------------------------- login popup

POPUP_BMP_W, POPUP_BMP_H = 739, 471
HEADER_H = 84
KEY = (0, 255, 0)


def write_bmp24(path, img):
    """24 bpp bottom-up BI_RGB; written by hand so no encoder can pick another
    format behind our back."""
    img = img.convert("RGB")
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    raw = img.tobytes("raw", "BGR", stride, -1)
    size = 54 + len(raw)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", size, 0, 0, 54))
        f.write(struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(raw), 2835, 2835, 0, 0))
        f.write(raw)


def make_popup(outdir):
    w, h, u = POPUP_BMP_W, POPUP_BMP_H, 4
    vis_w = POPUP_W
    # The body is covered by the login page; only the header is seen.
    img = Image.new("RGBA", (w, h), (40, 30, 23, 255))
    W, H = vis_w * u, HEADER_H * u
    r = 14
    head = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    box = (0, 0, W - 1, H + r * u)
    paint(head, solid(W, H, (10, 6, 4)), rounded(W, H, box, r * u))
    paint(head, vgradient(W, H, [(0, (255, 226, 150)), (1, (150, 106, 48))]),
          rounded(W, H, box, r * u, inset=1.5 * u))
    inner = rounded(W, H, box, r * u, inset=4 * u)
    paint(head, vgradient(W, H, [(0, (104, 40, 26)), (0.7, (60, 24, 17)), (1, (40, 18, 13))]), inner)
    line = ImageChops.subtract(rounded(W, H, box, r * u, inset=8 * u),
                               rounded(W, H, box, r * u, inset=9 * u))
    paint(head, solid(W, H, (214, 170, 92)), line, 0.4)
    # Gold base line of the header.
    base, d = mask(W, H)
    d.rectangle((0, (HEADER_H - 3) * u, W, (HEADER_H - 1) * u - 1), fill=255)
    paint(head, vgradient(W, H, [(0, (255, 226, 150)), (1, (150, 106, 48))]), base)
    d = ImageDraw.Draw(head)
    d.rectangle((0, (HEADER_H - 1) * u, W, H), fill=(10, 6, 4, 255))
    header = down(head, vis_w, HEADER_H)
    header.alpha_composite(emblem(48), (22, 16))
    gold_text(header, "账号登录", 24, 82, 32)
    put_text(header, WORDMARK, 13, 82 + font(13).getlength(WORDMARK) / 2, 60, BEIGE)
    img.alpha_composite(header, (0, 0))
    # Past the visible width the header band simply continues.
    tail = header.crop((vis_w // 2, 0, vis_w // 2 + (w - vis_w), HEADER_H))
    img.alpha_composite(tail, (vis_w, 0))

    # Hard-edged key: the header's rounded corners show the picture beneath.
    # Decided on whole pixels from the same shape, so no blended pixel can
    # end up green-ish.
    shape = rounded(W, H, box, r * u).resize((vis_w, HEADER_H), Image.BOX)
    keyed = shape.point(lambda v: 255 if v < 128 else 0)
    full = Image.new("L", (w, h), 0)
    full.paste(keyed, (0, 0))
    img = img.convert("RGB")
    img.paste(KEY, (0, 0, w, h), full)
    write_bmp24(os.path.join(outdir, "login_popup_bg.bmp"), img)
    RESOURCES.append((318, "BITMAP", "login_popup_bg.bmp"))

    for rid, look in zip((320, 321, 322), STATES):
        save_png(outdir, rid, "login_minimize_%s.png" % look,
                 framed_button(30, 27, look, glyph=(glyph_minimize,)))
    for rid, look in zip((323, 324, 325), STATES):
        save_png(outdir, rid, "login_close_%s.png" % look,
                 framed_button(30, 28, look, radius=6, glyph=(glyph_close,), looks=DANGER,
                               hanging=True))


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
    make_strip(outdir)
    make_strip_buttons(outdir)
    make_message_box(outdir)
    make_wait(outdir)
    make_launch(outdir)
    make_popup(outdir)
    write_rc(rc)


if __name__ == "__main__":
    main()
