#include "circuit/AerConexion.h"

#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"

namespace ventix {

TAerConexion::TAerConexion(TAerPaintBox& L, TTipoComponente T) : TAerComponente(L, T) {
    SimboloEscape = std::make_unique<TAerComponente>(L, TTipoComponente::Escape2);
}

TAerConexion::~TAerConexion() {
    // Elements free the tubes at their points before their points; a tube
    // still attached here would otherwise keep pointing at a freed point.
    if (Tubo)
        delete Tubo;
}

bool TAerConexion::MostrarMarca() const {
    const auto& L = GetLienzo();
    if (!L.MostrarConexiones || Tubo)
        return false;
    switch (L.Modo) {
    case mdEdicion:
    case mdSeleccion:
        return Salida;
    case mdTubo:
        if (!Entrada)
            return false;
        if (L.TuboNuevo && L.TuboNuevo->Inicio)
            return L.TuboNuevo->Inicio->GetPadre() != GetPadre();
        return true;
    default:
        return false;
    }
}

bool TAerConexion::MostrarEscape() const {
    const TAerComponente* p = GetPadre();
    if (!p)
        return false;
    const int t = NumeroTipo(p->GetTipo());
    return t >= 2 && t <= 8 && GetTipo() == TTipoComponente::Conexion && Entrada && !Tubo;
}

void TAerConexion::Dibujar() {
    TAerComponente::Dibujar();
    auto& vista = GetLienzo();
    QPointF p(X, Y);
    if (EsPilotada())
        p = Region.Limites().center();
    // The parent's level is the current one: its own matrix takes the point
    // one level up, to circuit coordinates for a top-level element.
    MatrizPadre = vista.TransformActual();
    const QPointF mundo = MatrizPadre.map(p);
    XMundo = mundo.x();
    YMundo = mundo.y();
    if (MostrarEscape() && vista.Modo != mdTubo) {
        SimboloEscape->X = X;
        SimboloEscape->Y = Y;
        SimboloEscape->Dibujar();
    }
}

} // namespace ventix
