#!/usr/bin/env python3
"""Checks the resources inside PIKON.exe against what the program expects of them.

    tests/wine/check_resources.py PIKON.exe [expected_resources.txt]

windres turns the executable's resources back into .rc text; every dialog template (position,
size, styles, caption, menu, font, and each control's id, class, text, position, size and
style), every menu entry (text, id, grayed), the icon (size and colours), the version texts and
what the application manifest asks of Windows (it must be well-formed XML) are compared with
expected_resources.txt. Resources the table does not name must not exist.
Exit status 0 when everything matches, 1 with the differences listed otherwise.
"""
import os
import re
import shlex
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET

STYLES = {
    "WS_POPUP": 0x80000000, "WS_CHILD": 0x40000000, "WS_VISIBLE": 0x10000000,
    "WS_BORDER": 0x00800000, "WS_OVERLAPPEDWINDOW": 0x00CF0000, "WS_TABSTOP": 0x00010000,
    "DS_MODALFRAME": 0x80, "DS_SETFONT": 0x40,
    "BS_PUSHBUTTON": 0x0, "BS_DEFPUSHBUTTON": 0x1, "BS_AUTORADIOBUTTON": 0x9,
    "SS_CENTER": 0x1, "SS_ICON": 0x3,
    "ES_CENTER": 0x1, "ES_RIGHT": 0x2, "ES_NUMBER": 0x2000,
    "WS_EX_TOOLWINDOW": 0x80,
}
# Every control of a template is a visible child window; the table leaves that out.
CONTROL_BASE_STYLE = STYLES["WS_CHILD"] | STYLES["WS_VISIBLE"]


def style_value(expr):
    value = 0
    for name in expr.split("|"):
        value |= STYLES[name] if name in STYLES else int(name, 0)
    return value


def resource_name(name):
    """Numeric names as numbers, string names in capitals, as the resource table keeps them."""
    name = name.strip('"')
    return name if re.fullmatch(r"-?\d+", name) else name.upper()


def dialog_line(x, y, cx, cy, style, exstyle, caption, menu, font):
    return (f"at {x},{y} size {cx}x{cy} style {style:#010x} exstyle {exstyle:#x} "
            f'caption "{caption}" menu {menu} font {font}')


def control_line(cid, cls, text, x, y, cx, cy, style, exstyle):
    return (f'control id {cid} {cls.upper()} text "{text}" at {x},{y} size {cx}x{cy} '
            f"style {style:#010x} exstyle {exstyle:#x}")


def item_line(depth, kind, text, cid, flags):
    words = ["  " * depth + kind]
    if kind != "separator":
        words.append(f'"{text}"')
    if kind == "item":
        words.append(str(cid))
    words += sorted(flag.lower() for flag in flags)
    return " ".join(words)


# ---- The expected table ---------------------------------------------------------------------

