#!/usr/bin/python3
"""Checks the client's embedded art: sizes, file formats, frame layouts,
magenta key rules, transparency, and that the generator is deterministic.

Usage:  /usr/bin/python3 tests/unit/art/test_art.py [ART_DIR] [unittest args]

ART_DIR defaults to $ART_DIR, then to <repo>/resources/art.  The generator
re-run uses <ART_DIR>/make_art.py when present, else the repository's copy.
"""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

from PIL import Image

REPO = os.path.abspath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", ".."))
ART_DIR = os.environ.get("ART_DIR") or os.path.join(REPO, "resources", "art")

MAGENTA = (255, 0, 255)

EXPECTED_FILES = [
    "splash.png", "login_backdrop.png", "velmora.ico",
    "bmp101.bmp", "bmp102.bmp", "bmp103.bmp", "bmp104.bmp",
    "bmp105.bmp", "bmp106.bmp", "bmp107.bmp", "bmp108.bmp",
    "login_min.gif", "login_close.gif", "msgbox_buttons.bmp",
]


def art(name):
    return os.path.join(ART_DIR, name)


def read(name):
    with open(art(name), "rb") as fh:
        return fh.read()


def luminance(c):
    return 0.299 * c[0] + 0.587 * c[1] + 0.114 * c[2]


def load(name):
    with Image.open(art(name)) as im:
        im.load()
        return im.copy()


def open_rgb(name):
    im = load(name)
    return im.convert("RGB") if im.mode != "RGB" else im


class FilesPresent(unittest.TestCase):
    def test_every_file_exists_and_is_not_empty(self):
        for name in EXPECTED_FILES:
            with self.subTest(name=name):
                self.assertTrue(os.path.isfile(art(name)), name)
                self.assertGreater(os.path.getsize(art(name)), 0, name)


