#!/usr/bin/python3
"""Writes the component catalogue (Librerías/LIBRERÍA.txt) and the symbol
libraries it names (INI + ASCII DXF R2000) into data/Librerías/.

Development tool only (needs Debian's python3-ezdxf). Running it again
reproduces the committed files byte for byte.

Drawing units are millimetres on paper. Every symbol starts with a "Zona"
block (a blank MTEXT whose box covers the body) so the mouse can hit it; its
POINT is the symbol origin. See docs/catalogue.md for the geometry contract.
"""
import math
import os
import sys

import ezdxf

ezdxf.options.write_fixed_meta_data_for_testing = True

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "Librerías")

W_BODY = 35   # outlines, hundredths of a millimetre
W_LINE = 25   # flow paths, ports, springs
W_THIN = 18   # markers, dashed pilot lines

# Directional valve frame: two squares of S, ports on the rest (right) square.
S = 12.0
H = 12.0
PORT = 3.0    # port stub length outside the body


def fmt(v):
    if isinstance(v, int):
        return str(v)
    s = ("%.6f" % v).rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


class Block:
    def __init__(self, name, base=(0.0, 0.0), **pose):
        self.name = name
        self.base = base
        self.ents = []
        self.pose = dict(DeltaX=0.0, DeltaY=0.0, EscalaIniX=1.0, EscalaIniY=1.0,
                         EscalaFinX=1.0, EscalaFinY=1.0, RotacionX=0.0, RotacionY=0.0)
        self.pose.update(pose)

    # entity helpers, all in symbol coordinates at state 0
    def line(self, a, b, w=W_LINE):
        self.ents.append(("line", a, b, w))

    def pline(self, pts, w=W_LINE, closed=False):
        pts = list(pts)
        if closed:
            pts.append(pts[0])  # open polyline: 70=1 would mean "filled"
        self.ents.append(("pline", pts, w))

    def rect(self, x0, y0, x1, y1, w=W_BODY):
        self.pline([(x0, y0), (x1, y0), (x1, y1), (x0, y1)], w, closed=True)

    def fill(self, pts):
        self.ents.append(("poly", list(pts)))

    def fillrect(self, x0, y0, x1, y1):
        self.fill([(x0, y0), (x1, y0), (x1, y1), (x0, y1)])

    def circle(self, c, r, w=W_LINE):
        self.ents.append(("circle", c, r, w))

    def dot(self, c, r, n=16):
        self.fill([(c[0] + r * math.cos(2 * math.pi * i / n), c[1] + r * math.sin(2 * math.pi * i / n))
                   for i in range(n)])

    def arc(self, c, r, a1, a2, w=W_LINE):
        self.ents.append(("arc", c, r, a1, a2, w))

    def zone(self, x0, y0, x1, y1):
        self.ents.append(("zone", x0, y0, x1 - x0, y1 - y0))

    def arrow(self, a, b, w=W_LINE, head=2.2, half=0.9):
        dx, dy = b[0] - a[0], b[1] - a[1]
        n = math.hypot(dx, dy)
        ux, uy = dx / n, dy / n
        m = (b[0] - ux * head, b[1] - uy * head)
        self.line(a, m, w)
        self.fill([b, (m[0] - uy * half, m[1] + ux * half), (m[0] + uy * half, m[1] - ux * half)])

    def dashed(self, a, b, w=W_THIN, dash=1.2, gap=0.8):
        n = math.hypot(b[0] - a[0], b[1] - a[1])
        t = 0.0
        while t < n - 1e-9:
            e = min(t + dash, n)
            self.line((a[0] + (b[0] - a[0]) * t / n, a[1] + (b[1] - a[1]) * t / n),
                      (a[0] + (b[0] - a[0]) * e / n, a[1] + (b[1] - a[1]) * e / n), w)
            t = e + gap

    def blocked(self, x, y, d, w=W_LINE):
        """A closed port: a stem of 3 from the edge at (x, y) inward (d = +1 up)."""
        self.line((x, y), (x, y + 3 * d), w)
        self.line((x - 1.5, y + 3 * d), (x + 1.5, y + 3 * d), w)

    def zigzag(self, x0, x1, y, amp, teeth, w=W_LINE):
        pts = [(x0, y)]
        n = 2 * teeth
        for i in range(n):
            pts.append((x0 + (x1 - x0) * (i + 0.5) / n, y + (amp if i % 2 == 0 else -amp)))
        pts.append((x1, y))
        self.pline(pts, w)

    def exhaust(self, x, y, stem=1.5):
        """Open exhaust triangle hanging below (x, y)."""
        self.line((x, y), (x, y - stem))
        self.pline([(x - 1.5, y - stem), (x + 1.5, y - stem), (x, y - stem - 2.6)], W_LINE, closed=True)


