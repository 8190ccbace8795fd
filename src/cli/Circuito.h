#pragma once

#include "circuit/AerPaintBox.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace ventix::cli {

// Options shared by the commands that read a circuit.
struct TOpciones {
    std::vector<std::string> Posicionales;
    std::string Libreria; // catalogue file or its folder; empty: the program's own
    // Options with a value, in command-line order: name and value.
    std::vector<std::pair<std::string, std::string>> Valores;
    std::vector<std::string> Banderas;
};

// Splits the arguments; `ConValor` lists the options that take a value,
// `SinValor` the flags. Raises std::invalid_argument for anything else, and
// for an option given twice (but --press and --release, one per event).
TOpciones LeerOpciones(const std::vector<std::string>& Args,
                       const std::vector<std::string>& ConValor,
                       const std::vector<std::string>& SinValor);

// The catalogue file that "--libreria" names (the file or its folder; empty:
// the program's own).
std::filesystem::path RutaCatalogo(const std::string& Libreria);

// Loads the catalogue; false when it is missing or has problems, each then
// printed on standard error as "ventix-cli ORDEN: catálogo: problema".
bool CargarCatalogo(TAerLibreria& Catalogo, const std::string& Orden, const std::string& Libreria);

// Loads the catalogue and the circuit into the canvas. On failure prints
// the catalogue's problems or "ventix-cli ORDEN: ARCHIVO, línea N: motivo"
// on standard error and answers false.
bool CargarCircuito(TAerPaintBox& Lienzo, const std::string& Orden, const std::string& Archivo,
                    const std::string& Libreria);

// Why a circuit file could not be read: the line (0 for none) and the reason.
struct TErrorLectura {
    int Linea = 0;
    std::string Motivo;
    std::string Texto() const {
        return Linea > 0 ? "línea " + std::to_string(Linea) + ": " + Motivo : Motivo;
    }
};

// The two halves of CargarCircuito. The catalogue's problems go to standard
// error as warnings; a circuit that cannot be read gives its reason.
std::optional<TErrorLectura> LeerCircuito(TAerPaintBox& Lienzo, const std::string& Archivo);

// A whole number from an option's text, or nullopt.
std::optional<int> Entero(const std::string& Texto);

} // namespace ventix::cli
