#include "editor/commands/Insertar.h"

#include "circuit/AerPaintBox.h"
#include "circuit/AerTexto.h"
#include "circuit/AerValvula.h"

namespace ventix {

TAerComponente* Insertar(TAerPaintBox& L, TTipoComponente Tipo, TActuador Actuador) {
    TAerComponente* e;
    if (EsValvula(Tipo))
        e = TAerValvula::Crear(L, true, Actuador, Tipo);
    else if (Tipo == TTipoComponente::TextBox)
        e = TAerTexto::Crear(L);
    else
        e = TAerComponente::Crear(L, Tipo);
    if (EsRegulador(Tipo))
        e->Valor = 1.0;
    return e;
}

} // namespace ventix
