#!/usr/bin/env python3
"""Checks the Windows package as a user gets it.

    tests/package/check_package.py PIKON-<version>-win32.zip VERSION

The zip must hold exactly PIKON.exe, PIKON.HLP, PIKON.html, LIESMICH.TXT and wine-port.sh, side
by side. Unpacked: PIKON.exe is the 32-bit GUI build that runs alone (tests/wine/check_exe.sh)
without debug sections, its resources are those the program expects, its application manifest
included (tests/wine/check_resources.py), and its version resource (numbers and texts) and About
box name VERSION, the version in the zip's name; PIKON.HLP is a WinHelp file; PIKON.html is UTF-8
with a section for each topic of the help source, and every link and source in it leads to an
element of the page or to a file of the package; LIESMICH.TXT is UTF-8 with a byte order mark
and Windows line ends, has its sections, gives each line of the module with its pin, and names
the version, the help files and what to do on today's Windows and on Linux; wine-port.sh is an
executable script with Unix line ends. Every text the help and LIESMICH.TXT quote is the
program's own (taken from resources/pikon.rc and the program's sources), a section of theirs, or
one of the texts of Windows and the drivers listed below.
"""
import html.parser
import os
import re
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.join(HERE, "..", "..")
HELP_SOURCE = os.path.join(ROOT, "resources", "pikon_help.txt")
PROGRAM_SOURCES = [os.path.join(ROOT, "resources", "pikon.rc")] + sorted(
    os.path.join(ROOT, folder, name) for folder in ("app", "measure", "plot", "modlink")
    for name in os.listdir(os.path.join(ROOT, folder)) if name.endswith((".cpp", ".h")))
CONTENTS = {"PIKON.exe", "PIKON.HLP", "PIKON.html", "LIESMICH.TXT", "wine-port.sh"}
README_SECTIONS = ["Inhalt dieses Pakets", "Schnellstart", "Das Modul anschließen",
                   "Stimmen die Werte?", "Anschlüsse und Adapter", "Meldungen",
                   "Warnungen von Windows", "Hilfe", "Linux mit Wine", "Was PIKON nicht tut"]
README_WORDS = ["1:1-Kabel", "Nullmodemkabel", "Stromversorgung", "Administratorrechten",
                "Geräte-Manager", "Anschlüsse (COM & LPT)", "Serielles USB-Gerät (COM5)",
                '"COM Port Number"', '"Latency Timer (msec)"', "Seriennummer", "0.000",
                "PIKON.HLP", "PIKON.html", "Windows XP", "Windows Vista", "Zulassen",
                "Weitere Informationen", "Trotzdem ausführen", "Smart App Control",
                "wine32:i386", "bash wine-port.sh /dev/ttyUSB0 COM1", "dialout"]
# The module's lines and their pins on the 9-pin plug, as LIESMICH.TXT's table must give them.
PINS = {"RTS": 7, "DTR": 4, "CTS": 8, "TXD": 3, "RI": 9, "DCD": 1, "GND": 5, "DSR": 6}
# Texts the documents quote that are not PIKON's, and whose they are.
OTHERS = {
    "Allgemein": "Windows, a file's properties", "Zulassen": "Windows, a file's properties",
    "Geräte-Manager": "Windows", "Anschlüsse (COM & LPT)": "Windows' Device Manager",
    "Anschlusseinstellungen": "Windows' serial port properties",
    "Erweitert...": "Windows' serial port properties",
    "COM-Anschlussnummer": "Windows' serial port properties",
    "in Verwendung": "Windows' serial port properties",
    "Serielles USB-Gerät (COM5)": "Windows' class driver usbser.sys",
    "Serielles USB-Gerät (COMn)": "Windows' class driver usbser.sys",
    "USB Serial Port (COM5)": "FTDI's driver", "Port Settings": "FTDI's driver",
    "Advanced...": "FTDI's driver", "COM Port Number": "FTDI's driver",
    "Latency Timer (msec)": "FTDI's driver",
    "Der Computer wurde durch Windows geschützt": "Windows SmartScreen",
    "Weitere Informationen": "Windows SmartScreen", "Trotzdem ausführen": "Windows SmartScreen",
    "Intelligenter App-Steuerung": "Windows 11's Smart App Control",
}
failures = []


