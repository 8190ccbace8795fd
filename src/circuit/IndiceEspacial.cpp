#include "circuit/IndiceEspacial.h"

#include "circuit/AerComponente.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ventix {

namespace {

// Cells stay well inside the integer range, whatever the coordinates.
constexpr double kLimite = 1 << 30;

void QuitarDe(std::vector<int>& Lista, int Slot) {
    const auto i = std::find(Lista.begin(), Lista.end(), Slot);
    if (i != Lista.end()) {
        *i = Lista.back();
        Lista.pop_back();
    }
}

} // namespace

bool TIndiceEspacial::Celda(double V, int& C) {
    const double c = std::floor(V / kLado);
    if (!(c >= -kLimite && c <= kLimite)) // also NaN
        return false;
    C = static_cast<int>(c);
    return true;
}

void TIndiceEspacial::Marcar(TAerComponente* E) {
    int s = E->EntradaIndice;
    if (s >= 0 && static_cast<std::size_t>(s) < Entradas.size() &&
        Entradas[static_cast<std::size_t>(s)].Elemento == E) {
        TEntrada& e = Entradas[static_cast<std::size_t>(s)];
        if (!e.Pendiente) {
            e.Pendiente = true;
            Cola.push_back(s);
        }
        return;
    }
    // Not filed (or its slot was taken by another after the index was
    // emptied): a slot of its own.
    if (Libres.empty()) {
        s = static_cast<int>(Entradas.size());
        Entradas.emplace_back();
    } else {
        s = Libres.back();
        Libres.pop_back();
    }
    TEntrada& e = Entradas[static_cast<std::size_t>(s)];
    e = TEntrada{};
    e.Elemento = E;
    e.Pendiente = true;
    E->EntradaIndice = s;
    // A slot freed while it waited may already be in the queue: filing it
    // twice is harmless, the second finds it no longer marked.
    Cola.push_back(s);
}

void TIndiceEspacial::Quitar(TAerComponente* E) {
    const int s = E->EntradaIndice;
    if (s < 0 || static_cast<std::size_t>(s) >= Entradas.size() ||
        Entradas[static_cast<std::size_t>(s)].Elemento != E)
        return;
    TEntrada& e = Entradas[static_cast<std::size_t>(s)];
    Desarchivar(e, s);
    e = TEntrada{};
    Libres.push_back(s);
    E->EntradaIndice = -1;
}

void TIndiceEspacial::Vaciar() {
    Entradas.clear();
    Libres.clear();
    Cola.clear();
    Celdas.clear();
    Grandes.clear();
}

void TIndiceEspacial::Desarchivar(TEntrada& E, int Slot) {
    if (E.EnCeldas) {
        for (int x = E.X0; x <= E.X1; ++x)
            for (int y = E.Y0; y <= E.Y1; ++y)
                if (const auto c = Celdas.find(Clave(x, y)); c != Celdas.end()) {
                    QuitarDe(c->second, Slot);
                    if (c->second.empty())
                        Celdas.erase(c);
                }
        E.EnCeldas = false;
    }
    if (E.Grande) {
        QuitarDe(Grandes, Slot);
        E.Grande = false;
    }
}

void TIndiceEspacial::Archivar() {
    for (const int s : Cola) {
        TEntrada& e = Entradas[static_cast<std::size_t>(s)];
        if (!e.Elemento || !e.Pendiente)
            continue;
        e.Pendiente = false;
        const TArea& area = e.Elemento->Region;
        if (area.Vacia()) {
            Desarchivar(e, s);
            continue;
        }
        // The box holds every point of the area: a rectangle's right and
        // bottom are sums that may round a little inwards, so it is widened
        // by more than any such rounding. The caller's test is exact.
        const QRectF r = area.Limites();
        const double m =
            (std::abs(r.left()) + std::abs(r.right()) + std::abs(r.top()) + std::abs(r.bottom())) *
            4 * std::numeric_limits<double>::epsilon();
        const TCaja caja{r.left() - m, r.top() - m, r.right() + m, r.bottom() + m};
        int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
        const bool enCeldas =
            Celda(caja.X0, x0) && Celda(caja.X1, x1) && Celda(caja.Y0, y0) && Celda(caja.Y1, y1) &&
            (static_cast<long long>(x1) - x0 + 1) * (static_cast<long long>(y1) - y0 + 1) <=
                kMaxCeldas;
        const bool igual = enCeldas
                               ? e.EnCeldas && x0 == e.X0 && y0 == e.Y0 && x1 == e.X1 && y1 == e.Y1
                               : e.Grande;
        e.Caja = caja;
        if (igual)
            continue;
        Desarchivar(e, s);
        if (enCeldas) {
            for (int x = x0; x <= x1; ++x)
                for (int y = y0; y <= y1; ++y)
                    Celdas[Clave(x, y)].push_back(s);
            e.X0 = x0;
            e.Y0 = y0;
            e.X1 = x1;
            e.Y1 = y1;
            e.EnCeldas = true;
        } else {
            Grandes.push_back(s);
            e.Grande = true;
        }
    }
    Cola.clear();
}

} // namespace ventix
