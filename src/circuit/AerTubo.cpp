#include "circuit/AerTubo.h"

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"

#include <QPainter>

namespace ventix {

TAerTubo::TAerTubo(TAerPaintBox& L)
    : TAerComponente(L, TTipoComponente::Tubo), Vertices(TAerVertice::Clase()) {}

TAerTubo* TAerTubo::Crear(TAerPaintBox& L) {
    return static_cast<TAerTubo*>(L.Tubos.Agregar(std::make_unique<TAerTubo>(L)));
}

void TAerTubo::Soltar(TAerConexion* Punto) {
    Punto->Tubo = nullptr;
    Punto->PoseCambiada(); // an open port shows an exhaust
    if (auto* padre = Punto->GetPadre())
        padre->ActualizarSentido();
}

TAerTubo::~TAerTubo() {
    // Vertices first, while the tube's ends are still known; each vertex
    // takes its own reference entry with it.
    Ultimo = nullptr;
    Vertices.BorrarTodo();
    bool unido = false;
    for (TAerConexion* punto : {Inicio, Fin}) {
        if (punto && punto->Tubo == this) {
            Soltar(punto);
            unido = true;
        }
    }
    // A pilot line may have run through this tube.
    if (unido && Inicio && Fin)
        GetLienzo().TubosCambiados();
}

void TAerTubo::SetInicio(TAerConexion* Punto) {
    if (Punto) {
        // A point the tube leaves no longer holds it: it would otherwise
        // keep naming the tube after the tube was gone.
        const bool deja = Inicio && Inicio != Punto && Inicio->Tubo == this;
        if (deja)
            Soltar(Inicio);
        const bool sustituye = deja || (Punto->Tubo && Punto->Tubo != this);
        Punto->Tubo = this;
        Punto->PoseCambiada();
        Inicio = Punto;
        Punto->Entrada = false;
        Punto->Salida = true;
        if (auto* padre = Punto->GetPadre())
            padre->ActualizarSentido();
        if (sustituye)
            GetLienzo().TubosCambiados();
    } else if (Inicio && Inicio->Tubo == this) {
        Inicio->Tubo = nullptr;
        Inicio->PoseCambiada();
        GetLienzo().TubosCambiados();
    }
}

void TAerTubo::SetFin(TAerConexion* Punto) {
    if (Punto) {
        // A point the tube leaves no longer holds it: it would otherwise
        // keep naming the tube after the tube was gone.
        const bool deja = Fin && Fin != Punto && Fin->Tubo == this;
        if (deja)
            Soltar(Fin);
        const bool sustituye = deja || (Punto->Tubo && Punto->Tubo != this);
        Punto->Tubo = this;
        Punto->PoseCambiada();
        Fin = Punto;
        Punto->Entrada = true;
        Punto->Salida = false;
        if (auto* padre = Punto->GetPadre())
            padre->ActualizarSentido();
        if (sustituye)
            GetLienzo().TubosCambiados();
    } else if (Fin && Fin->Tubo == this) {
        Fin->Tubo = nullptr;
        Fin->PoseCambiada();
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
    // Every stretch with the same pen and the circuit's mapping, set once.
    QPainter* g = L.GetGraphics();
    if (!g)
        return;
    g->save();
    g->setTransform(L.TransformPantalla());
    g->setPen(PlumaDeTramo());
    g->setBrush(Qt::NoBrush);
    TCADCoordenada a{Inicio->XMundo, Inicio->YMundo};
    for (int i = 0; i < Vertices.Count(); ++i) {
        const auto* v = Vertice(i);
        const TCADCoordenada b{v->X, v->Y};
        TrazarTramo(*g, a, b, v->GetLinea());
        a = b;
    }
    if (!Fin)
        TrazarTramo(*g, a, Provisional, Linea);
    else if (Vertices.Count() == 0)
        // A tube read with no vertex still joins its two points.
        TrazarTramo(*g, a, {Fin->XMundo, Fin->YMundo}, lnRecta);
    g->restore();
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

const QPen& TAerTubo::PlumaDeTramo() {
    const auto& L = GetLienzo();
    // The pen is made at the first drawing: until then the tube shares Qt's
    // default pen, and a circuit read to be checked holds no pen data.
    Pluma.setWidthF(0.2);
    Pluma.setCapStyle(Qt::RoundCap);
    Pluma.setJoinStyle(Qt::RoundJoin);
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
    return Pluma;
}

void TAerTubo::TrazarTramo(QPainter& G, const TCADCoordenada& A, const TCADCoordenada& B,
                           int LineaTramo) {
    const auto puntos = Trazado(A, B, LineaTramo);
    if (puntos.size() < 2)
        return;
    QPointF linea[4];
    for (std::size_t i = 0; i < puntos.size(); ++i)
        linea[i] = QPointF(puntos[i].X, puntos[i].Y);
    G.drawPolyline(linea, static_cast<int>(puntos.size()));
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
