#pragma once

#include "files/ArchivoAer.h"

#include <QUndoCommand>

#include <functional>

namespace ventix {

class TAerComponente;
class TAerPaintBox;

// Where an element sits in the circuit, so that it can be found again after
// the circuit has been rebuilt: its list (top-level components, texts, or
// the vertices of a tube) and its position there.
struct TLugarElemento {
    enum TLista { Ninguna, Componentes, Textos, Vertices };
    TLista Lista = Ninguna;
    int Indice = -1;
    int Vertice = -1; // for a vertex: its place in the tube Indice

    static TLugarElemento De(const TAerPaintBox& Lienzo, const TAerComponente* Elemento);
    TAerComponente* En(const TAerPaintBox& Lienzo) const;
};

// One step of the undo history: the circuit as it was before and after a
// change, in the writer's exact lines (snapshots that share what did not
// change with the steps beside them). Undoing rebuilds the circuit from the
// first, redoing from the second, so that every kind of change (one that
// drops tubes and interlocks too) comes back exactly. The step's first redo,
// when it is pushed, does nothing: the change is already made.
class TCambioCircuito : public QUndoCommand {
public:
    // Rebuilds the circuit from lines and selects the element at a place.
    using TRestaurar = std::function<void(const ArchivoAer::TInstantanea&, TLugarElemento)>;

    TCambioCircuito(const QString& Texto, ArchivoAer::TInstantanea Antes,
                    ArchivoAer::TInstantanea Despues, TLugarElemento LugarAntes,
                    TLugarElemento LugarDespues, TRestaurar Restaurar, int Fusion = -1);

    void undo() override;
    void redo() override;
    // Steps of the same kind on the same element (typing a text, moving a
    // slider) join into one.
    int id() const override { return Fusion; }
    bool mergeWith(const QUndoCommand* Otro) override;

    const ArchivoAer::TInstantanea& Antes() const { return LineasAntes; }
    const ArchivoAer::TInstantanea& Despues() const { return LineasDespues; }

private:
    ArchivoAer::TInstantanea LineasAntes, LineasDespues;
    TLugarElemento LugarAntes, LugarDespues;
    TRestaurar Restaurar;
    int Fusion;
    bool Hecho = true;
};

} // namespace ventix
