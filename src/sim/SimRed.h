#pragma once

#include "circuit/TipoComponente.h"

#include <cstdint>
#include <vector>

namespace ventix {

class TAerComponente;
class TAerTubo;
class TSimC;
class TSimCon;

// The running state of a simulation network, laid out for the step: one
// array of nodes in the network's order and one of ports, each node's ports
// side by side (its inputs, then its outputs, then its pilots), links as
// indices. The rules of propagation, advance and reset run here; the node
// and port objects of TSimCircuito are views into these arrays.
//
// A step on a large circuit costs what it touches: the arrays are read in
// order, and the document is written only where a state changed (a
// component's state value and mark, a tube's display state). The network
// keeps what it last wrote, so it need not read the document to know; when
// someone else writes those states (a recording shown again), Olvidar makes
// the next writes compare with the document itself.
class TSimRed {
public:
    static constexpr std::int32_t Ninguno = -1;

    // A port as the propagation reads it; whether it has a level since the
    // last reset is in Fijadas.
    struct TPuerto {
        double Presion = 0.0;
        std::int32_t Destino = Ninguno; // the port at the tube's far end
        std::int32_t Tubo = Ninguno;    // the tube at the point, in EstadosTubos
    };

    // A node as the propagation reads it, small enough that the nodes and
    // ports of a 10,000-component circuit stay in a core's cache.
    struct TNodo {
        double Estado = 0.0;
        double Valor = 0.0;
        std::int32_t Puertos = 0; // its first port
        std::uint16_t NumEntradas = 0;
        std::uint16_t NumSalidas = 0;
        std::uint16_t NumPilotos = 0;
        std::uint8_t Clase = 0;
        std::uint8_t Movimiento = 0;
        TTipoComponente Tipo = TTipoComponente::Null;
        bool EntraPorPrimera = true;
    };

    // The rest of a node, for the advance, the rollers and the writes into
    // the document.
    struct TNodoAvance {
        double EstadoAnterior = 0.0;
        // The state value the component holds as far as the network knows;
        // NaN when it does not know.
        double Escrito = 0.0;
        TAerComponente* Componente = nullptr;
        std::int32_t Cilindro = Ninguno;
        bool Rodillo = false;      // a valve worked by its cylinder's rod
        bool Escamoteable = false; // ... only while the rod moves in Sentido
        TSentido Sentido = TSentido::Retroceso;
        std::int8_t Marcado = -1; // the component's mark as last written; -1 unknown
        bool Pendiente = false;   // Estado is to be written into the component
    };

    // Takes a node and its ports in the network's order; the ports get their
    // indices and the node its first one.
    void Agregar(TSimC& Nodo);
    // Links and tubes, once every node is in: outputs to the ports their
    // tubes end at, ports to the copies of their tubes' display states.
    // Tubos is the document's tube list, in its order.
    void Enlazar(const std::vector<TAerTubo*>& Tubos);

    void SetPresion(std::int32_t Puerto, double V);
    // Stores the state; the component takes it at the next Escribir.
    void SetEstado(std::int32_t Nodo, double V);
    // Writes the changed states into their components, in the order they
    // changed.
    void Escribir();
    void ReglaPropagacion(std::int32_t Nodo);
    void ReglaAvance(std::int32_t Nodo);
    void ReglaRestablecer(std::int32_t Nodo);
    void ProcesarPilotos(std::int32_t Nodo);
    void ProcesarRodillo(std::int32_t Nodo);

    // Every rule over every node until the tubes' display states settle (or
    // MaxPasadas), then the tubes that changed take theirs.
    void Propagar();
    // Every node's advance rule, then the rollers; then the components take
    // their new states.
    void Avanzar();
    // Every port unset and its tube cleared, in the network and in the
    // document.
    void Soltar();
    // The document's states are no longer known to be what the network
    // last wrote.
    void Olvidar();

    std::int32_t NumNodos() const { return static_cast<std::int32_t>(Nodos.size()); }
    std::int32_t NumPuertos() const { return static_cast<std::int32_t>(Puertos.size()); }

    std::vector<TNodo> Nodos;
    std::vector<TNodoAvance> Avances; // in the order of Nodos
    std::vector<TPuerto> Puertos;
    std::vector<std::uint8_t> Fijadas; // in the order of Puertos
    int Pasadas = 0;
    int MaxPasadas = 0;

private:
    std::int32_t Entrada(const TNodo& N, int I) const {
        return I < N.NumEntradas ? N.Puertos + I : Ninguno;
    }
    std::int32_t Salida(const TNodo& N, int I) const {
        return I < N.NumSalidas ? N.Puertos + N.NumEntradas + I : Ninguno;
    }
    std::int32_t Piloto(const TNodo& N, int I) const {
        return I < N.NumPilotos ? N.Puertos + N.NumEntradas + N.NumSalidas + I : Ninguno;
    }
    bool Fija(std::int32_t P) const { return P != Ninguno && Fijadas[static_cast<std::size_t>(P)]; }
    double Nivel(std::int32_t P) const {
        return P != Ninguno ? Puertos[static_cast<std::size_t>(P)].Presion : 0.0;
    }
    void Poner(std::int32_t P, double V) {
        if (P != Ninguno)
            SetPresion(P, V);
    }
    // Passes a source port's level on, when the source has one.
    void Copiar(std::int32_t A, std::int32_t De) {
        if (Fija(De))
            Poner(A, Nivel(De));
    }
    // Blocks the output while the source has a level.
    void Cerrar(std::int32_t A, std::int32_t De) {
        if (Fija(De))
            Poner(A, 0.0);
    }
    void PropagarValvula(const TNodo& N);
    void PropagarCilindro(TNodo& N);
    void PropagarLogica(const TNodo& N);
    void PropagarRegulador(const TNodo& N);
    void PropagarTemporizador(const TNodo& N);
    void AvanzarCilindro(std::int32_t Nodo);
    void MarcarComponente(TNodoAvance& N, bool Marcado);
    void EscribirNodo(std::int32_t Nodo);
    void Anticipar(std::int32_t Nodo) const;

    std::vector<TSimC*> VNodos;     // the node objects, by index
    std::vector<TSimCon*> VPuertos; // the port objects, by index
    std::vector<std::int32_t> VRodillos;
    // Nodes whose state changed since the last Escribir.
    std::vector<std::int32_t> Pendientes;
    // The tubes' display states as a propagation leaves them: the document's
    // tubes in its order, then any tube at a port that the list lacks. Only
    // the document's take part in the test of settling.
    std::vector<TAerTubo*> VTubos;
    // While a pass of propagation runs: the end of the ports of the nodes its
    // rules have reached, and whether a level or mark changed at one of those
    // after its node had read it. Outside a pass Alcanzados is 0.
    std::int32_t Alcanzados = 0;
    bool Tarde = false;
    std::vector<std::uint8_t> EstadosTubos;
    std::vector<std::uint8_t> Antes;
    // What the tubes show as far as the network knows; valid while TubosAlDia.
    std::vector<std::uint8_t> Mostrados;
    // The tubes whose display state a propagation is writing.
    std::vector<std::int32_t> TubosCambiados;
    std::size_t NumTubosDocumento = 0;
    bool TubosAlDia = false;
};

} // namespace ventix
