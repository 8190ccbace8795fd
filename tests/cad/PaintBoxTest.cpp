#include "cad/PaintBox.h"
#include "Aplicacion.h"

#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <functional>

using namespace ventix;

namespace {

bool Oscuro(const QImage& img, int x, int y) {
    return qGray(img.pixel(x, y)) < 128;
}

int Oscuros(const QImage& img, const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            n += Oscuro(img, x, y);
    return n;
}

// A 200 × 200 view with the world origin at its centre, pixel (100, 100).
class Vista : public ::testing::Test {
protected:
    void SetUp() override {
        AsegurarAplicacion();
        v.SetCliente(200, 200);
        v.Activar();
    }
    // Paints one frame with the drawing given; returns the client part.
    QImage Pintar(const std::function<void(TCADPaintBox&)>& Dibujo) {
        v.OnPintar = Dibujo;
        v.Paint();
        return v.Bitmap.copy(0, 0, 200, 200);
    }
    TCADPaintBox v;
};

} // namespace

TEST(Mapeo, WorldToPixelAndBack) {
    TCADPaintBox v;
    v.OffsetX = 100;
    v.OffsetY = 50;
    EXPECT_EQ(v.MundoAPantalla({10, 10}), QPointF(110, 40));
    const auto w = v.PantallaAMundo({110, 40});
    EXPECT_EQ(w.X, 10.0);
    EXPECT_EQ(w.Y, 10.0);
}

TEST(Mapeo, SetZoomIgnoresZeroNegativeAndNonFinite) {
    TCADPaintBox v;
    v.SetZoom(2);
    v.SetZoom(0);
    v.SetZoom(-1);
    v.SetZoom(std::nan(""));
    v.SetZoom(INFINITY);
    EXPECT_EQ(v.Zoom, 2.0);
    v.AlejarZoom();
    EXPECT_DOUBLE_EQ(v.Zoom, 2 / 1.2);
}

TEST(Mapeo, TwoWheelStepsKeepThePointUnderTheCursor) {
    TCADPaintBox v;
    v.SetCliente(400, 300);
    v.OffsetX = 180;
    v.OffsetY = 140;
    const QPoint cursor(123, 77);
    const auto antes = v.PantallaAMundo(cursor);
    EXPECT_TRUE(v.MouseWheel(120, cursor.x(), cursor.y()));
    EXPECT_TRUE(v.MouseWheel(120, cursor.x(), cursor.y()));
    EXPECT_DOUBLE_EQ(v.Zoom, 1.44);
    const QPointF p = v.MundoAPantalla(antes);
    EXPECT_LE(std::abs(p.x() - cursor.x()), 0.5);
    EXPECT_LE(std::abs(p.y() - cursor.y()), 0.5);
    // Outside the client area the wheel is not handled and nothing changes.
    EXPECT_FALSE(v.MouseWheel(120, 400, 10));
    EXPECT_DOUBLE_EQ(v.Zoom, 1.44);
    EXPECT_TRUE(v.MouseWheel(-120, cursor.x(), cursor.y()));
    EXPECT_DOUBLE_EQ(v.Zoom, 1.2);
}

TEST(Mapeo, RedondearTiesAwayFromZeroAndSaturates) {
    EXPECT_EQ(TCADPaintBox::Redondear(2.5), 3);
    EXPECT_EQ(TCADPaintBox::Redondear(-2.5), -3);
    EXPECT_EQ(TCADPaintBox::Redondear(2.49), 2);
    EXPECT_EQ(TCADPaintBox::Redondear(-0.4), 0);
    EXPECT_EQ(TCADPaintBox::Redondear(1e300), 1 << 29);
    EXPECT_EQ(TCADPaintBox::Redondear(std::nan("")), 0);
    // Zooming in without limit never overflows the offsets.
    TCADPaintBox v;
    v.SetCliente(100, 100);
    for (int i = 0; i < 400; ++i)
        v.MouseWheel(120, 10, 90);
    EXPECT_LE(std::abs(v.OffsetX), 1 << 29);
}

TEST(Mapeo, CentrarPutsThePointAtTheClientCentre) {
    TCADPaintBox v;
    v.SetCliente(301, 200);
    v.Zoom = 2;
    v.Centrar(10, -5);
    EXPECT_EQ(v.MundoAPantalla({10, -5}), QPointF(150, 100));
}

