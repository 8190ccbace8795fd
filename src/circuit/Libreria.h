#pragma once

#include "cad/Libreria.h"
#include "circuit/TipoComponente.h"
#include "foundation/Parametros.h"

#include <filesystem>
#include <string>
#include <vector>

namespace ventix {

class TAerPaintBox;

// The component catalogue: for every component type, the symbol that draws
// it, its initial state, its link point and its connection points with their
// kinds. Read once from "Librerías/LIBRERÍA.txt", which also names the symbol
// libraries the catalogue's shelf loads.
//
// Loading never stops half-way: a missing catalogue file, a symbol library
// that cannot be read, or an entry naming a library or a symbol position that
// does not exist is recorded in `Problemas`, and an element of such a type is
// built without a symbol.
class TAerLibreria {
public:
    explicit TAerLibreria(TAerPaintBox* Lienzo = nullptr);

    void Cargar(const std::filesystem::path& Ruta);

    // The symbol of a type, or null when its entry names none that exists.
    TCADComponente* GetSimbolo(TTipoComponente Tipo) const;
    double GetParametro(TTipoComponente Tipo) const;
    double GetLinkX(TTipoComponente Tipo) const;
    double GetLinkY(TTipoComponente Tipo) const;
    int GetConexiones(TTipoComponente Tipo) const;
    // The entry of a type (null for types outside 1..30): "ConexiónX" i,
    // "ConexiónY" i and "TipoConexión" i are read from it.
    TParametros* GetEntrada(TTipoComponente Tipo) const;

    // Connection point i (from 1) of a type's entry: position and kind.
    struct TPuntoConexion {
        double X = 0.0;
        double Y = 0.0;
        int Tipo = 10;
    };
    TPuntoConexion GetConexion(TTipoComponente Tipo, int i) const;

    TCADEstanteria Estanteria;
    TAerPaintBox* Lienzo;
    TColeccion Entradas; // of TParametros, one per type 1..30
    std::filesystem::path Carpeta;
    // The catalogue file itself could be read (it may still have problems).
    bool Leido = false;
    // What went wrong while loading, in Spanish, one line each.
    std::vector<std::string> Problemas;

private:
    void CargarEntrada(const class TArchivoIni& Ini, TTipoComponente Tipo);
    void ComprobarSimbolo(TTipoComponente Tipo);
};

// The folder of the running program; the catalogue lives in its
// "Librerías" subfolder (or, for an installed program, in ../share/ventix).
std::filesystem::path RutaCatalogoPorDefecto();

// The folder of the example circuits for a program in Carpeta: "ejemplos"
// beside it, else share/ventix/ejemplos of its install prefix; empty when
// there is neither.
std::filesystem::path RutaEjemplos(const std::filesystem::path& Carpeta);
// The same for the running program.
std::filesystem::path RutaEjemplosPorDefecto();

} // namespace ventix
