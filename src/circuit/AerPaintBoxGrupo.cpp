#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <set>

// Several elements selected at once: the rubber band, Ctrl+click, and moving
// or turning them together.

namespace ventix {

namespace {

bool Contiene(const std::vector<TAerComponente*>& V, const TAerComponente* e) {
    return std::find(V.begin(), V.end(), e) != V.end();
}

// A linked text keeps its offset from its element: the new one, after both
// have moved.
void Reenlazar(const std::vector<TAerComponente*>& Elementos) {
    for (auto* e : Elementos)
        if (auto* t = dynamic_cast<TAerTexto*>(e); t && t->GetAsociado())
            t->SetAsociado(t->GetAsociado());
}

} // namespace

bool TAerPaintBox::EsDeNivelSuperior(const TAerComponente* e) const {
    return e && (e->GetColeccion() == &Componentes || e->GetColeccion() == &Textos);
}

std::vector<TAerComponente*> TAerPaintBox::Seleccion() const {
    if (!Grupo.empty())
        return Grupo;
    if (EsDeNivelSuperior(Seleccionado))
        return {Seleccionado};
    return {};
}

void TAerPaintBox::SeleccionarGrupo(const std::vector<TAerComponente*>& Elementos) {
    Deseleccionar();
    if (Elementos.size() == 1) {
        Seleccionar(Elementos.front());
        return;
    }
    Grupo = Elementos;
    for (auto* e : Grupo)
        e->Marcado = true;
}

// The selection becomes these elements: one goes through the window's
// choice as a click would, several make a group.
void TAerPaintBox::ElegirVarios(std::vector<TAerComponente*> Elementos) {
    bool Aceptar = true;
    if (Elementos.size() == 1) {
        Deseleccionar();
        TAerComponente* e = Elementos.front();
        if (OnSeleccionar)
            OnSeleccionar(e, Aceptar);
        if (Aceptar)
            Seleccionar(e);
        return;
    }
    if (OnSeleccionar)
        OnSeleccionar(nullptr, Aceptar);
    SeleccionarGrupo(Elementos);
}

void TAerPaintBox::AlternarEnSeleccion(TAerComponente* e) {
    auto s = Seleccion();
    if (EsDeNivelSuperior(e)) {
        if (auto i = std::find(s.begin(), s.end(), e); i != s.end())
            s.erase(i);
        else
            s.push_back(e);
    }
    ElegirVarios(std::move(s));
}

void TAerPaintBox::SoltarBanda() {
    Banda = false;
    const double x0 = std::min(InicioBanda.X, PosicionRaton.X);
    const double x1 = std::max(InicioBanda.X, PosicionRaton.X);
    const double y0 = std::min(InicioBanda.Y, PosicionRaton.Y);
    const double y1 = std::max(InicioBanda.Y, PosicionRaton.Y);
    std::vector<TAerComponente*> Dentro;
    for (TColeccion* Lista : {&Componentes, &Textos})
        for (int i = 0; i < Lista->Count(); ++i) {
            auto* e = Lista->ItemComo<TAerComponente>(i);
            if (e->X >= x0 && e->X <= x1 && e->Y >= y0 && e->Y <= y1)
                Dentro.push_back(e);
        }
    if (!Dentro.empty())
        ElegirVarios(std::move(Dentro));
}

std::vector<TAerTubo*>
TAerPaintBox::TubosEntre(const std::vector<TAerComponente*>& Elementos) const {
    std::vector<TAerTubo*> r;
    for (int i = 0; i < Tubos.Count(); ++i) {
        auto* t = Tubos.ItemComo<TAerTubo>(i);
        if (t && t->Inicio && t->Fin && Contiene(Elementos, t->Inicio->GetPadre()) &&
            Contiene(Elementos, t->Fin->GetPadre()))
            r.push_back(t);
    }
    return r;
}

void TAerPaintBox::MoverGrupo(const std::vector<TAerComponente*>& Elementos, double DX, double DY) {
    for (auto* e : Elementos) {
        e->X += DX;
        e->Y += DY;
    }
    Reenlazar(Elementos);
    for (auto* t : TubosEntre(Elementos))
        for (int k = 0; k < t->Vertices.Count(); ++k) {
            TAerVertice* v = t->Vertice(k);
            v->PoseCambiada();
            v->X += DX;
            v->Y += DY;
        }
}

TCADCoordenada TAerPaintBox::CentroGrupo(const std::vector<TAerComponente*>& Elementos) {
    if (Elementos.empty())
        return {};
    double x0 = Elementos.front()->X, x1 = x0, y0 = Elementos.front()->Y, y1 = y0;
    for (auto* e : Elementos) {
        x0 = std::min(x0, e->X);
        x1 = std::max(x1, e->X);
        y0 = std::min(y0, e->Y);
        y1 = std::max(y1, e->Y);
    }
    // On the grid, so that turning a group keeps it there.
    return {std::nearbyint(x0 + x1) / 2.0, std::nearbyint(y0 + y1) / 2.0};
}

void TAerPaintBox::GirarGrupo(const std::vector<TAerComponente*>& Elementos) {
    const TCADCoordenada c = CentroGrupo(Elementos);
    // A quarter turn counter-clockwise about the centre.
    auto Girar = [&](double& x, double& y) {
        const double dx = x - c.X, dy = y - c.Y;
        x = c.X - dy;
        y = c.Y + dx;
    };
    for (auto* e : Elementos) {
        e->Alfa += 90.0;
        Girar(e->X, e->Y);
    }
    Reenlazar(Elementos);
    for (auto* t : TubosEntre(Elementos))
        for (int k = 0; k < t->Vertices.Count(); ++k) {
            t->Vertice(k)->PoseCambiada();
            Girar(t->Vertice(k)->X, t->Vertice(k)->Y);
        }
}

void TAerPaintBox::ReflejarGrupo(const std::vector<TAerComponente*>& Elementos) {
    const TCADCoordenada c = CentroGrupo(Elementos);
    // About the vertical line through the centre: each element is drawn
    // mirrored, and a turn the other way keeps its pose a mirror image.
    for (auto* e : Elementos) {
        e->X = 2.0 * c.X - e->X;
        if (dynamic_cast<TAerTexto*>(e))
            continue;
        e->Simetrico = !e->Simetrico;
        if (e->Alfa != 0.0)
            e->Alfa = -e->Alfa;
    }
    Reenlazar(Elementos);
    for (auto* t : TubosEntre(Elementos))
        for (int k = 0; k < t->Vertices.Count(); ++k) {
            t->Vertice(k)->PoseCambiada();
            t->Vertice(k)->X = 2.0 * c.X - t->Vertice(k)->X;
        }
}

void TAerPaintBox::BorrarElementos(const std::vector<TAerComponente*>& Elementos) {
    // By ID: deleting a component deletes its texts, which may be listed too.
    std::vector<std::int32_t> IDs;
    for (auto* e : Elementos)
        IDs.push_back(e->GetID());
    for (auto id : IDs) {
        auto* e = static_cast<TAerComponente*>(Componentes.BuscarID(id));
        if (!e)
            e = static_cast<TAerComponente*>(Textos.BuscarID(id));
        if (e) {
            Seleccionar(e);
            BorrarSeleccion();
        }
    }
    Deseleccionar();
}

void TAerPaintBox::DibujarBanda() {
    QPainter* g = GetGraphics();
    if (!Banda || !g)
        return;
    g->save();
    g->setTransform(TransformPantalla());
    QPen p(QColor(0, 0, 160));
    p.setStyle(Qt::DashLine);
    p.setCosmetic(true);
    g->setPen(p);
    g->setBrush(QColor(0, 0, 160, 24));
    g->drawRect(
        QRectF(QPointF(InicioBanda.X, InicioBanda.Y), QPointF(PosicionRaton.X, PosicionRaton.Y))
            .normalized());
    g->restore();
}

} // namespace ventix
