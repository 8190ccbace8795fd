#!/usr/bin/env python3
"""Writes the example circuits of examples/ as .aer files.

Each circuit is described by its components (placed at whole units, no
rotation), its tubes (by component name and connection position) and its
texts. Connection positions come from the shipped catalogue, so a tube's last
bend lies exactly on its end point, as in a file the editor saves.
"""
import configparser
import math
import os
import sys

RAIZ = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))

TIPOS = {"Presión": 1, "Válvula22NA": 2, "Válvula22NC": 3, "Válvula32NA": 4,
         "Válvula32NC": 5, "Válvula52": 6, "CilindroSimple": 7, "CilindroDoble": 8,
         "VálvulaAnd": 9, "VálvulaOr": 10, "Regulador1": 11, "Regulador2": 12,
         "TemporizadorNA": 13, "TemporizadorNC": 14, "Escape": 15, "ConectorT": 20}
ACTUADORES = ["Pilotado", "Relé", "Seta", "Rodillo", "Escamoteable"]


def numero(v):
    """General format, at most 15 significant digits."""
    if v == 0:
        return "0"
    s = "%.15G" % v
    if "E" in s:
        m, e = s.split("E")
        if "." in m:
            m = m.rstrip("0").rstrip(".")
        return m + "E" + str(int(e))
    if "." in s:
        s = s.rstrip("0").rstrip(".")
    return s


class Catalogo:
    def __init__(self, ruta):
        ini = configparser.ConfigParser(interpolation=None, strict=False)
        ini.optionxform = str
        with open(ruta, encoding="latin-1") as f:
            ini.read_file(f)
        self.ini = ini

    def puntos(self, tipo):
        s = self.ini[tipo]
        n = int(s.get("Conexiones", "0"))
        return [(float(s["ConexiónX%d" % i]), float(s["ConexiónY%d" % i])) for i in range(1, n + 1)]


