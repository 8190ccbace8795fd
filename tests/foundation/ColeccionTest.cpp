#include "foundation/Coleccion.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(Coleccion, NamesAreUniqueWithoutRegardToSpanishCase) {
    TColeccion c(TRegistro::Clase());
    auto* a = Con(c, "válvula");
    Con(c, "Ñandú");
    EXPECT_EQ(c.Buscar("VÁLVULA"), a);
    EXPECT_EQ(Mensaje([&] { Con(c, "VÁLVULA"); }),
              "Error TColeccion.\r\nEl nombre de \"VÁLVULA\" ya existe");
    EXPECT_EQ(Mensaje([&] { Con(c, "ñandú"); }),
              "Error TColeccion.\r\nEl nombre de \"ñandú\" ya existe");
    EXPECT_EQ(c.Count(), 2); // the refused items were destroyed, not added
}

TEST(Coleccion, RenameToOtherCaseOfOwnNameClashesButIdenticalNameDoesNothing) {
    TColeccion c(TRegistro::Clase());
    auto* a = Con(c, "Cilindro");
    int avisos = 0;
    c.OnCambio = [&](TColeccionItem*) { ++avisos; };
    a->SetNombre("Cilindro");
    EXPECT_EQ(avisos, 0);
    EXPECT_THROW(a->SetNombre("CILINDRO"), EColeccionError);
    EXPECT_EQ(a->GetNombre(), "Cilindro");
    a->SetNombre("Otro");
    EXPECT_EQ(avisos, 1);
    EXPECT_EQ(a->GetCambio(), cmModificado);
}

TEST(Coleccion, EmptyNamesNeverClash) {
    TColeccion c(TRegistro::Clase());
    c.Nuevo();
    c.Nuevo();
    auto* b = Con(c, "B");
    b->SetNombre("");
    EXPECT_EQ(c.Count(), 3);
    EXPECT_EQ(c.Buscar(""), c.Item(0));
}

TEST(Coleccion, FreeItemsTakeAnyNameWithoutCheck) {
    TRegistro libre;
    libre.SetNombre("X");
    EXPECT_EQ(libre.GetNombre(), "X");
    EXPECT_EQ(libre.GetIndice(), -1);
}

TEST(Coleccion, AddClassIsCheckedWithDescendantsAccepted) {
    TColeccion c(TRegistro::Clase());
    EXPECT_NO_THROW(Crear<TRegistroHijo>(c));
    EXPECT_EQ(Mensaje([&] { Crear<TOtro>(c); }),
              "Error TColeccion.\r\nSe ha intentado añadir un elemento de la clase \"TOtro\".\r\n"
              "Se esperaba que fuese de la clase \"TRegistro\"");
    EXPECT_EQ(c.Count(), 1);
    EXPECT_TRUE(TRegistroHijo::Clase().EsDe(TColeccionItem::Clase()));
    EXPECT_FALSE(TRegistro::Clase().EsDe(TRegistroHijo::Clase()));
}

TEST(Coleccion, IdsAreProgramWideAndRenewedOnMove) {
    TColeccion a(TRegistro::Clase()), b(TRegistro::Clase());
    auto* x = a.Nuevo();
    auto* y = b.Nuevo();
    EXPECT_GT(y->GetID(), x->GetID());
    const auto antes = x->GetID();
    std::vector<std::pair<TColeccion*, int>> avisos;
    a.OnCambio = [&](TColeccionItem* i) { avisos.push_back({&a, i->GetCambio()}); };
    b.OnCambio = [&](TColeccionItem* i) { avisos.push_back({&b, i->GetCambio()}); };
    x->SetColeccion(&b);
    EXPECT_GT(x->GetID(), antes);
    EXPECT_EQ(b.BuscarID(x->GetID()), x);
    EXPECT_EQ(a.BuscarID(antes), nullptr);
    ASSERT_EQ(avisos.size(), 2u);
    EXPECT_EQ(avisos[0], std::make_pair(&a, 2));
    EXPECT_EQ(avisos[1], std::make_pair(&b, 1));
}

TEST(Coleccion, RefusedMoveLeavesItemWhereItWas) {
    TColeccion a(TRegistro::Clase()), b(TRegistro::Clase());
    auto* x = Con(a, "X");
    Con(b, "x");
    EXPECT_THROW(x->SetColeccion(&b), EColeccionError);
    EXPECT_EQ(x->GetColeccion(), &a);
    EXPECT_EQ(a.Count(), 1);
}