TEST(Mapeo, PanningWithTheChosenOrTheMiddleButton) {
    TCADPaintBox v;
    std::vector<Qt::CursorShape> cursores;
    v.OnCursor = [&](Qt::CursorShape c) { cursores.push_back(c); };
    int propios = 0;
    v.OnMouseMove = [&](Qt::KeyboardModifiers, int, int) { ++propios; };
    v.MouseDown(Qt::LeftButton, {}, 10, 10);
    v.MouseMove({}, 30, 10);
    EXPECT_EQ(v.OffsetX, 0);
    v.MouseDown(Qt::MiddleButton, {}, 10, 10);
    v.MouseMove({}, 15, 30);
    v.MouseMove({}, 20, 40);
    EXPECT_EQ(v.OffsetX, 10);
    EXPECT_EQ(v.OffsetY, 30);
    v.MouseUp(Qt::MiddleButton, {}, 20, 40);
    EXPECT_FALSE(v.Arrastrando);
    EXPECT_EQ(propios, 3);
    ASSERT_FALSE(cursores.empty());
    EXPECT_EQ(cursores.front(), Qt::DragMoveCursor);
    EXPECT_EQ(cursores.back(), Qt::ArrowCursor);
    v.BotonPaneo = Qt::RightButton;
    v.MouseDown(Qt::RightButton, {}, 0, 0);
    v.MouseMove({}, -5, 0);
    EXPECT_EQ(v.OffsetX, 5);
}

TEST_F(Vista, FirstPaintCentresTheOriginAndResizingKeepsItCentred) {
    int llamadas = 0;
    Pintar([&](TCADPaintBox&) { ++llamadas; });
    EXPECT_EQ(llamadas, 1);
    EXPECT_EQ(v.OffsetX, 100);
    EXPECT_EQ(v.OffsetY, 100);
    v.SetCliente(400, 200);
    v.Paint();
    EXPECT_EQ(v.OffsetX, 200);
    EXPECT_EQ(v.OffsetY, 100);
    v.Desactivar();
    v.Paint();
    EXPECT_EQ(llamadas, 2);
}

// Centring between a resize and its paint: the paint must not move the view
// again (the first paint of a window and a view set up before it).
TEST_F(Vista, CentringBeforeThePaintOfAResizeStays) {
    v.SetCliente(600, 400);
    v.Zoom = 4;
    v.Centrar(0, 0);
    v.Paint();
    EXPECT_EQ(v.MundoAPantalla({0, 0}), QPointF(300, 200));
    v.SetCliente(900, 600);
    v.Centrar(10, 10);
    v.Paint();
    EXPECT_EQ(v.MundoAPantalla({10, 10}), QPointF(450, 300));
}

TEST_F(Vista, TransformStackReadsEachLevelsOwnMatrix) {
    const int e1 = v.PushTransform(10, 0, 90, 2, 2);
    const QTransform m1 = v.TransformActual();
    EXPECT_EQ(m1.map(QPointF(1, 0)), QPointF(10, 2));
    const int e2 = v.PushTransform(5, 0, 0, 0, 0); // both scales 0: no scaling
    EXPECT_EQ(v.TransformActual().map(QPointF(1, 1)), QPointF(6, 1));
    EXPECT_EQ(v.TransformPantalla().map(QPointF(0, 0)), m1.map(QPointF(5, 0)));
    v.PopTransform(e2);
    EXPECT_EQ(v.TransformActual(), m1);
    v.PushTransform(1, 1, 0, 1, 1);
    v.PopTransform(e1); // closes the level left open inside it as well
    EXPECT_TRUE(v.TransformActual().isIdentity());
    v.PopTransform(e1); // stale: ignored
    v.PopTransform(0);  // the base level is never closed
    EXPECT_TRUE(v.TransformActual().isIdentity());
}

TEST_F(Vista, LineLandsOnItsPixels) {
    TCADLinea l;
    l.P1().SetX(-50);
    l.P2().SetX(50);
    l.P1().SetY(20);
    l.P2().SetY(20);
    l.SetGrosor(3);
    const QImage img = Pintar([&](TCADPaintBox& v) { v.DibujarEntidad(l); });
    EXPECT_TRUE(Oscuro(img, 100, 80)); // world (0, 20)
    EXPECT_TRUE(Oscuro(img, 60, 80));
    EXPECT_FALSE(Oscuro(img, 100, 120));
    EXPECT_FALSE(Oscuro(img, 100, 85));
    EXPECT_FALSE(Oscuro(img, 160, 80));
}

