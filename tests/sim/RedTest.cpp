#include "Red.h"

#include <cmath>

using namespace ventix;
using namespace ventix::prueba;

TEST_F(Red, EmptyCircuitHasNoNodesAndPropagatesInOnePass) {
    auto& s = Simular();
    EXPECT_EQ(s.NumNodos, 0);
    EXPECT_EQ(s.NumBotones(), 0);
    EXPECT_TRUE(s.BotonesPanel().empty());
    EXPECT_EQ(s.Pasadas, 1);
    EXPECT_EQ(s.Fase, 1);
    s.Avanzar();
    EXPECT_EQ(s.Fase, 0);
    EXPECT_THROW(s.Nodo(0), EListaError);
}

TEST_F(Red, PortsFollowTheirRolesAndTubesLinkOutputsToWhatTheyFeed) {
    auto* v = Valvula(T::Valvula52, TActuador::Pilotado, false);
    auto* c = Nuevo(T::CilindroDoble);
    c->SetNombre("A");
    Unir(v, 3, c, 0); // only one output tubed
    Fuente(v, 1);
    TSimCircuito s(L);

    ASSERT_EQ(s.NumNodos, 3);
    TSimC& nv = *s.Nodo(0);
    EXPECT_EQ(nv.ClaseSim, clValvula);
    EXPECT_EQ(nv.NumEntradas, 3);
    EXPECT_EQ(nv.NumSalidas, 2);
    EXPECT_EQ(nv.NumPilotos, 2);
    EXPECT_EQ(nv.Piloto(0)->Conexion, P(v, 5));
    EXPECT_EQ(nv.Piloto(1)->Lista, lsPilotos);
    EXPECT_EQ(nv.Salida(0)->Destino, s.Nodo(1)->Entrada(0));
    EXPECT_EQ(nv.Salida(1)->Destino, nullptr); // an output with no tube
    EXPECT_EQ(s.Nodo(2)->Salida(0)->Destino, nv.Entrada(1));
    EXPECT_EQ(s.Nodo(1)->GetNombre(), "A");
    EXPECT_EQ(s.Nodo(1)->Entrada(0)->Nodo, s.Nodo(1));
    EXPECT_THROW(nv.Entradas.Item(3), EListaError);

    EXPECT_EQ(s.PorClase[clValvula].Count(), 1);
    EXPECT_EQ(s.ItemClase(clCilindro, 0), s.Nodo(1));
    EXPECT_EQ(s.ItemClase(clPresion, 0), s.Nodo(2));
    EXPECT_EQ(s.Fase, 0);
    EXPECT_FALSE(s.GetReloj().isActive());
    EXPECT_EQ(s.GetReloj().interval(), 500);
}

TEST_F(Red, VirtualPilotsAndPanelButtonsByActuator) {
    auto* mono = Valvula(T::Valvula32NC, TActuador::Rele, true);
    auto* bi = Valvula(T::Valvula52, TActuador::Rele, false);
    auto* seta = Valvula(T::Valvula22NC, TActuador::Seta);
    auto* cil = Nuevo(T::CilindroSimple);
    auto* rod = Rodillo(cil, 1.0);
    auto* esc = Rodillo(cil, 0.0, T::Valvula32NA, TActuador::Escamoteable);
    auto* pil = Valvula(T::Valvula32NC, TActuador::Pilotado);
    TSimCircuito s(L);

    EXPECT_EQ(s.NodoDe(mono)->NumPilotos, 1);
    EXPECT_EQ(s.NodoDe(bi)->NumPilotos, 2);
    EXPECT_EQ(s.NodoDe(seta)->NumPilotos, 1);
    EXPECT_EQ(s.NodoDe(rod)->NumPilotos, 1);
    EXPECT_EQ(s.NodoDe(esc)->NumPilotos, 1);
    EXPECT_EQ(s.NodoDe(pil)->NumPilotos, 1);
    EXPECT_EQ(s.NodoDe(rod)->Piloto(0)->Conexion, nullptr);
    EXPECT_NE(s.NodoDe(pil)->Piloto(0)->Conexion, nullptr);
    EXPECT_EQ(s.NodoDe(rod)->CilindroSim, s.NodoDe(cil));
    EXPECT_EQ(s.NodoDe(pil)->CilindroSim, nullptr);

    ASSERT_EQ(s.Manuales.Count(), 3);
    ASSERT_EQ(s.NumBotones(), 4);
    EXPECT_EQ(s.PilotoManual(1), s.NodoDe(bi)->Piloto(0));
    EXPECT_EQ(s.PilotoManual(2), s.NodoDe(bi)->Piloto(1));
    EXPECT_EQ(s.PilotoManual(3), s.NodoDe(seta)->Piloto(0));

    const auto botones = s.BotonesPanel();
    ASSERT_EQ(botones.size(), 4u);
    EXPECT_FALSE(botones[0].Mitad);
    EXPECT_EQ(botones[0].Imagen, 1);
    EXPECT_EQ(botones[0].Pista, "Válvula32NC");
    EXPECT_EQ(botones[0].Etiqueta, "(sin nombre)");
    EXPECT_TRUE(botones[1].Mitad && botones[2].Mitad);
    EXPECT_EQ(botones[1].Fila, 1);
    EXPECT_EQ(botones[2].Fila, 1);
    EXPECT_EQ(botones[2].Columna, 1);
    EXPECT_EQ(botones[2].Imagen, 2);
    EXPECT_EQ(botones[3].Imagen, 0);
    EXPECT_EQ(botones[3].Numero, 3);
}

