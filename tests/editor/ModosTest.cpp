#include "Ventana.h"

#include "editor/FormErrores.h"

#include <QAbstractButton>
#include <QMessageBox>

using namespace ventix;
using T = TTipoComponente;

namespace {

struct Estado {
    bool New, Open, Save, Imagen, EditCom, Check, Errores, Play, Step, Pause, Stop, Conexiones,
        Presiones, Herramientas;
};

Estado Leer(const TfrmMain& F) {
    return {F.btnNew->isEnabled(),           F.btnOpen->isEnabled(),
            F.btnSave->isEnabled(),          F.btnImagen->isEnabled(),
            F.btnEditCom->isEnabled(),       F.btnCheck->isEnabled(),
            F.btnErrores->isEnabled(),       F.btnPlay->isEnabled(),
            F.btnStep->isEnabled(),          F.btnPause->isEnabled(),
            F.btnStop->isEnabled(),          F.btnShowConexiones->isEnabled(),
            F.btnShowPresiones->isEnabled(), !F.pHerramientas->isHidden()};
}

// The window starts in edit mode; each mode sets its buttons, and entering the
// mode it is in does nothing, except for editing, which starts afresh.
TEST_F(Ventana, ModesSetTheirButtons) {
    EXPECT_EQ(F->windowTitle(), "Ventix");
    EXPECT_EQ(F->PB->size(), QSize(600, 400));
    EXPECT_EQ(F->StatusBar1[2]->text(), " 600x400");
    EXPECT_EQ(L().Arrastre, arSeleccion);
    EXPECT_TRUE(F->btnSeta->Down());
    EXPECT_TRUE(L().MostrarConexiones && L().MostrarVertices && L().MostrarEstrellas &&
                L().MostrarTextos && L().MostrarEnclavamientos && L().MostrarTubosControl &&
                L().MostrarPresiones);
    EXPECT_EQ(F->frmErrores->windowTitle(), "Errores en el circuito");
    EXPECT_TRUE(F->frmErrores->Texto().endsWith("No se han encontrado errores."));
    auto Edicion = [this] {
        EXPECT_EQ(L().Modo, mdEdicion);
        const Estado e = Leer(*F);
        EXPECT_TRUE(e.New && e.Open && e.Save && e.Imagen && e.Check && e.Errores && e.Conexiones &&
                    e.Herramientas);
        EXPECT_FALSE(e.Play || e.Step || e.Pause || e.Stop || e.Presiones);
        EXPECT_TRUE(F->btnEditCom->Down());
        EXPECT_FALSE(F->btnCheck->Down());
        EXPECT_TRUE(Cinta().empty());
    };
    Edicion();

    F->SetModo(mdSeleccion);
    Estado e = Leer(*F);
    EXPECT_FALSE(e.New || e.Open || e.Save || e.Check);
    EXPECT_TRUE(e.Imagen && e.Herramientas);
    EXPECT_FALSE(F->btnEditCom->Down());
    F->pCinta->SetCaption("marca");
    F->btnNew->setEnabled(true);
    F->SetModo(mdSeleccion);
    EXPECT_EQ(F->pCinta->Caption(), "marca");
    EXPECT_TRUE(F->btnNew->isEnabled());

    F->SetModo(mdTubo);
    e = Leer(*F);
    EXPECT_FALSE(e.Herramientas || e.Conexiones);
    EXPECT_FALSE(F->btnShowEnclavamientos->isEnabled());
    EXPECT_TRUE(F->btnShowTextos->isEnabled());

    F->SetModo(mdEnclavar);
    EXPECT_TRUE(F->pHerramientas->isHidden());
    EXPECT_TRUE(F->pCinta->Caption().startsWith("Haz click en un cilindro"));

    F->SetModo(mdEdicion);
    Edicion();
    F->btnPlay->setEnabled(true);
    F->NumErrores = 3;
    F->SetModo(mdEdicion);
    EXPECT_FALSE(F->btnPlay->isEnabled());
    EXPECT_EQ(F->NumErrores, 0);
    // The prompt stays until a selection clears it.
    F->SetModo(mdSeleccion);
    EXPECT_TRUE(F->pCinta->Caption().isEmpty());
}

TEST_F(Ventana, StatusPanels) {
    L().PosicionRaton = {12.5, -3};
    L().Zoom = 1.2;
    const std::pair<int, const char*> Errores[] = {
        {0, ""}, {1, " 1 Error detectado"}, {2, " 2 Errores detectados"}};
    for (const auto& [n, Texto] : Errores) {
        F->NumErrores = n;
        F->ActualizarEstado();
        EXPECT_EQ(F->StatusBar1[3]->text(), Texto);
    }
    EXPECT_EQ(F->StatusBar1[0]->text(), " (12.50, -3.00)");
    EXPECT_EQ(F->StatusBar1[1]->text(), " Zoom = 1.2000");
    F->resize(F->width() + 40, F->height() + 10);
    QApplication::processEvents();
    EXPECT_EQ(F->StatusBar1[2]->text(), " 640x410");
}

TEST_F(Ventana, DisplayButtonsSetTheFlagsAndDeselect) {
    ASSERT_TRUE(Elegir(TAerComponente::Crear(L(), T::Presion)));
    F->btnShowVertices->click();
    EXPECT_FALSE(F->btnShowVertices->Down());
    EXPECT_FALSE(L().MostrarVertices);
    EXPECT_TRUE(L().MostrarConexiones);
    EXPECT_EQ(L().Seleccionado, nullptr);
    EXPECT_TRUE(Cinta().empty());
    F->btnShowVertices->click();
    EXPECT_TRUE(L().MostrarVertices);
}

TEST_F(Ventana, EditAndCheckShareAGroupThatMayBeAllUp) {
    // Raised by the click, pressed again by SetModo(mdEdicion).
    F->btnEditCom->click();
    EXPECT_EQ(L().Modo, mdEdicion);
    EXPECT_TRUE(F->btnEditCom->Down());
    F->btnCheck->click();
    EXPECT_TRUE(F->btnCheck->Down());
    EXPECT_FALSE(F->btnEditCom->Down());
}

// Escape, even from a focused edit, ends a selection but not an interlock;
// no other key acts (discarding a tube and running: the tube and run tests).
TEST_F(Ventana, EscapeEndsASelectionButNotAnInterlock) {
    auto* p = TAerComponente::Crear(L(), T::Presion);
    ASSERT_TRUE(Elegir(p));
    F->FormKeyDown(46);
    EXPECT_EQ(L().Componentes.Count(), 1);
    EXPECT_EQ(L().Modo, mdSeleccion);
    F->activateWindow();
    F->edNombre->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), F->edNombre);
    QTest::keyClick(F->edNombre, Qt::Key_Escape);
    EXPECT_EQ(L().Modo, mdEdicion);
    EXPECT_EQ(L().Seleccionado, nullptr);
    EXPECT_EQ(L().Componentes.Count(), 1);

    F->SetModo(mdEnclavar);
    F->FormKeyDown(27);
    EXPECT_EQ(L().Modo, mdEnclavar);
}