class PngChecks(unittest.TestCase):
    def check_png_header(self, name, w, h):
        data = read(name)
        self.assertEqual(data[:8], b"\x89PNG\r\n\x1a\n", "%s is not a PNG" % name)
        self.assertEqual(data[12:16], b"IHDR")
        width, height, depth, ctype = struct.unpack(">IIBB", data[16:26])
        self.assertEqual((width, height), (w, h), name)
        self.assertEqual(depth, 8, "%s: 8 bits per channel" % name)
        self.assertEqual(ctype, 6, "%s: colour type must be RGBA (6)" % name)
        im = load(name)
        self.assertEqual(im.mode, "RGBA")
        self.assertEqual(im.size, (w, h))
        return im

    def alpha_stats(self, im):
        hist = im.getchannel("A").histogram()
        total = im.width * im.height
        return hist[0] / total, hist[255] / total, sum(hist[1:255]) / total

    def test_splash(self):
        im = self.check_png_header("splash.png", 356, 122)
        self.assertEqual(im.getpixel((0, 0))[3], 0, "splash corner must be clear")
        self.assertEqual(im.getpixel((178, 61))[3], 255, "splash centre must be opaque")
        for corner in ((355, 0), (0, 121), (355, 121)):
            self.assertEqual(im.getpixel(corner)[3], 0, corner)
        clear, opaque, partial = self.alpha_stats(im)
        self.assertGreater(clear, 0.02, "needs a real transparent surround")
        self.assertGreater(opaque, 0.5, "banner body must be mostly opaque")
        self.assertGreater(partial, 0.0, "edges should be soft")
        # the name must stand out: the middle band holds both bright lettering
        # and a dark background
        band = im.crop((60, 35, 296, 90)).convert("RGB")
        lums = sorted(luminance(c) for c in band.getdata())
        self.assertLess(lums[len(lums) // 10], 90, "banner background too light")
        self.assertGreater(lums[-len(lums) // 10], 150, "no bright lettering found")

    def test_backdrop(self):
        im = self.check_png_header("login_backdrop.png", 1237, 696)
        self.assertEqual(im.getpixel((0, 0))[3], 0)
        for corner in ((1236, 0), (0, 695), (1236, 695)):
            self.assertEqual(im.getpixel(corner)[3], 0, corner)
        self.assertEqual(im.getpixel((200, 400))[3], 255)
        clear, opaque, _ = self.alpha_stats(im)
        self.assertGreater(opaque, 0.9)
        self.assertGreater(clear, 0.0)
        # the browser inset and everything around it must be opaque
        for pt in ((399, 119), (1146, 574), (772, 347), (390, 110), (1155, 583)):
            self.assertEqual(im.getpixel(pt)[3], 255, pt)
        # a framed inset: the frame just outside the page area differs clearly
        # from the page area itself
        inside = im.getpixel((700, 300))[:3]
        for pt in ((395, 300), (700, 115), (700, 579), (1151, 300)):
            frame = im.getpixel(pt)[:3]
            self.assertGreater(sum(abs(a - b) for a, b in zip(inside, frame)), 60, pt)
        # button seats: both spot centres share one look that differs from
        # the panel next to them
        s1 = im.getpixel((1146, 132))[:3]
        s2 = im.getpixel((1166, 167))[:3]
        self.assertLess(sum(abs(a - b) for a, b in zip(s1, s2)), 30)
        for pt in ((1200, 250), (1100, 250)):
            self.assertEqual(im.getpixel(pt)[3], 255)
        self.assertGreater(sum(abs(a - b) for a, b in zip(s1, im.getpixel((1166, 112))[:3])), 30)


class IconChecks(unittest.TestCase):
    def test_icondir(self):
        data = read("velmora.ico")
        reserved, kind, count = struct.unpack_from("<HHH", data, 0)
        self.assertEqual(reserved, 0)
        self.assertEqual(kind, 1, "resource type must be icon")
        self.assertEqual(count, 5, "exactly five images")
        sizes = []
        spans = []
        for i in range(count):
            w, h, colors, res, planes, bpp, nbytes, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
            w = w or 256
            h = h or 256
            self.assertEqual(w, h, "square entries")
            self.assertEqual(bpp, 32, "32-bit entries")
            self.assertIn(planes, (0, 1))
            self.assertEqual(colors, 0)
            self.assertGreaterEqual(offset, 6 + 16 * count)
            self.assertLessEqual(offset + nbytes, len(data))
            spans.append((offset, offset + nbytes))
            blob = data[offset:offset + nbytes]
            if blob[:8] == b"\x89PNG\r\n\x1a\n":
                pw, ph = struct.unpack(">II", blob[16:24])
                self.assertEqual((pw, ph), (w, h))
            else:
                (bi_size, bi_w, bi_h, bi_planes, bi_bpp, bi_comp) = struct.unpack_from("<IiiHHI", blob, 0)
                self.assertEqual(bi_size, 40)
                self.assertEqual((bi_w, bi_h), (w, 2 * h), "DIB height counts XOR + AND")
                self.assertEqual(bi_bpp, 32)
                self.assertEqual(bi_comp, 0)
                mask_stride = ((w + 31) // 32) * 4
                self.assertEqual(nbytes, 40 + w * h * 4 + mask_stride * h)
            sizes.append(w)
        self.assertEqual(sorted(sizes), [16, 32, 48, 64, 128])
        spans.sort()
        for (a0, a1), (b0, b1) in zip(spans, spans[1:]):
            self.assertLessEqual(a1, b0, "image data overlaps")

    def test_the_large_images_are_pngs_with_the_crest_pixel_for_pixel(self):
        import runpy
        import io
        make_art = runpy.run_path(generator_script())
        crests = {im.size[0]: im for im in make_art["icon_images"]()}
        data = read("velmora.ico")
        for i in range(struct.unpack_from("<H", data, 4)[0]):
            w, _, _, _, _, _, nbytes, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
            blob = data[offset:offset + nbytes]
            with self.subTest(size=w or 256):
                if (w or 256) < make_art["ICON_PNG_FROM"]:
                    continue
                self.assertEqual(blob[:8], b"\x89PNG\r\n\x1a\n", "stored compressed")
                with Image.open(io.BytesIO(blob)) as png:
                    self.assertEqual(list(png.convert("RGBA").getdata()), list(crests[w or 256].getdata()))

    def test_each_size_has_a_shape(self):
        for s in (16, 32, 48, 64, 128):
            with self.subTest(size=s), Image.open(art("velmora.ico")) as ico:
                ico.size = (s, s)
                im = ico.convert("RGBA")
                self.assertEqual(im.size, (s, s))
                self.assertEqual(im.getpixel((0, s - 1))[3], 0, "crest corner should be clear")
                self.assertEqual(im.getpixel((s // 2, s // 2))[3], 255, "crest centre opaque")


class BmpHeader:
    def __init__(self, data):
        self.magic = data[:2]
        self.file_size, = struct.unpack_from("<I", data, 2)
        self.pixel_offset, = struct.unpack_from("<I", data, 10)
        (self.hdr_size, self.width, self.height, self.planes, self.bpp,
         self.compression) = struct.unpack_from("<IiiHHI", data, 14)
        self.length = len(data)


def frames(im, x0, fw, count, fh=None):
    fh = fh or im.height
    return [im.crop((x0 + i * fw, 0, x0 + (i + 1) * fw, fh)) for i in range(count)]


def corners(f):
    w, h = f.size
    return [(0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)]


class BmpChecks(unittest.TestCase):
    SIZES = {
        "bmp101.bmp": (72, 18), "bmp102.bmp": (150, 18), "bmp103.bmp": (129, 18),
        "bmp104.bmp": (72, 18), "bmp105.bmp": (28, 28), "bmp106.bmp": (415, 25),
        "bmp107.bmp": (421, 28), "bmp108.bmp": (94, 85), "msgbox_buttons.bmp": (225, 22),
    }

    def test_headers_are_24bit_uncompressed_bottom_up(self):
        for name, (w, h) in self.SIZES.items():
            with self.subTest(name=name):
                hdr = BmpHeader(read(name))
                self.assertEqual(hdr.magic, b"BM")
                self.assertEqual(hdr.file_size, hdr.length)
                self.assertGreaterEqual(hdr.hdr_size, 40)
                self.assertEqual((hdr.width, hdr.height), (w, h), "positive height = bottom-up")
                self.assertEqual(hdr.planes, 1)
                self.assertEqual(hdr.bpp, 24)
                self.assertEqual(hdr.compression, 0, "BI_RGB")
                stride = (w * 3 + 3) & ~3
                self.assertGreaterEqual(hdr.length, hdr.pixel_offset + stride * h)

    def assert_keyed_frame(self, f, label, inset=3):
        for c in corners(f):
            self.assertEqual(f.getpixel(c), MAGENTA, "%s corner %s must be the mask colour" % (label, c))
        w, h = f.size
        for y in range(inset, h - inset):
            for x in range(inset, w - inset):
                self.assertNotEqual(f.getpixel((x, y)), MAGENTA, "%s face pixel %s is magenta" % (label, (x, y)))

    def assert_all_differ(self, fs, label):
        for i in range(len(fs)):
            for j in range(i + 1, len(fs)):
                self.assertNotEqual(list(fs[i].getdata()), list(fs[j].getdata()),
                                    "%s frames %d and %d are identical" % (label, i, j))

    def test_caption_buttons(self):
        for name, fw, count in (("bmp101.bmp", 24, 3), ("bmp102.bmp", 25, 6),
                                ("bmp103.bmp", 43, 3), ("bmp104.bmp", 24, 3)):
            with self.subTest(name=name):
                im = open_rgb(name)
                self.assertEqual(im.width, fw * count)
                fs = frames(im, 0, fw, count)
                for i, f in enumerate(fs):
                    self.assert_keyed_frame(f, "%s frame %d" % (name, i))
                self.assert_all_differ(fs, name)
                # a glyph is drawn: each face carries a light mark on a darker plate
                for i, f in enumerate(fs):
                    lums = [luminance(c) for c in f.crop((3, 3, fw - 3, 15)).getdata()]
                    self.assertGreater(max(lums) - min(lums), 100, "%s frame %d has no glyph" % (name, i))

    def test_maximise_and_restore_glyphs_differ(self):
        im = open_rgb("bmp102.bmp")
        fs = frames(im, 0, 25, 6)
        for k in range(3):
            self.assertNotEqual(list(fs[k].getdata()), list(fs[k + 3].getdata()))

    def test_close_button_is_red(self):
        im = open_rgb("bmp103.bmp")
        r, g, b = im.getpixel((6, 9))
        self.assertGreater(r, g + 60)
        self.assertGreater(r, b + 60)

    def test_logo(self):
        im = open_rgb("bmp105.bmp")
        self.assertEqual(im.size, (28, 28))
        self.assertNotIn(MAGENTA, set(im.getdata()))
        lums = [luminance(c) for c in im.getdata()]
        self.assertGreater(max(lums) - min(lums), 100, "logo looks blank")

    def check_tab_skin(self, name, width, height, frame_w, frame_h):
        im = open_rgb(name)
        self.assertEqual(im.size, (width, height))
        # column 0: the strip background, full height, never the key
        col0 = [im.getpixel((0, y)) for y in range(height)]
        self.assertNotIn(MAGENTA, col0, "column 0 must be background, not mask")
        fs = frames(im, 1, frame_w, 3, frame_h)
        mids = []
        for i, f in enumerate(fs):
            label = "%s frame %d" % (name, i)
            self.assertEqual(f.getpixel((0, 0)), MAGENTA, label + " top-left outside tab")
            self.assertEqual(f.getpixel((frame_w - 1, 0)), MAGENTA, label + " top-right outside tab")
            ref = [f.getpixel((14, y)) for y in range(frame_h)]
            self.assertNotIn(MAGENTA, ref[3:], label + " middle must be solid below the top edge")
            for x in range(14, frame_w - 14):
                col = [f.getpixel((x, y)) for y in range(frame_h)]
                self.assertEqual(col, ref, "%s: stretchable column %d differs from column 14" % (label, x))
            mids.append(sum(luminance(c) for c in ref[3:]) / (frame_h - 3))
        self.assertLess(mids[0], mids[1], "hover must be lighter than normal")
        self.assertLess(mids[1], mids[2], "selected must be the brightest")
        self.assertGreater(mids[1] - mids[0], 8)
        self.assertGreater(mids[2] - mids[1], 8)
        # close glyphs
        gx = 1 + 3 * frame_w
        self.assertEqual(gx + 4 * 12, width)
        glyphs = []
        for k in range(4):
            x0 = gx + 12 * k
            g = im.crop((x0, 0, x0 + 12, 12))
            glyphs.append(g)
            label = "%s glyph %d" % (name, k)
            for c in corners(g):
                self.assertEqual(g.getpixel(c), MAGENTA, label + " corner %s" % (c,))
            self.assertNotEqual(g.getpixel((6, 6)), MAGENTA, label + " centre")
            self.assertNotEqual(g.getpixel((5, 5)), MAGENTA, label + " centre")
            for y in range(12, height):
                for x in range(12):
                    self.assertEqual(im.getpixel((x0 + x, y)), MAGENTA, "%s row %d" % (label, y))
        self.assert_all_differ(glyphs, name + " glyphs")
        return im

    def test_slanted_tabs(self):
        self.check_tab_skin("bmp106.bmp", 415, 25, 122, 25)

    def test_rounded_tabs(self):
        im = self.check_tab_skin("bmp107.bmp", 421, 28, 124, 26)
        for y in (26, 27):
            for x in range(1, 373):
                self.assertEqual(im.getpixel((x, y)), MAGENTA, "bmp107 (%d,%d) below the frames" % (x, y))

    def test_window_skin(self):
        im = open_rgb("bmp108.bmp")
        self.assertEqual(im.size, (94, 85))
        for c in corners(im):
            self.assertEqual(im.getpixel(c), MAGENTA, "rounded window corner %s" % (c,))
        # title band: blue, uniform along the tiled stretch
        for y in range(36):
            row = [im.getpixel((x, y)) for x in range(20, 41)]
            self.assertEqual(len(set(row)), 1, "title row %d not uniform across x 20..40" % y)
            self.assertNotIn(MAGENTA, row)
        r, g, b = im.getpixel((47, 18))
        self.assertGreater(b, r + 40, "title band should be blue")
        # client area white
        for pt in ((47, 60), (10, 45), (85, 75)):
            self.assertEqual(im.getpixel(pt), (255, 255, 255), pt)
        # borders tile cleanly and are blue-ish, not white, not magenta
        for x0, x1 in ((0, 4), (90, 94)):
            for x in range(x0, x1):
                col = [im.getpixel((x, y)) for y in range(53, 73)]
                self.assertEqual(len(set(col)), 1, "border column %d not uniform over y 53..72" % x)
                self.assertNotIn(col[0], (MAGENTA, (255, 255, 255)))
            mid = im.getpixel((x0 + 2, 60))
            self.assertGreater(mid[2], mid[0] + 40)
        for y in range(81, 85):
            row = [im.getpixel((x, y)) for x in range(12, 82)]
            self.assertEqual(len(set(row)), 1, "bottom border row %d not uniform" % y)
            self.assertNotIn(row[0], (MAGENTA, (255, 255, 255)))
        self.assertGreater(im.getpixel((47, 82))[2], im.getpixel((47, 82))[0] + 40)

    def test_msgbox_buttons(self):
        im = open_rgb("msgbox_buttons.bmp")
        self.assertEqual(im.size, (225, 22))
        fs = frames(im, 0, 75, 3)
        for i, f in enumerate(fs):
            self.assert_keyed_frame(f, "msgbox frame %d" % i)
            # blank face: the program writes the caption, so the middle is a
            # plain column-uniform gradient
            ref = [f.getpixel((20, y)) for y in range(22)]
            for x in range(20, 56):
                self.assertEqual([f.getpixel((x, y)) for y in range(22)], ref,
                                 "msgbox frame %d column %d not blank" % (i, x))
            # captions are drawn dark, so the face must stay light
            self.assertGreater(luminance(f.getpixel((37, 11))), 150)
        self.assert_all_differ(fs, "msgbox")


class GifChecks(unittest.TestCase):
    def check(self, name, size):
        data = read(name)
        self.assertIn(data[:6], (b"GIF87a", b"GIF89a"))
        w, h = struct.unpack_from("<HH", data, 6)
        self.assertEqual((w, h), (size, size))
        with Image.open(art(name)) as im:
            im.load()
            info = dict(im.info)
            im = im.copy()
        self.assertEqual(im.size, (size, size))
        self.assertEqual(im.mode, "P")
        self.assertIn("transparency", info, "needs a transparent index")
        t = info["transparency"]
        for c in corners(im):
            self.assertEqual(im.getpixel(c), t, "%s corner %s must be transparent" % (name, c))
        self.assertNotEqual(im.getpixel((size // 2, size // 2)), t)
        rgba = im.convert("RGBA")
        clear = sum(1 for p in rgba.getdata() if p[3] == 0)
        self.assertGreater(clear, size * size * 0.05)
        self.assertLess(clear, size * size * 0.5)
        # readable glyph: a light mark on a darker plate near the centre
        lums = [luminance(p) for p in rgba.crop((size // 4, size // 4, 3 * size // 4, 3 * size // 4)).getdata()
                if p[3]]
        self.assertGreater(max(lums) - min(lums), 120)
        return rgba

    def test_login_min(self):
        im = self.check("login_min.gif", 32)
        # a dash: the centre row is light, well above and below it is not
        self.assertGreater(luminance(im.getpixel((16, 16))), 200)
        self.assertLess(luminance(im.getpixel((16, 9))), 200)
        self.assertLess(luminance(im.getpixel((16, 23))), 200)

    def test_login_close(self):
        im = self.check("login_close.gif", 40)
        # a cross: centre and the diagonals are light, the axes off-centre are not
        self.assertGreater(luminance(im.getpixel((20, 20))), 200)
        self.assertGreater(luminance(im.getpixel((15, 15))), 200)
        self.assertGreater(luminance(im.getpixel((25, 15))), 200)
        self.assertLess(luminance(im.getpixel((20, 13))), 200)


def generator_script():
    script = os.path.join(ART_DIR, "make_art.py")
    return script if os.path.isfile(script) else os.path.join(REPO, "resources", "art", "make_art.py")


class Determinism(unittest.TestCase):
    def test_generator_reproduces_the_files(self):
        script = generator_script()
        self.assertTrue(os.path.isfile(script), "generator not found")
        with tempfile.TemporaryDirectory() as tmp:
            res = subprocess.run([sys.executable, script, tmp], capture_output=True, text=True)
            self.assertEqual(res.returncode, 0, res.stderr)
            made = sorted(n for n in os.listdir(tmp))
            self.assertEqual(made, sorted(EXPECTED_FILES))
            for name in EXPECTED_FILES:
                with open(os.path.join(tmp, name), "rb") as fh:
                    fresh = fh.read()
                self.assertTrue(fresh == read(name), "%s differs from a fresh run" % name)


if __name__ == "__main__":
    args = sys.argv[1:]
    if args and not args[0].startswith("-"):
        ART_DIR = os.path.abspath(args.pop(0))
    unittest.main(argv=[sys.argv[0]] + args, verbosity=2)
