#pragma once

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"

#include "../cad/Aplicacion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

using T = ventix::TTipoComponente;

// A canvas with the catalogue given loaded: the circuit tests' common ground.
class TConCatalogo : public ::testing::Test {
protected:
    explicit TConCatalogo(const std::string& Catalogo) {
        AsegurarAplicacion();
        L.Libreria.Cargar(std::filesystem::u8path(Catalogo));
    }
    // A component of the type given at (X, Y).
    ventix::TAerComponente* Nuevo(T Tipo, double X = 0, double Y = 0) {
        auto* c = ventix::TAerComponente::Crear(L, Tipo);
        c->X = X;
        c->Y = Y;
        return c;
    }
    ventix::TAerValvula* Valvula(ventix::TActuador A, T Tipo = T::Valvula32NC,
                                 bool Monoestable = true) {
        return ventix::TAerValvula::Crear(L, Monoestable, A, Tipo);
    }
    // The tubes, texts and reference lists, counted at once.
    std::vector<int> Cuentas() const {
        return {L.Tubos.Count(), L.Textos.Count(), L.RefVertices.Count(), L.RefActuadores.Count(),
                L.RefConexiones.Count()};
    }
    // A finished tube from A to B through the bends given.
    ventix::TAerTubo* Unir(ventix::TAerConexion* A, ventix::TAerConexion* B,
                           const std::vector<ventix::TCADCoordenada>& Medio = {}) {
        auto* t = ventix::TAerTubo::Crear(L);
        t->SetInicio(A);
        for (const auto& p : Medio)
            t->AnadirVertice(p);
        t->SetFin(B);
        t->AnadirVertice({B->XMundo, B->YMundo});
        return t;
    }
    ventix::TAerPaintBox L;
};