class Symbol:
    def __init__(self, key, nombre):
        self.key = key          # ASCII prefix of its layers
        self.nombre = nombre
        self.blocks = []

    def block(self, name, base=(0.0, 0.0), **pose):
        b = Block(self.key + "_" + name, base, **pose)
        self.blocks.append(b)
        return b


# ---------------------------------------------------------------- valves
PORTS = {
    # type: (bottom ports, top ports), x from the rest square's left edge
    "22": ([("P", 6.0)], [("A", 6.0)]),
    "32": ([("P", 3.0), ("R", 9.0)], [("A", 3.0)]),
    "52": ([("R", 2.0), ("P", 6.0), ("S", 10.0)], [("A", 3.0), ("B", 9.0)]),
}
B_, T_ = "b", "t"
PATHS = {
    # (rest square, actuated square): arrows (from, to) and blocked ports
    "22NA": ([("P", "A")], ["P", "A"]),
    "22NC": (["P", "A"], [("P", "A")]),
    "32NA": ([("P", "A"), "R"], [("A", "R"), "P"]),
    "32NC": ([("A", "R"), "P"], [("P", "A"), "R"]),
    "52": ([("P", "B"), ("A", "R"), "S"], [("P", "A"), ("B", "S"), "R"]),
}


def valve_square(b, kind, items, x0, s, h):
    bottom, top = PORTS[kind]
    pos = {n: (x0 + x * s / S, -h / 2) for n, x in bottom}
    pos.update({n: (x0 + x * s / S, h / 2) for n, x in top})
    for it in items:
        if isinstance(it, tuple):
            b.arrow(pos[it[0]], pos[it[1]])
        else:
            x, y = pos[it]
            b.blocked(x, y, 1 if y < 0 else -1)


def valve_points(kind, s=S, h=H, stub=PORT):
    bottom, top = PORTS[kind]
    pts = [(n, x * s / S, -h / 2 - stub, 1) for n, x in bottom]
    pts += [(n, x * s / S, h / 2 + stub, 0) for n, x in top]
    return pts


def valve(tipo, nombre):
    kind = tipo[:2]
    sym = Symbol("V" + tipo, nombre)
    z = sym.block("Zona")
    z.zone(-S, -H / 2, S, H / 2)
    v = sym.block("Vias")
    for n, x, y, k in valve_points(kind):
        v.line((x, y), (x, -H / 2 if y < 0 else H / 2))
    c = sym.block("Cuerpo", DeltaX=S)
    c.rect(-S, -H / 2, S, H / 2)
    c.line((0, -H / 2), (0, H / 2), W_BODY)
    rest, act = PATHS[tipo]
    valve_square(c, kind, rest, 0.0, S, H)
    valve_square(c, kind, act, -S, S, H)
    pts = valve_points(kind)
    # the order of the points is a contract with the simulation
    order = {"22": "PA", "32": "PRA", "52": "RPSAB"}[kind]
    pts = [next(p for p in pts if p[0] == n) for n in order]
    return sym, [(x, y, k) for _, x, y, k in pts]


# ------------------------------------------------------------- actuators
def act_left(key, nombre, draw):
    sym = Symbol(key, nombre)
    z = sym.block("Zona", DeltaX=S)
    d = sym.block("Dibujo", DeltaX=S)
    draw(z, d)
    return sym


def pilot(side):
    s = -1 if side == "I" else 1
    sym = Symbol("Pil" + side, "Pilotaje " + ("izquierdo" if side == "I" else "derecho"))
    z = sym.block("Zona", DeltaX=S)
    z.zone(min(0, 8 * s), -1.75, max(0, 8 * s), 1.75)
    d = sym.block("Dibujo", DeltaX=S)
    d.fill([(0, 0), (3 * s, 1.75), (3 * s, -1.75)])
    d.dashed((3 * s, 0), (8 * s, 0))
    return sym


def solenoid(side):
    s = -1 if side == "I" else 1
    sym = Symbol("Rel" + side, "Relé " + ("izquierdo" if side == "I" else "derecho"))
    z = sym.block("Zona", DeltaX=S)
    z.zone(min(0, 4 * s), -4, max(0, 4 * s), 4)
    d = sym.block("Dibujo", DeltaX=S)
    d.rect(min(0, 4 * s), -4, max(0, 4 * s), 4)
    d.line((min(0, 4 * s), -4), (max(0, 4 * s), 4))
    return sym


def spring():
    sym = Symbol("Muelle", "Muelle")
    z = sym.block("Zona")
    z.zone(0, -3, 16, 3)
    m = sym.block("Muelle", base=(16.0, 0.0), EscalaFinX=0.25)
    m.zigzag(0, 16, 0, 3, 4)
    return sym


