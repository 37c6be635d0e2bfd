#!/usr/bin/python3
"""Judges every readout of the sweep that window_table prints, after the
user's decimal separator, against exact decimal arithmetic: each double
correctly rounded (Python's float division), then its exact value rounded
half-even to 15 significant digits and written positionally.

    check_readouts.py COMMAND [ARGS...]
"""

import subprocess
import sys
from decimal import ROUND_HALF_EVEN, Decimal


separator, *lines = subprocess.run(sys.argv[1:], check=True, capture_output=True,
                                   text=True).stdout.splitlines()


def text(value: float) -> str:
    exact = Decimal(value)  # zero too: its 15 digits normalise to "0"
    rounded = exact.quantize(Decimal(1).scaleb(exact.adjusted() - 14), ROUND_HALF_EVEN)
    return format(rounded.normalize(), "f").replace(".", separator)


expected = []
resistance = "0"  # what the readout shows until a current is set
for v in range(101):
    if v:  # the current stands at 100 from the sweep before
        resistance = text(v * 100 / 100)
    for i in range(101):
        if i:
            resistance = text(v * 100 / i)  # as V / (I / 100), 104 would differ
        expected.append(f"{v} {i} {v} {text(i / 100)} {resistance}")
wrong = [f"got {got}, want {want}" for got, want in zip(lines, expected) if got != want]
assert len(lines) == len(expected) and not wrong, f"{len(wrong)} wrong: {wrong[:10]}"
print(f"all {len(lines)} readouts exact")

