#include "circuit/AerTubo.h"

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"

#include <QPainter>

namespace ventix {

TAerTubo::TAerTubo(TAerPaintBox& L)
    : TAerComponente(L, TTipoComponente::Tubo), Vertices(TAerVertice::Clase()),
      Pluma(QColor(0, 0, 0), 0.2) {
    Pluma.setCapStyle(Qt::RoundCap);
    Pluma.setJoinStyle(Qt::RoundJoin);
}

TAerTubo* TAerTubo::Crear(TAerPaintBox& L) {
    return static_cast<TAerTubo*>(L.Tubos.Agregar(std::make_unique<TAerTubo>(L)));
}

TAerTubo::~TAerTubo() {
    // Vertices first, while the tube's ends are still known; each vertex
    // takes its own reference entry with it.
    Ultimo = nullptr;
    Vertices.BorrarTodo();
    bool unido = false;
    for (TAerConexion* punto : {Inicio, Fin}) {
        if (punto && punto->Tubo == this) {
            punto->Tubo = nullptr;
            unido = true;
            if (auto* padre = punto->GetPadre())
                padre->ActualizarSentido();
        }
    }
    // A pilot line may have run through this tube.
    if (unido && Inicio && Fin)
        GetLienzo().TubosCambiados();
}

void TAerTubo::SetInicio(TAerConexion* Punto) {
    if (Punto) {
        const bool sustituye = Punto->Tubo && Punto->Tubo != this;
        Punto->Tubo = this;
        Inicio = Punto;
        Punto->Entrada = false;
        Punto->Salida = true;
        if (auto* padre = Punto->GetPadre())
            padre->ActualizarSentido();
        if (sustituye)
            GetLienzo().TubosCambiados();
    } else if (Inicio && Inicio->Tubo == this) {
        Inicio->Tubo = nullptr;
        GetLienzo().TubosCambiados();
    }
}

void TAerTubo::SetFin(TAerConexion* Punto) {
    if (Punto) {
        const bool sustituye = Punto->Tubo && Punto->Tubo != this;
        Punto->Tubo = this;
        Fin = Punto;
        Punto->Entrada = true;
        Punto->Salida = false;
        if (auto* padre = Punto->GetPadre())
            padre->ActualizarSentido();
        if (sustituye)
            GetLienzo().TubosCambiados();
    } else if (Fin && Fin->Tubo == this) {
        Fin->Tubo = nullptr;
        GetLienzo().TubosCambiados();
    }
}

void TAerTubo::SetLinea(int K) {
    Linea = (K >= 0 && K <= 4) ? K : lnVerticalHorizontalVertical;
}

TAerVertice* TAerTubo::AnadirVertice(const TCADCoordenada& P) {
    auto& L = GetLienzo();
    auto v = std::make_unique<TAerVertice>(L);
    v->X = P.X;
    v->Y = P.Y;
    v->Tubo = this;
    v->Linea = Linea;
    auto* vertice = static_cast<TAerVertice*>(Vertices.Agregar(std::move(v)));
    if (Ultimo) {
        Ultimo->Siguiente = vertice;
        vertice->Anterior = Ultimo;
    }
    Ultimo = vertice;
    L.RefVertices.Agregar(std::make_unique<TComponenteItem>(vertice));
    if (Fin)
        L.TubosCambiados();
    return vertice;
}

TAerVertice* TAerTubo::Vertice(int i) const {
    return Vertices.ItemComo<TAerVertice>(i);
}

void TAerTubo::Dibujar() {
    auto& L = GetLienzo();
    if (Fin && Ultimo) {
        Ultimo->X = Fin->XMundo;
        Ultimo->Y = Fin->YMundo;
    }
    if (L.Modo < mdEnclavar && L.MostrarVertices)
        for (int i = 0; i < Vertices.Count(); ++i)
            Vertice(i)->Dibujar();
    if (!Inicio)
        return;
    TCADCoordenada a{Inicio->XMundo, Inicio->YMundo};
    for (int i = 0; i < Vertices.Count(); ++i) {
        const auto* v = Vertice(i);
        const TCADCoordenada b{v->X, v->Y};
        DibujarTramo(a, b, v->GetLinea());
        a = b;
    }
    if (!Fin)
        DibujarTramo(a, Provisional, Linea);
    else if (Vertices.Count() == 0)
        // A tube read with no vertex still joins its two points.
        DibujarTramo(a, {Fin->XMundo, Fin->YMundo}, lnRecta);
}

std::vector<TCADCoordenada> TAerTubo::Trazado(const TCADCoordenada& A, const TCADCoordenada& B,
                                              int Linea) {
    switch (Linea) {
    case lnHorizontalVerticalHorizontal: {
        const double m = (A.X + B.X) / 2;
        return {A, {m, A.Y}, {m, B.Y}, B};
    }
    case lnHorizontalVertical:
        return {A, {B.X, A.Y}, B};
    case lnVerticalHorizontalVertical: {
        const double m = (A.Y + B.Y) / 2;
        return {A, {A.X, m}, {B.X, m}, B};
    }
    case lnVerticalHorizontal:
        return {A, {A.X, B.Y}, B};
    case lnRecta:
        return {A, B};
    default:
        return {};
    }
}

void TAerTubo::DibujarTramo(const TCADCoordenada& A, const TCADCoordenada& B, int LineaTramo) {
    auto& L = GetLienzo();
    QPainter* g = L.GetGraphics();
    if (!g)
        return;
    Pluma.setStyle(TuboControl == 1 && L.MostrarTubosControl ? Qt::DashLine : Qt::SolidLine);
    if (L.Modo >= mdEjecutar && L.Modo <= mdParado && L.MostrarPresiones) {
        switch (EstadoPresion) {
        case 0:
            Pluma.setColor(QColor::fromRgba(0xFF000000u));
            break;
        case 1:
            Pluma.setColor(QColor::fromRgba(0xFFFF0000u));
            break;
        case 2:
            Pluma.setColor(QColor::fromRgba(0xFF0000FFu));
            break;
        case 3:
            Pluma.setColor(QColor::fromRgba(0xFF008000u));
            break;
        default:
            break;
        }
    } else {
        Pluma.setColor(QColor::fromRgba(0xFF000000u));
    }
    const auto puntos = Trazado(A, B, LineaTramo);
    if (puntos.size() < 2)
        return;
    QPolygonF linea;
    for (const auto& p : puntos)
        linea << QPointF(p.X, p.Y);
    g->save();
    g->setTransform(L.TransformPantalla());
    g->setPen(Pluma);
    g->setBrush(Qt::NoBrush);
    g->drawPolyline(linea);
    g->restore();
}

TAerVertice::TAerVertice(TAerPaintBox& L) : TAerComponente(L, TTipoComponente::Vertice) {}

TAerVertice::~TAerVertice() {
    if (Anterior)
        Anterior->Siguiente = Siguiente;
    if (Siguiente)
        Siguiente->Anterior = Anterior;
    if (Tubo && Tubo->Ultimo == this)
        Tubo->Ultimo = Anterior;
}

void TAerVertice::SetLinea(int K) {
    if (K >= 0 && K <= 4)
        Linea = K;
}

} // namespace ventix
