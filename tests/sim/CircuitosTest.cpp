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
    auto* p = Pulsador();
    auto* c = Carga(p, 2);
    auto& s = Simular();
    EXPECT_EQ(P(c, 0)->Tubo->EstadoPresion, 2);
    Pasos(2);
    EXPECT_EQ(Estado(c), 0.0);
    s.Pulsar(0);
    EXPECT_EQ(P(c, 0)->Tubo->EstadoPresion, 1);
    Pasos(6);
    EXPECT_EQ(Estado(c), 1.0);
    s.Soltar(0);
    EXPECT_EQ(P(c, 0)->Tubo->EstadoPresion, 2);
    Pasos(1);
    EXPECT_DOUBLE_EQ(Estado(c), 0.8);
    Pasos(5);
    EXPECT_EQ(Estado(c), 0.0);
}

TEST_P(Circuitos, IndirectControlThroughAPilotValve) {
    auto* v = Valvula(T::Valvula52, TActuador::Pilotado);
    auto* c = CilindroEn52(v);
    auto* p = Pulsador();
    auto* senal = Unir(p, 2, v, 5);
    auto& s = Simular();
    EXPECT_EQ(Nivel(c, 0), -1.0);
    EXPECT_EQ(Nivel(c, 1), 1.0);
    s.Pulsar(0);
    EXPECT_EQ(senal->EstadoPresion, 1);
    EXPECT_EQ(Estado(v), 0.0); // the pilot valve switches at the next advance
    Pasos(1);
    EXPECT_EQ(Estado(v), 1.0);
    EXPECT_EQ(Estado(c), 0.0);
    Pasos(6);
    EXPECT_EQ(Estado(c), 1.0);
    s.Soltar(0);
    Pasos(7);
    EXPECT_EQ(Estado(v), 0.0);
    EXPECT_EQ(Estado(c), 0.0);
}

TEST_P(Circuitos, TwoHandControlThroughAnAndValve) {
    auto* v = Valvula(T::Valvula52, TActuador::Pilotado);
    auto* c = CilindroEn52(v);
    auto* y = Nuevo(T::ValvulaAnd);
    auto* izquierda = Pulsador();
    auto* derecha = Pulsador();
    Unir(izquierda, 2, y, 0);
    Unir(derecha, 2, y, 1);
    Unir(y, 2, v, 5);
    auto& s = Simular();
    s.Pulsar(0);
    Pasos(3);
    EXPECT_EQ(Estado(c), 0.0);
    s.Soltar(0);
    s.Pulsar(1);
    Pasos(3);
    EXPECT_EQ(Estado(c), 0.0);
    s.Pulsar(0);
    Pasos(1); // the shuttle centres
    Pasos(1); // the pilot valve switches
    EXPECT_EQ(Estado(v), 1.0);
    Pasos(6);
    EXPECT_EQ(Estado(c), 1.0);
    s.Soltar(1);
    Pasos(8);
    EXPECT_EQ(Estado(c), 0.0);
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
    EXPECT_EQ(Estado(v), 1.0);
    s.Pulsar(1);
    Pasos(1);
    s.Soltar(1);
    Pasos(6);
    EXPECT_EQ(Estado(c), 0.0);
    EXPECT_EQ(Estado(v), 0.0);
}

TEST_P(Circuitos, DelayedExtensionWithATimer) {
    auto* v = Valvula(T::Valvula52, TActuador::Pilotado);
    auto* c = CilindroEn52(v);
    auto* g = Nuevo(T::TemporizadorNC);
    g->Valor = 0.0;
    Unir(Pulsador(), 2, g, 0);
    Fuente(g, 1);
    Unir(g, 2, v, 5);
    auto& s = Simular();
    s.Pulsar(0);
    // The timer counts a third per step, then the valve switches.
    std::vector<double> valvula;
    for (int i = 0; i < 5; ++i) {
        Pasos(1);
        valvula.push_back(Estado(v));
    }
    EXPECT_EQ(valvula, (std::vector<double>{0, 0, 0, 1, 1}));
    EXPECT_DOUBLE_EQ(Estado(c), 0.2);
    s.Soltar(0); // a vented control resets the timer at once
    Pasos(2);
    EXPECT_EQ(Estado(g), 0.0);
    EXPECT_EQ(Estado(v), 0.0);
}

TEST_P(Circuitos, SpeedControlWithAOneWayRegulator) {
    auto* v = Valvula(T::Valvula52, TActuador::Seta);
    auto* c = Nuevo(T::CilindroDoble);
    auto* r = Nuevo(T::Regulador1);
    r->Valor = 0.5;
    Fuente(v, 1);
    Unir(v, 3, r, 0);
    Unir(r, 1, c, 0);
    Unir(v, 4, c, 1);
    auto& s = Simular();
    s.Pulsar(0);
    auto ida = Recorrido(c, 10);
    EXPECT_DOUBLE_EQ(ida[0], 0.1);
    EXPECT_DOUBLE_EQ(ida[4], 0.5);
    EXPECT_EQ(ida[9] == 1.0 || ida[9] > 0.99, true);
    Pasos(1);
    EXPECT_EQ(Estado(c), 1.0);
    s.Soltar(0); // back at full speed: the regulator passes vented air freely
    EXPECT_EQ(Nivel(c, 0), -1.0);
    auto vuelta = Recorrido(c, 6);
    EXPECT_DOUBLE_EQ(vuelta[0], 0.8);
    EXPECT_EQ(vuelta[5], 0.0);
}

TEST_P(Circuitos, CylinderOscillatingBetweenTwoRollerValves) {
    auto* v = Valvula(T::Valvula52, TActuador::Pilotado, false);
    auto* c = CilindroEn52(v);
    auto* a0 = Rodillo(c, 0.0);
    auto* a1 = Rodillo(c, 1.0);
    Fuente(a0, 0);
    Fuente(a1, 0);
    Unir(a0, 2, v, 5);
    Unir(a1, 2, v, 6);
    Simular();
    auto x = Recorrido(c, 30);
    // Out in six steps, back in six, and again, for as long as it runs.
    int idas = 0, vueltas = 0;
    for (std::size_t i = 1; i < x.size(); ++i) {
        if (x[i] == 1.0 && x[i - 1] < 1.0)
            ++idas;
        if (x[i] == 0.0 && x[i - 1] > 0.0)
            ++vueltas;
    }
    EXPECT_GE(idas, 2);
    EXPECT_GE(vueltas, 2);
    const double maximo = *std::max_element(x.begin(), x.end());
    const double minimo = *std::min_element(x.begin(), x.end());
    EXPECT_EQ(maximo, 1.0);
    EXPECT_EQ(minimo, 0.0);
    EXPECT_FALSE(v->Marcado);
}

INSTANTIATE_TEST_SUITE_P(Catalogos, Circuitos,
                         ::testing::Values(VENTIX_TEST_DATA "/catalogo/LIBRERÍA.txt",
                                           VENTIX_TEST_DATA "/../../data/Librerías/LIBRERÍA.txt"),
                         [](const auto& Info) {
                             return Info.index == 0 ? std::string("Pruebas")
                                                    : std::string("Enviado");
                         });