def seta(z, d):
    z.zone(-20, -3, 0, 3)
    d.arc((-17, 0), 3, 90, 270, W_BODY)
    d.line((-17, 3), (-17, -3), W_BODY)
    d.line((0, 0), (-17, 0), W_BODY)


ROLLER_C = (-19.5, 0.0)
ROLLER_R = 2.5


def rodillo(z, d):
    z.zone(-22, -2.5, 0, 2.5)
    d.circle(ROLLER_C, ROLLER_R, W_BODY)
    d.line((0, 0), (-17, 0), W_BODY)


def escamoteable(z, d):
    z.zone(-22, -2.5, 0, 5)
    d.circle(ROLLER_C, ROLLER_R, W_BODY)
    d.line((0, 0), (-13, 0), W_BODY)
    # the lever folds at a joint: it works the valve one way only
    d.line((-13, 0), (-15, 1.5), W_BODY)
    d.line((-15, 1.5), (-17, 0), W_BODY)
    d.arrow((-22, 4.5), (-14, 4.5), W_THIN, head=1.8, half=0.7)


def anclaje():
    # shown only while the roller is worked (state 1): the cam of the
    # cylinder rod pressing the roller
    sym = Symbol("Ancla", "Anclaje")
    z = sym.block("Zona", DeltaX=S)
    z.zone(ROLLER_C[0] - 5, ROLLER_R + 0.3, ROLLER_C[0] + 3, ROLLER_R + 3.3)
    d = sym.block("Dibujo", DeltaX=S)
    cx, cy = ROLLER_C
    top = cy + ROLLER_R + 0.3
    d.fill([(cx, top), (cx - 1.75, top + 3), (cx + 1.75, top + 3)])
    d.line((cx - 5, top + 3), (cx + 3, top + 3), W_BODY)
    return sym


# ------------------------------------------------------------- cylinders
def cylinder(simple):
    sym = Symbol("CilS" if simple else "CilD", "Cilindro de simple efecto" if simple else "Cilindro de doble efecto")
    stroke = 30.0 if simple else 36.0
    z = sym.block("Zona")
    z.zone(-20, -5, 20, 5)
    b = sym.block("Camisa")
    b.rect(-20, -5, 20, 5)
    b.line((-16, -5), (-16, -8))
    if not simple:
        b.line((16, -5), (16, -8))
    p = sym.block("Embolo", DeltaX=stroke)
    p.fillrect(-19, -4.75, -17, 4.75)
    r = sym.block("Vastago", DeltaX=stroke)
    r.rect(-17, -1, 24, 1)
    pts = [(-16.0, -8.0, 1)]
    if simple:
        L = 20 - (-17)
        m = sym.block("Muelle", base=(20.0, 0.0), EscalaFinX=(L - stroke) / L)
        m.zigzag(-17, 20, 0, 4, 6)
    else:
        pts.append((16.0, -8.0, 1))
    return sym, pts


# ---------------------------------------------------------- logic valves
def seats(b):
    for s in (-1, 1):
        b.line((11 * s, 1), (9 * s, 3))
        b.line((11 * s, -1), (9 * s, -3))


def logic(y_and):
    sym = Symbol("And" if y_and else "Or", "Válvula de simultaneidad" if y_and else "Válvula selectora")
    z = sym.block("Zona")
    z.zone(-12, -4, 12, 4)
    c = sym.block("Cuerpo")
    c.rect(-12, -4, 12, 4)
    c.line((-12, 0), (-15, 0))
    c.line((12, 0), (15, 0))
    c.line((0, 4), (0, 7))
    if y_and:
        # seats face the ports from inside: pressure at X alone pushes the
        # shuttle towards Y (state 1) and its left plate closes X
        for sg in (-1, 1):
            c.line((4 * sg, 1), (6 * sg, 3))
            c.line((4 * sg, -1), (6 * sg, -3))
        sh = sym.block("Corredera", DeltaX=3.0)
        sh.fillrect(-10, -2.5, -8.5, 2.5)
        sh.fillrect(5.5, -2.5, 7, 2.5)
        sh.line((-8.5, 0), (5.5, 0), W_BODY)
    else:
        # seats at the ports: the ball closes the side without pressure
        seats(c)
        r = 2.2
        xc = -12 + r * math.sqrt(2)
        sh = sym.block("Bola", DeltaX=-2 * xc)
        sh.circle((xc, 0), r, W_BODY)
    return sym, [(-15.0, 0.0, 1), (15.0, 0.0, 1), (0.0, 7.0, 0)]


# ------------------------------------------------------------ regulators
def throttle_v(b, x, y, r=4.0, gap=0.5):
    b.arc((x - gap - r, y), r, -40, 40)
    b.arc((x + gap + r, y), r, 140, 220)


