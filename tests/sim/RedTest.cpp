#include "Red.h"

#include <cmath>

using namespace ventix;
using namespace ventix::prueba;

// How outputs link to what they feed shows in every circuit that works; here,
// the roles of a valve's ports and an output left without a tube.
TEST_F(Red, PortsFollowTheirRolesAndAnUntubedOutputFeedsNothing) {
    auto* v = Valvula(T::Valvula52, TActuador::Pilotado, false);
    Unir(v, 3, Nuevo(T::CilindroDoble), 0); // only one output tubed
    TSimCircuito s(L);
    const TSimC& nv = *s.NodoDe(v);
    EXPECT_EQ(std::tuple(nv.NumEntradas, nv.NumSalidas, nv.NumPilotos), std::tuple(3, 2, 2));
    EXPECT_EQ(nv.Piloto(0)->Conexion, P(v, 5));
    EXPECT_TRUE(nv.Salida(0)->Destino && !nv.Salida(1)->Destino);
    EXPECT_EQ(std::tuple(s.GetReloj().isActive(), s.GetReloj().interval()), std::tuple(false, 500));
}

TEST_F(Red, VirtualPilotsAndPanelButtonsByActuator) {
    auto* mono = Valvula(T::Valvula32NC, TActuador::Rele, true);
    auto* bi = Valvula(T::Valvula52, TActuador::Rele, false);
    auto* seta = Valvula(T::Valvula22NC, TActuador::Seta);
    seta->SetParametro(1.0); // left actuated by a run
    auto* cil = Nuevo(T::CilindroSimple);
    auto* rod = Rodillo(cil, 1.0);
    auto* esc = Rodillo(cil, 0.0, T::Valvula32NA, TActuador::Escamoteable);
    auto* pil = Valvula(T::Valvula32NC, TActuador::Pilotado);
    TSimCircuito s(L);

    for (auto* v : {mono, seta, rod, esc, pil})
        EXPECT_EQ(s.NodoDe(v)->NumPilotos, 1);
    EXPECT_EQ(s.NodoDe(bi)->NumPilotos, 2);
    // Only a real pilot has a point; only a roller a cylinder.
    EXPECT_TRUE(!s.NodoDe(rod)->Piloto(0)->Conexion && s.NodoDe(pil)->Piloto(0)->Conexion);
    EXPECT_EQ(std::tuple(s.NodoDe(rod)->CilindroSim, s.NodoDe(pil)->CilindroSim),
              std::tuple(s.NodoDe(cil), nullptr));

    // One button per hand pilot, in valve order; their layout, hints and
    // labels are checked on the window (tests/editor).
    ASSERT_EQ(s.Manuales.Count(), 3);
    ASSERT_EQ(s.NumBotones(), 4);
    EXPECT_EQ(
        std::tuple(s.PilotoManual(1), s.PilotoManual(2), s.PilotoManual(3)),
        std::tuple(s.NodoDe(bi)->Piloto(0), s.NodoDe(bi)->Piloto(1), s.NodoDe(seta)->Piloto(0)));
    std::vector<int> imagenes;
    for (const auto& b : s.BotonesPanel())
        imagenes.push_back(b.Imagen);
    EXPECT_EQ(imagenes, (std::vector<int>{1, 1, 2, 0})); // relay, second half, push-button
    // The actuated monostable valve's button starts down and keeps it so.
    EXPECT_TRUE(!s.BotonAbajo(0) && s.BotonAbajo(3));
    s.Restablecer();
    EXPECT_EQ(s.NodoDe(seta)->GetEstado(), 1.0);
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
    EXPECT_EQ(std::tuple(s.NodoDe(r)->Valor, s.NodoDe(t)->Valor, s.NodoDe(c)->GetEstado()),
              std::tuple(1.0, 0.0, 1.0));
    EXPECT_EQ(s.NodoDe(raro)->ClaseSim, clInerte);
    int enClases = 0;
    for (const auto& lista : s.PorClase)
        enClases += lista.Count();
    EXPECT_EQ(enClases, 3);
    s.Restablecer();
    s.Avanzar();
}

