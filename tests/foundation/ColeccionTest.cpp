#include "foundation/Coleccion.h"

#include <gtest/gtest.h>

#include <unordered_map>
#include <vector>

using namespace ventix;

namespace {

// An item that records its own destruction, so ownership is observable.
class TRegistro : public TColeccionItem {
    VENTIX_CLASE(TRegistro, TColeccionItem)
    TRegistro() = default;
    explicit TRegistro(int* Destruidos) : Destruidos(Destruidos) {}
    ~TRegistro() override {
        if (Destruidos)
            ++*Destruidos;
    }
    int* Destruidos = nullptr;
};

class TOtro : public TColeccionItem {
    VENTIX_CLASE(TOtro, TColeccionItem)
};

class TRegistroHijo : public TRegistro {
    VENTIX_CLASE(TRegistroHijo, TRegistro)
};

// Adds an item that already carries its name, as the readers do.
TRegistro* Con(TColeccion& c, const std::string& nombre) {
    auto r = std::make_unique<TRegistro>();
    r->SetNombre(nombre);
    return c.Agregar(std::move(r));
}

std::string Mensaje(const std::function<void()>& f) {
    try {
        f();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "(no error)";
}

// The names in iteration order.
std::string Nombres(TColeccion& c) {
    std::string r;
    c.Primero();
    while (c.HaySiguiente())
        r += c.Siguiente()->GetNombre();
    return r;
}

const std::string kError = "Error TColeccion.\r\n";

} // namespace

TEST(Coleccion, NamesAreUniqueWithoutRegardToSpanishCaseExceptEmptyOnes) {
    TColeccion c(TRegistro::Clase());
    auto* a = Con(c, "válvula");
    Con(c, "Ñandú");
    EXPECT_EQ(c.Buscar("VÁLVULA"), a);
    EXPECT_EQ(Mensaje([&] { Con(c, "VÁLVULA"); }), kError + "El nombre de \"VÁLVULA\" ya existe");
    EXPECT_EQ(Mensaje([&] { Con(c, "ñandú"); }), kError + "El nombre de \"ñandú\" ya existe");
    EXPECT_EQ(c.Count(), 2); // the refused items were destroyed, not added

    // Another case of its own name clashes; the identical name does nothing.
    int avisos = 0;
    c.OnCambio = [&](TColeccionItem*) { ++avisos; };
    a->SetNombre("válvula");
    EXPECT_EQ(avisos, 0);
    EXPECT_THROW(a->SetNombre("VÁLVULA"), EColeccionError);
    EXPECT_EQ(a->GetNombre(), "válvula");
    a->SetNombre("Otro");
    EXPECT_EQ(std::tuple(avisos, a->GetCambio()), std::tuple(1, int{cmModificado}));

    c.Nuevo();
    c.Nuevo();
    c.OnCambio = nullptr;
    a->SetNombre("");
    EXPECT_EQ(std::tuple(avisos, c.Count()), std::tuple(3, 4));
    EXPECT_EQ(std::tuple(c.Buscar(""), c.Buscar("Otro")), std::tuple(a, nullptr));

    // A collection that never held a named item finds one that comes named.
    TColeccion d(TRegistro::Clase());
    d.Nuevo();
    EXPECT_EQ(d.Buscar("Y"), nullptr);
    auto suelto = std::make_unique<TRegistro>();
    suelto->SetNombre("Y");
    auto* y = d.Agregar(std::move(suelto));
    EXPECT_EQ(d.Buscar("y"), y);

    TRegistro libre; // a free item takes any name without check
    libre.SetNombre("X");
    EXPECT_EQ(std::tuple(libre.GetNombre(), libre.GetIndice()), std::tuple(std::string("X"), -1));
}

TEST(Coleccion, AddsAndMovesCheckClassAndNameBeforeLeaving) {
    TColeccion a(TRegistro::Clase()), b(TRegistro::Clase());
    EXPECT_NO_THROW(Crear<TRegistroHijo>(a));
    EXPECT_EQ(Mensaje([&] { Crear<TOtro>(a); }),
              kError + "Se ha intentado añadir un elemento de la clase \"TOtro\".\r\n"
                       "Se esperaba que fuese de la clase \"TRegistro\"");
    EXPECT_EQ(a.Count(), 1);
    EXPECT_TRUE(TRegistroHijo::Clase().EsDe(TColeccionItem::Clase()));
    EXPECT_FALSE(TRegistro::Clase().EsDe(TRegistroHijo::Clase()));

    auto* x = a.Item(0);
    auto* y = b.Nuevo();
    EXPECT_GT(y->GetID(), x->GetID()); // IDs are program-wide
    const auto antes = x->GetID();
    std::vector<std::pair<TColeccion*, int>> avisos;
    a.OnCambio = [&](TColeccionItem* i) { avisos.push_back({&a, i->GetCambio()}); };
    b.OnCambio = [&](TColeccionItem* i) { avisos.push_back({&b, i->GetCambio()}); };
    x->SetColeccion(&b);
    EXPECT_GT(x->GetID(), antes);
    EXPECT_EQ(std::tuple(b.BuscarID(x->GetID()), a.BuscarID(antes)), std::tuple(x, nullptr));
    EXPECT_EQ(avisos, (decltype(avisos){{&a, cmQuitado}, {&b, cmAnadido}}));

    x->SetNombre("X");
    Con(a, "x");
    EXPECT_THROW(x->SetColeccion(&a), EColeccionError);
    EXPECT_EQ(std::tuple(x->GetColeccion(), b.Count()), std::tuple(&b, 2));
}

TEST(Coleccion, SetIndiceMovesAndChecksRange) {
    TColeccion c(TRegistro::Clase());
    auto* a = Con(c, "A");
    Con(c, "B");
    auto* d = Con(c, "C");
    d->SetIndice(0);
    EXPECT_EQ(Nombres(c), "CAB");
    d->SetIndice(2);
    EXPECT_EQ(Nombres(c), "ABC");
    EXPECT_EQ(Mensaje([&] { a->SetIndice(3); }), "List index out of bounds (3)");
    EXPECT_THROW(c.Item(-1), EListaError);
}

TEST(Coleccion, OwnershipAndDestruction) {
    int destruidos = 0;
    {
        TColeccion c(TRegistro::Clase());
        Crear<TRegistro>(c, &destruidos);
        auto* b = Crear<TRegistro>(c, &destruidos);
        Crear<TRegistro>(c, &destruidos);
        delete b; // an owned item leaves its collection first
        EXPECT_EQ(std::tuple(destruidos, c.Count()), std::tuple(1, 2));
        c.Borrar(1);
        EXPECT_EQ(destruidos, 2);
        auto libre = c.Item(0)->Extraer();
        EXPECT_EQ(std::tuple(c.Count(), libre->Extraer()), std::tuple(0, nullptr));
        c.Agregar(std::move(libre));
        Crear<TRegistro>(c, &destruidos);
    }
    EXPECT_EQ(destruidos, 4);
}

TEST(Coleccion, LockSuppressesNotificationButNotTheIterationCheck) {
    TColeccion c(TRegistro::Clase());
    auto* a = Con(c, "A");
    Con(c, "B");
    std::vector<TColeccionItem*> avisos;
    c.OnCambio = [&](TColeccionItem* i) { avisos.push_back(i); };
    const std::string enumeracion =
        kError + "La colección ha sido cambiada en medio de una operación de enumeración";
    c.BeginUpdate();
    c.Primero();
    ASSERT_TRUE(c.HaySiguiente());
    a->SetNombre("Z");
    EXPECT_TRUE(avisos.empty());
    EXPECT_EQ(Mensaje([&] { c.HaySiguiente(); }), enumeracion);
    EXPECT_EQ(Mensaje([&] { c.Siguiente(); }), enumeracion);
    c.EndUpdate();
    c.EndUpdate();
    EXPECT_EQ(c.GetBloqueo(), 0); // never below zero
    c.Primero();
    EXPECT_EQ(Mensaje([&] { c.Siguiente(); }),
              kError + "Se ha intentado acceder a un índice no válido");
    auto* d = c.Nuevo();
    EXPECT_EQ(avisos, std::vector<TColeccionItem*>{d});
    avisos.clear();
    c.BorrarTodo(); // notifies once, as a whole
    EXPECT_EQ(std::tuple(c.Count(), avisos), std::tuple(0, std::vector<TColeccionItem*>{nullptr}));
}

TEST(Coleccion, AssignCopiesInOrderWithNewIdsButNotFromAnotherClassOrItself) {
    TColeccion origen(TRegistro::Clase()), destino(TRegistro::Clase());
    auto* a = Con(origen, "A");
    Con(origen, "B");
    Crear<TRegistroHijo>(origen);
    Con(destino, "Viejo");
    destino.Assign(origen);
    ASSERT_EQ(destino.Count(), 3);
    EXPECT_EQ(Nombres(destino), "AB");
    EXPECT_EQ(&destino.Item(2)->GetClase(), &TRegistroHijo::Clase());
    EXPECT_NE(destino.Item(0)->GetID(), a->GetID());
    auto copia = origen.Clone();
    EXPECT_EQ(std::tuple(copia->Count(), &copia->GetClaseItem()),
              std::tuple(3, &TRegistro::Clase()));

    TColeccion otra(TOtro::Clase());
    otra.Nuevo();
    EXPECT_EQ(Mensaje([&] { origen.Assign(otra); }),
              kError + "Se ha intentado asignar una colección del tipo \"TOtro\" cuando\r\n"
                       "se esperaba del tipo \"TRegistro\"");
    EXPECT_EQ(origen.Count(), 3);
    origen.Assign(origen); // clearing first would lose every item
    EXPECT_EQ(std::tuple(origen.Count(), origen.Count() ? origen.Item(0) : nullptr),
              std::tuple(3, a));
}

// The name index against a plain map, over a run of filings, refilings and
// removals many times the size of its first table: keys crowd into the same
// runs of slots, and a removal that left a gap would hide the keys after it.
TEST(Coleccion, NameIndexAgreesWithAMapThroughGrowthAndRemovals) {
    std::vector<std::unique_ptr<TRegistro>> items(400);
    for (auto& i : items)
        i = std::make_unique<TRegistro>();
    TIndiceNombres indice;
    std::unordered_map<std::string, TColeccionItem*> modelo;
    std::uint32_t azar = 12345;
    auto siguiente = [&azar] { return azar = azar * 1664525u + 1013904223u; };
    for (int paso = 0; paso < 20000; ++paso) {
        const std::string clave = "C" + std::to_string(siguiente() % 700);
        TColeccionItem* item = items[siguiente() % items.size()].get();
        switch (siguiente() % 3) {
        case 0:
            indice.Poner(clave, item);
            modelo[clave] = item;
            break;
        case 1: {
            // Only the item filed under the key takes it out.
            auto it = modelo.find(clave);
            TColeccionItem* quien = it != modelo.end() && siguiente() % 2 ? it->second : item;
            indice.Quitar(clave, quien);
            if (it != modelo.end() && it->second == quien)
                modelo.erase(it);
            break;
        }
        default:
            break;
        }
        ASSERT_EQ(indice.Cuenta(), modelo.size()) << "step " << paso;
        if (paso % 97 == 0)
            for (int k = 0; k < 700; ++k) {
                const std::string c = "C" + std::to_string(k);
                const auto it = modelo.find(c);
                ASSERT_EQ(indice.Buscar(c), it == modelo.end() ? nullptr : it->second)
                    << "step " << paso << " key " << c;
            }
    }
    EXPECT_EQ(TIndiceNombres().Buscar("A"), nullptr);
}
