#!/usr/bin/env python3
"""Writes the seed corpora in tools/fuzz/corpus/. Run from anywhere:
python3 tools/fuzz/seeds.py. Only needed when the input layouts change; the
generated files are committed. The other files there are inputs that once
reproduced a fault, named after it and kept as they were found; this script
leaves them alone."""
import os
import shutil
import struct
import subprocess
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CORPUS = os.path.join(HERE, "corpus")


def put(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- small files -----------------------------------------------------------

def wav(channels=1, bits=16, rate=22050, frames=64, fmt_size=16, data_size=None, tag=1):
    block = channels * bits // 8
    samples = bytes((i * 37) & 0xFF for i in range(frames * block))
    if data_size is None:
        data_size = len(samples)
    fmt = struct.pack("<HHIIHH", tag, channels, rate, rate * block, block, bits)
    fmt = fmt.ljust(fmt_size, b"\0")[:fmt_size] if fmt_size >= 0 else fmt
    body = b"WAVE" + b"fmt " + struct.pack("<I", fmt_size) + fmt
    body += b"data" + struct.pack("<I", data_size) + samples
    return b"RIFF" + struct.pack("<I", len(body)) + body


def png(width, height, color_type, bit_depth=8, pixel=None, palette=None, interlace=0):
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[color_type]
    row_bytes = (width * channels * bit_depth + 7) // 8
    raw = b""
    for y in range(height):
        raw += b"\0" + bytes(((x * 7 + y * 13) & 0xFF) for x in range(row_bytes))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))

    out = b"\x89PNG\r\n\x1a\n"
    out += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, bit_depth, color_type, 0, 0, interlace))
    if color_type == 3:
        entries = palette if palette is not None else 1 << bit_depth
        out += chunk(b"PLTE", bytes((i * 3 + c * 40) & 0xFF for i in range(entries) for c in range(3)))
    out += chunk(b"IDAT", zlib.compress(raw))
    out += chunk(b"IEND", b"")
    return out


def bmp(width, height, bits, palette_entries=None, compression=0, pixels=None):
    row = ((width * bits + 31) // 32) * 4
    if pixels is None:
        pixels = bytes(((i * 29) & 0xFF) for i in range(row * abs(height)))
    colours = palette_entries if palette_entries is not None else (1 << bits if bits <= 8 else 0)
    palette = bytes((i * 5 + c) & 0xFF for i in range(colours) for c in range(4))
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(pixels),
                       2835, 2835, colours, 0)
    header = b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


# --- sound list --------------------------------------------------------------

MARKER = b"\n#--fuzz.wav--\n"
game_list = b"".join(
    b"# line %d\nS%03d data/fuzz.wav\n" % (n, n) for n in range(1, 14)) + b"M001 data/fuzz.wav\n"
put("sound_list", "game_list", game_list + MARKER + wav())
put("sound_list", "crlf_and_comments",
    b"#S001 data/fuzz.wav\r\n S002 data/fuzz.wav\r\nS003 data/fuzz.wav\r\n"
    b"M001 data/fuzz.wav\r\nS010\n" b"S011 a\n" b"X012 data/fuzz.wav\n" b"Sabc data/fuzz.wav\n"
    b"S099 data/fuzz.wav\nM032 data/fuzz.wav\nS063 data/fuzz.wav\nS004 data/fuzz.wav\n\r"
    b"S004 data/missing.wav" + MARKER + wav(channels=2, bits=8, frames=33))
put("sound_list", "long_lines",
    b"S001 " + b"x" * 300 + b"\n" + b"M002 " + b"y" * 249 + b"S005 data/fuzz.wav\n" +
    b"M003 " + b"z" * 400 + b"\r\n" + MARKER + wav(rate=44100, frames=10))
put("sound_list", "garbage_wav",
    b"S001 data/fuzz.wav\nS002 data/sounddat.lst\nS003 data\nM001 data/fuzz.wav\nM002 data\n"
    + MARKER + wav(fmt_size=40, data_size=0xFFFFFFF0))
put("sound_list", "odd_formats",
    b"S001 data/fuzz.wav\nM001 data/fuzz.wav\n" + MARKER + wav(channels=6, bits=24, rate=7, frames=5, tag=3))
put("sound_list", "embedded_nul", b"S001 data/fu\0zz.wav\nM\0\0\0 x\nS001 data/fuzz.wav" + MARKER + b"RIFF")
put("sound_list", "empty", b"")

# --- texture -----------------------------------------------------------------

