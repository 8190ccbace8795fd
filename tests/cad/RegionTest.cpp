#include "cad/Region.h"
#include "Resumen.h"
#include "cad/PaintBox.h"

#include <gtest/gtest.h>

using namespace ventix;

TEST(Area, RectanglesUnitedMirroredOrCollapsed) {
    TArea a(QRectF(0, 0, 10, 5));
    EXPECT_EQ(Dentro(a, {{5, 2}, {10, 5}, {10.01, 2}, {-1, -1}}), "1100"); // edges count
    EXPECT_EQ(a.Limites(), QRectF(0, 0, 10, 5));
    EXPECT_TRUE(TArea(QRectF(0, 0, 0, 5)).Vacia());
    EXPECT_TRUE(TArea().Limites().isNull());

    a.Unir(TArea(QRectF(5, 3, 10, 12)));
    // A mirrored copy runs the other way round; it still counts.
    a.Unir(TArea(QRectF(2, 2, 4, 4)).Transformada(QTransform::fromScale(-1, 1)));
    EXPECT_EQ(Dentro(a, {{7, 4}, {-3, 3}, {14, 14}, {14, 2}}), "1110"); // (7, 4) in both
    EXPECT_EQ(a.Limites(), QRectF(-6, 0, 21, 15));
    a.Transformar(QTransform::fromScale(0, 1)); // collapsed: holds nothing
    EXPECT_EQ(Dentro(a, {{0, 3}, {0, 5}}), "00");
    a.Vaciar();
    EXPECT_TRUE(a.Vacia());
}

TEST(Region, ContainmentThroughNestedTransformsRotationAndMirror) {
    // A block rectangle posed inside an instance inside an element, each level
    // captured from the view's stack as the symbols do it.
    TCADPaintBox v;
    const int e1 = v.PushTransform(100, 50, 0, 1, 1); // element
    const QTransform m1 = v.TransformActual();
    v.PushTransform(10, 0, 90, -1, 1); // instance: mirrored, turned
    const QTransform m2 = v.TransformActual();
    v.PushTransform(1, 0, 0, 2, 2); // block
    const QTransform m3 = v.TransformActual();
    v.PopTransform(e1);

    TCADRegion r;
    r.SetRegion(TArea(QRectF(0, 0, 4, 2)).Transformada(m3).Transformada(m2).Transformada(m1));
    // Block point (1, 1) → block level (3, 2) → mirrored (-3, 2) → turned
    // 90° (-2, -3) → moved (8, -3) → element (108, 47).
    EXPECT_EQ(Dentro(r, {{108, 47}, {110, 41.5}, {112, 47}, {108, 53}}), "1100");
    EXPECT_EQ(r.GetRegion().Limites(), QRectF(106, 41, 4, 8));
    TCADRegion copia;
    copia.Assign(r);
    EXPECT_EQ(copia.GetRegion(), r.GetRegion());
}
