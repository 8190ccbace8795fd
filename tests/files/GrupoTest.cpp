#include "files/ArchivoAer.h"

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"

#include "../cad/Aplicacion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

// Copying part of a circuit as file lines and adding them to another one.

using namespace ventix;
using T = TTipoComponente;
namespace A = ArchivoAer;

namespace {

class Grupo : public ::testing::Test {
protected:
    void SetUp() override {
        AsegurarAplicacion();
        Cargar(L);
        Cargar(Otro);
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
    static void Cargar(TAerPaintBox& Lienzo) {
        Lienzo.Libreria.Cargar(std::filesystem::u8path(VENTIX_TEST_DATA "/catalogo/LIBRERÍA.txt"));
    }
    static TAerTubo* Unir(TAerConexion* a, TAerConexion* b, std::vector<TCADCoordenada> Vs) {
        auto* t = TAerTubo::Crear(a->GetPadre()->GetLienzo());
        t->SetInicio(a);
        t->SetFin(b);
        for (auto v : Vs)
            t->AnadirVertice(v);
        return t;
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
    EXPECT_EQ(Otro.Componentes.Count(), 3);
    EXPECT_EQ(Otro.Textos.Count(), 1);
    ASSERT_EQ(Otro.Tubos.Count(), 1);
    EXPECT_EQ(Otro.Componentes.Buscar("P"), nullptr);
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
    EXPECT_EQ(Nuevos[0]->GetNombre(), "A_3") << "A_2 was taken by the first paste";
    EXPECT_EQ(Nuevos[1]->GetNombre(), "VA_3");
    EXPECT_EQ(Nuevos[2]->GetNombre(), "") << "an unnamed element stays unnamed";
    // The copy's roller works the copy's cylinder, its text names the copy,
    // and its tube joins the copies; the originals keep theirs.
    EXPECT_EQ(static_cast<TAerValvula*>(Nuevos[2])->GetCilindro(), Nuevos[0]);
    EXPECT_EQ(static_cast<TAerTexto*>(Nuevos[3])->GetAsociado(), Nuevos[0]);
    EXPECT_EQ(Rodillo->GetCilindro(), Cil);
    EXPECT_EQ(Etiqueta->GetAsociado(), Cil);
    auto* t = L.Tubos.ItemComo<TAerTubo>(L.Tubos.Count() - 1);
    EXPECT_EQ(t->Inicio->GetPadre(), Nuevos[1]);
    EXPECT_EQ(t->Fin->GetPadre(), Nuevos[0]);
    EXPECT_EQ(L.Tubos.Count(), 4);
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
    EXPECT_EQ(static_cast<TAerValvula*>(Nuevos[0])->GetCilindro(), nullptr);
    EXPECT_EQ(L.Tubos.Count(), Tubos);
}

TEST_F(Grupo, ABrokenGroupAddsNothing) {
    auto Lineas = A::EscribirGrupo(L, ElGrupo());
    // The tube's end point does not exist: read after the components.
    for (auto& l : Lineas)
        if (l == "    <PARAM FIN=\"0\" />")
            l = "    <PARAM FIN=\"99\" />";
    const int c = L.Componentes.Count(), t = L.Textos.Count(), u = L.Tubos.Count();
    EXPECT_THROW(A::LeerGrupo(L, Lineas), ELecturaAer);
    EXPECT_EQ(L.Componentes.Count(), c);
    EXPECT_EQ(L.Textos.Count(), t);
    EXPECT_EQ(L.Tubos.Count(), u);
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