TEST_F(Vista, ArcFromZeroToNinetyIsAboveRightOfItsCentre) {
    TCADArco a;
    a.SetRadio(50);
    a.SetAlfa1(0);
    a.SetAlfa2(90);
    a.SetGrosor(3);
    const QImage img = Pintar([&](TCADPaintBox& v) { v.DibujarEntidad(a); });
    EXPECT_TRUE(Oscuro(img, 135, 65));   // 45 degrees
    EXPECT_TRUE(Oscuro(img, 150, 99));   // start, 0 degrees
    EXPECT_TRUE(Oscuro(img, 101, 50));   // end, 90 degrees
    EXPECT_FALSE(Oscuro(img, 135, 135)); // -45 degrees
    EXPECT_FALSE(Oscuro(img, 65, 65));   // 135 degrees
}

TEST_F(Vista, ArcFromMinusTenToTenSweepsTwentyDegrees) {
    TCADArco a;
    a.SetRadio(80);
    a.SetAlfa1(-10);
    a.SetAlfa2(10);
    a.SetGrosor(2);
    const QImage img = Pintar([&](TCADPaintBox& v) { v.DibujarEntidad(a); });
    const auto pixel = [](double grados) {
        const double r = grados * M_PI / 180;
        return QPoint(static_cast<int>(std::lround(100 + 80 * std::cos(r))),
                      static_cast<int>(std::lround(100 - 80 * std::sin(r))));
    };
    for (double g : {-8.0, 0.0, 8.0})
        EXPECT_TRUE(Oscuro(img, pixel(g).x(), pixel(g).y())) << g;
    for (double g : {-20.0, 20.0, 180.0})
        EXPECT_FALSE(Oscuro(img, pixel(g).x(), pixel(g).y())) << g;
}

TEST_F(Vista, CircleIsAnOutline) {
    TCADCirculo c;
    c.SetRadio(40);
    c.SetGrosor(2);
    const QImage img = Pintar([&](TCADPaintBox& v) { v.DibujarEntidad(c); });
    EXPECT_TRUE(Oscuro(img, 140, 100));
    EXPECT_TRUE(Oscuro(img, 100, 60));
    EXPECT_FALSE(Oscuro(img, 100, 100));
}

TEST_F(Vista, PolygonIsFilledAndAOnePointPolylineDrawsNothing) {
    TCADPoligono p;
    p.AgregarVertice(0, 0);
    p.AgregarVertice(60, 0);
    p.AgregarVertice(0, 60);
    TCADPolilinea uno;
    uno.AgregarVertice(-50, -50);
    uno.SetGrosor(10);
    const QImage img = Pintar([&](TCADPaintBox& v) {
        v.DibujarEntidad(p);
        v.DibujarEntidad(uno);
    });
    EXPECT_TRUE(Oscuro(img, 110, 90));   // world (10, 10)
    EXPECT_FALSE(Oscuro(img, 150, 50));  // world (50, 50): beyond the hypotenuse
    EXPECT_FALSE(Oscuro(img, 110, 110)); // below the X axis
    EXPECT_EQ(Oscuros(img, QRect(0, 100, 100, 100)), 0);
}

