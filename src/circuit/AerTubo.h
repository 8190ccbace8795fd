#pragma once

#include "circuit/AerComponente.h"

#include <QPen>

class QPainter;

namespace ventix {

class TAerConexion;
class TAerVertice;

// Line shapes of a tube stretch from A to B.
enum : int {
    lnHorizontalVerticalHorizontal = 0,
    lnHorizontalVertical = 1,
    lnVerticalHorizontalVertical = 2,
    lnVerticalHorizontal = 3,
    lnRecta = 4,
};

// A tube from a point where air leaves an element to one where it enters
// another, through bend points; each stretch is drawn with one of five line
// shapes, dashed when it carries a pilot signal, coloured by pressure while
// the simulation runs.
class TAerTubo : public TAerComponente {
    VENTIX_CLASE(TAerTubo, TAerComponente)

    explicit TAerTubo(TAerPaintBox& Lienzo);
    ~TAerTubo() override;

    // A new tube in the canvas's tube list.
    static TAerTubo* Crear(TAerPaintBox& Lienzo);

    void SetInicio(TAerConexion* Punto);
    void SetFin(TAerConexion* Punto);
    void SetLinea(int K);
    int GetLinea() const { return Linea; }
    TAerVertice* AnadirVertice(const TCADCoordenada& P);
    void Dibujar() override;
    // The corner points of a stretch drawn with a line shape (empty for an
    // unknown shape).
    static std::vector<TCADCoordenada> Trazado(const TCADCoordenada& A, const TCADCoordenada& B,
                                               int Linea);

    TAerVertice* Vertice(int i) const;

    TAerConexion* Inicio = nullptr;
    TAerConexion* Fin = nullptr;
    TColeccion Vertices; // of TAerVertice
    TAerVertice* Ultimo = nullptr;
    TCADCoordenada Provisional;
    QPen Pluma; // the stretches' pen, set up at each drawing
    std::uint8_t TuboControl = 0;
    std::uint8_t EstadoPresion = 0;

private:
    int Linea = lnVerticalHorizontalVertical;
    // Detaches a point that holds this tube.
    static void Soltar(TAerConexion* Punto);
    // The pen of the stretches for the tube's state and the canvas's mode.
    const QPen& PlumaDeTramo();
    static void TrazarTramo(QPainter& G, const TCADCoordenada& A, const TCADCoordenada& B,
                            int Linea);
};

// A bend point of a tube, in circuit coordinates.
class TAerVertice : public TAerComponente {
    VENTIX_CLASE(TAerVertice, TAerComponente)

    explicit TAerVertice(TAerPaintBox& Lienzo);
    ~TAerVertice() override;

    void SetLinea(int K);
    int GetLinea() const { return Linea; }

    TAerTubo* Tubo = nullptr;
    TAerVertice* Anterior = nullptr;
    TAerVertice* Siguiente = nullptr;

private:
    friend class TAerTubo;
    int Linea = lnVerticalHorizontalVertical;
};

} // namespace ventix