def check_ball(b, c, r, d, leg=3.0):
    """Ball with its seat on the side d (unit vector) the free flow comes from."""
    ax, ay = c[0] + d[0] * r * math.sqrt(2), c[1] + d[1] * r * math.sqrt(2)
    b.circle(c, r)
    for s in (1, -1):
        # legs at 45 degrees from the axis, tangent to the ball
        lx = -d[0] * math.cos(math.pi / 4) - s * d[1] * math.sin(math.pi / 4)
        ly = -d[1] * math.cos(math.pi / 4) + s * d[0] * math.sin(math.pi / 4)
        b.line((ax, ay), (ax + leg * lx, ay + leg * ly))
    return (ax, ay)


def regulator(one_way):
    sym = Symbol("Reg1" if one_way else "Reg2", "Regulador unidireccional" if one_way else "Regulador bidireccional")
    z = sym.block("Zona")
    if not one_way:
        z.zone(-5, -8, 5, 8)
        c = sym.block("Cuerpo")
        c.line((0, -10), (0, 10))
        throttle_v(c, 0, 0)
        c.arrow((-4.5, -4.5), (4.5, 4.5), W_THIN)
        return sym, [(0.0, -10.0, 10), (0.0, 10.0, 10)]
    z.zone(-9, -8, 8, 8)
    c = sym.block("Cuerpo")
    c.line((0, -14), (0, -8))
    c.line((0, 8), (0, 14))
    c.line((-5, -8), (5, -8))
    c.line((-5, 8), (5, 8))
    c.line((-5, -8), (-5, 8))
    throttle_v(c, -5, 0)
    c.arrow((-9, -4), (-1, 4), W_THIN)
    # the check valve lets air from 2 back to 1 freely
    r = 1.5
    ax, ay = check_ball(c, (5, -1), r, (0, 1))
    c.line((5, -8), (5, -1 - r))
    c.line((ax, ay), (5, 8))
    return sym, [(0.0, -14.0, 10), (0.0, 14.0, 10)]


# ---------------------------------------------------------------- timers
def timer(na):
    tipo = "32NA" if na else "32NC"
    sym = Symbol("TempNA" if na else "TempNC", "Temporizador " + ("NA" if na else "NC"))
    s, h = 10.0, 10.0
    z = sym.block("Zona")
    z.zone(-40, -10.5, 21, 8)
    c = sym.block("Cuerpo")
    c.rect(-s, -h / 2, s, h / 2)
    c.line((0, -h / 2), (0, h / 2), W_BODY)
    rest, act = PATHS[tipo]
    valve_square(c, "32", rest, 0.0, s, h)
    valve_square(c, "32", act, -s, s, h)
    c.zigzag(s, s + 8, 0, 2.5, 3)
    c.line((2.5, h / 2), (2.5, 11))
    c.line((2.5, -h / 2), (2.5, -13))
    c.exhaust(7.5, -h / 2)
    c.fill([(-s, 0), (-s - 2.5, 1.5), (-s - 2.5, -1.5)])
    c.dashed((-s - 2.5, 0), (-16, 0))
    c.rect(-24, -4, -16, 4, W_LINE)           # air reservoir
    c.line((-24, 0), (-26, 0))
    c.line((-36, -3), (-36, 3))
    c.line((-26, -3), (-26, 3))
    c.line((-36, 3), (-26, 3))
    c.arc((-31, 3 + 4.5), 4, 220, 320)
    c.arc((-31, 3 - 4.5), 4, 40, 140)
    c.arrow((-34.5, -0.5), (-27.5, 6.5), W_THIN, head=1.8, half=0.7)
    r = 1.2
    ax, ay = check_ball(c, (-32, -3), r, (1, 0), 2.0)
    c.line((-36, -3), (-32 - r, -3))
    c.line((ax, ay), (-26, -3))
    c.line((-43, 0), (-36, 0))
    # dashed frame of the assembly
    for a, b in (((-40, -10.5), (21, -10.5)), ((21, -10.5), (21, 8)), ((21, 8), (-40, 8)), ((-40, 8), (-40, -10.5))):
        c.dashed(a, b, W_THIN, 1.5, 1.0)
    # the reservoir fills as the time runs
    f = sym.block("Carga", base=(-20.0, -3.5), EscalaFinY=14.0)
    f.fillrect(-23.5, -3.5, -16.5, -3.0)
    return sym, [(-43.0, 0.0, 1), (2.5, -13.0, 1), (2.5, 11.0, 0)]


# ------------------------------------------------------------ auxiliaries
def presion():
    sym = Symbol("Pres", "Fuente de presión")
    z = sym.block("Zona")
    z.zone(-4, -4, 4, 4)
    c = sym.block("Dibujo")
    c.circle((0, 0), 4, W_BODY)
    c.pline([(-2, -1.5), (2, -1.5), (0, 2)], W_LINE, closed=True)
    c.line((0, 4), (0, 7))
    return sym, [(0.0, 7.0, 0)]


