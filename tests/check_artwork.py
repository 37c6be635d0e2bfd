#!/usr/bin/python3
"""Checks with Pillow what of the committed pictures no running program
shows: the icon's palette and colours, the emblem's grey levels. Then that
tools/draw-artwork redraws both from the SVG sources byte for byte, where
the renderer is the one that drew them (exit 77, a skip, where it is not).

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

resources, draw, scratch = (Path(arg) for arg in sys.argv[1:4])
emblem = Image.open(resources / "emblem.bmp")
assert len(emblem.getcolors()) == 213 and emblem.getextrema() == (0, 255), "grey levels"
ico = (resources / "taliven.ico").read_bytes()  # its image's palette, as 0xRRGGBB
palette = struct.unpack_from("<16I", ico, struct.unpack_from("<I", ico, 18)[0] + 40)
assert palette == STANDARD_16, "not the standard palette"
pixels = list(Image.open(resources / "taliven.ico").getdata())  # the mask shows as alpha
assert set(pixels) == {BLACK, GREY, WHITE} and pixels.count(WHITE) == 2, "colours"

renderer = subprocess.run(["rsvg-convert", "--version"], capture_output=True, text=True)
drawn_with = (resources / "artwork.renderer").read_text().strip()
if renderer.stdout.strip() != drawn_with:
    print(f"skipped the redraw: drawn with {drawn_with}, here {renderer.stdout.strip()}")
    sys.exit(77)  # a skip
subprocess.run([draw, resources, scratch], check=True)
differing = [p for p in ("emblem.bmp", "taliven.ico")
             if (scratch / p).read_bytes() != (resources / p).read_bytes()]
assert not differing, f"{differing} differ from what the SVG draws: run make artwork"
