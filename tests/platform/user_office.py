#!/usr/bin/python3
"""Drives the test's stand-in for the user's own LibreOffice through its UNO pipe.

user_office.py PIPE state               one line per document: kind, file, modified
user_office.py PIPE calc                a new spreadsheet with an unsaved change
user_office.py PIPE open FILE           opens FILE in a window
user_office.py PIPE change-presentations  an unsaved change in every presentation
user_office.py PIPE show                starts the show of the first presentation
"""
import sys

import uno
from com.sun.star.beans import PropertyValue
from com.sun.star.lang import DisposedException


def desktop(pipe):
    local = uno.getComponentContext()
    resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
    ctx = resolver.resolve("uno:pipe,name=%s;urp;StarOffice.ComponentContext" % pipe)
    return ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)


def documents(desk):
    found = desk.Components.createEnumeration()
    while found.hasMoreElements():
        doc = found.nextElement()
        try:
            if hasattr(doc, "isModified"):
                doc.isModified()  # a document closed meanwhile is disposed: it is not there
                yield doc
        except DisposedException:
            continue


def kind(doc):
    if doc.supportsService("com.sun.star.presentation.PresentationDocument"):
        return "presentation"
    if doc.supportsService("com.sun.star.sheet.SpreadsheetDocument"):
        return "spreadsheet"
    return "other"


def main():
    desk = desktop(sys.argv[1])
    command = sys.argv[2]
    if command == "state":
        for doc in documents(desk):
            try:
                line = "%s\t%s\t%s" % (kind(doc), doc.getLocation(), doc.isModified())
            except DisposedException:
                continue  # closed between the listing and the question
            print(line)
    elif command == "calc":
        doc = desk.loadComponentFromURL("private:factory/scalc", "_blank", 0, ())
        doc.Sheets.getByIndex(0).getCellByPosition(0, 0).setString("not saved yet")
    elif command == "open":
        hidden = PropertyValue()
        hidden.Name, hidden.Value = "Hidden", False
        desk.loadComponentFromURL(uno.systemPathToFileUrl(sys.argv[3]), "_blank", 0, (hidden,))
    elif command == "change-presentations":
        for doc in documents(desk):
            if kind(doc) == "presentation":
                doc.setModified(True)
    elif command == "show":
        for doc in documents(desk):
            if kind(doc) == "presentation":
                doc.Presentation.start()
                break


main()
