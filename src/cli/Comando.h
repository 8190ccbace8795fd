#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace ventix::cli {

// Exit statuses shared by the commands.
enum : int { salidaBien = 0, salidaError = 1, salidaUso = 2 };

// One subcommand of ventix-cli: its name, a one-line summary for the general
// help, its own help text, and the function that runs it with the arguments
// that follow the name. Each command lives in its own source file and is
// listed once in main.cpp.
struct TComando {
    const char* Nombre;
    const char* Resumen;
    const char* Ayuda;
    int (*Ejecutar)(const std::vector<std::string>& Args);
};

// True when the arguments ask for help.
inline bool PideAyuda(const std::vector<std::string>& Args) {
    for (const auto& a : Args)
        if (a == "--help" || a == "-h")
            return true;
    return false;
}

const TComando& ComandoDxf();
const TComando& ComandoFormat();
const TComando& ComandoRender();
const TComando& ComandoCheck();
const TComando& ComandoSimulate();
const TComando& ComandoLibreria();
const TComando& ComandoSimbolos();
const TComando& ComandoSequence();
const TComando& ComandoDiagram();
const TComando& ComandoGrade();

} // namespace ventix::cli
