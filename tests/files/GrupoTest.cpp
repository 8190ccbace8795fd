#include "files/ArchivoAer.h"

#include "Circuito.h"

#include <algorithm>

// Copying part of a circuit as file lines and adding them to another one.

using namespace ventix;
using T = TTipoComponente;
namespace A = ArchivoAer;

namespace {

class Grupo : public ::testing::Test {
protected:
    void SetUp() override {
        CargarCatalogo(L);
        CargarCatalogo(Otro);
        // A cylinder worked by a roller valve, a named valve driving it, a
        // text linked to the cylinder, and a source outside the group.
        Cil = TAerComponente::Crear(L, T::CilindroDoble);
        Cil->SetNombre("A");
        Cil->X = 10;
        Valvula = TAerValvula::Crear(L, false, TActuador::Pilotado, T::Valvula52);
        Valvula->SetNombre("VA");
        Valvula->Y = -20;
        Rodillo = TAerValvula::Crear(L, true, TActuador::Rodillo, T::Valvula32NC);
        Rodillo->SetCilindro(Cil);
        Rodillo->X = 30;
        Etiqueta = TAerTexto::Crear(L);
        Etiqueta->Cadena = "Cilindro A";
        Etiqueta->X = -5;
        Etiqueta->SetAsociado(Cil);
        Fuente = TAerComponente::Crear(L, T::Presion);
        Fuente->SetNombre("P");
        Unir(Valvula->Conexion(1), Cil->Conexion(0), {{1.25, -7.5}});
        Unir(Fuente->Conexion(0), Valvula->Conexion(0), {{0, -10}});
    }
    std::vector<TAerComponente*> ElGrupo() { return {Cil, Valvula, Rodillo}; }
    TAerPaintBox L, Otro;
    TAerComponente *Cil, *Fuente;
    TAerValvula *Valvula, *Rodillo;
    TAerTexto* Etiqueta;
};

TEST_F(Grupo, CopiedIntoAnEmptyCircuitGivesTheSameElementsTubesAndTexts) {
    const auto Lineas = A::EscribirGrupo(L, ElGrupo());
    const auto Nuevos = A::LeerGrupo(Otro, Lineas);
    // The linked text comes with its cylinder; the source and its tube stay.
    ASSERT_EQ(Nuevos.size(), 4u);
    EXPECT_EQ(std::tuple(Otro.Componentes.Count(), Otro.Textos.Count(), Otro.Tubos.Count(),
                         Otro.Componentes.Buscar("P")),
              std::tuple(3, 1, 1, nullptr));
    EXPECT_EQ(A::Escribir(Otro), Lineas);
    auto* r = dynamic_cast<TAerValvula*>(Otro.Componentes.Item(2));
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->GetCilindro(), Otro.Componentes.Buscar("A"));
    // Nothing of the group names the source left out.
    for (const auto& l : Lineas)
        EXPECT_EQ(l.find("\"P\""), std::string::npos) << l;
}

TEST_F(Grupo, PastedBesideItselfRenamesClashesAndKeepsLinksInside) {
    A::LeerGrupo(L, A::EscribirGrupo(L, ElGrupo()));
    const auto Nuevos = A::LeerGrupo(L, A::EscribirGrupo(L, ElGrupo()));
    ASSERT_EQ(Nuevos.size(), 4u);
    // A_2 was taken by the first paste; an unnamed element stays unnamed.
    EXPECT_EQ(Nuevos[0]->GetNombre() + " " + Nuevos[1]->GetNombre() + " " + Nuevos[2]->GetNombre(),
              "A_3 VA_3 ");
    // The copy's roller works the copy's cylinder, its text names the copy,
    // and its tube joins the copies; the originals keep theirs.
    EXPECT_EQ(std::tuple(static_cast<TAerValvula*>(Nuevos[2])->GetCilindro(),
                         static_cast<TAerTexto*>(Nuevos[3])->GetAsociado()),
              std::tuple(Nuevos[0], Nuevos[0]));
    EXPECT_EQ(std::tuple(Rodillo->GetCilindro(), Etiqueta->GetAsociado()), std::tuple(Cil, Cil));
    ASSERT_EQ(L.Tubos.Count(), 4);
    auto* t = L.Tubos.ItemComo<TAerTubo>(3);
    EXPECT_EQ(std::tuple(t->Inicio->GetPadre(), t->Fin->GetPadre()),
              std::tuple(Nuevos[1], Nuevos[0]));
}

TEST_F(Grupo, LinksToElementsOutsideTheGroupAreDroppedNotLinkedToNamesakes) {
    // Lines typed by hand: a tube from the circuit's "P" and an interlock
    // with its "A" would reach elements the group does not hold.
    auto Lineas = A::EscribirGrupo(L, {Rodillo});
    Lineas.insert(Lineas.end() - 1,
                  {"<TUBOS>", "  <TUBO INI=\"P\" FIN=\"$$$2\">", "    <PARAM INI=\"0\" />",
                   "    <PARAM FIN=\"0\" />", "  </TUBO>", "</TUBOS>"});
    Lineas.insert(std::find(Lineas.begin(), Lineas.end(), "  </COMPONENTE>"),
                  "    <PARAM CILINDRO=\"A\" />");
    ASSERT_EQ(A::EscribirGrupo(L, {Rodillo}).size() + 7, Lineas.size());
    const int Tubos = L.Tubos.Count();
    const auto Nuevos = A::LeerGrupo(L, Lineas);
    ASSERT_EQ(Nuevos.size(), 1u);
    EXPECT_EQ(std::tuple(static_cast<TAerValvula*>(Nuevos[0])->GetCilindro(), L.Tubos.Count()),
              std::tuple(nullptr, Tubos));
}

TEST_F(Grupo, ABrokenGroupAddsNothing) {
    auto Lineas = A::EscribirGrupo(L, ElGrupo());
    // The tube's end point does not exist: read after the components.
    for (auto& l : Lineas)
        if (l == "    <PARAM FIN=\"0\" />")
            l = "    <PARAM FIN=\"99\" />";
    const auto Cuentas = [&] {
        return std::tuple(L.Componentes.Count(), L.Textos.Count(), L.Tubos.Count());
    };
    const auto Antes = Cuentas();
    EXPECT_THROW(A::LeerGrupo(L, Lineas), ELecturaAer);
    EXPECT_EQ(Cuentas(), Antes);
}

TEST_F(Grupo, SnapshotKeepsBendsExactlyWhereTheFileRoundsThem) {
    auto* t = L.Tubos.ItemComo<TAerTubo>(0);
    t->Vertice(0)->X = 1.0 / 3.0;
    A::Leer(Otro, A::Instantanea(L));
    EXPECT_EQ(Otro.Tubos.ItemComo<TAerTubo>(0)->Vertice(0)->X, 1.0 / 3.0);
    EXPECT_EQ(A::Instantanea(Otro), A::Instantanea(L));
    // The file keeps two decimals, as it always has.
    EXPECT_NE(A::Escribir(L), A::Instantanea(L));
}

} // namespace