def command(x, y, w, h, u, v, sx=1.0, sy=1.0, angle=0.0, alpha=255, in_use=0, raw=True, short=False):
    mode = (1 if raw else 0) | (2 if short else 0)
    rect = struct.pack("<6h" if short else "<6i", x, y, w, h, u, v)
    if raw:
        scales = struct.pack("<3f", sx, sy, angle)
    else:
        scales = struct.pack("<HHh", int(sx * 64), int(sy * 64), int(angle * 8))
    return bytes([mode]) + rect + scales + bytes([alpha, in_use])


def texture_input(image, commands, flags=0, slot=1):
    return bytes([flags, slot, len(commands)]) + b"".join(commands) + image


sprites = [
    command(100, 50, 16, 16, 0, 0),
    command(100, 50, 16, 8, 0, 0, angle=0.5),
    command(100, 50, 16, 16, 0, 0, sx=2.0, sy=2.0, raw=False),
    command(200, 100, 16, 16, 8, 8, angle=45.0, raw=False),
    command(-8, -8, 32, 32, 0, 0, alpha=128, short=True),
    command(470, 260, 64, 64, -4, -4, sx=0.5, sy=3.0, angle=359.0),
]
put("texture", "rgba_sprites", texture_input(png(24, 24, 6), sprites))
put("texture", "paletted_sheet", texture_input(png(24, 24, 3, palette=16), sprites))
put("texture", "rgb_sheet", texture_input(png(24, 24, 2), sprites, flags=1))
put("texture", "grey_interlaced", texture_input(png(17, 9, 0, bit_depth=4, interlace=1), sprites[:3]))
put("texture", "truncated_png", texture_input(png(32, 32, 6)[:60], sprites[:2]))
put("texture", "bmp_picture", texture_input(bmp(20, -12, 8), sprites))
put("texture", "large_rectangles", texture_input(png(8, 8, 6), [
    command(0x7FFFFFF0, 10, 0x7FFFFFFF, 3, 0, 0, angle=10.0),
    command(10, -0x7FFFFFF0, 5, 0x40000000, 0x7FFFFFFF, -0x80000000, sx=1e-3, sy=1e30),
    command(0, 0, 65535, 65535, 0, 0, alpha=0),
    command(240, 136, 4, 4, 0, 0, sx=float("nan"), sy=float("inf"), angle=-0.9),
    command(240, 136, 4, 4, 0, 0, sx=1.0, sy=1.0, angle=float("-inf"), in_use=130),
]))
put("texture", "bad_slot", texture_input(png(4, 4, 6), sprites[:2], slot=17))
put("texture", "empty_image", texture_input(b"", sprites[:2], slot=0))

# Every other format SDL_image recognises by its content, whatever the file
# is called: made with ImageMagick when it is there.
if shutil.which("convert"):
    with tempfile.TemporaryDirectory() as tmp:
        for ext in ["gif", "pcx", "ppm", "pgm", "pbm", "xpm", "tif", "jpg", "ico", "cur", "webp", "xv"]:
            out = os.path.join(tmp, "picture." + ext)
            subprocess.run(["convert", "-size", "6x5", "gradient:red-blue", "-depth", "8", out],
                           check=False, stderr=subprocess.DEVNULL)
            if os.path.exists(out):
                with open(out, "rb") as f:
                    put("texture", "format_" + ext, texture_input(f.read(), sprites[:3]))

# --- debug console -------------------------------------------------------------

def console_input(font, text, width=480, height=272, depth=0, x=0, y=0):
    return struct.pack("<HHBiiH", width, height, depth, x, y, len(font)) + font + text


lines = b"\n".join(b"Line %d: Clock %d" % (i, i * 37) for i in range(24))
put("debug_console", "small_font", console_input(bmp(128, 16, 8), lines))
put("debug_console", "one_bit_font", console_input(bmp(128, 128, 1), b"ABC\n\n" + bytes(range(1, 256))))
put("debug_console", "rgb_font_odd_sizes",
    console_input(bmp(33, 7, 24), b"x" * 300 + b"\nshort", width=17, height=1000, depth=1, x=-20, y=-4))
put("debug_console", "rle_font", console_input(bmp(16, 16, 8, compression=1, pixels=b"\x05\x01\x00\x00\x00\x01"), b"hi"))
put("debug_console", "far_text", console_input(bmp(8, 8, 4), b"far", x=0x7FFFFFF8, y=-0x80000000, depth=2))
put("debug_console", "no_font", console_input(b"", b"a\nb", depth=3))
