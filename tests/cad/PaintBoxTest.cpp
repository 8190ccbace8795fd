#include "cad/PaintBox.h"
#include "Aplicacion.h"

#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <functional>

using namespace ventix;

namespace {

bool Oscuro(const QImage& img, int x, int y) {
    return qGray(img.pixel(x, y)) < 128;
}

// Which of the pixels are dark: one '1' or '0' for each.
std::string Oscuros(const QImage& img, std::initializer_list<QPoint> Pixeles) {
    std::string r;
    for (const QPoint& p : Pixeles)
        r += Oscuro(img, p.x(), p.y()) ? '1' : '0';
    return r;
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
    // Paints the entities alone.
    QImage Pintar(std::initializer_list<const TCADEntidad*> Entidades) {
        return Pintar([lista = std::vector(Entidades)](TCADPaintBox& v) {
            for (const auto* e : lista)
                v.DibujarEntidad(*e);
        });
    }
    TCADPaintBox v;
};

} // namespace

TEST(Mapeo, WheelStepsKeepThePointUnderTheCursorAndBadZoomsAreIgnored) {
    TCADPaintBox v;
    v.SetCliente(400, 300);
    v.OffsetX = 180;
    v.OffsetY = 140;
    const QPoint cursor(123, 77);
    const auto antes = v.PantallaAMundo(cursor);
    EXPECT_TRUE(v.MouseWheel(120, cursor.x(), cursor.y()));
    EXPECT_TRUE(v.MouseWheel(120, cursor.x(), cursor.y()));
    EXPECT_DOUBLE_EQ(v.Zoom, 1.44);
    const QPointF p = v.MundoAPantalla(antes) - cursor;
    EXPECT_LE(std::max(std::abs(p.x()), std::abs(p.y())), 0.5);
    // Outside the client area the wheel is not handled and nothing changes.
    EXPECT_FALSE(v.MouseWheel(120, 400, 10));
    EXPECT_DOUBLE_EQ(v.Zoom, 1.44);
    EXPECT_TRUE(v.MouseWheel(-120, cursor.x(), cursor.y()));
    EXPECT_DOUBLE_EQ(v.Zoom, 1.2);
    for (double z : {0.0, -1.0, std::nan(""), HUGE_VAL})
        v.SetZoom(z);
    EXPECT_DOUBLE_EQ(v.Zoom, 1.2);
}

TEST(Mapeo, RedondearTiesAwayFromZeroAndSaturates) {
    const std::pair<double, int> casos[] = {{2.5, 3},  {-2.5, -3},       {2.49, 2},
                                            {-0.4, 0}, {1e300, 1 << 29}, {std::nan(""), 0}};
    for (auto [x, n] : casos)
        EXPECT_EQ(TCADPaintBox::Redondear(x), n) << x;
    // Zooming in without limit never overflows the offsets.
    TCADPaintBox v;
    v.SetCliente(100, 100);
    for (int i = 0; i < 400; ++i)
        v.MouseWheel(120, 10, 90);
    EXPECT_LE(std::abs(v.OffsetX), 1 << 29);
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
    EXPECT_EQ(std::tuple(v.OffsetX, v.OffsetY), std::tuple(10, 30));
    v.MouseUp(Qt::MiddleButton, {}, 20, 40);
    EXPECT_EQ(std::tuple(v.Arrastrando, propios), std::tuple(false, 3));
    ASSERT_FALSE(cursores.empty());
    EXPECT_EQ(std::tuple(cursores.front(), cursores.back()),
              std::tuple(Qt::DragMoveCursor, Qt::ArrowCursor));
    v.BotonPaneo = Qt::RightButton;
    v.MouseDown(Qt::RightButton, {}, 0, 0);
    v.MouseMove({}, -5, 0);
    EXPECT_EQ(v.OffsetX, 5);
}

