#include "Red.h"

using namespace ventix;
using namespace ventix::prueba;

namespace {

// Textbook circuits, built as a student draws them, on the test catalogue
// and on the shipped one (same port order, real symbols).
class Circuitos : public Red, public ::testing::WithParamInterface<const char*> {
protected:
    std::string Catalogo() const override { return GetParam(); }
    // A double-acting cylinder on the outputs of a 5/2 valve fed at its
    // pressure port; its exhausts stay open.
    TAerComponente* CilindroEn52(TAerComponente* V) {
        auto* c = Nuevo(T::CilindroDoble);
        Fuente(V, 1);
        Unir(V, 3, c, 0);
        Unir(V, 4, c, 1);
        return c;
    }
    // A push-button 3/2 NC valve fed from a source.
    TAerValvula* Pulsador() {
        auto* p = Valvula(T::Valvula32NC, TActuador::Seta);
        Fuente(p, 0);
        return p;
    }
    // The positions of a cylinder over N full steps.
    std::vector<double> Recorrido(TAerComponente* C, int N) {
        std::vector<double> r;
        for (int i = 0; i < N; ++i) {
            Pasos(1);
            r.push_back(Estado(C));
        }
        return r;
    }
};

} // namespace

TEST_P(Circuitos, DirectControlOfASingleActingCylinder) {
    auto* c = Carga(Pulsador(), 2);
    auto& s = Simular();
    EXPECT_EQ(P(c, 0)->Tubo->EstadoPresion, 2);
    Pasos(2);
    EXPECT_EQ(Estado(c), 0.0);
    s.Pulsar(0);
    EXPECT_EQ(P(c, 0)->Tubo->EstadoPresion, 1);
    const auto ida = Recorrido(c, 6);
    EXPECT_EQ(ida[0], 0.2);
    // Positions come out a hair below 0.8 and 1: a full stroke takes six steps.
    EXPECT_TRUE(ida[3] < 0.8 && ida[4] > 0.9999999 && ida[4] < 1.0) << ida[3] << " " << ida[4];
    EXPECT_EQ(std::tuple(ida[5], c->GetParametro()), std::tuple(1.0, 1.0));
    EXPECT_EQ(Nodo(c).GetEstadoAnterior(), ida[4]);
    Sim->Propagar();
    EXPECT_EQ(Nodo(c).GetMovimiento(), mvParado); // at the end of its stroke
    s.Soltar(0);
    EXPECT_EQ(P(c, 0)->Tubo->EstadoPresion, 2);
    const auto vuelta = Recorrido(c, 6);
    EXPECT_DOUBLE_EQ(vuelta[0], 0.8);
    EXPECT_EQ(vuelta[5], 0.0);
}

TEST_P(Circuitos, TwoHandControlThroughAnAndValveAndAPilotValve) {
    auto* v = Valvula(T::Valvula52, TActuador::Pilotado);
    auto* c = CilindroEn52(v);
    auto* y = Nuevo(T::ValvulaAnd);
    y->SetParametro(1.0); // left off centre by a run
    Unir(Pulsador(), 2, y, 0);
    Unir(Pulsador(), 2, y, 1);
    auto* senal = Unir(y, 2, v, 5);
    auto& s = Simular();
    EXPECT_EQ(Estado(y), 0.5); // the reset centres the shuttle
    EXPECT_EQ(std::tuple(Nivel(c, 0), Nivel(c, 1)), std::tuple(-1.0, 1.0));
    s.Pulsar(0);
    Pasos(3);
    EXPECT_EQ(std::tuple(Estado(y), Estado(c)), std::tuple(1.0, 0.0)); // pushed by the first input
    s.Soltar(0);
    s.Pulsar(1);
    Pasos(3);
    EXPECT_EQ(Estado(c), 0.0);
    s.Pulsar(0);
    EXPECT_EQ(senal->EstadoPresion, 2); // off centre the shuttle still vents
    Pasos(1);
    EXPECT_EQ(Estado(y), 0.5);
    Sim->Propagar(); // the pilot valve switches at the next advance
    EXPECT_EQ(std::tuple(senal->EstadoPresion, Estado(v)), std::tuple(std::uint8_t{1}, 0.0));
    Sim->Avanzar();
    EXPECT_EQ(Estado(v), 1.0);
    Pasos(6);
    EXPECT_EQ(Estado(c), 1.0);
    s.Soltar(1);
    Pasos(8);
    EXPECT_EQ(std::tuple(Estado(v), Estado(c)), std::tuple(0.0, 0.0));
}

