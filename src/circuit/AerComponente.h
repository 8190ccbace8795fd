#pragma once

#include "cad/Region.h"
#include "circuit/TipoComponente.h"
#include "foundation/Coleccion.h"

#include <QTransform>

#include <array>
#include <cstdint>
#include <memory>

namespace ventix {

class TAerPaintBox;
class TCADIndividuo;
class TAerConexion;
class TComponenteItem;

// Every element of a circuit, from a cylinder to a single connection point: a
// placed, named, possibly mirrored instance of a catalogue type with its own
// symbol instance, its sub-elements (connection points, actuators) and one
// state value that poses the symbol.
//
// Elements are built free and handed to their list: `Crear` puts a new one
// among the canvas's top-level elements; sub-elements are adopted by their
// parent with `SetPadre`. Whatever refers to an element (the canvas's
// selection, reference lists, a valve's cylinder, a text's association) is
// cleared when the element goes.
class TAerComponente : public TColeccionItem {
    VENTIX_CLASE(TAerComponente, TColeccionItem)

    TAerComponente(TAerPaintBox& Lienzo, TTipoComponente Tipo);
    ~TAerComponente() override;

    // A new element of that type among the canvas's top-level elements.
    static TAerComponente* Crear(TAerPaintBox& Lienzo, TTipoComponente Tipo);

    // Sets the element's state. Its sub-elements take it when the element
    // is next posed (DarEstado): a running circuit changes states at every
    // step, most of them out of view.
    void SetParametro(double Valor);
    // Asks the memory for what SetParametro reads and writes, ahead of it.
    void AnticiparEstado() const {
        __builtin_prefetch(&Padre, 1);
        __builtin_prefetch(&Parametro, 1);
    }
    // The sub-elements take the states the element had since they last did,
    // as if each had been handed to them at once.
    void DarEstado();
    // Draws the element (and its sub-elements) on the canvas view and
    // refreshes its geometry: Region, Bounds, points' circuit positions.
    virtual void Dibujar();

    void SetPadre(TAerComponente* Padre);
    bool ContienePunto(const TCADCoordenada& Punto) const;
    int NumConexiones() const;
    int NumConectadas() const;
    // Connection points with neither a tube nor an exhaust of their own.
    int NumSueltas() const;
    // Ask the memory for what NumSueltas reads: the element itself, then,
    // once that is near, its points. A pass over many elements calls these
    // a few elements ahead.
    void AnticiparCabecera() const {
        __builtin_prefetch(&Elementos);
        __builtin_prefetch(&Padre);
    }
    void AnticiparPuntos() const;
    // Entry and exit roles of the points of a regulator or T connector after
    // a tube was attached or detached; nothing for other types.
    void ActualizarSentido();
    // Connection sub-element i (0-based, among connection points only).
    TAerConexion* Conexion(int i) const;
    TAerComponente* Elemento(int i) const { return Elementos.ItemComo<TAerComponente>(i); }

    TTipoComponente GetTipo() const { return Tipo; }
    TAerPaintBox& GetLienzo() const { return *Lienzo; }
    TAerComponente* GetPadre() const { return Padre; }
    // (A sub-element first takes what its parents have not handed over yet.)
    double GetParametro() const {
        if (Padre)
            const_cast<TAerComponente*>(this)->TomarEstado();
        return Parametro;
    }
    // Whether the placement mirrors this element (only for the types that can be).
    bool Reflejado() const;
    // The placement of the element's own coordinates in its parent's.
    QTransform Colocacion() const;

    bool EsPresion() const { return ventix::EsPresion(Tipo); }
    bool EsValvula() const { return ventix::EsValvula(Tipo); }
    bool EsCilindro() const { return ventix::EsCilindro(Tipo); }
    bool EsLogica() const { return ventix::EsLogica(Tipo); }
    bool EsRegulador() const { return ventix::EsRegulador(Tipo); }
    bool EsTemporizador() const { return ventix::EsTemporizador(Tipo); }
    bool EsEscape() const { return ventix::EsEscape(Tipo); }
    bool EsConexion() const { return ventix::EsConexion(Tipo); }
    bool EsPilotada() const { return ventix::EsPilotada(Tipo); }
    bool EsVertice() const { return ventix::EsVertice(Tipo); }
    bool EsConectorT() const { return ventix::EsConectorT(Tipo); }

    TColeccion Individuos; // of TCADIndividuo
    TCADIndividuo* Individuo = nullptr;
    double X = 0.0;
    double Y = 0.0;
    double Alfa = 0.0;
    double EscalaX = 1.0;
    double EscalaY = 1.0;
    bool Simetrico = false;
    TArea Region;
    TCADRectF Bounds;
    // What the canvas keeps of the last drawing of a top-level element or a
    // tube (made at its first; sub-elements never need it).
    struct TPosado {
        // The world rectangle holding all it painted: what a view must show
        // to need it.
        QRectF Alcance;
        // The union of the rectangles it adds to the extent of the drawing
        // (its own and its sub-elements'; a tube's bends').
        TCADLimites ExtensionPropia;
        // The placement it was posed with (position, turn, scale, mirror,
        // state, number of sub-elements): a change of any is seen by comparing.
        std::array<double, 7> ColocacionPosada{};
#ifndef NDEBUG
        // A fingerprint of everything posing read (checked against the
        // placement and PoseVieja in debug builds).
        std::uint64_t HuellaPose = 0;
#endif
    };
    std::unique_ptr<TPosado> Posado;
    // Marks for posing again the element this one belongs to: the top-level
    // element, or the tube of a bend.
    void PoseCambiada();
    bool Marcado = false;
    // Its slot in the canvas's spatial index of hit areas, -1 for none.
    int EntradaIndice = -1;
    TColeccion Elementos; // of TAerComponente
    // The reference-list entries naming this element, and the last one made:
    // an element going away takes its entry with it without a search.
    int Referencias = 0;
    TComponenteItem* Referencia = nullptr;
    double Valor = 0.0;

    // Builds the connection points the catalogue gives the type.
    void CrearConexiones();

protected:
    // Adopts a free sub-element and returns it.
    template <class T> T* Adoptar(std::unique_ptr<T> Sub) {
        // States set before it came are not the newcomer's.
        DarEstado();
        T* s = Sub.get();
        Elementos.Agregar(std::move(Sub));
        s->Padre = this;
        PoseCambiada();
        return s;
    }

private:
    // Takes the states its parents have not handed over yet.
    void TomarEstado();

    TAerPaintBox* Lienzo;
    // What setting the state reads and writes lies together, on one or two
    // lines of memory: a running circuit sets thousands at every step.
    TAerComponente* Padre = nullptr;
    TTipoComponente Tipo;

public:
    // Set when something else its pose depends on changed (its state, a
    // state of a sub-element, a tube taken to or from one of its points, a
    // bend of a tube moved): the canvas poses it again at its next drawing.
    bool PoseVieja = true;
    // How many times the state changed since the sub-elements last took it:
    // none, once, or more (2).
    std::uint8_t EstadosSinDar = 0;

protected:
    double Parametro = 0.0;
};

// An entry of a reference list: points at an element owned elsewhere.
class TComponenteItem : public TColeccionItem {
    VENTIX_CLASE(TComponenteItem, TColeccionItem)
    TComponenteItem() = default;
    explicit TComponenteItem(TAerComponente* C) : Componente(C) { Contar(+1); }
    ~TComponenteItem() override { Contar(-1); }
    TAerComponente* Componente = nullptr;
    void Assign(const TColeccionItem& Origen) override;

private:
    void Contar(int Delta);
};

} // namespace ventix
