#include "Red.h"

using namespace ventix;
using namespace ventix::prueba;

namespace {

class Paso : public Red {
protected:
    // A single-acting cylinder fed through a two-way regulator.
    TAerComponente* CilindroRegulado(double K, TAerComponente* Origen = nullptr) {
        auto* r = Nuevo(T::Regulador2);
        r->Valor = K;
        auto* c = Nuevo(T::CilindroSimple);
        Unir(r, 1, c, 0);
        if (Origen)
            Unir(Origen, 0, r, 0);
        else
            Fuente(r, 0);
        Regulador = r;
        return c;
    }
    // Two push-button 3/2 valves fed from sources drive the inputs of a
    // logic valve, whose output feeds a single-acting cylinder.
    std::pair<TAerComponente*, TAerComponente*> LogicaConDosPulsadores(T Tipo) {
        auto* logica = Nuevo(Tipo);
        auto* a = Valvula(T::Valvula32NC, TActuador::Seta);
        auto* b = Valvula(T::Valvula32NC, TActuador::Seta);
        Fuente(a, 0);
        Fuente(b, 0);
        Unir(a, 2, logica, 0);
        Unir(b, 2, logica, 1);
        auto* c = Nuevo(T::CilindroSimple);
        Unir(logica, 2, c, 0);
        return {logica, c};
    }
    TAerComponente* Regulador = nullptr;
};

} // namespace

TEST_F(Paso, AFullStrokeTakesSixSteps) {
    auto* c = Nuevo(T::CilindroSimple);
    Fuente(c, 0);
    Simular();
    EXPECT_EQ(Nodo(c).Movimiento, mvAvance);
    std::vector<double> x;
    for (int i = 0; i < 6; ++i) {
        Pasos(1);
        x.push_back(Estado(c));
    }
    EXPECT_EQ(x[0], 0.2);
    EXPECT_LT(x[3], 0.8);
    EXPECT_LT(x[4], 1.0);
    EXPECT_GT(x[4], 0.9999999);
    EXPECT_EQ(x[5], 1.0);
    EXPECT_EQ(c->GetParametro(), 1.0);
    EXPECT_EQ(Nodo(c).EstadoAnterior, x[4]);
    Sim->Propagar();
    EXPECT_EQ(Nodo(c).Movimiento, mvParado); // at the end of its stroke
}

TEST_F(Paso, BlockedInputHoldsAndVentedInputReturns) {
    auto* c = CilindroRegulado(0.0);
    c->SetParametro(0.6);
    Simular();
    EXPECT_EQ(Nivel(c, 0), 0.0);
    EXPECT_EQ(P(c, 0)->Tubo->EstadoPresion, 3);
    Pasos(3);
    EXPECT_EQ(Estado(c), 0.6);
    EXPECT_EQ(Nodo(c).Movimiento, mvParado);

    auto* d = Nuevo(T::CilindroSimple);
    d->SetParametro(1.0);
    Escape(d, 0);
    Simular();
    EXPECT_EQ(P(d, 0)->Tubo->EstadoPresion, 2);
    Pasos(1);
    EXPECT_DOUBLE_EQ(Estado(d), 0.8);
    Pasos(5);
    EXPECT_EQ(Estado(d), 0.0);
}

TEST_F(Paso, SpeedIsAFifthOfTheLevelPerStep) {
    auto* c = CilindroRegulado(0.5);
    Simular();
    EXPECT_EQ(Nivel(c, 0), 0.5);
    EXPECT_EQ(P(c, 0)->Tubo->EstadoPresion, 1);
    Pasos(1);
    EXPECT_DOUBLE_EQ(Estado(c), 0.1);
    Pasos(1);
    EXPECT_DOUBLE_EQ(Estado(c), 0.2);

    // A vented supply reduced to half returns at half speed too.
    auto* e = Nuevo(T::Escape);
    auto* d = CilindroRegulado(0.5, e);
    d->SetParametro(1.0);
    Simular();
    EXPECT_EQ(Nivel(d, 0), -0.5);
    Pasos(1);
    EXPECT_DOUBLE_EQ(Estado(d), 0.9);
}

TEST_F(Paso, RegulatorFullyOpenPassesTheLevelUnchanged) {
    auto* c = CilindroRegulado(1.0);
    Simular();
    EXPECT_EQ(Nivel(c, 0), 1.0);
    Pasos(1);
    EXPECT_EQ(Estado(c), 0.2);
}