def escape(key, nombre, stem, half):
    sym = Symbol(key, nombre)
    z = sym.block("Zona")
    z.zone(-half, -stem - 0.87 * 2 * half, half, -stem)
    c = sym.block("Dibujo")
    c.pline([(-half, -stem), (half, -stem), (0, -stem - 0.87 * 2 * half)], W_LINE, closed=True)
    c.line((0, 0), (0, -stem))
    return sym


def marker(key, nombre, draw, **pose):
    sym = Symbol(key, nombre)
    z = sym.block("Zona", **pose)
    c = sym.block("Dibujo", **pose)
    draw(z, c)
    return sym


def conexion(z, c):
    z.zone(-1, -1, 1, 1)
    c.circle((0, 0), 1, W_THIN)


def conexion_pilotada(z, c):
    z.zone(-1, -1, 1, 1)
    c.rect(-1, -1, 1, 1, W_THIN)


def vertice(z, c):
    z.zone(-0.6, -0.6, 0.6, 0.6)
    c.rect(-0.6, -0.6, 0.6, 0.6, W_THIN)


def textbox(z, c):
    z.zone(-1.5, -1.5, 1.5, 1.5)
    for a in (0, 60, 120):
        dx, dy = 1.5 * math.cos(math.radians(a)), 1.5 * math.sin(math.radians(a))
        c.line((-dx, -dy), (dx, dy), W_THIN)


def conector_t():
    sym = Symbol("ConT", "Conector en T")
    z = sym.block("Zona")
    z.zone(-1, -1, 1, 1)
    c = sym.block("Dibujo")
    c.dot((0, 0), 0.8)
    c.line((-3, 0), (3, 0))
    c.line((0, 0), (0, -3))
    return sym, [(-3.0, 0.0, 10), (3.0, 0.0, 10), (0.0, -3.0, 10)]


# ------------------------------------------------------------ catalogue
def build():
    """Returns the libraries [(file, name, [Symbol])] and the entries
    {type: (library, position, state, link, points)}."""
    libs = {"Valvulas": ("Válvulas", []), "Actuadores": ("Actuadores", []),
            "Elementos": ("Elementos", []), "Auxiliares": ("Auxiliares", [])}
    entries = {}

    def add(lib, tipo, sym, state=0.0, link=(0.0, 0.0), pts=()):
        syms = libs[lib][1]
        syms.append(sym)
        entries[tipo] = (libs[lib][0], len(syms), state, link, list(pts))

    s, p = presion()
    add("Auxiliares", "Presión", s, pts=p)
    for tipo, nombre in (("22NA", "Válvula 2/2 NA"), ("22NC", "Válvula 2/2 NC"), ("32NA", "Válvula 3/2 NA"),
                         ("32NC", "Válvula 3/2 NC"), ("52", "Válvula 5/2")):
        s, p = valve(tipo, nombre)
        add("Valvulas", "Válvula" + tipo, s, pts=p)
    s, p = cylinder(True)
    add("Elementos", "CilindroSimple", s, pts=p)
    s, p = cylinder(False)
    add("Elementos", "CilindroDoble", s, pts=p)
    s, p = logic(True)
    add("Elementos", "VálvulaAnd", s, 0.5, pts=p)
    s, p = logic(False)
    add("Elementos", "VálvulaOr", s, 0.5, pts=p)
    s, p = regulator(True)
    add("Elementos", "Regulador1", s, pts=p)
    s, p = regulator(False)
    add("Elementos", "Regulador2", s, pts=p)
    s, p = timer(True)
    add("Elementos", "TemporizadorNA", s, pts=p)
    s, p = timer(False)
    add("Elementos", "TemporizadorNC", s, pts=p)
    add("Auxiliares", "Escape", escape("Esc", "Escape", 3.0, 2.0), pts=[(0.0, 0.0, 0)])
    add("Auxiliares", "Escape2", escape("Esc2", "Escape en vía abierta", 1.0, 1.5))
    add("Auxiliares", "Conexión", marker("Con", "Conexión", conexion))
    add("Auxiliares", "ConexiónPilotada", marker("ConP", "Conexión pilotada", conexion_pilotada, DeltaX=S))
    add("Auxiliares", "Vértice", marker("Vert", "Vértice", vertice))
    s, p = conector_t()
    add("Auxiliares", "ConectorT", s, pts=p)
    L, R = (-S, 0.0), (S, 0.0)
    add("Actuadores", "ActuadorMuelle", spring(), link=R)
    add("Actuadores", "ActuadorPilotadoIzquierdo", pilot("I"), link=L, pts=[(-S - 8, 0.0, 1)])
    add("Actuadores", "ActuadorPilotadoDerecho", pilot("D"), link=R, pts=[(S + 8, 0.0, 1)])
    add("Actuadores", "ActuadorReléIzquierdo", solenoid("I"), link=L)
    add("Actuadores", "ActuadorReléDerecho", solenoid("D"), link=R)
    add("Actuadores", "ActuadorSeta", act_left("Seta", "Pulsador de seta", seta), link=L)
    add("Actuadores", "ActuadorRodillo", act_left("Rod", "Rodillo", rodillo), link=L)
    add("Actuadores", "ActuadorEscamoteable", act_left("RodE", "Rodillo escamoteable", escamoteable), link=L)
    add("Actuadores", "ActuadorAnclaje", anclaje(), link=L)
    add("Auxiliares", "TextBox", marker("Txt", "Marca de texto", textbox))
    return [(f, n, syms) for f, (n, syms) in libs.items()], entries


