#!/usr/bin/env python3
"""Draws Dendrix's built-in bitmaps and writes them as Windows BMP files.

  * model/images/TREE*.bmp      the node pictures of the shared image pool,
                                16 colours (4 bits per pixel);
  * canvas/patterns/KORBRUSH*.bmp  the twelve extra brush patterns, 8 x 8,
                                monochrome (1 bit per pixel);
  * model/images/images.qrc and canvas/patterns/patterns.qrc, the resource
    lists that compile them into the libraries.

Every picture is held below as rows of palette characters. After editing one,
re-run from the repository root and commit the script with the .bmp files:

    python3 tools/make_bitmaps.py

The output depends only on this file, so an unchanged script rewrites the
same bytes. The script refuses pictures of the wrong size, unknown palette
characters and node pictures whose top-left pixel is not the key colour.
"""

import os
import struct
import sys

# The classic 16-colour palette, in its usual index order, with the
# character each picture uses for it.
PALETTE = [
    ("k", (0x00, 0x00, 0x00)),  # 0 black
    ("r", (0x80, 0x00, 0x00)),  # 1 maroon
    ("g", (0x00, 0x80, 0x00)),  # 2 green
    ("o", (0x80, 0x80, 0x00)),  # 3 olive
    ("n", (0x00, 0x00, 0x80)),  # 4 navy
    ("p", (0x80, 0x00, 0x80)),  # 5 purple
    ("t", (0x00, 0x80, 0x80)),  # 6 teal
    ("s", (0xC0, 0xC0, 0xC0)),  # 7 silver
    ("d", (0x80, 0x80, 0x80)),  # 8 grey
    ("R", (0xFF, 0x00, 0x00)),  # 9 red
    ("G", (0x00, 0xFF, 0x00)),  # 10 lime
    ("y", (0xFF, 0xFF, 0x00)),  # 11 yellow
    ("b", (0x00, 0x00, 0xFF)),  # 12 blue
    (".", (0xFF, 0x00, 0xFF)),  # 13 magenta: the transparent key, never drawn
    ("c", (0x00, 0xFF, 0xFF)),  # 14 aqua
    ("w", (0xFF, 0xFF, 0xFF)),  # 15 white
]
INDEX = {ch: i for i, (ch, _) in enumerate(PALETTE)}
KEY = "."

# ---------------------------------------------------------------------------
# Node pictures. The program makes a node picture transparent with the colour
# of its top-left pixel, so "." (magenta) is the background of every picture
# and is used for nothing else.

FOLDER_CLOSED = [
    "...............",
    ".kkkkk.........",
    "kwyyyyk........",
    "kwyyyyykkkkkkk.",
    "kwwwwwwwwwwwwyk",
    "kwyyyyyyyyyyyok",
    "kwyyyyyyyyyyyok",
    "kwyyyyyyyyyyyok",
    "kwyyyyyyyyyyyok",
    "kwyyyyyyyyyyyok",
    "kwyyyyyyyyyyyok",
    "koooooooooooook",
    ".kkkkkkkkkkkkk.",
]

FOLDER_OPEN = [
    "...............",
    ".kkkkk.........",
    "kwyyyyk........",
    "kwyyyyykkkkkk..",
    "kwyyyyyyyyyyk..",
    "kwyyyyyyyyyyk..",
    "kwykkkkkkkkkkkk",
    "kwykwwwwwwwwwwk",
    "kwkwyyyyyyyyyk.",
    "kwkwyyyyyyyyok.",
    "kkwyyyyyyyyok..",
    "kkwyyyyyyyyok..",
    "kkkkkkkkkkkkk..",
]


def compose(width, height, *parts):
    """A picture of the given size made of (picture, x, y) parts painted in
    order on the key colour; the key colour of a part leaves what is below."""
    rows = [list(KEY * width) for _ in range(height)]
    for picture, x, y in parts:
        for dy, row in enumerate(picture):
            for dx, ch in enumerate(row):
                if ch != KEY:
                    rows[y + dy][x + dx] = ch
    return ["".join(row) for row in rows]


# A monitor with a blue screen, used by the computers.
MONITOR = [
    ".kkkkkkkkk.",
    "kwwwwwwwwsk",
    "kwkkkkkkdsk",
    "kwkbbbbcdsk",
    "kwkbbbbbdsk",
    "kwkbbbbbdsk",
    "kwdddddddsk",
    ".kkkkkkkkk.",
]