TEST_F(Paso, OneWayRegulatorThrottlesOnlyFromItsFirstPoint) {
    auto* haciaDelante = Nuevo(T::Regulador1);
    haciaDelante->Valor = 0.25;
    auto* c1 = Nuevo(T::CilindroSimple);
    Fuente(haciaDelante, 0);
    Unir(haciaDelante, 1, c1, 0);

    auto* alReves = Nuevo(T::Regulador1);
    alReves->Valor = 0.25;
    auto* c2 = Nuevo(T::CilindroSimple);
    Fuente(alReves, 1);
    Unir(alReves, 0, c2, 0);

    auto* venteo = Nuevo(T::Regulador1);
    venteo->Valor = 0.25;
    auto* c3 = Nuevo(T::CilindroSimple);
    c3->SetParametro(1.0);
    Escape(venteo, 1);
    Unir(venteo, 0, c3, 0);
    Simular();
    EXPECT_EQ(Nivel(c1, 0), 0.25);
    EXPECT_EQ(Nivel(c2, 0), 1.0);
    EXPECT_EQ(Nivel(c3, 0), -0.25);
}

TEST_F(Paso, DoubleActingCylinderIsGovernedByTheSlowerSide) {
    auto* v = Valvula(T::Valvula52, TActuador::Seta);
    auto* c = Nuevo(T::CilindroDoble);
    Fuente(v, 1);
    auto* r = Nuevo(T::Regulador1); // meter-out on the exhaust side
    r->Valor = 0.5;
    Unir(v, 3, c, 0);
    Unir(v, 4, r, 1);
    Unir(r, 0, c, 1);
    auto& s = Simular();
    EXPECT_EQ(Nodo(c).Movimiento, mvParado); // pushed back, already retracted
    s.Pulsar(0);
    EXPECT_EQ(Nivel(c, 0), 1.0);
    EXPECT_EQ(Nivel(c, 1), -0.5);
    Pasos(1);
    EXPECT_DOUBLE_EQ(Estado(c), 0.1);
    s.Soltar(0);
    Pasos(1);
    EXPECT_DOUBLE_EQ(Estado(c), 0.0); // returning, the throttle passes freely
}

TEST_F(Paso, BistableValveWithBothPilotsPressurisedIsMarkedAndHolds) {
    auto* v = Valvula(T::Valvula52, TActuador::Pilotado, false);
    v->SetParametro(1.0);
    auto* t = Derivar(Nuevo(T::Presion), 0);
    Unir(t, 1, v, 5);
    Unir(t, 2, v, 6);
    auto* c = Nuevo(T::CilindroDoble);
    Unir(v, 3, c, 0);
    Unir(v, 4, c, 1);
    Fuente(v, 1);
    Simular();
    EXPECT_EQ(Estado(v), 1.0); // pilots not yet set at the reset
    EXPECT_FALSE(v->Marcado);
    Pasos(1);
    EXPECT_TRUE(v->Marcado);
    EXPECT_EQ(Estado(v), 1.0);
    EXPECT_EQ(v->GetParametro(), 1.0);
}

TEST_F(Paso, BistableValveRemembersItsLastPosition) {
    auto* v = Valvula(T::Valvula32NC, TActuador::Pilotado, false);
    auto* s1 = Valvula(T::Valvula32NC, TActuador::Seta);
    auto* s2 = Valvula(T::Valvula32NC, TActuador::Seta);
    Fuente(s1, 0);
    Fuente(s2, 0);
    Unir(s1, 2, v, 3);
    Unir(s2, 2, v, 4);
    Fuente(v, 0);
    auto* c = Nuevo(T::CilindroSimple);
    Unir(v, 2, c, 0);
    auto& s = Simular();
    s.Pulsar(0);
    Pasos(1);
    EXPECT_EQ(Estado(v), 1.0);
    s.Soltar(0);
    Pasos(2);
    EXPECT_EQ(Estado(v), 1.0);
    s.Pulsar(1);
    Pasos(1);
    EXPECT_EQ(Estado(v), 0.0);
}

