#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ventix {

class TAerPaintBox;
class TSimC;
class TSimCircuito;

// What a row of the recording follows.
enum class TTipoFila : std::uint8_t { Cilindro, Valvula, Logica, Temporizador, Boton };

// One recorded element: a node's state, or a panel button's.
struct TFilaRegistro {
    TTipoFila Tipo = TTipoFila::Cilindro;
    std::string Nombre; // the component's name, or "#i" by its place in the document
    TSimC* Nodo = nullptr;
    int Boton = -1; // the panel button, for a button row
};

// The history of a run: after every full step (and every single phase when
// the user steps by phase) the state of every cylinder, directional and logic
// valve, timer and panel button, and every tube's pressure display state. The
// network keeps one and feeds it; a reset starts it again from the state it
// leaves. The rows are cylinders first, then valves, then buttons and timers,
// each group in document order. Memory grows by one flat block per instant.
class TRegistro {
public:
    explicit TRegistro(TSimCircuito& Red);

    // Forgets everything and keeps the present state as instant 0.
    void Reiniciar();
    // Keeps the present state: after a full step (Fase false) the step number
    // grows by one; after a single propagation it stays.
    void Anotar(bool Fase);

    const std::vector<TFilaRegistro>& Filas() const { return VFilas; }
    int NumCilindros() const { return Cilindros; }
    int NumInstantes() const { return static_cast<int>(Pasos.size()); }
    // The step an instant belongs to (0 the reset) and whether it is a
    // propagation seen by itself.
    int Paso(int Instante) const { return Pasos[static_cast<std::size_t>(Instante)]; }
    bool EsFase(int Instante) const { return Fases[static_cast<std::size_t>(Instante)] != 0; }
    // The recorded value of a row at an instant: a state in 0..1, a button 0 or 1.
    double Valor(int Instante, int Fila) const {
        return Valores[static_cast<std::size_t>(Instante) * VFilas.size() +
                       static_cast<std::size_t>(Fila)];
    }
    std::uint8_t EstadoTubo(int Instante, int Tubo) const {
        return EstadosTubos[static_cast<std::size_t>(Instante) * NumTubos +
                            static_cast<std::size_t>(Tubo)];
    }
    // The instants of whole steps (the reset first), which the diagram and
    // the motion sequence read.
    std::vector<int> InstantesDePaso() const;
    int UltimoPaso() const { return Pasos.empty() ? 0 : Pasos.back(); }
    // The memory the instants hold.
    std::size_t Bytes() const {
        return Pasos.capacity() * sizeof(int) + Fases.capacity() +
               Valores.capacity() * sizeof(double) + EstadosTubos.capacity();
    }

    // Puts an instant's states back into the document, for showing it: the
    // network's own nodes are not touched, so the run goes on from where it
    // was once the last instant is shown again.
    void Mostrar(int Instante) const;

private:
    TSimCircuito& Red;
    TAerPaintBox& Documento;
    std::vector<TFilaRegistro> VFilas;
    int Cilindros = 0;
    std::size_t NumTubos = 0;
    std::vector<int> Pasos;
    std::vector<std::uint8_t> Fases;
    std::vector<double> Valores;            // instants x rows
    std::vector<std::uint8_t> EstadosTubos; // instants x tubes
};

} // namespace ventix
