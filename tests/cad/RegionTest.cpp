#include "cad/Region.h"
#include "cad/PaintBox.h"

#include <gtest/gtest.h>

using namespace ventix;

TEST(Area, RectangleContainsItsInsideAndEdgesOnly) {
    const TArea a(QRectF(0, 0, 10, 5));
    EXPECT_TRUE(a.Contiene({5, 2}));
    EXPECT_TRUE(a.Contiene({10, 5}));
    EXPECT_FALSE(a.Contiene({10.01, 2}));
    EXPECT_FALSE(a.Contiene({-1, -1}));
    EXPECT_EQ(a.Limites(), QRectF(0, 0, 10, 5));
    EXPECT_TRUE(TArea(QRectF(0, 0, 0, 5)).Vacia());
    EXPECT_TRUE(TArea().Limites().isNull());
}

TEST(Area, UnionKeepsOverlapsAndMirroredShapesInside) {
    TArea a(QRectF(0, 0, 10, 10));
    a.Unir(TArea(QRectF(5, 5, 10, 10)));
    // A mirrored copy runs the other way round; it still counts.
    a.Unir(TArea(QRectF(2, 2, 4, 4)).Transformada(QTransform::fromScale(-1, 1)));
    EXPECT_TRUE(a.Contiene({7, 7}));  // in both rectangles
    EXPECT_TRUE(a.Contiene({-3, 3})); // in the mirrored one
    EXPECT_TRUE(a.Contiene({14, 14}));
    EXPECT_FALSE(a.Contiene({14, 2}));
    EXPECT_EQ(a.Limites(), QRectF(-6, 0, 21, 15));
    a.Vaciar();
    EXPECT_FALSE(a.Contiene({7, 7}));
}

TEST(Area, CollapsedByAZeroScaleHoldsNothing) {
    TArea a(QRectF(0, 0, 10, 10));
    a.Transformar(QTransform::fromScale(0, 1));
    EXPECT_FALSE(a.Contiene({0, 5}));
}

TEST(Region, ContainmentThroughNestedTransformsRotationAndMirror) {
    // A block rectangle posed inside an instance inside an element, each level
    // captured from the view's stack as the symbols do it.
    TCADPaintBox v;
    const TArea bloque(QRectF(0, 0, 4, 2));
    const int e1 = v.PushTransform(100, 50, 0, 1, 1); // element
    const QTransform m1 = v.TransformActual();
    const int e2 = v.PushTransform(10, 0, 90, -1, 1); // instance: mirrored, turned
    const QTransform m2 = v.TransformActual();
    const int e3 = v.PushTransform(1, 0, 0, 2, 2); // block
    const QTransform m3 = v.TransformActual();
    v.PopTransform(e3);
    v.PopTransform(e2);
    v.PopTransform(e1);

    TCADRegion r;
    r.SetRegion(bloque.Transformada(m3).Transformada(m2).Transformada(m1));
    // Block point (1, 1) → block level (3, 2) → mirrored (-3, 2) → turned
    // 90° (-2, -3) → moved (8, -3) → element (108, 47).
    EXPECT_TRUE(r.ContienePunto({108, 47}));
    EXPECT_TRUE(r.ContienePunto({110, 41.5}));
    EXPECT_FALSE(r.ContienePunto({112, 47}));
    EXPECT_FALSE(r.ContienePunto({108, 53}));
    EXPECT_EQ(r.GetRegion().Limites(), QRectF(106, 41, 4, 8));

    TCADRegion copia;
    copia.Assign(r);
    EXPECT_EQ(copia.GetRegion(), r.GetRegion());
}
