#pragma once

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"
#include "sim/SimCircuito.h"

#include "../cad/Aplicacion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace ventix::prueba {

using T = TTipoComponente;

// A canvas loaded with a catalogue whose types have their connection points
// in the shipped order, and terse ways to build circuits on it with the
// editor's own operations: components, valves, tubes from an output point to
// an input point, then the network.
class Red : public ::testing::Test {
protected:
    void SetUp() override {
        AsegurarAplicacion();
        L.Libreria.Cargar(std::filesystem::u8path(Catalogo()));
    }
    virtual std::string Catalogo() const { return VENTIX_TEST_DATA "/catalogo/LIBRERÍA.txt"; }

    TAerComponente* Nuevo(T Tipo) { return TAerComponente::Crear(L, Tipo); }
    TAerValvula* Valvula(T Tipo, TActuador A, bool Monoestable = true) {
        return TAerValvula::Crear(L, Monoestable, A, Tipo);
    }
    // A cylinder with a roller valve locked to it at position P.
    TAerValvula* Rodillo(TAerComponente* Cilindro, double P, T Tipo = T::Valvula32NC,
                         TActuador A = TActuador::Rodillo) {
        auto* v = Valvula(Tipo, A);
        v->SetCilindro(Cilindro);
        v->Valor = P;
        return v;
    }
    static TAerConexion* P(TAerComponente* C, int I) { return C->Conexion(I); }

    // A tube from point I of De (where air leaves) to point J of A.
    TAerTubo* Unir(TAerComponente* De, int I, TAerComponente* A, int J) {
        L.ActualizarGeometria();
        TAerConexion* a = P(A, J);
        auto* t = TAerTubo::Crear(L);
        t->SetInicio(P(De, I));
        t->SetFin(a);
        t->AnadirVertice({a->XMundo, a->YMundo});
        return t;
    }
    TAerComponente* Fuente(TAerComponente* A, int J) {
        auto* f = Nuevo(T::Presion);
        Unir(f, 0, A, J);
        return f;
    }
    TAerComponente* Escape(TAerComponente* A, int J) {
        auto* e = Nuevo(T::Escape);
        Unir(e, 0, A, J);
        return e;
    }
    // A single-acting cylinder as the load of output I of De, so that the
    // circuit passes the check.
    TAerComponente* Carga(TAerComponente* De, int I) {
        auto* c = Nuevo(T::CilindroSimple);
        Unir(De, I, c, 0);
        return c;
    }

    // Checks the circuit, builds its network and resets it, as entering the
    // stopped mode does.
    TSimCircuito& Simular() {
        EXPECT_EQ(L.Verificar(), 0) << ::testing::PrintToString(L.Errores);
        Sim = std::make_unique<TSimCircuito>(L);
        L.Modo = mdParado;
        Sim->Restablecer();
        return *Sim;
    }
    // Full steps, as the timer runs them.
    void Pasos(int N) {
        for (int i = 0; i < N; ++i) {
            Sim->Propagar();
            Sim->Avanzar();
        }
    }
    TSimC& Nodo(TAerComponente* C) { return *Sim->NodoDe(C); }
    double Estado(TAerComponente* C) { return Nodo(C).GetEstado(); }
    double Nivel(TAerComponente* C, int Entrada) { return Nodo(C).Entrada(Entrada)->GetPresion(); }

    TAerPaintBox L;
    std::unique_ptr<TSimCircuito> Sim; // goes before the canvas it refers into
};

} // namespace ventix::prueba
