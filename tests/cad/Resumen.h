#pragma once

#include "cad/Entidades.h"
#include "cad/Region.h"
#include "foundation/Numeros.h"

#include <initializer_list>
#include <string>

// Short texts that let one assertion compare several attributes at once.

// The texts of the named parameters, separated by blanks.
inline std::string Valores(const ventix::TParametros& P,
                           std::initializer_list<const char*> Nombres) {
    std::string r;
    for (const char* n : Nombres)
        r += (n == *Nombres.begin() ? "" : " ") + P.Param(n).AsTexto();
    return r;
}

// An entity's points as "x,y,z x,y,z ...".
inline std::string Puntos(const ventix::TCADEntidad& E) {
    std::string r;
    for (int i = 0; i < E.Puntos.Count(); ++i) {
        const auto* p = E.Puntos.ItemComo<ventix::TCADPunto>(i);
        r += (i ? " " : "") + ventix::NumeroATexto(p->GetX()) + "," +
             ventix::NumeroATexto(p->GetY()) + "," + ventix::NumeroATexto(p->GetZ());
    }
    return r;
}

// Which of the points an area holds: one '1' or '0' for each.
inline std::string Dentro(const ventix::TArea& A, std::initializer_list<QPointF> Puntos) {
    std::string r;
    for (const QPointF& p : Puntos)
        r += A.Contiene(p) ? '1' : '0';
    return r;
}
inline std::string Dentro(const ventix::TCADRegion& R, std::initializer_list<QPointF> Puntos) {
    std::string r;
    for (const QPointF& p : Puntos)
        r += R.ContienePunto({p.x(), p.y()}) ? '1' : '0';
    return r;
}