def parse_expected(path):
    """Returns {resource key: [canonical lines]} from the table, in the table's order."""
    resources, current = {}, None
    with open(path, encoding="utf-8") as f:
        for number, raw in enumerate(f, 1):
            if not raw.strip() or raw.lstrip().startswith("#"):
                continue
            words = shlex.split(raw)
            kind, args = words[0], words[1:]
            try:
                if kind == "dialog":
                    name, x, y, cx, cy, style = args[:6]
                    opts = dict(zip(args[6::2], args[7::2]))
                    current = resources.setdefault(f"dialog {resource_name(name)}", [])
                    font = opts["font"].split(",", 1)
                    current.append(dialog_line(
                        int(x), int(y), int(cx), int(cy), style_value(style),
                        style_value(opts.get("exstyle", "0")), opts.get("caption", ""),
                        opts.get("menu", "-"), f'{font[0]} "{font[1]}"'))
                elif kind == "control":
                    cid, cls, x, y, cx, cy, style, text = args
                    current.append(control_line(
                        int(cid), cls, text, int(x), int(y), int(cx), int(cy),
                        style_value(style) | CONTROL_BASE_STYLE, 0))
                elif kind == "menu":
                    current = resources.setdefault(f"menu {resource_name(args[0])}", [])
                elif kind == "popup":
                    current.append(item_line(0, "popup", args[0], None, args[1:]))
                elif kind == "item":
                    current.append(item_line(1, "item", args[1], int(args[0]), args[2:]))
                elif kind == "separator":
                    current.append(item_line(1, "separator", None, None, []))
                elif kind == "icon":
                    name, width, height, colours = args
                    resources[f"icon {resource_name(name)}"] = [
                        "images 1", f"image 1: {width}x{height}, {colours} colours"]
                elif kind == "version":
                    resources.setdefault("version", []).append(f'{args[0]} "{args[1]}"')
                elif kind == "manifest":
                    name, setting, value = args
                    resources.setdefault(f"manifest {resource_name(name)}", []).append(
                        f'{setting} "{value}"')
                else:
                    raise ValueError(f"unknown record {kind}")
            except (ValueError, KeyError, IndexError, AttributeError) as error:
                sys.exit(f"{path}:{number}: cannot read this line ({error})")
    return resources


# ---- The executable's resources, as windres prints them ----------------------------------------

def windres_for(exe):
    """The windres that reads this executable: PE machine 0x14c is i386, 0x8664 is x86-64."""
    with open(exe, "rb") as f:
        head = f.read(4096)
    pe = struct.unpack_from("<I", head, 0x3C)[0]
    machine = struct.unpack_from("<H", head, pe + 4)[0]
    return {0x14C: "i686-w64-mingw32-windres", 0x8664: "x86_64-w64-mingw32-windres"}[machine]


ESCAPES = {"n": "\n", "t": "\t", "r": "\r", "a": "\a", "b": "\b", "f": "\f", "v": "\v"}


def rc_string(token):
    """Decodes a string as windres writes it: "" for a quote, C escapes, \\ooo and \\xhhhh."""
    wide = token.startswith("L")
    body = token[2:-1] if wide else token[1:-1]
    out, i = [], 0
    while i < len(body):
        c = body[i]
        if c == '"':                      # a doubled quote
            out.append('"')
            i += 2
        elif c != "\\":
            out.append(c)
            i += 1
        else:
            m = (re.match(r"x([0-9a-fA-F]{4}|[0-9a-fA-F]{2})" if wide else r"x([0-9a-fA-F]{2})",
                          body[i + 1:])
                 or re.match(r"([0-7]{1,3})", body[i + 1:]))
            if m and m.group(0).startswith("x"):
                out.append(chr(int(m.group(1), 16)))
                i += 1 + len(m.group(0))
            elif m:
                out.append(chr(int(m.group(1), 8)))
                i += 1 + len(m.group(0))
            else:
                out.append(ESCAPES.get(body[i + 1], body[i + 1]))
                i += 2
    return "".join(out)


def fields(text):
    """Splits a comma-separated resource statement; strings may hold commas."""
    return [m.group(1) for m in re.finditer(r'\s*(L?"(?:[^"]|"")*"|[^,]+?)\s*(?:,|$)', text)
            if m.group(1)]


def number(token):
    value = int(token.rstrip("L"), 0)
    return -1 if value in (0xFFFF, 0xFFFFFFFF) else value


def text_or_ordinal(token):
    return rc_string(token) if token.lstrip("L").startswith('"') else f"#{number(token)}"


