#pragma once

#include "cad/Geometria.h"
#include "foundation/Coleccion.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QTransform>

#include <vector>

namespace ventix {

// An exact area made of polygons (transformed rectangles, as a rule): a point
// is inside when it lies inside any of them, however they overlap and
// whatever a mirror did to their orientation. Fill rules would cancel
// overlapping or reversed shapes, and an integer region would round them;
// testing the polygons one by one does neither.
class TArea {
public:
    TArea() = default;
    // The rectangle as a polygon; empty when its width or height is not positive.
    explicit TArea(const QRectF& Rectangulo);

    bool Vacia() const { return Poligonos.empty(); }
    void Vaciar() { Poligonos.clear(); }
    void Unir(const TArea& Otra);
    void Transformar(const QTransform& Matriz);
    TArea Transformada(const QTransform& Matriz) const;

    // The smallest rectangle holding every polygon; an empty area gives a null
    // rectangle (all zeros).
    QRectF Limites() const;
    // Inside or on the edge of a polygon of non-zero area.
    bool Contiene(const QPointF& P) const;
    // A path whose winding fill covers the union, for painting the area.
    QPainterPath Camino() const;

    const std::vector<QPolygonF>& GetPoligonos() const { return Poligonos; }
    bool operator==(const TArea& Otra) const { return Poligonos == Otra.Poligonos; }

private:
    std::vector<QPolygonF> Poligonos;
};

// One hit area of a symbol instance: the posed rectangle of a block (or the
// union of them), kept as an item of the instance's `Regiones`.
class TCADRegion : public TColeccionItem {
    VENTIX_CLASE(TCADRegion, TColeccionItem)

    TArea Region;

    const TArea& GetRegion() const { return Region; }
    void SetRegion(const TArea& Origen) { Region = Origen; }
    // Whether the area holds the point, taken in single precision as the
    // drawing takes coordinates. The view's transform would map area and point
    // alike, so the answer does not depend on it.
    bool ContienePunto(const TCADCoordenada& Punto) const;
    void Assign(const TColeccionItem& Origen) override;
};

} // namespace ventix
