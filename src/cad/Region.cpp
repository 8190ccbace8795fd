#include "cad/Region.h"

#include <algorithm>
#include <cmath>

namespace ventix {

namespace {

// Twice the signed area.
double AreaDoble(const QPointF* P, qsizetype n) {
    double a = 0;
    for (qsizetype i = 0; i < n; ++i) {
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
bool DentroDe(const QPointF* P, qsizetype n, const QPointF& p) {
    // A point beyond the polygon's box is neither inside nor on an edge.
    bool izquierda = true, derecha = true, abajo = true, arriba = true;
    for (qsizetype i = 0; i < n; ++i) {
        izquierda = izquierda && P[i].x() < p.x();
        derecha = derecha && P[i].x() > p.x();
        abajo = abajo && P[i].y() < p.y();
        arriba = arriba && P[i].y() > p.y();
    }
    if (izquierda || derecha || abajo || arriba)
        return false;
    if (n < 3 || AreaDoble(P, n) == 0)
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

qsizetype Cuenta(const QPointF& Entrada) {
    return static_cast<qsizetype>(Entrada.x());
}

// Maps points in place exactly as QTransform::map maps a polygon of them:
// a translation (none when it is null) by adding, other affine matrices
// point by point.
void Mapear(QPointF* P, qsizetype n, const QTransform& M) {
    const QTransform::TransformationType t = M.type();
    if (t <= QTransform::TxTranslate) {
        const QPointF d(M.dx(), M.dy());
        if (d.isNull())
            return;
        for (qsizetype i = 0; i < n; ++i)
            P[i] += d;
    } else {
        for (qsizetype i = 0; i < n; ++i)
            P[i] = M.map(P[i]);
    }
}

} // namespace

template <class F> void TArea::CadaPoligono(F&& Hacer) const {
    for (std::size_t i = 0; i < Puntos.size();) {
        const qsizetype n = Cuenta(Puntos[i]);
        Hacer(Puntos.data() + i + 1, n);
        i += static_cast<std::size_t>(n) + 1;
    }
}

TArea::TArea(const QRectF& R) {
    if (R.width() > 0 && R.height() > 0) {
        const QPolygonF p(R);
        Puntos.reserve(static_cast<std::size_t>(p.size()) + 1);
        Puntos.emplace_back(static_cast<double>(p.size()), 0.0);
        Puntos.insert(Puntos.end(), p.begin(), p.end());
    }
}

void TArea::Unir(const TArea& Otra) {
    Puntos.insert(Puntos.end(), Otra.Puntos.begin(), Otra.Puntos.end());
}

void TArea::UnirTransformada(const TArea& Otra, const QTransform& M) {
    if (M.type() >= QTransform::TxProject) {
        Unir(Otra.Transformada(M));
        return;
    }
    const std::size_t desde = Puntos.size();
    Unir(Otra);
    for (std::size_t i = desde; i < Puntos.size();) {
        const qsizetype n = Cuenta(Puntos[i]);
        Mapear(Puntos.data() + i + 1, n, M);
        i += static_cast<std::size_t>(n) + 1;
    }
}

void TArea::Transformar(const QTransform& M) {
    if (M.type() >= QTransform::TxProject) {
        // A perspective may clip a polygon into another number of points.
        std::vector<QPointF> r;
        CadaPoligono([&](const QPointF* P, qsizetype n) {
            const QPolygonF q = M.map(QPolygonF(QList<QPointF>(P, P + n)));
            r.emplace_back(static_cast<double>(q.size()), 0.0);
            r.insert(r.end(), q.begin(), q.end());
        });
        Puntos = std::move(r);
        return;
    }
    for (std::size_t i = 0; i < Puntos.size();) {
        const qsizetype n = Cuenta(Puntos[i]);
        Mapear(Puntos.data() + i + 1, n, M);
        i += static_cast<std::size_t>(n) + 1;
    }
}

TArea TArea::Transformada(const QTransform& Matriz) const {
    TArea r = *this;
    r.Transformar(Matriz);
    return r;
}

QRectF TArea::Limites() const {
    bool primero = true;
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    CadaPoligono([&](const QPointF* P, qsizetype n) {
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF& p = P[i];
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
    });
    return QRectF(x0, y0, x1 - x0, y1 - y0);
}

bool TArea::Contiene(const QPointF& P) const {
    bool dentro = false;
    CadaPoligono([&](const QPointF* Q, qsizetype n) { dentro = dentro || DentroDe(Q, n, P); });
    return dentro;
}

QPainterPath TArea::Camino() const {
    // Every polygon turned the same way, so that winding fill adds them up.
    QPainterPath camino;
    camino.setFillRule(Qt::WindingFill);
    CadaPoligono([&](const QPointF* P, qsizetype n) {
        const double a = AreaDoble(P, n);
        if (a == 0)
            return;
        if (a > 0) {
            camino.addPolygon(QPolygonF(QList<QPointF>(P, P + n)));
        } else {
            QList<QPointF> r(P, P + n);
            std::reverse(r.begin(), r.end());
            camino.addPolygon(QPolygonF(r));
        }
        camino.closeSubpath();
    });
    return camino;
}

std::vector<QPolygonF> TArea::GetPoligonos() const {
    std::vector<QPolygonF> r;
    CadaPoligono([&](const QPointF* P, qsizetype n) { r.emplace_back(QList<QPointF>(P, P + n)); });
    return r;
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