TEST_P(Circuitos, OrControlFromTwoPlaces) {
    auto* v = Valvula(T::Valvula32NC, TActuador::Pilotado);
    Fuente(v, 0);
    auto* c = Carga(v, 2);
    auto* o = Nuevo(T::ValvulaOr);
    Unir(Pulsador(), 2, o, 0);
    Unir(Pulsador(), 2, o, 1);
    Unir(o, 2, v, 3);
    auto& s = Simular();
    for (int boton : {0, 1}) {
        s.Pulsar(boton);
        Pasos(7);
        // Off centre, the shuttle passes the air on.
        EXPECT_EQ(Estado(o), boton == 0 ? 1.0 : 0.0);
        EXPECT_EQ(Estado(c), 1.0) << boton;
        s.Soltar(boton);
        Pasos(7);
        EXPECT_EQ(Estado(c), 0.0) << boton;
    }
}

TEST_P(Circuitos, MemoryWithABistableValve) {
    auto* v = Valvula(T::Valvula52, TActuador::Pilotado, false);
    auto* c = CilindroEn52(v);
    Unir(Pulsador(), 2, v, 5); // start
    Unir(Pulsador(), 2, v, 6); // stop
    auto& s = Simular();
    s.Pulsar(0);
    Pasos(1);
    s.Soltar(0); // a pulse is remembered
    Pasos(6);
    EXPECT_EQ(Estado(c), 1.0);
    L.Modo = mdParado;
    s.Restablecer(); // and kept over a stop: its pilots are not yet set
    EXPECT_EQ(Estado(v), 1.0);
    s.Pulsar(0);
    s.Pulsar(1);
    Pasos(1);
    EXPECT_EQ(std::tuple(v->Marcado, Estado(v)), std::tuple(true, 1.0)); // both pilots up: marked
    s.Soltar(0);
    Pasos(1);
    s.Soltar(1);
    Pasos(6);
    EXPECT_EQ(std::tuple(v->Marcado, Estado(v), Estado(c)), std::tuple(false, 0.0, 0.0));
}

// Meter-in on one side, meter-out on the other: the slower side governs, and
// each regulator passes the air the other way freely.
TEST_P(Circuitos, SpeedControlWithOneWayRegulators) {
    auto* v = Valvula(T::Valvula52, TActuador::Seta);
    auto* c = Nuevo(T::CilindroDoble);
    auto* entrada = Nuevo(T::Regulador1);
    auto* salida = Nuevo(T::Regulador1);
    std::tie(entrada->Valor, salida->Valor) = std::pair(0.5, 0.25);
    Fuente(v, 1);
    Unir(v, 3, entrada, 0);
    Unir(entrada, 1, c, 0);
    Unir(v, 4, salida, 1);
    Unir(salida, 0, c, 1);
    auto& s = Simular();
    EXPECT_EQ(Nodo(c).GetMovimiento(), mvParado); // pushed back, already retracted
    s.Pulsar(0);
    EXPECT_EQ(std::tuple(Nivel(c, 0), Nivel(c, 1)), std::tuple(0.5, -0.25));
    const auto ida = Recorrido(c, 21);
    EXPECT_DOUBLE_EQ(ida[0], 0.05);
    EXPECT_DOUBLE_EQ(ida[9], 0.5);
    EXPECT_EQ(ida[20], 1.0);
    s.Soltar(0);
    EXPECT_EQ(std::tuple(Nivel(c, 0), Nivel(c, 1)), std::tuple(-1.0, 1.0));
    const auto vuelta = Recorrido(c, 6);
    EXPECT_DOUBLE_EQ(vuelta[0], 0.8);
    EXPECT_EQ(vuelta[5], 0.0);
}

INSTANTIATE_TEST_SUITE_P(Catalogos, Circuitos,
                         ::testing::Values(VENTIX_TEST_DATA "/catalogo/LIBRERÍA.txt",
                                           VENTIX_TEST_DATA "/../../data/Librerías/LIBRERÍA.txt"),
                         [](const auto& Info) {
                             return Info.index == 0 ? std::string("Pruebas")
                                                    : std::string("Enviado");
                         });
