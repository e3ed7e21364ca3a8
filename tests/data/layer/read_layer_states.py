#!/usr/bin/python3
"""Reads the named layer states of a DXF drawing with an independent DXF
reader (ezdxf): the LAYER table's extension dictionary "ACAD_LAYERSTATES"
and its xrecords. Prints one line per finding:

  audit-errors N
  state NAME current=LAYER description=TEXT
  layer STATE LAYER flags=N colour=N linetype=NAME

usage: read_layer_states.py DRAWING.dxf
exit status 0 when the drawing was read, 1 otherwise.
"""
import sys

import ezdxf


def layer_lines(state, tags):
    entry = None
    for code, value in tags:
        if code == 8:
            if entry:
                yield entry
            entry = {"name": value}
        elif entry is not None and code in (90, 62, 6):
            entry[code] = value
    if entry:
        yield entry


def main(path):
    doc = ezdxf.readfile(path)
    auditor = doc.audit()
    print(f"audit-errors {len(auditor.errors)}")
    head = doc.layers.head
    if not head.has_extension_dict:
        return 0
    states = head.get_extension_dict().get("ACAD_LAYERSTATES")
    if states is None:
        return 0
    for name, record in states.items():
        tags = [(t.code, t.value) for t in record.tags]
        values = dict(tags)
        print(f"state {name} current={values.get(302, '')} description={values.get(301, '')}")
        for entry in layer_lines(name, tags):
            print(f"layer {name} {entry['name']} flags={entry.get(90)} colour={entry.get(62)} "
                  f"linetype={entry.get(6)}")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1]))
    except (IOError, ezdxf.DXFError) as error:
        print(f"cannot read {sys.argv[1]}: {error}")
        sys.exit(1)