TEST_F(Red, HandButtonOfAnActuatedMonostableValveStartsDown) {
    auto* v = Valvula(T::Valvula32NC, TActuador::Seta);
    v->SetParametro(1.0);
    v->SetNombre("Marcha");
    TSimCircuito s(L);
    EXPECT_TRUE(s.BotonAbajo(0));
    EXPECT_EQ(s.BotonesPanel()[0].Etiqueta, "Marcha");
    s.Restablecer();
    EXPECT_EQ(s.NodoDe(v)->Estado, 1.0);
}

TEST_F(Red, OutOfRangeSettingsAreClampedAndUnknownTypesAreInert) {
    auto* r = Nuevo(T::Regulador2);
    r->Valor = 7.0;
    auto* t = Nuevo(T::TemporizadorNA);
    t->Valor = std::nan("");
    auto* c = Nuevo(T::CilindroSimple);
    c->SetParametro(3.0);
    auto* raro = Nuevo(T::ActuadorMuelle);
    TSimCircuito s(L);
    EXPECT_EQ(s.NodoDe(r)->Valor, 1.0);
    EXPECT_EQ(s.NodoDe(t)->Valor, 0.0);
    EXPECT_EQ(s.NodoDe(c)->Estado, 1.0);
    EXPECT_EQ(s.NodoDe(raro)->ClaseSim, clInerte);
    int enClases = 0;
    for (const auto& lista : s.PorClase)
        enClases += lista.Count();
    EXPECT_EQ(enClases, 3);
    s.Restablecer();
    s.Avanzar();
}

TEST_F(Red, ATubeEndingOutsideTheComponentListLeavesNoDestination) {
    auto* f = Nuevo(T::Presion);
    auto* v = Valvula(T::Valvula32NC, TActuador::Pilotado);
    // The tube ends at the pilot point of a valve that is not top-level.
    auto* interior = Valvula(T::Valvula32NC, TActuador::Pilotado);
    Unir(f, 0, interior, 3);
    interior->SetPadre(v);
    TSimCircuito s(L);
    EXPECT_EQ(s.NumNodos, 2);
    EXPECT_EQ(s.NodoDe(f)->Salida(0)->Destino, nullptr);
    s.Restablecer();
}

TEST_F(Red, MissingPortsDoNothing) {
    auto* v = Valvula(T::Valvula52, TActuador::Seta);
    auto* c = Nuevo(T::CilindroDoble);
    auto* f = Fuente(v, 1);
    delete P(v, 4); // a broken file: the valve lost its second output
    delete P(v, 2);
    delete P(c, 1);
    auto* t = Nuevo(T::ConectorT);
    delete P(t, 2);
    delete P(t, 1);
    auto* g = Nuevo(T::TemporizadorNC);
    delete P(g, 2);
    delete P(g, 1);
    auto* a = Nuevo(T::ValvulaOr);
    delete P(a, 2);
    TSimCircuito s(L);
    EXPECT_EQ(s.NodoDe(v)->NumSalidas, 1);
    s.Restablecer();
    s.Pulsar(0);
    for (int i = 0; i < 3; ++i) {
        s.Propagar();
        s.Avanzar();
    }
    EXPECT_EQ(s.NodoDe(v)->Estado, 1.0);
    EXPECT_EQ(s.NodoDe(c)->Movimiento, mvParado); // the missing side reads 0: it holds
    (void)f;
}

TEST_F(Red, PropagationGivesUpAtItsBound) {
    // A chain listed against the flow needs one pass per link.
    std::vector<TAerComponente*> eslabones;
    for (int i = 0; i < 20; ++i)
        eslabones.push_back(Nuevo(T::Regulador2));
    for (int i = 19; i > 0; --i)
        Unir(eslabones[static_cast<std::size_t>(i)], 1, eslabones[static_cast<std::size_t>(i - 1)],
             0);
    Fuente(eslabones.back(), 0);
    for (auto* e : eslabones)
        e->Valor = 1.0;
    TSimCircuito s(L);
    s.Propagar();
    EXPECT_EQ(s.Pasadas, 21);
    EXPECT_GE(s.MaxPasadas, 4 * 41);
    s.MaxPasadas = 5;
    s.Restablecer();
    EXPECT_EQ(s.Pasadas, 5);
    EXPECT_EQ(s.Fase, 1);
}