def fail(what):
    failures.append(what)


class Sections(html.parser.HTMLParser):
    """The ids of the page's sections, its links and the titles of its sections; every id or
    anchor name a link may lead to; every file the page loads (src, link href)."""

    def __init__(self):
        super().__init__()
        self.ids, self.links, self.titles, self._in_h2 = [], [], [], False
        self.targets, self.sources = set(), []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        self.targets.update(v for k, v in attrs.items() if k == "id" or (tag == "a" and k == "name"))
        if attrs.get("src") is not None:
            self.sources.append(attrs["src"])
        if tag == "link" and attrs.get("href") is not None:
            self.sources.append(attrs["href"])
        if tag == "section":
            self.ids.append(attrs.get("id"))
        elif tag == "a":
            self.links.append(attrs.get("href", ""))
        elif tag == "h2":
            self._in_h2 = True
            self.titles.append("")

    def handle_endtag(self, tag):
        if tag == "h2":
            self._in_h2 = False

    def handle_data(self, data):
        if self._in_h2:
            self.titles[-1] += data


def check_exe(exe, version):
    for check in (["check_exe.sh", exe, "pei-i386"], ["check_resources.py", exe]):
        try:
            out = subprocess.run([os.path.join(HERE, "..", "wine", check[0])] + check[1:],
                                 capture_output=True, text=True, check=True).stdout
            print("package: " + out.strip().splitlines()[-1])
        except subprocess.CalledProcessError as e:
            fail((e.stderr.strip() or e.stdout.strip()).replace("\n", "; "))
    sections = subprocess.run(["x86_64-w64-mingw32-objdump", "-h", exe], capture_output=True,
                              text=True, check=True).stdout
    debug = re.findall(r"^\s*\d+\s+(\.debug\S*)", sections, re.M)
    if debug:
        fail(f"PIKON.exe carries debug sections: {' '.join(debug)}")
    rc = subprocess.run(["i686-w64-mingw32-windres", "-i", exe, "-O", "rc"], capture_output=True,
                        check=True).stdout.decode("latin-1")
    numbers = ", ".join((version.split(".") + ["0", "0", "0"])[:4])
    for key in ("FILEVERSION", "PRODUCTVERSION"):
        m = re.search(rf"^\s*{key} (.*)$", rc, re.M)
        if not m or m.group(1).strip() != numbers:
            fail(f"PIKON.exe: {key} is {m and m.group(1)}, want {numbers}")
    for key in ("FileVersion", "ProductVersion"):
        m = re.search(rf'VALUE "{key}", "([^"]*)"', rc)
        if not m or m.group(1) != version:
            fail(f"PIKON.exe: version text {key} is {m and m.group(1)}, want {version}")
    if f'CONTROL "Version {version}"' not in rc:
        fail(f'PIKON.exe: the About box does not say "Version {version}"')


def link_fault(link, page, folder):
    """Why a link or source of the page leads nowhere, or None: "#id" must name an element of the
    page, a relative path a file of the package (and its "#id" an element of PIKON.html)."""
    if not link:
        return "is empty"
    target, _, anchor = link.partition("#")
    if re.match(r"^[a-z][a-z0-9+.-]*:", target, re.I) or target.startswith("//"):
        return "leads out of the package"
    if target and not os.path.isfile(os.path.join(folder, target)):
        return "names no file of the package"
    if anchor and (target in ("", "PIKON.html")) and anchor not in page.targets:
        return "names no element of the page"
    return None


