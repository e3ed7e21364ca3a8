#!/usr/bin/python3
"""Writes a drawing with every entity type the host works with, using an
independent DXF library, for the round-trip and interop tests.

usage: make_drawing.py OUT.dxf [VERSION]   (VERSION: R12, R2000 ... R2018)
"""
import math
import sys

import ezdxf
from ezdxf.math import Vec2, Vec3


def add_entities(doc, msp):
    doc.layers.add("WALLS", color=1)
    doc.layers.add("TEXT", color=3, linetype="DASHED") if "DASHED" in doc.linetypes else doc.layers.add("TEXT", color=3)
    doc.appids.add("TARNTEST")
    msp.add_line((0, 0), (10, 5), dxfattribs={"layer": "WALLS", "color": 1})
    msp.add_point((3, 4, 1))
    msp.add_circle((5, 5), 2.5, dxfattribs={"thickness": 1.5})
    msp.add_arc((0, 0), 3, 15, 245)
    msp.add_text("Hello %%c 50", dxfattribs={"height": 2.5, "rotation": 30, "style": "Standard"})
    msp.add_polyline3d([(0, 0, 0), (1, 1, 1), (2, 0, 3)])
    msp.add_polyline2d([(0, 0), (5, 0), (5, 5)], close=True)
    mesh = msp.add_polymesh((3, 3))
    for m in range(3):
        for n in range(3):
            mesh.set_mesh_vertex((m, n), (m, n, math.sin(m + n)))
    msp.add_solid([(0, 0), (1, 0), (0, 1), (1, 1)])
    msp.add_3dface([(0, 0, 0), (1, 0, 0), (1, 1, 1), (0, 1, 1)])
    blk = doc.blocks.new("DOOR", base_point=(0, 0))
    blk.add_line((0, 0), (1, 0))
    blk.add_arc((0, 0), 1, 0, 90)
    blk.add_attdef("TAG", (0, 0.5), dxfattribs={"height": 0.25, "prompt": "Door tag"})
    ref = msp.add_blockref("DOOR", (20, 0), dxfattribs={"xscale": 2, "rotation": 45})
    ref.add_attrib("TAG", "D-01", (20, 1))
    line = msp.add_line((0, 10), (10, 10))
    line.set_xdata("TARNTEST", [(1000, "note"), (1040, 2.5), (1070, 7), (1010, (1, 2, 3))])
    if doc.dxfversion > "AC1009":
        msp.add_lwpolyline([(0, 0, 0, 0, 0.5), (4, 0, 0.1, 0.2, 0), (4, 4)], format="xyseb",
                           dxfattribs={"elevation": 2.0, "closed": True})
        msp.add_ellipse((0, 0), major_axis=(4, 0), ratio=0.5, start_param=0.2, end_param=4.0)
        msp.add_spline([(0, 0), (2, 3), (5, 1), (8, 4)])
        msp.add_spline_control_frame([(0, 0), (2, 3), (5, 1), (8, 4), (9, 0)])
        msp.add_xline((0, 0), (1, 1))
        msp.add_ray((1, 1), (1, 0))
        msp.add_mtext("Line one\\Psecond {\\fArial|b1;bold} line", dxfattribs={"char_height": 1.5, "width": 30})
        msp.add_mtext("x" * 600, dxfattribs={"char_height": 1})
        hatch = msp.add_hatch(color=2)
        hatch.paths.add_polyline_path([(0, 0), (10, 0), (10, 10), (0, 10)], is_closed=True)
        edge = hatch.paths.add_edge_path()
        edge.add_line((20, 0), (30, 0))
        edge.add_arc((25, 0), 5, 0, 180)
        msp.add_leader([(0, 0), (5, 5), (8, 5)])
        dim = msp.add_linear_dim(base=(0, 3), p1=(0, 0), p2=(6, 0))
        dim.render()
        dim = msp.add_aligned_dim(p1=(0, 0), p2=(4, 3), distance=1)
        dim.render()
        dim = msp.add_radius_dim(center=(0, 0), radius=3, angle=45)
        dim.render()
        dim = msp.add_diameter_dim(center=(0, 0), radius=3, angle=45)
        dim.render()
        dim = msp.add_angular_dim_2l(base=(5, 5), line1=((0, 0), (5, 0)), line2=((0, 0), (0, 5)))
        dim.render()
        from ezdxf.render import mleader
        ml = msp.add_multileader_mtext("Standard")
        ml.set_content("note")
        ml.add_leader_line(mleader.ConnectionSide.left, [Vec2(-5, -5)])
        ml.build(insert=Vec2(0, 0))
        msp.add_wipeout([(0, 0), (3, 0), (3, 2)])
        msp.add_shape("BOX", (5, 5), 2)
        msp.add_region()
        img_def = doc.add_image_def(filename="photo.png", size_in_pixel=(640, 480))
        msp.add_image(img_def, insert=(0, 0), size_in_units=(6.4, 4.8))
        circle = msp.add_circle((40, 40), 1)
        xdict = circle.new_extension_dict()
        xrec = xdict.add_xrecord("TARN_NOTE")
        xrec.reset([(1, "kept"), (40, 1.25)])
        group = doc.groups.new("PAIR")
        group.extend([line, circle])
        doc.groups.new()  # anonymous *U group
        layout = doc.layouts.new("Sheet 2")
        layout.add_line((0, 0), (100, 100))
        psp = doc.layout("Layout1")
        psp.add_circle((10, 10), 5)
        psp.add_viewport(center=(50, 50), size=(40, 30), view_center_point=(0, 0), view_height=20)
    else:
        msp.add_text("R12 text")


def main():
    out = sys.argv[1]
    version = sys.argv[2] if len(sys.argv) > 2 else "R2018"
    doc = ezdxf.new(version, setup=True)
    add_entities(doc, doc.modelspace())
    doc.saveas(out)


if __name__ == "__main__":
    main()
