#!/usr/bin/python3
"""Development preview of the shipped symbols: reads data/Librerías/ the way
the program does (catalogue, symbol INI files, DXF layers as blocks), poses
every block at states 0, 0.5 and 1 and draws sheets to PNG files.

    tools/preview_librerias.py OUT_DIR

Writes OUT_DIR/simbolos.png (every type, its points numbered "index:kind",
block hit boxes in light blue) and OUT_DIR/valvulas.png (valves assembled
with their actuators, pilot points and open-port exhausts at states 0 and 1).
Needs python3-ezdxf and python3-matplotlib.
"""
import configparser
import math
import os
import sys

import ezdxf
import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt
from matplotlib.patches import Polygon

DATA = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "Librerías")


def ini(path):
    cp = configparser.ConfigParser(interpolation=None, strict=False)
    with open(path, encoding="iso-8859-1") as f:
        cp.read_file(f)
    return cp


def sample(e):
    t = e.dxftype()
    if t == "LINE":
        return "line", [tuple(e.dxf.start)[:2], tuple(e.dxf.end)[:2]], e.dxf.lineweight
    if t in ("CIRCLE", "ARC"):
        c, r = e.dxf.center, e.dxf.radius
        a1, a2 = (0, 360) if t == "CIRCLE" else (e.dxf.start_angle, e.dxf.end_angle)
        if a1 > a2:
            a1 -= 360
        n = 48
        return "line", [(c.x + r * math.cos(math.radians(a1 + (a2 - a1) * i / n)),
                         c.y + r * math.sin(math.radians(a1 + (a2 - a1) * i / n))) for i in range(n + 1)], e.dxf.lineweight
    if t == "LWPOLYLINE":
        pts = [(p[0], p[1]) for p in e.get_points()]
        return ("fill" if e.dxf.flags == 1 else "line"), pts, e.dxf.lineweight
    if t == "MTEXT":
        x, y = e.dxf.insert.x, e.dxf.insert.y
        w, h = e.dxf.width, e.dxf.char_height
        return "zone", [(x, y), (x + w, y), (x + w, y + h), (x, y + h), (x, y)], 0
    return None


class Block:
    pass


def load():
    cat = ini(os.path.join(DATA, "LIBRERÍA.txt"))
    libs = {}
    for i in range(1, cat.getint("MAIN", "Total") + 1):
        f = cat.get("MAIN", "Lib%d" % i)
        li = ini(os.path.join(DATA, f))
        doc = ezdxf.readfile(os.path.join(DATA, li.get("MAIN", "DXFFile")))
        layers = {}
        for e in doc.modelspace():
            layers.setdefault(e.dxf.layer.upper(), []).append(e)
        comps = []
        for c in range(1, li.getint("MAIN", "COMPONENTES") + 1):
            sec = "COMPONENTE%d" % c
            blocks = []
            for j in range(1, li.getint(sec, "BLOQUES") + 1):
                b = Block()
                b.name = li.get(sec, "BLOQUE%d" % j)
                ps = li["BLOQUE-" + b.name]
                b.pose = {k: float(ps.get(k, d)) for k, d in (("DeltaX", 0), ("DeltaY", 0), ("EscalaIniX", 1),
                          ("EscalaIniY", 1), ("EscalaFinX", 1), ("EscalaFinY", 1), ("RotacionX", 0), ("RotacionY", 0))}
                b.base = (0.0, 0.0)
                b.ents = []
                for e in layers[b.name.upper()]:
                    if e.dxftype() == "POINT":
                        b.base = (e.dxf.location.x, e.dxf.location.y)
                    else:
                        s = sample(e)
                        if s:
                            b.ents.append(s)
                blocks.append(b)
            b0 = blocks[0].base
            for b in blocks:
                b.ents = [(k, [(x - b.base[0], y - b.base[1]) for x, y in pts], w) for k, pts, w in b.ents]
                b.rel = (b.base[0] - b0[0], b.base[1] - b0[1])
            comps.append(blocks)
        libs[li.get("MAIN", "NOMBRE").upper()] = comps
    entries = {}
    for sec in cat.sections():
        if sec == "MAIN":
            continue
        s = cat[sec]
        n = int(s.get("Conexiones", "0"))
        entries[sec] = dict(sym=libs[s.get("LIBRERÍA").upper()][int(s.get("COMPONENTE")) - 1],
                            state=float(s.get("Parámetro", 0)),
                            link=(float(s.get("LinkX", 0)), float(s.get("LinkY", 0))),
                            pts=[(float(s.get("ConexiónX%d" % i, 0)), float(s.get("ConexiónY%d" % i, 0)),
                                  int(s.get("TipoConexión%d" % i, 10))) for i in range(1, n + 1)])
    return entries


