#include "cad/Simbolos.h"
#include "Aplicacion.h"
#include "Resumen.h"
#include "cad/PaintBox.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace ventix;

namespace {

void Cerca(const QPointF& a, const QPointF& b, double Margen = 1e-9) {
    EXPECT_NEAR(a.x(), b.x(), Margen);
    EXPECT_NEAR(a.y(), b.y(), Margen);
}

// A block holding a filled 2 × 1 rectangle with its corner at the base point.
TCADBloque* BloqueRectangulo(TCADComponente& c) {
    auto* b = Crear<TCADBloque>(c.Bloques);
    auto* p = Crear<TCADPoligono>(b->Entidades);
    p->AgregarVertice(0, 0);
    p->AgregarVertice(2, 0);
    p->AgregarVertice(2, 1);
    p->AgregarVertice(0, 1);
    b->CalcularLimites();
    return b;
}

// Where the first block's posed matrix takes a point at state t, through an
// instance at the origin.
QPointF Pose(TCADComponente& c, double t, QPointF Punto) {
    TCADPaintBox v;
    TCADIndividuo i;
    i.SetComponente(&c);
    i.Estado = t;
    i.Dibujar(v, false);
    return c.Bloques.ItemComo<TCADBloque>(0)->Matriz.map(Punto);
}

} // namespace

TEST(Pose, DisplacementTurnAndScaleFollowTheState) {
    TCADComponente c;
    auto* b = BloqueRectangulo(c);
    b->DeltaX = 10; // linear in the state, extrapolated beyond 0 .. 1
    for (double t : {0.0, 0.5, 1.0, 2.0, -1.0})
        Cerca(Pose(c, t, {0, 0}), {10 * t, 0});

    b->DeltaX = 0;
    b->BaseX = 3;
    b->RotacionY = 90; // halfway: 45 degrees counter-clockwise about the base
    const double s = std::sqrt(0.5);
    Cerca(Pose(c, 0.5, {1, 0}), {3 + s, s});
    Cerca(Pose(c, 0.5, {0, 0}), {3, 0});
    Cerca(Pose(c, 1, {1, 0}), {3, 1});

    // The ratio of final to drawn scale.
    std::tie(b->BaseX, b->RotacionY, b->EscalaIniX, b->EscalaFinX) = std::tuple(0, 0, 2, 1);
    Cerca(Pose(c, 1, {1, 1}), {0.5, 1});
    Cerca(Pose(c, 0.5, {1, 1}), {0.75, 1});
    // A block built with a drawn scale of 0 keeps its size instead of
    // dividing by zero (the library never loads such a block).
    b->EscalaIniX = 0;
    Cerca(Pose(c, 1, {1, 1}), {1, 1});
}

TEST(Pose, InstanceRegionsAreThePosedRectanglesInOwnerCoordinates) {
    TCADComponente c;
    BloqueRectangulo(c);
    auto* b2 = BloqueRectangulo(c);
    b2->BaseX = 4;
    b2->DeltaY = 2;
    TCADPaintBox v;
    TCADIndividuo i;
    i.SetComponente(&c);
    EXPECT_EQ(i.Regiones().Count(), 0); // made by the first pose
    std::tie(i.X, i.Y, i.Angulo, i.Estado) = std::tuple(100, 10, 90, 1);
    i.Dibujar(v, false);
    ASSERT_EQ(i.Regiones().Count(), 2);
    // Block 2 at state 1: (4, 2) .. (6, 3) in the instance.
    EXPECT_EQ(i.Regiones().ItemComo<TCADRegion>(1)->Region.Limites(), QRectF(4, 2, 2, 1));
    // Turned 90° and moved: x from 100 - 3 to 100, y from 10 to 16; block 2,
    // block 1, between them.
    EXPECT_EQ(Dentro(i.Region(), {{97.5, 15}, {99.5, 11}, {98.5, 12}}), "110");
    Cerca({i.Bounds.X, i.Bounds.Y}, {97, 10});
    Cerca({i.Bounds.Width, i.Bounds.Height}, {3, 6});
    Cerca(i.Colocacion().map(QPointF(1, 0)), {100, 11});
    // The placement is the very matrix the pose mapped the blocks with.
    TArea unidas;
    for (int k = 0; k < i.Regiones().Count(); ++k)
        unidas.UnirTransformada(i.Regiones().ItemComo<TCADRegion>(k)->Region, i.Colocacion());
    EXPECT_EQ(unidas, i.Region().Region);

    // A mirrored instance inside an element: the owner sees it through its
    // own matrix.
    TCADIndividuo m;
    m.SetComponente(&c);
    m.EscalaX = -1;
    const int e = v.PushTransform(50, 50, 0, 1, 1);
    m.Dibujar(v, false);
    const QTransform elemento = v.TransformActual();
    v.PopTransform(e);
    EXPECT_EQ(Dentro(m.Region().Region.Transformada(elemento), {{48.5, 50.5}, {50.5, 50.5}}), "10");
}

