// ventix-cli simulate FILE.aer --steps N: runs a checked circuit step by step
// and prints the states as CSV.

#include "Circuito.h"
#include "Comando.h"
#include "Corrida.h"

#include "circuit/AerTubo.h"
#include "foundation/Numeros.h"
#include "foundation/Texto.h"
#include "sim/SimCircuito.h"

#include <iostream>
#include <map>

namespace ventix::cli {

namespace {

int Ejecutar(const std::vector<std::string>& Args) {
    TOpciones o;
    try {
        o = LeerOpciones(Args, {"--steps", "--press", "--release"}, {"--tubes"});
    } catch (const std::exception& e) {
        std::cerr << "ventix-cli simulate: " << e.what() << "\n";
        return salidaUso;
    }
    const char* uso = "Uso: ventix-cli simulate ARCHIVO.aer --steps N [--press NOMBRE[:2]@K]...\n"
                      "       [--release NOMBRE[:2]@K]... [--tubes] [--libreria RUTA]\n";
    const auto corrida = LeerCorrida(o, "simulate");
    if (!corrida)
        return salidaUso;
    const int pasos = corrida->Pasos;
    if (o.Posicionales.size() != 1 || pasos < 0) {
        std::cerr << uso;
        return salidaUso;
    }
    const bool tubos = !o.Banderas.empty();

    TAerPaintBox lienzo;
    if (!CargarCircuito(lienzo, "simulate", o.Posicionales[0], o.Libreria))
        return salidaUso;
    if (lienzo.Verificar() != 0) {
        for (const auto& l : lienzo.Errores)
            std::cerr << l << "\n";
        return salidaError;
    }

    // As the editor enters the stopped mode after a clean check.
    lienzo.ActualizarGeometria();
    TSimCircuito red(lienzo);
    lienzo.Modo = mdParado;
    red.Restablecer();

    std::vector<std::pair<TEvento, int>> acciones;
    try {
        acciones = BotonesDeEventos(red, lienzo, corrida->Eventos);
    } catch (const std::invalid_argument& e) {
        std::cerr << "ventix-cli simulate: " << e.what() << "\n";
        return salidaUso;
    }

    std::vector<int> columnas;
    std::cout << "step";
    for (int i = 0; i < lienzo.Componentes.Count(); ++i) {
        const auto* c = lienzo.Componentes.ItemComo<TAerComponente>(i);
        if (c->EsValvula() || c->EsCilindro() || c->EsLogica() || c->EsTemporizador()) {
            columnas.push_back(i);
            std::cout << "," << CampoCsv(Columna(lienzo, i));
        }
    }
    if (tubos)
        for (int i = 0; i < lienzo.Tubos.Count(); ++i)
            std::cout << ",T" << i;
    std::cout << "\n";

    auto fila = [&](int Paso) {
        std::cout << Paso;
        for (int i : columnas)
            std::cout << ","
                      << NumeroATexto(
                             lienzo.Componentes.ItemComo<TAerComponente>(i)->GetParametro());
        if (tubos)
            for (int i = 0; i < lienzo.Tubos.Count(); ++i)
                std::cout << ","
                          << static_cast<int>(lienzo.Tubos.ItemComo<TAerTubo>(i)->EstadoPresion);
        std::cout << "\n";
    };
    fila(0);
    for (int k = 1; k <= pasos; ++k) {
        for (const auto& [e, boton] : acciones)
            if (e.Paso == k && red.BotonAbajo(boton) != e.Pulsar)
                red.PulsarBoton(boton, e.Pulsar);
        red.Propagar();
        red.Avanzar();
        fila(k);
    }
    return salidaBien;
}

} // namespace

const TComando& ComandoSimulate() {
    static const TComando c{
        "simulate",
        "Simula un circuito .aer paso a paso y escribe los estados en CSV.",
        "Uso: ventix-cli simulate ARCHIVO.aer --steps N [--press NOMBRE[:2]@K]...\n"
        "       [--release NOMBRE[:2]@K]... [--tubes] [--libreria RUTA]\n\n"
        "Verifica el circuito (con errores, el informe va a la salida de errores y el\n"
        "estado de salida es 1), construye la red de simulación y la restablece como\n"
        "al pasar a modo parado. Escribe en CSV una columna por válvula, cilindro,\n"
        "válvula lógica y temporizador, en el orden del documento, con su nombre o #i\n"
        "(su posición en la lista de componentes); la fila 0 tras restablecer y, para\n"
        "cada paso K de 1 a N, primero los botones del panel pedidos para K (en el\n"
        "orden de la línea de órdenes), luego un paso completo, y la fila K.\n"
        "--press NOMBRE@K    pulsa el botón de la válvula antes del paso K\n"
        "--release NOMBRE@K  lo suelta; NOMBRE:2 es el segundo botón de una biestable\n"
        "--tubes             añade una columna T0, T1... por tubo con su estado de\n"
        "                    presión (0 sin valor, 1 presión, 2 escape, 3 cero)\n\n"
        "Estado de salida: 0 si la simulación corrió, 1 si el circuito tiene errores,\n"
        "2 si no se puede leer o los argumentos no son válidos.\n",
        Ejecutar,
    };
    return c;
}

} // namespace ventix::cli
