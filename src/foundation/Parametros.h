#pragma once

#include "foundation/Coleccion.h"

#include <cstdint>
#include <string>

namespace ventix {

// Which field of a parameter holds its value.
enum : std::uint8_t { tpVacio = 0, tpReal = 1, tpBooleano = 2, tpEntero = 3, tpTexto = 4 };

// One named value, stored with the type it was last set with and converted on
// reading, so a value read from a file as text, integer or real reads back in
// any of the three forms.
class TParametro : public TColeccionItem {
    VENTIX_CLASE(TParametro, TColeccionItem)

    void SetReal(double Valor);
    void SetBooleano(bool Valor);
    void SetEntero(std::int32_t Valor);
    void SetTexto(const std::string& Valor);

    // Conversions: see the table in the implementation. Text that is no
    // number raises EColeccionError; the value stays as it is.
    double AsReal() const;
    std::int32_t AsEntero() const;
    std::string AsTexto() const;

    std::uint8_t GetTipo() const { return Tipo; }
    void Assign(const TColeccionItem& Origen) override;

protected:
    // Only for the check of unknown types; every setter keeps it in 0..4.
    void ForzarTipo(std::uint8_t T) { Tipo = T; }

private:
    std::uint8_t Tipo = tpVacio;
    double Real = 0.0;
    bool Booleano = false;
    std::int32_t Entero = 0;
    std::string Texto;
};

// A named parameter set: the base of layers, drawing entities and catalogue
// entries, which keep their attributes as parameters. Descendants add their
// parameters in the constructor (`Agregar`) and reach them through `Param`.
class TParametros : public TColeccionItem {
    VENTIX_CLASE(TParametros, TColeccionItem)

    TParametros();

    TColeccion Parametros;

    TParametro* BuscarParametro(const std::string& Nombre) const;
    // The parameter of that name; raises EColeccionError when the set has none.
    TParametro& Param(const std::string& Nombre) const;
    // Adds a parameter of that name (unique in the set) and returns it.
    TParametro& Agregar(const std::string& Nombre);

    void Assign(const TColeccionItem& Origen) override;
};

// "Integer part of x + 0.5", toward zero: the rounding of AsEntero. Values
// beyond the 32-bit range saturate; NaN gives 0.
std::int32_t EnteroRedondeado(double Valor);

} // namespace ventix
