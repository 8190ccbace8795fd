#include "foundation/IndiceNombres.h"

#include <functional>
#include <utility>

namespace ventix {

std::uint64_t TIndiceNombres::Hash(std::string_view Clave) {
    return std::hash<std::string_view>{}(Clave);
}

std::size_t TIndiceNombres::Lugar(std::string_view Clave, std::uint64_t H) const {
    const std::size_t mascara = Ranuras.size() - 1;
    for (std::size_t k = H & mascara;; k = (k + 1) & mascara) {
        const TRanura& r = Ranuras[k];
        if (!r.Item || (r.Hash == H && r.Clave == Clave))
            return k;
    }
}

TColeccionItem* TIndiceNombres::Buscar(std::string_view Clave) const {
    if (Ranuras.empty())
        return nullptr;
    return Ranuras[Lugar(Clave, Hash(Clave))].Item;
}

void TIndiceNombres::Poner(std::string Clave, TColeccionItem* Item) {
    if (!Item)
        return;
    if (2 * (Ocupadas + 1) > Ranuras.size())
        Crecer();
    const std::uint64_t h = Hash(Clave);
    TRanura& r = Ranuras[Lugar(Clave, h)];
    if (!r.Item) {
        r.Hash = h;
        r.Clave = std::move(Clave);
        ++Ocupadas;
    }
    r.Item = Item;
}

void TIndiceNombres::Quitar(std::string_view Clave, const TColeccionItem* Item) {
    if (Ranuras.empty())
        return;
    const std::size_t mascara = Ranuras.size() - 1;
    std::size_t libre = Lugar(Clave, Hash(Clave));
    if (!Ranuras[libre].Item || Ranuras[libre].Item != Item)
        return;
    --Ocupadas;
    // The keys after it in the same run move back into the gap, each as far
    // as its own place allows, so that no search stops short of a key.
    for (std::size_t j = (libre + 1) & mascara; Ranuras[j].Item; j = (j + 1) & mascara) {
        const std::size_t propio = Ranuras[j].Hash & mascara;
        // Whether its own place lies cyclically in (libre, j]: then it stays.
        const bool queda =
            libre <= j ? libre < propio && propio <= j : libre < propio || propio <= j;
        if (!queda) {
            Ranuras[libre] = std::move(Ranuras[j]);
            libre = j;
        }
    }
    Ranuras[libre].Item = nullptr;
    Ranuras[libre].Clave.clear();
}

void TIndiceNombres::Crecer() {
    std::vector<TRanura> viejas(Ranuras.empty() ? 16 : 2 * Ranuras.size());
    viejas.swap(Ranuras);
    const std::size_t mascara = Ranuras.size() - 1;
    for (TRanura& r : viejas) {
        if (!r.Item)
            continue;
        std::size_t k = r.Hash & mascara;
        while (Ranuras[k].Item)
            k = (k + 1) & mascara;
        Ranuras[k] = std::move(r);
    }
}

} // namespace ventix
