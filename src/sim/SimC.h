#pragma once

#include "circuit/TipoComponente.h"
#include "foundation/Coleccion.h"

#include <cstdint>
#include <vector>

namespace ventix {

class TAerComponente;
class TAerConexion;
class TAerTubo;
class TAerValvula;
class TSimC;
class TSimRed;

// Simulation classes of a node: what its rules do.
enum : std::uint8_t {
    clPresion = 0,
    clEscape = 1,
    clConectorT = 2,
    clValvula = 3,
    clCilindro = 4,
    clLogica = 5,
    clRegulador = 6,
    clTemporizador = 7,
    // A type no rule knows (only a file can place one): the node does nothing.
    clInerte = 255,
};

// The list a port lies in.
enum : std::uint8_t { lsEntradas = 0, lsSalidas = 1, lsPilotos = 2 };

// Cylinder motion decided while propagating, applied while advancing.
enum : std::uint8_t { mvParado = 0, mvAvance = 1, mvRetroceso = 2 };

// The simulation class of a component type (clInerte for none).
std::uint8_t ClaseDeTipo(TTipoComponente Tipo);

// One port of a node: a connection point of the component, or a pilot that
// only the simulation drives (a hand-worked or roller actuator). Its level,
// +1 supply, -1 vented, 0 blocked, between from regulators, lives in the
// network's array of ports (TSimRed).
class TSimCon : public TColeccionItem {
    VENTIX_CLASE(TSimCon, TColeccionItem)

    TSimCon() = default;

    // Clamps and stores the level, colours the tube at the point and carries
    // the same value to the port at the tube's far end.
    void SetPresion(double V);
    double GetPresion() const;
    // Whether the port has received a level since the last reset.
    bool GetFijada() const;

    TSimC* Nodo = nullptr;
    TAerConexion* Conexion = nullptr; // none for a virtual pilot
    TSimCon* Destino = nullptr;
    std::uint8_t Lista = lsEntradas;
    TAerTubo* Tubo = nullptr; // the tube at the point

private:
    friend class TSimRed;
    TSimRed* Red = nullptr;
    std::int32_t Indice = 0; // in the network's array of ports
};

// One node of the network: a top-level component with its ports, its state
// value (valve position, cylinder stroke, shuttle, timer progress) and the
// rules by which it propagates, advances and is reset. The state and the
// rules live in the network's array of nodes (TSimRed); a node belongs to one.
class TSimC : public TColeccionItem {
    VENTIX_CLASE(TSimC, TColeccionItem)

    TSimC();
    explicit TSimC(TAerComponente& Componente);

    // Clamps and stores the state, keeps the previous one and writes it into
    // the component, which poses its symbol.
    void SetEstado(double V);
    double GetEstado() const;
    double GetEstadoAnterior() const;
    std::uint8_t GetMovimiento() const;

    void ReglaPropagacion();
    void ReglaAvance();
    void ReglaRestablecer();
    // A directional valve's position from its pilot levels.
    void ProcesarPilotos();
    // A roller valve's pilot from its cylinder's position.
    void ProcesarRodillo();

    // Ports by position within their list; null when the component offers
    // fewer (only a broken catalogue or file makes such a node).
    TSimCon* Entrada(int i) const { return Puerto(VEntradas, i); }
    TSimCon* Salida(int i) const { return Puerto(VSalidas, i); }
    TSimCon* Piloto(int i) const { return Puerto(VPilotos, i); }
    bool EsRodillo() const;
    bool EsManual() const;
    bool EsMonoestable() const;
    TAerValvula* GetValvula() const { return Valvula; }

    TAerComponente* Componente = nullptr;
    TSimC* CilindroSim = nullptr;
    std::int32_t NumEntradas = 0;
    std::int32_t NumSalidas = 0;
    std::int32_t NumPilotos = 0;
    TColeccion Entradas; // of TSimCon
    TColeccion Salidas;  // of TSimCon
    TColeccion Pilotos;  // of TSimCon
    double Valor = 0.0;
    std::uint8_t ClaseSim = clInerte; // the simulation class
    TTipoComponente Tipo = TTipoComponente::Null;

private:
    friend class TSimRed;
    static TSimCon* Puerto(const std::vector<TSimCon*>& V, int i) {
        return i >= 0 && i < static_cast<int>(V.size()) ? V[static_cast<std::size_t>(i)] : nullptr;
    }
    TSimCon* NuevoPuerto(TAerConexion* Conexion, std::uint8_t Lista);

    TAerValvula* Valvula = nullptr;
    // A one-way regulator throttles only flow from its first point to its second.
    bool EntraPorPrimera = true;
    std::vector<TSimCon*> VEntradas;
    std::vector<TSimCon*> VSalidas;
    std::vector<TSimCon*> VPilotos;
    TSimRed* Red = nullptr;
    std::int32_t Indice = 0; // in the network's array of nodes
};

// A list entry that refers to a node owned by the network's node list.
class TSimCItem : public TColeccionItem {
    VENTIX_CLASE(TSimCItem, TColeccionItem)
    TSimCItem() = default;
    explicit TSimCItem(TSimC* N) : Nodo(N) {}
    TSimC* Nodo = nullptr;
};

// A list entry that refers to a port owned by its node.
class TSimConItem : public TColeccionItem {
    VENTIX_CLASE(TSimConItem, TColeccionItem)
    TSimConItem() = default;
    explicit TSimConItem(TSimCon* P) : Puerto(P) {}
    TSimCon* Puerto = nullptr;
};

} // namespace ventix