# The same, smaller, for the network.
SMALL_MONITOR = [
    ".kkkkkkk.",
    "kwwwwwwdk",
    "kwkkkkkdk",
    "kwkbbbcdk",
    "kwkbbbbdk",
    "kwddddddk",
    ".kkkkkkk.",
    "...kdk...",
]

# A monitor showing the desktop: icons, a window and the task bar.
DESKTOP = [
    "................",
    ".kkkkkkkkkkkkkk.",
    "kwwwwwwwwwwwwwdk",
    "kwkkkkkkkkkkkkdk",
    "kwktyytttttttkdk",
    "kwktyytbbbbbtkdk",
    "kwkttttwwwwwtkdk",
    "kwktwwtwwwwwtkdk",
    "kwksssssssssskdk",
    "kwkkkkkkkkkkkkdk",
    "kwssssssssssGsdk",
    ".kkkkkkkkkkkkkk.",
    "......kddk......",
    "....kssssssk....",
    "...kwssssssdk...",
    "...kkkkkkkkkk...",
]

MY_PC = compose(15, 14,
    (MONITOR, 2, 0),
    (["kdk"], 6, 8),
    ([".kkkkkkkkkkkkk.",
      "kwwwwwwwwwwwwsk",
      "kwskkkkksssGssk",
      "kddddddddddddsk",
      ".kkkkkkkkkkkkk."], 0, 9))

# Two computers joined by a cable.
NETWORK = compose(16, 16,
    (SMALL_MONITOR, 0, 0),
    (SMALL_MONITOR, 7, 8),
    (["k"] * 7 + ["kkkkkk"], 4, 8))

DRIVE_TOP = [
    "...kkkkkkkkkkkkk",
    "..kwwwwwwwwwwwkk",
    ".kwwwwwwwwwwwkdk",
    "kkkkkkkkkkkkkddk",
]

FLOPPY_DRIVE = DRIVE_TOP + [
    "kwsssssssssskddk",
    "kwkkkkkkkkkskddk",
    "kwsssssssssskdk.",
    "kwGssssssddskk..",
    "kkkkkkkkkkkkk...",
]

HARD_DISK = DRIVE_TOP + [
    "kwsssssssssskddk",
    "kwsssssssssskddk",
    "kwsssssssssskdk.",
    "kwdddddddGGdkk..",
    "kkkkkkkkkkkkk...",
]

# A drive on the network cable.
NET_SHARE = DRIVE_TOP + [
    "kwsssssssssskddk",
    "kwdddddddGGdkdk.",
    "kkkkkkkkkkkkkk..",
    "......kddk......",
    "......kddk......",
    "kkkkkkkddkkkkkkk",
    "dddddddddddddddd",
]

RECYCLE_BIN = [
    "................",
    "......kkk.......",
    "....kkwwwkk.....",
    "...kwwswwwwk....",
    "..kkkkkkkkkkkk..",
    ".kwwwwwwwwwwwsk.",
    ".kkkkkkkkkkkkkk.",
    "..kwsdsdsdsdsk..",
    "..kwsdsdsdsdsk..",
    "..kwsdsdsdsdsk..",
    "...kwdsdsdsdk...",
    "...kwdsdsdsdk...",
    "...kwdsdsdsdk...",
    "...kwdsdsdsdk...",
    "....kdddddkk....",
    ".....kkkkkk.....",
]

# A monitor and keyboard beside a tower case.
COMPUTER = compose(16, 16,
    (["kkkkk",
      "kwsdk",
      "kdddk",
      "kwsdk",
      "kdddk",
      "kwsdk",
      "kwsdk",
      "kwsdk",
      "kwsdk",
      "kwsdk",
      "kwGdk",
      "kwsdk",
      "kdddk",
      "kkkkk"], 11, 0),
    (MONITOR, 0, 2),
    (["kdk"], 4, 10),
    (["ksssssk"], 2, 11),
    (["kkkkkkkkkk",
      "kwswswswsk",
      "kkkkkkkkkk"], 0, 13))

# A globe on its stand.
WORLD = [
    "...kkkkk...",
    ".kkbbggbkk.",
    ".kcbgggbbk.",
    "kcbbggbbbgk",
    "kbbbbgbbggk",
    "kbgbbbbgggk",
    "kbggbbbbgbk",
    "kbgggbbbbbk",
    ".kbggbbbbk.",
    ".kkbgbbbkk.",
    "...kkkkk...",
    ".....k.....",
    "....kdk....",
    "....kdk....",
    "..kkssskk..",
    ".kkkkkkkkk.",
]

