#!/usr/bin/env python3
"""Writes the small PNG, BMP and TGA files of tests/data/pictures.

Every colour file holds the same 7 x 5 reference picture (see reference() and the tests), the
grey files the same grey ramp; the variants differ only in how the file stores them. Run from
anywhere: python3 tests/effects/make_test_pictures.py
"""

import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "pictures")
W, H = 7, 5


def reference(x, y):
    return ((37 * x + 11 * y + 5) & 255, (60 * x + 23 * y + 17) & 255, (29 * x * y + 90) & 255)


def grey(x, y):
    return 28 * x + 19 * y + 5


def rows_rgb():
    return [[reference(x, y) for x in range(W)] for y in range(H)]


def palette_and_indices():
    colours = []
    indices = []
    for y in range(H):
        row = []
        for x in range(W):
            c = reference(x, y)
            if c not in colours:
                colours.append(c)
            row.append(colours.index(c))
        indices.append(row)
    return colours, indices


def write(name, data):
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)


# ---------------------------------------------------------------- PNG


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(pixel_rows, colour_type, depth, extra=b"", interlace=False):
    """pixel_rows: rows of tuples of sample values (one tuple per pixel)."""
    ihdr = struct.pack(">IIBBBBB", W, H, depth, colour_type, 0, 0, 1 if interlace else 0)

    def pack_row(samples_row):
        if depth < 8:
            bits = "".join(format(s[0], "0%db" % depth) for s in samples_row)
            bits += "0" * (-len(bits) % 8)
            return bytes(int(bits[i : i + 8], 2) for i in range(0, len(bits), 8))
        fmt = ">H" if depth == 16 else ">B"
        return b"".join(struct.pack(fmt, v) for s in samples_row for v in s)

    raw = b""
    if interlace:
        passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
                  (0, 1, 1, 2)]
        for x0, y0, dx, dy in passes:
            for y in range(y0, H, dy):
                sub = [pixel_rows[y][x] for x in range(x0, W, dx)]
                if sub:
                    raw += b"\x00" + pack_row(sub)
    else:
        for row in pixel_rows:
            raw += b"\x00" + pack_row(row)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + extra +
            chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def make_pngs():
    rgb = rows_rgb()
    write("rgb8.png", png(rgb, 2, 8))
    write("rgb8_interlaced.png", png(rgb, 2, 8, interlace=True))
    write("rgb16.png", png([[tuple(v * 257 for v in p) for p in r] for r in rgb], 2, 16))
    write("rgba8.png", png([[p + ((x * 40) & 255,) for x, p in enumerate(r)] for r in rgb], 6, 8))
    write("rgba8_interlaced.png",
          png([[p + ((x * 40) & 255,) for x, p in enumerate(r)] for r in rgb], 6, 8, interlace=True))
    write("greyalpha8_interlaced.png",
          png([[(grey(x, y), 255 - x) for x in range(W)] for y in range(H)], 4, 8, interlace=True))
    write("rgba16.png",
          png([[tuple(v * 257 for v in p) + (x * 9000,) for x, p in enumerate(r)] for r in rgb], 6,
              16))
    colours, indices = palette_and_indices()
    plte = chunk(b"PLTE", b"".join(bytes(c) for c in colours))
    trns = chunk(b"tRNS", bytes((i * 7) & 255 for i in range(len(colours))))
    write("palette8.png", png([[(i,) for i in r] for r in indices], 3, 8, plte))
    write("palette8_trns.png", png([[(i,) for i in r] for r in indices], 3, 8, plte + trns))
    g = [[(grey(x, y),) for x in range(W)] for y in range(H)]
    write("grey8.png", png(g, 0, 8))
    write("grey16.png", png([[(v * 257,) for (v,) in r] for r in g], 0, 16))
    write("greyalpha8.png", png([[(grey(x, y), 255 - x) for x in range(W)] for y in range(H)], 4, 8))
    # Low depths: the values 0, 1, 2 ... scaled up by the decoder to 0..255.
    for depth in (1, 2, 4):
        top = (1 << depth) - 1
        write("grey%d.png" % depth, png([[((x + y) % (top + 1),) for x in range(W)] for y in range(H)],
                                        0, depth))


