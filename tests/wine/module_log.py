#!/usr/bin/env python3
"""Checks the simulated module's log of a PIKON session with constant inputs.

    module_log.py MODULE.log CODE1 ... CODE8

The log must hold the detection (four rounds of: break on, a status read with RING and RLSD
on, break off, a status read with both off; a live port shows each at the first read), then
only whole transactions: numbered from 1, channels 1 to 8 in
turn with the control byte of each (start bit, select bits, unipolar, single-ended, internal
clock), the channel's code answered, 13 status reads, the code read back exact, whole sweeps
only; and no protocol violation anywhere. Prints a summary as its last line; exit 1 on the
first fault.
"""
import re
import sys

# Select bits SEL2, SEL1, SEL0 the program sends for channels 1..8.
SELECT = [(0, 0, 0), (1, 0, 0), (0, 0, 1), (1, 0, 1), (0, 1, 0), (1, 1, 0), (0, 1, 1), (1, 1, 1)]
TRANSACTION = re.compile(r"^T (\d+) ch (\d) ctrl 0x([0-9A-F]{2}) code (\d+) reads (\d+) got (\d+)$")
# CTS is on whenever the chip's DOUT is low, as it is while idle.
ROUND = ["break on", "status 0x00D0", "break off", "status 0x0010"]
DETECTION = ["attach"] + 4 * ROUND


def control_byte(channel):
    s2, s1, s0 = SELECT[channel - 1]
    return 0x80 | s2 << 6 | s1 << 5 | s0 << 4 | 0x0E


def check(lines, codes):
    violations = [line for line in lines if line.startswith("VIOLATION")]
    if violations:
        return f"protocol violation: {violations[0]}"
    if lines[:len(DETECTION)] != DETECTION:
        return f"the detection is {lines[:len(DETECTION)]}, want {DETECTION}"
    first = next((i for i, line in enumerate(lines) if line.startswith("T ")), None)
    if first is None:
        return "no transaction"
    setup = lines[len(DETECTION):first]
    if any(line.startswith("break") for line in setup):
        return f"a break after the detection: {setup}"
    count = 0
    for line in lines[first:]:
        m = TRANSACTION.match(line)
        if not m:
            return f"not a transaction, after {count} of them: {line}"
        n, ch, ctrl, code, reads, got = (int(m[1]), int(m[2]), int(m[3], 16), int(m[4]),
                                         int(m[5]), int(m[6]))
        count += 1
        want_ch = (count - 1) % 8 + 1
        if n != count or ch != want_ch:
            return f"transaction {n} converts channel {ch}, want number {count}, channel {want_ch}"
        if ctrl != control_byte(ch):
            return f"transaction {n}: control byte 0x{ctrl:02X}, want 0x{control_byte(ch):02X}"
        if code != codes[ch - 1] or reads != 13 or got != code:
            return (f"transaction {n}: answered {code} (want {codes[ch - 1]}), {reads} status "
                    f"reads (want 13), read back {got}")
    if count % 8:
        return f"{count} transactions: the last sweep is not whole"
    return (f"module log: detection, set-up ({'; '.join(setup)}), then {count} exact "
            f"transactions ({count // 8} sweeps), no protocol violation")


def main():
    with open(sys.argv[1]) as log:
        lines = [line.rstrip("\n") for line in log]
    codes = [int(c) for c in sys.argv[2:10]]
    verdict = check(lines, codes)
    print(verdict)
    return 0 if verdict.startswith("module log:") else 1


if __name__ == "__main__":
    sys.exit(main())