TIPOS = ["Presión", "Válvula22NA", "Válvula22NC", "Válvula32NA", "Válvula32NC", "Válvula52", "CilindroSimple",
         "CilindroDoble", "VálvulaAnd", "VálvulaOr", "Regulador1", "Regulador2", "TemporizadorNA",
         "TemporizadorNC", "Escape", "Escape2", "Conexión", "ConexiónPilotada", "Vértice", "ConectorT",
         "ActuadorMuelle", "ActuadorPilotadoIzquierdo", "ActuadorPilotadoDerecho", "ActuadorReléIzquierdo",
         "ActuadorReléDerecho", "ActuadorSeta", "ActuadorRodillo", "ActuadorEscamoteable", "ActuadorAnclaje",
         "TextBox"]


ROLES = {
    "Presión": ["outlet"],
    "Válvula22NA": ["P, supply", "A, work"],
    "Válvula22NC": ["P, supply", "A, work"],
    "Válvula32NA": ["P, supply", "R, exhaust", "A, work"],
    "Válvula32NC": ["P, supply", "R, exhaust", "A, work"],
    "Válvula52": ["R, exhaust", "P, supply", "S, exhaust", "A, work", "B, work"],
    "CilindroSimple": ["advance chamber, cap end"],
    "CilindroDoble": ["advance chamber, cap end", "return chamber, rod end"],
    "VálvulaAnd": ["X, input", "Y, input", "A, outlet"],
    "VálvulaOr": ["X, input", "Y, input", "A, outlet"],
    "Regulador1": ["1 (flow from 1 to 2 is throttled)", "2 (flow from 2 to 1 passes freely)"],
    "Regulador2": ["1", "2"],
    "TemporizadorNA": ["control signal", "P, supply", "A, outlet"],
    "TemporizadorNC": ["control signal", "P, supply", "A, outlet"],
    "Escape": ["to the atmosphere"],
    "ConectorT": ["1", "2", "3"],
    "ActuadorPilotadoIzquierdo": ["pilot port, in the valve's coordinates"],
    "ActuadorPilotadoDerecho": ["pilot port, in the valve's coordinates"],
}
KINDS = {0: "0 (starts a tube)", 1: "1 (ends a tube)", 10: "10 (both)"}

DOC_HEAD = """# Component catalogue

`data/Librerías/LIBRERÍA.txt` and the symbol libraries it names are written by
`tools/gen_librerias.py`; this page is written by the same run, so edit the
generator, not the files. `tools/preview_librerias.py OUT_DIR` draws every
symbol at states 0, 0.5 and 1 (and the valves assembled with their actuators)
to check them by eye.

## Conventions

- One drawing unit is a millimetre on paper: text height 4, tube width 0.2,
  symbol outlines 0.35, flow paths and ports 0.25, markers and pilot lines 0.18.
  Every connection point lies on the half-unit grid.
- Each symbol library is an ISO-8859-1 INI file (CR LF) and an ASCII DXF R2000
  file; a block is a DXF layer whose POINT is the block's base point. In the DXF
  the symbols are laid out on a grid, 100 units apart, so a CAD program shows them
  side by side.
- The first block of every symbol is `…_Zona`: a blank MTEXT whose box covers the
  body, so the symbol can be hit with the mouse; its POINT is the symbol's origin.
  Filled shapes are LWPOLYLINEs with flag 1 (read as filled polygons) doubled by a
  solid HATCH for other CAD programs (the program ignores hatches). Outlines are
  open LWPOLYLINEs whose last point repeats the first.
- Within a block the first entity always has an area, so its extents never start
  from a degenerate line.

## Directional valve frame

All five directional valves share one body, in valve coordinates (origin at the
middle of the line between the two squares):

- two position squares of 12 × 12: the actuated square at x −12..0, the rest
  square at x 0..12, y −6..6;
- the ports sit on the rest square: work ports on top (stubs from y 6 to 9),
  supply and exhaust ports at the bottom (stubs from y −6 to −9); the connection
  point is the end of the stub. Port x positions: 2/2 P, A at 6; 3/2 P, A at 3,
  R at 9; 5/2 R 2, P 6, S 10, A 3, B 9;
- the block `…_Cuerpo` (squares and paths) slides by DeltaX 12 at state 1, so
  the actuated square then lies under the ports; the port stubs stay;
- left actuators link at (−12, 0) and draw to the left of it; the spring and the
  right pilot and relay actuators link at (12, 0) and draw to the right. All of
  them slide with the body (DeltaX 12), except the spring, whose fixed end stays at
  x 28 while it compresses from 16 to 4 units (EscalaFinX 0.25 about its fixed end);
- the pilot points lie at (−20, 0) (left) and (20, 0) (right) in valve
  coordinates; the `ConexiónPilotada` symbol is centred on its point and slides by
  12 with the body, so the centre of its hit box is the posed pilot port;
- the roller of both roller actuators is centred at (−31.5, 0) (state 0) with
  radius 2.5; `ActuadorAnclaje` (shown only at state 1) is a cam pressing it from
  above.

## Types
"""


