#pragma once

#include "circuit/AerComponente.h"

namespace ventix {

// A directional valve with its actuators: the left one of the chosen kind,
// and on the right a spring (monostable) or a second pilot or relay actuator.
// Its sub-elements are, in order: its own points, the left actuator, the left
// pilot point (piloted), the anchor mark (roller), the right actuator, the
// right pilot point (bistable piloted).
class TAerValvula : public TAerComponente {
    VENTIX_CLASE(TAerValvula, TAerComponente)

    TAerValvula(TAerPaintBox& Lienzo, bool Monoestable, TActuador Actuador, TTipoComponente Tipo);

    static TAerValvula* Crear(TAerPaintBox& Lienzo, bool Monoestable, TActuador Actuador,
                              TTipoComponente Tipo);

    // Locks the valve's roller to a cylinder; anything else unlocks it.
    void SetCilindro(TAerComponente* Elemento);
    TAerComponente* GetCilindro() const { return Cilindro; }

    bool GetRemoto() const { return Remoto; }
    bool GetMonoestable() const { return Monoestable; }
    TActuador GetActuador() const { return Actuador; }
    bool GetRodillo() const { return Rodillo; }
    bool GetEscamoteable() const { return Escamoteable; }

    TSentido Sentido = TSentido::Retroceso;

private:
    TAerComponente* Cilindro = nullptr;
    bool Remoto;
    bool Monoestable;
    TActuador Actuador;
    bool Rodillo;
    bool Escamoteable;
};

} // namespace ventix
