#!/usr/bin/python3
"""Writes the benchmark drawings without a DXF library (it would take minutes):
   make_lines.py lines OUT.dxf N   N lines in model space, as a 2018 file
   make_lines.py mixed OUT.dxf N   N mixed entities (lines, arcs, circles,
                                   bulged polylines, texts, paragraph texts,
                                   block references with attributes,
                                   dimensions, hatches)
The skeleton (tables, blocks, objects) comes from an empty drawing made by
the independent DXF library, so the files are valid for every reader."""
import io
import random
import sys

import ezdxf


def skeleton():
    doc = ezdxf.new("R2018", setup=True)
    blk = doc.blocks.new("TAG")
    blk.add_circle((0, 0), 1)
    blk.add_attdef("NO", (0, 0), dxfattribs={"height": 0.5})
    doc.modelspace().add_line((0, 0), (1, 1))  # marks where the entities go
    stream = io.StringIO()
    doc.write(stream)
    text = stream.getvalue()
    owner = doc.modelspace().block_record_handle
    start = text.index("\n  0\nLINE\n") + 1
    end = text.index("  0\nENDSEC", start)
    return text[:start], text[end:], owner, doc.entitydb.handles


def main():
    kind, out, n = sys.argv[1], sys.argv[2], int(sys.argv[3])
    head, tail, owner, handles = skeleton()
    seed = 0x100000
    rnd = random.Random(1)
    with open(out, "w") as f:
        f.write(head)
        h = seed
        for i in range(n):
            h += 1
            x, y = rnd.uniform(0, 1000), rnd.uniform(0, 1000)
            k = "line" if kind == "lines" else ("line", "arc", "circle", "lwpolyline", "text", "mtext",
                                                "insert", "dim", "hatch")[i % 9]
            f.write(entity(k, h, owner, x, y, rnd))
            if k == "insert":
                h += 2
        f.write(tail.replace("$HANDSEED\n  5\n", "$HANDSEED\n  5\n", 1))
    # the header's $HANDSEED must lie above every handle written
    text = open(out).read()
    i = text.index("$HANDSEED\n  5\n") + len("$HANDSEED\n  5\n")
    j = text.index("\n", i)
    text = text[:i] + format(h + 1, "X") + text[j:]
    open(out, "w").write(text)


def common(h, owner, typ, sub):
    return f"  0\n{typ}\n  5\n{h:X}\n330\n{owner}\n100\nAcDbEntity\n  8\n0\n100\n{sub}\n"


def entity(k, h, owner, x, y, rnd):
    if k == "line":
        return common(h, owner, "LINE", "AcDbLine") + \
            f" 10\n{x:.12f}\n 20\n{y:.12f}\n 30\n0.0\n 11\n{x + 5:.12f}\n 21\n{y + 3:.12f}\n 31\n0.0\n"
    if k == "arc":
        return common(h, owner, "ARC", "AcDbCircle") + \
            f" 10\n{x:.6f}\n 20\n{y:.6f}\n 30\n0.0\n 40\n2.5\n100\nAcDbArc\n 50\n10.0\n 51\n200.0\n"
    if k == "circle":
        return common(h, owner, "CIRCLE", "AcDbCircle") + f" 10\n{x:.6f}\n 20\n{y:.6f}\n 30\n0.0\n 40\n1.5\n"
    if k == "lwpolyline":
        pts = "".join(f" 10\n{x + j:.4f}\n 20\n{y + (j % 2):.4f}\n 42\n0.25\n" for j in range(6))
        return common(h, owner, "LWPOLYLINE", "AcDbPolyline") + f" 90\n6\n 70\n0\n" + pts
    if k == "text":
        return common(h, owner, "TEXT", "AcDbText") + \
            f" 10\n{x:.6f}\n 20\n{y:.6f}\n 30\n0.0\n 40\n2.5\n  1\nROOM {h}\n100\nAcDbText\n"
    if k == "mtext":
        return common(h, owner, "MTEXT", "AcDbMText") + \
            f" 10\n{x:.6f}\n 20\n{y:.6f}\n 30\n0.0\n 40\n2.5\n 41\n40.0\n 71\n1\n  1\nFirst line\\Psecond line {h}\n"
    if k == "insert":
        return (common(h, owner, "INSERT", "AcDbBlockReference") +
                f" 66\n1\n  2\nTAG\n 10\n{x:.6f}\n 20\n{y:.6f}\n 30\n0.0\n" +
                f"  0\nATTRIB\n  5\n{h + 1:X}\n330\n{h:X}\n100\nAcDbEntity\n  8\n0\n100\nAcDbText\n"
                f" 10\n{x:.6f}\n 20\n{y:.6f}\n 30\n0.0\n 40\n0.5\n  1\nN{h}\n100\nAcDbAttribute\n"
                f"280\n0\n  2\nNO\n 70\n0\n"
                f"  0\nSEQEND\n  5\n{h + 2:X}\n330\n{h:X}\n100\nAcDbEntity\n  8\n0\n")
    if k == "dim":
        return (common(h, owner, "DIMENSION", "AcDbDimension") +
                f"  2\n*D1\n 10\n{x:.6f}\n 20\n{y + 3:.6f}\n 30\n0.0\n 11\n{x + 3:.6f}\n 21\n{y + 3:.6f}\n 31\n0.0\n"
                f" 70\n32\n  3\nStandard\n100\nAcDbAlignedDimension\n"
                f" 13\n{x:.6f}\n 23\n{y:.6f}\n 33\n0.0\n 14\n{x + 6:.6f}\n 24\n{y:.6f}\n 34\n0.0\n"
                f"100\nAcDbRotatedDimension\n")
    # hatch with one polyline boundary
    return (common(h, owner, "HATCH", "AcDbHatch") +
            f" 10\n0.0\n 20\n0.0\n 30\n0.0\n210\n0.0\n220\n0.0\n230\n1.0\n  2\nSOLID\n 70\n1\n 71\n0\n 91\n1\n"
            f" 92\n7\n 72\n0\n 73\n1\n 93\n4\n"
            f" 10\n{x:.4f}\n 20\n{y:.4f}\n 10\n{x + 2:.4f}\n 20\n{y:.4f}\n"
            f" 10\n{x + 2:.4f}\n 20\n{y + 2:.4f}\n 10\n{x:.4f}\n 20\n{y + 2:.4f}\n 97\n0\n"
            f" 75\n0\n 76\n1\n 98\n0\n")


if __name__ == "__main__":
    main()