TEST_F(Vista, FirstPaintCentresTheOriginAndResizingKeepsItCentred) {
    int llamadas = 0;
    Pintar([&](TCADPaintBox&) { ++llamadas; });
    EXPECT_EQ(llamadas, 1);
    EXPECT_EQ(v.MundoAPantalla({0, 0}), QPointF(100, 100));
    v.SetCliente(400, 200);
    v.Paint();
    EXPECT_EQ(v.MundoAPantalla({0, 0}), QPointF(200, 100));
    v.Desactivar();
    v.Paint();
    EXPECT_EQ(llamadas, 2);

    // Centring between a resize and its paint: the paint must not move the
    // view again (the first paint of a window and a view set up before it).
    v.Activar();
    v.SetCliente(601, 400);
    v.Zoom = 4;
    v.Centrar(10, -5);
    v.Paint();
    EXPECT_EQ(v.MundoAPantalla({10, -5}), QPointF(300, 200));
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

TEST_F(Vista, LineLandsOnItsPixelsWithItsWidthInWorldUnits) {
    TCADLinea l;
    l.P1().SetX(-25);
    l.P2().SetX(25);
    l.P1().SetY(20);
    l.P2().SetY(20);
    l.SetGrosor(4);
    v.Zoom = 2;
    const QImage img = Pintar({&l});
    // World y 20 is pixel row 60; 4 world units at zoom 2 are 8 pixels.
    EXPECT_EQ(Oscuros(img, {{100, 57}, {60, 63}, {100, 66}, {100, 140}, {160, 60}}), "11000");
}

TEST_F(Vista, ArcsRunCounterClockwiseFromAlfa1ToAlfa2) {
    TCADArco a, b;
    a.SetRadio(50);
    a.SetAlfa1(0);
    a.SetAlfa2(90);
    a.SetGrosor(3);
    b.SetRadio(80);
    b.SetAlfa1(-10);
    b.SetAlfa2(10);
    b.SetGrosor(2);
    const QImage img = Pintar({&a, &b});
    // 45 degrees, 0 (the start), 90 (the end); not -45 nor 135.
    EXPECT_EQ(Oscuros(img, {{135, 65}, {150, 99}, {101, 50}, {135, 135}, {65, 65}}), "11100");
    const auto en = [&](double grados) {
        const double r = grados * M_PI / 180;
        return Oscuro(img, static_cast<int>(std::lround(100 + 80 * std::cos(r))),
                      static_cast<int>(std::lround(100 - 80 * std::sin(r))));
    };
    for (double g : {-8.0, 0.0, 8.0})
        EXPECT_TRUE(en(g)) << g;
    for (double g : {-20.0, 20.0, 180.0})
        EXPECT_FALSE(en(g)) << g;
}

TEST_F(Vista, CircleIsAnOutlinePolygonIsFilledAndAOnePointPolylineDrawsNothing) {
    TCADCirculo c;
    c.SetRadio(40);
    c.SetGrosor(2);
    TCADPoligono p;
    p.AgregarVertice(0, 0);
    p.AgregarVertice(60, 0);
    p.AgregarVertice(0, 60);
    p.Desplazar(-80, 20, 0);
    TCADPolilinea uno;
    uno.AgregarVertice(-50, -50);
    uno.SetGrosor(10);
    const QImage img = Pintar({&c, &p, &uno});
    // The circle's outline, not its centre; the polygon at world (-70, 30), not
    // beyond its hypotenuse (-30, 70) nor below it (-70, 10).
    EXPECT_EQ(Oscuros(img, {{140, 100}, {100, 60}, {100, 100}, {30, 70}, {70, 30}, {30, 90}}),
              "110100");
    EXPECT_EQ(Oscuros(img, QRect(0, 145, 55, 55)), 0);
}

TEST_F(Vista, TextStandsUprightAboveItsAnchorAndGoesDownLineByLine) {
    TCADTexto t;
    t.Enlace().SetX(-40);
    t.Enlace().SetY(-20);
    t.SetAltura(40);
    t.SetTexto("T");
    QImage img = Pintar({&t});
    // Band: world y -20 .. 20 (pixels 80 .. 120), x from -40 (pixel 60).
    EXPECT_GT(Oscuros(img, QRect(60, 80, 80, 41)), 100);
    EXPECT_EQ(Oscuros(img, QRect(0, 0, 200, 78)), 0);
    EXPECT_EQ(Oscuros(img, QRect(0, 0, 58, 200)), 0);
    // Upright, not mirrored by the Y flip: the bar of the "T" is at the top.
    int fila0 = 200, fila1 = -1;
    for (int y = 0; y < 200; ++y)
        if (Oscuros(img, QRect(0, y, 200, 1)) > 0) {
            fila0 = std::min(fila0, y);
            fila1 = std::max(fila1, y);
        }
    ASSERT_LT(fila0, fila1);
    EXPECT_GT(Oscuros(img, QRect(0, fila0, 200, 3)), 2 * Oscuros(img, QRect(0, fila1 - 2, 200, 3)));

    TCADTexto dos;
    dos.SetAltura(30);
    dos.SetTexto("I\r\nI");
    img = Pintar({&dos});
    EXPECT_GT(Oscuros(img, QRect(100, 70, 40, 30)), 20);  // first line above the anchor
    EXPECT_GT(Oscuros(img, QRect(100, 105, 40, 40)), 20); // second line below it
}

// Texts are shaped once and drawn from their glyphs: the pixels must be
// those of the painter's own text drawing, turned, scaled and after a change.
TEST_F(Vista, TextGlyphsDrawExactlyAsThePainterDrawsTheText) {
    TCADTexto t;
    t.Enlace().SetX(-60.3);
    t.Enlace().SetY(-10.7);
    t.SetAltura(13.1);
    const auto comoElPintor = [](TCADPaintBox& v, const TCADTexto& t,
                                 const std::vector<QString>& Lineas) {
        QPainter* g = v.GetGraphics();
        QFont f(QStringLiteral("Arial"));
        f.setStyleHint(QFont::SansSerif);
        f.setPixelSize(100);
        f.setHintingPreference(QFont::PreferNoHinting);
        const QFontMetricsF m(f);
        const double altura = static_cast<float>(t.GetAltura());
        QTransform local = g->transform();
        local.translate(static_cast<float>(t.Enlace().GetX()),
                        static_cast<float>(t.Enlace().GetY()) + altura);
        local.scale(altura / 100, -altura / 100);
        g->setTransform(local);
        g->setFont(f);
        g->setPen(QPen(v.Brush.color()));
        double y = m.ascent();
        for (const QString& l : Lineas) {
            g->drawText(QPointF(0, y), l);
            y += m.lineSpacing();
        }
    };
    for (const double angulo : {0.0, 33.0}) {
        v.Zoom = 1.37;
        const auto pintar = [&](bool Referencia, const std::vector<QString>& Lineas) {
            return Pintar([&](TCADPaintBox& v) {
                v.PushTransform(3.3, -2.1, angulo, 1.7, 1.7);
                if (Referencia)
                    comoElPintor(v, t, Lineas);
                else
                    v.DibujarEntidad(t);
            });
        };
        t.SetTexto("Válvula 3/2\r\nñ á ; [1] 12");
        const QImage propia =
            pintar(false, {QStringLiteral("Válvula 3/2"), QStringLiteral("ñ á ; [1] 12")});
        EXPECT_GT(Oscuros(propia, QRect(0, 0, 200, 200)), 50) << angulo;
        EXPECT_EQ(propia,
                  pintar(true, {QStringLiteral("Válvula 3/2"), QStringLiteral("ñ á ; [1] 12")}))
            << angulo;
        t.SetTexto(" \r\n "); // blanks: nothing drawn at all
        EXPECT_EQ(pintar(false, {}), pintar(true, {QStringLiteral(" "), QStringLiteral(" ")}));
        t.SetTexto("WM"); // shaped again after a change
        EXPECT_EQ(pintar(false, {}), pintar(true, {QStringLiteral("WM")})) << angulo;
    }
}

TEST_F(Vista, FilledAreaCoversOverlapsAndMirroredParts) {
    TArea a(QRectF(-50, -50, 60, 60));
    TArea b(QRectF(-20, -20, 60, 60));
    b.Transformar(QTransform::fromScale(-1, 1)); // reversed orientation
    a.Unir(b);
    const QImage img = Pintar([&](TCADPaintBox& v) { v.RellenarArea(a); });
    // World (-5, -5) is in both, (-30, 30) only in the mirrored one.
    EXPECT_EQ(Oscuros(img, {{95, 105}, {70, 70}, {130, 130}}), "110");
}

TEST_F(Vista, RenderAtTwiceTheSizeShowsTheSameArea) {
    TCADLinea l;
    l.P1().SetX(-100);
    l.P2().SetX(100);
    l.SetGrosor(1);
    Pintar({&l});
    v.OffsetY = 80; // the X axis at pixel row 80
    const int ox = v.OffsetX;
    QImage destino;
    v.RenderizarEn(destino, 2);
    ASSERT_EQ(destino.size(), QSize(400, 400));
    EXPECT_EQ(Oscuros(destino, {{200, 160}, {200, 80}}), "10");
    EXPECT_EQ(std::tuple(v.Zoom, v.OffsetX, v.OffsetY), std::tuple(1.0, ox, 80));
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
    v.OnPintar = nullptr; // and the next paint works
    v.Paint();
    EXPECT_EQ(v.GetGraphics(), nullptr);
}
