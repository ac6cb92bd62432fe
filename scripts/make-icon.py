#!/usr/bin/env python3
"""Draws res/app.ico: a green folder with a white play mark, at 16, 32 and 48 pixels."""
import struct
import sys


def pixel(x, y, size):
    u, v = (x + 0.5) / size, (y + 0.5) / size  # v grows downwards
    folder = 0.08 <= u <= 0.92 and 0.25 <= v <= 0.88
    tab = 0.08 <= u <= 0.45 and 0.15 <= v <= 0.27
    if not (folder or tab):
        return (0, 0, 0, 0)
    # play triangle, pointing right, centred in the folder body
    if 0.38 <= u <= 0.68 and folder:
        half = (0.68 - u) / 0.30 * 0.20
        if abs(v - 0.565) <= half:
            return (255, 255, 255, 255)
    return (0x2e, 0xa0, 0x43, 255) if folder else (0x24, 0x80, 0x35, 255)


def image(size):
    rows = []
    for y in reversed(range(size)):  # bottom-up
        for x in range(size):
            r, g, b, a = pixel(x, y, size)
            rows.append(struct.pack("<BBBB", b, g, r, a))
    xor = b"".join(rows)
    mask_row = ((size + 31) // 32) * 4
    and_mask = b"\0" * (mask_row * size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    return header + xor + and_mask


def main(path):
    sizes = [16, 32, 48]
    images = [image(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "res/app.ico")
