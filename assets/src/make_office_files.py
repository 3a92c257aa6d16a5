#!/usr/bin/python3
"""Builds the name-list workbooks and the presentations in assets/data.

Reads the class lists (lists/*.csv), the workbook texts (workbooks.json) and the
slide texts (slides/*.json) beside this script, drives a private headless
LibreOffice over UNO and writes name.xls, name1.xls, MYPPT.ppt, Note1.PPT and
Note2.PPT. Run it through generate.sh.
"""
import argparse
import csv
import json
import os
import sys

import uno
from com.sun.star.table import BorderLine2, TableBorder2
from com.sun.star.util import DateTime

sys.dont_write_bytecode = True  # keep the source folder free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from office import Office, file_url, props  # noqa: E402

SRC = os.path.dirname(os.path.abspath(__file__))
FONT = "Noto Sans CJK SC"
LATIN_FONT = "Liberation Sans"
# Fixed document dates keep regenerated files from differing only by a time stamp.
FIXED_DATE = (2024, 9, 1, 8, 0, 0)


def enum(type_name, value):
    return uno.Enum(type_name, value)


def rgb(text):
    return int(text.lstrip("#"), 16)


def fixed_datetime():
    d = DateTime()
    d.Year, d.Month, d.Day, d.Hours, d.Minutes, d.Seconds = FIXED_DATE
    return d


def stamp_properties(doc, title):
    info = doc.DocumentProperties
    info.Title = title
    info.Author = "Vexlo"
    info.ModifiedBy = "Vexlo"
    info.Generator = "Vexlo asset generator"
    info.CreationDate = fixed_datetime()
    info.ModificationDate = fixed_datetime()


# ---------------------------------------------------------------- workbooks

def cell_pos(name):
    """'D10' -> (3, 9), 0-based column and row."""
    letters = name.rstrip("0123456789")
    col = 0
    for ch in letters:
        col = col * 26 + (ord(ch) - ord("A") + 1)
    return col - 1, int(name[len(letters):]) - 1


def read_people(path, with_group):
    with open(path, encoding="utf-8", newline="") as f:
        rows = list(csv.reader(f))
    people = []
    for line_no, row in enumerate(rows[1:], start=2):
        if not row or not "".join(row).strip():
            continue
        number, name = row[0].strip(), row[1].strip()
        if not number.isdigit() or not name:
            raise ValueError("%s:%d: need a list number and a name" % (path, line_no))
        person = {"number": int(number), "name": name}
        if with_group:
            group = row[2].strip()
            if not group.isdigit():
                raise ValueError("%s:%d: group must be a number" % (path, line_no))
            person["group"] = int(group)
        people.append(person)
    if not people:
        raise ValueError("%s: no people" % path)
    return people


def thin_line(color=0x7F7F7F, width=18):
    line = BorderLine2()
    line.Color = color
    line.LineWidth = width
    line.OuterLineWidth = width
    return line


def grid(cell_range, color=0x7F7F7F):
    border = TableBorder2()
    for side in ("TopLine", "BottomLine", "LeftLine", "RightLine",
                 "HorizontalLine", "VerticalLine"):
        setattr(border, side, thin_line(color))
        setattr(border, "Is%sValid" % side, True)
    cell_range.TableBorder2 = border


def style_default_font(doc):
    default = doc.StyleFamilies.getByName("CellStyles").getByName("Default")
    default.CharFontNameAsian = FONT
    default.CharHeight = 11
    default.CharHeightAsian = 11
    default.VertJustify = enum("com.sun.star.table.CellVertJustify", "CENTER")


def set_text(sheet, name, text):
    col, row = cell_pos(name)
    sheet.getCellByPosition(col, row).setString(text)


def bold(cell_range, size=None):
    cell_range.CharWeight = 150.0
    cell_range.CharWeightAsian = 150.0
    if size:
        cell_range.CharHeight = size
        cell_range.CharHeightAsian = size


def align(cell_range, how):
    cell_range.HoriJustify = enum("com.sun.star.table.CellHoriJustify", how)