// Broken circuits, as a damaged file may leave them, run without a fault.
TEST_F(Red, MissingPortsAndStrayTubesDoNothing) {
    auto* v = Valvula(T::Valvula52, TActuador::Seta);
    auto* c = Nuevo(T::CilindroDoble);
    Fuente(v, 1);
    delete P(v, 4); // the valve lost its second output
    delete P(v, 2);
    delete P(c, 1);
    auto* t = Nuevo(T::ConectorT);
    delete P(t, 2);
    delete P(t, 1);
    auto* g = Nuevo(T::TemporizadorNC);
    delete P(g, 2);
    delete P(g, 1);
    delete P(Nuevo(T::ValvulaOr), 2);
    // A tube ending at the pilot point of a valve that is not top-level.
    auto* f = Nuevo(T::Presion);
    auto* interior = Valvula(T::Valvula32NC, TActuador::Pilotado);
    Unir(f, 0, interior, 3);
    interior->SetPadre(Valvula(T::Valvula32NC, TActuador::Pilotado));
    TSimCircuito s(L);
    EXPECT_EQ(s.NodoDe(v)->NumSalidas, 1);
    EXPECT_EQ(std::tuple(s.NodoDe(interior), s.NodoDe(f)->Salida(0)->Destino),
              std::tuple(nullptr, nullptr));
    s.Restablecer();
    s.Pulsar(0);
    for (int i = 0; i < 3; ++i) {
        s.Propagar();
        s.Avanzar();
    }
    EXPECT_EQ(s.NodoDe(v)->GetEstado(), 1.0);
    EXPECT_EQ(s.NodoDe(c)->GetMovimiento(), mvParado); // the missing side reads 0: it holds
}

// Propagation repeats until nothing changes, or gives up at its bound.
TEST_F(Red, PropagationRunsUntilNothingChangesOrItsBound) {
    {
        auto& s = Simular(); // nothing to do: one pass
        EXPECT_EQ(std::tuple(s.NumNodos, s.NumBotones(), s.Pasadas), std::tuple(0, 0, 1));
        EXPECT_THROW(s.Nodo(0), EListaError);
    }
    // A chain listed against the flow needs one pass per link.
    std::vector<TAerComponente*> eslabones;
    for (int i = 0; i < 20; ++i) {
        eslabones.push_back(Nuevo(T::Regulador2));
        eslabones.back()->Valor = 1.0;
    }
    for (std::size_t i = 19; i > 0; --i)
        Unir(eslabones[i], 1, eslabones[i - 1], 0);
    Fuente(eslabones.back(), 0);
    TSimCircuito s(L);
    s.Propagar();
    EXPECT_EQ(s.Pasadas, 21);
    EXPECT_GE(s.MaxPasadas, 4 * 41);
    s.MaxPasadas = 5;
    s.Restablecer();
    EXPECT_EQ(std::tuple(s.Pasadas, s.Fase), std::tuple(5, 1));
}

// A pass that changes no port its rules have read already ends the
// propagation without a pass to confirm it; a port a valve feeds back into
// itself, after reading it, is such a change.
TEST_F(Red, APassRunsAgainWhenANodeFeedsItsOwnInput) {
    auto* f = Nuevo(T::Presion);
    auto* v = Valvula(T::Valvula52, TActuador::Seta);
    Unir(f, 0, v, 2);
    Unir(v, 4, v, 1); // at work, the valve passes its second input to its first output
    auto* c = Carga(v, 3);
    auto& s = Simular();
    EXPECT_EQ(std::tuple(Nivel(c, 0), s.Pasadas), std::tuple(-1.0, 2));
    s.Pulsar(0);
    EXPECT_EQ(std::tuple(Nivel(c, 0), P(c, 0)->Tubo->EstadoPresion, s.Pasadas),
              std::tuple(1.0, std::uint8_t{1}, 3));
    s.Soltar(0);
    EXPECT_EQ(std::tuple(Nivel(c, 0), s.Pasadas), std::tuple(-1.0, 2));
}
