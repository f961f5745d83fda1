#!/usr/bin/env python3
"""A pty standing in for a serial adapter: pty.py NAME-FILE LOG-FILE

Writes the path of the pty's device (its slave side) to NAME-FILE, then appends every byte that
reaches the device's far end (the master side) to LOG-FILE until it is ended. The line
discipline is raw, so the bytes arrive as written. The device stays open here too, so that it
stays readable between the programs that open and close it.
"""
import os
import sys
import tty

master, slave = os.openpty()
tty.setraw(slave)
name_file, log_file = sys.argv[1:3]
with open(name_file + ".tmp", "w") as f:
    f.write(os.ttyname(slave) + "\n")
os.rename(name_file + ".tmp", name_file)
with open(log_file, "ab", buffering=0) as log:
    while True:
        log.write(os.read(master, 4096))