CHECK_BOX_EMPTY = [
    ".dddddddddd.",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    ".dddddddddd.",
]

CHECK_BOX_CHECKED = [
    ".dddddddddd.",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    "dwwwwwwwwkwd",
    "dwwwwwwwkkwd",
    "dwwkwwwkkkwd",
    "dwwkkwkkkwwd",
    "dwwkkkkkwwwd",
    "dwwwkkkwwwwd",
    "dwwwwkwwwwwd",
    "dwwwwwwwwwwd",
    ".dddddddddd.",
]

RADIO_EMPTY = [
    "....dddd....",
    "..ddwwwwdd..",
    ".dwwwwwwwwd.",
    ".dwwwwwwwwd.",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    "dwwwwwwwwwwd",
    ".dwwwwwwwwd.",
    ".dwwwwwwwwd.",
    "..ddwwwwdd..",
    "....dddd....",
]

RADIO_CHECKED = [
    "....dddd....",
    "..ddwwwwdd..",
    ".dwwwwwwwwd.",
    ".dwwwwwwwwd.",
    "dwwwdkkdwwwd",
    "dwwwkkkkwwwd",
    "dwwwkkkkwwwd",
    "dwwwdkkdwwwd",
    ".dwwwwwwwwd.",
    ".dwwwwwwwwd.",
    "..ddwwwwdd..",
    "....dddd....",
]


def beside(box):
    """A check box or radio button one row down at the left edge with the
    closed folder at the right edge, 30 x 13."""
    return compose(30, 13, (box, 0, 1), (FOLDER_CLOSED, 15, 0))


# Name, picture, expected width and height.
NODE_PICTURES = [
    ("TREEFLDCLOSE", FOLDER_CLOSED, 15, 13),
    ("TREEFLDOPEN", FOLDER_OPEN, 15, 13),
    ("TREEDESKTOP", DESKTOP, 16, 16),
    ("TREEMYPC", MY_PC, 15, 14),
    ("TREENETWORKNEI", NETWORK, 16, 16),
    ("TREEFLOPPY3", FLOPPY_DRIVE, 16, 9),
    ("TREERECYCLEBIN", RECYCLE_BIN, 16, 16),
    ("TREEHARDDISK", HARD_DISK, 16, 9),
    ("TREENETSHARE", NET_SHARE, 16, 11),
    ("TREECOMPUTER", COMPUTER, 16, 16),
    ("TREEWORLD", WORLD, 11, 16),
    ("TREEFLDCLOSECHECKED", beside(CHECK_BOX_CHECKED), 30, 13),
    ("TREEFLDCLOSEUNCHECK", beside(CHECK_BOX_EMPTY), 30, 13),
    ("TREECHECKED", CHECK_BOX_CHECKED, 12, 12),
    ("TREEUNCHECKED", CHECK_BOX_EMPTY, 12, 12),
    ("TREERADIOCHECKED", RADIO_CHECKED, 12, 12),
    ("TREERADIOUNCHECKED", RADIO_EMPTY, 12, 12),
    ("TREEFLDRADIOCHECKED", beside(RADIO_CHECKED), 30, 13),
    ("TREEFLDRADIOUNCHECKED", beside(RADIO_EMPTY), 30, 13),
]

# ---------------------------------------------------------------------------
# Brush patterns: "#" is black (drawn), "." white (transparent when filled).

_FILL_25 = ["#.#.#.#.", "........", ".#.#.#.#", "........"] * 2


def _invert(rows):
    return ["".join("." if c == "#" else "#" for c in row) for row in rows]


def _pattern(black):
    return ["".join("#" if black(x, y) else "." for x in range(8)) for y in range(8)]


_ZIGZAG = [0, 1, 2, 3, 3, 2, 1, 0]

