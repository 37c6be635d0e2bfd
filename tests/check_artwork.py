#!/usr/bin/python3
"""Checks the committed pictures' formats with Pillow, and that
tools/draw-artwork redraws them from the SVG sources byte for byte where the
renderer is the one that drew them (exit 77, a skip, where it is not).

    check_artwork.py RESOURCES_FOLDER DRAW_ARTWORK SCRATCH_FOLDER
"""

import struct
import subprocess
import sys
from pathlib import Path

from PIL import Image

STANDARD_16 = (0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
               0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF)
BLACK, GREY, WHITE = (0, 0, 0, 255), (128, 128, 128, 255), (255, 255, 255, 255)


def check_pictures(resources: Path):
    # Mode "L" is an 8-bit palette whose entry k is grey k.
    emblem = Image.open(resources / "emblem.bmp")
    assert (emblem.mode, emblem.size, emblem.info["compression"]) == ("L", (64, 64), 0)
    assert (resources / "emblem.bmp").stat().st_size == 14 + 40 + 1024 + 64 * 64
    assert len(emblem.getcolors()) == 213 and emblem.getextrema() == (0, 255), "grey levels"
    assert {emblem.getpixel(xy) for xy in ((0, 0), (63, 0), (0, 63), (63, 63))} == {0}, "ground"

    ico = (resources / "taliven.ico").read_bytes()
    at = struct.unpack_from("<I", ico, 18)[0]  # the image's header, then its palette as 0xRRGGBB
    assert struct.unpack_from("<3H", ico) == (0, 1, 1) and ico[at + 14] == 4, "one 4-bit image"
    assert struct.unpack_from("<16I", ico, at + 40) == STANDARD_16, "not the standard palette"
    icon = Image.open(resources / "taliven.ico")
    pixels = list(icon.getdata())  # RGBA: the mask's transparency shows as alpha
    assert icon.size == (32, 32) and set(pixels) == {BLACK, GREY, WHITE}, set(pixels)
    assert pixels.count(WHITE) == 2 and pixels[0] == BLACK, "two highlights on black"


def main():
    resources, draw, scratch = (Path(arg) for arg in sys.argv[1:4])
    check_pictures(resources)
    renderer = subprocess.run(["rsvg-convert", "--version"], capture_output=True, text=True)
    drawn_with = (resources / "artwork.renderer").read_text().strip()
    if renderer.stdout.strip() != drawn_with:
        print(f"skipped the redraw: drawn with {drawn_with}, here {renderer.stdout.strip()}")
        sys.exit(77)  # a skip
    subprocess.run([draw, resources, scratch], check=True)
    differing = [p for p in ("emblem.bmp", "taliven.ico")
                 if (scratch / p).read_bytes() != (resources / p).read_bytes()]
    assert not differing, f"{differing} differ from what the SVG draws: run make artwork"


if __name__ == "__main__":
    main()
