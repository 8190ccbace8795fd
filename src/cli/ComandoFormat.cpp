// ventix-cli format IN.aer [-o OUT.aer]: reads a circuit and writes it back.

#include "Circuito.h"
#include "Comando.h"

#include "files/ArchivoAer.h"

#include <filesystem>
#include <iostream>

namespace ventix::cli {

namespace {

int Ejecutar(const std::vector<std::string>& Args) {
    TOpciones o;
    try {
        o = LeerOpciones(Args, {"-o"}, {});
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli format: " << e.what() << "\n";
        return salidaUso;
    }
    if (o.Posicionales.size() != 1) {
        std::cerr << "Uso: ventix-cli format ENTRADA.aer [-o SALIDA.aer]\n";
        return salidaUso;
    }
    TAerPaintBox lienzo;
    if (!CargarCircuito(lienzo, "format", o.Posicionales[0], o.Libreria))
        return salidaUso;
    const auto lineas = ArchivoAer::Escribir(lienzo);
    if (o.Valores.empty()) {
        const std::string bytes = ArchivoAer::Bytes(lineas);
        std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        std::cout.flush();
    } else {
        ArchivoAer::GuardarLineas(std::filesystem::u8path(o.Valores.back().second), lineas);
    }
    return salidaBien;
}

} // namespace

const TComando& ComandoFormat() {
    static const TComando c{
        "format",
        "Lee un circuito .aer y lo vuelve a escribir.",
        "Uso: ventix-cli format ENTRADA.aer [-o SALIDA.aer] [--libreria RUTA]\n\n"
        "Lee el circuito y lo escribe de nuevo tal como lo guarda Ventix (ISO-8859-1,\n"
        "fin de línea CR LF), en la salida estándar o en SALIDA.aer.\n"
        "--libreria RUTA  catálogo de componentes (LIBRERÍA.txt o su carpeta).\n\n"
        "Estado de salida: 0 si todo fue bien, 2 si el circuito no se puede leer.\n",
        Ejecutar,
    };
    return c;
}

} // namespace ventix::cli
