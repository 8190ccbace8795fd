#include "ConCatalogo.h"

using namespace ventix;

namespace {

const std::string Raya(55, '-');

class Verificacion : public TConCatalogo {
protected:
    Verificacion() : TConCatalogo(VENTIX_TEST_DATA "/catalogo/LIBRERÍA.txt") {}
    // The report below its fixed header.
    std::vector<std::string> Informe() const {
        return {L.Errores.begin() + std::min<std::size_t>(8, L.Errores.size()), L.Errores.end()};
    }
};

} // namespace

TEST_F(Verificacion, EmptyCircuitHasNoErrors) {
    EXPECT_EQ(L.Verificar(), 0);
    EXPECT_EQ(L.Errores,
              (std::vector<std::string>{"Esta ventana se regenerará cuando se vuelva a verificar",
                                        "el circuito haciendo click en el botón apropiado.",
                                        "Se puede tener abierta durante la edición para",
                                        "poder ser consultada en cualquier momento.",
                                        "Los componentes con errores se marcan en verde sólo",
                                        "en el modo verificación.", Raya, "",
                                        "No se han encontrado errores."}));
}

TEST_F(Verificacion, OpenInputsAreFineButPilotsNeedTubesAndMarksAreRenewed) {
    auto* v = Valvula(TActuador::Pilotado);
    auto* c = Nuevo(T::CilindroSimple);
    Unir(v->Conexion(2), c->Conexion(0));
    auto* texto = TAerTexto::Crear(L);
    texto->Marcado = true;
    c->Conexion(0)->Marcado = true;
    L.Seleccionado = texto;
    // The valve's supply and exhaust are open ports; its pilot is not.
    EXPECT_EQ(L.Verificar(), 1);
    EXPECT_EQ(std::tuple(v->Marcado, c->Marcado), std::tuple(true, false));
    EXPECT_EQ(Informe(),
              (std::vector<std::string>{"El Componente del tipo \"Válvula32NC\" tiene 1 error:",
                                        "    1 conexión sin conectar.", "", Raya,
                                        "Hay un total de 1 componente con errores.",
                                        "Hay un total de 1 error.", Raya}));
    EXPECT_EQ(std::tuple(texto->Marcado, c->Conexion(0)->Marcado, L.Seleccionado),
              std::tuple(false, false, nullptr));
    const auto primero = L.Errores;
    EXPECT_EQ(L.Verificar(), 1);
    EXPECT_EQ(L.Errores, primero);

    Unir(Nuevo(T::Presion)->Conexion(0), v->Conexion(3));
    EXPECT_EQ(L.Verificar(), 0);
    EXPECT_FALSE(v->Marcado); // the mark of the last check is gone
    EXPECT_EQ(Informe(), std::vector<std::string>{"No se han encontrado errores."});
}

TEST_F(Verificacion, PluralsAndEveryKindOfComponent) {
    auto* v = Valvula(TActuador::Pilotado, T::Valvula52, false);
    v->SetNombre("V1");
    auto* r = Valvula(TActuador::Escamoteable, T::Valvula22NA);
    auto* t = Nuevo(T::ConectorT);
    auto* g = Nuevo(T::TemporizadorNA);
    // A cylinder with loose points is never missing a cylinder of its own.
    auto* c = Nuevo(T::CilindroDoble);
    // 5/2: two outputs and two pilots; 2/2 roller: its output and no cylinder;
    // T: three points; timer: three.
    EXPECT_EQ(L.Verificar(), 4 + 2 + 3 + 3);
    EXPECT_TRUE(v->Marcado && r->Marcado && t->Marcado && g->Marcado);
    EXPECT_FALSE(c->Marcado);
    EXPECT_EQ(
        Informe(),
        (std::vector<std::string>{
            "El Componente \"V1\" del tipo \"Válvula52\" tiene 4 errores:",
            "    4 conexiones sin conectar.", "",
            "El Componente del tipo \"Válvula22NA\" tiene 2 errores:",
            "    1 conexión sin conectar.", "    La válvula no está conectada a ningún cilindro.",
            "", "El Componente del tipo \"ConectorT\" tiene 3 errores:",
            "    3 conexiones sin conectar.", "",
            "El Componente del tipo \"TemporizadorNA\" tiene 3 errores:",
            "    3 conexiones sin conectar.", "", Raya,
            "Hay un total de 4 componentes con errores.", "Hay un total de 12 errores.", Raya}));
    r->SetCilindro(c); // the roller valve now only misses its tube
    EXPECT_EQ(L.Verificar(), 11);
    EXPECT_EQ(Informe()[3] + "|" + Informe()[5],
              "El Componente del tipo \"Válvula22NA\" tiene 1 error:|");
    Unir(t->Conexion(0), g->Conexion(0)); // two points left on each
    EXPECT_EQ(L.Verificar(), 9);
    EXPECT_EQ(Informe()[6] + "|" + Informe()[7] + "|" + Informe()[10],
              "El Componente del tipo \"ConectorT\" tiene 2 errores:|    2 conexiones sin "
              "conectar.|    2 conexiones sin conectar.");
}
