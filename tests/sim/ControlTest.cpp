#include "Red.h"

#include <QEventLoop>
#include <QTimer>

using namespace ventix;
using namespace ventix::prueba;

namespace {

// A double-acting cylinder driven by a bistable relay 5/2 valve.
class Control : public Red {
protected:
    void SetUp() override {
        Red::SetUp();
        V = Valvula(T::Valvula52, TActuador::Rele, false);
        C = Nuevo(T::CilindroDoble);
        Fuente(V, 1);
        Unir(V, 3, C, 0);
        Unir(V, 4, C, 1);
    }
    TAerValvula* V = nullptr;
    TAerComponente* C = nullptr;
};

} // namespace

TEST_F(Control, SingleStepsAlternateAndAStopKeepsPositionsAndPressedButtons) {
    auto& s = Simular();
    s.Pulsar(0);
    EXPECT_EQ(s.Fase, 1); // the button propagated
    EXPECT_EQ(Nodo(C).GetMovimiento(), mvAvance);
    // Advance, propagate (nothing moves), advance.
    for (auto [Fase, Posicion] : {std::pair(0, 0.2), {1, 0.2}, {0, 0.4}}) {
        s.Paso();
        EXPECT_EQ(std::tuple(s.Fase, Estado(C)), std::tuple(Fase, Posicion));
    }

    L.Modo = mdParado;
    s.Restablecer();
    EXPECT_EQ(std::tuple(s.Fase, Estado(C), s.BotonAbajo(0)), std::tuple(1, 0.4, true));
    // The pilot of the pressed button is up; an open exhaust vents.
    EXPECT_EQ(std::tuple(Nodo(V).Piloto(0)->GetPresion(), Estado(V), P(C, 0)->Tubo->EstadoPresion,
                         Nivel(V, 0)),
              std::tuple(1.0, 1.0, 1, -1.0));
}

TEST_F(Control, TheTimerStepsWhileRunningAndStopsAfterAModeChange) {
    auto& s = Simular();
    int repintados = 0;
    QEventLoop bucle;
    s.OnRepintar = [&] {
        if (++repintados == 4) {
            L.Modo = mdPausa;
            QTimer::singleShot(50, &bucle, &QEventLoop::quit);
        }
    };
    s.Pulsar(0);
    EXPECT_EQ(repintados, 1); // a button repaints at once
    L.Modo = mdEjecutar;
    s.GetReloj().setInterval(5);
    s.Arrancar();
    s.Arrancar(); // Play while running changes nothing
    QTimer::singleShot(5000, &bucle, &QEventLoop::quit);
    bucle.exec();
    // Paused, a tick only stops the timer.
    EXPECT_EQ(std::tuple(repintados, Estado(C), s.GetReloj().isActive()),
              std::tuple(4, 0.6, false));
}

TEST_F(Control, RelayButtonsOfABistableValveReleaseEachOther) {
    auto* m = Valvula(T::Valvula32NC, TActuador::Rele, true);
    Fuente(m, 0);
    auto* d = Carga(m, 2);
    auto& s = Simular();
    ASSERT_EQ(s.NumBotones(), 3);
    EXPECT_THROW(s.Pulsar(3), EListaError);
    EXPECT_THROW(s.Soltar(-1), EListaError);
    EXPECT_THROW(s.BotonAbajo(3), EListaError);
    EXPECT_EQ(Nodo(V).Piloto(0)->GetPresion(), -1.0); // buttons up at the reset
    s.Pulsar(0);
    EXPECT_EQ(std::tuple(Estado(V), Nivel(C, 0)), std::tuple(1.0, 1.0)); // switched at once

    s.Pulsar(1);
    EXPECT_EQ(std::tuple(s.BotonAbajo(0), Nodo(V).Piloto(0)->GetPresion(), Estado(V)),
              std::tuple(false, -1.0, 0.0));

    // A monostable valve follows its button and leaves the other valve's alone.
    s.Conmutar(2);
    EXPECT_EQ(std::tuple(Estado(m), Nivel(d, 0), s.BotonAbajo(1)), std::tuple(1.0, 1.0, true));
    s.Conmutar(2);
    EXPECT_EQ(Estado(m), 0.0);

    s.Conmutar(1); // raising the down button vents its pilot; the valve stays
    EXPECT_EQ(std::tuple(s.BotonAbajo(1), Nodo(V).Piloto(1)->GetPresion(), Estado(V), V->Marcado),
              std::tuple(false, -1.0, 0.0, false));
}

// The network writes into the document only what changed since it last
// wrote; a recording shown in between must not leave the document behind.
TEST_F(Control, TheDocumentFollowsTheNetworkAfterButtonsStepsAndAShownInstant) {
    auto& s = Simular();
    auto alDia = [&](const char* Cuando) {
        SCOPED_TRACE(Cuando);
        // Sub-elements follow too.
        EXPECT_EQ(std::tuple(V->GetParametro(), V->Elemento(0)->GetParametro(), C->GetParametro()),
                  std::tuple(Estado(V), Estado(V), Estado(C)));
        const double n = Nivel(C, 0);
        EXPECT_EQ(P(C, 0)->Tubo->EstadoPresion, n > 0 ? 1 : n < 0 ? 2 : 3);
    };
    s.Pulsar(0);
    alDia("pulsado");
    Pasos(2);
    alDia("tras dos pasos");
    s.Registro->Mostrar(0); // the reset: valve at rest, rod in, its tube vented
    ASSERT_EQ(V->GetParametro(), 0.0);
    ASSERT_EQ(P(C, 0)->Tubo->EstadoPresion, 2);
    Pasos(1);
    alDia("tras mostrar el comienzo");
}
