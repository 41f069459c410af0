#!/usr/bin/env python3
"""Draws the program's small pictures (button glyphs, the icon) as BMP and ICO files.

Run from this folder; the files it writes are committed beside the .rc script."""
import struct

T = (255, 0, 255)  # transparent: the colour of the bottom-left pixel


def bmp(path, rows):
    """rows: top to bottom, each a list of (r, g, b); written as a 24-bit BMP."""
    h, w = len(rows), len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = b""
    for row in reversed(rows):
        line = b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in row)
        data += line + b"\0" * (stride - len(line))
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    open(path, "wb").write(header + info + data)


def canvas(w, h, fill=T):
    return [[fill] * w for _ in range(h)]


def rect(c, x0, y0, x1, y1, col):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            c[y][x] = col


def frame(c, x0, y0, x1, y1, col):
    for x in range(x0, x1 + 1):
        c[y0][x] = c[y1][x] = col
    for y in range(y0, y1 + 1):
        c[y][x0] = c[y][x1] = col


def art(c, pattern, x0, y0, palette):
    for dy, line in enumerate(pattern):
        for dx, ch in enumerate(line):
            if ch in palette:
                c[y0 + dy][x0 + dx] = palette[ch]


NAVY, MAROON, GREY, WHITE, BLACK = (0, 0, 128), (128, 0, 0), (128, 128, 128), (255, 255, 255), (0, 0, 0)
YELLOW, BLUE, SILVER, GREEN = (255, 204, 0), (40, 90, 200), (200, 200, 200), (0, 128, 0)

# "Pomoc": a question mark in a blue disc
c = canvas(16, 16)
art(c, ["     xxxxxx     ",
        "   xxxxxxxxxx   ",
        "  xxxxxxxxxxxx  ",
        " xxxxx....xxxxx ",
        " xxxx.xxxx.xxxx ",
        "xxxxxxxxxx.xxxxx",
        "xxxxxxxxx.xxxxxx",
        "xxxxxxxx.xxxxxxx",
        "xxxxxxx.xxxxxxxx",
        "xxxxxxx.xxxxxxxx",
        " xxxxxxxxxxxxxx ",
        " xxxxxx.xxxxxxx ",
        "  xxxxxxxxxxxx  ",
        "   xxxxxxxxxx   ",
        "     xxxxxx     ",
        "                "], 0, 0, {"x": BLUE, ".": WHITE})
bmp("help.bmp", c)

# "Drukuj obraz katalogu": a printer with a sheet
c = canvas(16, 16)
rect(c, 4, 1, 11, 6, WHITE); frame(c, 4, 1, 11, 6, BLACK)
for y in (3, 5):
    rect(c, 6, y, 9, y, GREY)
rect(c, 1, 6, 14, 11, SILVER); frame(c, 1, 6, 14, 11, BLACK)
rect(c, 11, 8, 12, 8, GREEN)
rect(c, 4, 11, 11, 14, WHITE); frame(c, 4, 11, 11, 14, BLACK)
bmp("print.bmp", c)

# "Zapisz obraz katalogu w pliku": a floppy disk
c = canvas(16, 16)
rect(c, 1, 1, 14, 14, NAVY)
rect(c, 4, 1, 11, 6, WHITE); rect(c, 9, 2, 10, 5, NAVY)
rect(c, 3, 9, 12, 14, SILVER)
for y in (10, 12):
    rect(c, 4, y, 11, y, GREY)
c[15][0] = T
bmp("save.bmp", c)

# "Koniec": an open door with an arrow
c = canvas(16, 16)
rect(c, 2, 1, 9, 14, (150, 90, 40)); frame(c, 2, 1, 9, 14, BLACK)
rect(c, 7, 7, 7, 8, YELLOW)
art(c, ["   x  ",
        "   xx ",
        "xxxxxx",
        "xxxxxx",
        "   xx ",
        "   x  "], 10, 5, {"x": MAROON})
bmp("exit.bmp", c)