# ---------------------------------------------------------------- BMP


def bmp(bits, rows_bytes, top_down=False, header=40, compression=0, masks=None, palette=b"",
        colours_used=0):
    stride = (W * bits + 31) // 32 * 4
    data = b"".join(r + b"\x00" * (stride - len(r)) for r in rows_bytes)
    if header == 12:
        dib = struct.pack("<IHHHH", 12, W, H, 1, bits)
    else:
        dib = struct.pack("<IiiHHIIiiII", header, W, -H if top_down else H, 1, bits, compression,
                          len(data), 2835, 2835, colours_used, 0)
        if masks is not None:
            dib += struct.pack("<III", *masks[:3])
            if header > 52:
                dib += struct.pack("<I", masks[3] if len(masks) > 3 else 0)
        # The 40-byte header is followed by its masks; larger headers hold them and are padded.
        dib += b"\x00" * (header - len(dib) if header > 40 else 0)
    offset = 14 + len(dib) + len(palette)
    head = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    return head + dib + palette + data


def ordered(rows, top_down):
    return rows if top_down else list(reversed(rows))


def make_bmps():
    rgb = rows_rgb()
    bgr = [b"".join(bytes((b, g, r)) for (r, g, b) in row) for row in rgb]
    write("rgb24_bottomup.bmp", bmp(24, ordered(bgr, False)))
    write("rgb24_topdown.bmp", bmp(24, ordered(bgr, True), top_down=True))
    write("rgb24_core.bmp", bmp(24, ordered(bgr, False), header=12))
    bgrx = [b"".join(bytes((b, g, r, 0x5A)) for (r, g, b) in row) for row in rgb]
    write("rgb32_bottomup.bmp", bmp(32, ordered(bgrx, False)))
    write("rgb32_topdown.bmp", bmp(32, ordered(bgrx, True), top_down=True))
    # Bit fields in the V5 header, in an order other than the usual one: X B G R in memory.
    xbgr = [b"".join(bytes((0x77, b, g, r)) for (r, g, b) in row) for row in rgb]
    write("rgb32_bitfields_v5.bmp",
          bmp(32, ordered(xbgr, False), header=124, compression=3,
              masks=(0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF)))
    write("rgb32_bitfields_40.bmp",
          bmp(32, ordered(xbgr, False), header=40, compression=3,
              masks=(0xFF000000, 0x00FF0000, 0x0000FF00)))
    colours, indices = palette_and_indices()
    pal = b"".join(bytes((b, g, r, 0)) for (r, g, b) in colours)
    idx8 = [bytes(r) for r in indices]
    write("palette8.bmp", bmp(8, ordered(idx8, False), palette=pal, colours_used=len(colours)))
    # 4 and 1 bit: a grey ramp of 16 levels and a checker of two colours.
    pal16 = b"".join(bytes((i * 17, i * 17, i * 17, 0)) for i in range(16))
    idx4 = []
    for y in range(H):
        vals = [(x + 3 * y) % 16 for x in range(W)] + [0]
        idx4.append(bytes((vals[i] << 4) | vals[i + 1] for i in range(0, W, 2)))
    write("palette4.bmp", bmp(4, ordered(idx4, False), palette=pal16))
    pal2 = bytes((10, 20, 30, 0, 200, 210, 220, 0))
    idx1 = []
    for y in range(H):
        bits = "".join("1" if (x + y) % 2 else "0" for x in range(W)) + "0"
        idx1.append(bytes((int(bits, 2),)))
    write("palette1.bmp", bmp(1, ordered(idx1, False), palette=pal2))
    # 16 bit 5-6-5 in bit fields: full, none and one middle value per channel.
    px565 = []
    for y in range(H):
        row = b""
        for x in range(W):
            r5, g6, b5 = (31 if x % 2 else 0), (63 if y % 2 else 16), (x * 4)
            row += struct.pack("<H", (r5 << 11) | (g6 << 5) | b5)
        px565.append(row)
    write("rgb16_565.bmp", bmp(16, ordered(px565, False), compression=3,
                               masks=(0xF800, 0x07E0, 0x001F)))


