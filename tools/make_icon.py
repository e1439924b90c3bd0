#!/usr/bin/python3
"""Draws the host's icon, host/Lumora.ico: a 32x32 and a 48x48 image at 8 bits
per pixel. The picture is a folder with a clock hand on it (recent places).
Run it again after changing the drawing; the build uses the committed file."""
import struct
import sys

PALETTE = [(0, 0, 0), (255, 255, 255), (40, 110, 200), (250, 200, 60), (200, 140, 20), (30, 30, 30)]


def draw(size):
    s = size / 32.0
    px = [[0] * size for _ in range(size)]
    mask = [[1] * size for _ in range(size)]   # 1 = transparent

    def fill(x0, y0, x1, y1, c):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                px[y][x] = c
                mask[y][x] = 0

    fill(2, 8, 14, 12, 4)      # folder tab
    fill(2, 11, 30, 28, 3)     # folder body
    fill(2, 27, 30, 28, 4)     # folder bottom edge
    cx, cy, r = 20 * s, 18 * s, 8 * s
    for y in range(size):
        for x in range(size):
            d = ((x + 0.5 - cx) ** 2 + (y + 0.5 - cy) ** 2) ** 0.5
            if d <= r:
                px[y][x] = 5 if d > r - 1.6 * s else 1
                mask[y][x] = 0
    fill(19.5, 12, 21, 19, 2)  # minute hand
    fill(19.5, 17.5, 25, 19, 2)  # hour hand
    return px, mask


def image(size):
    px, mask = draw(size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 8, 0, 0, 0, 0, 256, 0)
    palette = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in PALETTE + [(0, 0, 0)] * (256 - len(PALETTE)))
    xor = b''.join(bytes(px[y]) for y in reversed(range(size)))
    row = ((size + 31) // 32) * 4
    andmask = b''
    for y in reversed(range(size)):
        bits = 0
        out = bytearray(row)
        for x in range(size):
            if mask[y][x]:
                out[x // 8] |= 0x80 >> (x % 8)
        andmask += bytes(out)
    return header + palette + xor + andmask


def main(path):
    images = [image(32), image(48)]
    data = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, img in zip((32, 48), images):
        data += struct.pack('<BBBBHHII', size, size, 0, 0, 1, 8, len(img), offset)
        offset += len(img)
    data += b''.join(images)
    with open(path, 'wb') as f:
        f.write(data)


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'host/Lumora.ico')
