#include "Red.h"

using namespace ventix;
using namespace ventix::prueba;

using Paso = Red;

TEST_F(Paso, ATwoWayRegulatorScalesTheLevelAndTheSpeedFollowsIt) {
    struct Caso {
        double K;
        bool Alimentado; // else vented
        double Inicio, Nivel, TrasUnPaso;
    };
    const Caso casos[] = {
        {0.0, true, 0.6, 0.0, 0.6}, // closed: the rod holds
        {0.5, true, 0.0, 0.5, 0.1},
        {0.5, false, 1.0, -0.5, 0.9}, // vented air is throttled too
        {1.0, true, 0.0, 1.0, 0.2},
    };
    std::vector<TAerComponente*> cilindros;
    for (const auto& k : casos) {
        auto* r = Nuevo(T::Regulador2);
        r->Valor = k.K;
        k.Alimentado ? Fuente(r, 0) : Escape(r, 0);
        cilindros.push_back(Carga(r, 1));
        cilindros.back()->SetParametro(k.Inicio);
    }
    Simular();
    for (std::size_t i = 0; i < std::size(casos); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Nivel(cilindros[i], 0), casos[i].Nivel);
        const double n = casos[i].Nivel;
        EXPECT_EQ(P(cilindros[i], 0)->Tubo->EstadoPresion, n > 0 ? 1 : n < 0 ? 2 : 3);
    }
    Pasos(1);
    for (std::size_t i = 0; i < std::size(casos); ++i)
        EXPECT_DOUBLE_EQ(Estado(cilindros[i]), casos[i].TrasUnPaso) << i;
}

// The roller valve's position at the reset and after each of seven steps.
TEST_F(Paso, RollersWorkWhereTheRodPassesTheirPoint) {
    struct Caso {
        const char* Que;
        double Inicio;
        int Mando; // 1 supplied, -1 vented, 0 blocked
        double Punto;
        TActuador Actuador;
        TSentido Sentido;
        std::vector<double> Rodillo;
    };
    const auto Rod = TActuador::Rodillo, Esc = TActuador::Escamoteable;
    const auto Av = TSentido::Avance, Re = TSentido::Retroceso;
    // The end of the stroke is reached a hair below 1, within reach of the roller.
    const Caso casos[] = {
        {"al final de la carrera", 0.0, 1, 1.0, Rod, Av, {0, 0, 0, 0, 0, 1, 1, 1}},
        {"saltado al avanzar", 0.0, 1, 0.5, Rod, Av, {0, 0, 0, 1, 0, 0, 0, 0}},
        {"saltado al volver", 1.0, -1, 0.5, Rod, Av, {0, 0, 0, 1, 0, 0, 0, 0}},
        {"escamoteable, en contra", 0.7, -1, 0.5, Esc, Av, {0, 0, 0, 0, 0, 0, 0, 0}},
        {"escamoteable, a favor", 1.0, -1, 0.8, Esc, Re, {0, 1, 0, 0, 0, 0, 0, 0}},
        {"vástago quieto en el punto", 0.5, 0, 0.5, Rod, Av, {1, 1, 1, 1, 1, 1, 1, 1}},
        {"escamoteable, vástago quieto", 0.5, 0, 0.5, Esc, Av, {0, 0, 0, 0, 0, 0, 0, 0}},
    };
    std::vector<TAerComponente*> rodillos, cargas;
    for (const auto& k : casos) {
        auto* c = Nuevo(T::CilindroSimple);
        c->SetParametro(k.Inicio);
        if (k.Mando == 0) {
            auto* r = Nuevo(T::Regulador2);
            r->Valor = 0.0;
            Fuente(r, 0);
            Unir(r, 1, c, 0);
        } else {
            k.Mando > 0 ? Fuente(c, 0) : Escape(c, 0);
        }
        auto* v = Rodillo(c, k.Punto, T::Valvula32NC, k.Actuador);
        v->Sentido = k.Sentido;
        Fuente(v, 0);
        rodillos.push_back(v);
        cargas.push_back(Carga(v, 2));
    }
    Simular();
    std::vector<std::vector<double>> vistos(std::size(casos));
    for (int paso = 0; paso < 8; ++paso) {
        if (paso > 0)
            Pasos(1);
        for (std::size_t i = 0; i < rodillos.size(); ++i)
            vistos[i].push_back(Estado(rodillos[i]));
    }
    Sim->Propagar();
    for (std::size_t i = 0; i < std::size(casos); ++i) {
        SCOPED_TRACE(casos[i].Que);
        EXPECT_EQ(vistos[i], casos[i].Rodillo);
        EXPECT_EQ(Nivel(cargas[i], 0), casos[i].Rodillo.back() == 1 ? 1.0 : -1.0);
    }
}

TEST_F(Paso, TimersCountByTheLevelOfTheirControl) {
    // A timer whose control comes through a regulator set to K, from a
    // source or from an exhaust; its output feeds a cylinder.
    auto temporizador = [&](T Tipo, double K, bool Venteado = false) {
        auto* g = Nuevo(Tipo);
        auto* r = Nuevo(T::Regulador2);
        r->Valor = K;
        Venteado ? Escape(r, 0) : Fuente(r, 0);
        Unir(r, 1, g, 0);
        Fuente(g, 1);
        return std::pair{g, Carga(g, 2)};
    };
    auto [g, c] = temporizador(T::TemporizadorNC, 0.5); // set to half: a twelfth per step
    g->Valor = 0.5;
    auto [parado, d] = temporizador(T::TemporizadorNA, 0.0);         // blocked: holds the count
    auto [venteado, e] = temporizador(T::TemporizadorNA, 1.0, true); // vented: restarts it
    venteado->SetParametro(0.5);

    // The reset restarts every timer; normally closed, it vents until it
    // elapses, normally open it passes.
    Simular();
    EXPECT_EQ(std::tuple(Estado(venteado), Nivel(c, 0), Nivel(d, 0)), std::tuple(0.0, -1.0, 1.0));
    Nodo(parado).SetEstado(0.5);
    Nodo(venteado).SetEstado(0.5);
    Pasos(1);
    EXPECT_DOUBLE_EQ(Estado(g), 1.0 / 12.0);
    EXPECT_EQ(Estado(venteado), 0.0);
    Pasos(1);
    EXPECT_DOUBLE_EQ(Estado(g), 2.0 / 12.0);
    // Blocked, it holds its count and what it gave while counting.
    EXPECT_EQ(std::tuple(Estado(parado), Nivel(d, 0)), std::tuple(0.5, 1.0));
    Pasos(11); // twelve twelfths may fall a hair short of 1
    EXPECT_EQ(Estado(g), 1.0);
    Sim->Propagar();
    EXPECT_EQ(Nivel(c, 0), 1.0);
}
