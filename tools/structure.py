#!/usr/bin/env python3
"""The Win32 subset's structure: its layers and the one direction they depend in.

    tools/structure.py build-dir

The layers are the build's: build-dir/layers.txt, which CMake writes from the libraries it
links (winapi_layer in winapi/CMakeLists.txt), one a line: name, folder, the layers it links.
Every quoted include of every file under winapi/ and tools/winesim/ is followed, with or without
a folder. A file belongs to the layer of the most particular folder that holds it; it may
include the public Win32 headers, files of its own layer and of the layers below it, nothing
else. Modules (x.h with x.cpp, wherever each is; the public Win32 headers aside) must not include
each other in a cycle. The layers' object files are checked the same way at link level: a symbol
one layer uses must be defined in its own layer or one below it, so that a call made without an
include is seen too. Prints every fault; exits 1 if there is any.
"""
import pathlib
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
if len(sys.argv) != 2:
    sys.exit(__doc__)
BUILD = pathlib.Path(sys.argv[1])
# What the program includes: every layer may; the test driver's own API below it is the driver's.
API, DRIVER_API = "winapi/include", "winapi/include/winapi/driver"


def read_layers():
    """folder -> (layer, the layers below it); a layer builds on what those build on too."""
    rows = [line.split() for line in (BUILD / "layers.txt").read_text().splitlines() if line]
    direct = {name: set(below) for name, _, *below in rows}

    def closure(name, seen):
        for b in direct.get(name, ()):
            if b not in seen:
                seen.add(b)
                closure(b, seen)
        return seen

    layers = {folder: (name, closure(name, set())) for name, folder, *_ in rows}
    layers[DRIVER_API] = layers["winapi/driver"]
    layers[API] = ("api", set())
    return layers


LAYERS = read_layers()
# Where a quoted include is looked for after the including file's own folder: the public headers,
# then every folder of the subset (a build gives each layer only the folders below it).
SEARCH = ["winapi/include", "common"] + sorted(
    str(d.relative_to(ROOT)) for d in (ROOT / "winapi").rglob("*") if d.is_dir())


def layer_of(path):
    for folder in sorted(LAYERS, key=len, reverse=True):
        if str(path) == folder or str(path).startswith(folder + "/"):
            layer, below = LAYERS[folder]
            return layer, below | {layer, "api"}
    return None, set()


def resolve(name, including):
    for base in [including.parent] + [ROOT / s for s in SEARCH]:
        if (base / name).is_file():
            return (base / name).resolve().relative_to(ROOT)
    return None  # the program's or a system header: outside the subset


files = sorted(p.relative_to(ROOT) for d in ("winapi", "tools/winesim")
               for p in (ROOT / d).rglob("*.[ch]*") if p.suffix in (".h", ".cpp"))
faults = []
modules = {}
for f in files:
    layer, allowed = layer_of(f)
    if layer is None:
        faults.append(f"{f}: in no layer")
    deps = modules.setdefault(f.stem, set()) if layer != "api" else set()
    for name in re.findall(r'^\s*#\s*include\s+"([^"]+)"', (ROOT / f).read_text(), re.M):
        target = resolve(name, ROOT / f)
        if target is None:
            continue
        to, _ = layer_of(target)
        if layer and to and to not in allowed:
            faults.append(f"{f}: includes {name} of layer {to} ({layer} builds on "
                          f"{', '.join(sorted(allowed - {layer})) or 'nothing'})")
        if to != "api" and target.stem != f.stem:
            deps.add(target.stem)

state = {}  # module -> 1 while on the path, 2 when done


def visit(m, path):
    state[m] = 1
    path.append(m)
    for d in sorted(modules.get(m, ())):
        if state.get(d) == 1:
            faults.append("include cycle: " + " -> ".join(map(str, path[path.index(d):] + [d])))
        elif d not in state:
            visit(d, path)
    path.pop()
    state[m] = 2


for m in sorted(modules):
    if m not in state:
        visit(m, [])


def symbols(obj, flag):
    """Names an object file defines strongly (inline and template code is weak) or uses."""
    out = subprocess.run(["nm", flag, str(obj)], capture_output=True, text=True, check=True)
    rows = [line.split() for line in out.stdout.splitlines()]
    return {r[-1] for r in rows if r[-2] in ("T", "D", "B", "R", "U")}


links = 0
defined, used = {}, {}
for obj in (BUILD / "winapi").rglob("*.cpp.o"):
    # build/winapi/src/gdi/CMakeFiles/t.dir/x.cpp.o is the object of winapi/src/gdi/x.cpp
    source = pathlib.Path(re.sub(r"CMakeFiles/[^/]+\.dir/", "", str(obj.relative_to(BUILD))))
    source = source.with_suffix("")
    for s in symbols(obj, "--defined-only"):
        defined.setdefault(s, source)
    used[source] = symbols(obj, "--undefined-only")
for source, names in sorted(used.items()):
    layer, allowed = layer_of(source)
    for s in sorted(names):
        to = layer_of(defined[s])[0] if s in defined else None
        if to and layer and to not in allowed:
            name = subprocess.run(["c++filt", s], capture_output=True, text=True).stdout.strip()
            faults.append(f"{source}: uses {name} of {defined[s]} (layer {to})")
        links += to is not None
if not used:
    faults.append(f"no object files of winapi/ under {sys.argv[1]}")

for fault in faults:
    print(fault)
print(f"{len(files)} files, {sum(map(len, modules.values()))} includes followed, "
      f"{links} symbols linked across files, {len(faults)} faults")
sys.exit(1 if faults else 0)
