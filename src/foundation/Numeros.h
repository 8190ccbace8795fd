#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace ventix {

// A text that is no number: "'%s' no es un número válido".
class EConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Text to number, independent of the process locale. Blanks and control
// characters around the text are ignored; an empty text gives 0. Accepts an
// optional sign, digits with an optional fraction and an optional exponent;
// the decimal separator is a point, or a comma in place of the first point.
// No hexadecimal, no "inf" or "nan". Raises EConversionError otherwise.
double TextoANumero(std::string_view Texto);

// Number to text in general format with at most 15 significant digits: the
// shortest text that reads back to the same 15-digit value, a point as the
// separator, fixed notation when 1E-5 <= |x| < 1E15, otherwise mantissa, "E"
// and exponent with no plus sign and no leading zeros (1E-6, 1.5E20).
std::string NumeroATexto(double Valor);

// As NumeroATexto wherever that text reads back to the same double; otherwise
// the shortest text in the same form that does (up to 17 digits), so a value
// written and read again is never changed or refused.
std::string NumeroATextoExacto(double Valor);

} // namespace ventix
