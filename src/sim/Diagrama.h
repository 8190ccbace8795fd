#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QSize>

#include <string>

class QPainter;

namespace ventix {

class TRegistro;

// The displacement-step diagram of a recorded run: one column per step,
// numbered from 1, of equal widths; one row per recorded element with its
// name on the left: cylinders first (levels 0 and 1, a thick line sloped
// across the steps in which they move, one colour each), then valves, then
// panel buttons and timers. One routine paints it on any paint device: the
// editor's panel, a PNG, an SVG.
class TDiagrama {
public:
    explicit TDiagrama(const TRegistro& Registro);

    // Column width for a picture Ancho pixels wide (at least a few pixels).
    void AjustarAncho(int Ancho);

    int AnchoColumna = 28;
    int AnchoEtiquetas = 90;
    int AltoCabecera = 20;
    int AltoCilindro = 44;
    int AltoFila = 26;
    // The highlighted step (from 1), or 0.
    int Resaltado = 0;

    int NumPasos() const;
    QSize Tamano() const;
    // The step (from 1) under a point's x, or 0.
    int PasoEn(int X) const;
    // Left edge of a step's column.
    int XPaso(int Paso) const { return AnchoEtiquetas + (Paso - 1) * AnchoColumna; }

    // Paints the whole diagram; with Vista, only the rows that reach that
    // rectangle (a view showing part of a long diagram).
    void Pintar(QPainter& P, const QRect& Vista = {}) const;
    // The column of row names alone, with its left edge at X: a view that
    // scrolls keeps it in sight.
    void PintarEtiquetas(QPainter& P, int X, const QRect& Vista = {}) const;

    // Cylinder i's colour, shared with the marks on the canvas.
    static QColor ColorCilindro(int I);

    // Steps x rows as CSV (RFC 4180): a header "paso" and the rows' names,
    // then one line per step from 0 (the reset) with the recorded values.
    std::string Csv() const;

    // Row I (from 0) across the whole diagram, names included.
    QRect Fila(int I) const;

private:
    static QFont Letra();
    const TRegistro& Registro;
};

} // namespace ventix
