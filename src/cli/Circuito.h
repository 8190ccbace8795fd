#pragma once

#include "circuit/AerPaintBox.h"

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
// `SinValor` the flags. Raises std::invalid_argument for anything else.
TOpciones LeerOpciones(const std::vector<std::string>& Args,
                       const std::vector<std::string>& ConValor,
                       const std::vector<std::string>& SinValor);

// Loads the catalogue and the circuit into the canvas. On failure prints
// "ventix-cli ORDEN: ARCHIVO, línea N: motivo" on standard error and
// answers false.
bool CargarCircuito(TAerPaintBox& Lienzo, const std::string& Orden, const std::string& Archivo,
                    const std::string& Libreria);

// A whole number from an option's text, or nullopt.
std::optional<int> Entero(const std::string& Texto);

} // namespace ventix::cli
