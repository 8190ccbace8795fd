#pragma once

#include "Circuito.h"

#include "sim/Secuencia.h"
#include "sim/SimCircuito.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ventix::cli {

// A button event of the command line: press or release the valve's first
// or second panel button before step K.
struct TEvento {
    bool Pulsar = true;
    std::string Valvula;
    int Boton = 0;
    int Paso = 0;
};

// "NOMBRE[:2]@K" of --press (Pulsar) or --release; nullopt when malformed.
std::optional<TEvento> LeerEvento(bool Pulsar, const std::string& Texto);

// A component's name for the columns: its own, or "#i" by list position.
std::string Columna(const TAerPaintBox& L, int I);

// The options of a run shared by the commands that simulate: --steps N and
// the button events, in command-line order. Other options are left to the
// caller. nullopt after a message on standard error.
struct TCorrida {
    int Pasos = -1;
    std::vector<TEvento> Eventos;
};
std::optional<TCorrida> LeerCorrida(const TOpciones& O, const std::string& Orden);

// The panel button of each event, by the valve's name (any letter case) or
// "#i". Raises std::invalid_argument naming the first event that is no
// button of the circuit.
std::vector<std::pair<TEvento, int>> BotonesDeEventos(const TSimCircuito& Red,
                                                      const TAerPaintBox& L,
                                                      const std::vector<TEvento>& Eventos);

// Builds the network of a checked circuit and resets it as the editor does on
// entering the stopped mode, then runs the steps with the events; the
// network's recording holds the run. Raises std::invalid_argument for an
// event that is no button of the circuit.
std::unique_ptr<TSimCircuito> Correr(TAerPaintBox& L, const TCorrida& C);

// Loads the circuit of Archivo, checks it and runs it: the network with its
// recording, or the exit status after a message on standard error (the
// check's report for a circuit with errors).
struct TResultadoCorrida {
    std::unique_ptr<TSimCircuito> Red;
    int Salida = 0;
};
TResultadoCorrida CorrerArchivo(TAerPaintBox& L, const std::string& Orden,
                                const std::string& Archivo, const std::string& Libreria,
                                const TCorrida& C);

// The observed sequence as printed: "(sin movimientos)" when nothing moved.
std::string TextoObservado(const TSecuencia& Observada);

// The verdict of a comparison: Bien ("coincide", "correcto") with the cycles
// seen when more than one, or the first difference.
std::string Veredicto(const TComparacion& C, const std::string& Bien);

} // namespace ventix::cli
