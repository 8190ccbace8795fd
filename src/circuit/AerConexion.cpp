#include "circuit/AerConexion.h"

#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"

namespace ventix {

TAerConexion::TAerConexion(TAerPaintBox& L, TTipoComponente T) : TAerComponente(L, T) {}

TAerConexion::~TAerConexion() {
    // Elements free the tubes at their points before their points; any tube
    // still naming this point (also one whose place here another tube took)
    // would otherwise keep pointing at a freed point.
    auto& tubos = GetLienzo().Tubos;
    for (int i = tubos.Count() - 1; i >= 0; --i) {
        if (i >= tubos.Count())
            continue;
        auto* t = static_cast<TAerTubo*>(tubos.Item(i));
        if (t->Inicio == this || t->Fin == this)
            delete t;
    }
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
    const QPointF mundo = vista.TransformActual().map(p);
    XMundo = mundo.x();
    YMundo = mundo.y();
    if (MostrarEscape() && vista.Modo != mdTubo) {
        // Made the first time it shows: most points never do, and a symbol
        // instance per point would be most of a large circuit's memory.
        if (!SimboloEscape)
            SimboloEscape = std::make_unique<TAerComponente>(vista, TTipoComponente::Escape2);
        SimboloEscape->X = X;
        SimboloEscape->Y = Y;
        SimboloEscape->Dibujar();
    }
    if (SimboloEscape)
        AlcanceEscape = vista.TransformActual().mapRect(SimboloEscape->Region.Limites());
}

} // namespace ventix
