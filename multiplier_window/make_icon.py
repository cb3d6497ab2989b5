#!/usr/bin/env python3
"""Draws icon 113 of the Multiplier window, a 25 x 15 picture in 24-bit colour of the window's
own grid: the pale yellow area, the cyan strip of the current band, dark labels and a frame.

Writes resources/multiplier.ico. Run it again after changing the picture; the build uses the
committed file.
"""
import pathlib
import struct

WIDTH, HEIGHT = 25, 15
FRAME = (40, 60, 120)
AREA = (255, 250, 198)
STRIP = (198, 255, 255)
LABEL = (60, 60, 60)


def picture():
    rows = [[AREA] * WIDTH for _ in range(HEIGHT)]
    for y in range(5, 9):
        for x in range(1, WIDTH - 1):
            rows[y][x] = STRIP
    for y in (2, 6, 10):
        for start in (3, 9, 14, 19):
            for x in range(start, min(start + 3, WIDTH - 1)):
                rows[y][x] = LABEL
                rows[y + 1][x] = LABEL
    for x in range(WIDTH):
        rows[0][x] = rows[HEIGHT - 1][x] = FRAME
    for y in range(HEIGHT):
        rows[y][0] = rows[y][WIDTH - 1] = FRAME
    return rows


def ico(rows):
    colour_stride = (WIDTH * 3 + 3) & ~3
    mask_stride = ((WIDTH + 31) // 32) * 4
    colour = b""
    for row in reversed(rows):  # bottom-up, blue-green-red
        line = b"".join(bytes((b, g, r)) for (r, g, b) in row)
        colour += line + b"\0" * (colour_stride - len(line))
    mask = b"\0" * (mask_stride * HEIGHT)  # every pixel opaque
    image = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT * 2, 1, 24, 0,
                        len(colour) + len(mask), 0, 0, 0, 0) + colour + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", WIDTH, HEIGHT, 0, 0, 1, 24, len(image), 6 + 16)
    return directory + entry + image


if __name__ == "__main__":
    target = pathlib.Path(__file__).resolve().parent.parent / "resources" / "multiplier.ico"
    target.write_bytes(ico(picture()))
