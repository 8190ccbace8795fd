#include "cad/Entidades.h"

#include <algorithm>
#include <cmath>

namespace ventix {

// ---------------------------------------------------------------- point

void TCADPunto::SetX(double V) {
    if (V != X) {
        X = V;
        Cambiado(cmModificado);
    }
}

void TCADPunto::SetY(double V) {
    if (V != Y) {
        Y = V;
        Cambiado(cmModificado);
    }
}

void TCADPunto::SetZ(double V) {
    if (V != Z) {
        Z = V;
        Cambiado(cmModificado);
    }
}

void TCADPunto::Assign(const TColeccionItem& Origen) {
    if (const auto* p = dynamic_cast<const TCADPunto*>(&Origen)) {
        X = p->X;
        Y = p->Y;
        Z = p->Z;
    }
    TColeccionItem::Assign(Origen);
}

// ---------------------------------------------------------------- entity

TCADEntidad::TCADEntidad() : Puntos(TCADPunto::Clase()) {
    Parametros.BeginUpdate();
    Agregar("Tipo").SetEntero(teNinguna);
    Agregar("TipoText").SetTexto("");
    Agregar("SubClaseText").SetTexto("");
    Agregar("Color").SetEntero(0);
    Agregar("ColorRGB").SetEntero(0);
    Agregar("Grosor").SetReal(0.0);
    Parametros.EndUpdate();
    Parametros.OnCambio = [this](TColeccionItem*) { CambioEntidad(); };
    Puntos.OnCambio = [this](TColeccionItem*) { CambioEntidad(); };
}

void TCADEntidad::Iniciar(std::uint8_t Tipo, std::initializer_list<const char*> Reales,
                          std::initializer_list<const char*> NombresPuntos) {
    Parametros.BeginUpdate();
    Puntos.BeginUpdate();
    Param("Tipo").SetEntero(Tipo);
    for (const char* n : Reales)
        Agregar(n).SetReal(0.0);
    for (const char* n : NombresPuntos)
        AgregarPunto(n);
    Puntos.EndUpdate();
    Parametros.EndUpdate();
}

TCADPunto& TCADEntidad::AgregarPunto(const std::string& Nombre) {
    auto p = std::make_unique<TCADPunto>();
    p->SetNombre(Nombre);
    return *Puntos.Agregar(std::move(p));
}

TCADPunto* TCADEntidad::Punto(const std::string& Nombre) const {
    return static_cast<TCADPunto*>(Puntos.Buscar(Nombre));
}

void TCADEntidad::CambioEntidad() {
    TrazoGuardado.reset();
    CalcularLimites();
    if (GetColeccion())
        Cambiado(cmModificado);
}

void TCADEntidad::Mover(TCADPunto& P, double dx, double dy, double dz) {
    if (dx != 0)
        P.SetX(P.GetX() + dx);
    if (dy != 0)
        P.SetY(P.GetY() + dy);
    if (dz != 0)
        P.SetZ(P.GetZ() + dz);
}

void TCADEntidad::Desplazar(double, double, double) {}

void TCADEntidad::Assign(const TColeccionItem& Origen) {
    TrazoGuardado.reset();
    if (const auto* e = dynamic_cast<const TCADEntidad*>(&Origen))
        Puntos.Assign(e->Puntos);
    TParametros::Assign(Origen);
    TrazoGuardado.reset();
}

namespace {

// Coordinates reach the painter in single precision, as the drawing expects.
double F(double v) {
    return static_cast<float>(v);
}

// Lines of a text: CR LF breaks lines (a lone CR or LF as well).
std::vector<QString> LineasDe(const std::string& Texto) {
    std::vector<QString> r;
    std::string actual;
    for (std::size_t i = 0; i < Texto.size(); ++i) {
        const char c = Texto[i];
        if (c == '\r' || c == '\n') {
            r.push_back(QString::fromUtf8(actual));
            actual.clear();
            if (c == '\r' && i + 1 < Texto.size() && Texto[i + 1] == '\n')
                ++i;
        } else {
            actual += c;
        }
    }
    r.push_back(QString::fromUtf8(actual));
    return r;
}

} // namespace

const TCADTrazo& TCADEntidad::Trazo() const {
    if (TrazoGuardado)
        return *TrazoGuardado;
    auto t = std::make_unique<TCADTrazo>();
    t->Grosor = std::max(0.0, F(GetGrosor()));
    switch (GetTipo()) {
    case teLinea:
        if (auto* l = dynamic_cast<const TCADLinea*>(this)) {
            t->Tipo = teLinea;
            t->Puntos = {QPointF(F(l->P1().GetX()), F(l->P1().GetY())),
                         QPointF(F(l->P2().GetX()), F(l->P2().GetY()))};
        }
        break;
    case teCirculo:
    case teArco:
        if (auto* c = dynamic_cast<const TCADCirculo*>(this)) {
            t->Tipo = teCirculo;
            const double r = c->GetRadio();
            t->Puntos = {QPointF(F(c->Centro().GetX() - r), F(c->Centro().GetY() - r)),
                         QPointF(F(2 * r), F(2 * r))};
            if (auto* a = dynamic_cast<const TCADArco*>(this)) {
                t->Arco = true;
                t->Alfa1 = F(a->GetAlfa1());
                t->Barrido = F(a->GetAlfa2() - a->GetAlfa1());
            }
        }
        break;
    case tePolilinea:
        t->Tipo = tePolilinea;
        for (int i = 0; i < Puntos.Count(); ++i) {
            auto* p = Puntos.ItemComo<TCADPunto>(i);
            t->Puntos.emplace_back(F(p->GetX()), F(p->GetY()));
        }
        break;
    case tePoligono:
        if (auto* p = dynamic_cast<const TCADPoligono*>(this)) {
            t->Tipo = tePoligono;
            for (std::size_t i = 0; i + 1 < p->Vertices.size(); i += 2)
                t->Puntos.emplace_back(p->Vertices[i], p->Vertices[i + 1]);
        }
        break;
    case teTexto:
        if (auto* x = dynamic_cast<const TCADTexto*>(this)) {
            t->Altura = F(x->GetAltura());
            const std::string texto = x->GetTexto();
            if (t->Altura > 0 && std::isfinite(t->Altura) && !texto.empty()) {
                t->Tipo = teTexto;
                t->Puntos = {QPointF(F(x->Enlace().GetX()), F(x->Enlace().GetY()))};
                t->Lineas = LineasDe(texto);
            }
        }
        break;
    default:
        break;
    }
    TrazoGuardado = std::move(t);
    return *TrazoGuardado;
}

// ---------------------------------------------------------------- kinds

TCADEntidadPunto::TCADEntidadPunto() {
    Iniciar(tePunto, {"X", "Y", "Z"});
}

void TCADEntidadPunto::CalcularLimites() {
    Limites.Left = Limites.Right = GetX();
    Limites.Top = Limites.Bottom = GetY();
}

void TCADEntidadPunto::Desplazar(double dx, double dy, double dz) {
    if (dx != 0)
        SetX(GetX() + dx);
    if (dy != 0)
        SetY(GetY() + dy);
    if (dz != 0)
        SetZ(GetZ() + dz);
    CambioEntidad();
}

TCADLinea::TCADLinea() {
    Iniciar(teLinea, {}, {"P1", "P2"});
}

void TCADLinea::CalcularLimites() {
    const auto &a = P1(), &b = P2();
    Limites = {std::min(a.GetX(), b.GetX()), std::max(a.GetY(), b.GetY()),
               std::max(a.GetX(), b.GetX()), std::min(a.GetY(), b.GetY())};
}

void TCADLinea::Desplazar(double dx, double dy, double dz) {
    Puntos.BeginUpdate();
    Mover(P1(), dx, dy, dz);
    Mover(P2(), dx, dy, dz);
    Puntos.EndUpdate();
    CambioEntidad();
}

TCADCirculo::TCADCirculo() : TCADCirculo(teCirculo) {}

TCADCirculo::TCADCirculo(std::uint8_t Tipo) {
    Iniciar(Tipo, {"Radio"}, {"Centro"});
}

void TCADCirculo::CalcularLimites() {
    const auto& c = Centro();
    const double r = GetRadio();
    Limites = {c.GetX() - r, c.GetY() + r, c.GetX() + r, c.GetY() - r};
}

void TCADCirculo::Desplazar(double dx, double dy, double dz) {
    Puntos.BeginUpdate();
    Mover(Centro(), dx, dy, dz);
    Puntos.EndUpdate();
    CambioEntidad();
}

TCADArco::TCADArco() : TCADCirculo(teArco) {
    Iniciar(teArco, {"Alfa1", "Alfa2"});
}

TCADPolilinea::TCADPolilinea() : TCADPolilinea(tePolilinea) {}

TCADPolilinea::TCADPolilinea(std::uint8_t Tipo) {
    Iniciar(Tipo, {});
}

TCADPunto& TCADPolilinea::AgregarVertice(double X, double Y, double Z) {
    auto p = std::make_unique<TCADPunto>();
    p->SetX(X);
    p->SetY(Y);
    p->SetZ(Z);
    return *Puntos.Agregar(std::move(p));
}

void TCADPolilinea::CalcularLimites() {
    if (Puntos.Count() == 0)
        return;
    const auto* p0 = static_cast<TCADPunto*>(Puntos.Item(0));
    Limites = {p0->GetX(), p0->GetY(), p0->GetX(), p0->GetY()};
    for (int i = 1; i < Puntos.Count(); ++i) {
        const auto* p = static_cast<TCADPunto*>(Puntos.Item(i));
        Limites.Left = std::min(Limites.Left, p->GetX());
        Limites.Right = std::max(Limites.Right, p->GetX());
        Limites.Top = std::max(Limites.Top, p->GetY());
        Limites.Bottom = std::min(Limites.Bottom, p->GetY());
    }
}

void TCADPolilinea::Desplazar(double dx, double dy, double dz) {
    Puntos.BeginUpdate();
    for (int i = 0; i < Puntos.Count(); ++i)
        Mover(*static_cast<TCADPunto*>(Puntos.Item(i)), dx, dy, dz);
    Puntos.EndUpdate();
    CambioEntidad();
}

TCADPoligono::TCADPoligono() : TCADPolilinea(tePoligono) {}

void TCADPoligono::ActualizarVertices() {
    Vertices.resize(static_cast<std::size_t>(Puntos.Count()) * 2);
    for (int i = 0; i < Puntos.Count(); ++i) {
        const auto* p = static_cast<TCADPunto*>(Puntos.Item(i));
        Vertices[static_cast<std::size_t>(i) * 2] = static_cast<float>(p->GetX());
        Vertices[static_cast<std::size_t>(i) * 2 + 1] = static_cast<float>(p->GetY());
    }
}

void TCADPoligono::CalcularLimites() {
    ActualizarVertices();
    TCADPolilinea::CalcularLimites();
}

void TCADPoligono::Assign(const TColeccionItem& Origen) {
    TCADPolilinea::Assign(Origen);
    ActualizarVertices();
}

TCADTexto::TCADTexto() {
    Iniciar(teTexto, {"Altura", "ClipWidth", "Rotación"}, {"Enlace"});
    Parametros.BeginUpdate();
    Agregar("Texto").SetTexto("");
    Agregar("Alineación").SetEntero(0);
    Parametros.EndUpdate();
}

void TCADTexto::CalcularLimites() {
    const auto& e = Enlace();
    Limites = {e.GetX(), e.GetY() + GetAltura(), e.GetX() + GetClipWidth(), e.GetY()};
}

void TCADTexto::Desplazar(double dx, double dy, double dz) {
    Puntos.BeginUpdate();
    Mover(Enlace(), dx, dy, dz);
    Puntos.EndUpdate();
    CambioEntidad();
}

// ---------------------------------------------------------------- layer

TCADCapa::TCADCapa() : Entidades(TCADEntidad::Clase()) {
    Agregar("Color").SetEntero(0);
    Agregar("Línea").SetTexto("");
    Agregar("Grosor").SetReal(0.0);
    Agregar("Activa").SetBooleano(false);
}

void TCADCapa::SetColor(std::int32_t V) {
    Param("Color").SetEntero(V);
    Cambiado(cmModificado);
}

void TCADCapa::SetLinea(const std::string& V) {
    Param("Línea").SetTexto(V);
    Cambiado(cmModificado);
}

void TCADCapa::SetGrosor(double V) {
    Param("Grosor").SetReal(V);
    Cambiado(cmModificado);
}

void TCADCapa::SetActiva(bool V) {
    Param("Activa").SetBooleano(V);
    Cambiado(cmModificado);
}

void TCADCapa::Assign(const TColeccionItem& Origen) {
    if (const auto* c = dynamic_cast<const TCADCapa*>(&Origen))
        Entidades.Assign(c->Entidades);
    TParametros::Assign(Origen);
}

} // namespace ventix