def parse_dump(text):
    resources, icons, groups = {}, {}, {}
    lines = iter(text.splitlines())
    for line in lines:
        m = re.match(r'^(\S+) (DIALOGEX|DIALOG) (.*)$', line)
        if m:
            resources[f"dialog {resource_name(m.group(1))}"] = read_dialog(m.group(3), lines)
            continue
        m = re.match(r"^(\S+) MENU\b", line)
        if m:
            resources[f"menu {resource_name(m.group(1))}"] = read_menu(lines)
            continue
        m = re.match(r"^(\S+) (3|14) /\* RT_(GROUP_)?ICON \*/", line)
        if m:
            target = groups if m.group(2) == "14" else icons
            target[resource_name(m.group(1))] = read_block(lines)
            continue
        m = re.match(r"^(\S+) 24 /\* RT_MANIFEST \*/", line)
        if m:
            resources[f"manifest {resource_name(m.group(1))}"] = manifest_lines(
                "".join(rc_string(t.strip()) for t in read_block(lines)))
            continue
        m = re.match(r"^(\S+) VERSIONINFO", line)
        if m:
            resources["version"] = [f'{k} "{v}"' for k, v in read_version(lines)]
            continue
        m = re.match(r"^(\S+) (\S+) ", line)
        if m and not line.startswith(("/*", "LANGUAGE")):
            resources[f"other {line.strip()}"] = ["unexpected resource"]
    for name, body in groups.items():
        resources[f"icon {name}"] = icon_lines(body, icons)
    return resources


def read_block(lines):
    body = []
    for line in lines:
        if line.strip() == "END":
            return body
        if line.strip() != "BEGIN":
            body.append(line)
    return body


def read_dialog(header, lines):
    header = re.sub(r"^(?:[A-Z]+ )+", "", header)   # memory flags, when there are any
    x, y, cx, cy = (number(v) for v in fields(header)[:4])
    style = exstyle = 0
    caption, menu, font = "", "-", "-"
    controls = []
    for line in lines:
        word, _, rest = line.strip().partition(" ")
        if word == "STYLE":
            style = number(rest)
        elif word == "EXSTYLE":
            exstyle = number(rest)
        elif word == "CAPTION":
            caption = rc_string(rest)
        elif word == "MENU":
            menu = resource_name(rest)
        elif word == "FONT":
            size, face = fields(rest)[:2]
            font = f'{size} "{rc_string(face)}"'
        elif word == "CONTROL":
            f = fields(rest)
            ex = number(f[8]) if len(f) > 8 else 0
            controls.append(control_line(
                number(f[1]), rc_string(f[2]), text_or_ordinal(f[0]), number(f[4]), number(f[5]),
                number(f[6]), number(f[7]), number(f[3]), ex))
        elif word == "END":
            break
        elif word not in ("BEGIN", ""):
            controls.append(f"unexpected statement {line.strip()}")
    return [dialog_line(x, y, cx, cy, style, exstyle, caption, menu, font)] + controls


def read_menu(lines):
    items, depth = [], -1
    for line in lines:
        word, _, rest = line.strip().partition(" ")
        if word == "BEGIN":
            depth += 1
        elif word == "END":
            depth -= 1
            if depth < 0:
                break
        elif word == "POPUP":
            f = fields(rest)
            items.append(item_line(depth, "popup", rc_string(f[0]), None,
                                   [w.lower() for w in f[1:]]))
        elif word == "MENUITEM" and rest.strip() == "SEPARATOR":
            items.append(item_line(depth, "separator", None, None, []))
        elif word == "MENUITEM":
            f = fields(rest)
            items.append(item_line(depth, "item", rc_string(f[0]), number(f[1]),
                                   [w.lower() for w in f[2:]]))
    return items


def read_version(lines):
    values, depth = [], 0
    for line in lines:
        word, _, rest = line.strip().partition(" ")
        if word == "BEGIN":
            depth += 1
        elif word == "END":
            depth -= 1
            if depth == 0:
                break
        elif word == "VALUE" and depth == 3:   # StringFileInfo / language block / VALUE
            key, value = fields(rest)[:2]
            values.append((rc_string(key), rc_string(value)))
    return values


ASM_V1 = "{urn:schemas-microsoft-com:asm.v1}"
ASM_V3 = "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"
SETTINGS = ("{http://schemas.microsoft.com/SMI/2005/WindowsSettings}",
            "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}",
            "{http://schemas.microsoft.com/SMI/2017/WindowsSettings}")


