#include "editor/commands/CambioCircuito.h"

#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"

namespace ventix {

TLugarElemento TLugarElemento::De(const TAerPaintBox& L, const TAerComponente* e) {
    TLugarElemento r;
    if (!e)
        return r;
    if (e->GetColeccion() == &L.Componentes)
        r = {Componentes, e->GetIndice(), -1};
    else if (e->GetColeccion() == &L.Textos)
        r = {Textos, e->GetIndice(), -1};
    else if (auto* v = dynamic_cast<const TAerVertice*>(e); v && v->Tubo)
        r = {Vertices, v->Tubo->GetIndice(), v->GetIndice()};
    return r;
}

TAerComponente* TLugarElemento::En(const TAerPaintBox& L) const {
    auto Item = [](const TColeccion& c, int i) -> TAerComponente* {
        return i >= 0 && i < c.Count() ? c.ItemComo<TAerComponente>(i) : nullptr;
    };
    switch (Lista) {
    case Componentes:
        return Item(L.Componentes, Indice);
    case Textos:
        return Item(L.Textos, Indice);
    case Vertices:
        if (auto* t = dynamic_cast<TAerTubo*>(Item(L.Tubos, Indice)))
            return Vertice >= 0 && Vertice < t->Vertices.Count() ? t->Vertice(Vertice) : nullptr;
        return nullptr;
    default:
        return nullptr;
    }
}

TCambioCircuito::TCambioCircuito(const QString& Texto, ArchivoAer::TInstantanea Antes,
                                 ArchivoAer::TInstantanea Despues, TLugarElemento LA,
                                 TLugarElemento LD, TRestaurar R, int F)
    : LineasAntes(std::move(Antes)), LineasDespues(std::move(Despues)), LugarAntes(LA),
      LugarDespues(LD), Restaurar(std::move(R)), Fusion(F) {
    setText(Texto);
}

void TCambioCircuito::undo() {
    Hecho = false;
    Restaurar(LineasAntes, LugarAntes);
}

void TCambioCircuito::redo() {
    if (Hecho)
        return;
    Hecho = true;
    Restaurar(LineasDespues, LugarDespues);
}

bool TCambioCircuito::mergeWith(const QUndoCommand* Otro) {
    auto* o = dynamic_cast<const TCambioCircuito*>(Otro);
    if (!o || o->Fusion != Fusion || Fusion < 0)
        return false;
    const auto& a = LugarDespues;
    const auto& b = o->LugarDespues;
    if (a.Lista != b.Lista || a.Indice != b.Indice)
        return false;
    LineasDespues = o->LineasDespues;
    LugarDespues = o->LugarDespues;
    return true;
}

} // namespace ventix
