#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ventix {

class TColeccionItem;

// A collection's index of named items by key (the name in capitals). One
// array of slots with open addressing: each slot holds the key itself (short
// keys inside the slot), its hash and the item, so that finding a name among
// a large circuit's components reads one place in memory, not a bucket and a
// chain of nodes scattered over the heap.
class TIndiceNombres {
public:
    // The item filed under Clave, or null.
    TColeccionItem* Buscar(std::string_view Clave) const;
    // Files Item under Clave, in place of whatever was filed there.
    void Poner(std::string Clave, TColeccionItem* Item);
    // Takes Clave out of the index when it is filed for Item.
    void Quitar(std::string_view Clave, const TColeccionItem* Item);
    std::size_t Cuenta() const { return Ocupadas; }

private:
    struct TRanura {
        std::uint64_t Hash = 0;
        TColeccionItem* Item = nullptr; // null: a free slot
        std::string Clave;
    };
    static std::uint64_t Hash(std::string_view Clave);
    // The slot of Clave, or of the free slot where it would go.
    std::size_t Lugar(std::string_view Clave, std::uint64_t H) const;
    void Crecer();

    std::vector<TRanura> Ranuras; // a power of two, at most half full
    std::size_t Ocupadas = 0;
};

} // namespace ventix
