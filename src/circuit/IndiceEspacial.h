#pragma once

#include <QPointF>

#include <cstdint>
#include <unordered_map>
#include <vector>

namespace ventix {

class TAerComponente;

// Where the hit areas of a canvas's elements lie, so that the element under a
// point is looked for among the few near it instead of among all.
//
// A uniform grid of square cells over the world: each cell lists the
// elements whose area's bounding box reaches it; an element whose box spans
// too many cells (or is not finite) is kept in a list of its own that every
// question looks through. An element is marked whenever it is posed (its
// area may have changed) and filed again under its area's box when the index
// is next asked, so posing the same element many times between two
// questions costs one filing. An element that goes is taken out. The index
// answers candidates whose box holds the point; the caller tests their areas
// and decides among them.
class TIndiceEspacial {
public:
    // The element's area may have changed.
    void Marcar(TAerComponente* Elemento);
    // The element goes: it is never answered again.
    void Quitar(TAerComponente* Elemento);
    // Forgets every element (they all went at once).
    void Vaciar();

    // Calls Hacer(element) for every element whose area's box holds P,
    // edges included, each once, in no particular order.
    template <class F> void Candidatos(const QPointF& P, F&& Hacer) {
        Archivar();
        auto mirar = [&](int s) {
            const TEntrada& e = Entradas[static_cast<std::size_t>(s)];
            if (P.x() >= e.Caja.X0 && P.x() <= e.Caja.X1 && P.y() >= e.Caja.Y0 &&
                P.y() <= e.Caja.Y1)
                Hacer(e.Elemento);
        };
        int cx = 0, cy = 0;
        if (Celda(P.x(), cx) && Celda(P.y(), cy))
            if (const auto c = Celdas.find(Clave(cx, cy)); c != Celdas.end())
                for (const int s : c->second)
                    mirar(s);
        // Their boxes may not even be finite: the caller's test decides.
        for (const int s : Grandes)
            Hacer(Entradas[static_cast<std::size_t>(s)].Elemento);
    }

    // Elements filed, and marked ones waiting to be (for tests and benchmarks).
    std::size_t Archivados() const { return Entradas.size() - Libres.size(); }
    std::size_t Pendientes() const { return Cola.size(); }

    // Side of a cell in world units: a power of two, so that dividing by it
    // is exact, and a few times a connection point's size.
    static constexpr double kLado = 16.0;
    // A box spanning more cells than this goes to the list of large ones.
    static constexpr long long kMaxCeldas = 256;

private:
    struct TCaja {
        double X0 = 0, Y0 = 0, X1 = 0, Y1 = 0;
    };
    struct TEntrada {
        TAerComponente* Elemento = nullptr; // null for a free slot
        TCaja Caja;                         // as filed, a little wider than the area
        int X0 = 0, Y0 = 0, X1 = 0, Y1 = 0; // cells it is listed in
        bool Pendiente = false;             // marked since it was filed
        bool EnCeldas = false;
        bool Grande = false;
    };
    // Files every marked element under its area's box as it is now.
    void Archivar();
    void Desarchivar(TEntrada& E, int Slot);
    static bool Celda(double V, int& C);
    static std::uint64_t Clave(int X, int Y) {
        return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(X)) << 32) |
               static_cast<std::uint32_t>(Y);
    }

    std::vector<TEntrada> Entradas; // an element finds its slot through EntradaIndice
    std::vector<int> Libres;        // free slots
    std::vector<int> Cola;          // slots marked since the last filing (maybe repeated)
    std::unordered_map<std::uint64_t, std::vector<int>> Celdas;
    std::vector<int> Grandes;
};

} // namespace ventix
