#include "circuit/AerValvula.h"

#include "circuit/AerPaintBox.h"

namespace ventix {

namespace {

TTipoComponente ActuadorIzquierdo(TActuador A) {
    switch (A) {
    case TActuador::Pilotado:
        return TTipoComponente::ActuadorPilotadoIzquierdo;
    case TActuador::Rele:
        return TTipoComponente::ActuadorReleIzquierdo;
    case TActuador::Seta:
        return TTipoComponente::ActuadorSeta;
    case TActuador::Rodillo:
        return TTipoComponente::ActuadorRodillo;
    case TActuador::Escamoteable:
        return TTipoComponente::ActuadorEscamoteable;
    }
    return TTipoComponente::ActuadorSeta;
}

} // namespace

TAerValvula::TAerValvula(TAerPaintBox& L, bool Mono, TActuador A, TTipoComponente T)
    : TAerComponente(L, T), Remoto(A == TActuador::Pilotado || A == TActuador::Rele),
      // Push-button and roller valves always return by spring: there is no
      // second actuator of their kind, and a bistable one could never return.
      Monoestable(Mono || !Remoto), Actuador(A),
      Rodillo(A == TActuador::Rodillo || A == TActuador::Escamoteable),
      Escamoteable(A == TActuador::Escamoteable) {}

TAerValvula* TAerValvula::Crear(TAerPaintBox& L, bool Mono, TActuador A, TTipoComponente T) {
    auto v = std::make_unique<TAerValvula>(L, Mono, A, T);
    TAerValvula* valvula = v.get();
    v->CrearConexiones();

    auto subelemento = [&](TTipoComponente Tipo) {
        auto s = std::make_unique<TAerComponente>(L, Tipo);
        TAerComponente* sub = s.get();
        s->CrearConexiones();
        valvula->Adoptar(std::move(s));
        return sub;
    };
    // A pilot actuator's port belongs to the valve, so tubes reach it there.
    auto subirPiloto = [&](TAerComponente* Actuador) {
        if (Actuador->Elementos.Count() > 0)
            Actuador->Elemento(0)->SetPadre(valvula);
    };

    TAerComponente* izquierdo = subelemento(ActuadorIzquierdo(A));
    if (A == TActuador::Rele || A == TActuador::Seta)
        L.RefActuadores.Agregar(std::make_unique<TComponenteItem>(izquierdo));
    if (A == TActuador::Pilotado)
        subirPiloto(izquierdo);
    if (A == TActuador::Rodillo)
        subelemento(TTipoComponente::ActuadorAnclaje);

    if (valvula->Monoestable) {
        subelemento(TTipoComponente::ActuadorMuelle);
    } else if (A == TActuador::Pilotado) {
        subirPiloto(subelemento(TTipoComponente::ActuadorPilotadoDerecho));
    } else {
        TAerComponente* derecho = subelemento(TTipoComponente::ActuadorReleDerecho);
        L.RefActuadores.Agregar(std::make_unique<TComponenteItem>(derecho));
    }
    return static_cast<TAerValvula*>(L.Componentes.Agregar(std::move(v)));
}

void TAerValvula::SetCilindro(TAerComponente* Elemento) {
    Cilindro = Elemento && Elemento->EsCilindro() ? Elemento : nullptr;
}

} // namespace ventix
