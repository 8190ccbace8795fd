#pragma once

#include "foundation/Clase.h"
#include "foundation/IndiceNombres.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

namespace ventix {

class TColeccion;

// The error of collections and parameter sets: a two-line message, the first
// naming the class, the second saying what went wrong.
class EColeccionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An index outside a list: "List index out of bounds (%d)". Also raised by the
// file readers when a file ends before a value they need.
class EListaError : public std::out_of_range {
public:
    explicit EListaError(long long Indice);

protected:
    // An error of the same kind with a message of its own.
    explicit EListaError(const std::string& Mensaje) : std::out_of_range(Mensaje) {}
};

// Kind of an item's last change.
enum : std::uint8_t { cmAnadido = 1, cmQuitado = 2, cmModificado = 3 };

// Base of every model class: lies in at most one collection, which owns it,
// has a program-wide ID given when it is added, and an optional name unique
// (without regard to case) within its collection.
//
// Ownership: an item in a collection is owned by it. `SetColeccion` moves an
// item between collections (ownership goes along); `TColeccion::Agregar` and
// `Extraer` hand it in and out as a unique_ptr. Deleting an item that lies in a
// collection takes it out first.
class TColeccionItem {
public:
    static const TClase& Clase() {
        static const TClase c{"TColeccionItem", nullptr, nullptr};
        return c;
    }
    virtual const TClase& GetClase() const { return Clase(); }

    TColeccionItem() = default;
    TColeccionItem(const TColeccionItem&) = delete;
    TColeccionItem& operator=(const TColeccionItem&) = delete;
    virtual ~TColeccionItem();

    // Moves the item into another collection (which then owns it) or out of
    // any (nullptr: the caller then owns it; prefer `Extraer`).
    virtual void SetColeccion(TColeccion* Coleccion);
    virtual void SetIndice(int Indice);
    // Copies the state of another item; the base copies the name only.
    virtual void Assign(const TColeccionItem& Origen);
    // A free copy of this item, of the same class.
    virtual std::unique_ptr<TColeccionItem> Clone() const;

    // Takes the item out of its collection and hands it to the caller; null
    // for a free item (its owner is already someone else).
    std::unique_ptr<TColeccionItem> Extraer();

    TColeccion* GetColeccion() const { return Coleccion; }
    std::int32_t GetID() const { return ID; }
    const std::string& GetNombre() const;
    void SetNombre(const std::string& N);
    int GetIndice() const;
    std::uint8_t GetCambio() const { return Cambio; }
    void Cambiado(std::uint8_t Tipo);

private:
    friend class TColeccion;
    TColeccion* Coleccion = nullptr;
    std::int32_t ID = 0;
    std::uint8_t Cambio = 0;
    // Null when the item has no name, as most never do; never an empty string.
    std::unique_ptr<std::string> Nombre;
};

// A collection's change handler, held behind a pointer: most collections
// never get one, and an empty std::function is four words. Assigned and
// called as the function itself.
class TAvisoCambio {
public:
    using Manejador = std::function<void(TColeccionItem*)>;

    TAvisoCambio& operator=(Manejador F);
    explicit operator bool() const { return Funcion != nullptr; }
    void operator()(TColeccionItem* Item) const { (*Funcion)(Item); }

private:
    std::unique_ptr<Manejador> Funcion;
};

// The owning, ordered, name-keyed collection every model class lives in. One
// iteration cursor refuses to go on once the collection has changed.
class TColeccion {
public:
    using Manejador = TAvisoCambio::Manejador;

    explicit TColeccion(const TClase& ClaseItem);
    TColeccion(const TColeccion&) = delete;
    TColeccion& operator=(const TColeccion&) = delete;
    ~TColeccion();

    int Count() const { return static_cast<int>(Items.size() - Frente); }
    TColeccionItem* Item(int Indice) const {
        if (Indice < 0 || Indice >= Count())
            FueraDeLista(Indice);
        return Items[Frente + static_cast<std::size_t>(Indice)].get();
    }
    // The item as a T, or null when it is not one. Every item is of the item
    // class, so asking for that class or an ancestor needs no run-time check.
    template <class T> T* ItemComo(int Indice) const {
        TColeccionItem* i = Item(Indice);
        if constexpr (requires { T::Clase(); }) {
            if (ClaseItem.EsDe(T::Clase()))
                return static_cast<T*>(i);
        }
        return dynamic_cast<T*>(i);
    }

    // Asks the memory for the list of items (not the items themselves): a
    // pass over many small collections calls it some way ahead.
    void AnticiparLista() const {
        if (Items.size() > Frente)
            __builtin_prefetch(Items.data() + Frente);
    }

    // Builds an item of the item class, unnamed, at the end.
    TColeccionItem* Nuevo();
    // Adds a free item at the end; on failure the item is destroyed and the
    // error propagates.
    TColeccionItem* Agregar(std::unique_ptr<TColeccionItem> Item);
    template <class T> T* Agregar(std::unique_ptr<T> Item) {
        return static_cast<T*>(Agregar(std::unique_ptr<TColeccionItem>(std::move(Item))));
    }
    void Borrar(int Indice);
    void BorrarTodo();

    TColeccionItem* Buscar(const std::string& Nombre) const;
    TColeccionItem* BuscarID(std::int32_t ID) const;
    const TClase& GetClaseItem() const { return ClaseItem; }

    void BeginUpdate() { ++Bloqueo; }
    void EndUpdate() {
        if (Bloqueo > 0)
            --Bloqueo;
    }
    int GetBloqueo() const { return Bloqueo; }
    void Cambiado(TColeccionItem* Item);
    bool GetModificada() const { return Modificada; }

    TAvisoCambio OnCambio;

    void Primero();
    bool HaySiguiente();
    TColeccionItem* Siguiente();

    void Assign(const TColeccion& Origen);
    std::unique_ptr<TColeccion> Clone() const;

private:
    friend class TColeccionItem;
    // Raises EListaError: kept out of line, so that Item stays small.
    [[noreturn]] static void FueraDeLista(int Indice);
    void Anadir(TColeccionItem* Item);
    void Quitar(TColeccionItem* Item);
    void Renombrado(TColeccionItem* Item, const std::string& Anterior);
    void Indexar(TColeccionItem* Item);
    void Desindexar(TColeccionItem* Item, const std::string& Nombre);

    const TClase& ClaseItem;
    // The items are Items[Frente..]: taking the first one away only moves
    // Frente, so emptying from the front (BorrarTodo) stays linear. A vector
    // costs nothing until the first item comes, which matters for the many
    // small collections of every element.
    std::vector<std::unique_ptr<TColeccionItem>> Items;
    // Named items by their name in capitals (MayusculasES); names are unique.
    // Made with the first named item: most collections (an element's symbol
    // instances and points) never hold one, and an empty map is not free.
    std::unique_ptr<TIndiceNombres> PorNombre;
    std::uint32_t Frente = 0;
    int Cursor = -1;
    int Bloqueo = 0;
    bool Modificada = false;
};

// Builds a model object of class T into a collection (which owns it) and
// returns it. T's constructor must not need the collection.
template <class T, class... A> T* Crear(TColeccion& Coleccion, A&&... Args) {
    return Coleccion.Agregar(std::make_unique<T>(std::forward<A>(Args)...));
}

} // namespace ventix