def manifest_lines(text):
    """What the manifest asks of Windows: the execution level, each supported OS, the window
    settings gdiScaling, dpiAware and dpiAwareness ("" where absent)."""
    try:
        root = ET.fromstring(text.encode("utf-8"))
    except ET.ParseError as error:
        return [f"not well-formed XML: {error}"]
    if root.tag != ASM_V1 + "assembly" or root.get("manifestVersion") != "1.0":
        return [f"root element {root.tag} version {root.get('manifestVersion')}, want an "
                "assembly of manifestVersion 1.0"]
    lines = []
    for level in root.iter(ASM_V3 + "requestedExecutionLevel"):
        lines.append(f'requestedExecutionLevel "{level.get("level")}"')
    for os_id in root.iter(COMPAT + "supportedOS"):
        lines.append(f'supportedOS "{os_id.get("Id")}"')
    for setting in ("gdiScaling", "dpiAware", "dpiAwareness"):
        values = [e.text.strip() for ns in SETTINGS for e in root.iter(ns + setting)]
        lines.append(f'{setting} "{" ".join(values)}"')
    return lines


def block_bytes(body):
    """The raw data windres prints as 32-bit (…L) and 16-bit words, little-endian."""
    data = b""
    for token in re.findall(r"0x[0-9a-fA-F]+L?|\d+L?", " ".join(body)):
        data += struct.pack("<I" if token.endswith("L") else "<H", int(token.rstrip("L"), 0))
    return data


def icon_lines(group, icons):
    # An element: "width height colours pad", planes, bits, bytes, image name.
    elements = [fields(line.split("/*")[0]) for line in group if line.strip().startswith('"')]
    out = [f"images {len(elements)}"]
    for index, element in enumerate(elements, 1):
        dims = rc_string(element[0])
        width, height = ord(dims[0]) or 256, ord(dims[1]) or 256
        image = block_bytes(icons.get(resource_name(element[4]), []))
        if len(image) < 16:
            out.append(f"image {index}: missing")
            continue
        # BITMAPINFOHEADER: size, width, height (image and mask), planes, bit count
        _, bw, bh, planes, bits = struct.unpack_from("<IiiHH", image)
        if (bw, bh // 2) != (width, height) or number(element[2]) != bits:
            out.append(f"image {index}: directory says {width}x{height} {element[2]} bits, "
                       f"image says {bw}x{bh // 2} {bits} bits")
        else:
            out.append(f"image {index}: {bw}x{bh // 2}, {2 ** (bits * planes)} colours")
    return out


# ---- Comparison ---------------------------------------------------------------------------

def compare(expected, actual):
    faults = []
    for key, want in expected.items():
        got = actual.get(key)
        if got is None:
            faults.append(f"{key}: missing from the executable")
            continue
        for index in range(max(len(want), len(got))):
            w = want[index] if index < len(want) else "(nothing)"
            g = got[index] if index < len(got) else "(nothing)"
            if w != g:
                faults.append(f"{key}, line {index}:\n    expected {w}\n    found    {g}")
                break                      # the first difference of each resource
    for key in actual:
        if key not in expected:
            faults.append(f"{key}: in the executable but not expected")
    return faults


def main(argv):
    if len(argv) not in (2, 3):
        sys.exit(__doc__)
    exe = argv[1]
    table = argv[2] if len(argv) == 3 else os.path.join(os.path.dirname(__file__),
                                                       "expected_resources.txt")
    expected = parse_expected(table)
    dump = subprocess.run([windres_for(exe), "-i", exe, "-O", "rc"], check=True,
                          capture_output=True, text=True, encoding="latin-1").stdout
    faults = compare(expected, parse_dump(dump))
    for fault in faults:
        print(f"resources: {fault}")
    if faults:
        print(f"resources: FAIL: {exe} differs from {table} in {len(faults)} place(s)")
        return 1
    print(f"resources: OK, {len(expected)} resources of {exe} as expected")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