# ---------------------------------------------------------------- TGA


def tga(image_type, depth, pixel_data, top=False, right_to_left=False, cmap=None, footer=False,
        image_id=b""):
    desc = (0x20 if top else 0) | (0x10 if right_to_left else 0) | (8 if depth == 32 else 0)
    if cmap is None:
        head = struct.pack("<BBB", len(image_id), 0, image_type) + struct.pack("<HHB", 0, 0, 0)
    else:
        entries, entry_bits = cmap
        head = struct.pack("<BBB", len(image_id), 1, image_type) + struct.pack(
            "<HHB", 0, len(entries) // (entry_bits // 8), entry_bits)
    head += struct.pack("<HHHHBB", 0, 0, W, H, depth, desc)
    body = head + image_id + (cmap[0] if cmap else b"") + pixel_data
    if footer:
        body += struct.pack("<II", 0, 0) + b"TRUEVISION-XFILE.\x00"
    return body


def file_order(rows, top, right_to_left):
    rs = rows if top else list(reversed(rows))
    return [list(reversed(r)) if right_to_left else r for r in rs]


def rle(pixels):
    """Run-length packets over the whole pixel stream (runs may cross rows)."""
    out = b""
    i = 0
    n = len(pixels)
    while i < n:
        j = i + 1
        while j < n and j - i < 128 and pixels[j] == pixels[i]:
            j += 1
        if j - i >= 2:
            out += bytes((0x80 | (j - i - 1),)) + pixels[i]
            i = j
            continue
        j = i + 1
        while j < n and j - i < 128 and not (j + 1 < n and pixels[j + 1] == pixels[j]):
            j += 1
        out += bytes((j - i - 1,)) + b"".join(pixels[i:j])
        i = j
    return out


def make_tgas():
    rgb = rows_rgb()
    for top in (False, True):
        for rtl in (False, True):
            rows = file_order(rgb, top, rtl)
            px24 = [bytes((b, g, r)) for row in rows for (r, g, b) in row]
            px32 = [bytes((b, g, r, 0xC3)) for row in rows for (r, g, b) in row]
            tag = ("top" if top else "bottom") + ("_rtl" if rtl else "")
            write("rgb24_%s.tga" % tag, tga(2, 24, b"".join(px24), top, rtl))
            write("rgb32_%s.tga" % tag, tga(2, 32, b"".join(px32), top, rtl))
            write("rgb24_rle_%s.tga" % tag, tga(10, 24, rle(px24), top, rtl))
            write("rgb32_rle_%s.tga" % tag, tga(10, 32, rle(px32), top, rtl))
    # Long runs crossing rows, an image id and the version 2 footer.
    flat = [bytes((9, 8, 7))] * (W * H - 3) + [bytes((1, 2, 3))] * 3
    write("runs_across_rows.tga", tga(10, 24, rle(flat), True, footer=True, image_id=b"tesk"))
    g = [[grey(x, y) for x in range(W)] for y in range(H)]
    gp = [bytes((v,)) for row in reversed(g) for v in row]
    write("grey8.tga", tga(3, 8, b"".join(gp)))
    write("grey8_rle.tga", tga(11, 8, rle(gp)))
    colours, indices = palette_and_indices()
    cmap = (b"".join(bytes((b, g_, r)) for (r, g_, b) in colours), 24)
    ip = bytes(i for row in reversed(indices) for i in row)
    write("palette8.tga", tga(1, 8, ip, cmap=cmap))
    write("palette8_rle.tga", tga(9, 8, rle([bytes((i,)) for i in ip]), cmap=cmap))
    px16 = b""
    for row in reversed(range(H)):
        for x in range(W):
            r5, g5, b5 = (31 if x % 2 else 0), (16 if row % 2 else 31), x * 4
            px16 += struct.pack("<H", (r5 << 10) | (g5 << 5) | b5)
    write("rgb16.tga", tga(2, 16, px16))


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    make_pngs()
    make_bmps()
    make_tgas()