TEST_F(Paso, RollerAtTheEndOfTheStrokeWorksNearTheEnd) {
    auto* c = Nuevo(T::CilindroSimple);
    Fuente(c, 0);
    auto* r = Rodillo(c, 1.0);
    Fuente(r, 0);
    auto* d = Nuevo(T::CilindroSimple);
    Unir(r, 2, d, 0);
    Simular();
    for (int i = 0; i < 4; ++i) {
        Pasos(1);
        EXPECT_EQ(Estado(r), 0.0) << i;
    }
    Pasos(1); // a hair below the end, within reach of the roller
    EXPECT_LT(Estado(c), 1.0);
    EXPECT_EQ(Estado(r), 1.0);
    Pasos(1);
    EXPECT_EQ(Estado(c), 1.0);
    EXPECT_EQ(Estado(r), 1.0);
    EXPECT_EQ(Nodo(r).Piloto(0)->Presion, 1.0);
    Pasos(1); // the rod stands at the roller
    EXPECT_EQ(Estado(r), 1.0);
    EXPECT_EQ(Nivel(d, 0), 1.0);
}

TEST_F(Paso, AFastRodThatJumpsOverTheRollerStillWorksIt) {
    auto* c = Nuevo(T::CilindroSimple);
    Fuente(c, 0);
    auto* r = Rodillo(c, 0.5);
    Fuente(r, 0);
    Carga(r, 2);
    Simular();
    std::vector<double> rodillo;
    for (int i = 0; i < 5; ++i) {
        Pasos(1);
        rodillo.push_back(Estado(r));
    }
    // Positions 0.2, 0.4, 0.6, 0.8, 1: only the step from 0.4 to 0.6 passes P.
    EXPECT_EQ(rodillo, (std::vector<double>{0, 0, 1, 0, 0}));

    // Returning it is passed over again.
    auto* e = Nuevo(T::CilindroSimple);
    e->SetParametro(1.0);
    Escape(e, 0);
    auto* q = Rodillo(e, 0.5);
    Fuente(q, 0);
    Carga(q, 2);
    Simular();
    rodillo.clear();
    for (int i = 0; i < 5; ++i) {
        Pasos(1);
        rodillo.push_back(Estado(q));
    }
    EXPECT_EQ(rodillo, (std::vector<double>{0, 0, 1, 0, 0}));
}

TEST_F(Paso, RetractableRollerActsOnlyInItsDirection) {
    auto* c = Nuevo(T::CilindroSimple);
    c->SetParametro(0.5);
    auto* e = Escape(c, 0);
    auto* r = Rodillo(c, 0.5, T::Valvula32NC, TActuador::Escamoteable);
    r->Sentido = TSentido::Avance;
    Fuente(r, 0);
    Carga(r, 2);
    Simular();
    EXPECT_EQ(Nodo(r).Piloto(0)->Presion, -1.0); // reset: never actuated
    for (int i = 0; i < 4; ++i) {
        Pasos(1);
        EXPECT_EQ(Estado(r), 0.0) << i;
    }
    EXPECT_EQ(Estado(c), 0.0);

    // Standing still right at the lock point.
    auto* d = Nuevo(T::CilindroSimple);
    d->SetParametro(0.5);
    auto* g = Nuevo(T::Regulador2);
    g->Valor = 0.0;
    Fuente(g, 0);
    Unir(g, 1, d, 0);
    auto* q = Rodillo(d, 0.5, T::Valvula32NC, TActuador::Escamoteable);
    q->Sentido = TSentido::Avance;
    Fuente(q, 0);
    Carga(q, 2);
    auto* plain = Rodillo(d, 0.5);
    Fuente(plain, 0);
    Carga(plain, 2);
    Simular();
    Pasos(2);
    EXPECT_EQ(Nodo(d).Movimiento, mvParado);
    EXPECT_EQ(Estado(q), 0.0);
    EXPECT_EQ(Estado(plain), 1.0); // a plain roller is worked by a rod at rest
    (void)e;
}

TEST_F(Paso, RetractableRollerSetToReturnActsWhileReturning) {
    auto* c = Nuevo(T::CilindroSimple);
    c->SetParametro(1.0);
    Escape(c, 0);
    auto* r = Rodillo(c, 0.8, T::Valvula32NC, TActuador::Escamoteable);
    r->Sentido = TSentido::Retroceso;
    Fuente(r, 0);
    Carga(r, 2);
    Simular();
    Pasos(1);
    EXPECT_EQ(Estado(r), 1.0);
    Pasos(1);
    EXPECT_EQ(Estado(r), 0.0);
}