class Circuito:
    def __init__(self, cat, titulo):
        self.cat = cat
        self.comps = []      # dicts
        self.textos = []
        self.tubos = []
        self.por_nombre = {}
        self.titulo(titulo)

    def comp(self, nombre, tipo, x, y, actuador=None, monoestable=True, valor=0.0,
             parametro=None, cilindro=None, sentido=0):
        c = dict(nombre=nombre, tipo=tipo, x=x, y=y, actuador=actuador, monoestable=monoestable,
                 valor=valor, cilindro=cilindro, sentido=sentido,
                 parametro=parametro if parametro is not None else
                 (0.5 if tipo in ("VálvulaAnd", "VálvulaOr") else 0.0))
        # Elementos: own points, then the actuators with their moved-up pilot points.
        elementos = [("p", px, py) for px, py in self.cat.puntos(tipo)]
        if actuador is not None:
            a = ACTUADORES.index(actuador)
            if a >= 2:
                monoestable = True
                c["monoestable"] = True
            elementos.append(("a",))
            if a == 0:
                elementos.append(("p",) + self.cat.puntos("ActuadorPilotadoIzquierdo")[0])
            if a == 3:
                elementos.append(("a",))
            elementos.append(("a",))
            if not monoestable and a == 0:
                elementos.append(("p",) + self.cat.puntos("ActuadorPilotadoDerecho")[0])
        c["elementos"] = elementos
        self.comps.append(c)
        self.por_nombre[nombre] = c
        return nombre

    def punto(self, nombre, pos):
        c = self.por_nombre[nombre]
        e = c["elementos"][pos]
        assert e[0] == "p", (nombre, pos)
        return c["x"] + e[1], c["y"] + e[2]

    def tubo(self, ini, pi, fin, pf, bends=(), linea=2):
        """bends: (x, y, linea) before the last stretch, which is drawn with `linea`."""
        ex, ey = self.punto(fin, pf)
        self.punto(ini, pi)
        self.tubos.append((ini, pi, fin, pf, list(bends) + [(ex, ey, linea)]))

    def texto(self, cadena, x, y, tam=4.0, asociado=None, negrita=False):
        self.textos.append(dict(cadena=cadena, x=x, y=y, tam=tam, asociado=asociado,
                                negrita=negrita))

    def titulo(self, cadena):
        self.texto(cadena, -80, 140, 5.0, negrita=True)

    def etiqueta(self, nombre, cadena, dx=14, dy=0):
        c = self.por_nombre[nombre]
        self.texto(cadena, c["x"] + dx, c["y"] + dy, 3.5, asociado=nombre)

    def lineas(self):
        nombres = {}
        for i, c in enumerate(self.comps):
            nombres[c["nombre"]] = c["nombre"] if not c["nombre"].startswith("_") else "$$$%d" % i
        r = ['<?xml version="1.0" encoding="iso-8859-1"?>', '<NEUMATICA VERSION="1.0">']
        r.append("<COMPONENTES>")
        for c in self.comps:
            r.append('  <COMPONENTE NOMBRE="%s" TIPO="%s">' % (nombres[c["nombre"]], c["tipo"]))
            p = lambda n, v: r.append('    <PARAM %s="%s" />' % (n, v))
            p("TIPO", TIPOS[c["tipo"]])
            p("X", numero(c["x"]))
            p("Y", numero(c["y"]))
            p("ESCALAX", "1")
            p("ESCALAY", "1")
            p("ALFA", "0")
            p("SIMETRICO", "False")
            p("PARAMETRO", numero(c["parametro"]))
            p("VALOR", numero(c["valor"]))
            if c["actuador"] is not None:
                a = ACTUADORES.index(c["actuador"])
                p("MONOESTABLE", "True" if c["monoestable"] else "False")
                p("ACTUADOR", a)
                p("ACTUADOR_STR", c["actuador"])
                if a == 4:
                    p("SENTIDO", c["sentido"])
                    p("SENTIDO_STR", ["Retroceso", "Avance"][c["sentido"]])
                if c["cilindro"]:
                    p("CILINDRO", nombres[c["cilindro"]])
            r.append("  </COMPONENTE>")
        r.append("</COMPONENTES>")
        r.append("<TEXTOS>")
        for t in self.textos:
            r.append('  <TEXTO STR="%s">' % t["cadena"])
            p = lambda n, v: r.append('    <PARAM %s="%s" />' % (n, v))
            p("X", numero(t["x"]))
            p("Y", numero(t["y"]))
            p("ALFA", "0")
            p("SIZE", numero(t["tam"]))
            p("COLOR", "4278190080")
            p("NEGRITA", "True" if t["negrita"] else "False")
            for f in ("ITALICA", "SUBRAYADA", "TACHADA"):
                p(f, "False")
            if t["asociado"]:
                p("ASOCIADO", nombres[t["asociado"]])
            r.append("  </TEXTO>")
        r.append("</TEXTOS>")
        r.append("<TUBOS>")
        for ini, pi, fin, pf, vs in self.tubos:
            r.append('  <TUBO INI="%s" FIN="%s">' % (nombres[ini], nombres[fin]))
            r.append('    <PARAM INI="%d" />' % pi)
            r.append('    <PARAM FIN="%d" />' % pf)
            for x, y, l in vs:
                r.append('    <VERTICE X="%.2f" Y="%.2f" LINEA="%d" />' % (x, y, l))
            r.append("  </TUBO>")
        r.append("</TUBOS>")
        r.append("</NEUMATICA>")
        return r


def fuente(c, valvula, puerto, nombre):
    """A pressure source under a valve's port."""
    x, y = c.punto(valvula, puerto)
    c.comp(nombre, "Presión", x, y - 22)
    c.tubo(nombre, 0, valvula, puerto)


