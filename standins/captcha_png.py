"""Captcha images as real PNG files, drawn from a 5x7 bitmap font (standard library only)."""
import random
import struct
import zlib

ALPHABET = "23456789ACEFHKMNPRTXY"

FONT = {
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    "3": ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    "4": ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    "6": ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    "7": ["11111", "00001", "00010", "00100", "01000", "01000", "01000"],
    "8": ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    "9": ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "X": ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
}

SCALE = 4
MARGIN = 8


def random_text(length=6):
    return "".join(random.choice(ALPHABET) for _ in range(length))


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def encode_gray(width, height, pixels):
    """PNG of 8-bit grey pixels (a list of rows of ints 0..255)."""
    raw = b"".join(b"\x00" + bytes(row) for row in pixels)
    header = struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header) + _chunk(b"IDAT", zlib.compress(raw))
            + _chunk(b"IEND", b""))


def render(text):
    """The text drawn dark on a light, speckled background, each letter slightly shifted."""
    cell = 6 * SCALE
    width = 2 * MARGIN + cell * len(text)
    height = 2 * MARGIN + 7 * SCALE + SCALE * 2
    rng = random.Random(text)
    pixels = [[235 - rng.randrange(40) for _ in range(width)] for _ in range(height)]
    for index, char in enumerate(text.upper()):
        glyph = FONT.get(char, FONT["8"])
        x0 = MARGIN + index * cell
        y0 = MARGIN + rng.randrange(SCALE * 2)
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit == "1":
                    for dy in range(SCALE):
                        for dx in range(SCALE):
                            pixels[y0 + gy * SCALE + dy][x0 + gx * SCALE + dx] = 30 + rng.randrange(50)
    return encode_gray(width, height, pixels)
