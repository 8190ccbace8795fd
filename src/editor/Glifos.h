#pragma once

#include "circuit/TipoComponente.h"

#include <QIcon>
#include <QString>

namespace ventix {

class TAerLibreria;

// The glyphs of the window's buttons: line drawings of one style (dark grey
// strokes, a blue accent) made at start-up, 24 x 18 pixels like the rest of
// the button images.
QIcon Glifo(const QString& Nombre);

// A component type's own catalogue symbol, fitted into a button glyph of
// Ancho x Alto pixels; a null icon when the catalogue has no symbol for it.
QIcon GlifoSimbolo(const TAerLibreria& Libreria, TTipoComponente Tipo, int Ancho = 48,
                   int Alto = 36);

// The width in world units of a type's symbol in its initial pose; 0 when
// the catalogue has none.
double AnchoSimbolo(const TAerLibreria& Libreria, TTipoComponente Tipo);

} // namespace ventix