def build_workbook(office, book, password, sheet_name, out_dir):
    cols = book["columns"]
    people = read_people(os.path.join(SRC, book["people"]), "group" in cols)
    first_row = book["first_row"]
    last_row = first_row + len(people) - 1
    last_col = book["last_column"]

    doc = office.new_document("scalc")
    try:
        style_default_font(doc)
        sheets = doc.Sheets
        while sheets.Count > 1:
            sheets.removeByName(sheets.ElementNames[-1])
        sheet = sheets.getByIndex(0)
        sheet.Name = sheet_name

        columns = sheet.Columns
        for letter, mm in book["column_widths_mm"].items():
            columns.getByIndex(cell_pos(letter + "1")[0]).Width = int(mm * 100)

        for key, size in (("title", 18), ("subtitle", None)):
            part = book[key]
            rng = sheet.getCellRangeByName(part["range"])
            rng.merge(True)
            first = part["range"].split(":")[0]
            set_text(sheet, first, part["text"])
            align(rng, "CENTER")
            if size:
                bold(rng, size)
            else:
                rng.CharColor = 0x595959
        sheet.Rows.getByIndex(0).Height = 1100

        for name, text in book["texts"].items():
            set_text(sheet, name, text)
        for name in book["labels"]:
            rng = sheet.getCellRangeByName(name)
            bold(rng)
            align(rng, "RIGHT")
        for name in book.get("bold", []):
            bold(sheet.getCellRangeByName(name))
        for name in book.get("small", []):
            rng = sheet.getCellRangeByName(name)
            rng.CharHeight = 10
            rng.CharHeightAsian = 10

        # The counts: plain numbers the teacher edits, highlighted as input cells.
        count_cells = [book["total_cell"]]
        col, row = cell_pos(book["total_cell"])
        sheet.getCellByPosition(col, row).setValue(len(people))
        if "participant_cell" in book:
            wanted = book["participants"]
            value = len(people) if wanted == "all" else int(wanted)
            if not 1 <= value <= len(people):
                raise ValueError("%s: participants must be 1..%d" % (book["file"], len(people)))
            col, row = cell_pos(book["participant_cell"])
            sheet.getCellByPosition(col, row).setValue(value)
            count_cells.append(book["participant_cell"])
        for name in count_cells:
            rng = sheet.getCellRangeByName(name)
            bold(rng, 12)
            align(rng, "CENTER")
            rng.CellBackColor = 0xFFF2CC
            grid(rng)

        # The status cell is the program's; it stays empty and is only framed.
        status = sheet.getCellRangeByName(book["status_cell"])
        status.CellBackColor = 0xF2F2F2
        grid(status, 0xBFBFBF)

        heading_row = first_row - 1
        for letter, text in book["headings"].items():
            set_text(sheet, "%s%d" % (letter, heading_row), text)
        head = sheet.getCellRangeByName("A%d:%s%d" % (heading_row, last_col, heading_row))
        bold(head)
        align(head, "CENTER")
        head.CellBackColor = 0xDDEBF7

        for k, person in enumerate(people):
            row = first_row - 1 + k
            col = cell_pos(cols["number"] + "1")[0]
            sheet.getCellByPosition(col, row).setValue(person["number"])
            col = cell_pos(cols["name"] + "1")[0]
            sheet.getCellByPosition(col, row).setString(person["name"])
            if "group" in cols:
                col = cell_pos(cols["group"] + "1")[0]
                sheet.getCellByPosition(col, row).setValue(person["group"])
        body = sheet.getCellRangeByName("A%d:%s%d" % (first_row, last_col, last_row))
        align(body, "CENTER")
        grid(sheet.getCellRangeByName("A%d:%s%d" % (heading_row, last_col, last_row)))

        # Printed, the list should fit the page width.
        page_style = doc.StyleFamilies.getByName("PageStyles").getByName(sheet.PageStyle)
        page_style.ScaleToPagesX = 1
        page_style.ScaleToPagesY = 0

        stamp_properties(doc, book["title"]["text"])
        out = os.path.join(out_dir, book["file"])
        doc.storeToURL(file_url(out), props(FilterName="MS Excel 97", Password=password))
        print("wrote %s (%d people)" % (out, len(people)))
    finally:
        doc.close(True)


# ------------------------------------------------------------ presentations

SLIDE_W, SLIDE_H = 28000, 15750      # 16:9, 1/100 mm
DARK = 0x1F3864
ACCENT = 0x2E75B6
BODY = 0x262626


