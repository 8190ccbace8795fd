#include "foundation/Coleccion.h"

#include "foundation/Texto.h"

#include <algorithm>
#include <utility>

namespace ventix {

namespace {

// Program-wide: IDs are never reused within a run.
std::int32_t SiguienteID = 0;

[[noreturn]] void ErrorColeccion(const std::string& Detalle) {
    throw EColeccionError("Error TColeccion.\r\n" + Detalle);
}

} // namespace

EListaError::EListaError(long long Indice)
    : std::out_of_range("List index out of bounds (" + std::to_string(Indice) + ")") {}

// ---------------------------------------------------------------- item

const std::string& TColeccionItem::GetNombre() const {
    static const std::string vacio;
    return Nombre ? *Nombre : vacio;
}

TColeccionItem::~TColeccionItem() {
    if (Coleccion)
        Coleccion->Quitar(this);
}

void TColeccionItem::SetColeccion(TColeccion* Nueva) {
    if (Nueva == Coleccion)
        return;
    // The target is checked before the item leaves its present collection, so a
    // refused move leaves it where it was instead of ownerless.
    if (Nueva) {
        if (!GetClase().EsDe(Nueva->ClaseItem))
            ErrorColeccion("Se ha intentado añadir un elemento de la clase \"" +
                           std::string(GetClase().Nombre) +
                           "\".\r\nSe esperaba que fuese de la clase \"" +
                           std::string(Nueva->ClaseItem.Nombre) + "\"");
        if (Nombre && Nueva->Buscar(*Nombre))
            ErrorColeccion("El nombre de \"" + *Nombre + "\" ya existe");
    }
    if (Coleccion)
        Coleccion->Quitar(this);
    if (Nueva)
        Nueva->Anadir(this);
}

void TColeccionItem::SetIndice(int Indice) {
    if (!Coleccion)
        return;
    if (Indice < 0 || Indice >= Coleccion->Count())
        throw EListaError(Indice);
    const int actual = GetIndice();
    if (Indice == actual)
        return;
    const auto v = Coleccion->Items.begin() + static_cast<std::ptrdiff_t>(Coleccion->Frente);
    if (Indice < actual)
        std::rotate(v + Indice, v + actual, v + actual + 1);
    else
        std::rotate(v + actual, v + actual + 1, v + Indice + 1);
    Cambiado(cmAnadido);
}

void TColeccionItem::Assign(const TColeccionItem& Origen) {
    SetNombre(Origen.GetNombre());
}

std::unique_ptr<TColeccionItem> TColeccionItem::Clone() const {
    auto copia = GetClase().Crear();
    if (!copia)
        throw EColeccionError("Error TColeccion.\r\nLa clase \"" + std::string(GetClase().Nombre) +
                              "\" no se puede copiar");
    copia->Assign(*this);
    return copia;
}

std::unique_ptr<TColeccionItem> TColeccionItem::Extraer() {
    if (!Coleccion)
        return nullptr; // a free item already has its owner
    SetColeccion(nullptr);
    return std::unique_ptr<TColeccionItem>(this);
}

void TColeccionItem::SetNombre(const std::string& N) {
    if (N == GetNombre())
        return;
    auto nuevo = N.empty() ? nullptr : std::make_unique<std::string>(N);
    if (!Coleccion) {
        Nombre = std::move(nuevo);
        return;
    }
    if (nuevo && Coleccion->Buscar(N))
        ErrorColeccion("El nombre de \"" + N + "\" ya existe");
    const auto anterior = std::exchange(Nombre, std::move(nuevo));
    Coleccion->Renombrado(this, anterior ? *anterior : std::string());
    Cambiado(cmModificado);
}

int TColeccionItem::GetIndice() const {
    if (!Coleccion)
        return -1;
    const auto& v = Coleccion->Items;
    for (std::size_t i = Coleccion->Frente; i < v.size(); ++i)
        if (v[i].get() == this)
            return static_cast<int>(i - Coleccion->Frente);
    return -1;
}

void TColeccionItem::Cambiado(std::uint8_t Tipo) {
    Cambio = Tipo;
    if (Coleccion)
        Coleccion->Cambiado(this);
}

// ---------------------------------------------------------------- collection

TColeccion::TColeccion(const TClase& Clase) : ClaseItem(Clase) {
    Primero();
}

TColeccion::~TColeccion() {
    OnCambio = nullptr;
    BorrarTodo();
}

void TColeccion::FueraDeLista(int Indice) {
    throw EListaError(Indice);
}

TColeccionItem* TColeccion::Nuevo() {
    auto item = ClaseItem.Crear();
    if (!item)
        throw EColeccionError("Error TColeccion.\r\nLa clase \"" + std::string(ClaseItem.Nombre) +
                              "\" no se puede crear");
    return Agregar(std::move(item));
}

TColeccionItem* TColeccion::Agregar(std::unique_ptr<TColeccionItem> Item) {
    Item->SetColeccion(this);
    return Item.release(); // now owned by Items
}

void TColeccion::Borrar(int Indice) {
    TColeccionItem* item = Item(Indice);
    Quitar(item);
    delete item;
}

void TColeccion::BorrarTodo() {
    BeginUpdate();
    while (Count() > 0)
        Borrar(0);
    EndUpdate();
    Cambiado(nullptr);
}

TColeccionItem* TColeccion::Buscar(const std::string& Nombre) const {
    if (!Nombre.empty()) {
        if (!PorNombre)
            return nullptr;
        return PorNombre->Buscar(MayusculasES(Nombre));
    }
    for (std::size_t i = Frente; i < Items.size(); ++i)
        if (!Items[i]->Nombre)
            return Items[i].get();
    return nullptr;
}

TColeccionItem* TColeccion::BuscarID(std::int32_t ID) const {
    for (std::size_t i = Frente; i < Items.size(); ++i)
        if (Items[i]->ID == ID)
            return Items[i].get();
    return nullptr;
}

TAvisoCambio& TAvisoCambio::operator=(Manejador F) {
    Funcion = F ? std::make_unique<Manejador>(std::move(F)) : nullptr;
    return *this;
}

void TColeccion::Cambiado(TColeccionItem* Item) {
    Modificada = true;
    if (Bloqueo == 0 && OnCambio)
        OnCambio(Item);
}

void TColeccion::Primero() {
    Modificada = false;
    Cursor = -1;
}

bool TColeccion::HaySiguiente() {
    if (Modificada)
        ErrorColeccion("La colección ha sido cambiada en medio de una operación de enumeración");
    ++Cursor;
    return Cursor < Count();
}

TColeccionItem* TColeccion::Siguiente() {
    if (Modificada)
        ErrorColeccion("La colección ha sido cambiada en medio de una operación de enumeración");
    if (Cursor < 0 || Cursor >= Count())
        ErrorColeccion("Se ha intentado acceder a un índice no válido");
    return Items[Frente + static_cast<std::size_t>(Cursor)].get();
}

void TColeccion::Assign(const TColeccion& Origen) {
    if (&Origen.ClaseItem != &ClaseItem)
        ErrorColeccion("Se ha intentado asignar una colección del tipo \"" +
                       std::string(Origen.ClaseItem.Nombre) +
                       "\" cuando\r\nse esperaba del tipo \"" + std::string(ClaseItem.Nombre) +
                       "\"");
    if (&Origen == this)
        return; // clearing first would lose every item
    BeginUpdate();
    try {
        BorrarTodo();
        for (int i = 0; i < Origen.Count(); ++i)
            Agregar(Origen.Item(i)->Clone());
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
    Cambiado(nullptr);
}

std::unique_ptr<TColeccion> TColeccion::Clone() const {
    auto copia = std::make_unique<TColeccion>(ClaseItem);
    copia->Assign(*this);
    return copia;
}

void TColeccion::Anadir(TColeccionItem* Item) {
    if (Frente > 0 && Frente == Items.size()) {
        Items.clear();
        Frente = 0;
    }
    Items.emplace_back(Item);
    if (Item->Nombre)
        Indexar(Item);
    Item->Coleccion = this;
    Item->ID = SiguienteID++;
    Item->Cambiado(cmAnadido);
}

void TColeccion::Quitar(TColeccionItem* Item) {
    if (Count() > 0 && Items.back().get() == Item) {
        Items.back().release();
        Items.pop_back();
    } else if (Count() > 0 && Items[Frente].get() == Item) {
        Items[Frente].release();
        ++Frente;
    } else {
        auto it = std::find_if(Items.begin() + static_cast<std::ptrdiff_t>(Frente), Items.end(),
                               [Item](const auto& p) { return p.get() == Item; });
        if (it == Items.end())
            return;
        it->release();
        Items.erase(it);
    }
    if (Frente == Items.size()) {
        Items.clear();
        Frente = 0;
    }
    if (Item->Nombre)
        Desindexar(Item, *Item->Nombre);
    Item->Cambiado(cmQuitado);
    Item->Coleccion = nullptr;
}

void TColeccion::Renombrado(TColeccionItem* Item, const std::string& Anterior) {
    if (!Anterior.empty())
        Desindexar(Item, Anterior);
    if (Item->Nombre)
        Indexar(Item);
}

void TColeccion::Indexar(TColeccionItem* Item) {
    if (!PorNombre)
        PorNombre = std::make_unique<TIndiceNombres>();
    PorNombre->Poner(MayusculasES(*Item->Nombre), Item);
}

void TColeccion::Desindexar(TColeccionItem* Item, const std::string& Nombre) {
    if (!PorNombre)
        return;
    PorNombre->Quitar(MayusculasES(Nombre), Item);
}

} // namespace ventix