def posed(blocks, t, ox=0.0, oy=0.0):
    """Yields (kind, points, weight) of every block posed at state t, moved by (ox, oy)."""
    for b in blocks:
        p = b.pose
        dx, dy = b.rel[0] + t * p["DeltaX"], b.rel[1] + t * p["DeltaY"]
        a = math.radians(p["RotacionX"] + t * (p["RotacionY"] - p["RotacionX"]))
        sx = 1 + t * (p["EscalaFinX"] / p["EscalaIniX"] - 1)
        sy = 1 + t * (p["EscalaFinY"] / p["EscalaIniY"] - 1)
        ca, sa = math.cos(a), math.sin(a)
        f = lambda q: (ox + dx + ca * sx * q[0] - sa * sy * q[1], oy + dy + sa * sx * q[0] + ca * sy * q[1])
        for k, pts, w in b.ents:
            yield k, [f(q) for q in pts], w


LW = 3.0  # matplotlib points per millimetre of line weight at the sheets' scale


def draw(ax, blocks, t, ox=0.0, oy=0.0, zones=True, color="k"):
    for k, pts, w in posed(blocks, t, ox, oy):
        if k == "fill":
            ax.add_patch(Polygon(pts, closed=True, fc=color, ec=color, lw=0.3))
        elif k == "zone":
            if zones:
                ax.add_patch(Polygon(pts, closed=True, fc=(0.6, 0.8, 1.0, 0.25), ec="none"))
        else:
            ax.plot([q[0] for q in pts], [q[1] for q in pts], color=color, lw=max(w, 13) / 100 * LW,
                    solid_capstyle="round")


def sheet_symbols(entries, out):
    tipos = list(entries)
    cols = 6
    rows = math.ceil(len(tipos) / 2)
    fig, axs = plt.subplots(rows, cols, figsize=(cols * 3.2, rows * 2.2))
    for i, t in enumerate(tipos):
        e = entries[t]
        for j, st in enumerate((0.0, 0.5, 1.0)):
            ax = axs[i // 2][(i % 2) * 3 + j]
            draw(ax, e["sym"], st)
            for n, (x, y, k) in enumerate(e["pts"]):
                ax.plot([x], [y], "o", color="red", ms=3)
                ax.annotate("%d:%d" % (n + 1, k), (x, y), xytext=(3, 2), textcoords="offset points", fontsize=6,
                            color="red")
            ax.plot([0], [0], "+", color="green", ms=5)
            ax.set_title("%s  %.1f" % (t, st), fontsize=7)
            ax.set_aspect("equal")
            ax.autoscale()
            ax.margins(0.15)
            ax.tick_params(labelsize=5)
    fig.tight_layout()
    fig.savefig(out, dpi=110)


def sheet_valves(entries, out):
    valves = ["Válvula22NA", "Válvula22NC", "Válvula32NA", "Válvula32NC", "Válvula52"]
    combos = [("ActuadorPilotadoIzquierdo", "ActuadorMuelle"), ("ActuadorReléIzquierdo", "ActuadorReléDerecho"),
              ("ActuadorSeta", "ActuadorMuelle"), ("ActuadorRodillo", "ActuadorMuelle"),
              ("ActuadorEscamoteable", "ActuadorMuelle"), ("ActuadorPilotadoIzquierdo", "ActuadorPilotadoDerecho")]
    fig, axs = plt.subplots(len(combos), len(valves) * 2, figsize=(len(valves) * 2 * 2.6, len(combos) * 1.9))
    for r, (left, right) in enumerate(combos):
        for c, v in enumerate(valves):
            for j, st in enumerate((0.0, 1.0)):
                ax = axs[r][c * 2 + j]
                ve = entries[v]
                draw(ax, ve["sym"], st, zones=False)
                for a in (left, right):
                    ae = entries[a]
                    draw(ax, ae["sym"], st, *ae["link"], zones=False)
                    for x, y, k in ae["pts"]:
                        draw(ax, entries["ConexiónPilotada"]["sym"], st, x, y, zones=False, color="tab:blue")
                if left == "ActuadorRodillo" and st > 0.94:
                    ae = entries["ActuadorAnclaje"]
                    draw(ax, ae["sym"], st, *ae["link"], zones=False, color="tab:red")
                for x, y, k in ve["pts"]:
                    if k == 1:
                        draw(ax, entries["Escape2"]["sym"], 0.0, x, y, zones=False, color="0.4")
                ax.set_title("%s %s/%s %.0f" % (v, left[8:12], right[8:12], st), fontsize=6)
                ax.set_aspect("equal")
                ax.set_xlim(-36, 40)
                ax.set_ylim(-17, 17)
                ax.axis("off")
    fig.tight_layout()
    fig.savefig(out, dpi=110)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "."
    entries = load()
    sheet_symbols(entries, os.path.join(out, "simbolos.png"))
    sheet_valves(entries, os.path.join(out, "valvulas.png"))


if __name__ == "__main__":
    main()
