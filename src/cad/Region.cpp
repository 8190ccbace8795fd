#include "cad/Region.h"

#include <algorithm>
#include <cmath>

namespace ventix {

namespace {

// Twice the signed area.
double AreaDoble(const QPolygonF& P) {
    double a = 0;
    for (qsizetype i = 0, n = P.size(); i < n; ++i) {
        const QPointF& p = P[i];
        const QPointF& q = P[(i + 1) % n];
        a += p.x() * q.y() - q.x() * p.y();
    }
    return a;
}

double Cruz(const QPointF& a, const QPointF& b, const QPointF& p) {
    return (b.x() - a.x()) * (p.y() - a.y()) - (b.y() - a.y()) * (p.x() - a.x());
}

bool SobreSegmento(const QPointF& a, const QPointF& b, const QPointF& p) {
    if (Cruz(a, b, p) != 0)
        return false;
    return p.x() >= std::min(a.x(), b.x()) && p.x() <= std::max(a.x(), b.x()) &&
           p.y() >= std::min(a.y(), b.y()) && p.y() <= std::max(a.y(), b.y());
}

// Non-zero winding number of one polygon: inside whatever its orientation.
bool DentroDe(const QPolygonF& P, const QPointF& p) {
    const qsizetype n = P.size();
    if (n < 3 || AreaDoble(P) == 0)
        return false;
    int vueltas = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF& a = P[i];
        const QPointF& b = P[(i + 1) % n];
        if (SobreSegmento(a, b, p))
            return true;
        if (a.y() <= p.y()) {
            if (b.y() > p.y() && Cruz(a, b, p) > 0)
                ++vueltas;
        } else if (b.y() <= p.y() && Cruz(a, b, p) < 0) {
            --vueltas;
        }
    }
    return vueltas != 0;
}

} // namespace

TArea::TArea(const QRectF& R) {
    if (R.width() > 0 && R.height() > 0)
        Poligonos.push_back(QPolygonF(R));
}

void TArea::Unir(const TArea& Otra) {
    Poligonos.insert(Poligonos.end(), Otra.Poligonos.begin(), Otra.Poligonos.end());
}

void TArea::Transformar(const QTransform& Matriz) {
    for (auto& p : Poligonos)
        p = Matriz.map(p);
}

TArea TArea::Transformada(const QTransform& Matriz) const {
    TArea r = *this;
    r.Transformar(Matriz);
    return r;
}

QRectF TArea::Limites() const {
    bool primero = true;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    for (const auto& poligono : Poligonos)
        for (const QPointF& p : poligono) {
            if (primero) {
                x0 = x1 = p.x();
                y0 = y1 = p.y();
                primero = false;
                continue;
            }
            x0 = std::min(x0, p.x());
            x1 = std::max(x1, p.x());
            y0 = std::min(y0, p.y());
            y1 = std::max(y1, p.y());
        }
    return QRectF(x0, y0, x1 - x0, y1 - y0);
}

bool TArea::Contiene(const QPointF& P) const {
    return std::any_of(Poligonos.begin(), Poligonos.end(),
                       [&](const QPolygonF& x) { return DentroDe(x, P); });
}

QPainterPath TArea::Camino() const {
    // Every polygon turned the same way, so that winding fill adds them up.
    QPainterPath camino;
    camino.setFillRule(Qt::WindingFill);
    for (const auto& p : Poligonos) {
        const double a = AreaDoble(p);
        if (a == 0)
            continue;
        if (a > 0) {
            camino.addPolygon(p);
        } else {
            QPolygonF r(p.rbegin(), p.rend());
            camino.addPolygon(r);
        }
        camino.closeSubpath();
    }
    return camino;
}

bool TCADRegion::ContienePunto(const TCADCoordenada& Punto) const {
    return Region.Contiene(QPointF(static_cast<float>(Punto.X), static_cast<float>(Punto.Y)));
}

void TCADRegion::Assign(const TColeccionItem& Origen) {
    if (auto* r = dynamic_cast<const TCADRegion*>(&Origen))
        Region = r->Region;
    TColeccionItem::Assign(Origen);
}

} // namespace ventix
