#!/usr/bin/env python3
"""Writes a large .aer circuit for measuring and for behaviour checks.

    tools/gen_circuito_grande.py COMPONENTES [SALIDA.aer] [--catalogo RUTA]

The circuit tiles, on a grid, copies of the example circuits (each copy's
names end in "_k") and of a cell of three components (source, push-button 3/2
valve with an exhaust on its exhaust port, single-acting cylinder), until it
holds at least COMPONENTES components. The circuit passes the check, so it
can be run. The same arguments always give the same bytes.
"""
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gen_ejemplos  # noqa: E402  (the example circuits and the file writer)

ANCHO = 400.0  # grid step of the copies, wide enough for any example
ALTO = 300.0
COLUMNAS = 20


def celda(cat):
    c = gen_ejemplos.Circuito(cat, "")
    c.textos.clear()
    c.comp("A", "CilindroSimple", 19, 60)
    c.comp("P", "Válvula32NC", 0, 20, actuador="Seta")
    gen_ejemplos.fuente(c, "P", 0, "_f")
    x, y = c.punto("P", 1)
    c.comp("_e", "Escape", x, y - 22)
    c.tubo("P", 1, "_e", 0)
    c.tubo("P", 2, "A", 0)
    return c


def copiar(destino, origen, k, dx, dy):
    """Adds a copy of a circuit, moved by (dx, dy), with names ending in "_k"."""
    def nombre(n):
        return "%s_%d" % (n, k)

    for c in origen.comps:
        n = dict(c)
        n["nombre"] = nombre(c["nombre"])
        n["x"] = c["x"] + dx
        n["y"] = c["y"] + dy
        if c["cilindro"]:
            n["cilindro"] = nombre(c["cilindro"])
        destino.comps.append(n)
        destino.por_nombre[n["nombre"]] = n
    for ini, pi, fin, pf, vs in origen.tubos:
        destino.tubos.append((nombre(ini), pi, nombre(fin), pf,
                              [(x + dx, y + dy, l) for x, y, l in vs]))
    for t in origen.textos:
        n = dict(t)
        n["x"] = t["x"] + dx
        n["y"] = t["y"] + dy
        if t["asociado"]:
            n["asociado"] = nombre(t["asociado"])
        destino.textos.append(n)


def generar(cat, componentes):
    modelos = list(gen_ejemplos.ejemplos(cat).values()) + [celda(cat)]
    r = gen_ejemplos.Circuito(cat, "Circuito generado de %d componentes" % componentes)
    k = 0
    while len(r.comps) < componentes:
        dx = (k % COLUMNAS) * ANCHO
        dy = (k // COLUMNAS) * ALTO
        copiar(r, modelos[k % len(modelos)], k, dx, dy)
        k += 1
    return r


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("componentes", type=int)
    p.add_argument("salida", nargs="?")
    p.add_argument("--catalogo", default=os.path.join(gen_ejemplos.RAIZ, "data", "Librerías",
                                                      "LIBRERÍA.txt"))
    a = p.parse_args()
    datos = "".join(l + "\r\n" for l in generar(gen_ejemplos.Catalogo(a.catalogo),
                                                a.componentes).lineas()).encode("latin-1")
    if a.salida:
        with open(a.salida, "wb") as f:
            f.write(datos)
    else:
        sys.stdout.buffer.write(datos)


if __name__ == "__main__":
    main()