BRUSH_PATTERNS = [
    ("KORBRUSH1", _invert(_FILL_25)),                                  # Fill 80%
    ("KORBRUSH2", _pattern(lambda x, y: (x + y) % 2 == 0               # Fill 60%
                           or (y % 4 == 0 and x % 4 == 1)
                           or (y % 4 == 2 and x % 4 == 3))),
    ("KORBRUSH3", _pattern(lambda x, y: (x + y) % 2 == 0               # Fill 40%
                           and not (y % 4 == 0 and x % 4 == 0)
                           and not (y % 4 == 2 and x % 4 == 2))),
    ("KORBRUSH4", _FILL_25),                                           # Fill 20%
    ("KORBRUSH5", _pattern(lambda x, y: (y % 4 == 0 and x % 4 == 0)    # Fill 10%
                           or (y % 4 == 2 and x % 4 == 2))),
    ("KORBRUSH6", _pattern(lambda x, y: y % 4 == _ZIGZAG[x])),         # Zig zag
    ("KORBRUSH7", _pattern(lambda x, y: x % 4 == 0)),                  # Vertical small
    ("KORBRUSH8", _pattern(lambda x, y: y % 4 == 0)),                  # Horiz. small
    ("KORBRUSH9", _pattern(lambda x, y: (x - y) % 4 == 0)),            # Diag. small
    ("KORBRUSH10", _pattern(lambda x, y: (x + y) % 4 == 3)),           # Back Diag. small
    ("KORBRUSH11", _pattern(lambda x, y: x % 4 == 0 or y % 4 == 0)),   # Cross small
    ("KORBRUSH12", _pattern(lambda x, y: (x - y) % 4 == 0              # Diag. Cross small
                            or (x + y) % 4 == 0)),
]

# ---------------------------------------------------------------------------
# BMP writing: BITMAPFILEHEADER, BITMAPINFOHEADER (uncompressed), the palette,
# then the rows bottom-up, each padded to a multiple of four bytes.

PIXELS_PER_METRE = 2835  # 72 dots per inch


def bmp_bytes(rows, bits, palette):
    height = len(rows)
    width = len(rows[0])
    stride = ((width * bits + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(stride)
        for x, index in enumerate(row):
            shift = 8 - bits - (x * bits) % 8
            line[(x * bits) // 8] |= index << shift
        pixels += line
    colours = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    offset = 14 + 40 + len(colours)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info_header = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0,
                              len(pixels), PIXELS_PER_METRE, PIXELS_PER_METRE,
                              len(palette), 0)
    return file_header + info_header + colours + bytes(pixels)


def check_size(name, rows, width, height):
    if len(rows) != height or any(len(row) != width for row in rows):
        sizes = sorted({len(row) for row in rows})
        raise SystemExit(f"{name}: expected {width} x {height}, "
                         f"got {len(rows)} rows of widths {sizes}")


def node_bitmap(name, rows, width, height):
    check_size(name, rows, width, height)
    for y, row in enumerate(rows):
        for x, ch in enumerate(row):
            if ch not in INDEX:
                raise SystemExit(f"{name}: unknown colour {ch!r} at ({x}, {y})")
    if rows[0][0] != KEY:
        raise SystemExit(f"{name}: the top-left pixel must be the key colour")
    indexed = [[INDEX[ch] for ch in row] for row in rows]
    return bmp_bytes(indexed, 4, [rgb for _, rgb in PALETTE])


def pattern_bitmap(name, rows):
    check_size(name, rows, 8, 8)
    if any(ch not in "#." for row in rows for ch in row):
        raise SystemExit(f"{name}: only '#' and '.' are allowed")
    indexed = [[0 if ch == "#" else 1 for ch in row] for row in rows]
    return bmp_bytes(indexed, 1, [(0, 0, 0), (0xFF, 0xFF, 0xFF)])


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def qrc(prefix, names):
    files = "".join(f"    <file>{name}.bmp</file>\n" for name in names)
    return (f'<!DOCTYPE RCC>\n<RCC version="1.0">\n  <qresource prefix="{prefix}">\n'
            f"{files}  </qresource>\n</RCC>\n").encode()


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    images = os.path.join(root, "model", "images")
    patterns = os.path.join(root, "canvas", "patterns")
    os.makedirs(images, exist_ok=True)
    os.makedirs(patterns, exist_ok=True)
    for name, rows, width, height in NODE_PICTURES:
        write(os.path.join(images, name + ".bmp"), node_bitmap(name, rows, width, height))
    for name, rows in BRUSH_PATTERNS:
        write(os.path.join(patterns, name + ".bmp"), pattern_bitmap(name, rows))
    write(os.path.join(images, "images.qrc"),
          qrc("/dendrix/images", [name for name, *_ in NODE_PICTURES]))
    write(os.path.join(patterns, "patterns.qrc"),
          qrc("/dendrix/patterns", [name for name, _ in BRUSH_PATTERNS]))
    print(f"wrote {len(NODE_PICTURES)} node pictures and {len(BRUSH_PATTERNS)} patterns")


if __name__ == "__main__":
    sys.exit(main())
