#!/usr/bin/env python3
"""Checks the dots of constant inputs in a screenshot of the plot window's client area.

    dots.py CLIENT.png SWEEPLENGTH CODE1 ... CODE8

Each channel's dots, in its colour, must all lie on the row its code gives,
trunc((0.9 - 0.8 * code / 4095) * height), and in the columns of sweep positions
0, 1, ..., m (column trunc((0.8 * p / SWEEPLENGTH + 0.1) * width)) with no gap: the sweeps
since the last wipe. The channels reach the same column or the next (a sweep may be half drawn).
Prints "dots: ..." and exits 0 when all of that holds, else prints the first failure and exits 1.
Reads the picture through ImageMagick's convert (raw RGB).
"""
import subprocess
import sys

COLOURS = [(255, 0, 0), (0, 255, 0), (100, 100, 255), (255, 255, 0),
           (255, 0, 255), (0, 255, 255), (170, 170, 150), (210, 230, 230)]


def load(path):
    size = subprocess.run(["identify", "-format", "%w %h", path], check=True,
                          capture_output=True, text=True).stdout.split()
    width, height = int(size[0]), int(size[1])
    raw = subprocess.run(["convert", path, "-depth", "8", "rgb:-"], check=True,
                         capture_output=True).stdout
    return width, height, raw


def main():
    path, plm = sys.argv[1], int(sys.argv[2])
    codes = [int(c) for c in sys.argv[3:11]]
    width, height, raw = load(path)
    left, right = int(0.1 * width), int(0.9 * width)
    top, bottom = int(0.1 * height) - 1, int(0.9 * height)
    columns = [int((0.8 * p / plm + 0.1) * width) for p in range(plm)]
    found = {c: [] for c in COLOURS}
    for y in range(top, bottom + 1):
        row = raw[3 * y * width:3 * (y + 1) * width]
        for x in range(left, right + 1):
            pixel = tuple(row[3 * x:3 * x + 3])
            if pixel in found:
                found[pixel].append((x, y))
    reach = []
    for channel, (colour, code) in enumerate(zip(COLOURS, codes), start=1):
        dots = found[colour]
        want_row = int((0.9 - 0.8 * code / 4095.0) * height)
        if not dots:
            return fail(f"channel {channel}: no dots")
        rows = sorted({y for _, y in dots})
        if rows != [want_row]:
            return fail(f"channel {channel} (code {code}): dots on rows {rows[:5]}, "
                        f"want {want_row}")
        xs = sorted({x for x, _ in dots})
        m = columns.index(xs[-1]) if xs[-1] in columns else -1
        want_xs = sorted(set(columns[:m + 1]))
        if m < 0 or xs != want_xs:
            return fail(f"channel {channel}: dots in columns {xs[:6]}...{xs[-3:]}, "
                        f"not the sweep positions 0..m")
        reach.append(m)
    # Positions that share a column cannot be told apart: compare the columns reached.
    distinct = sorted(set(columns))
    reached = [distinct.index(columns[m]) for m in reach]
    if max(reached) - min(reached) > 1:
        return fail(f"the channels reach different sweep positions: {reach}")
    print(f"dots: {width}x{height}, sweep length {plm}: every channel on its row, "
          f"positions 0..{min(reach)}")
    return 0


def fail(message):
    print(f"dots: {message}")
    return 1


if __name__ == "__main__":
    sys.exit(main())
