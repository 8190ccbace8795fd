#include "cad/Entidades.h"
#include "Resumen.h"

#include <gtest/gtest.h>

using namespace ventix;

TEST(Limites, UnionStartsFromTheFirstOperandAndRectanglesRoundTrip) {
    TCADLimites r;
    EXPECT_TRUE(UnirLimites({}, {1, 5, 3, 2}, r));
    EXPECT_EQ(r, (TCADLimites{0, 5, 3, 0}));
    EXPECT_FALSE(UnirLimites({}, {}, r));
    EXPECT_EQ(r, TCADLimites{});
    EXPECT_TRUE(UnirLimites({1, 5, 3, 2}, {}, r));
    EXPECT_EQ(r, (TCADLimites{1, 5, 3, 2}));

    const auto f = r.ARectF();
    EXPECT_EQ((std::vector<float>{f.X, f.Y, f.Width, f.Height}), (std::vector<float>{1, 2, 2, 3}));
    EXPECT_EQ(TCADLimites::DeRectF(f), r);
}

TEST(Entidades, MovingALineShiftsExtentsAndNotifiesTheLayerOnce) {
    TCADCapa capa;
    auto* l = Crear<TCADLinea>(capa.Entidades);
    EXPECT_EQ(l->Punto("p2"), &l->P2());
    EXPECT_THROW(l->P2().SetNombre("p1"), EColeccionError);
    l->P2().SetX(4);
    l->P2().SetY(1);
    EXPECT_EQ(l->Limites, (TCADLimites{0, 1, 4, 0}));
    int avisos = 0;
    capa.Entidades.OnCambio = [&](TColeccionItem* i) {
        EXPECT_EQ(i, l);
        ++avisos;
    };
    l->Desplazar(2, 3, 0);
    EXPECT_EQ(avisos, 1);
    EXPECT_EQ(l->Limites, (TCADLimites{2, 4, 6, 3}));
    EXPECT_EQ(Puntos(*l), "2,3,0 6,4,0");
}

TEST(Entidades, ExtentsOfTextsPointsAndPolylines) {
    TCADTexto t;
    t.Enlace().SetX(1);
    t.Enlace().SetY(2);
    t.SetAltura(3);
    EXPECT_EQ(t.Limites, (TCADLimites{1, 5, 1, 2}));

    TCADEntidadPunto p;
    p.SetX(7);
    p.SetY(-1);
    EXPECT_EQ(p.Limites, (TCADLimites{7, -1, 7, -1}));
    p.Desplazar(1, 1, 1);
    EXPECT_EQ(Valores(p, {"X", "Y", "Z"}), "8 0 1");
    EXPECT_EQ(p.Limites, (TCADLimites{8, 0, 8, 0}));

    TCADPolilinea pl;
    pl.Limites = {9, 9, 9, 9};
    pl.CalcularLimites();
    EXPECT_EQ(pl.Limites, (TCADLimites{9, 9, 9, 9})); // no points: kept
    pl.AgregarVertice(1, 1);
    pl.AgregarVertice(-2, 4);
    pl.AgregarVertice(3, 0);
    EXPECT_EQ(pl.Limites, (TCADLimites{-2, 4, 3, 0}));
}

TEST(Entidades, ClonesKeepPolygonVerticesLayerEntitiesAndParameters) {
    TCADPoligono g;
    g.AgregarVertice(0, 0);
    g.AgregarVertice(2, 0);
    g.AgregarVertice(1, 3);
    EXPECT_EQ(g.Vertices, (std::vector<float>{0, 0, 2, 0, 1, 3}));
    g.Desplazar(1, 0, 0);
    EXPECT_EQ(g.Vertices[0], 1.0f);
    auto copia = g.Clone();
    auto* c = dynamic_cast<TCADPoligono*>(copia.get());
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(std::tuple(c->Vertices, c->Limites, c->GetTipo()),
              std::tuple(g.Vertices, g.Limites, tePoligono));

    TCADCapa a;
    a.SetNombre("Capa");
    a.SetColor(7);
    a.SetGrosor(0.2);
    a.SetActiva(true);
    Crear<TCADTexto>(a.Entidades)->SetTexto("Hola\r\nmundo");
    Crear<TCADArco>(a.Entidades)->SetAlfa2(90);
    auto otra = a.Clone();
    auto& b = static_cast<TCADCapa&>(*otra);
    EXPECT_EQ(b.GetNombre(), "Capa");
    EXPECT_EQ(Valores(b, {"Color", "Grosor", "Activa"}), "7 0.2 TRUE");
    ASSERT_EQ(b.Entidades.Count(), 2);
    EXPECT_EQ(b.Entidades.ItemComo<TCADTexto>(0)->GetTexto(), "Hola\r\nmundo");
    EXPECT_EQ(b.Entidades.ItemComo<TCADArco>(1)->GetAlfa2(), 90.0);
}
