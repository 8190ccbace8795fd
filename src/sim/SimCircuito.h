#pragma once

#include "foundation/Coleccion.h"
#include "sim/Registro.h"
#include "sim/SimC.h"
#include "sim/SimRed.h"

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace ventix {

class TAerPaintBox;
class TAerTubo;

// One button of the hand-worked valves' panel: button n drives item n of
// PilotosManuales. A valve with two pilots gets two half-width buttons in
// its row, the left one for its first pilot.
struct TBotonPanel {
    int Numero = 0;
    int Fila = 0;         // the valve's position in Manuales
    int Columna = 0;      // 0 the left (or only) button, 1 the right one
    bool Mitad = false;   // half width: the row holds two buttons
    int Imagen = 0;       // glyph: 0 push-button, 1 relay, 2 the right button
    std::string Pista;    // the valve's type name
    std::string Etiqueta; // the valve's name, or "(sin nombre)"
    TSimC* Nodo = nullptr;
};

// The simulation network of a checked circuit: one node per top-level
// component, output ports linked along the tubes to the ports they feed,
// roller valves to their cylinders' nodes. It refers into the canvas's
// document, which must not change while the network exists, and writes the
// results back into it: components' states, tubes' pressure display states
// and the mark of a valve whose pilots conflict.
//
// A step has two phases: Propagar spreads the pressures with every state
// held, Avanzar moves every state by one increment. The editor and the
// headless tool drive it through the same operations: Paso, Tic and the
// panel buttons.
class TSimCircuito {
public:
    explicit TSimCircuito(TAerPaintBox& Canvas);
    ~TSimCircuito();
    TSimCircuito(const TSimCircuito&) = delete;
    TSimCircuito& operator=(const TSimCircuito&) = delete;

    // Spreads the pressures until the tubes' display states settle.
    void Propagar();
    // Moves every node by one increment, then the rollers follow the rods.
    void Avanzar();
    // Back to a fresh start: ports unset, sources, exhausts, open ports,
    // rollers and the panel's pilots set again, then propagated. Cylinders
    // keep their positions.
    void Restablecer();
    // One phase: propagates when Fase is 0, advances when it is 1.
    void Paso();
    // The timer's tick: a full step while the canvas runs; otherwise the
    // timer stops itself and nothing moves.
    void Tic();
    // Enables the timer (a running timer keeps its rhythm).
    void Arrancar();

    // Panel buttons. Pressing sets the pilot, vents and raises the valve's
    // other button, switches the valve at once and propagates; releasing
    // vents the pilot. A number outside the panel raises EListaError.
    void PulsarBoton(int N, bool Abajo);
    void Pulsar(int N) { PulsarBoton(N, true); }
    void Soltar(int N) { PulsarBoton(N, false); }
    void Conmutar(int N) { PulsarBoton(N, !BotonAbajo(N)); }
    bool BotonAbajo(int N) const;
    int NumBotones() const { return static_cast<int>(Botones.size()); }
    // The panel's buttons in order, for whoever draws them.
    std::vector<TBotonPanel> BotonesPanel() const;

    TSimC* Nodo(int I) const { return Nodos.ItemComo<TSimC>(I); }
    // The node of a component, or null.
    TSimC* NodoDe(const TAerComponente* Componente) const;
    TSimC* ItemClase(int Clase, int I) const {
        return PorClase[Clase].ItemComo<TSimCItem>(I)->Nodo;
    }
    TSimCon* PilotoManual(int I) const { return PilotosManuales.ItemComo<TSimConItem>(I)->Puerto; }
    TAerPaintBox& GetCanvas() const { return Canvas; }
    QTimer& GetReloj() const { return *Reloj; }

    TAerPaintBox& Canvas;
    QObject* PanelManual = nullptr; // the editor's panel; the editor owns it
    TColeccion Nodos;               // of TSimC
    std::int32_t NumNodos = 0;
    TColeccion PorClase[8];     // of TSimCItem, the nodes of each class
    TColeccion Manuales;        // of TSimCItem, valves worked from the panel
    TColeccion PilotosManuales; // of TSimConItem, their pilots, one per button
    std::uint8_t Fase = 0;
    // Called after a tick or a panel button changed the circuit.
    std::function<void()> OnRepintar;
    // Passes the last propagation took, and the bound at which it gives up
    // on a circuit whose tubes never settle.
    int Pasadas = 0;
    int MaxPasadas = 0;
    // Someone else wrote states into the document (a recording shown): the
    // network's next writes compare with the document, not with what it
    // last wrote itself.
    void DocumentoCambiado() { Red.Olvidar(); }
    // The run's history: started again by every reset, fed after every
    // step and every single phase. A caller that needs none may drop it.
    std::unique_ptr<TRegistro> Registro;

private:
    void Repintar() {
        if (OnRepintar)
            OnRepintar();
    }

    std::unique_ptr<QTimer> Reloj;
    // The nodes' and ports' running state, which the rules work on.
    TSimRed Red;
    std::vector<TSimC*> VNodos; // Nodos, in the same order
    std::vector<TSimCon*> VPilotosManuales;
    std::vector<bool> Botones; // down or up, one per panel button
};

} // namespace ventix
