#!/usr/bin/python3
"""Checks the committed data files in assets/data against what the program needs
and against their text sources in assets/src.

usage: check_assets.py [--help-file-only] DATA_DIR SRC_DIR

One private headless LibreOffice (own profile, own pipe) serves all office checks
and is shut down at the end whatever happens. The help file is unpacked with
extract_chmLib (libchm-bin) and compared with its sources; --help-file-only runs
just that part (a second or so, no office needed). Prints every failed check and
exits non-zero if there was one.
"""
import csv
import html.parser
import json
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import wave

import uno

PASSWORD = "708klm"
FIRST_ROW = 13       # 1-based row of the first person
LAST_ROW = 612       # the program reads at most 600 people
SOUNDS = ("start", "middle", "end", "ding")

failures = []


def check(ok, message):
    if not ok:
        failures.append(message)
    return ok


# ------------------------------------------------------------------ sounds

def check_sounds(data):
    contents = {}
    for name in SOUNDS:
        path = os.path.join(data, name + ".wav")
        if not check(os.path.isfile(path), "%s.wav is missing" % name):
            continue
        try:
            w = wave.open(path, "rb")  # refuses anything but PCM
        except (wave.Error, EOFError) as e:
            check(False, "%s.wav is not a PCM wav file: %s" % (name, e))
            continue
        with w:
            channels, width, rate, frames = (w.getnchannels(), w.getsampwidth(),
                                             w.getframerate(), w.getnframes())
            raw = w.readframes(frames)
        check(w.getcomptype() == "NONE", "%s.wav is compressed" % name)
        check(channels == 1, "%s.wav has %d channels, want mono" % (name, channels))
        check(width == 2, "%s.wav has %d-byte samples, want 16-bit" % (name, width))
        check(rate in (44100, 22050), "%s.wav rate %d" % (name, rate))
        if width != 2 or channels != 1 or frames == 0:
            continue
        seconds = frames / rate
        check(0.3 <= seconds <= 1.5, "%s.wav lasts %.2f s, want 0.3-1.5 s" % (name, seconds))
        samples = struct.unpack("<%dh" % frames, raw[:2 * frames])
        peak = max(abs(s) for s in samples)
        check(peak > 0.3 * 32767, "%s.wav is too quiet (peak %d)" % (name, peak))
        check(peak < 32767, "%s.wav clips" % name)
        # Faded edges: a sound that starts or stops at full level clicks. Within
        # the first and last half millisecond it must still be near silence.
        edge = int(0.0005 * rate)
        check(max(abs(s) for s in samples[:edge]) < 0.03 * 32767,
              "%s.wav starts abruptly" % name)
        check(max(abs(s) for s in samples[-edge:]) < 0.03 * 32767,
              "%s.wav ends abruptly" % name)
        contents[name] = raw
    check(len(set(contents.values())) == len(contents), "two of the sounds are identical")


# ------------------------------------------------------------------ office
# The generator's private headless office serves the checks too.
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "src"))
from office import Office, props  # noqa: E402


def close_doc(doc):
    try:
        doc.close(True)
    except Exception:
        pass


def read(office, path, **extra):
    """Opens a committed file read-only: the checks read assets/data in place and must
    leave no lock file there (one left by a check that was killed made the next check
    fail to open Note1.PPT)."""
    return office.load(path, ReadOnly=True, **extra)


def refuses(office, path, **extra):
    """True when the office cannot open the file with these arguments."""
    try:
        doc = read(office, path, **extra)
    except Exception:
        return True
    if doc is None:
        return True
    close_doc(doc)
    return False


# --------------------------------------------------------------- workbooks

def col(letter):
    return ord(letter) - ord("A")


def read_sources(src):
    with open(os.path.join(src, "workbooks.json"), encoding="utf-8") as f:
        books = json.load(f)
    people = {}
    for book in books["workbooks"]:
        with open(os.path.join(src, book["people"]), encoding="utf-8", newline="") as f:
            rows = [r for r in csv.reader(f)][1:]
        people[book["file"]] = [[c.strip() for c in r] for r in rows if any(c.strip() for c in r)]
    return books, people