# "Zamknij okno": a cross
c = canvas(16, 16)
for i in range(3, 13):
    for d in (0, 1):
        c[i][min(15, i + d)] = MAROON
        c[i][max(0, 15 - i - d)] = MAROON
bmp("close.bmp", c)

# "Odwiedź witrynę www autora": a globe with its meridians and parallels
c = canvas(16, 16)
art(c, ["     xxxxxx     ",
        "   xx..x...xx   ",
        "  x...x.x....x  ",
        " x...x...x....x ",
        " xxxxxxxxxxxxxx ",
        "x....x...x....xx",
        "x...x.....x....x",
        "xxxxxxxxxxxxxxxx",
        "x...x.....x....x",
        "x....x...x....xx",
        " xxxxxxxxxxxxxx ",
        " x...x...x....x ",
        "  x...x.x....x  ",
        "   xx..x...xx   ",
        "     xxxxxx     ",
        "                "], 0, 0, {"x": NAVY, ".": (120, 180, 240)})
bmp("web.bmp", c)

# "Wyślij pocztę": an envelope
c = canvas(16, 16)
rect(c, 1, 3, 14, 12, WHITE); frame(c, 1, 3, 14, 12, GREY)
for i in range(6):  # the flap: two slopes meeting in the middle
    c[4 + i * 4 // 5][2 + i] = MAROON
    c[4 + i * 4 // 5][13 - i] = MAROON
bmp("mail.bmp", c)

# The spin edit's arrows, 9 x 6
up = canvas(9, 6)
art(up, ["         ",
         "    x    ",
         "   xxx   ",
         "  xxxxx  ",
         " xxxxxxx ",
         "         "], 0, 0, {"x": BLACK})
bmp("spinup.bmp", up)
bmp("spindown.bmp", [row[:] for row in reversed(up)])


def icon(path, size=32):
    """A folder with a listing sheet: a 32-bit icon with its AND mask."""
    c = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def r(x0, y0, x1, y1, col):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                c[y][x] = col + (255,)

    r(2, 8, 13, 11, (214, 160, 40))
    r(2, 10, 29, 28, (240, 190, 60))
    r(8, 3, 25, 22, (255, 255, 255))
    for x in range(8, 26):
        c[3][x] = c[22][x] = (90, 90, 90, 255)
    for y in range(3, 23):
        c[y][8] = c[y][25] = (90, 90, 90, 255)
    for i, y in enumerate(range(6, 21, 3)):
        r(11, y, 11, y, (128, 0, 0))
        r(13, y, 22 - (i % 2) * 3, y, (0, 0, 128))
    r(2, 16, 29, 28, (246, 200, 80))
    for x in range(2, 30):
        c[16][x] = c[28][x] = (170, 120, 20, 255)
    for y in range(16, 29):
        c[y][2] = c[y][29] = (170, 120, 20, 255)
    xor = b"".join(struct.pack("BBBB", b, g, rr, a) for row in reversed(c) for (rr, g, b, a) in row)
    mask_stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(c):
        bits = 0
        line = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += bytes(line)
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    header = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), 6 + 16)
    open(path, "wb").write(header + entry + image)


icon("orvand.ico")


# The lists' glyphs: 16 x 15 in the sixteen standard colours, written as 4-bit BMPs.
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
         (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255), (255, 0, 255),
         (0, 255, 255), (255, 255, 255)]


def bmp16(path, pattern, palette):
    """pattern: rows top to bottom, one character a pixel; palette maps characters to VGA16 colours."""
    h, w = len(pattern), len(pattern[0])
    index = {col: i for i, col in enumerate(VGA16)}
    stride = ((w * 4 + 31) // 32) * 4
    data = b""
    for line in reversed(pattern):
        assert len(line) == w, path
        nibbles = [index[palette.get(ch, T)] for ch in line]
        row = bytes((nibbles[x] << 4) | (nibbles[x + 1] if x + 1 < w else 0) for x in range(0, w, 2))
        data += row + b"\0" * (stride - len(row))
    colours = b"".join(struct.pack("BBBB", b, g, r, 0) for (r, g, b) in VGA16)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(data), 2835, 2835, 16, 16)
    open(path, "wb").write(header + info + colours + data)


