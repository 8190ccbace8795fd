#!/usr/bin/python3
"""Writes the DXF test drawings in tests/data/dxf/ with ezdxf (Debian's
python3-ezdxf), an independent DXF writer, so that the reader is checked
against files it did not write itself. Run from the project folder:

    tools/make_test_dxf.py

Every file is written with CR LF line endings, as Windows CAD programs do.
"""
import os

import ezdxf
from ezdxf.enums import TextEntityAlignment

DESTINO = os.path.join(os.path.dirname(__file__), "..", "tests", "data", "dxf")


def capas(doc, lineweights):
    doc.layers.add("Cuerpo", color=1, linetype="CONTINUOUS")
    oculta = doc.layers.add("Oculta", color=3)
    oculta.off()  # written as colour -3
    valvula = doc.layers.add("Válvula", color=5, linetype="DASHED")
    if lineweights:
        doc.layers.get("Cuerpo").dxf.lineweight = 35
        valvula.dxf.lineweight = -3


def comunes(msp):
    msp.add_point((1, 2, 3), dxfattribs={"layer": "Cuerpo"})
    msp.add_line((0, 0), (10, 5), dxfattribs={"layer": "Cuerpo", "color": 4})
    msp.add_circle((5, 5), 2.5, dxfattribs={"layer": "Válvula"})
    msp.add_arc((0, 0), 4, 350, 10, dxfattribs={"layer": "Válvula"})
    msp.add_text("Émbolo", height=1.5, rotation=90,
                 dxfattribs={"layer": "Oculta"}).set_placement(
        (2, 3), align=TextEntityAlignment.MIDDLE_CENTER)
    msp.add_polyline3d([(0, 0, 0), (1, 0, 1), (1, 1, 2)], close=True,
                       dxfattribs={"layer": "Cuerpo"})
    # A 2-D polyline is not drawn: it and its vertices stay undrawn entities.
    msp.add_polyline2d([(0, 0), (3, 0), (3, 3)], dxfattribs={"layer": "Oculta"})
    # A layer the table does not define: dropped.
    msp.add_line((0, 0), (1, 1), dxfattribs={"layer": "SinDefinir"})


def modernas(doc, msp):
    msp.add_lwpolyline([(0, 0), (4, 0), (4, 2)], close=True,
                       dxfattribs={"layer": "Cuerpo", "elevation": 1.5})
    msp.add_lwpolyline([(0, 0), (1, 1), (2, 0)], dxfattribs={"layer": "Cuerpo", "lineweight": 50})
    mtext = msp.add_mtext("Cilindro\\Pdoble efecto " + "x" * 300,
                          dxfattribs={"layer": "Válvula", "char_height": 2.0, "width": 20.0})
    mtext.dxf.insert = (1, 1)
    mtext.dxf.attachment_point = 5
    linea = msp.add_line((0, 0), (0, 1), dxfattribs={"layer": "Cuerpo", "lineweight": -1})
    linea.rgb = (255, 128, 0)
    bloque = doc.blocks.new(name="Muelle")
    bloque.add_line((0, 0), (1, 1))
    msp.add_blockref("Muelle", (5, 5), dxfattribs={"layer": "Cuerpo"})
    msp.add_spline([(0, 0), (1, 2), (3, 1), (4, 4)], dxfattribs={"layer": "Cuerpo"})
    hatch = msp.add_hatch(color=2, dxfattribs={"layer": "Cuerpo"})
    hatch.paths.add_polyline_path([(0, 0), (1, 0), (1, 1)], is_closed=True)


def escribir(doc, nombre):
    ruta = os.path.join(DESTINO, nombre)
    doc.saveas(ruta)
    with open(ruta, "rb") as f:
        datos = f.read()
    datos = datos.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
    with open(ruta, "wb") as f:
        f.write(datos)


def main():
    os.makedirs(DESTINO, exist_ok=True)
    for version, nombre in (("R12", "r12.dxf"), ("R2000", "r2000.dxf"), ("R2018", "r2018.dxf")):
        doc = ezdxf.new(version)
        capas(doc, lineweights=version != "R12")
        msp = doc.modelspace()
        comunes(msp)
        if version != "R12":
            modernas(doc, msp)
        escribir(doc, nombre)


if __name__ == "__main__":
    main()
