#!/usr/bin/env python3
"""Writes HAND-M.CUR: a 32x32 pointing-hand cursor in the Windows CUR format
(an ICO file of type 2 whose directory entry carries the hotspot)."""
import struct
import sys

# '#' outline, '.' fill, ' ' transparent. The hotspot is the fingertip.
HAND = [
    "      ##                        ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..#                       ",
    "     #..###                     ",
    "     #..#..###                  ",
    "     #..#..#..##                ",
    "     #..#..#..#.#               ",
    "  ## #..#..#..#..#              ",
    " #..##........#..#              ",
    " #...#...........#              ",
    "  #..#...........#              ",
    "  #..............#              ",
    "   #.............#              ",
    "   #............#               ",
    "    #...........#               ",
    "    #..........#                ",
    "     #.........#                ",
    "     #.........#                ",
    "     ###########                ",
]
HOTSPOT = (6, 0)
SIZE = 32


def pixel(x, y):
    row = HAND[y] if y < len(HAND) else ""
    ch = row[x] if x < len(row) else " "
    if ch == "#":
        return (0, 0, 0, 255)
    if ch == ".":
        return (255, 255, 255, 255)
    return (0, 0, 0, 0)


def cursor_bytes():
    # Bitmap rows run bottom-up; the height counts the colour and the mask halves.
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):
        bits = 0
        for x in range(SIZE):
            r, g, b, a = pixel(x, y)
            colour += bytes((b, g, r, a))
            bits = (bits << 1) | (0 if a else 1)
        mask += struct.pack(">I", bits)
    image = header + bytes(colour) + bytes(mask)
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOTSPOT[0], HOTSPOT[1], len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    out = sys.argv[1] if len(sys.argv) > 1 else "HAND-M.CUR"
    with open(out, "wb") as f:
        f.write(cursor_bytes())
