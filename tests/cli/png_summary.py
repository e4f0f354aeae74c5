"""Prints what a rendered PNG shows, as JSON: its size, the share of pixels that differ from
the top-left (background) pixel, and the colours it uses. 8-bit RGB or RGBA, not interlaced."""
import json
import struct
import sys
import zlib


def rows(path):
    data = open(path, "rb").read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise SystemExit("not a PNG file")
    pos, idat, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise SystemExit("unexpected PNG kind %d/%d/%d" % (depth, colour, interlace))
            bpp = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * bpp
    prev = bytearray(stride)
    out = []
    for y in range(height):
        f = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        out.append([tuple(line[x * bpp:x * bpp + 3]) for x in range(width)])
        prev = line
    return width, height, out


width, height, pixels = rows(sys.argv[1])
background = pixels[0][0]
inked = sum(1 for row in pixels for p in row if p != background)
colours = {p for row in pixels for p in row}
# Saturated blue (headings) and any strongly coloured pixel tell colours came through.
blue = sum(1 for row in pixels for (r, g, b) in row if b > 150 and r < 80 and g < 80)
print(json.dumps({"width": width, "height": height, "inked": inked / float(width * height),
                  "colours": len(colours), "blue": blue}))