TEST(Pose, NoComponentNoBlocksOrInvisibleDrawsNothing) {
    TCADPaintBox v;
    TCADIndividuo i;
    i.Dibujar(v, true); // no component
    EXPECT_TRUE(i.Region().Region.Vacia());

    TCADComponente vacio;
    vacio.NormalizarBases();
    i.SetComponente(&vacio);
    EXPECT_EQ(i.Regiones().Count(), 0);
    i.Dibujar(v, true);
    EXPECT_TRUE(i.Region().Region.Vacia() && i.Bounds.Width == 0.0f);

    TCADComponente c;
    BloqueRectangulo(c);
    i.SetComponente(&c);
    i.Dibujar(v, false);
    const TArea antes = i.Region().Region;
    const TCADRectF bounds = i.Bounds;
    i.Visible = false;
    i.X = 40;
    i.Dibujar(v, false);
    EXPECT_EQ(std::tuple(i.Region().Region, i.Bounds.X, v.TransformActual()),
              std::tuple(antes, bounds.X, QTransform()));

    // The same component again keeps the regions; another replaces them.
    TCADRegion* r0 = i.Regiones().ItemComo<TCADRegion>(0);
    i.SetComponente(&c);
    EXPECT_EQ(i.Regiones().ItemComo<TCADRegion>(0), r0);
    i.SetComponente(nullptr);
    EXPECT_EQ(i.Regiones().Count(), 0);
}

TEST(Bloque, TakesItsLayerMovedToTheBasePointRoundedToSixDecimals) {
    TCADCapa capa;
    auto* l = Crear<TCADLinea>(capa.Entidades);
    l->P1().SetX(7);
    l->P1().SetY(3);
    l->P2().SetX(9.1234565);
    l->P2().SetY(3); // flat: its extents alone would be empty
    Crear<TCADEntidadPunto>(capa.Entidades)->SetX(1);
    auto* p2 = Crear<TCADEntidadPunto>(capa.Entidades); // the last point wins
    p2->SetX(7.0000025);
    p2->SetY(3);
    Crear<TCADEntidad>(capa.Entidades); // kept by the reader, not drawn
    auto* c = Crear<TCADCirculo>(capa.Entidades);
    c->Centro().SetX(8);
    c->Centro().SetY(4);
    c->SetRadio(0.5);

    TCADBloque b;
    b.TomarCapa(capa);
    // Rounded to 6 decimals, ties to even.
    EXPECT_EQ(std::tuple(b.Entidades.Count(), b.BaseX, b.BaseY), std::tuple(2, 7.000002, 3.0));
    EXPECT_NEAR(b.Entidades.ItemComo<TCADLinea>(0)->P1().GetX(), -0.000002, 1e-12);
    EXPECT_EQ(l->P1().GetX(), 7.0); // the layer's entity is untouched
    EXPECT_EQ(b.Limites, (TCADLimites{-0.000002, 1.5, 2.123454, 0}));
    EXPECT_TRUE(b.Region.Contiene({1, 1}));
    for (auto [x, r] :
         {std::pair{0.1234565, 0.123456}, {-0.0000025, -0.000002}, {1.23456789, 1.234568}})
        EXPECT_DOUBLE_EQ(Redondear6(x), r) << x;

    TCADBloque copia;
    copia.Matriz = QTransform::fromTranslate(1, 1);
    copia.Assign(b);
    EXPECT_EQ(std::tuple(copia.Entidades.Count(), copia.BaseX, copia.Region, copia.Matriz),
              std::tuple(2, b.BaseX, b.Region, QTransform::fromTranslate(1, 1)));
}

TEST(Dibujo, InstanceDrawsInItsColourAndRestoresTheView) {
    AsegurarAplicacion();
    TCADComponente c;
    auto* b = BloqueRectangulo(c);
    b->DeltaX = 4;
    TCADPaintBox v;
    v.SetCliente(100, 100);
    v.Zoom = 10;
    v.Activar();
    TCADIndividuo i;
    i.SetComponente(&c);
    std::tie(i.Color, i.Estado, i.X) = std::tuple(0xFFFF0000u, 0.5, -3);
    v.OnPintar = [&](TCADPaintBox& v) { i.Dibujar(v, true); };
    v.Paint();
    const QImage img = v.Bitmap.copy(0, 0, 100, 100);
    // The rectangle spans world x -1 .. 1, y 0 .. 1: pixels 40 .. 60, 40 .. 50.
    EXPECT_EQ(std::tuple(img.pixel(50, 45), img.pixel(50, 55), img.pixel(35, 45)),
              std::tuple(qRgb(255, 0, 0), qRgb(255, 255, 255), qRgb(255, 255, 255)));
    EXPECT_EQ(std::tuple(v.Pen.color(), v.Brush.color()),
              std::tuple(QColor(Qt::black), QColor(Qt::black)));
}
