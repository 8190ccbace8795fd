#include "cad/Simbolos.h"

#include "cad/PaintBox.h"

#include <QColor>

#include <algorithm>
#include <cmath>

namespace ventix {

double Redondear6(double x) {
    return std::nearbyint(x * 1e6) / 1e6;
}

// ---- TCADBloque ----

TCADBloque::TCADBloque() : Entidades(TCADEntidad::Clase()) {}

void TCADBloque::TomarCapa(const TCADCapa& Capa) {
    for (int i = 0; i < Capa.Entidades.Count(); ++i) {
        auto* e = Capa.Entidades.ItemComo<TCADEntidad>(i);
        if (!e)
            continue;
        if (e->GetTipo() >= teLinea) {
            Entidades.Agregar(e->Clone());
        } else if (auto* p = dynamic_cast<const TCADEntidadPunto*>(e)) {
            BaseX = Redondear6(p->GetX());
            BaseY = Redondear6(p->GetY());
        }
    }
    for (int i = 0; i < Entidades.Count(); ++i)
        Entidades.ItemComo<TCADEntidad>(i)->Desplazar(-BaseX, -BaseY, 0);
    CalcularLimites();
}

void TCADBloque::CalcularLimites() {
    Limites = {};
    for (int i = 0; i < Entidades.Count(); ++i) {
        const TCADLimites& l = Entidades.ItemComo<TCADEntidad>(i)->Limites;
        if (i == 0) {
            Limites = l;
            continue;
        }
        // Plain widening: a flat entity (a horizontal line) still counts.
        Limites.Left = std::min(Limites.Left, l.Left);
        Limites.Right = std::max(Limites.Right, l.Right);
        Limites.Top = std::max(Limites.Top, l.Top);
        Limites.Bottom = std::min(Limites.Bottom, l.Bottom);
    }
    Limites.Left = Redondear6(Limites.Left);
    Limites.Top = Redondear6(Limites.Top);
    Limites.Right = Redondear6(Limites.Right);
    Limites.Bottom = Redondear6(Limites.Bottom);
    const TCADRectF r = Limites.ARectF();
    Region = TArea(QRectF(r.X, r.Y, r.Width, r.Height));
}

void TCADBloque::Dibujar(TCADPaintBox& View, TCADRegion* Destino, bool Dibujar, double t) {
    // A block drawn at scale 0 cannot be posed; the library refuses to load
    // one, and a block built otherwise simply keeps its drawn size.
    const double rx = EscalaIniX != 0 ? EscalaFinX / EscalaIniX : 1.0;
    const double ry = EscalaIniY != 0 ? EscalaFinY / EscalaIniY : 1.0;
    const int estado = View.PushTransform(BaseX + t * DeltaX, BaseY + t * DeltaY,
                                          RotacionX + t * (RotacionY - RotacionX), 1 + t * (rx - 1),
                                          1 + t * (ry - 1));
    Matriz = View.TransformActual();
    if (Dibujar) {
        try {
            for (int i = 0; i < Entidades.Count(); ++i)
                View.DibujarEntidad(*Entidades.ItemComo<TCADEntidad>(i));
        } catch (...) {
            View.PopTransform(estado);
            throw;
        }
    }
    View.PopTransform(estado);
    if (Destino) {
        Destino->Region.Vaciar();
        Destino->Region.UnirTransformada(Region, Matriz);
    }
}

void TCADBloque::Assign(const TColeccionItem& Origen) {
    if (auto* b = dynamic_cast<const TCADBloque*>(&Origen)) {
        Entidades.Assign(b->Entidades);
        Region = b->Region;
        Limites = b->Limites;
        BaseX = b->BaseX;
        BaseY = b->BaseY;
        DeltaX = b->DeltaX;
        DeltaY = b->DeltaY;
        EscalaIniX = b->EscalaIniX;
        EscalaIniY = b->EscalaIniY;
        EscalaFinX = b->EscalaFinX;
        EscalaFinY = b->EscalaFinY;
        RotacionX = b->RotacionX;
        RotacionY = b->RotacionY;
    }
    TColeccionItem::Assign(Origen);
}

// ---- TCADComponente ----

TCADComponente::TCADComponente() : Bloques(TCADBloque::Clase()) {}

void TCADComponente::NormalizarBases() {
    if (Bloques.Count() == 0)
        return;
    auto* primero = Bloques.ItemComo<TCADBloque>(0);
    const double bx = primero->BaseX, by = primero->BaseY;
    primero->BaseX = 0;
    primero->BaseY = 0;
    for (int i = 1; i < Bloques.Count(); ++i) {
        auto* b = Bloques.ItemComo<TCADBloque>(i);
        b->BaseX -= bx;
        b->BaseY -= by;
    }
}

void TCADComponente::Dibujar(TCADPaintBox& View, TColeccion& Regiones, bool Dibujar,
                             double Estado) {
    for (int i = 0; i < Bloques.Count(); ++i) {
        TCADRegion* r = i < Regiones.Count() ? Regiones.ItemComo<TCADRegion>(i) : nullptr;
        Bloques.ItemComo<TCADBloque>(i)->Dibujar(View, r, Dibujar, Estado);
    }
}

void TCADComponente::Assign(const TColeccionItem& Origen) {
    if (auto* c = dynamic_cast<const TCADComponente*>(&Origen))
        Bloques.Assign(c->Bloques);
    TColeccionItem::Assign(Origen);
}

// ---- TCADIndividuo ----

struct TCADIndividuo::TPose {
    TColeccion Regiones{TCADRegion::Clase()};
    TCADRegion Region;
};

TCADIndividuo::TCADIndividuo() = default;
TCADIndividuo::~TCADIndividuo() = default;

const TColeccion& TCADIndividuo::Regiones() const {
    static const TColeccion ninguna(TCADRegion::Clase());
    return Pose ? Pose->Regiones : ninguna;
}

const TCADRegion& TCADIndividuo::Region() const {
    static const TCADRegion ninguna;
    return Pose ? Pose->Region : ninguna;
}

void TCADIndividuo::SetComponente(TCADComponente* C) {
    if (C == Componente)
        return;
    Componente = C;
    if (Pose)
        Pose->Regiones.BorrarTodo();
}

void TCADIndividuo::Dibujar(TCADPaintBox& View, bool Dibujar) {
    if (!Componente || !Visible)
        return;
    const QColor pluma = View.Pen.color();
    const QColor relleno = View.Brush.color();
    View.Pen.setColor(QColor::fromRgba(Color));
    View.Brush.setColor(QColor::fromRgba(Color));
    const int estado = View.PushTransform(X, Y, Angulo, EscalaX, EscalaY);
    const auto restaurar = [&] {
        View.PopTransform(estado);
        View.Pen.setColor(pluma);
        View.Brush.setColor(relleno);
    };
    try {
        if (!Pose)
            Pose = std::make_unique<TPose>();
        for (int i = Pose->Regiones.Count(); i < Componente->Bloques.Count(); ++i)
            Crear<TCADRegion>(Pose->Regiones);
        Componente->Dibujar(View, Pose->Regiones, Dibujar, Estado);
    } catch (...) {
        restaurar();
        throw;
    }
    const QTransform matriz = View.TransformActual();
    TArea& area = Pose->Region.Region;
    area.Vaciar();
    for (int i = 0; i < Pose->Regiones.Count(); ++i)
        area.UnirTransformada(Pose->Regiones.ItemComo<TCADRegion>(i)->Region, matriz);
    const QRectF b = area.Limites();
    Bounds = {static_cast<float>(b.x()), static_cast<float>(b.y()), static_cast<float>(b.width()),
              static_cast<float>(b.height())};
    restaurar();
}

QTransform TCADIndividuo::Colocacion() const {
    // The level Dibujar opens (TCADPaintBox::PushTransform), step by step.
    QTransform m;
    m.translate(X, Y);
    if (Angulo != 0)
        m.rotate(Angulo);
    if (!(EscalaX == 0 && EscalaY == 0))
        m.scale(EscalaX, EscalaY);
    return m;
}

} // namespace ventix