def is_empty(cell):
    return cell.Type == uno.Enum("com.sun.star.table.CellContentType", "EMPTY")


def check_workbook(office, data, book, expected_people):
    name = book["file"]
    path = os.path.join(data, name)
    if not check(os.path.isfile(path), "%s is missing" % name):
        return
    # Encrypted: no readable name in the raw bytes, and no opening without the password.
    with open(path, "rb") as f:
        raw = f.read()
    first_name = expected_people[0][1]
    check(first_name.encode("utf-16-le") not in raw and first_name.encode("utf-8") not in raw,
          "%s holds the names in clear text (not encrypted)" % name)
    check(refuses(office, path), "%s opens without a password" % name)
    check(refuses(office, path, Password="wrong1"), "%s opens with a wrong password" % name)

    doc = read(office, path, Password=PASSWORD)
    if not check(doc is not None, "%s does not open with the password" % name):
        return
    try:
        sheets = doc.Sheets
        check(sheets.ElementNames[0] == "sheet1",
              "%s: first sheet is %r, want 'sheet1'" % (name, sheets.ElementNames[0]))
        sheet = sheets.getByIndex(0)

        def cell(ref):
            letters = ref.rstrip("0123456789")
            return sheet.getCellByPosition(col(letters), int(ref[len(letters):]) - 1)

        cols = book["columns"]
        rows = []
        for row in range(FIRST_ROW - 1, LAST_ROW):
            person_name = sheet.getCellByPosition(col(cols["name"]), row).getString()
            if not person_name.strip():
                break
            rows.append(row)
        n = len(rows)
        check(n == len(expected_people),
              "%s: %d person rows, source lists %d" % (name, n, len(expected_people)))
        check(n >= 2, "%s: fewer than two people" % name)
        if n < LAST_ROW - FIRST_ROW + 1:
            after = FIRST_ROW - 1 + n
            check(all(is_empty(sheet.getCellByPosition(c, after)) for c in range(7)),
                  "%s: row %d after the list is not empty" % (name, after + 1))

        total = cell(book["total_cell"])
        check(total.getValue() == n and total.getString() == str(n),
              "%s: %s holds %r, want the person count %d"
              % (name, book["total_cell"], total.getString(), n))
        if "participant_cell" in book:
            part = cell(book["participant_cell"])
            want = n if book["participants"] == "all" else int(book["participants"])
            check(part.getString() == str(want) and 1 <= part.getValue() <= n,
                  "%s: %s holds %r, want %d" % (name, book["participant_cell"],
                                                part.getString(), want))
        check(cell(book["status_cell"]).getString() == "",
              "%s: status cell %s is not empty" % (name, book["status_cell"]))
        heading = FIRST_ROW - 1
        for letter in ("A", "B"):
            check(cell("%s%d" % (letter, heading)).getString().strip() != "",
                  "%s: heading %s%d is empty" % (name, letter, heading))

        draw_col = "E" if "group" in cols else "C"
        groups = set()
        for k, row in enumerate(rows):
            number = sheet.getCellByPosition(col(cols["number"]), row).getString()
            person = sheet.getCellByPosition(col(cols["name"]), row).getString()
            if k < len(expected_people):
                src = expected_people[k]
                check(number == src[0] and person == src[1],
                      "%s row %d: %s/%s, source has %s/%s"
                      % (name, row + 1, number, person, src[0], src[1]))
            check(number.strip() != "", "%s row %d: no list number" % (name, row + 1))
            check(is_empty(sheet.getCellByPosition(col(draw_col), row)),
                  "%s row %d: draw number cell is not empty" % (name, row + 1))
            if "group" in cols:
                g = sheet.getCellByPosition(col(cols["group"]), row)
                ok = (g.Type == uno.Enum("com.sun.star.table.CellContentType", "VALUE")
                      and g.getValue() in (1, 2, 3, 4))
                check(ok, "%s row %d: group %r is not a number 1-4"
                      % (name, row + 1, g.getString()))
                if ok:
                    groups.add(int(g.getValue()))
                if k < len(expected_people):
                    check(g.getString() == expected_people[k][2],
                          "%s row %d: group differs from the source" % (name, row + 1))
                check(is_empty(sheet.getCellByPosition(col("F"), row)),
                      "%s row %d: group rank cell is not empty" % (name, row + 1))
        if "group" in cols:
            check(groups == {1, 2, 3, 4}, "%s: groups used are %s, want 1-4"
                  % (name, sorted(groups)))
    finally:
        close_doc(doc)