TEST_F(Ventana, TheWheelZoomsOnlyInsideTheWindowAndTheButtonsKeepTheCentre) {
    const double z = L().Zoom;
    F->FormMouseWheel(120, QPoint(-5, 10));
    EXPECT_EQ(L().Zoom, z);
    F->FormMouseWheel(120, QPoint(300, 200));
    EXPECT_DOUBLE_EQ(L().Zoom, z * 1.2);
    EXPECT_EQ(F->StatusBar1[1]->text(), QString::asprintf(" Zoom = %.4f", z * 1.2));
    F->FormMouseWheel(-120, QPoint(300, 200));
    EXPECT_DOUBLE_EQ(L().Zoom, z);

    L().SetZoom(2);
    L().Centrar(10, 20);
    F->btnZoomMas->click();
    EXPECT_DOUBLE_EQ(L().Zoom, 2.4);
    const QRect& c = L().GetCliente();
    const TCADCoordenada m = L().PantallaAMundo(QPoint(c.width() / 2, c.height() / 2));
    EXPECT_NEAR(m.X, 10, 0.5);
    EXPECT_NEAR(m.Y, 20, 0.5);
    F->btnZoom1->click();
    EXPECT_DOUBLE_EQ(L().Zoom, 1.0);
}

TEST(VentanaSinCatalogo, StartsAndStaysUsable) {
    Aplicacion();
    TfrmMain F(std::filesystem::u8path("/no/existe/LIBRERÍA.txt"));
    EXPECT_FALSE(F.Lienzo->Libreria.Problemas.empty());
    F.show();
    // Buttons without a symbol fall back to a caption.
    EXPECT_FALSE(F.btnValvula->text().isEmpty());
    F.btnCilindro->click();
    EXPECT_EQ(F.Lienzo->Componentes.Count(), 1);
    F.SetModo(mdVerificar);
    EXPECT_EQ(F.Lienzo->Modo, mdParado);
}

// A new sheet shows symbols at a readable size about the origin, and Qt's own
// dialogs speak Spanish.
TEST_F(Ventana, TheFirstViewAndQtsOwnTextsSuitAStudent) {
    // As at start-up: the window is sized, the view set, then it paints.
    F->resize(1100, 760);
    QApplication::processEvents();
    F->VistaInicial();
    QApplication::processEvents();
    L().Paint();
    EXPECT_DOUBLE_EQ(L().Zoom, 4.0);
    const QPointF o = L().MundoAPantalla({0, 0});
    EXPECT_NEAR(o.x(), F->PB->width() / 2.0, 1);
    EXPECT_NEAR(o.y(), F->PB->height() / 2.0, 1);
    EXPECT_EQ(F->StatusBar1[1]->text(), " Zoom = 4.0000");

    QMessageBox m;
    m.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(m.button(QMessageBox::Yes)->text().remove('&'), QStringLiteral("Sí"));
}

} // namespace
