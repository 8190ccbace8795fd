// ventix-cli sequence FILE.aer --steps N [--expect SEQ]: runs a checked
// circuit and prints the motion sequence it performs, and whether it is the
// expected one.

#include "Circuito.h"
#include "Comando.h"
#include "Corrida.h"

#include "sim/Secuencia.h"

#include <iostream>

namespace ventix::cli {

namespace {

int Ejecutar(const std::vector<std::string>& Args) {
    TOpciones o;
    try {
        o = LeerOpciones(Args, {"--steps", "--press", "--release", "--expect"}, {});
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli sequence: " << e.what() << "\n";
        return salidaUso;
    }
    const auto corrida = LeerCorrida(o, "sequence");
    if (!corrida)
        return salidaUso;
    if (o.Posicionales.size() != 1 || corrida->Pasos < 0) {
        std::cerr
            << "Uso: ventix-cli sequence ARCHIVO.aer --steps N [--press NOMBRE[:2]@K]...\n"
               "       [--release NOMBRE[:2]@K]... [--expect \"SECUENCIA\"] [--libreria RUTA]\n";
        return salidaUso;
    }
    std::optional<TSecuencia> esperada;
    for (const auto& [nombre, valor] : o.Valores) {
        if (nombre != "--expect")
            continue;
        try {
            auto leida = LeerSecuencia(valor);
            for (const auto& a : leida.Avisos)
                std::cerr << "ventix-cli sequence: aviso: " << a << "\n";
            esperada = std::move(leida.Secuencia);
        } catch (const ESecuencia& e) {
            std::cerr << "ventix-cli sequence: secuencia esperada no válida: " << e.what() << "\n";
            return salidaUso;
        }
    }

    TAerPaintBox lienzo;
    const auto corrido = CorrerArchivo(lienzo, "sequence", o.Posicionales[0], o.Libreria, *corrida);
    if (!corrido.Red)
        return corrido.Salida;
    const auto& red = corrido.Red;
    const TSecuencia observada = SecuenciaObservada(*red->Registro);
    std::cout << TextoObservado(observada) << "\n";
    if (!esperada)
        return salidaBien;
    const TComparacion c = Comparar(observada, *esperada);
    std::cout << Veredicto(c, "coincide") << "\n";
    return c.Coincide ? salidaBien : salidaError;
}

} // namespace

const TComando& ComandoSequence() {
    static const TComando c{
        "sequence",
        "Simula un circuito y escribe la secuencia de movimientos que realiza.",
        "Uso: ventix-cli sequence ARCHIVO.aer --steps N [--press NOMBRE[:2]@K]...\n"
        "       [--release NOMBRE[:2]@K]... [--expect \"SECUENCIA\"] [--libreria RUTA]\n\n"
        "Simula el circuito como simulate y escribe en la primera línea la secuencia\n"
        "observada en la notación habitual (A+ B+ B- A-, simultáneos entre paréntesis:\n"
        "(A+ B+)); un movimiento que se queda entre los extremos lleva la marca\n"
        "[carrera incompleta]. Con --expect, una segunda línea: \"coincide\" (y los\n"
        "ciclos vistos si el circuito repite el suyo) o la primera diferencia.\n"
        "La secuencia esperada separa las fases con blancos, comas, punto y coma, /,\n"
        "-> o →; los nombres no distinguen mayúsculas.\n\n"
        "Estado de salida: 0 si coincide (o no se esperaba nada), 1 si no coincide o\n"
        "el circuito tiene errores (el informe, en la salida de errores), 2 si no se\n"
        "puede leer, los argumentos no son válidos o la secuencia esperada no se\n"
        "entiende (el mensaje da la posición).\n",
        Ejecutar,
    };
    return c;
}

} // namespace ventix::cli