# ----------------------------------------------------------- presentations

def slide_texts(page):
    texts = []
    for i in range(page.Count):
        shape = page.getByIndex(i)
        if hasattr(shape, "String"):
            text = shape.getString().strip()
            if text:
                texts.append(text)
    return texts


def has_chinese(text):
    return any("\u4e00" <= ch <= "\u9fff" for ch in text)


def check_presentation(office, data, src, source_name):
    with open(os.path.join(src, "slides", source_name), encoding="utf-8") as f:
        deck = json.load(f)
    name = deck["file"]
    path = os.path.join(data, name)
    if not check(os.path.isfile(path), "%s is missing" % name):
        return
    doc = read(office, path)
    if not check(doc is not None, "%s does not open" % name):
        return
    try:
        pages = doc.DrawPages
        count = pages.Count
        if "lots" in deck:
            check(count == 12, "%s has %d slides, want 12" % (name, count))
            for i in range(count):
                texts = slide_texts(pages.getByIndex(i))
                check(str(i + 1) in texts,
                      "%s slide %d does not show its number: %.60r" % (name, i + 1, texts))
        else:
            check(count >= 2, "%s has %d slides" % (name, count))
            check(count == len(deck["slides"]), "%s has %d slides, source has %d"
                  % (name, count, len(deck["slides"])))
            for i in range(min(count, len(deck["slides"]))):
                texts = slide_texts(pages.getByIndex(i))
                joined = "\n".join(texts)
                check(has_chinese(joined), "%s slide %d has no Chinese text" % (name, i + 1))
                check(deck["slides"][i]["title"] in texts,
                      "%s slide %d lacks its title" % (name, i + 1))
    finally:
        close_doc(doc)


# --------------------------------------------------------------- help file

HELP_FILE = "帮助文件.chm"
HELP_LCID = 0x0804   # simplified Chinese; the viewers read contents and index as GB2312/GBK


def read_project(path):
    """The sections of a .hhp project: {section: [lines]}."""
    sections, current = {}, None
    with open(path, encoding="utf-8") as f:
        for line in f:
            line = line.strip()
            if not line:
                continue
            m = re.fullmatch(r"\[(\w+)\]", line)
            if m:
                current = sections.setdefault(m.group(1), [])
            elif current is not None:
                current.append(line)
    return sections


class SitemapParser(html.parser.HTMLParser):
    """Entries of a .hhc or .hhk: one (names, locals) pair per sitemap object."""

    def __init__(self):
        super().__init__()
        self.entries = []
        self._names = self._locals = None

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "object" and attrs.get("type") == "text/sitemap":
            self._names, self._locals = [], []
        elif tag == "param" and self._names is not None:
            name = (attrs.get("name") or "").lower()
            if name == "name":
                self._names.append(attrs.get("value") or "")
            elif name == "local":
                self._locals.append(attrs.get("value") or "")

    def handle_endtag(self, tag):
        if tag == "object" and self._names is not None:
            self.entries.append((self._names, self._locals))
            self._names = self._locals = None


