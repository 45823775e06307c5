#!/usr/bin/env python3
"""Reads an exported file the way another program would and prints what it
holds as JSON, for the export tests.

  read_export.py xlsx FILE       sheets, typed cells (with number format,
                                 boldness and wrapping), column widths and
                                 page breaks
  read_export.py csv FILE CODEC  the rows as Python's csv module reads them
"""
import csv
import json
import sys
import zipfile
import xml.etree.ElementTree as ET

NS = {
    "m": "http://schemas.openxmlformats.org/spreadsheetml/2006/main",
    "r": "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
    "rel": "http://schemas.openxmlformats.org/package/2006/relationships",
}
# The formats every spreadsheet knows by number (a file names them by id only).
BUILTIN_FORMATS = {0: "General", 1: "0", 2: "0.00", 3: "#,##0", 4: "#,##0.00", 9: "0%", 10: "0.00%",
                   14: "mm-dd-yy", 22: "m/d/yy h:mm", 49: "@"}


def text_of(element):
    return "".join(t.text or "" for t in element.iter("{%s}t" % NS["m"]))


def read_xlsx(path):
    with zipfile.ZipFile(path) as z:
        bad = z.testzip()
        if bad:
            raise SystemExit("damaged member " + bad)
        workbook = ET.fromstring(z.read("xl/workbook.xml"))
        rels = ET.fromstring(z.read("xl/_rels/workbook.xml.rels"))
        targets = {r.get("Id"): r.get("Target") for r in rels.findall("rel:Relationship", NS)}
        styles = ET.fromstring(z.read("xl/styles.xml"))
        formats = dict(BUILTIN_FORMATS)
        for f in styles.findall("m:numFmts/m:numFmt", NS):
            formats[int(f.get("numFmtId"))] = f.get("formatCode")
        fonts = [f.find("m:b", NS) is not None for f in styles.findall("m:fonts/m:font", NS)]
        def wraps(xf):
            alignment = xf.find("m:alignment", NS)
            return alignment is not None and alignment.get("wrapText") in ("1", "true")

        xfs = [(int(x.get("numFmtId", 0)), int(x.get("fontId", 0)), wraps(x)) for x in styles.findall("m:cellXfs/m:xf", NS)]
        shared = []
        if "xl/sharedStrings.xml" in z.namelist():
            shared = [text_of(si) for si in ET.fromstring(z.read("xl/sharedStrings.xml")).findall("m:si", NS)]
        result = {"sheets": [], "cells": {}, "breaks": {}, "cols": {}}
        for sheet in workbook.findall("m:sheets/m:sheet", NS):
            name = sheet.get("name")
            result["sheets"].append(name)
            target = targets[sheet.get("{%s}id" % NS["r"])]
            xml = ET.fromstring(z.read("xl/" + target.lstrip("/").replace("xl/", "", 1)))
            cells = {}
            for c in xml.iter("{%s}c" % NS["m"]):
                kind = c.get("t", "n")
                v = c.find("m:v", NS)
                if kind == "inlineStr":
                    value, kind = text_of(c.find("m:is", NS)), "s"
                elif kind == "s":
                    value = shared[int(v.text)]
                elif kind in ("str",):
                    value, kind = v.text, "s"
                elif kind == "b":
                    value = v.text == "1"
                else:
                    value = float(v.text) if v is not None else None
                numfmt, font, wrap = xfs[int(c.get("s", 0))] if xfs else (0, 0, False)
                cells[c.get("r")] = {"t": kind, "v": value, "fmt": formats.get(numfmt, str(numfmt)),
                                     "bold": fonts[font] if font < len(fonts) else False, "wrap": wrap}
            result["cells"][name] = cells
            result["breaks"][name] = [int(b.get("id")) for b in xml.findall("m:rowBreaks/m:brk", NS)]
            result["cols"][name] = [float(col.get("width")) for col in xml.findall("m:cols/m:col", NS)]
        return result


def read_csv(path, codec):
    with open(path, newline="", encoding=codec) as f:
        return {"rows": list(csv.reader(f, strict=True))}


if __name__ == "__main__":
    kind, path = sys.argv[1], sys.argv[2]
    out = read_xlsx(path) if kind == "xlsx" else read_csv(path, sys.argv[3])
    json.dump(out, sys.stdout, ensure_ascii=False)
