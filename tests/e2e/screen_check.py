"""Reads a screenshot in X's window-dump format (xwd) and tells what a rectangle of it holds.

    screen_check.py DUMP X Y WIDTH HEIGHT

prints shell assignments: light=N, dark=N and total=N (pixels brighter than 200, darker than
100, all) and, when there are dark pixels, box="LEFT TOP RIGHT BOTTOM" around them in screen
coordinates; likewise green_box around clearly green pixels (the read-me's links).
"""
import struct
import sys


def read_xwd(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = struct.unpack(">25I", data[:100])
    header_size, _version, pixmap_format, _depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line = fields[7], fields[11], fields[12]
    masks = fields[14:17]
    ncolors = fields[19]
    if pixmap_format != 2 or bits_per_pixel not in (24, 32):
        sys.exit("screen_check: only true-colour ZPixmap dumps are read (format %d, %d bits)"
                 % (pixmap_format, bits_per_pixel))
    start = header_size + 12 * ncolors
    return data[start:], width, height, bytes_per_line, bits_per_pixel // 8, byte_order, masks


def channel(value, mask):
    shift = (mask & -mask).bit_length() - 1
    return ((value & mask) >> shift) * 255 // (mask >> shift)


def grow(box, x, y):
    if box is None:
        return (x, y, x + 1, y + 1)
    return (min(box[0], x), min(box[1], y), max(box[2], x + 1), max(box[3], y + 1))


def main():
    path = sys.argv[1]
    x0, y0, w, h = (int(v) for v in sys.argv[2:6])
    pixels, width, height, stride, size, byte_order, masks = read_xwd(path)
    order = "little" if byte_order == 0 else "big"
    light = dark = total = 0
    box = green = None
    for y in range(max(y0, 0), min(y0 + h, height)):
        row = y * stride
        for x in range(max(x0, 0), min(x0 + w, width)):
            value = int.from_bytes(pixels[row + x * size:row + (x + 1) * size], order)
            r, g, b = (channel(value, m) for m in masks)
            grey = (r * 11 + g * 16 + b * 5) // 32
            total += 1
            if grey > 200:
                light += 1
            elif grey < 100:
                dark += 1
                box = grow(box, x, y)
            if g > r + 60 and g > b + 60:
                green = grow(green, x, y)
    print("light=%d\ndark=%d\ntotal=%d" % (light, dark, total))
    if box:
        print('box="%d %d %d %d"' % box)
    if green:
        print('green_box="%d %d %d %d"' % green)


if __name__ == "__main__":
    main()