def ejemplos(cat):
    r = {}

    c = Circuito(cat, "Mando directo de un cilindro de simple efecto")
    c.comp("A", "CilindroSimple", 19, 60)
    c.comp("Pulsador", "Válvula32NC", 0, 20, actuador="Seta")
    fuente(c, "Pulsador", 0, "_f1")
    c.tubo("Pulsador", 2, "A", 0)
    c.etiqueta("A", "Cilindro A", 22, 8)
    c.etiqueta("Pulsador", "Pulsador de mando", 36)
    c.texto("Mientras se pulsa, el cilindro avanza; al soltar, el muelle lo recoge.", -80, -40, 3)
    r["01_mando_directo_simple_efecto"] = c

    c = Circuito(cat, "Mando indirecto de un cilindro de doble efecto")
    c.comp("A", "CilindroDoble", 6, 75)
    c.comp("V1", "Válvula52", 0, 30, actuador="Pilotado")
    c.comp("Pulsador", "Válvula32NC", -60, 0, actuador="Seta")
    fuente(c, "V1", 1, "_f1")
    fuente(c, "Pulsador", 0, "_f2")
    c.tubo("V1", 3, "A", 0)
    c.tubo("V1", 4, "A", 1)
    c.tubo("Pulsador", 2, "V1", 6, linea=3)
    c.etiqueta("A", "Cilindro A", 22, 8)
    c.etiqueta("V1", "Válvula de potencia 5/2", 26)
    c.etiqueta("Pulsador", "Pulsador", -30, -14)
    c.texto("El pulsador pilota la válvula 5/2, que gobierna el cilindro.", -80, -50, 3)
    r["02_mando_indirecto_doble_efecto"] = c

    c = Circuito(cat, "Función Y: mando bimanual de seguridad")
    c.comp("A", "CilindroDoble", 6, 110)
    c.comp("V1", "Válvula52", 0, 65, actuador="Pilotado")
    c.comp("Y", "VálvulaAnd", -60, 45)
    c.comp("Izquierda", "Válvula32NC", -100, 0, actuador="Seta")
    c.comp("Derecha", "Válvula32NC", -30, 0, actuador="Seta")
    fuente(c, "V1", 1, "_f1")
    fuente(c, "Izquierda", 0, "_f2")
    fuente(c, "Derecha", 0, "_f3")
    c.tubo("V1", 3, "A", 0)
    c.tubo("V1", 4, "A", 1)
    c.tubo("Izquierda", 2, "Y", 0, linea=3)
    c.tubo("Derecha", 2, "Y", 1, linea=3)
    c.tubo("Y", 2, "V1", 6, linea=3)
    c.etiqueta("A", "Cilindro A", 22, 8)
    c.etiqueta("Y", "Válvula de simultaneidad", -20, 12)
    c.etiqueta("Izquierda", "Mano izquierda", -10, -14)
    c.etiqueta("Derecha", "Mano derecha", -4, -14)
    c.texto("El cilindro sólo avanza mientras se pulsan los dos pulsadores.", -80, -50, 3)
    r["03_funcion_y_mando_bimanual"] = c

    c = Circuito(cat, "Función O: mando desde dos puntos")
    c.comp("A", "CilindroSimple", -44, 100)
    c.comp("O", "VálvulaOr", -60, 50)
    c.comp("Puerta", "Válvula32NC", -100, 0, actuador="Seta")
    c.comp("Mesa", "Válvula32NC", -30, 0, actuador="Seta")
    fuente(c, "Puerta", 0, "_f1")
    fuente(c, "Mesa", 0, "_f2")
    c.tubo("Puerta", 2, "O", 0, linea=3)
    c.tubo("Mesa", 2, "O", 1, linea=3)
    c.tubo("O", 2, "A", 0)
    c.etiqueta("A", "Cilindro A", 22, 8)
    c.etiqueta("O", "Válvula selectora", -16, 12)
    c.etiqueta("Puerta", "Pulsador 1", -10, -14)
    c.etiqueta("Mesa", "Pulsador 2", -4, -14)
    c.texto("Cualquiera de los dos pulsadores hace avanzar el cilindro.", -80, -50, 3)
    r["04_funcion_o_dos_puntos"] = c

    c = Circuito(cat, "Memoria con una válvula biestable")
    c.comp("A", "CilindroDoble", 6, 75)
    c.comp("V1", "Válvula52", 0, 30, actuador="Pilotado", monoestable=False)
    c.comp("Avance", "Válvula32NC", -60, 0, actuador="Seta")
    c.comp("Retroceso", "Válvula32NC", 50, 0, actuador="Seta")
    fuente(c, "V1", 1, "_f1")
    fuente(c, "Avance", 0, "_f2")
    fuente(c, "Retroceso", 0, "_f3")
    c.tubo("V1", 3, "A", 0)
    c.tubo("V1", 4, "A", 1)
    c.tubo("Avance", 2, "V1", 6, linea=3)
    c.tubo("Retroceso", 2, "V1", 8, linea=3)
    c.etiqueta("A", "Cilindro A", 22, 8)
    c.etiqueta("V1", "Válvula biestable", 30, 10)
    c.etiqueta("Avance", "Pulsador de avance", -30, -14)
    c.etiqueta("Retroceso", "Pulsador de retroceso", -4, -14)
    c.texto("La válvula recuerda la última orden: un pulso basta para avanzar o retroceder.",
            -80, -50, 3)
    r["05_memoria_valvula_biestable"] = c

    c = Circuito(cat, "Retorno temporizado")
    c.comp("A", "CilindroDoble", 6, 80)
    c.comp("V1", "Válvula52", 0, 35, actuador="Pilotado", monoestable=False)
    c.comp("Marcha", "Válvula32NC", -70, 0, actuador="Seta")
    c.comp("a1", "Válvula32NC", 30, -40, actuador="Rodillo", cilindro="A", valor=1)
    c.comp("T", "TemporizadorNC", 110, 10, valor=0.5)
    fuente(c, "V1", 1, "_f1")
    fuente(c, "Marcha", 0, "_f2")
    fuente(c, "a1", 0, "_f3")
    fuente(c, "T", 1, "_f4")
    c.tubo("V1", 3, "A", 0)
    c.tubo("V1", 4, "A", 1)
    c.tubo("Marcha", 2, "V1", 6, linea=3)
    c.tubo("a1", 2, "T", 0, linea=3)
    c.tubo("T", 2, "V1", 8, linea=3)
    c.etiqueta("A", "Cilindro A", 22, 8)
    c.etiqueta("Marcha", "Marcha", -30, -14)
    c.etiqueta("a1", "Final de carrera a1", -10, -14)
    c.etiqueta("T", "Temporizador", -20, 14)
    c.texto("Al llegar al final, el cilindro espera lo que marca el temporizador y vuelve.",
            -80, -80, 3)
    r["06_retorno_temporizado"] = c

    c = Circuito(cat, "Regulación de velocidad con reguladores de caudal")
    c.comp("A", "CilindroDoble", 6, 110)
    c.comp("V1", "Válvula52", 0, 30, actuador="Seta")
    c.comp("R1", "Regulador1", -20, 65, valor=0.5)
    c.comp("R2", "Regulador1", 30, 65, valor=0.25)
    fuente(c, "V1", 1, "_f1")
    c.tubo("V1", 3, "R1", 0)
    c.tubo("R1", 1, "A", 0)
    c.tubo("V1", 4, "R2", 0)
    c.tubo("R2", 1, "A", 1)
    c.etiqueta("A", "Cilindro A", 22, 8)
    c.etiqueta("V1", "Válvula 5/2 de pulsador", 26)
    c.etiqueta("R1", "Regulador de avance", -58, 0)
    c.etiqueta("R2", "Regulador de retroceso", 8, 0)
    c.texto("Los reguladores estrangulan el aire: el cilindro se mueve más despacio.",
            -80, -40, 3)
    r["07_regulacion_velocidad"] = c

    c = Circuito(cat, "Vaivén automático con finales de carrera")
    c.comp("A", "CilindroDoble", 6, 80)
    c.comp("V1", "Válvula52", 0, 35, actuador="Pilotado", monoestable=False)
    c.comp("Y", "VálvulaAnd", -60, 10)
    c.comp("Marcha", "Válvula32NC", -100, -40, actuador="Seta")
    c.comp("a0", "Válvula32NC", -30, -40, actuador="Rodillo", cilindro="A", valor=0)
    c.comp("a1", "Válvula32NC", 70, -5, actuador="Rodillo", cilindro="A", valor=1)
    fuente(c, "V1", 1, "_f1")
    fuente(c, "Marcha", 0, "_f2")
    fuente(c, "a0", 0, "_f3")
    fuente(c, "a1", 0, "_f4")
    c.tubo("V1", 3, "A", 0)
    c.tubo("V1", 4, "A", 1)
    c.tubo("Marcha", 2, "Y", 0, linea=3)
    c.tubo("a0", 2, "Y", 1, linea=3)
    c.tubo("Y", 2, "V1", 6, linea=3)
    c.tubo("a1", 2, "V1", 8, linea=3)
    c.etiqueta("A", "Cilindro A", 22, 8)
    c.etiqueta("Marcha", "Marcha", -10, -14)
    c.etiqueta("a0", "a0", -4, -14)
    c.etiqueta("a1", "a1", -4, -14)
    c.texto("Con la marcha pulsada, el cilindro va y viene entre a0 y a1.", -80, -80, 3)
    r["08_vaiven_automatico_finales_carrera"] = c

    c = Circuito(cat, "Secuencia de dos cilindros A+ B+ A- B-")
    c.comp("A", "CilindroDoble", 6, 100)
    c.comp("B", "CilindroDoble", 156, 100)
    c.comp("VA", "Válvula52", 0, 55, actuador="Pilotado", monoestable=False)
    c.comp("VB", "Válvula52", 150, 55, actuador="Pilotado", monoestable=False)
    c.comp("Y", "VálvulaAnd", -60, 20)
    c.comp("Marcha", "Válvula32NC", -100, -30, actuador="Seta")
    c.comp("b0", "Válvula32NC", -30, -30, actuador="Rodillo", cilindro="B", valor=0)
    c.comp("a1", "Válvula32NC", 100, -30, actuador="Rodillo", cilindro="A", valor=1)
    c.comp("b1", "Válvula32NC", 40, -30, actuador="Rodillo", cilindro="B", valor=1)
    c.comp("a0", "Válvula32NC", 200, -30, actuador="Rodillo", cilindro="A", valor=0)
    for v, f in (("VA", "_f1"), ("VB", "_f2")):
        fuente(c, v, 1, f)
    for v, f in (("Marcha", "_f3"), ("b0", "_f4"), ("a1", "_f5"), ("b1", "_f6"), ("a0", "_f7")):
        fuente(c, v, 0, f)
    c.tubo("VA", 3, "A", 0)
    c.tubo("VA", 4, "A", 1)
    c.tubo("VB", 3, "B", 0)
    c.tubo("VB", 4, "B", 1)
    c.tubo("Marcha", 2, "Y", 0, linea=3)
    c.tubo("b0", 2, "Y", 1, linea=3)
    c.tubo("Y", 2, "VA", 6, linea=3)
    c.tubo("b1", 2, "VA", 8, linea=3)
    c.tubo("a1", 2, "VB", 6, linea=3)
    c.tubo("a0", 2, "VB", 8, linea=3)
    c.etiqueta("A", "Cilindro A", 22, 8)
    c.etiqueta("B", "Cilindro B", 22, 8)
    for n in ("Marcha", "b0", "a1", "b1", "a0"):
        c.etiqueta(n, n, -4, -14)
    c.texto("Marcha y b0 sacan A; a1 saca B; b1 recoge A; a0 recoge B.", -80, -70, 3)
    r["09_secuencia_dos_cilindros"] = c
    return r


def main():
    catalogo = sys.argv[1] if len(sys.argv) > 1 else os.path.join(RAIZ, "data", "Librerías",
                                                                  "LIBRERÍA.txt")
    destino = sys.argv[2] if len(sys.argv) > 2 else os.path.join(RAIZ, "examples")
    cat = Catalogo(catalogo)
    os.makedirs(destino, exist_ok=True)
    for nombre, c in ejemplos(cat).items():
        with open(os.path.join(destino, nombre + ".aer"), "wb") as f:
            f.write("".join(l + "\r\n" for l in c.lineas()).encode("latin-1"))


if __name__ == "__main__":
    main()
