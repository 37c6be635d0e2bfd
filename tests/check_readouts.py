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
    printed = subprocess.run(sys.argv[1:], check=True, capture_output=True, text=True).stdout
    lines = printed.split()
    rows = [lines[k:k + 5] for k in range(0, len(lines), 5)]
    expected_rows = []
    resistance = "0"  # what the readout shows until a current is set
    order_sensitive = 0
    for v in range(101):
        if v:  # the current stands at 100 from the sweep before
            resistance = text(v * 100 / 100)
        for i in range(101):
            if i:
                resistance = text(v * 100 / i)
                order_sensitive += text(v / (i / 100)) != resistance
            expected_rows.append([str(v), str(i), str(v), text(i / 100), resistance])
    wrong = [(got, want) for got, want in zip(rows, expected_rows) if got != want]
    for got, want in wrong[:10]:
        print(f"got {' '.join(got)}, want {' '.join(want)}")
    if len(rows) != len(expected_rows) or wrong:
        sys.exit(f"{len(wrong)} of {len(expected_rows)} readouts wrong ({len(rows)} printed)")
    # The order of arithmetic shows: V / (I / 100) would change this many.
    assert order_sensitive == 104, order_sensitive
    assert max(len(row[4]) for row in rows) == 16
    print(f"all {len(rows)} readouts exact; {order_sensitive} would differ as V / (I / 100)")


if __name__ == "__main__":
    main()