OLIVE, DARKGREY = (128, 128, 0), (128, 128, 128)
FOLDER = {"k": BLACK, "o": OLIVE, "y": (255, 255, 0), "w": WHITE, "g": DARKGREY, "s": (192, 192, 192)}

# A closed folder: the subfolders of the directory list, folder entries of the file list.
bmp16("closedfolder.bmp", [
    "                ",
    "                ",
    "  kkkkk         ",
    " kwyyyyk        ",
    "kwyyyyyykkkkkkk ",
    "kwyyyyyyyyyyyyok",
    "kwyyyyyyyyyyyyok",
    "kwyyyyyyyyyyyyok",
    "kwyyyyyyyyyyyyok",
    "kwyyyyyyyyyyyyok",
    "kwyyyyyyyyyyyyok",
    "kooooooooooooook",
    "kkkkkkkkkkkkkkkk",
    "                ",
    "                "], FOLDER)

# An open folder: the root and the ancestors of the folder shown.
bmp16("openfolder.bmp", [
    "                ",
    "                ",
    "  kkkkk         ",
    " kwyyyyk        ",
    "kwyyyyyykkkkkk  ",
    "kwyyyyyyyyyyyk  ",
    "kwyyykkkkkkkkkkk",
    "kwyykwyyyyyyyyyk",
    "kwykwyyyyyyyyyk ",
    "kwykwyyyyyyyyyk ",
    "kykwyyyyyyyyyk  ",
    "kykwyyyyyyyyyk  ",
    "kkkkkkkkkkkkk   ",
    "                ",
    "                "], FOLDER)

# The folder shown: open, with a sheet standing in it.
bmp16("currentfolder.bmp", [
    "                ",
    "     kkkkkkk    ",
    "  kkkkwwwwwkk   ",
    " kwykwgggwwwk   ",
    "kwyykwwwwwwwk   ",
    "kwyykwgggggwkk  ",
    "kwyykkkkkkkkkkkk",
    "kwyykwyyyyyyyyyk",
    "kwykwyyyyyyyyyk ",
    "kwykwyyyyyyyyyk ",
    "kykwyyyyyyyyyk  ",
    "kykwyyyyyyyyyk  ",
    "kkkkkkkkkkkkk   ",
    "                ",
    "                "], FOLDER)

# A program: a small window with its title bar.
bmp16("executable.bmp", [
    "                ",
    "                ",
    " kkkkkkkkkkkkkk ",
    " knnnnnnnnnnwnk ",
    " kkkkkkkkkkkkkk ",
    " kwwwwwwwwwwwwk ",
    " kwwwwwwwwwwwwk ",
    " kwwwwwwwwwwwwk ",
    " kwwwwwwwwwwwwk ",
    " kwwwwwwwwwwwwk ",
    " kwwwwwwwwwwwwk ",
    " kwwwwwwwwwwwwk ",
    " kkkkkkkkkkkkkk ",
    "                ",
    "                "], {"k": BLACK, "n": NAVY, "w": WHITE})

# Any other file: a sheet with a turned-down corner and lines of text.
bmp16("unknownfile.bmp", [
    "   kkkkkkkk     ",
    "   kwwwwwwkk    ",
    "   kwwwwwwkwk   ",
    "   kwggggwkkkk  ",
    "   kwwwwwwwwwk  ",
    "   kwgggggggwk  ",
    "   kwwwwwwwwwk  ",
    "   kwgggggggwk  ",
    "   kwwwwwwwwwk  ",
    "   kwgggggggwk  ",
    "   kwwwwwwwwwk  ",
    "   kwggggggwwk  ",
    "   kwwwwwwwwwk  ",
    "   kkkkkkkkkkk  ",
    "                "], {"k": BLACK, "w": WHITE, "g": DARKGREY})
