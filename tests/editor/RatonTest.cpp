#include "Ventana.h"

#include <QTest>

using namespace ventix;
using T = TTipoComponente;

namespace {

// The mouse as a person uses it: insert from the side bar, drop on the
// canvas, select, highlight, and pan with the right button.
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
    EXPECT_EQ(F->PanelesVisibles(),
              (std::vector<QFrame*>{F->pBorrar, F->pAlternar, F->pCilindro, F->pTrack}));

    // A click on empty space goes back to editing.
    QTest::mouseClick(F->PB, Qt::LeftButton, Qt::NoModifier, QPoint(20, 380));
    EXPECT_EQ(L().Seleccionado, nullptr);
    EXPECT_EQ(L().Modo, mdEdicion);
    EXPECT_TRUE(F->PanelesVisibles().empty());
}

TEST_F(Ventana, TheRightButtonPans) {
    L().Paint();
    const int x0 = L().OffsetX;
    QTest::mousePress(F->PB, Qt::RightButton, Qt::NoModifier, QPoint(100, 100));
    QTest::mouseMove(F->PB, QPoint(140, 100));
    QTest::mouseRelease(F->PB, Qt::RightButton, Qt::NoModifier, QPoint(140, 100));
    EXPECT_EQ(L().OffsetX, x0 + 40);
}

// Hovering highlights what lies under the pointer until the pointer leaves
// the canvas.
TEST_F(Ventana, TheHighlightEndsWhenThePointerLeaves) {
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
}

} // namespace
