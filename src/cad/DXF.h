#pragma once

#include "cad/Entidades.h"

#include <string>
#include <vector>

namespace ventix {

// Reads the subset of ASCII DXF the symbols need into layers of entities:
// the layer table and POINT, LINE, CIRCLE, ARC, LWPOLYLINE, POLYLINE, TEXT
// and MTEXT. Everything else is skipped or kept as an undrawn entity.
// Errors are raised as exceptions; what was read before one stays in Capas.
class TDXF {
public:
    TDXF();

    // Empties Capas and loads the file's lines (CR LF or LF).
    void Cargar(const std::string& FileName);
    // Parses Lineas into Capas.
    void Leer();

    std::vector<std::string> Lineas;
    int Indice = 0;
    std::string Codigo;
    std::string Valor;
    TColeccion Capas; // of TCADCapa
};

} // namespace ventix
