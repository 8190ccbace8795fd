#pragma once

#include <QObject>
#include <QTimer>

#include <cstdint>
#include <vector>

namespace ventix {

class TAerPaintBox;
class TAerValvula;

// PROVISIONAL run control: stands in for the simulation network until it is
// merged. It lists the valves worked from the button panel, owns the 500 ms
// timer and switches a valve when its button is pressed; pressures and
// motion are not computed, and a step only flips the phase.
class TSimulacionEditor : public QObject {
    Q_OBJECT
public:
    explicit TSimulacionEditor(TAerPaintBox& Canvas);

    // Relay and push-button valves, in the order of the document.
    std::vector<TAerValvula*> Manuales;
    // One entry per panel button: its valve and which of its pilots (0, 1).
    struct TPiloto {
        TAerValvula* Valvula;
        int Posicion;
    };
    std::vector<TPiloto> PilotosManuales;
    std::uint8_t Fase = 0;
    QTimer Reloj;

    void Restablecer();
    void Paso();
    // A panel button went down or up.
    void Pulsar(int Boton, bool Abajo);
    double Estado(const TAerValvula* V) const;

signals:
    void Tick();

private:
    TAerPaintBox& Canvas;
};

// PROVISIONAL circuit check until the canvas's own one is merged: fills the
// canvas's report, marks faulty components and answers the error count.
int VerificarCircuito(TAerPaintBox& Canvas);

} // namespace ventix
