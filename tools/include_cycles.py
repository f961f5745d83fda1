#!/usr/bin/env python3
"""Cycles in the include graph of winapi/src, one module a node: x.h and x.cpp are module x, and
x depends on y when either of its files includes "y.h". Prints each cycle found; exits 1 if any.

    tools/include_cycles.py [folder]
"""
import pathlib
import re
import sys

folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "winapi/src")
modules = {}
for f in sorted(folder.glob("*.[ch]*")):
    deps = modules.setdefault(f.stem, set())
    for name in re.findall(r'^#include "([^"/]+)\.h"', f.read_text(), re.M):
        if (folder / (name + ".h")).exists() and name != f.stem:
            deps.add(name)

cycles = []
state = {}  # module -> 1 while on the path, 2 when done


def visit(m, path):
    state[m] = 1
    path.append(m)
    for d in sorted(modules.get(m, ())):
        if state.get(d) == 1:
            cycles.append(path[path.index(d):] + [d])
        elif d not in state:
            visit(d, path)
    path.pop()
    state[m] = 2


for m in sorted(modules):
    if m not in state:
        visit(m, [])
for c in cycles:
    print("cycle: " + " -> ".join(c))
print(f"{len(modules)} modules, {sum(map(len, modules.values()))} dependencies, {len(cycles)} cycles")
sys.exit(1 if cycles else 0)