def write_doc(path, libs, entries):
    lines = DOC_HEAD.split("\n")
    syms = {}
    for f, nombre, ss in libs:
        for i, sym in enumerate(ss):
            syms[(nombre, i + 1)] = sym
    for t in TIPOS:
        lib, pos, state, link, pts = entries[t]
        sym = syms[(lib, pos)]
        lines += ["", "### %s" % t, "",
                  "Symbol %d \"%s\" of the library \"%s\"; initial state %s; link point (%s, %s)."
                  % (pos, sym.nombre, lib, fmt(state), fmt(link[0]), fmt(link[1])), ""]
        if pts:
            lines += ["| index | role | position | kind |", "|---|---|---|---|"]
            for i, (x, y, k) in enumerate(pts):
                lines.append("| %d | %s | (%s, %s) | %s |" % (i + 1, ROLES[t][i], fmt(x), fmt(y), KINDS[k]))
        else:
            lines.append("No connection points.")
        lines += ["", "Blocks:", ""]
        b0 = sym.blocks[0].base
        for b in sym.blocks:
            p = b.pose
            moves = []
            if p["DeltaX"] or p["DeltaY"]:
                moves.append("moves by (%s, %s)" % (fmt(p["DeltaX"]), fmt(p["DeltaY"])))
            if p["EscalaFinX"] != p["EscalaIniX"] or p["EscalaFinY"] != p["EscalaIniY"]:
                moves.append("scales to (%s, %s) about its base point (%s, %s)" % (
                    fmt(p["EscalaFinX"] / p["EscalaIniX"]), fmt(p["EscalaFinY"] / p["EscalaIniY"]),
                    fmt(b.base[0] - b0[0]), fmt(b.base[1] - b0[1])))
            if p["RotacionX"] != p["RotacionY"]:
                moves.append("turns from %s to %s degrees" % (fmt(p["RotacionX"]), fmt(p["RotacionY"])))
            lines.append("- `%s`: %s at state 1." % (b.name, ", ".join(moves)) if moves else
                         "- `%s`: fixed." % b.name)
        lines += ["", MOTION.get(t, "")] if MOTION.get(t) else []
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(lines) + "\n")


MOTION = {
    "CilindroSimple": "Piston and rod travel 30 units from state 0 (retracted) to 1 (advanced); the return "
                      "spring, fixed at the rod-end wall, compresses from 37 to 7 units.",
    "CilindroDoble": "Piston and rod travel 36 units from state 0 (retracted) to 1 (advanced).",
    "VálvulaAnd": "The shuttle is centred at state 0.5 (both inputs alike); at 1 (X alone) it has moved "
                  "towards Y and closes X, at 0 (Y alone) it closes Y.",
    "VálvulaOr": "The ball is centred at state 0.5; at 1 (X alone) it seals Y, at 0 (Y alone) it seals X.",
    "TemporizadorNA": "The reservoir fills from empty (state 0) to full (state 1); the valve inside is drawn "
                      "at rest (open from P to A).",
    "TemporizadorNC": "The reservoir fills from empty (state 0) to full (state 1); the valve inside is drawn "
                      "at rest (A to exhaust, P closed).",
    "Escape2": "Drawn by the program at an unconnected input of a valve or cylinder, in the element's "
               "coordinates, hanging below the point.",
    "ActuadorAnclaje": "Drawn only while the valve's state exceeds 0.94, so only its final pose is seen.",
}


def write_text(path, lines):
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("iso-8859-1"))