TEST_F(Paso, TimerCountsAtAThirdOfLevelTimesItsComplement) {
    auto* g = Nuevo(T::TemporizadorNC);
    g->Valor = 0.5;
    auto* r = Nuevo(T::Regulador2);
    r->Valor = 0.5;
    Fuente(r, 0);
    Unir(r, 1, g, 0);
    Fuente(g, 1);
    auto* c = Nuevo(T::CilindroSimple);
    Unir(g, 2, c, 0);
    Simular();
    EXPECT_EQ(Nivel(c, 0), -1.0); // a normally closed timer vents until it elapses
    Pasos(1);
    EXPECT_DOUBLE_EQ(Estado(g), 1.0 / 12.0);
    Pasos(1);
    EXPECT_DOUBLE_EQ(Estado(g), 2.0 / 12.0);
    Pasos(11); // twelve twelfths may fall a hair short of 1
    EXPECT_EQ(Estado(g), 1.0);
    Sim->Propagar();
    EXPECT_EQ(Nivel(c, 0), 1.0);
}

TEST_F(Paso, TimerHoldsOnABlockedControlAndResetsOnAVentedOne) {
    auto* g = Nuevo(T::TemporizadorNA);
    auto* r = Nuevo(T::Regulador2);
    r->Valor = 0.0;
    Fuente(r, 0);
    Unir(r, 1, g, 0);
    Fuente(g, 1);
    auto* c = Nuevo(T::CilindroSimple);
    Unir(g, 2, c, 0);
    Simular();
    EXPECT_EQ(Nivel(c, 0), 1.0); // normally open: passes until it elapses
    Nodo(g).SetEstado(0.5);
    Pasos(2);
    EXPECT_EQ(Estado(g), 0.5);
    EXPECT_EQ(Nivel(c, 0), 1.0); // holds what it gave while counting

    auto* h = Nuevo(T::TemporizadorNA);
    h->SetParametro(0.5);
    Escape(h, 0);
    Fuente(h, 1);
    Carga(h, 2);
    Simular();
    EXPECT_EQ(Estado(h), 0.0); // the reset restarts every timer
    Nodo(h).SetEstado(0.5);
    Pasos(1);
    EXPECT_EQ(Estado(h), 0.0);
}

TEST_F(Paso, AndValveNeedsBothInputsAndItsShuttleFollowsTheOddOne) {
    auto [y, c] = LogicaConDosPulsadores(T::ValvulaAnd);
    auto& s = Simular();
    EXPECT_EQ(Nivel(c, 0), -1.0);
    s.Pulsar(0);
    EXPECT_EQ(Nivel(c, 0), -1.0);
    Pasos(1);
    EXPECT_EQ(Estado(y), 1.0); // pushed by the first input
    s.Pulsar(1);
    EXPECT_EQ(Nivel(c, 0), -1.0); // off centre it still vents
    Pasos(1);
    EXPECT_EQ(Estado(y), 0.5);
    Sim->Propagar();
    EXPECT_EQ(Nivel(c, 0), 1.0);
}

TEST_F(Paso, OrValvePassesEitherInputWhereverItsShuttleStands) {
    auto [o, c] = LogicaConDosPulsadores(T::ValvulaOr);
    auto& s = Simular();
    EXPECT_EQ(Nivel(c, 0), -1.0);
    s.Pulsar(1);
    EXPECT_EQ(Nivel(c, 0), 1.0);
    Pasos(1);
    EXPECT_EQ(Estado(o), 0.0);
    Sim->Propagar();
    EXPECT_EQ(Nivel(c, 0), 1.0);
}

TEST_F(Paso, ResetVentsOpenPortsAndKeepsCylinderPositions) {
    auto* v = Valvula(T::Valvula32NA, TActuador::Seta);
    auto* c = Nuevo(T::CilindroSimple);
    Unir(v, 2, c, 0); // no supply: the pressure port is open, like the exhaust
    c->SetParametro(0.4);
    auto& s = Simular();
    EXPECT_EQ(Nivel(v, 0), -1.0);
    EXPECT_EQ(Nivel(v, 1), -1.0);
    EXPECT_EQ(Nivel(c, 0), -1.0);
    Pasos(1);
    EXPECT_DOUBLE_EQ(Estado(c), 0.2);
    s.Restablecer();
    EXPECT_DOUBLE_EQ(Estado(c), 0.2);
    EXPECT_EQ(s.Fase, 1);
}
