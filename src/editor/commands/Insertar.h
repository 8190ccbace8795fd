#pragma once

#include "circuit/TipoComponente.h"

namespace ventix {

class TAerComponente;
class TAerPaintBox;

// Creates a new element of a type in the circuit: a spring-return valve with
// the given actuator, a text, or a plain component (a regulator fully open).
// The caller places it under the pointer.
TAerComponente* Insertar(TAerPaintBox& Lienzo, TTipoComponente Tipo, TActuador Actuador);

} // namespace ventix