def extents_ok(ent):
    k = ent[0]
    if k in ("circle", "arc", "zone"):
        return True
    pts = [ent[1], ent[2]] if k == "line" else ent[1]
    xs, ys = [p[0] for p in pts], [p[1] for p in pts]
    return max(xs) > min(xs) and max(ys) > min(ys)


def write_dxf(path, syms):
    doc = ezdxf.new("R2000", setup=False)
    doc.header["$INSUNITS"] = 4  # millimetres
    doc.header["$LWDISPLAY"] = 1
    msp = doc.modelspace()
    for i, sym in enumerate(syms):
        ox, oy = (i % 4) * 100.0, -(i // 4) * 60.0
        for b in sym.blocks:
            doc.layers.add(b.name, color=7, linetype="Continuous", lineweight=W_LINE)
            at = {"layer": b.name}
            msp.add_point((b.base[0] + ox, b.base[1] + oy), dxfattribs=at)
            # the reader takes a block's extents from its entities in order:
            # start with one that has an area
            ents = sorted(b.ents, key=lambda e: 0 if extents_ok(e) else 1)
            for e in ents:
                k = e[0]
                P = lambda p: (p[0] + ox, p[1] + oy)
                if k == "line":
                    msp.add_line(P(e[1]), P(e[2]), dxfattribs=dict(at, lineweight=e[3]))
                elif k == "pline":
                    msp.add_lwpolyline([P(q) for q in e[1]], dxfattribs=dict(at, lineweight=e[2]))
                elif k == "poly":
                    msp.add_lwpolyline([P(q) for q in e[1]], close=True, dxfattribs=dict(at, lineweight=W_THIN))
                    # other CAD programs fill a hatch, not a closed polyline
                    hatch = msp.add_hatch(color=256, dxfattribs=at)
                    hatch.paths.add_polyline_path([P(q) for q in e[1]], is_closed=True)
                elif k == "circle":
                    msp.add_circle(P(e[1]), e[2], dxfattribs=dict(at, lineweight=e[3]))
                elif k == "arc":
                    msp.add_arc(P(e[1]), e[2], e[3], e[4], dxfattribs=dict(at, lineweight=e[5]))
                elif k == "zone":
                    # blank text whose box is the hit area of the symbol
                    msp.add_mtext(" ", dxfattribs=dict(at, insert=P((e[1], e[2])), char_height=e[4],
                                                       width=e[3], attachment_point=7))
    doc.saveas(path)
    auditor = ezdxf.readfile(path).audit()
    if auditor.has_errors or auditor.has_fixes:
        raise SystemExit("%s: the DXF audit found %d errors, %d fixes" % (path, len(auditor.errors), len(auditor.fixes)))
    # ezdxf ends lines with LF; keep that, the reader takes both


def main():
    os.makedirs(OUT, exist_ok=True)
    libs, entries = build()
    assert set(entries) == set(TIPOS)
    cat = ["[MAIN]", "Total=%d" % len(libs)]
    cat += ["Lib%d=%s.ini" % (i + 1, f) for i, (f, _, _) in enumerate(libs)]
    for f, nombre, syms in libs:
        ini = ["[MAIN]", "NOMBRE=" + nombre, "DXFFile=" + f + ".dxf", "COMPONENTES=%d" % len(syms)]
        for i, sym in enumerate(syms):
            ini += ["", "[COMPONENTE%d]" % (i + 1), "NOMBRE=" + sym.nombre, "BLOQUES=%d" % len(sym.blocks)]
            ini += ["BLOQUE%d=%s" % (j + 1, b.name) for j, b in enumerate(sym.blocks)]
        for sym in syms:
            for b in sym.blocks:
                ini += ["", "[BLOQUE-%s]" % b.name] + ["%s=%s" % (k, fmt(v)) for k, v in b.pose.items()]
        write_text(os.path.join(OUT, f + ".ini"), ini)
        write_dxf(os.path.join(OUT, f + ".dxf"), syms)
    for t in TIPOS:
        lib, pos, state, link, pts = entries[t]
        cat += ["", "[%s]" % t, "LIBRERÍA=" + lib, "COMPONENTE=%d" % pos, "Parámetro=" + fmt(state),
                "LinkX=" + fmt(link[0]), "LinkY=" + fmt(link[1]), "Conexiones=%d" % len(pts)]
        for i, (x, y, k) in enumerate(pts):
            cat += ["ConexiónX%d=%s" % (i + 1, fmt(x)), "ConexiónY%d=%s" % (i + 1, fmt(y)),
                    "TipoConexión%d=%d" % (i + 1, k)]
    write_text(os.path.join(OUT, "LIBRERÍA.txt"), cat)
    write_doc(os.path.join(os.path.dirname(OUT), "..", "docs", "catalogue.md"), libs, entries)


if __name__ == "__main__":
    sys.exit(main())
