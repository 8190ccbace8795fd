#include "Ventana.h"

using namespace ventix;
using T = TTipoComponente;

namespace {

// The mouse as a person uses it: insert from the side bar, drop on the
// canvas, select, and deselect on empty space.
TEST_F(Ventana, InsertDropAndSelectWithTheMouse) {
    L().Paint();
    L().SetZoom(10);
    QTest::mouseMove(F->PB, QPoint(300, 200));
    F->btnCilindro->click();
    ASSERT_EQ(L().Componentes.Count(), 1);
    auto* c = L().Componentes.ItemComo<TAerComponente>(0);
    // The new cylinder follows the pointer on the half-unit grid.
    QTest::mouseMove(F->PB, QPoint(280, 250));
    const TCADCoordenada p = L().PantallaAMundo(QPoint(280, 250));
    EXPECT_NEAR(c->X, p.X, 0.25);
    EXPECT_NEAR(c->Y, p.Y, 0.25);
    EXPECT_EQ(std::fmod(c->X * 2, 1.0), 0.0);
    EXPECT_EQ(F->StatusBar1[0]->text(), QString::asprintf(" (%.2f, %.2f)", p.X, p.Y));

    // The click that drops it selects it and fills the ribbon.
    L().ActualizarGeometria();
    const QPointF Centro = L().MundoAPantalla({c->X + 20, c->Y + 12});
    QTest::mouseClick(F->PB, Qt::LeftButton, Qt::NoModifier, Centro.toPoint());
    EXPECT_EQ(L().Seleccionado, c);
    EXPECT_EQ(L().Modo, mdSeleccion);
    EXPECT_EQ(Cinta(), (std::vector<QFrame*>{F->pBorrar, F->pAlternar, F->pCilindro, F->pTrack}));

    QTest::mouseClick(F->PB, Qt::LeftButton, Qt::NoModifier, QPoint(20, 380));
    EXPECT_EQ(L().Seleccionado, nullptr);
    EXPECT_EQ(L().Modo, mdEdicion);
    EXPECT_TRUE(Cinta().empty());
}

// Hovering highlights what lies under the pointer until the pointer leaves
// the canvas; the right button pans.
TEST_F(Ventana, HighlightAndPan) {
    L().Paint();
    L().SetZoom(10);
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    L().Repintar();
    L().Paint();
    const QPointF Centro = L().MundoAPantalla(
        {c->Bounds.X + c->Bounds.Width / 2.0, c->Bounds.Y + c->Bounds.Height / 2.0});
    QTest::mouseMove(F->PB, Centro.toPoint());
    ASSERT_EQ(L().Resaltado, c);
    QEvent Sale(QEvent::Leave);
    QApplication::sendEvent(F->PB, &Sale);
    EXPECT_EQ(L().Resaltado, nullptr);

    const int x0 = L().OffsetX;
    QTest::mousePress(F->PB, Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(F->PB, QPoint(140, 100));
    QTest::mouseRelease(F->PB, Qt::RightButton, Qt::NoModifier, QPoint(140, 100));
    EXPECT_EQ(L().OffsetX, x0 + 40);
}

// A tube drawn with the mouse: the joint kind chosen first applies to every
// vertex, a click on a component's body adds a vertex there, and Escape
// throws the unfinished tube away.
TEST_F(Ventana, DrawingATubeWithTheMouse) {
    L().Paint();
    L().SetZoom(8);
    L().Centrar(0, 0);
    auto* p = TAerComponente::Crear(L(), T::Presion);
    auto* v = Valvula(TActuador::Seta);
    v->X = 20;
    v->Y = 20;
    L().Repintar();
    auto* Salida = p->Conexion(0);
    Clic(Salida->XMundo, Salida->YMundo);
    ASSERT_EQ(L().Seleccionado, Salida);
    EXPECT_EQ(Cinta(), std::vector<QFrame*>{F->pCrearTubo});
    F->btnCrearTubo->click();
    auto* t = L().TuboNuevo;
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Cinta(), (std::vector<QFrame*>{F->pBorrar, F->pLineas}));
    EXPECT_TRUE(F->btnLinea[2]->Down());
    F->btnLinea[4]->click();
    Clic(0, 12);
    Clic(20, 20); // the valve's body
    Clic(-10, 25);
    EXPECT_EQ(L().TuboNuevo, t);
    EXPECT_EQ(L().Modo, mdTubo);
    EXPECT_EQ(L().Seleccionado, nullptr);
    ASSERT_EQ(t->Vertices.Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(t->Vertices.ItemComo<TAerVertice>(i)->GetLinea(), 4);
    const auto* Medio = t->Vertices.ItemComo<TAerVertice>(1);
    EXPECT_NEAR(Medio->X, 20, 0.2);
    EXPECT_NEAR(Medio->Y, 20, 0.2);

    QTest::keyClick(F.get(), Qt::Key_Escape);
    EXPECT_EQ(L().Modo, mdEdicion);
    EXPECT_EQ(L().TuboNuevo, nullptr);
    EXPECT_EQ(L().Tubos.Count(), 0);
    EXPECT_EQ(L().Componentes.Count(), 2);
    EXPECT_EQ(Salida->Tubo, nullptr);
    EXPECT_TRUE(Cinta().empty());
}

} // namespace
