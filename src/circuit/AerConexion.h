#pragma once

#include "circuit/AerComponente.h"

namespace ventix {

class TAerTubo;

// A connection point of an element: knows its tube, whether a tube may end
// (`Entrada`) or start (`Salida`) here, and, after each drawing, its position
// in circuit coordinates. A plain input of a valve or cylinder with no tube
// is an open port and shows an exhaust symbol.
class TAerConexion : public TAerComponente {
    VENTIX_CLASE(TAerConexion, TAerComponente)

    TAerConexion(TAerPaintBox& Lienzo, TTipoComponente Tipo);
    ~TAerConexion() override;

    void Dibujar() override;
    bool MostrarMarca() const;
    bool MostrarEscape() const;

    double XMundo = 0.0;
    double YMundo = 0.0;
    TAerTubo* Tubo = nullptr;
    bool Entrada = true;
    bool Salida = true;
    std::unique_ptr<TAerComponente> SimboloEscape; // null until first shown
    // The rectangle of that symbol in the coordinates of the element's
    // parent, as of the element's last drawing.
    QRectF AlcanceEscape;
};

} // namespace ventix
