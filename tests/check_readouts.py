#!/usr/bin/python3
"""Judges every readout of the sweep that readout_table prints against exact
decimal arithmetic: each double correctly rounded (Python's float division),
then its exact value rounded half-even to 15 significant digits and written
positionally.

    check_readouts.py COMMAND [ARGS...]
"""

import subprocess
import sys
from decimal import ROUND_HALF_EVEN, Decimal


def text(value: float) -> str:
    exact = Decimal(value)
    if exact == 0:
        return "0"
    rounded = exact.quantize(Decimal(1).scaleb(exact.adjusted() - 14), ROUND_HALF_EVEN)
    return format(rounded.normalize(), "f").replace(".", ",")


def main():
    lines = subprocess.run(sys.argv[1:], check=True, capture_output=True,
                           text=True).stdout.splitlines()
    expected = []
    resistance = "0"  # what the readout shows until a current is set
    order_sensitive = 0
    for v in range(101):
        if v:  # the current stands at 100 from the sweep before
            resistance = text(v * 100 / 100)
        for i in range(101):
            if i:
                resistance = text(v * 100 / i)
                order_sensitive += text(v / (i / 100)) != resistance
            expected.append(f"{v} {i} {v} {text(i / 100)} {resistance}")
    wrong = [f"got {got}, want {want}" for got, want in zip(lines, expected) if got != want]
    assert len(lines) == len(expected) and not wrong, f"{len(wrong)} wrong: {wrong[:10]}"
    # The order of arithmetic shows: V / (I / 100) would change this many.
    assert order_sensitive == 104, order_sensitive
    assert max(len(line.split()[4]) for line in lines) == 16
    print(f"all {len(lines)} readouts exact; {order_sensitive} would differ as V / (I / 100)")


if __name__ == "__main__":
    main()
