#!/usr/bin/python3
"""Generates every picture the Velmora client embeds.

Usage:  /usr/bin/python3 resources/art/make_art.py [outdir]

With no argument the files are written next to this script.  The output is
deterministic: running the script twice gives byte-identical files (no
timestamps, no unseeded randomness).  Everything is drawn procedurally with
PIL; the only outside input is a TrueType font for the game name (see
find_font()).

Colour scheme: deep blue title bands and panels, gold accents, white client
areas.  Bitmaps that the client draws with a colour key use pure magenta
(255, 0, 255) as the transparent colour; their anti-aliased edges are
pre-blended against the colour they will sit on ("matte") and then snapped to
either fully opaque or magenta, so no pink fringe survives.
"""

import io
import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

RES = Image.Resampling
SS = 4  # supersampling factor for small pictures

# ---------------------------------------------------------------- palette
MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
NAVY_DEEP = (8, 16, 40)
NAVY_DARK = (14, 27, 62)
NAVY = (24, 46, 98)
BLUE = (40, 76, 150)
BLUE_LIGHT = (76, 122, 202)
SKY = (150, 182, 232)
GOLD_DARK = (132, 92, 26)
GOLD = (212, 166, 60)
GOLD_LIGHT = (246, 216, 132)
RED = (186, 40, 36)
RED_LIGHT = (232, 86, 72)
RED_DARK = (112, 18, 18)

# Title band gradient (top -> bottom), shared by the window skin, the logo
# background and the matte of the caption buttons.
TITLE_STOPS = [(0.0, (70, 114, 196)), (0.45, (40, 76, 152)), (1.0, (22, 44, 100))]
TITLE_HEIGHT = 36  # 545 twips at 96 dpi


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(int(round(lerp(x, y, t))) for x, y in zip(c1, c2))


def stops_at(stops, t):
    t = min(max(t, 0.0), 1.0)
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, 0.0 if t1 == t0 else (t - t0) / (t1 - t0))
    return stops[-1][1]


def vgradient(w, h, stops, alpha=255):
    """An RGBA image whose rows follow the colour stops from top to bottom."""
    img = Image.new("RGBA", (w, h))
    d = ImageDraw.Draw(img)
    for y in range(h):
        c = stops_at(stops, (y + 0.5) / h)
        d.line([(0, y), (w - 1, y)], fill=c + (alpha,))
    return img


def title_color(y):
    """Colour of title-band row y (in pixels)."""
    return stops_at(TITLE_STOPS, (y + 0.5) / TITLE_HEIGHT)


def solid(size, color):
    return Image.new("RGBA", size, tuple(color) + (255,) if len(color) == 3 else color)


def paint(dst, src, mask):
    """Composite src onto dst (both RGBA) through an extra L mask."""
    a = ImageChops.multiply(src.getchannel("A"), mask)
    layer = src.copy()
    layer.putalpha(a)
    return Image.alpha_composite(dst, layer)


def fill(dst, color, mask):
    return paint(dst, solid(dst.size, color), mask)


def new_mask(size):
    return Image.new("L", size, 0)


