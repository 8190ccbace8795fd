// ventix-cli check FILE.aer: reads a circuit and prints the report of its check.

#include "Circuito.h"
#include "Comando.h"

#include <iostream>

namespace ventix::cli {

namespace {

int Ejecutar(const std::vector<std::string>& Args) {
    TOpciones o;
    try {
        o = LeerOpciones(Args, {}, {});
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli check: " << e.what() << "\n";
        return salidaUso;
    }
    if (o.Posicionales.size() != 1) {
        std::cerr << "Uso: ventix-cli check ARCHIVO.aer [--libreria RUTA]\n";
        return salidaUso;
    }
    TAerPaintBox lienzo;
    if (!CargarCircuito(lienzo, "check", o.Posicionales[0], o.Libreria))
        return salidaUso;
    const int errores = lienzo.Verificar();
    for (const auto& l : lienzo.Errores)
        std::cout << l << "\n";
    return errores == 0 ? salidaBien : salidaError;
}

} // namespace

const TComando& ComandoCheck() {
    static const TComando c{
        "check",
        "Verifica un circuito .aer y muestra el informe de errores.",
        "Uso: ventix-cli check ARCHIVO.aer [--libreria RUTA]\n\n"
        "Lee el circuito, lo verifica como el botón de verificar del editor y escribe\n"
        "el informe en la salida estándar.\n"
        "--libreria RUTA  catálogo de componentes (LIBRERÍA.txt o su carpeta).\n\n"
        "Estado de salida: 0 sin errores, 1 con errores, 2 si el circuito no se puede\n"
        "leer (el motivo, con el archivo y la línea, en la salida de errores).\n",
        Ejecutar,
    };
    return c;
}

} // namespace ventix::cli