def check_html(path):
    try:
        text = open(path, encoding="utf-8").read()
    except UnicodeDecodeError as e:
        return fail(f"PIKON.html is not UTF-8: {e}")
    page = Sections()
    page.feed(text)
    source = open(HELP_SOURCE, encoding="utf-8").read()
    topics = re.findall(r"^\.topic (\S+) (.*)$", source, re.M)
    if [t[0].lower() for t in topics] != page.ids:
        fail(f"PIKON.html: sections {page.ids}, the source's topics {[t[0] for t in topics]}")
    if [t[1].strip() for t in topics] != [t.strip() for t in page.titles]:
        fail(f"PIKON.html: section titles {page.titles} differ from the topics' titles")
    followed = 0
    for link in page.links + page.sources:
        fault = link_fault(link, page, os.path.dirname(path))
        if fault:
            fail(f"PIKON.html: the link {link!r} {fault}")
        followed += 1
    print(f"package: PIKON.html: {len(page.ids)} sections, {followed} links and sources followed")


def check_readme(path, version):
    """Returns the text and its headings."""
    data = open(path, "rb").read()
    if not data.startswith(b"\xef\xbb\xbf"):
        fail("LIESMICH.TXT has no UTF-8 byte order mark")
    if data.count(b"\n") != data.count(b"\r\n"):
        fail("LIESMICH.TXT has line ends other than CR LF")
    try:
        text = data[3:].decode("utf-8")
    except UnicodeDecodeError as e:
        fail(f"LIESMICH.TXT is not UTF-8: {e}")
        return "", []
    for word in [f"PIKON {version}"] + README_WORDS:
        if word not in text:
            fail(f"LIESMICH.TXT does not mention {word!r}")
    # A heading is a line underlined with dashes or equals signs.
    headings = re.findall(r"^(.+)\r\n[-=]+\r\n", text, re.M)
    for section in README_SECTIONS + [f"Neu in {version}"]:
        if section not in headings:
            fail(f"LIESMICH.TXT has no section {section!r} (it has {headings})")
    pins = dict((line, int(pin)) for pin, line in
                re.findall(r"^ +(\d) +([A-Z]{2,3})\b", text, re.M) if line in PINS)
    if pins != PINS:
        fail(f"LIESMICH.TXT gives the lines' pins as {pins}, want {PINS}")
    return text, headings


def literals(source, rc):
    """The string literals of a C or resource source, adjacent ones joined, escapes resolved;
    comments and character literals skipped. A resource text loses its '&' (the underlined key)."""
    out, i, joined = [], 0, None
    escapes = {"n": "\n", "t": "\t", '"': '"', "\\": "\\", "'": "'"}
    while i < len(source):
        if source.startswith("//", i):
            i = source.find("\n", i) % (len(source) + 1)
        elif source.startswith("/*", i):
            i = source.index("*/", i) + 2
        elif source[i] == "'" and not rc:
            i = source.index("'", i + 1 + (source[i + 1] == "\\")) + 1
        elif source[i] == '"':
            text, i = "", i + 1
            while source[i] != '"':
                if source[i] == "\\" and source[i + 1] == "x":
                    m = re.match(r"[0-9A-Fa-f]+", source[i + 2:])
                    text += bytes([int(m.group(), 16)]).decode("cp1252")
                    i += 2 + len(m.group())
                elif source[i] == "\\":
                    text += escapes.get(source[i + 1], source[i + 1])
                    i += 2
                else:
                    text += source[i]
                    i += 1
            i += 1
            if rc:
                text = re.sub(r"&(.)", r"\1", text)
            if joined is not None:
                out[-1] += text
            else:
                out.append(text)
            joined = True
            continue
        elif not source[i].isspace():
            joined = None
        i += 1
    return out


def normal(text):
    return " ".join(text.split())


def program_texts():
    """The program's texts, each as a pattern for what a document may quote of it: the whole text
    or some of its lines in a row, white space as one blank, a printf conversion as a word (a
    number, or a letter standing for one)."""
    texts = []
    for path in PROGRAM_SOURCES:
        texts += literals(open(path, encoding="utf-8").read(), path.endswith(".rc"))
    patterns = set()
    for text in texts:
        lines = text.split("\n")
        for a in range(len(lines)):
            for b in range(a + 1, len(lines) + 1):
                pieces = re.split(r"%[-+ #0-9.]*l?[a-z]", normal(" ".join(lines[a:b])))
                if "".join(pieces).strip():  # a format of numbers alone is never quoted
                    patterns.add("(?:" + r"\S+".join(re.escape(p) for p in pieces) + ")")
    return re.compile("|".join(sorted(patterns)))