def sitemap(path):
    parser = SitemapParser()
    with open(path, encoding="utf-8") as f:
        parser.feed(f.read())
    return parser.entries


class PageParser(html.parser.HTMLParser):
    def __init__(self):
        super().__init__()
        self.title, self.links, self.charset = "", [], None
        self._in_title = False

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "title":
            self._in_title = True
        elif tag == "a" and attrs.get("href"):
            self.links.append(attrs["href"])
        elif tag == "link" and attrs.get("href"):
            self.links.append(attrs["href"])
        elif tag == "meta" and "charset=" in (attrs.get("content") or "").lower():
            self.charset = attrs["content"].lower().split("charset=")[1].strip()

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


def chm_system(raw):
    """Records of a CHM's #SYSTEM file: {code: bytes} (version dword, then code,
    length, data)."""
    records, i = {}, 4
    while i + 4 <= len(raw):
        code, length = struct.unpack("<HH", raw[i:i + 4])
        records[code] = raw[i + 4:i + 4 + length]
        i += 4 + length
    return records


def check_help(data, src):
    helpdir = os.path.join(src, "help")
    project = read_project(os.path.join(helpdir, "help.hhp"))
    options = dict(line.split("=", 1) for line in project.get("OPTIONS", []) if "=" in line)
    files = project.get("FILES", [])
    pages = sorted(f for f in files if f.endswith(".html"))
    on_disk = sorted(f for f in os.listdir(helpdir) if f.endswith((".html", ".css")))
    check(sorted(files) == on_disk, "help.hhp [FILES] %s differs from the pages in %s: %s"
          % (sorted(files), helpdir, on_disk))
    check(len(pages) >= 10, "the help has only %d pages" % len(pages))
    check(options.get("Language", "").lower() == "0x804",
          "help.hhp: Language is %r, want 0x804" % options.get("Language"))
    check(options.get("Default topic") in pages,
          "help.hhp: default topic %r is not a page" % options.get("Default topic"))

    # Contents: every page exactly once, under its own title; nothing points elsewhere.
    contents = sitemap(os.path.join(helpdir, options.get("Contents file", "")))
    targets = [loc for _, locals_ in contents for loc in locals_]
    for page in pages:
        check(targets.count(page) == 1, "the contents list %s %d times, want once"
              % (page, targets.count(page)))
    for loc in targets:
        check(loc in pages, "the contents point to %s, which is not a page" % loc)
    titles = {}
    for page in pages:
        parser = PageParser()
        with open(os.path.join(helpdir, page), encoding="utf-8") as f:
            parser.feed(f.read())
        titles[page] = parser.title.strip()
        check(parser.charset == "utf-8", "%s does not declare charset=utf-8" % page)
        check(has_chinese(parser.title), "%s has no Chinese title" % page)
        for link in parser.links:
            target = link.split("#")[0]
            check(target in files, "%s links to %s, which is not in the help" % (page, link))
    for names, locals_ in contents:
        if locals_:
            check(names and names[0] == titles.get(locals_[0]),
                  "contents entry %r for %s, the page's title is %r"
                  % (names[:1], locals_[0], titles.get(locals_[0])))

    # Index: keywords in Chinese or naming a file, each pointing at pages of the help.
    index = sitemap(os.path.join(helpdir, options.get("Index file", "")))
    check(len(index) >= 20, "the index has only %d keywords" % len(index))
    for names, locals_ in index:
        check(bool(names) and bool(locals_), "index entry %r without a page" % (names,))
        for loc in locals_:
            check(loc in pages, "index entry %r points to %s, not a page" % (names[:1], loc))
    indexed = {loc for _, locals_ in index for loc in locals_}
    for page in pages:
        check(page in indexed, "no index keyword leads to %s" % page)

    # The compiled file.
    chm = os.path.join(data, HELP_FILE)
    if not check(os.path.isfile(chm), "%s is missing" % HELP_FILE):
        return
    with open(chm, "rb") as f:
        header = f.read(24)
    if not check(header[:4] == b"ITSF", "%s is not a CHM file (no ITSF signature)" % HELP_FILE):
        return
    check(struct.unpack("<I", header[20:24])[0] == HELP_LCID,
          "%s: header language is 0x%x, want 0x%x"
          % (HELP_FILE, struct.unpack("<I", header[20:24])[0], HELP_LCID))
    tool = shutil.which("extract_chmLib")
    if not check(tool is not None, "extract_chmLib is missing (libchm-bin, scripts/bootstrap.sh)"):
        return
    out = tempfile.mkdtemp(prefix="vexlo-help-check-")
    try:
        run = subprocess.run([tool, chm, out], stdin=subprocess.DEVNULL,
                             stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, timeout=60)
        check(run.returncode == 0, "extract_chmLib failed on %s: %s"
              % (HELP_FILE, run.stderr.decode(errors="replace").strip()))
        # The pages go in unchanged: a stale CHM differs from its sources here.
        for name in files:
            got = os.path.join(out, name)
            if not check(os.path.isfile(got), "%s does not contain %s" % (HELP_FILE, name)):
                continue
            with open(got, "rb") as f, open(os.path.join(helpdir, name), "rb") as g:
                check(f.read() == g.read(), "%s: %s differs from its source (rebuild with "
                      "assets/src/make_help.sh)" % (HELP_FILE, name))
        # Contents and index go in as GB2312, the code page of the language.
        for key in ("Contents file", "Index file"):
            name = options.get(key, "")
            got = os.path.join(out, name)
            if not check(os.path.isfile(got), "%s does not contain %s" % (HELP_FILE, name)):
                continue
            with open(os.path.join(helpdir, name), encoding="utf-8") as g:
                want = g.read().replace("charset=utf-8", "charset=gb2312").encode("gb2312")
            with open(got, "rb") as f:
                check(f.read() == want, "%s: %s is not the GB2312 form of its source"
                      % (HELP_FILE, name))
        system_path = os.path.join(out, "#SYSTEM")
        if check(os.path.isfile(system_path), "%s has no #SYSTEM" % HELP_FILE):
            with open(system_path, "rb") as f:
                records = chm_system(f.read())
            lcid = struct.unpack("<I", records[4][:4])[0] if len(records.get(4, b"")) >= 4 else None
            check(lcid == HELP_LCID, "%s: #SYSTEM language %r, want 0x%x"
                  % (HELP_FILE, lcid, HELP_LCID))
            for code, key in ((0, "Contents file"), (1, "Index file"), (2, "Default topic")):
                got = records.get(code, b"").rstrip(b"\0").decode("ascii", "replace")
                check(got == options.get(key), "%s: #SYSTEM %s is %r, want %r"
                      % (HELP_FILE, key, got, options.get(key)))
            title = records.get(3, b"").rstrip(b"\0")
            try:
                title = title.decode("gb2312")
            except UnicodeDecodeError:
                title = None
            check(title == options.get("Title"), "%s: title %r, want %r in GB2312"
                  % (HELP_FILE, title, options.get("Title")))
    finally:
        shutil.rmtree(out, ignore_errors=True)


def main():
    args = sys.argv[1:]
    help_only = "--help-file-only" in args
    args = [a for a in args if a != "--help-file-only"]
    if len(args) != 2:
        print(__doc__)
        return 2
    data, src = args
    started = time.monotonic()
    check_help(data, src)
    if not help_only:
        check_sounds(data)
        books, people = read_sources(src)
        office = Office()
        try:
            for book in books["workbooks"]:
                check_workbook(office, data, book, people[book["file"]])
            for source_name in ("MYPPT.json", "Note1.json", "Note2.json"):
                check_presentation(office, data, src, source_name)
        finally:
            office.close()
    for message in failures:
        print("FAIL:", message)
    print("%d failed checks, %.1f s" % (len(failures), time.monotonic() - started))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
