#!/usr/bin/env python3
"""Checks the Windows package as a user gets it.

    tests/package/check_package.py PIKON-<version>-win32.zip VERSION

The zip must hold exactly PIKON.exe, PIKON.HLP, PIKON.html and LIESMICH.TXT, side by side.
Unpacked: PIKON.exe is the 32-bit GUI build that runs alone (tests/wine/check_exe.sh) without
debug sections, its resources are those the program expects, its application manifest included
(tests/wine/check_resources.py), and its version resource (numbers and texts) and About box name
VERSION, the version in the zip's name; PIKON.HLP is a WinHelp file; PIKON.html is UTF-8 with a
section for each topic of the help source, and every link and source in it leads to an element
of the page or to a file of the package; LIESMICH.TXT is UTF-8 with a byte order mark and
Windows line ends, has its sections, and names the version, every line of the module, the help
files and what to do on today's Windows.
"""
import html.parser
import os
import re
import subprocess
import sys
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
HELP_SOURCE = os.path.join(HERE, "..", "..", "resources", "pikon_help.txt")
CONTENTS = {"PIKON.exe", "PIKON.HLP", "PIKON.html", "LIESMICH.TXT"}
README_SECTIONS = ["Was PIKON tut", "Inhalt dieses Pakets", "Das Modul anschließen", "Hilfe",
                   "Erster Start: Warnungen von Windows", "USB-Seriell-Adapter",
                   "Welche Schnittstelle?", "Linux mit Wine", "Was PIKON nicht tut"]
README_WORDS = ["RTS", "DTR", "CTS", "TXD", "RI und DCD", "RING und RLSD", "PIKON.HLP",
                "PIKON.html", "Windows XP", "Windows Vista", "Geräte-Manager",
                "Anschlüsse (COM & LPT)", "Anschlusseinstellungen", "COM-Anschlussnummer",
                "Latency Timer", "Weitere Informationen", "Trotzdem ausführen", "Zulassen",
                "Smart App Control", "tools/wine-port.sh /dev/ttyUSB0 COM1", "dialout"]
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
    data = open(path, "rb").read()
    if not data.startswith(b"\xef\xbb\xbf"):
        fail("LIESMICH.TXT has no UTF-8 byte order mark")
    if data.count(b"\n") != data.count(b"\r\n"):
        fail("LIESMICH.TXT has line ends other than CR LF")
    try:
        text = data[3:].decode("utf-8")
    except UnicodeDecodeError as e:
        return fail(f"LIESMICH.TXT is not UTF-8: {e}")
    for word in [f"PIKON {version}"] + README_WORDS:
        if word not in text:
            fail(f"LIESMICH.TXT does not mention {word!r}")
    # A heading is a line underlined with dashes or equals signs.
    headings = re.findall(r"^(.+)\r\n[-=]+\r\n", text, re.M)
    for section in README_SECTIONS:
        if section not in headings:
            fail(f"LIESMICH.TXT has no section {section!r} (it has {headings})")


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
            check_readme(file("LIESMICH.TXT"), version)
    for f in failures:
        print(f"package: FAIL: {f}", file=sys.stderr)
    if failures:
        sys.exit(1)
    print(f"package: PASS, {path}")


if __name__ == "__main__":
    main()
