#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ventix {

class TRegistro;

// One move of a cylinder: its name and the direction, + leaving the
// retracted end, - leaving the extended end. An observed move that stopped
// or turned back between the ends is incomplete; one still under way when
// the recording ends is in progress.
struct TMovimiento {
    std::string Cilindro;
    char Signo = '+';
    bool Incompleto = false;
    bool EnCurso = false;
};

// A phase: the moves that begin in the same step (one, or a simultaneous group).
using TFaseSecuencia = std::vector<TMovimiento>;

// A motion sequence in the usual notation: "A+ B+ B- A-", simultaneous moves
// in parentheses "(A+ B+)".
struct TSecuencia {
    std::vector<TFaseSecuencia> Fases;

    std::string Texto() const;
    static std::string TextoFase(const TFaseSecuencia& Fase);
};

// A sequence that does not parse: the message carries the position (in
// characters, from 1) of the fault.
class ESecuencia : public std::runtime_error {
public:
    ESecuencia(int Posicion, const std::string& Motivo);
    int Posicion;
};

// A parsed sequence with what is odd about it: a move that does not change
// its cylinder's state, a cylinder that does not end where it started.
struct TSecuenciaLeida {
    TSecuencia Secuencia;
    std::vector<std::string> Avisos;
};

// Parses a teacher's sequence. Phases are separated by blanks, commas,
// semicolons, arrows (-> and →) or slashes; a phase is a move or a group in
// parentheses; a move is a name and a sign (+, -, − or –). Raises ESecuencia.
TSecuenciaLeida LeerSecuencia(std::string_view Texto);

// The sequence a recorded run performed: a phase begins at the step in which
// one or more cylinders leave an end (within 1e-9 of 0 or 1); a move that does
// not reach the other end before its cylinder stops or turns back is
// incomplete.
TSecuencia SecuenciaObservada(const TRegistro& Registro);

// Observed against expected, phase by phase.
struct TComparacion {
    bool Coincide = false;
    // Complete repetitions of the expected cycle seen from the start.
    int Ciclos = 0;
    // The first difference, in Spanish; empty when they match.
    std::string Diferencia;
    // Enough was observed for a verdict: a difference, or a whole cycle with
    // every move finished. A run still under way may yet give one.
    bool Concluyente = false;
};

TComparacion Comparar(const TSecuencia& Observada, const TSecuencia& Esperada);

} // namespace ventix
