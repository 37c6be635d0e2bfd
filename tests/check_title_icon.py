#!/usr/bin/python3
"""Checks the icon in the title bar, as drawn at the prefix's DPI, against the
application icon's 32 x 32 image averaged to that size by Pillow. An icon made
for another size and stretched by the system shows as blocks.

    check_title_icon.py WINE_RUN DPI EXE PROBE ICO
"""

import io
import math
import subprocess
import sys
import tempfile

from PIL import Image


def main():
    wine_run, dpi, exe, probe, ico = sys.argv[1:]
    run = [wine_run, "--dpi", dpi]
    app = subprocess.Popen(run + [exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # Through a file: Wine's servers may inherit a pipe and never close it.
        with tempfile.TemporaryFile("w+") as frame:
            subprocess.run(run + [probe], check=True, stdout=frame)
            frame.seek(0)
            left, top, width, _ = map(int, frame.read().split())
        size = round(16 * int(dpi) / 96)  # SM_CXSMICON at this DPI
        # Area averaging, exactly: each source pixel split into equal squares,
        # then averaged in blocks (Pillow's BOX filter weighs whole pixels).
        common = math.lcm(32, size)
        want = Image.open(ico).convert("L").resize((common, common), Image.NEAREST).reduce(
            common // size)
        for _ in range(200):  # until the title bar has been drawn with it
            caption = Image.open(io.BytesIO(subprocess.run(
                ["import", "-window", "root", "-crop", f"{width}x{2 * size}+{left}+{top}", "png:-"],
                check=True, capture_output=True).stdout)).convert("L")
            # The icon's black ground, left of the title, starts where it is drawn.
            box = caption.crop((0, 0, size, 2 * size)).point(lambda v: 255 * (v < 8)).getbbox()
            got = caption.crop((box[0], box[1], box[0] + size, box[1] + size)) if box else None
            if got and max(
                    abs(a - b) for a, b in zip(got.getdata(), want.getdata())) <= 2:
                print(f"the title bar's {size} px icon is the 32 px image averaged")
                return
        sys.exit(f"the title bar's icon at {dpi} dpi is not the 32 px image averaged to {size} px")
    finally:
        app.kill()
        app.wait()


if __name__ == "__main__":
    main()
