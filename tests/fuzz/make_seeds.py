#!/usr/bin/env python3
# Writes the starting seeds of the surface fuzz harnesses (corpus/<harness>/): small valid
# bitmaps of every form the DIB reader takes, the signatures of the other readers, and load
# requests covering the copy and triangle paths. The committed corpora are the minimised sets
# of long runs that started from these; after changing a harness's input layout, empty its
# corpus and run this again.
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def write(harness, name, data):
    os.makedirs(os.path.join(here, "corpus", harness), exist_ok=True)
    with open(os.path.join(here, "corpus", harness, name), "wb") as f:
        f.write(bytes(data))


def header(width, height, bits, compression=0, colours=0, size=40):
    return struct.pack("<IiiHHIIiiII", size, width, height, 1, bits, compression, 0, 0, 0, colours, 0) + bytes(size - 40)


def table(count):
    return b"".join(struct.pack("<BBBB", i, 255 - i, i // 2, 0) for i in range(count))


def rows(height, row):  # each row padded to four bytes
    return b"".join(row(y) + bytes(-len(row(y)) % 4) for y in range(height))


def dib8(w, h, colours=0):
    n = colours or 256
    return header(w, h, 8, 0, colours) + table(n) + rows(abs(h), lambda y: bytes((x * 3 + y * 5) % n for x in range(w)))


# Destination prefix of file_in_memory_fuzz: format selector, width - 1, height - 1, filter.
def dest(fmt, w, h, flt):
    return bytes([fmt, w - 1, h - 1, flt])


F = "file_in_memory_fuzz"
bmp = dib8(4, 4)
v4 = bytearray(header(2, -1, 32, 3, 0, 108))
struct.pack_into("<IIII", v4, 40, 0xFF0000, 0xFF00, 0xFF, 0xFF000000)
for name, data in {
    "dib8_same_size": dest(0, 8, 8, 0) + dib8(8, 8),
    "dib8_upscale_565": dest(2, 32, 32, 0) + dib8(4, 4),
    "dib8_downscale_mirror": dest(1, 2, 2, 2) + dib8(16, 16),
    "dib8_topdown_15_colours": dest(5, 8, 4, 1) + dib8(8, -4, 15),
    "dib4": dest(3, 6, 3, 3) + header(5, 3, 4) + table(16) + rows(3, lambda y: bytes([0x12, 0x34, 0x50])),
    "dib1": dest(4, 9, 2, 0) + header(9, -2, 1) + table(2) + rows(2, lambda y: bytes([0xA5, 0x80])),
    "rle8": dest(0, 4, 3, 0) + header(4, 3, 8, 1) + table(256) + bytes([3, 7, 0, 0, 0, 3, 1, 2, 3, 0, 0, 2, 1, 1, 2, 9, 0, 1]),
    "rle4": dest(0, 5, 2, 0) + header(5, 2, 4, 2) + table(16) + bytes([5, 0x1F, 0, 0, 0, 5, 0x12, 0x34, 0x50, 0, 0, 1]),
    "rgb24": dest(0, 3, 3, 0) + header(3, 2, 24) + rows(2, lambda y: bytes(range(9))),
    "rgb16": dest(2, 2, 2, 0) + header(2, 2, 16) + rows(2, lambda y: bytes([0x1F, 0x7C, 0xE0, 0x03])),
    "bitfields565": dest(0, 2, 2, 0) + header(2, 1, 16, 3) + struct.pack("<III", 0xF800, 0x7E0, 0x1F) + bytes([0x1F, 0xF8, 0xE0, 0x07]),
    "bitfields_v4_argb": dest(1, 2, 1, 0) + bytes(v4) + bytes([1, 2, 3, 4, 5, 6, 7, 8]),
    "bmp_file": dest(0, 4, 4, 0) + b"BM" + struct.pack("<IHHI", 14 + len(bmp), 0, 0, 14 + 40 + 1024) + bmp,
    "png": dest(0, 4, 4, 0) + b"\x89PNG\r\n\x1a\n" + bytes(16),
    "jpeg": dest(0, 4, 4, 0) + bytes([0xFF, 0xD8, 0xFF, 0xE0]) + bytes(16),
    "ppm": dest(0, 4, 4, 0) + b"P6\n4 4\n255\n" + bytes(48),
    "dds": dest(0, 4, 4, 0) + b"DDS " + bytes(124),
    "tga": dest(0, 4, 4, 0) + bytes([0, 0, 2]) + bytes(9) + bytes([4, 0, 4, 0, 24, 0]) + bytes(48),
}.items():
    write(F, name, data)


# Request layout of surface_from_memory_fuzz: source format, width - 1, height - 1, source
# rectangle (4 signed bytes), destination format, width - 1, height - 1, use-rectangle flag,
# destination rectangle, filter selector, colour-key flag, pitch padding, pixels.
def request(sf, sw, sh, sr, df, dw, dh, use, dr, flt, key=0, pad=0):
    return bytes([sf, sw - 1, sh - 1, *sr, df, dw - 1, dh - 1, use, *dr, flt, key, pad]) + bytes((i * 37) & 0xFF for i in range(256))


M = "surface_from_memory_fuzz"
write(M, "p8_copy", request(6, 8, 8, (0, 0, 8, 8), 0, 8, 8, 0, (0, 0, 0, 0), 0))
write(M, "p8_upscale_565", request(6, 4, 4, (0, 0, 4, 4), 2, 16, 16, 0, (0, 0, 0, 0), 0))
write(M, "p8_region_mirror", request(6, 8, 8, (1, 2, 7, 8), 1, 8, 8, 1, (2, 2, 6, 5), 2, 1, 3))
write(M, "argb_to_555_downscale", request(1, 16, 16, (0, 0, 16, 16), 4, 3, 5, 0, (0, 0, 0, 0), 3))
write(M, "same_format", request(0, 4, 4, (0, 0, 4, 4), 0, 4, 4, 0, (0, 0, 0, 0), 1))
write(M, "box_half", request(2, 8, 8, (0, 0, 8, 8), 2, 4, 4, 0, (0, 0, 0, 0), 4))
write(M, "r8g8b8_to_g16r16", request(5, 5, 3, (0, 0, 5, 3), 9, 7, 2, 0, (0, 0, 0, 0), 0))
