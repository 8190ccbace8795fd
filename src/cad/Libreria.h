#pragma once

#include "cad/Simbolos.h"
#include "foundation/Coleccion.h"

#include <stdexcept>
#include <string>

namespace ventix {

class TArchivoIni;

// A symbol library that cannot be used as it stands; the message names the
// library file and, where it applies, the block.
class ELibreriaError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One symbol library: an INI file listing components and their blocks, and
// the DXF drawing whose layers hold the blocks.
class TCADLibreria : public TColeccionItem {
    VENTIX_CLASE(TCADLibreria, TColeccionItem)

    TCADLibreria();

    static constexpr int kMaxComponentes = 1000;
    static constexpr int kMaxBloques = 64; // per component

    TColeccion Componentes; // of TCADComponente, in file order
    std::string Archivo;    // the INI file
    std::string DXFFile;    // the drawing, relative to the INI's folder

    // Empties Componentes and loads the library: names it from the INI,
    // reads the drawing and cuts it into components and blocks. Errors of
    // the DXF reader, duplicate names and unusable blocks (no layer in the
    // drawing, a drawn scale of 0) are raised; the load stops there.
    void Cargar(const std::string& FileName);
    // Reads components 1 to "COMPONENTES" from an open INI and the layers of
    // its drawing; a count above kMaxComponentes components, or kMaxBloques
    // blocks of one component, is refused.
    void Leer(const TArchivoIni& Ini, const TColeccion& Capas);

    // Component by position, numbered from 1 as the catalogue does; null
    // when there is none.
    TCADComponente* Componente(int Numero) const;

    void Assign(const TColeccionItem& Origen) override;
};

// The shelf of symbol libraries, each named by its INI's "NOMBRE".
class TCADEstanteria : public TColeccionItem {
    VENTIX_CLASE(TCADEstanteria, TColeccionItem)

    TCADEstanteria();

    TColeccion Librerias; // of TCADLibreria

    // The library of that name (case-insensitive), or null.
    TCADLibreria* Libreria(const std::string& Nombre) const;
    // Symbol lookup as the callers do it: library by name, component by
    // position from 1; null when either is missing.
    TCADComponente* Simbolo(const std::string& Libreria, int Numero) const;

    void Assign(const TColeccionItem& Origen) override;
};

} // namespace ventix
