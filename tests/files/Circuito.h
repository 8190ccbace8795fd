#pragma once

// The file tests' common ground: canvases on the test catalogue (points, no
// drawings) and tubes joined through the bends given.

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"

#include "../cad/Aplicacion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

inline void CargarCatalogo(ventix::TAerPaintBox& Lienzo) {
    AsegurarAplicacion();
    Lienzo.Libreria.Cargar(std::filesystem::u8path(VENTIX_TEST_DATA "/catalogo/LIBRERÍA.txt"));
}

inline ventix::TAerTubo* Unir(ventix::TAerConexion* a, ventix::TAerConexion* b,
                              const std::vector<ventix::TCADCoordenada>& Codos) {
    auto* t = ventix::TAerTubo::Crear(a->GetPadre()->GetLienzo());
    t->SetInicio(a);
    t->SetFin(b);
    for (const auto& c : Codos)
        t->AnadirVertice(c);
    return t;
}