def point(x, y):
    p = uno.createUnoStruct("com.sun.star.awt.Point")
    p.X, p.Y = x, y
    return p


def size(w, h):
    s = uno.createUnoStruct("com.sun.star.awt.Size")
    s.Width, s.Height = w, h
    return s


def place(shape, x, y, w, h):
    shape.setPosition(point(x, y))
    shape.setSize(size(w, h))


def rectangle(doc, page, x, y, w, h, color):
    shape = doc.createInstance("com.sun.star.drawing.RectangleShape")
    page.add(shape)
    place(shape, x, y, w, h)
    shape.FillStyle = enum("com.sun.star.drawing.FillStyle", "SOLID")
    shape.FillColor = color
    shape.LineStyle = enum("com.sun.star.drawing.LineStyle", "NONE")
    return shape


def format_text(shape, height, color, weight=100.0, adjust="LEFT", valign="TOP"):
    shape.CharFontName = FONT
    shape.CharFontNameAsian = FONT
    shape.CharHeight = height
    shape.CharHeightAsian = height
    shape.CharWeight = weight
    shape.CharWeightAsian = weight
    shape.CharColor = color
    shape.ParaAdjust = enum("com.sun.star.style.ParagraphAdjust", adjust)
    shape.TextVerticalAdjust = enum("com.sun.star.drawing.TextVerticalAdjust", valign)
    shape.TextAutoGrowHeight = False
    # No extra gap between Chinese and Latin text: file names and keys stay compact.
    shape.ParaIsCharacterDistance = False
    shape.TextFitToSize = enum("com.sun.star.drawing.TextFitToSizeType", "NONE")


def text_box(doc, page, x, y, w, h, text, height, color, **fmt):
    shape = doc.createInstance("com.sun.star.drawing.TextShape")
    page.add(shape)
    place(shape, x, y, w, h)
    shape.setString(text)
    format_text(shape, height, color, **fmt)
    return shape


def bullets(shape):
    """Turns every paragraph of the shape into a bullet item; a plain setString
    leaves the outline's paragraphs unnumbered."""
    rules = shape.NumberingRules
    level = list(rules.getByIndex(0))
    wanted = {"NumberingType": 6,  # CHAR_SPECIAL
              "BulletChar": "\u25cf", "BulletColor": ACCENT, "BulletRelSize": 80,
              "LeftMargin": 1000, "FirstLineOffset": -1000}
    for i, prop in enumerate(level):
        if prop.Name in wanted:
            level[i] = uno.createUnoStruct("com.sun.star.beans.PropertyValue",
                                           prop.Name, 0, wanted[prop.Name],
                                           prop.State)
    uno.invoke(rules, "replaceByIndex",
               (0, uno.Any("[]com.sun.star.beans.PropertyValue", tuple(level))))
    shape.NumberingRules = rules
    paragraphs = shape.Text.createEnumeration()
    while paragraphs.hasMoreElements():
        para = paragraphs.nextElement()
        para.NumberingLevel = 0
        para.NumberingIsNumber = True


def placeholders(page):
    found = {}
    for i in range(page.Count):
        shape = page.getByIndex(i)
        found[shape.ShapeType.rsplit(".", 1)[-1]] = shape
    return found


def new_deck(office):
    doc = office.new_document("simpress")
    first = doc.DrawPages.getByIndex(0)
    first.Width = SLIDE_W
    first.Height = SLIDE_H
    return doc


def page_at(doc, index):
    pages = doc.DrawPages
    if index >= pages.Count:
        pages.insertNewByIndex(pages.Count - 1)
    return pages.getByIndex(index)


