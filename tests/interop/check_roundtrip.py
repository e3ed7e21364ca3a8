#!/usr/bin/python3
"""Checks a drawing the host saved against the drawing it read, with an
independent DXF reader: the saved file must pass its audit without errors,
and hold the same entities (by type, per layout and block), table entries,
blocks, layouts, objects, extended data and handles.

usage: check_roundtrip.py ORIGINAL.dxf SAVED.dxf
exit status 0 when they agree; the differences are printed otherwise.
"""
import collections
import sys

import ezdxf
from ezdxf import recover


def load(path):
    try:
        return ezdxf.readfile(path)
    except ezdxf.DXFStructureError:
        doc, _ = recover.readfile(path)
        return doc


def summary(doc):
    s = {}
    for layout in doc.layouts:
        s["layout " + layout.name] = collections.Counter(e.dxftype() for e in layout)
    for block in doc.blocks:
        if not block.name.lower().startswith(("*model_space", "*paper_space")):
            s["block " + block.name] = collections.Counter(e.dxftype() for e in block)
    for table in ("layers", "linetypes", "styles", "dimstyles", "appids", "ucs", "views", "viewports"):
        s["table " + table] = sorted(e.dxf.name.upper() for e in getattr(doc, table))
    s["objects"] = collections.Counter(o.dxftype() for o in doc.objects)
    s["groups"] = sorted(name for name, _ in doc.groups)
    xdata = collections.Counter()
    handles = set()
    for e in doc.entitydb.values():
        handles.add(e.dxf.handle)
        if e.xdata:
            for app in e.xdata.data:
                xdata[app] += 1
    s["xdata"] = xdata
    s["handles"] = handles
    return s


def file_handles(path):
    """The handles (groups 5 and 105) that stand in a file."""
    with open(path, encoding="utf-8", errors="replace") as f:
        lines = [line.strip() for line in f]
    hexdigits = set("0123456789ABCDEF")
    return {lines[i + 1].upper() for i in range(0, len(lines) - 1, 2)
            if lines[i] in ("5", "105") and lines[i + 1] and set(lines[i + 1].upper()) <= hexdigits}


def main():
    original, saved = sys.argv[1], sys.argv[2]
    a = summary(load(original))
    doc = ezdxf.readfile(saved)
    b = summary(doc)  # before the audit, which may repair the document
    auditor = doc.audit()
    failed = False
    if auditor.has_errors:
        failed = True
        for error in auditor.errors:
            print("audit error:", error.message)
    # A release-12 file has no handles for what later versions add (block
    # records, layouts, dictionaries): the reader makes its own up for them.
    old_release = ezdxf.readfile(original).dxfversion <= "AC1009"
    for key in sorted(set(a) | set(b)):
        if key == "handles" and old_release:
            missing = file_handles(original) - b[key]
            if missing:
                failed = True
                print("handles of the file lost:", sorted(missing)[:10])
            continue
        if a.get(key) != b.get(key):
            failed = True
            if key == "handles":
                print("handles differ: only in original:", sorted(a[key] - b.get(key, set()))[:10],
                      "only in saved:", sorted(b.get(key, set()) - a[key])[:10])
            else:
                print(f"{key} differs:\n  original {a.get(key)}\n  saved    {b.get(key)}")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