def soft_glow(w, h, peak):
    """L mask: an elliptical glow filling w x h, peak at the centre, zero at
    (and beyond) the inscribed ellipse."""
    g = Image.radial_gradient("L").resize((w, h), RES.BILINEAR)
    # radial_gradient reaches ~180 at the middle of each edge
    return g.point(lambda v: max(0, 176 - v) * peak // 176)


def down(img, w, h):
    return img.resize((w, h), RES.BOX)


def keyed(img, matte, threshold=110):
    """RGBA -> RGB on a magenta key: blend edges over matte, snap coverage."""
    base = solid(img.size, matte)
    flat = Image.alpha_composite(base, img).convert("RGB")
    out = Image.new("RGB", img.size)
    src = flat.load()
    alpha = img.getchannel("A").load()
    dst = out.load()
    for y in range(img.height):
        for x in range(img.width):
            if alpha[x, y] < threshold:
                dst[x, y] = MAGENTA
            else:
                c = src[x, y]
                if c == MAGENTA:  # never let the face collide with the key
                    c = (254, 0, 254)
                dst[x, y] = c
    return out


# ---------------------------------------------------------------- geometry
def rounded_path(points, radii, steps=10):
    """Polygon through points; corner i is rounded over radii[i] pixels
    (distance along each edge) with a quadratic curve."""
    n = len(points)
    out = []
    for i in range(n):
        p = points[i]
        r = radii[i]
        if r <= 0:
            out.append(p)
            continue
        a = points[i - 1]
        b = points[(i + 1) % n]

        def toward(q, dist):
            dx, dy = q[0] - p[0], q[1] - p[1]
            ln = math.hypot(dx, dy)
            dist = min(dist, ln / 2)
            return (p[0] + dx / ln * dist, p[1] + dy / ln * dist)

        t1 = toward(a, r)
        t2 = toward(b, r)
        for s in range(steps + 1):
            t = s / steps
            x = (1 - t) ** 2 * t1[0] + 2 * (1 - t) * t * p[0] + t * t * t2[0]
            y = (1 - t) ** 2 * t1[1] + 2 * (1 - t) * t * p[1] + t * t * t2[1]
            out.append((x, y))
    return out


def scaled(points, s, dx=0.0, dy=0.0):
    return [((x + dx) * s, (y + dy) * s) for x, y in points]


def shield_points(x0, y0, x1, y1, steps=24):
    """Heater shield inside the box: flat top, straight sides, curved point."""
    w = x1 - x0
    h = y1 - y0
    side_bottom = y0 + h * 0.50
    pts = [(x0, y0), (x1, y0), (x1, side_bottom)]
    tip = (x0 + w / 2, y1)
    ctrl_r = (x1, y0 + h * 0.86)
    for s in range(1, steps + 1):
        t = s / steps
        pts.append(((1 - t) ** 2 * x1 + 2 * (1 - t) * t * ctrl_r[0] + t * t * tip[0],
                    (1 - t) ** 2 * side_bottom + 2 * (1 - t) * t * ctrl_r[1] + t * t * tip[1]))
    ctrl_l = (x0, y0 + h * 0.86)
    for s in range(1, steps):
        t = s / steps
        pts.append(((1 - t) ** 2 * tip[0] + 2 * (1 - t) * t * ctrl_l[0] + t * t * x0,
                    (1 - t) ** 2 * tip[1] + 2 * (1 - t) * t * ctrl_l[1] + t * t * side_bottom))
    pts.append((x0, side_bottom))
    return pts


# ---------------------------------------------------------------- fonts
FONT_CANDIDATES = [
    "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/wine/fonts/tahomabd.ttf",
    "/usr/share/wine/fonts/tahoma.ttf",
    "C:/Windows/Fonts/georgiab.ttf",
    "C:/Windows/Fonts/arialbd.ttf",
]


def find_font():
    env = os.environ.get("VELMORA_ART_FONT")
    for path in ([env] if env else []) + FONT_CANDIDATES:
        if path and os.path.isfile(path):
            return path
    for root in ("/usr/share/fonts", "/usr/local/share/fonts"):
        for dirpath, _dirs, files in sorted(os.walk(root)):
            for name in sorted(files):
                if name.lower().endswith(".ttf") and "bold" in name.lower():
                    return os.path.join(dirpath, name)
    return None


_FONT_PATH = find_font()


def text_mask(text, px_height, size):
    """L mask of `text` whose capitals are about px_height high, centred in a
    canvas of `size`. Falls back to an enlarged bitmap font."""
    w, h = size
    mask = new_mask(size)
    if _FONT_PATH:
        font = ImageFont.truetype(_FONT_PATH, int(px_height * 1.38))
        d = ImageDraw.Draw(mask)
        l, t, r, b = d.textbbox((0, 0), text, font=font)
        # centre on the cap-height box of "V" so descender-free names sit level
        _, vt, _, vb = d.textbbox((0, 0), "V", font=font)
        x = (w - (r - l)) / 2 - l
        y = (h - (vb - vt)) / 2 - vt
        d.text((x, y), text, font=font, fill=255)
        return mask
    small = Image.new("L", (len(text) * 8 + 4, 14), 0)
    ImageDraw.Draw(small).text((2, 1), text, fill=255, font=ImageFont.load_default())
    box = small.getbbox() or (0, 0, small.width, small.height)
    small = small.crop(box)
    scale = px_height / small.height
    big = small.resize((max(1, int(small.width * scale)), int(px_height)), RES.NEAREST)
    big = big.filter(ImageFilter.GaussianBlur(px_height / 40))
    mask.paste(big, ((w - big.width) // 2, (h - big.height) // 2))
    return mask


def gold_text(canvas, text, cap_px, box, stroke=0.0, shadow=0.0):
    """Draw gold lettering with a dark outline and drop shadow into box."""
    x0, y0, x1, y1 = [int(v) for v in box]
    m = text_mask(text, cap_px, (x1 - x0, y1 - y0))
    full = new_mask(canvas.size)
    full.paste(m, (x0, y0))
    if shadow:
        sh = ImageChops.offset(full, int(shadow * 0.6), int(shadow))
        sh = sh.filter(ImageFilter.GaussianBlur(shadow))
        sh = sh.point(lambda v: v * 200 // 255)
        canvas = fill(canvas, NAVY_DEEP, sh)
    if stroke:
        outline = full.filter(ImageFilter.MaxFilter(int(stroke) * 2 + 1))
        canvas = fill(canvas, (44, 28, 6), outline)
    grad = vgradient(canvas.width, y1 - y0,
                     [(0.0, (255, 240, 190)), (0.45, GOLD_LIGHT), (0.55, GOLD), (1.0, (176, 120, 34))])
    layer = Image.new("RGBA", canvas.size, (0, 0, 0, 0))
    layer.paste(grad, (0, y0))
    return paint(canvas, layer, full)


# ---------------------------------------------------------------- emblem
def crest(size, with_star=None):
    """The Velmora crest: a gold-rimmed blue heater shield carrying a V."""
    s = 8 if size <= 64 else 4
    W = size * s
    img = Image.new("RGBA", (W, W), (0, 0, 0, 0))
    if with_star is None:
        with_star = size >= 48
    rim = max(0.075, 1.25 / size)
    m = 0.03 if size > 20 else 0.0
    outer = shield_points(m * W, (m + 0.02) * W, (1 - m) * W, (1 - m) * W)
    # dark outline behind the rim
    mk = new_mask(img.size)
    ImageDraw.Draw(mk).polygon(outer, fill=255)
    img = fill(img, (40, 26, 8), mk)
    # gold rim
    e = max(0.018, 0.45 / size)
    rim_pts = shield_points((m + e) * W, (m + 0.02 + e) * W, (1 - m - e) * W, (1 - m - e * 1.6) * W)
    mk = new_mask(img.size)
    ImageDraw.Draw(mk).polygon(rim_pts, fill=255)
    img = paint(img, vgradient(W, W, [(0.0, GOLD_LIGHT), (0.5, GOLD), (1.0, GOLD_DARK)]), mk)
    # blue field
    f = e + rim
    field = shield_points((m + f) * W, (m + 0.02 + f) * W, (1 - m - f) * W, (1 - m - f * 1.5) * W)
    mk = new_mask(img.size)
    ImageDraw.Draw(mk).polygon(field, fill=255)
    img = paint(img, vgradient(W, W, [(0.0, BLUE_LIGHT), (0.55, BLUE), (1.0, NAVY_DARK)]), mk)
    if size >= 32:
        # soft sheen on the upper half of the field
        sheen = new_mask(img.size)
        ImageDraw.Draw(sheen).ellipse([0.18 * W, -0.25 * W, 0.82 * W, 0.42 * W], fill=60)
        sheen = sheen.filter(ImageFilter.GaussianBlur(0.04 * W))
        img = paint(img, solid(img.size, WHITE), ImageChops.multiply(sheen, mk))
    # the V
    top = 0.265 if with_star else 0.22
    bot = 0.80 if size >= 32 else 0.84
    if size < 24:
        vx = [(0.21, top), (0.43, top), (0.50, 0.50), (0.57, top), (0.79, top), (0.50, bot)]
    else:
        vx = [(0.25, top), (0.41, top), (0.50, 0.56), (0.59, top), (0.75, top), (0.50, bot)]
    vpts = [(x * W, y * W) for x, y in vx]
    if size >= 32:
        sh = new_mask(img.size)
        ImageDraw.Draw(sh).polygon([(x + 0.015 * W, y + 0.02 * W) for x, y in vpts], fill=150)
        img = fill(img, NAVY_DEEP, ImageChops.multiply(sh, mk))
    vm = new_mask(img.size)
    ImageDraw.Draw(vm).polygon(vpts, fill=255)
    img = paint(img, vgradient(W, W, [(0.0, (255, 246, 214)), (0.4, GOLD_LIGHT), (0.85, GOLD)]), vm)
    if with_star:
        cx, cy, r = 0.5 * W, 0.175 * W, 0.045 * W
        star = [(cx, cy - r), (cx + r * 0.55, cy), (cx, cy + r), (cx - r * 0.55, cy)]
        sm = new_mask(img.size)
        ImageDraw.Draw(sm).polygon(star, fill=255)
        img = fill(img, GOLD_LIGHT, sm)
    return img.resize((size, size), RES.LANCZOS if size >= 48 else RES.BOX)


# ---------------------------------------------------------------- splash
def make_splash():
    W, H = 356, 122
    S = SS
    img = Image.new("RGBA", (W * S, H * S), (0, 0, 0, 0))

    def sp(pts):
        return scaled(pts, S)

    # ribbon tails with a V notch, sitting behind the banner body
    tails = []
    for flip in (False, True):
        pts = [(4, 38), (50, 38), (50, 102), (4, 102), (18, 70)]
        if flip:
            pts = [(W - x, y) for x, y in pts]
        tails.append(sp(pts))
    tail_mask = new_mask(img.size)
    d = ImageDraw.Draw(tail_mask)
    for t in tails:
        d.polygon(t, fill=255)
    img = fill(img, GOLD_DARK, tail_mask)
    inner_tail = tail_mask.filter(ImageFilter.MinFilter(2 * S + 1))
    img = paint(img, vgradient(*img.size, [(0.0, NAVY), (1.0, NAVY_DEEP)]), inner_tail)

    body_box = [24 * S, 8 * S, (W - 24) * S, 108 * S]
    # soft shadow under the body
    sh = new_mask(img.size)
    ImageDraw.Draw(sh).rounded_rectangle([body_box[0] + 2 * S, body_box[1] + 5 * S,
                                          body_box[2] - 2 * S, body_box[3] + 5 * S],
                                         radius=30 * S, fill=150)
    sh = sh.filter(ImageFilter.GaussianBlur(3 * S))
    img = fill(img, NAVY_DEEP, sh)

    body = new_mask(img.size)
    ImageDraw.Draw(body).rounded_rectangle(body_box, radius=30 * S, fill=255)
    img = fill(img, (60, 40, 10), body)
    rim = new_mask(img.size)
    ImageDraw.Draw(rim).rounded_rectangle([b + o for b, o in zip(body_box, (S, S, -S, -S))],
                                          radius=29 * S, fill=255)
    img = paint(img, vgradient(*img.size, [(0.0, GOLD_LIGHT), (0.5, GOLD), (1.0, GOLD_DARK)]), rim)
    field = new_mask(img.size)
    ImageDraw.Draw(field).rounded_rectangle([b + o for b, o in zip(body_box, (4 * S, 4 * S, -4 * S, -4 * S))],
                                            radius=26 * S, fill=255)
    img = paint(img, vgradient(*img.size, [(0.0, (54, 96, 178)), (0.5, NAVY), (1.0, NAVY_DEEP)]), field)
    # radial glow behind the name
    glow = soft_glow(300 * S, 90 * S, 130)
    gm = new_mask(img.size)
    gm.paste(glow, ((W * S - glow.width) // 2, 12 * S))
    img = paint(img, solid(img.size, BLUE_LIGHT), ImageChops.multiply(gm, field))
    # thin inner gold line
    line = new_mask(img.size)
    ImageDraw.Draw(line).rounded_rectangle([b + o for b, o in zip(body_box, (8 * S, 8 * S, -8 * S, -8 * S))],
                                           radius=22 * S, outline=255, width=S)
    img = fill(img, (196, 150, 58, 170), line)
    # ornaments: small diamonds at the ends of a divider under the name
    orn = new_mask(img.size)
    d = ImageDraw.Draw(orn)
    d.line([(110 * S, 93 * S), (246 * S, 93 * S)], fill=255, width=S)
    for cx in (104, 178, 252):
        r = 4 if cx == 178 else 3
        d.polygon(sp([(cx, 93 - r), (cx + r, 93), (cx, 93 + r), (cx - r, 93)]), fill=255)
    for cx in (48, W - 48):
        d.polygon(sp([(cx, 52), (cx + 4, 58), (cx, 64), (cx - 4, 58)]), fill=255)
    img = fill(img, GOLD, orn)

    img = gold_text(img, "Velmora", 40 * S, (0, 12 * S, W * S, 96 * S), stroke=1.5 * S, shadow=2 * S)

    out = down(img, W, H)
    # crisp cut-off: tiny alpha left over from the blur becomes fully clear
    a = out.getchannel("A").point(lambda v: 0 if v < 4 else (255 if v > 251 else v))
    out.putalpha(a)
    return out


# ---------------------------------------------------------------- login backdrop
BROWSER_BOX = (399, 119, 748, 456)       # x, y, w, h of the embedded web page
MIN_BUTTON = (1130, 116, 32)             # x, y, size of the minimise picture
CLOSE_BUTTON = (1146, 147, 40)           # x, y, size of the close picture
SPOT_RIM = GOLD
SPOT_FACE = (12, 24, 56)                 # what the GIF buttons are matted on


def make_backdrop():
    W, H = 1237, 696
    S = 2
    size = (W * S, H * S)
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    panel_box = [14 * S, 12 * S, (W - 14) * S, (H - 16) * S]
    radius = 42 * S

    sh = new_mask(size)
    ImageDraw.Draw(sh).rounded_rectangle([panel_box[0] + 4 * S, panel_box[1] + 8 * S,
                                          panel_box[2] - 4 * S, panel_box[3] + 6 * S],
                                         radius=radius, fill=140)
    sh = sh.filter(ImageFilter.GaussianBlur(5 * S))
    img = fill(img, NAVY_DEEP, sh)

    panel = new_mask(size)
    ImageDraw.Draw(panel).rounded_rectangle(panel_box, radius=radius, fill=255)
    img = fill(img, (48, 32, 8), panel)

    def inset(box, n):
        return [box[0] + n, box[1] + n, box[2] - n, box[3] - n]

    rim = new_mask(size)
    ImageDraw.Draw(rim).rounded_rectangle(inset(panel_box, S), radius=radius - S, fill=255)
    img = paint(img, vgradient(*size, [(0.0, GOLD_LIGHT), (0.4, GOLD), (1.0, GOLD_DARK)]), rim)
    field = new_mask(size)
    ImageDraw.Draw(field).rounded_rectangle(inset(panel_box, 5 * S), radius=radius - 5 * S, fill=255)
    img = paint(img, vgradient(*size, [(0.0, (30, 56, 116)), (0.35, (18, 36, 82)), (1.0, NAVY_DEEP)]), field)

    # header band
    band = new_mask(size)
    ImageDraw.Draw(band).rectangle([0, 0, size[0], 92 * S], fill=255)
    band = ImageChops.multiply(band, field)
    img = paint(img, vgradient(*size, [(0.0, (74, 118, 198)), (0.13, (40, 76, 152)), (0.14, (24, 48, 104)),
                                       (1.0, (24, 48, 104))]), band)
    sep = new_mask(size)
    d = ImageDraw.Draw(sep)
    d.rectangle([5 * S, 92 * S, size[0] - 5 * S, 94 * S - 1], fill=255)
    img = fill(img, GOLD, ImageChops.multiply(sep, field))
    sep = new_mask(size)
    ImageDraw.Draw(sep).rectangle([5 * S, 94 * S, size[0] - 5 * S, 95 * S - 1], fill=255)
    img = fill(img, GOLD_DARK, ImageChops.multiply(sep, field))

    # fine diamond lattice texture over the lower field
    tex = new_mask(size)
    d = ImageDraw.Draw(tex)
    step = 28 * S
    for k in range(-size[1], size[0] + size[1], step):
        d.line([(k, 96 * S), (k + size[1], 96 * S + size[1])], fill=16, width=S)
        d.line([(k, 96 * S), (k - size[1], 96 * S + size[1])], fill=16, width=S)
    low = new_mask(size)
    ImageDraw.Draw(low).rectangle([0, 96 * S, size[0], size[1]], fill=255)
    img = fill(img, SKY, ImageChops.multiply(ImageChops.multiply(tex, low), field))

    # glow behind the crest column
    glow = soft_glow(560 * S, 560 * S, 120)
    gm = new_mask(size)
    gm.paste(glow, ((205 - 280) * S, (340 - 280) * S))
    img = paint(img, solid(size, BLUE_LIGHT), ImageChops.multiply(gm, field))

    # title in the header band
    img = gold_text(img, "Velmora", 34 * S, (40 * S, 14 * S, 360 * S, 88 * S), stroke=S, shadow=2 * S)

    # big crest in the left column
    c = crest(220 * S)
    cm = new_mask(size)
    layer = Image.new("RGBA", size, (0, 0, 0, 0))
    layer.paste(c, ((205 - 110) * S, 190 * S))
    shadow = layer.getchannel("A").filter(ImageFilter.GaussianBlur(6 * S))
    img = fill(img, NAVY_DEEP, ImageChops.offset(shadow, 4 * S, 8 * S).point(lambda v: v * 160 // 255))
    img = Image.alpha_composite(img, layer)
    # divider under the crest
    orn = new_mask(size)
    d = ImageDraw.Draw(orn)
    d.line([(70 * S, 458 * S), (340 * S, 458 * S)], fill=255, width=2 * S)
    for cx, r in ((70, 5), (205, 8), (340, 5)):
        d.polygon([((cx) * S, (458 - r) * S), ((cx + r) * S, 458 * S),
                   (cx * S, (458 + r) * S), ((cx - r) * S, 458 * S)], fill=255)
    img = fill(img, GOLD, orn)
    # three small stars under the divider
    stars = new_mask(size)
    d = ImageDraw.Draw(stars)
    for cx, cy, r in ((165, 492, 6), (205, 500, 9), (245, 492, 6)):
        pts = []
        for k in range(8):
            rr = r if k % 2 == 0 else r * 0.38
            ang = math.pi / 4 * k - math.pi / 2
            pts.append(((cx + rr * math.cos(ang)) * S, (cy + rr * math.sin(ang)) * S))
        d.polygon(pts, fill=255)
    img = fill(img, GOLD_LIGHT, stars)

    # framed inset for the web page
    bx, by, bw, bh = BROWSER_BOX
    frame = [(bx - 12) * S, (by - 12) * S, (bx + bw + 12) * S - 1, (by + bh + 12) * S - 1]
    sh = new_mask(size)
    ImageDraw.Draw(sh).rounded_rectangle([frame[0] + 2 * S, frame[1] + 6 * S, frame[2] + 2 * S, frame[3] + 6 * S],
                                         radius=14 * S, fill=170)
    img = fill(img, NAVY_DEEP, sh.filter(ImageFilter.GaussianBlur(5 * S)))
    m = new_mask(size)
    ImageDraw.Draw(m).rounded_rectangle(frame, radius=14 * S, fill=255)
    img = fill(img, (50, 34, 8), m)
    m = new_mask(size)
    ImageDraw.Draw(m).rounded_rectangle(inset(frame, S), radius=13 * S, fill=255)
    img = paint(img, vgradient(*size, [(0.0, GOLD_LIGHT), (0.25, GOLD), (1.0, GOLD_DARK)]), m)
    m = new_mask(size)
    ImageDraw.Draw(m).rounded_rectangle(inset(frame, 4 * S), radius=10 * S, fill=255)
    img = paint(img, vgradient(*size, [(0.0, (36, 66, 132)), (1.0, NAVY_DARK)]), m)
    m = new_mask(size)
    ImageDraw.Draw(m).rectangle([(bx - 2) * S, (by - 2) * S, (bx + bw + 2) * S - 1, (by + bh + 2) * S - 1],
                                fill=255)
    img = fill(img, NAVY_DEEP, m)
    m = new_mask(size)
    ImageDraw.Draw(m).rectangle([(bx - 1) * S, (by - 1) * S, (bx + bw + 1) * S - 1, (by + bh + 1) * S - 1],
                                fill=255)
    img = fill(img, GOLD_DARK, m)
    m = new_mask(size)
    ImageDraw.Draw(m).rectangle([bx * S, by * S, (bx + bw) * S - 1, (by + bh) * S - 1], fill=255)
    img = paint(img, vgradient(*size, [(0.0, (250, 251, 254)), (1.0, (232, 238, 248))]), m)

    # button spots: a plate joining the two, then one round seat per button
    spots = []
    for bxx, byy, bs in (MIN_BUTTON, CLOSE_BUTTON):
        cx, cy, r = bxx + bs / 2, byy + bs / 2, bs / 2 + 3
        spots.append((cx, cy, r))
    (ax, ay, ar), (cx2, cy2, cr) = spots
    bridge = new_mask(size)
    ImageDraw.Draw(bridge).line([(ax * S, ay * S), (cx2 * S, cy2 * S)], fill=255, width=int(2 * ar * S * 0.8))
    for cx, cy, r in spots:
        ImageDraw.Draw(bridge).ellipse([(cx - r - 3) * S, (cy - r - 3) * S, (cx + r + 3) * S, (cy + r + 3) * S],
                                       fill=255)
    halo = bridge.filter(ImageFilter.GaussianBlur(4 * S)).point(lambda v: v * 150 // 255)
    img = fill(img, NAVY_DEEP, ImageChops.offset(halo, 0, 3 * S))
    img = fill(img, GOLD_DARK, bridge)
    inner = bridge.filter(ImageFilter.MinFilter(2 * S + 1))
    img = paint(img, vgradient(*size, [(0.15, (40, 72, 140)), (0.3, NAVY_DARK)]), inner)
    for cx, cy, r in spots:
        m = new_mask(size)
        ImageDraw.Draw(m).ellipse([(cx - r) * S, (cy - r) * S, (cx + r) * S, (cy + r) * S], fill=255)
        img = fill(img, SPOT_RIM, m)
        m = new_mask(size)
        ImageDraw.Draw(m).ellipse([(cx - r + 2) * S, (cy - r + 2) * S, (cx + r - 2) * S, (cy + r - 2) * S],
                                  fill=255)
        img = fill(img, SPOT_FACE, m)
        hl = new_mask(size)
        ImageDraw.Draw(hl).ellipse([(cx - r + 2) * S, (cy - r + 2) * S, (cx + r - 2) * S, (cy + r - 2) * S],
                                   outline=255, width=S)
        img = fill(img, (70, 110, 180, 120), ImageChops.offset(hl, 0, S))

    out = down(img, W, H)
    a = out.getchannel("A").point(lambda v: 0 if v < 4 else (255 if v > 251 else v))
    out.putalpha(a)
    return out


# ---------------------------------------------------------------- icon
# Entries this wide or wider are stored as PNG (lossless, read by Windows
# Vista and later): a 128-pixel BMP-style entry alone is 66 KB, a 64-pixel one
# 17 KB. The 16- and 32-pixel entries, which the window and tray icons use,
# stay BMP-style for every reader.
ICON_PNG_FROM = 48


def png_bytes(img):
    out = io.BytesIO()
    img.save(out, format="PNG", optimize=True)
    return out.getvalue()


def ico_bytes(images):
    """A .ico holding 32-bit entries: BMP-style (XOR BGRA + AND mask) below
    ICON_PNG_FROM pixels, PNG from there."""
    blobs = []
    for im in images:
        w, h = im.size
        if w >= ICON_PNG_FROM:
            blobs.append(png_bytes(im))
            continue
        header = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
        px = im.load()
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = px[x, y]
                xor += bytes((b, g, r, a))
        stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(stride)
            for x in range(w):
                if px[x, y][3] == 0:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        blobs.append(header + bytes(xor) + bytes(mask))
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for im, blob in zip(images, blobs):
        w, h = im.size
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


ICON_SIZES = (16, 32, 48, 64, 128)


def icon_images():
    imgs = []
    for s in ICON_SIZES:
        im = crest(s)
        a = im.getchannel("A").point(lambda v: 0 if v < 3 else v)
        im.putalpha(a)
        imgs.append(im)
    return imgs


def make_icon():
    return ico_bytes(icon_images())


# ---------------------------------------------------------------- caption buttons
TITLE_MATTE = title_color(12)

PLATE_STYLES = {
    "blue": {
        "normal": ([(0.0, (78, 118, 196)), (0.5, (46, 84, 160)), (1.0, (30, 58, 122))], NAVY_DEEP, (120, 160, 226)),
        "hover": ([(0.0, (124, 164, 236)), (0.5, (82, 126, 206)), (1.0, (54, 94, 172))], GOLD_DARK, (190, 214, 250)),
        "pressed": ([(0.0, (18, 36, 82)), (0.5, (26, 50, 106)), (1.0, (38, 70, 138))], NAVY_DEEP, None),
    },
    "red": {
        "normal": ([(0.0, (224, 92, 78)), (0.5, (186, 44, 38)), (1.0, (140, 26, 24))], (70, 10, 10), (246, 150, 136)),
        "hover": ([(0.0, (252, 136, 118)), (0.5, (226, 74, 60)), (1.0, (176, 40, 34))], GOLD_DARK, (255, 196, 184)),
        "pressed": ([(0.0, (96, 14, 14)), (0.5, (124, 22, 20)), (1.0, (156, 34, 30))], (60, 8, 8), None),
    },
}


def plate(w, h, style, state, radius=4.5, matte=TITLE_MATTE):
    """A rounded button plate w x h with face gradient, border and highlight."""
    S = SS
    stops, border, highlight = PLATE_STYLES[style][state]
    img = Image.new("RGBA", (w * S, h * S), (0, 0, 0, 0))
    outer = new_mask(img.size)
    ImageDraw.Draw(outer).rounded_rectangle([0, 0, w * S - 1, h * S - 1], radius=radius * S, fill=255)
    img = fill(img, border, outer)
    inner = new_mask(img.size)
    ImageDraw.Draw(inner).rounded_rectangle([S, S, w * S - 1 - S, h * S - 1 - S], radius=(radius - 1) * S, fill=255)
    img = paint(img, vgradient(w * S, h * S, stops), inner)
    if highlight:
        hl = new_mask(img.size)
        ImageDraw.Draw(hl).line([(radius * S, S + S // 2), (w * S - radius * S, S + S // 2)], fill=255, width=S)
        img = fill(img, highlight, hl)
    return img


def glyph_layer(w, h, draw_fn, dx=0, dy=0, color=WHITE, shadow=NAVY_DEEP):
    """Glyph drawn by draw_fn(draw, S, ox, oy) with a 1px drop shadow."""
    S = SS
    img = Image.new("RGBA", (w * S, h * S), (0, 0, 0, 0))
    if shadow is not None:
        m = new_mask(img.size)
        draw_fn(ImageDraw.Draw(m), S, dx + 1, dy + 1)
        img = fill(img, tuple(shadow) + (150,), m)
    m = new_mask(img.size)
    draw_fn(ImageDraw.Draw(m), S, dx, dy)
    return fill(img, color, m)


def g_minimise(d, S, ox, oy):
    d.rectangle([(7 + ox) * S, (11 + oy) * S, (17 + ox) * S - 1, (13 + oy) * S - 1], fill=255)


def g_maximise(d, S, ox, oy):
    x0, y0, x1, y1 = 8 + ox, 4 + oy, 17 + ox, 13 + oy
    d.rectangle([x0 * S, y0 * S, x1 * S - 1, y1 * S - 1], fill=255)
    d.rectangle([(x0 + 1) * S, (y0 + 2) * S, (x1 - 1) * S - 1, (y1 - 1) * S - 1], fill=0)


def g_restore(d, S, ox, oy):
    # back window
    x0, y0, x1, y1 = 10 + ox, 3 + oy, 18 + ox, 10 + oy
    d.rectangle([x0 * S, y0 * S, x1 * S - 1, y1 * S - 1], fill=255)
    d.rectangle([(x0 + 1) * S, (y0 + 2) * S, (x1 - 1) * S - 1, (y1 - 1) * S - 1], fill=0)
    # front window (punches out what it covers)
    x0, y0, x1, y1 = 7 + ox, 6 + oy, 15 + ox, 14 + oy
    d.rectangle([(x0 - 1) * S, (y0 - 1) * S, (x1 + 1) * S - 1, (y1 + 1) * S - 1], fill=0)
    d.rectangle([x0 * S, y0 * S, x1 * S - 1, y1 * S - 1], fill=255)
    d.rectangle([(x0 + 1) * S, (y0 + 2) * S, (x1 - 1) * S - 1, (y1 - 1) * S - 1], fill=0)


def g_close_wide(d, S, ox, oy):
    cx, cy, r = 21.5 + ox, 9 + oy, 4.2
    for a, b in (((-r, -r), (r, r)), ((-r, r), (r, -r))):
        d.line([((cx + a[0]) * S, (cy + a[1]) * S), ((cx + b[0]) * S, (cy + b[1]) * S)], fill=255, width=int(2.2 * S))


def g_menu(d, S, ox, oy):
    for row in (5, 8, 11):
        d.rectangle([(7 + ox) * S, (row + oy) * S, (17 + ox) * S - 1, (row + 2 + oy) * S - 1], fill=255)


def caption_strip(frame_w, glyphs, style="blue"):
    """Frames side by side: for each glyph, normal / hover / pressed."""
    h = 18
    frames = []
    for g in glyphs:
        for state in ("normal", "hover", "pressed"):
            img = plate(frame_w, h, style, state)
            off = 1 if state == "pressed" else 0
            color = WHITE if state != "hover" else (255, 250, 226)
            img = Image.alpha_composite(img, glyph_layer(frame_w, h, g, off, off, color))
            frames.append(keyed(down(img, frame_w, h), TITLE_MATTE))
    strip = Image.new("RGB", (frame_w * len(frames), h), MAGENTA)
    for i, f in enumerate(frames):
        strip.paste(f, (i * frame_w, 0))
    return strip


# ---------------------------------------------------------------- logo
def make_logo():
    bg = Image.new("RGBA", (28, 28))
    d = ImageDraw.Draw(bg)
    for y in range(28):
        d.line([(0, y), (27, y)], fill=title_color(y + 4) + (255,))
    return Image.alpha_composite(bg, crest(28, with_star=False)).convert("RGB")


# ---------------------------------------------------------------- tabs
TAB_BAR_STOPS = [(0.0, (22, 44, 100)), (1.0, (14, 30, 70))]
TAB_FACES = {
    # face gradient stops, outline, top accent colour
    "normal": ([(0.0, (168, 188, 222)), (1.0, (122, 148, 196))], NAVY_DARK, (200, 214, 238)),
    "hover": ([(0.0, (212, 226, 250)), (1.0, (164, 190, 232))], NAVY_DARK, (236, 242, 255)),
    "selected": ([(0.0, (255, 255, 255)), (1.0, (242, 246, 253))], NAVY_DARK, GOLD),
}
TAB_EDGE = 14


def tab_frame(w, h, shape_pts, radii, state, bar_stops):
    """One tab: outline along the open path (not across the bottom)."""
    S = SS
    stops, outline, accent = TAB_FACES[state]
    img = Image.new("RGBA", (w * S, h * S), (0, 0, 0, 0))
    path = rounded_path(shape_pts, radii)
    m = new_mask(img.size)
    ImageDraw.Draw(m).polygon(scaled(path, S), fill=255)
    img = paint(img, vgradient(w * S, h * S, stops), m)
    # outline: the path minus the bottom closing edge
    ln = new_mask(img.size)
    ImageDraw.Draw(ln).line(scaled(path, S), fill=255, width=S, joint="curve")
    img = fill(img, outline, ImageChops.multiply(ln, m))
    # accent stripe under the top edge, kept inside the stretchable middle
    top_y = min(p[1] for p in shape_pts)
    acc = new_mask(img.size)
    thick = 2 if state == "selected" else 1
    ImageDraw.Draw(acc).rectangle([(TAB_EDGE - 3) * S, (top_y + 0.5) * S,
                                   (w - TAB_EDGE + 3) * S - 1, (top_y + 0.5 + thick) * S - 1], fill=255)
    img = fill(img, accent, ImageChops.multiply(acc, m))
    matte = stops_at(bar_stops, 0.3)
    return keyed(down(img, w, h), matte)


GLYPH_STYLES = {
    # plate colour (None = no plate), cross colour
    "selected": ((214, 222, 238), (70, 84, 116)),
    "normal": (None, NAVY_DARK),
    "hover": ((214, 62, 50), WHITE),
    "pressed": ((138, 26, 22), (236, 210, 206)),
}


def tab_glyph(state, matte):
    S = SS
    plate_c, cross = GLYPH_STYLES[state]
    img = Image.new("RGBA", (12 * S, 12 * S), (0, 0, 0, 0))
    if plate_c is not None:
        m = new_mask(img.size)
        ImageDraw.Draw(m).ellipse([0.3 * S, 0.3 * S, 11.7 * S, 11.7 * S], fill=255)
        img = fill(img, plate_c, m)
    else:
        # a faint round seat so the glyph has a body against the key
        m = new_mask(img.size)
        ImageDraw.Draw(m).ellipse([1.5 * S, 1.5 * S, 10.5 * S, 10.5 * S], fill=255)
        img = fill(img, matte, m)
    m = new_mask(img.size)
    d = ImageDraw.Draw(m)
    off = 0.5 if state == "pressed" else 0.0
    for a, b in (((3.5, 3.5), (8.5, 8.5)), ((3.5, 8.5), (8.5, 3.5))):
        d.line([((a[0] + off) * S, (a[1] + off) * S), ((b[0] + off) * S, (b[1] + off) * S)], fill=255,
               width=int(1.8 * S))
    img = fill(img, cross, m)
    return keyed(down(img, 12, 12), matte)


def tab_skin(total_w, h, frame_w, frame_h, shape_pts, radii, bar_stops):
    img = Image.new("RGB", (total_w, h), MAGENTA)
    bar = vgradient(1, h, bar_stops).convert("RGB")
    img.paste(bar, (0, 0))
    x = 1
    faces = {}
    for state in ("normal", "hover", "selected"):
        f = tab_frame(frame_w, frame_h, shape_pts, radii, state, bar_stops)
        img.paste(f, (x, 0))
        faces[state] = TAB_FACES[state][0]
        x += frame_w
    for state in ("selected", "normal", "hover", "pressed"):
        if state == "selected":
            matte = stops_at(TAB_FACES["selected"][0], 0.3)
        else:
            matte = stops_at(TAB_FACES["normal"][0], 0.3)
        img.paste(tab_glyph(state, matte), (x, 0))
        x += 12
    assert x == total_w, (x, total_w)
    return img


def make_tabs_slanted():
    w, h = 122, 25
    pts = [(0.5, 25.5), (9.0, 0.5), (w - 9.0, 0.5), (w - 0.5, 25.5)]
    return tab_skin(415, 25, w, h, pts, [0, 3.2, 3.2, 0], TAB_BAR_STOPS)


def make_tabs_rounded():
    w, h = 124, 26
    pts = [(0.5, 26.5), (0.5, 0.5), (w - 0.5, 0.5), (w - 0.5, 26.5)]
    bar = [(0.0, (24, 48, 106)), (1.0, (16, 32, 74))]
    return tab_skin(421, 28, w, h, pts, [0, 9, 9, 0], bar)


# ---------------------------------------------------------------- window skin
BORDER_STOPS = [(0.0, NAVY_DEEP), (0.25, (46, 84, 160)), (0.75, (40, 76, 150)), (1.0, NAVY_DARK)]


def make_window_skin():
    W, H = 94, 85
    S = SS
    size = (W * S, H * S)
    img = Image.new("RGBA", size, (0, 0, 0, 0))
    outer = new_mask(size)
    ImageDraw.Draw(outer).rounded_rectangle([0, 0, W * S - 1, H * S - 1], radius=8 * S, fill=255)
    img = fill(img, NAVY_DEEP, outer)
    inner = new_mask(size)
    ImageDraw.Draw(inner).rounded_rectangle([S, S, W * S - 1 - S, H * S - 1 - S], radius=7 * S, fill=255)
    img = fill(img, (44, 82, 158), inner)
    # title band
    band = new_mask(size)
    ImageDraw.Draw(band).rectangle([0, 0, W * S, TITLE_HEIGHT * S - 1], fill=255)
    tb = Image.new("RGBA", size, (0, 0, 0, 0))
    tb.paste(vgradient(W * S, TITLE_HEIGHT * S, TITLE_STOPS), (0, 0))
    img = paint(img, tb, ImageChops.multiply(band, inner))
    hl = new_mask(size)
    ImageDraw.Draw(hl).rectangle([0, S, W * S, 2 * S - 1], fill=255)
    img = fill(img, (124, 162, 228), ImageChops.multiply(hl, inner))
    gl = new_mask(size)
    ImageDraw.Draw(gl).rectangle([0, (TITLE_HEIGHT - 2) * S, W * S, (TITLE_HEIGHT - 1) * S - 1], fill=255)
    img = fill(img, GOLD, ImageChops.multiply(gl, inner))
    gl = new_mask(size)
    ImageDraw.Draw(gl).rectangle([0, (TITLE_HEIGHT - 1) * S, W * S, TITLE_HEIGHT * S - 1], fill=255)
    img = fill(img, GOLD_DARK, ImageChops.multiply(gl, inner))
    # border shading: a lighter line inside the outer edge, a darker line
    # against the client area
    for (x0, y0, x1, y1), col in (
        ((1, TITLE_HEIGHT, 2, H - 1), (84, 124, 200)),
        ((W - 2, TITLE_HEIGHT, W - 1, H - 1), (30, 58, 120)),
        ((1, H - 2, W - 1, H - 1), (30, 58, 120)),
        ((3, TITLE_HEIGHT, 4, H - 4), NAVY_DARK),
        ((W - 4, TITLE_HEIGHT, W - 3, H - 4), NAVY_DARK),
        ((3, H - 4, W - 3, H - 3), NAVY_DARK),
    ):
        m = new_mask(size)
        ImageDraw.Draw(m).rectangle([x0 * S, y0 * S, x1 * S - 1, y1 * S - 1], fill=255)
        img = fill(img, col, ImageChops.multiply(m, inner))
    # client area
    m = new_mask(size)
    ImageDraw.Draw(m).rectangle([4 * S, TITLE_HEIGHT * S, (W - 4) * S - 1, (H - 4) * S - 1], fill=255)
    img = fill(img, WHITE, m)
    return keyed(down(img, W, H), NAVY_DARK)


# ---------------------------------------------------------------- message box buttons
MSG_FACES = {
    "normal": ([(0.0, (252, 253, 255)), (0.5, (226, 234, 248)), (1.0, (198, 212, 238))], NAVY, WHITE),
    "hover": ([(0.0, (255, 252, 238)), (0.5, (250, 236, 190)), (1.0, (234, 206, 130))], GOLD_DARK, WHITE),
    "pressed": ([(0.0, (170, 188, 222)), (0.5, (196, 210, 236)), (1.0, (218, 228, 246))], NAVY_DARK, None),
}


def make_msgbox_buttons():
    fw, fh = 75, 22
    S = SS
    strip = Image.new("RGB", (fw * 3, fh), MAGENTA)
    for i, state in enumerate(("normal", "hover", "pressed")):
        stops, border, hlc = MSG_FACES[state]
        img = Image.new("RGBA", (fw * S, fh * S), (0, 0, 0, 0))
        outer = new_mask(img.size)
        ImageDraw.Draw(outer).rounded_rectangle([0, 0, fw * S - 1, fh * S - 1], radius=5 * S, fill=255)
        img = fill(img, border, outer)
        inner = new_mask(img.size)
        ImageDraw.Draw(inner).rounded_rectangle([S, S, fw * S - 1 - S, fh * S - 1 - S], radius=4 * S, fill=255)
        img = paint(img, vgradient(fw * S, fh * S, stops), inner)
        if hlc:
            m = new_mask(img.size)
            ImageDraw.Draw(m).rectangle([5 * S, S, (fw - 5) * S - 1, 2 * S - 1], fill=255)
            img = fill(img, hlc, m)
        strip.paste(keyed(down(img, fw, fh), WHITE), (i * fw, 0))
    return strip


# ---------------------------------------------------------------- login picture buttons
def save_gif(img, path, matte):
    """RGBA -> GIF with one transparent palette entry (index 255)."""
    flat = Image.alpha_composite(solid(img.size, matte), img).convert("RGB")
    q = flat.quantize(colors=255, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    pal = q.getpalette()[:255 * 3]
    pal += [0] * (255 * 3 - len(pal))
    # The transparent entry is the login window's key colour, so the corners
    # vanish on that window even where a decoder ignores GIF transparency.
    pal += [254, 254, 254]
    out = Image.new("P", img.size, 255)
    out.putpalette(pal)
    qa = q.load()
    oa = out.load()
    alpha = img.getchannel("A").load()
    for y in range(img.height):
        for x in range(img.width):
            if alpha[x, y] >= 128:
                oa[x, y] = qa[x, y]
    out.save(path, format="GIF", transparency=255, optimize=False)


def round_button(size, style, glyph):
    S = SS
    img = Image.new("RGBA", (size * S, size * S), (0, 0, 0, 0))
    c = size * S / 2
    r = size * S / 2 - 0.5 * S

    def disc(rr):
        m = new_mask(img.size)
        ImageDraw.Draw(m).ellipse([c - rr, c - rr, c + rr, c + rr], fill=255)
        return m

    img = fill(img, (46, 30, 6), disc(r))
    img = paint(img, vgradient(size * S, size * S, [(0.0, GOLD_LIGHT), (0.5, GOLD), (1.0, GOLD_DARK)]),
                disc(r - S))
    if style == "red":
        stops = [(0.1, (240, 116, 98)), (0.5, (194, 48, 40)), (0.95, (118, 20, 18))]
    else:
        stops = [(0.1, (98, 142, 220)), (0.5, (44, 82, 158)), (0.95, (18, 36, 84))]
    img = paint(img, vgradient(size * S, size * S, stops), disc(r - 3 * S))
    sheen = new_mask(img.size)
    ImageDraw.Draw(sheen).ellipse([c - r * 0.62, c - r * 0.86, c + r * 0.62, c - r * 0.05], fill=70)
    sheen = sheen.filter(ImageFilter.GaussianBlur(r * 0.12))
    img = fill(img, WHITE, ImageChops.multiply(sheen, disc(r - 3 * S)))
    for col, off in ((NAVY_DEEP + (170,), 1.0), (WHITE + (255,), 0.0)):
        m = new_mask(img.size)
        glyph(ImageDraw.Draw(m), S, c + off * S, c + off * S, size)
        img = fill(img, col, m)
    return img


def gl_dash(d, S, cx, cy, size):
    half = size * 0.24
    t = max(2.4, size * 0.09)
    d.rounded_rectangle([cx - half * S, cy - t / 2 * S, cx + half * S, cy + t / 2 * S], radius=t / 2 * S, fill=255)


def gl_cross(d, S, cx, cy, size):
    r = size * 0.19
    w = max(2.6, size * 0.085)
    for a, b in (((-r, -r), (r, r)), ((-r, r), (r, -r))):
        d.line([(cx + a[0] * S, cy + a[1] * S), (cx + b[0] * S, cy + b[1] * S)], fill=255, width=int(w * S))
    for px, py in ((-r, -r), (r, r), (-r, r), (r, -r)):
        d.ellipse([cx + px * S - w * S / 2, cy + py * S - w * S / 2, cx + px * S + w * S / 2,
                   cy + py * S + w * S / 2], fill=255)


def make_login_buttons(outdir):
    for name, (x, y, s), style, glyph in (("login_min.gif", MIN_BUTTON, "blue", gl_dash),
                                          ("login_close.gif", CLOSE_BUTTON, "red", gl_cross)):
        img = down(round_button(s, style, glyph), s, s)
        save_gif(img, os.path.join(outdir, name), SPOT_FACE)


# ---------------------------------------------------------------- main
OUTPUTS = [
    "splash.png", "login_backdrop.png", "velmora.ico",
    "bmp101.bmp", "bmp102.bmp", "bmp103.bmp", "bmp104.bmp",
    "bmp105.bmp", "bmp106.bmp", "bmp107.bmp", "bmp108.bmp",
    "login_min.gif", "login_close.gif", "msgbox_buttons.bmp",
]


def save_png(img, path):
    img.save(path, format="PNG", optimize=True)


def save_bmp(img, path):
    assert img.mode == "RGB"
    img.save(path, format="BMP")


def main(argv):
    outdir = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(outdir, exist_ok=True)

    def p(name):
        return os.path.join(outdir, name)

    save_png(make_splash(), p("splash.png"))
    save_png(make_backdrop(), p("login_backdrop.png"))
    with open(p("velmora.ico"), "wb") as fh:
        fh.write(make_icon())
    save_bmp(caption_strip(24, [g_minimise]), p("bmp101.bmp"))
    save_bmp(caption_strip(25, [g_maximise, g_restore]), p("bmp102.bmp"))
    save_bmp(caption_strip(43, [g_close_wide], style="red"), p("bmp103.bmp"))
    save_bmp(caption_strip(24, [g_menu]), p("bmp104.bmp"))
    save_bmp(make_logo(), p("bmp105.bmp"))
    save_bmp(make_tabs_slanted(), p("bmp106.bmp"))
    save_bmp(make_tabs_rounded(), p("bmp107.bmp"))
    save_bmp(make_window_skin(), p("bmp108.bmp"))
    make_login_buttons(outdir)
    save_bmp(make_msgbox_buttons(), p("msgbox_buttons.bmp"))
    print("wrote %d files to %s (font: %s)" % (len(OUTPUTS), outdir, _FONT_PATH or "built-in bitmap"))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
