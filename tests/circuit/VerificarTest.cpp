#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"

#include "../cad/Aplicacion.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace ventix;
using T = TTipoComponente;

namespace {

const std::vector<std::string> Cabecera = {
    "Esta ventana se regenerará cuando se vuelva a verificar",
    "el circuito haciendo click en el botón apropiado.",
    "Se puede tener abierta durante la edición para",
    "poder ser consultada en cualquier momento.",
    "Los componentes con errores se marcan en verde sólo",
    "en el modo verificación.",
    "-------------------------------------------------------",
    "",
};

std::vector<std::string> Con(std::vector<std::string> Resto) {
    std::vector<std::string> r = Cabecera;
    r.insert(r.end(), Resto.begin(), Resto.end());
    return r;
}

class Verificacion : public ::testing::Test {
protected:
    void SetUp() override {
        AsegurarAplicacion();
        L.Libreria.Cargar(std::filesystem::u8path(VENTIX_TEST_DATA "/catalogo/LIBRERÍA.txt"));
    }
    TAerTubo* Unir(TAerComponente* De, int I, TAerComponente* A, int J) {
        auto* t = TAerTubo::Crear(L);
        t->SetInicio(De->Conexion(I));
        t->SetFin(A->Conexion(J));
        t->AnadirVertice({0, 0});
        return t;
    }
    TAerPaintBox L;
};

} // namespace

TEST_F(Verificacion, EmptyCircuitHasNoErrors) {
    EXPECT_EQ(L.Verificar(), 0);
    EXPECT_EQ(L.Errores, Con({"No se han encontrado errores."}));
    EXPECT_EQ(Cabecera[6].size(), 55u);
}

TEST_F(Verificacion, OpenInputsAreFineButPilotsAndOutputsNeedTubes) {
    auto* v = TAerValvula::Crear(L, true, TActuador::Pilotado, T::Valvula32NC);
    auto* c = TAerComponente::Crear(L, T::CilindroSimple);
    Unir(v, 2, c, 0);
    // The valve's supply and exhaust are open ports; its pilot is not.
    EXPECT_EQ(L.Verificar(), 1);
    EXPECT_TRUE(v->Marcado);
    EXPECT_FALSE(c->Marcado);
    EXPECT_EQ(L.Errores,
              Con({"El Componente del tipo \"Válvula32NC\" tiene 1 error:",
                   "    1 conexión sin conectar.", "",
                   "-------------------------------------------------------",
                   "Hay un total de 1 componente con errores.", "Hay un total de 1 error.",
                   "-------------------------------------------------------"}));
}

TEST_F(Verificacion, RollerValveWithoutCylinder) {
    auto* f = TAerComponente::Crear(L, T::Presion);
    auto* v = TAerValvula::Crear(L, true, TActuador::Rodillo, T::Valvula32NC);
    auto* c = TAerComponente::Crear(L, T::CilindroSimple);
    v->SetNombre("S1");
    Unir(f, 0, v, 0);
    Unir(v, 2, c, 0);
    EXPECT_EQ(L.Verificar(), 1);
    EXPECT_TRUE(v->Marcado);
    EXPECT_EQ(L.Errores,
              Con({"El Componente \"S1\" del tipo \"Válvula32NC\" tiene 1 error:",
                   "    La válvula no está conectada a ningún cilindro.", "",
                   "-------------------------------------------------------",
                   "Hay un total de 1 componente con errores.", "Hay un total de 1 error.",
                   "-------------------------------------------------------"}));

    v->SetCilindro(c);
    EXPECT_EQ(L.Verificar(), 0);
    EXPECT_FALSE(v->Marcado); // the mark of the last check is gone
    EXPECT_EQ(L.Errores.back(), "No se han encontrado errores.");
}

TEST_F(Verificacion, PluralsAndEveryKindOfComponent) {
    auto* v = TAerValvula::Crear(L, false, TActuador::Pilotado, T::Valvula52);
    v->SetNombre("V1");
    auto* r = TAerValvula::Crear(L, true, TActuador::Escamoteable, T::Valvula22NA);
    auto* t = TAerComponente::Crear(L, T::ConectorT);
    auto* g = TAerComponente::Crear(L, T::TemporizadorNA);
    auto* c = TAerComponente::Crear(L, T::CilindroDoble); // open ports only
    // A cylinder with loose points is never missing a cylinder of its own.
    const int errores = L.Verificar();
    // 5/2: two outputs and two pilots; 2/2 roller: its output and no cylinder;
    // T: three points; timer: three.
    EXPECT_EQ(errores, 4 + 2 + 3 + 3);
    EXPECT_TRUE(v->Marcado && r->Marcado && t->Marcado && g->Marcado);
    EXPECT_FALSE(c->Marcado);
    EXPECT_EQ(
        L.Errores,
        Con({"El Componente \"V1\" del tipo \"Válvula52\" tiene 4 errores:",
             "    4 conexiones sin conectar.", "",
             "El Componente del tipo \"Válvula22NA\" tiene 2 errores:",
             "    1 conexión sin conectar.", "    La válvula no está conectada a ningún cilindro.",
             "", "El Componente del tipo \"ConectorT\" tiene 3 errores:",
             "    3 conexiones sin conectar.", "",
             "El Componente del tipo \"TemporizadorNA\" tiene 3 errores:",
             "    3 conexiones sin conectar.", "",
             "-------------------------------------------------------",
             "Hay un total de 4 componentes con errores.", "Hay un total de 12 errores.",
             "-------------------------------------------------------"}));
}

TEST_F(Verificacion, RunningTwiceGivesTheSameReportAndClearsOtherMarks) {
    auto* v = TAerValvula::Crear(L, true, TActuador::Seta, T::Valvula32NC);
    auto* texto = TAerTexto::Crear(L);
    texto->Marcado = true;
    v->Conexion(0)->Marcado = true;
    L.Seleccionado = texto;
    EXPECT_EQ(L.Verificar(), 1);
    const auto primero = L.Errores;
    EXPECT_EQ(L.Verificar(), 1);
    EXPECT_EQ(L.Errores, primero);
    EXPECT_FALSE(texto->Marcado);
    EXPECT_FALSE(v->Conexion(0)->Marcado);
    EXPECT_EQ(L.Seleccionado, nullptr);
}
