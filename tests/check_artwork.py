#!/usr/bin/python3
"""Checks the committed pictures, and that tools/draw-artwork redraws them
from the SVG sources byte for byte where the renderer is the one that drew
them (exit 77, a skip, where it is not).

    check_artwork.py RESOURCES_FOLDER DRAW_ARTWORK SCRATCH_FOLDER
"""

import struct
import subprocess
import sys
from pathlib import Path

SKIP = 77


def check_emblem(bmp: bytes):
    assert bmp[:2] == b"BM" and struct.unpack_from("<I", bmp, 2)[0] == len(bmp)
    pixels_at = struct.unpack_from("<I", bmp, 10)[0]
    size, width, height, planes, bits, compression = struct.unpack_from("<IiiHHI", bmp, 14)
    assert (size, width, height, planes, bits, compression) == (40, 64, 64, 1, 8, 0)
    palette = [struct.unpack_from("<I", bmp, 54 + 4 * k)[0] for k in range(256)]
    assert palette == [k * 0x010101 for k in range(256)], "not the grey palette k -> (k, k, k)"
    assert pixels_at == 54 + 1024 and len(bmp) == pixels_at + 64 * 64
    pixels = bmp[pixels_at:]
    levels = set(pixels)
    assert len(levels) == 213 and {0, 255} <= levels, f"{len(levels)} grey levels"
    assert all(pixels[k] == 0 for k in (0, 63, 63 * 64, 64 * 64 - 1)), "no black ground"
    assert sum(1 for p in pixels if p > 128) > 300, "the motif is missing"


def check_icon(ico: bytes):
    assert struct.unpack_from("<HHH", ico, 0) == (0, 1, 1), "not one icon image"
    width, height, colours, _, planes, bits, size, at = struct.unpack_from("<BBBBHHII", ico, 6)
    assert (width, height, colours, bits, at + size) == (32, 32, 16, 4, len(ico))
    header = struct.unpack_from("<IiiHH", ico, at)
    assert header == (40, 32, 64, 1, 4), header  # colour rows, then mask rows
    standard = [0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF]
    assert [struct.unpack_from("<I", ico, at + 40 + 4 * k)[0] for k in range(16)] == standard
    colour_rows = ico[at + 104:at + 104 + 512]
    indices = [nibble for byte in colour_rows for nibble in (byte >> 4, byte & 15)]
    assert set(indices) == {0, 8, 15}, "black, grey and white only"
    assert indices.count(15) == 2, "white is for the two highlights"
    assert indices[0] == 0 and indices.count(8) > 100, "a black ground with grey lines"
    assert ico[at + 104 + 512:] == bytes(128), "transparent pixels in the mask"


def main():
    resources, draw, scratch = (Path(arg) for arg in sys.argv[1:4])
    check_emblem((resources / "emblem.bmp").read_bytes())
    check_icon((resources / "taliven.ico").read_bytes())
    print("the committed emblem and icon have their formats")
    renderer = subprocess.run(["rsvg-convert", "--version"], capture_output=True, text=True)
    drawn_with = (resources / "artwork.renderer").read_text().strip()
    if renderer.stdout.strip() != drawn_with:
        print(f"skipped the redraw: drawn with {drawn_with}, here {renderer.stdout.strip()}")
        sys.exit(SKIP)
    subprocess.run([draw, resources, scratch], check=True)
    for picture in ("emblem.bmp", "taliven.ico"):
        if (scratch / picture).read_bytes() != (resources / picture).read_bytes():
            sys.exit(f"{picture} differs from what the SVG draws: run make artwork")
    print("the SVG sources redraw both pictures byte for byte")


if __name__ == "__main__":
    main()
