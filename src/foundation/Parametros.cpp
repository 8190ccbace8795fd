#include "foundation/Parametros.h"

#include "foundation/Numeros.h"

#include <cmath>
#include <limits>

namespace ventix {

namespace {

[[noreturn]] void ErrorParametros(const std::string& Detalle) {
    throw EColeccionError("Error TParametros.\r\n" + Detalle);
}

double TextoAReal(const std::string& Texto) {
    try {
        return TextoANumero(Texto);
    } catch (const std::exception&) {
        ErrorParametros("Se ha intentado convertir a número un String no válido");
    }
}

} // namespace

std::int32_t EnteroRedondeado(double Valor) {
    if (std::isnan(Valor))
        return 0;
    const double t = std::trunc(Valor + 0.5);
    if (t >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    if (t <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(t);
}

void TParametro::SetReal(double Valor) {
    Real = Valor;
    Tipo = tpReal;
    Cambiado(cmModificado);
}

void TParametro::SetBooleano(bool Valor) {
    Booleano = Valor;
    Tipo = tpBooleano;
    Cambiado(cmModificado);
}

void TParametro::SetEntero(std::int32_t Valor) {
    Entero = Valor;
    Tipo = tpEntero;
    Cambiado(cmModificado);
}

void TParametro::SetTexto(const std::string& Valor) {
    Texto = Valor;
    Tipo = tpTexto;
    Cambiado(cmModificado);
}

double TParametro::AsReal() const {
    switch (Tipo) {
    case tpVacio:
        return 0.0;
    case tpReal:
        return Real;
    case tpBooleano:
        return Booleano ? 1.0 : 0.0;
    case tpEntero:
        return Entero;
    case tpTexto:
        return TextoAReal(Texto);
    }
    ErrorParametros("Se ha intentado acceder a un parámetro de tipo desconocido");
}

std::int32_t TParametro::AsEntero() const {
    switch (Tipo) {
    case tpVacio:
        return 0;
    case tpReal:
        return EnteroRedondeado(Real);
    case tpBooleano:
        return Booleano ? 1 : 0;
    case tpEntero:
        return Entero;
    case tpTexto:
        return EnteroRedondeado(TextoAReal(Texto));
    }
    ErrorParametros("Se ha intentado acceder a un parámetro de tipo desconocido");
}

std::string TParametro::AsTexto() const {
    switch (Tipo) {
    case tpVacio:
        return {};
    case tpReal:
        return NumeroATexto(Real);
    case tpBooleano:
        return Booleano ? "TRUE" : "FALSE";
    case tpEntero:
        return std::to_string(Entero);
    case tpTexto:
        return Texto;
    }
    ErrorParametros("Se ha intentado acceder a un parámetro de tipo desconocido");
}

void TParametro::Assign(const TColeccionItem& Origen) {
    TColeccionItem::Assign(Origen);
    if (const auto* p = dynamic_cast<const TParametro*>(&Origen)) {
        Tipo = p->Tipo;
        Real = p->Real;
        Booleano = p->Booleano;
        Entero = p->Entero;
        Texto = p->Texto;
    }
}

TParametros::TParametros() : Parametros(TParametro::Clase()) {}

TParametro* TParametros::BuscarParametro(const std::string& Nombre) const {
    return static_cast<TParametro*>(Parametros.Buscar(Nombre));
}

TParametro& TParametros::Param(const std::string& Nombre) const {
    if (auto* p = BuscarParametro(Nombre))
        return *p;
    ErrorParametros("No existe el parámetro \"" + Nombre + "\"");
}

TParametro& TParametros::Agregar(const std::string& Nombre) {
    auto p = std::make_unique<TParametro>();
    p->SetNombre(Nombre);
    return *Parametros.Agregar(std::move(p));
}

void TParametros::Assign(const TColeccionItem& Origen) {
    if (const auto* p = dynamic_cast<const TParametros*>(&Origen))
        Parametros.Assign(p->Parametros);
    TColeccionItem::Assign(Origen);
}

} // namespace ventix