def quotes(text):
    """The texts quoted „so“ (nested quotes included, and each quote inside) or "so"."""
    found, opened = [], []
    for i, c in enumerate(text):
        if c == "„":
            opened.append(i + 1)
        elif c == "“" and opened:
            found.append(text[opened.pop():i])
    found += re.findall(r'"([^"]+)"', text)
    return [normal(q) for q in found]


def check_quotes(documents, headings):
    """Every quote of the documents is the program's text (a menu path „A > B“ one in each
    part), one of their own headings, or another's text in OTHERS."""
    program = program_texts()
    checked = 0
    for name, text in documents.items():
        for q in quotes(text):
            checked += 1
            if q in headings or q in OTHERS:
                continue
            if not all(program.fullmatch(part) for part in q.split(" > ")):
                fail(f"{name} quotes „{q}“, which is no text of the program's, no section of the "
                     f"help or LIESMICH.TXT, and none of the others' texts this check knows")
    print(f"package: {checked} quoted texts in the help and LIESMICH.TXT: the program's, sections "
          f"or Windows' and the drivers'")


class PageText(html.parser.HTMLParser):
    """A page's text as a reader sees it (not its style sheet or title), a line break for <br>;
    and its headings."""

    def __init__(self):
        super().__init__()
        self.text, self.headings, self._heading, self._style = "", [], None, False

    def handle_starttag(self, tag, attrs):
        self._style = tag in ("style", "title")
        if tag == "br":
            self.text += "\n"
        elif tag in ("h2", "h3"):
            self._heading = ""

    def handle_endtag(self, tag):
        self._style = False
        if tag in ("h2", "h3") and self._heading is not None:
            self.headings.append(normal(self._heading))
            self._heading = None
        self.text += " " if tag in ("p", "li", "h2", "h3") else ""

    def handle_data(self, data):
        if self._style:
            return
        self.text += data
        if self._heading is not None:
            self._heading += data


def check_script(path, mode):
    data = open(path, "rb").read()
    if not data.startswith(b"#!/usr/bin/env bash\n") or b"\r" in data:
        fail("wine-port.sh is no bash script with Unix line ends")
    if not mode & 0o111:
        fail(f"wine-port.sh is not executable in the zip (mode {oct(mode)})")


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    path, version = sys.argv[1:]
    if os.path.basename(path) != f"PIKON-{version}-win32.zip":
        fail(f"the package is called {os.path.basename(path)}, want PIKON-{version}-win32.zip")
    with zipfile.ZipFile(path) as z, tempfile.TemporaryDirectory() as tmp:
        names = set(z.namelist())
        if names != CONTENTS:
            fail(f"the zip holds {sorted(names)}, want {sorted(CONTENTS)}")
        if z.testzip() is not None:
            fail(f"the zip's member {z.testzip()} is damaged")
        z.extractall(tmp)
        print("package: " + ", ".join(f"{i.filename} ({i.file_size} bytes)" for i in z.infolist()))
        file = lambda name: os.path.join(tmp, name)  # noqa: E731
        if CONTENTS <= names:
            check_exe(file("PIKON.exe"), version)
            if open(file("PIKON.HLP"), "rb").read(4) != b"\x3f\x5f\x03\x00":
                fail("PIKON.HLP is not a WinHelp file")
            check_html(file("PIKON.html"))
            readme, headings = check_readme(file("LIESMICH.TXT"), version)
            page = PageText()
            page.feed(open(file("PIKON.html"), encoding="utf-8", errors="replace").read())
            check_quotes({"PIKON.html": page.text, "LIESMICH.TXT": readme},
                         set(headings) | set(page.headings))
            check_script(file("wine-port.sh"), z.getinfo("wine-port.sh").external_attr >> 16)
    for f in failures:
        print(f"package: FAIL: {f}", file=sys.stderr)
    if failures:
        sys.exit(1)
    print(f"package: PASS, {path}")


if __name__ == "__main__":
    main()
