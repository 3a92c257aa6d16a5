"""Writes the hostile name lists the workbook safety test draws from: one folder per case,
each holding a "name.xls" as a teacher might have left it. Run with /usr/bin/python3 (the
python3-uno bridge); the folder to fill is the only argument."""
import os
import random
import shutil
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "assets", "src"))
from office import Office, file_url, props  # noqa: E402

PASSWORD = "708klm"
EXCEL97, XLSX, ODS = "MS Excel 97", "Calc MS Excel 2007 XML", "calc8"


def name_list(office, people=5, d10=None, d11=None, names=None, sheet="sheet1", extra=None):
    doc = office.new_document("scalc")
    s = doc.Sheets.getByIndex(0)
    s.Name = sheet
    s.getCellByPosition(0, 0).String = "抽签名单"
    total = people if d10 is None else d10
    for cell, value in (("D10", total), ("D11", people if d11 is None else d11)):
        c = s.getCellRangeByName(cell)
        if isinstance(value, str):
            c.Formula = value
        else:
            c.Value = value
    rows = tuple((float(k), names(k) if names else "学生%d" % k) for k in range(1, people + 1))
    s.getCellRangeByPosition(0, 12, 1, 11 + people).setDataArray(rows)
    if extra:
        extra(doc, s)
    return doc


def store(doc, path, filter_name=EXCEL97, password=PASSWORD):
    args = {"FilterName": filter_name}
    if password:
        args["Password"] = password
    doc.storeToURL(file_url(path), props(**args))
    doc.close(True)


def second_sheet_in_front(doc, sheet):
    doc.Sheets.insertNewByName("sheet2", 1)
    doc.getCurrentController().setActiveSheet(doc.Sheets.getByName("sheet2"))


def merged_over_list(doc, sheet):
    sheet.getCellRangeByName("A14:C16").merge(True)


def main(root):
    cases = {
        "plain": lambda o, p: store(name_list(o), p),
        "wrong_password": lambda o, p: store(name_list(o), p, password="other1"),
        "no_password": lambda o, p: store(name_list(o), p, password=None),
        # Calc's own default sheet name: the xlsx writer keeps a renamed first sheet apart.
        "xlsx_content": lambda o, p: store(name_list(o, sheet="Sheet1"), p, XLSX, password=None),
        "ods_content": lambda o, p: store(name_list(o), p, ODS, password=None),
        "no_sheet1": lambda o, p: store(name_list(o, sheet="名单"), p),
        "other_sheet_active": lambda o, p: store(name_list(o, extra=second_sheet_in_front), p),
        "text_count": lambda o, p: store(name_list(o, d10="三十"), p),
        "negative_count": lambda o, p: store(name_list(o, d10=-5), p),
        "zero_count": lambda o, p: store(name_list(o, d10=0, d11=0), p),
        "count_700": lambda o, p: store(name_list(o, d10=700, d11=3), p),
        "formula_count": lambda o, p: store(name_list(o, d10="=2+3"), p),
        "error_count": lambda o, p: store(name_list(o, d10="=1/0"), p),
        "rows_10000": lambda o, p: store(name_list(o, people=10000, d11=3), p),
        "empty_names": lambda o, p: store(name_list(o, names=lambda k: ""), p),
        "long_names": lambda o, p: store(name_list(o, names=lambda k: "长" * 10000), p),
        "control_names": lambda o, p: store(name_list(o, names=lambda k: "a\tb\x01c\nd%d" % k), p),
        "merged_cells": lambda o, p: store(name_list(o, extra=merged_over_list), p),
    }
    with Office() as office:
        for name, make in cases.items():
            folder = os.path.join(root, name)
            os.makedirs(folder, exist_ok=True)
            make(office, os.path.join(folder, "name.xls"))
    plain = os.path.join(root, "plain", "name.xls")
    data = open(plain, "rb").read()
    for name, content in (("truncated", data[: len(data) // 2]), ("empty_file", b""),
                          ("random_bytes", random.Random(7).randbytes(len(data)))):
        os.makedirs(os.path.join(root, name), exist_ok=True)
        with open(os.path.join(root, name, "name.xls"), "wb") as f:
            f.write(content)
    os.makedirs(os.path.join(root, "folder_named_xls", "name.xls"), exist_ok=True)


if __name__ == "__main__":
    main(sys.argv[1])
