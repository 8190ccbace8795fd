// ventix-cli: the headless tool. Dispatches to one subcommand by name.

#include "Comando.h"

#include <cstdio>
#include <exception>
#include <iostream>

using namespace ventix::cli;

namespace {

const TComando* const Comandos[] = {
    &ComandoDxf(),      &ComandoFormat(),   &ComandoRender(),   &ComandoCheck(),
    &ComandoSimulate(), &ComandoLibreria(), &ComandoSimbolos(),
    &ComandoSequence(), &ComandoDiagram(),  &ComandoGrade(),
};

void Uso(std::ostream& S) {
    S << "Uso: ventix-cli <orden> [argumentos]\n"
         "     ventix-cli <orden> --help\n\n"
         "Órdenes:\n";
    for (const auto* c : Comandos)
        S << "  " << c->Nombre << std::string(10 - std::string(c->Nombre).size(), ' ') << c->Resumen
          << "\n";
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        Uso(std::cerr);
        return salidaUso;
    }
    if (args[0] == "--help" || args[0] == "-h") {
        Uso(std::cout);
        return salidaBien;
    }
    for (const auto* c : Comandos) {
        if (args[0] != c->Nombre)
            continue;
        args.erase(args.begin());
        if (PideAyuda(args)) {
            std::cout << c->Ayuda;
            return salidaBien;
        }
        try {
            return c->Ejecutar(args);
        } catch (const std::exception& e) {
            std::cerr << "ventix-cli " << c->Nombre << ": " << e.what() << "\n";
            return salidaError;
        }
    }
    std::cerr << "ventix-cli: orden desconocida \"" << args[0] << "\".\n\n";
    Uso(std::cerr);
    return salidaUso;
}