def build_lots(office, deck, out_dir):
    doc = new_deck(office)
    try:
        colors = [rgb(c) for c in deck["colors"]]
        for i in range(deck["lots"]):
            n = i + 1
            page = page_at(doc, i)
            page.Layout = 20  # blank
            rectangle(doc, page, 0, 0, SLIDE_W, SLIDE_H, colors[i % len(colors)])
            text_box(doc, page, 1000, 700, SLIDE_W - 2000, 1600, deck["header_text"],
                     28, 0xF2F2F2, adjust="CENTER", valign="CENTER")
            number = text_box(doc, page, 1000, 2200, SLIDE_W - 2000, 9800,
                              deck["number_text"].format(n=n), 220, 0xFFFFFF,
                              weight=150.0, adjust="CENTER", valign="CENTER")
            # Digits in a Latin face: its tighter line height keeps the big
            # number inside its box.
            number.CharFontName = LATIN_FONT
            text_box(doc, page, 1000, 12100, SLIDE_W - 2000, 2600,
                     deck["caption_text"].format(n=n), 54, 0xFFFFFF, weight=150.0,
                     adjust="CENTER", valign="CENTER")
        save_deck(doc, deck, out_dir, deck["lots"])
    finally:
        doc.close(True)


def build_notes(office, deck, out_dir):
    doc = new_deck(office)
    try:
        slides = deck["slides"]
        total = len(slides)
        # A title band on the master gives every content slide the same frame.
        master = doc.MasterPages.getByIndex(0)
        rectangle(doc, master, 0, 0, SLIDE_W, 2500, DARK)
        rectangle(doc, master, 0, 2500, SLIDE_W, 120, ACCENT)
        for i, slide in enumerate(slides):
            page = page_at(doc, i)
            if "subtitle" in slide:
                page.Layout = 0  # title, subtitle
                shapes = placeholders(page)
                cover = rectangle(doc, page, 0, 0, SLIDE_W, SLIDE_H, DARK)
                cover.ZOrder = 0
                rectangle(doc, page, 2000, 8300, SLIDE_W - 4000, 80, 0xFFFFFF)
                title = shapes["TitleTextShape"]
                place(title, 1500, 3600, SLIDE_W - 3000, 4300)
                title.setString(slide["title"])
                format_text(title, 48, 0xFFFFFF, weight=150.0, adjust="CENTER",
                            valign="BOTTOM")
                sub = shapes["SubtitleShape"]
                place(sub, 1500, 8800, SLIDE_W - 3000, 3000)
                sub.setString(slide["subtitle"])
                format_text(sub, 28, 0xDDEBF7, adjust="CENTER")
            else:
                page.Layout = 1  # title, content
                shapes = placeholders(page)
                title = shapes["TitleTextShape"]
                place(title, 1200, 250, SLIDE_W - 2400, 2000)
                title.setString(slide["title"])
                format_text(title, 36, 0xFFFFFF, weight=150.0, valign="CENTER")
                body = shapes["OutlinerShape"]
                place(body, 1400, 3300, SLIDE_W - 2800, 10900)
                body.setString("\n".join(slide["items"]))
                format_text(body, 26, BODY)
                body.ParaTopMargin = 350
                body.ParaBottomMargin = 350
                bullets(body)
                text_box(doc, page, 1200, 14500, SLIDE_W - 2400, 900,
                         "%s    %d / %d" % (deck["footer"], i + 1, total),
                         14, 0x7F7F7F, adjust="RIGHT", valign="CENTER")
        save_deck(doc, deck, out_dir, total)
    finally:
        doc.close(True)


def save_deck(doc, deck, out_dir, expected):
    if doc.DrawPages.Count != expected:
        raise RuntimeError("%s: %d slides, expected %d"
                           % (deck["file"], doc.DrawPages.Count, expected))
    stamp_properties(doc, deck["title"])
    out = os.path.join(out_dir, deck["file"])
    doc.storeToURL(file_url(out), props(FilterName="MS PowerPoint 97"))
    print("wrote %s (%d slides)" % (out, expected))


def load_json(name):
    with open(os.path.join(SRC, name), encoding="utf-8") as f:
        return json.load(f)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(SRC, "..", "data"),
                        help="output folder (default: assets/data)")
    args = parser.parse_args()
    out_dir = os.path.abspath(args.out)
    os.makedirs(out_dir, exist_ok=True)

    books = load_json("workbooks.json")
    lots = load_json("slides/MYPPT.json")
    notes = [load_json("slides/Note1.json"), load_json("slides/Note2.json")]

    with Office() as office:
        for book in books["workbooks"]:
            build_workbook(office, book, books["password"], books["sheet"], out_dir)
        build_lots(office, lots, out_dir)
        for deck in notes:
            build_notes(office, deck, out_dir)


if __name__ == "__main__":
    main()
