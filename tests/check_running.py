#!/usr/bin/python3
"""Checks a running Taliven.exe under Wine from outside, where the window
tests cannot reach:

- canary: each run seeds its own stack canary. Wine maps the image at its
  base in the same Linux process, whose memory /proc shows.
- title-icon: the title bar's icon on screen is the application icon's
  32 x 32 image area-averaged to the small-icon size of the prefix's DPI.

    check_running.py canary WINE_RUN EXE
    check_running.py title-icon WINE_RUN EXE PROBE ICO DPI
"""

import io
import math
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import pefile
from check_release import GUARD_SEED
from PIL import Image


def running(run, exe, until):
    """Starts exe and returns until(app) once it is not None (for 20 s at most)."""
    # Wine's own servers, started with it, must not hold the runner's output.
    app = subprocess.Popen(run + [exe], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 20
        while (got := until(app)) is None and time.monotonic() < deadline:
            time.sleep(0.01)
        return got
    finally:
        app.kill()
        app.wait()


def canary(run, exe):
    pe = pefile.PE(exe, fast_load=True)
    base = pe.OPTIONAL_HEADER.ImageBase
    address = base + pe.get_rva_from_offset(Path(exe).read_bytes().index(GUARD_SEED))

    def seeded(app):
        try:
            with open(f"/proc/{app.pid}/mem", "rb") as memory:
                memory.seek(base)
                if memory.read(2) == b"MZ":
                    memory.seek(address)
                    value = memory.read(4)
                    return value if value != GUARD_SEED else None  # or not seeded yet
        except OSError:
            pass  # not mapped yet
        return None

    first, second = running(run, exe, seeded), running(run, exe, seeded)
    assert None not in (first, second), "the canary kept its build-time value"
    assert first != second, "two runs share one canary"
    print(f"canaries of two runs: {first.hex()} and {second.hex()}")


def title_icon(run, exe, probe, ico, dpi):
    run += ["--dpi", dpi]
    size = round(16 * int(dpi) / 96)  # SM_CXSMICON at this DPI
    # Area averaging, exactly: each source pixel split into equal squares, then
    # averaged in blocks (Pillow's BOX filter weighs whole pixels).
    common = math.lcm(32, size)
    want = Image.open(ico).convert("L").resize((common, common), Image.NEAREST).reduce(
        common // size)

    def drawn(_):
        with tempfile.TemporaryFile("w+") as frame:  # not a pipe Wine's servers may keep
            subprocess.run(run + [probe], check=True, stdout=frame)
            frame.seek(0)
            left, top, width, _ = map(int, frame.read().split())
        shot = subprocess.run(["import", "-window", "root", "-crop",
                               f"{width}x{2 * size}+{left}+{top}", "png:-"],
                              check=True, capture_output=True).stdout
        caption = Image.open(io.BytesIO(shot)).convert("L")
        # The icon's black ground, left of the title, starts where it is drawn.
        box = caption.crop((0, 0, size, 2 * size)).point(lambda v: 255 * (v < 8)).getbbox()
        got = caption.crop((box[0], box[1], box[0] + size, box[1] + size)) if box else None
        same = got and max(abs(a - b) for a, b in zip(got.getdata(), want.getdata())) <= 2
        return True if same else None

    assert running(run, exe, drawn), f"the title bar's icon is not the 32 px image at {size} px"
    print(f"the title bar's {size} px icon is the 32 px image averaged")


if __name__ == "__main__":
    check, wine_run, *args = sys.argv[1:]
    {"canary": canary, "title-icon": title_icon}[check]([wine_run], *args)
