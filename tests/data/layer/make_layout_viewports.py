#!/usr/bin/python3
"""Writes layout_viewports.dxf, the drawing of the layer-state module's
tests: layers in four states and a layout with its own paper-space viewport
(number 1) and two viewports, numbers 2 and 3. The tests freeze layers in
the viewports through the host.

usage: make_layout_viewports.py OUTPUT.dxf
"""
import sys

import ezdxf


def main(path):
    doc = ezdxf.new("R2018")
    doc.layers.add("ON", color=7)
    doc.layers.add("OFF", color=5).off()
    doc.layers.add("FROZEN", color=7).freeze()
    doc.layers.add("LOCKED", color=3).lock()
    msp = doc.modelspace()
    msp.add_line((0, 0), (10, 0), dxfattribs={"layer": "ON"})
    msp.add_line((0, 5), (10, 5), dxfattribs={"layer": "LOCKED"})
    layout = doc.layouts.get("Layout1")
    paper = layout.add_viewport(center=(148, 105), size=(297, 210), view_center_point=(148, 105), view_height=210)
    paper.dxf.id = 1
    second = layout.add_viewport(center=(80, 100), size=(100, 80), view_center_point=(5, 0), view_height=40)
    second.dxf.id = 2
    third = layout.add_viewport(center=(220, 100), size=(100, 80), view_center_point=(5, 0), view_height=40)
    third.dxf.id = 3
    doc.saveas(path)


if __name__ == "__main__":
    main(sys.argv[1])