TEST_F(Vista, TextStandsUprightInTheBandAboveItsAnchor) {
    TCADTexto t;
    t.Enlace().SetX(-40);
    t.Enlace().SetY(-20);
    t.SetAltura(40);
    t.SetTexto("HI");
    const QImage img = Pintar([&](TCADPaintBox& v) { v.DibujarEntidad(t); });
    // Band: world y -20 .. 20 (pixels 80 .. 120), x from -40 (pixel 60).
    EXPECT_GT(Oscuros(img, QRect(60, 80, 80, 41)), 100);
    EXPECT_EQ(Oscuros(img, QRect(0, 0, 200, 78)), 0);
    EXPECT_EQ(Oscuros(img, QRect(0, 0, 58, 200)), 0);
    // Upright, not mirrored by the Y flip: the bar of a "T" is at the top.
    TCADTexto te;
    te.Enlace().SetX(-40);
    te.Enlace().SetY(-20);
    te.SetAltura(40);
    te.SetTexto("T");
    const QImage img2 = Pintar([&](TCADPaintBox& v) { v.DibujarEntidad(te); });
    int arriba = 0, abajo = 0, fila0 = 200, fila1 = -1;
    for (int y = 0; y < 200; ++y)
        if (Oscuros(img2, QRect(0, y, 200, 1)) > 0) {
            fila0 = std::min(fila0, y);
            fila1 = std::max(fila1, y);
        }
    ASSERT_LT(fila0, fila1);
    arriba = Oscuros(img2, QRect(0, fila0, 200, 3));
    abajo = Oscuros(img2, QRect(0, fila1 - 2, 200, 3));
    EXPECT_GT(arriba, 2 * abajo); // the bar of the T is at the top
}

TEST_F(Vista, TwoLineTextGoesDownward) {
    TCADTexto t;
    t.SetAltura(30);
    t.SetTexto("I\r\nI");
    const QImage img = Pintar([&](TCADPaintBox& v) { v.DibujarEntidad(t); });
    EXPECT_GT(Oscuros(img, QRect(100, 70, 40, 30)), 20);  // first line above the anchor
    EXPECT_GT(Oscuros(img, QRect(100, 105, 40, 40)), 20); // second line below it
}

TEST_F(Vista, PenWidthIsInWorldUnits) {
    TCADLinea l;
    l.P1().SetX(-50);
    l.P2().SetX(50);
    l.SetGrosor(4);
    v.Zoom = 5;
    const QImage img = Pintar([&](TCADPaintBox& v) { v.DibujarEntidad(l); });
    // 4 world units at zoom 5: 20 pixels.
    EXPECT_TRUE(Oscuro(img, 100, 91));
    EXPECT_TRUE(Oscuro(img, 100, 109));
    EXPECT_FALSE(Oscuro(img, 100, 112));
}

TEST_F(Vista, FilledAreaCoversOverlapsAndMirroredParts) {
    TArea a(QRectF(-50, -50, 60, 60));
    TArea b(QRectF(-20, -20, 60, 60));
    b.Transformar(QTransform::fromScale(-1, 1)); // reversed orientation
    a.Unir(b);
    const QImage img = Pintar([&](TCADPaintBox& v) { v.RellenarArea(a); });
    EXPECT_TRUE(Oscuro(img, 95, 105)); // world (-5, -5): in both
    EXPECT_TRUE(Oscuro(img, 70, 70));  // world (-30, 30): only the mirrored one
    EXPECT_FALSE(Oscuro(img, 130, 130));
}

TEST_F(Vista, RenderAtTwiceTheSizeShowsTheSameArea) {
    TCADLinea l;
    l.P1().SetX(-100);
    l.P2().SetX(100);
    l.SetGrosor(1);
    v.OnPintar = [&](TCADPaintBox& v) { v.DibujarEntidad(l); };
    v.Paint();
    v.OffsetY = 80; // the X axis at pixel row 80
    const int ox = v.OffsetX;
    QImage destino;
    v.RenderizarEn(destino, 2);
    ASSERT_EQ(destino.size(), QSize(400, 400));
    EXPECT_TRUE(Oscuro(destino, 200, 160));
    EXPECT_FALSE(Oscuro(destino, 200, 80));
    EXPECT_EQ(v.Zoom, 1.0);
    EXPECT_EQ(v.OffsetX, ox);
    EXPECT_EQ(v.OffsetY, 80);
    v.RenderizarEn(destino, 0);
    EXPECT_TRUE(destino.isNull());
}

TEST_F(Vista, AnExceptionInThePaintHookEndsThePaint) {
    v.OnPintar = [](TCADPaintBox& v) {
        v.PushTransform(1, 1, 0, 1, 1);
        throw std::runtime_error("x");
    };
    EXPECT_THROW(v.Paint(), std::runtime_error);
    EXPECT_EQ(v.GetGraphics(), nullptr);
    v.OnPintar = nullptr;
    v.Paint();
    EXPECT_EQ(v.GetGraphics(), nullptr);
}