TEST(Coleccion, SetIndiceMovesAndChecksRange) {
    TColeccion c(TRegistro::Clase());
    auto* a = Con(c, "A");
    auto* b = Con(c, "B");
    auto* d = Con(c, "C");
    d->SetIndice(0);
    EXPECT_EQ(c.Item(0), d);
    EXPECT_EQ(c.Item(1), a);
    EXPECT_EQ(c.Item(2), b);
    d->SetIndice(2);
    EXPECT_EQ(c.Item(2), d);
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
        EXPECT_EQ(destruidos, 1);
        EXPECT_EQ(c.Count(), 2);
        c.Borrar(1);
        EXPECT_EQ(destruidos, 2);
        auto libre = c.Item(0)->Extraer();
        EXPECT_EQ(c.Count(), 0);
        EXPECT_EQ(libre->GetColeccion(), nullptr);
        EXPECT_EQ(libre->Extraer(), nullptr);
        c.Agregar(std::move(libre));
        Crear<TRegistro>(c, &destruidos);
    }
    EXPECT_EQ(destruidos, 4);
}

TEST(Coleccion, BorrarTodoNotifiesOnceAsAWhole) {
    TColeccion c(TRegistro::Clase());
    c.Nuevo();
    c.Nuevo();
    std::vector<TColeccionItem*> avisos;
    c.OnCambio = [&](TColeccionItem* i) { avisos.push_back(i); };
    c.BorrarTodo();
    EXPECT_EQ(c.Count(), 0);
    ASSERT_EQ(avisos.size(), 1u);
    EXPECT_EQ(avisos[0], nullptr);
}

TEST(Coleccion, LockSuppressesNotificationAndNeverGoesBelowZero) {
    TColeccion c(TRegistro::Clase());
    int avisos = 0;
    c.OnCambio = [&](TColeccionItem*) { ++avisos; };
    c.BeginUpdate();
    c.Nuevo();
    EXPECT_EQ(avisos, 0);
    c.EndUpdate();
    c.EndUpdate();
    EXPECT_EQ(c.GetBloqueo(), 0);
    c.Nuevo();
    EXPECT_EQ(avisos, 1);
}

TEST(Coleccion, IterationVisitsInOrder) {
    TColeccion c(TRegistro::Clase());
    Con(c, "A");
    Con(c, "B");
    std::string visto;
    c.Primero();
    while (c.HaySiguiente())
        visto += c.Siguiente()->GetNombre();
    EXPECT_EQ(visto, "AB");
}

TEST(Coleccion, IterationRefusesToGoOnAfterAChangeEvenWhenLocked) {
    TColeccion c(TRegistro::Clase());
    auto* a = Con(c, "A");
    Con(c, "B");
    const std::string enumeracion = "Error TColeccion.\r\nLa colección ha sido cambiada en medio "
                                    "de una operación de enumeración";
    c.BeginUpdate();
    c.Primero();
    ASSERT_TRUE(c.HaySiguiente());
    a->SetNombre("Z");
    EXPECT_EQ(Mensaje([&] { c.HaySiguiente(); }), enumeracion);
    EXPECT_EQ(Mensaje([&] { c.Siguiente(); }), enumeracion);
    c.EndUpdate();

    c.Primero();
    EXPECT_EQ(Mensaje([&] { c.Siguiente(); }),
              "Error TColeccion.\r\nSe ha intentado acceder a un índice no válido");
}

TEST(Coleccion, AssignCopiesInOrderWithNewIds) {
    TColeccion origen(TRegistro::Clase()), destino(TRegistro::Clase());
    auto* a = Con(origen, "A");
    Con(origen, "B");
    Crear<TRegistroHijo>(origen);
    Con(destino, "Viejo");
    destino.Assign(origen);
    ASSERT_EQ(destino.Count(), 3);
    EXPECT_EQ(destino.Item(0)->GetNombre(), "A");
    EXPECT_EQ(destino.Item(1)->GetNombre(), "B");
    EXPECT_EQ(&destino.Item(2)->GetClase(), &TRegistroHijo::Clase());
    EXPECT_NE(destino.Item(0)->GetID(), a->GetID());
    EXPECT_EQ(destino.Buscar("Viejo"), nullptr);

    auto copia = origen.Clone();
    EXPECT_EQ(copia->Count(), 3);
    EXPECT_EQ(&copia->GetClaseItem(), &TRegistro::Clase());
}

TEST(Coleccion, AssignOfAnotherClassOrItselfChangesNothing) {
    TColeccion a(TRegistro::Clase()), b(TOtro::Clase());
    Con(a, "A");
    b.Nuevo();
    EXPECT_EQ(
        Mensaje([&] { a.Assign(b); }),
        "Error TColeccion.\r\nSe ha intentado asignar una colección del tipo \"TOtro\" cuando\r\n"
        "se esperaba del tipo \"TRegistro\"");
    EXPECT_EQ(a.Count(), 1);
    a.Assign(a);
    ASSERT_EQ(a.Count(), 1);
    EXPECT_EQ(a.Item(0)->GetNombre(), "A");
}
