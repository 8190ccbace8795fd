#pragma once

// Large circuits for the benchmarks, built with the operations the editor
// uses: elements placed from the catalogue, tubes started at a point, bent
// and finished at another. tools/gen_circuito_grande.py writes comparable
// files for trying the programs by hand.

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"

namespace ventix::bench {

using T = TTipoComponente;

// A tube as the editor finishes one: started at a point, bent once on the
// way, ended on the other point with a last bend there (which recomputes the
// control-tube marks, or has them recomputed when the batch closes).
inline TAerTubo* Unir(TAerPaintBox& L, TAerComponente* De, int I, TAerComponente* A, int J) {
    auto* t = TAerTubo::Crear(L);
    TAerConexion* ini = De->Conexion(I);
    TAerConexion* fin = A->Conexion(J);
    t->SetInicio(ini);
    const double x0 = De->X + ini->X, y0 = De->Y + ini->Y;
    const double x1 = A->X + fin->X, y1 = A->Y + fin->Y;
    t->AnadirVertice({x0, (y0 + y1) / 2});
    t->SetFin(fin);
    t->AnadirVertice({x1, y1});
    return t;
}

// Cells of four components on a grid of 50 columns: a source, a push-button
// 3/2 valve with an exhaust on its exhaust port, a single-acting cylinder;
// three tubes with a bend each.
inline void Pulsadores(TAerPaintBox& L, int Componentes) {
    const TLoteTubos lote(L);
    for (int k = 0; k < Componentes / 4; ++k) {
        const double x = (k % 50) * 60.0, y = (k / 50) * 110.0;
        auto colocar = [&](auto* c, double dx, double dy) {
            c->X = x + dx;
            c->Y = y + dy;
            return c;
        };
        auto* f = colocar(TAerComponente::Crear(L, T::Presion), 3, -11);
        auto* v = colocar(TAerValvula::Crear(L, true, TActuador::Seta, T::Valvula32NC), 0, 20);
        auto* e = colocar(TAerComponente::Crear(L, T::Escape), 9, -11);
        auto* c = colocar(TAerComponente::Crear(L, T::CilindroSimple), 19, 60);
        Unir(L, f, 0, v, 0);
        Unir(L, v, 1, e, 0);
        Unir(L, v, 2, c, 0);
    }
}

// Self-oscillating cells of seven components: a source feeding, through two
// T connectors, a bistable pilot 5/2 valve and two roller valves that a
// double-acting cylinder works at both ends of its stroke. Every cylinder
// moves at every step.
inline void Vaivenes(TAerPaintBox& L, int Componentes) {
    const TLoteTubos lote(L);
    for (int k = 0; k < Componentes / 7; ++k) {
        const double x = (k % 30) * 120.0, y = (k / 30) * 140.0;
        auto colocar = [&](auto* c, double dx, double dy) {
            c->X = x + dx;
            c->Y = y + dy;
            return c;
        };
        auto* f = colocar(TAerComponente::Crear(L, T::Presion), 0, -30);
        auto* t1 = colocar(TAerComponente::Crear(L, T::ConectorT), 0, -10);
        auto* t2 = colocar(TAerComponente::Crear(L, T::ConectorT), 40, -10);
        auto* v = colocar(TAerValvula::Crear(L, false, TActuador::Pilotado, T::Valvula52), 0, 30);
        auto* c = colocar(TAerComponente::Crear(L, T::CilindroDoble), 6, 75);
        auto* a0 = colocar(TAerValvula::Crear(L, true, TActuador::Rodillo, T::Valvula32NC), 40, 0);
        auto* a1 = colocar(TAerValvula::Crear(L, true, TActuador::Rodillo, T::Valvula32NC), 80, 0);
        a0->SetCilindro(c);
        a1->SetCilindro(c);
        a0->Valor = 0.0;
        a1->Valor = 1.0;
        Unir(L, f, 0, t1, 0);
        Unir(L, t1, 1, v, 1);
        Unir(L, t1, 2, t2, 0);
        Unir(L, t2, 1, a0, 0);
        Unir(L, t2, 2, a1, 0);
        Unir(L, v, 3, c, 0);
        Unir(L, v, 4, c, 1);
        Unir(L, a0, 2, v, 5);
        Unir(L, a1, 2, v, 6);
    }
}

} // namespace ventix::bench
