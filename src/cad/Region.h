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
//
// The polygons lie one after another in one array, each after an entry
// whose x is its number of points: an area posed again at every drawing
// reuses its array instead of making a block per polygon.
class TArea {
public:
    TArea() = default;
    // The rectangle as a polygon; empty when its width or height is not positive.
    explicit TArea(const QRectF& Rectangulo);

    bool Vacia() const { return Puntos.empty(); }
    void Vaciar() { Puntos.clear(); }
    void Unir(const TArea& Otra);
    // Unir(Otra.Transformada(Matriz)), without the copy.
    void UnirTransformada(const TArea& Otra, const QTransform& Matriz);
    // Maps every point as QTransform maps a polygon.
    void Transformar(const QTransform& Matriz);
    TArea Transformada(const QTransform& Matriz) const;

    // The smallest rectangle holding every polygon; an empty area gives a null
    // rectangle (all zeros).
    QRectF Limites() const;
    // Inside or on the edge of a polygon of non-zero area.
    bool Contiene(const QPointF& P) const;
    // A path whose winding fill covers the union, for painting the area.
    QPainterPath Camino() const;

    // The polygons, each as its own polygon.
    std::vector<QPolygonF> GetPoligonos() const;
    bool operator==(const TArea& Otra) const { return Puntos == Otra.Puntos; }

private:
    // Calls F(first point, number of points) for each polygon.
    template <class F> void CadaPoligono(F&& Hacer) const;
    std::vector<QPointF> Puntos;
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
