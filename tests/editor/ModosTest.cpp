#include "Ventana.h"

#include "editor/FormErrores.h"

#include <QAbstractButton>
#include <QMessageBox>

using namespace ventix;
using T = TTipoComponente;

namespace {

// Whether the side bar shows, and which of the toolbar's buttons are enabled.
struct Estado {
    bool Herramientas, New, Open, Save, Imagen, Check, Errores, Play, Step, Pause, Stop, Conexiones,
        Presiones;
};

Estado Leer(const TfrmMain& F) {
    auto e = [](const QWidget* w) { return w->isEnabled(); };
    return Estado(!F.pHerramientas->isHidden(), e(F.btnNew), e(F.btnOpen), e(F.btnSave),
                  e(F.btnImagen), e(F.btnCheck), e(F.btnErrores), e(F.btnPlay), e(F.btnStep),
                  e(F.btnPause), e(F.btnStop), e(F.btnShowConexiones), e(F.btnShowPresiones));
}

// The window starts in edit mode; each mode sets its buttons, and entering the
// mode it is in does nothing, except for editing, which starts afresh.
TEST_F(Ventana, ModesSetTheirButtons) {
    EXPECT_EQ(F->windowTitle(), "Ventix");
    // A canvas of 1000 x 620 where the screen allows, never less than 600 x 400.
    EXPECT_TRUE(F->PB->width() >= 600 && F->PB->height() >= 400);
    EXPECT_EQ(F->StatusBar1[2]->text(),
              QStringLiteral(" %1x%2").arg(F->PB->width()).arg(F->PB->height()));
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
        EXPECT_TRUE(F->btnEditCom->Down() && !F->btnCheck->Down() && Cinta().empty());
    };
    Edicion();

    F->SetModo(mdSeleccion);
    Estado e = Leer(*F);
    EXPECT_FALSE(e.New || e.Open || e.Save || e.Check || F->btnEditCom->Down());
    EXPECT_TRUE(e.Imagen && e.Herramientas);
    F->pCinta->SetCaption("marca"); // set by hand: entering the mode again keeps it
    F->btnNew->setEnabled(true);
    F->SetModo(mdSeleccion); // already in it: nothing changes
    EXPECT_TRUE(F->pCinta->Caption() == "marca" && F->btnNew->isEnabled());

    F->SetModo(mdTubo);
    e = Leer(*F);
    EXPECT_FALSE(e.Herramientas || e.Conexiones || F->btnShowEnclavamientos->isEnabled());
    EXPECT_TRUE(F->btnShowTextos->isEnabled());

    F->SetModo(mdEnclavar);
    EXPECT_TRUE(F->pHerramientas->isHidden());
    EXPECT_TRUE(F->pCinta->Caption().startsWith("Haz click en un cilindro"));

    F->SetModo(mdEdicion);
    Edicion();
    F->btnPlay->setEnabled(true);
    F->NumErrores = 3;
    F->SetModo(mdEdicion);
    EXPECT_EQ(std::tuple(F->btnPlay->isEnabled(), F->NumErrores), std::tuple(false, 0));
    // The prompt stays until a selection clears it.
    F->SetModo(mdSeleccion);
    EXPECT_TRUE(F->pCinta->Caption().isEmpty());

    // Edit and check share a group that may be all up: the click raises edit,
    // SetModo(mdEdicion) presses it again.
    F->btnEditCom->click();
    EXPECT_EQ(L().Modo, mdEdicion);
    EXPECT_TRUE(F->btnEditCom->Down());
    F->btnCheck->click();
    EXPECT_TRUE(F->btnCheck->Down() && !F->btnEditCom->Down());
}

TEST_F(Ventana, StatusPanelsAndZoom) {
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
    const QSize Tamano = F->PB->size();
    F->resize(F->width() + 40, F->height() + 10);
    QApplication::processEvents();
    EXPECT_EQ(F->StatusBar1[2]->text(),
              QStringLiteral(" %1x%2").arg(Tamano.width() + 40).arg(Tamano.height() + 10));

    // The wheel zooms only inside the window; the buttons keep the centre.
    const double z = L().Zoom;
    F->FormMouseWheel(120, QPoint(-5, 10));
    EXPECT_EQ(L().Zoom, z);
    const QPointF Antes = L().MundoAPantalla(L().PosicionRaton);
    F->FormMouseWheel(120, QPoint(300, 200));
    EXPECT_DOUBLE_EQ(L().Zoom, z * 1.2);
    // The point under the pointer stays under it.
    const QPointF d = L().MundoAPantalla(L().PosicionRaton) - Antes.toPoint();
    EXPECT_LE(std::max(std::abs(d.x()), std::abs(d.y())), 0.5);
    EXPECT_EQ(F->StatusBar1[1]->text(), QString::asprintf(" Zoom = %.4f", z * 1.2));
    F->FormMouseWheel(-120, QPoint(300, 200));
    EXPECT_DOUBLE_EQ(L().Zoom, z);

    L().SetZoom(2);
    L().Centrar(10, 20);
    F->btnZoomMas->click();
    EXPECT_DOUBLE_EQ(L().Zoom, 2.4);
    const QRect& c = L().GetCliente();
    const TCADCoordenada m = L().PantallaAMundo(QPoint(c.width() / 2, c.height() / 2));
    EXPECT_LE(std::max(std::abs(m.X - 10), std::abs(m.Y - 20)), 0.5);
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

// Qt's own dialogs and buttons speak Spanish, like the rest of the program.
TEST_F(Ventana, QtsOwnTextsAreSpanish) {
    QMessageBox m;
    m.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(m.button(QMessageBox::Yes)->text().remove('&'), QStringLiteral("Sí"));
}

// The ribbon: which tools the selected element gets.

TEST_F(Ventana, RetractableRollerValveInComponentView) {
    F->resize(1100, F->height()); // one row of panels
    QApplication::processEvents();
    auto* v = Valvula(TActuador::Escamoteable, true, T::Valvula52);
    ASSERT_TRUE(Elegir(v));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, F->pValvula, F->pIzqDer, F->pActuador,
                                F->pEnclavar, F->pTrack, F->pIdaVuelta}));
    // Laid out from the left with no gap.
    int x = 0;
    for (QFrame* p : Cinta()) {
        EXPECT_EQ(p->pos(), QPoint(x, 1));
        x += p->width();
    }
    EXPECT_TRUE(F->btnValvula52->Down() && F->btnEscamoteable->Down());
    EXPECT_FALSE(F->btnValvula32NC->Down() || F->btnSeta->Down() || F->btnEnclavar->Down());
    EXPECT_EQ(F->TrackBar->toolTip() + "|" + F->btnEnclavar->toolTip(),
              "Posición en la que está enclavado respecto al cilindro|"
              "Enclava el rodillo a un cilindro");
    EXPECT_EQ(L().Modo, mdSeleccion);
}

TEST_F(Ventana, AlternateViewOfValvesAndLogicValves) {
    auto* v = Valvula(TActuador::Seta);
    v->SetNombre("V1");
    F->btnAlternar->SetDown(true);
    ASSERT_TRUE(Elegir(v));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, F->pCoordenadas, F->pRotar90,
                                F->pSimetrico, F->pNombre, F->pLinkTexto}));
    EXPECT_EQ(F->edNombre->text(), "V1");

    auto* y = Nuevo(T::ValvulaOr);
    ASSERT_TRUE(Elegir(y));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, F->pCoordenadas, F->pRotar90, F->pNombre,
                                F->pLinkTexto}));
    EXPECT_TRUE(F->btnValvulaOr->Down());

    // The toggle switches the selected element back to its component view.
    F->btnAlternar->click();
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, F->pLogica}));
    EXPECT_EQ(L().Modo, mdSeleccion);
}

TEST_F(Ventana, SourcesExhaustsAndConnectorsHaveNoAlternateView) {
    for (T t : {T::Presion, T::Escape, T::ConectorT}) {
        ASSERT_TRUE(Elegir(Nuevo(t)));
        EXPECT_EQ(Cinta(),
                  (Paneles{F->pBorrar, F->pCoordenadas, F->pRotar90, F->pNombre, F->pLinkTexto}))
            << int(t);
    }
}

TEST_F(Ventana, CylindersRegulatorsAndTimers) {
    auto* c = Nuevo(T::CilindroSimple);
    c->SetParametro(0.37);
    c->Simetrico = true;
    ASSERT_TRUE(Elegir(c));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, F->pCilindro, F->pTrack}));
    EXPECT_EQ(std::tuple(F->TrackBar->value(), F->TrackBar->toolTip()),
              std::tuple(37, QStringLiteral("Posición de avance del cilindro")));
    EXPECT_TRUE(F->btnSimetrico->Down() && F->btnCilindroSimple->Down());

    // Values, half to even; filling the ribbon writes nothing back.
    for (auto [Tipo, Valor, Panel, Pista] : {std::tuple(T::Regulador1, 0.125, F->pRegulador, 12),
                                             {T::TemporizadorNA, 0.375, F->pTemporizador, 38}}) {
        auto* e = Nuevo(Tipo);
        e->Valor = Valor;
        ASSERT_TRUE(Elegir(e));
        EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, Panel, F->pTrack}));
        EXPECT_EQ(std::tuple(F->TrackBar->value(), F->btnSimetrico->Down(), e->Valor),
                  std::tuple(Pista, false, Valor));
    }
    EXPECT_TRUE(F->btnTemporizadorNA->Down());
    EXPECT_TRUE(F->TrackBar->toolTip().startsWith("Posición del Temporizador"));
}

// A connection that has its tube selects nothing; vertices are selectable
// only while shown.
TEST_F(Ventana, TubedConnectionsAndVertices) {
    auto* p = Nuevo(T::Presion);
    auto* c = Nuevo(T::CilindroDoble);
    L().ActualizarGeometria();
    auto* v = Unir(p->Conexion(0), c->Conexion(0))->Vertice(0);
    F->SetModo(mdSeleccion);
    EXPECT_FALSE(Elegir(p->Conexion(0)));
    EXPECT_TRUE(Cinta().empty() && L().Modo == mdSeleccion);

    v->SetLinea(4);
    ASSERT_TRUE(Elegir(v));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pCoordenadas, F->pLineas, F->pVertices}));
    EXPECT_TRUE(F->btnLinea[4]->Down() && !F->btnLinea[2]->Down());
    // A display button sets its flag alone, and deselects.
    F->btnShowVertices->click();
    EXPECT_EQ(std::tuple(F->btnShowVertices->Down(), L().MostrarVertices, L().MostrarConexiones,
                         L().Seleccionado, Cinta().empty()),
              std::tuple(false, false, true, nullptr, true));
    F->SetModo(mdSeleccion);
    EXPECT_FALSE(Elegir(v));
    EXPECT_TRUE(Cinta().empty() && L().Modo == mdEdicion);
    F->btnShowVertices->click();
    EXPECT_TRUE(L().MostrarVertices);
}

TEST_F(Ventana, HighlightingFollowsTheMode) {
    auto* p = Nuevo(T::Presion);
    auto* c = Nuevo(T::CilindroDoble);
    L().ActualizarGeometria();
    auto Resalta = [this](TAerComponente* e) {
        bool a = true;
        F->AlResaltar(e, a);
        return a;
    };
    // An output may start a tube, an input may not; interlocking, cylinders only.
    EXPECT_EQ(std::tuple(Resalta(p), Resalta(p->Conexion(0)), Resalta(c->Conexion(0))),
              std::tuple(true, true, false));
    F->SetModo(mdEnclavar);
    EXPECT_EQ(std::tuple(Resalta(p), Resalta(c)), std::tuple(false, true));
    F->SetModo(mdEdicion);
    F->SetModo(mdVerificar);
    EXPECT_FALSE(Resalta(p));
}

TEST_F(Ventana, InterlockingARollerWithACylinder) {
    auto* v = Valvula(TActuador::Rodillo);
    auto* c = Nuevo(T::CilindroDoble);
    ASSERT_TRUE(Elegir(v));
    F->btnEnclavar->click();
    ASSERT_EQ(L().Modo, mdEnclavar);
    EXPECT_EQ(std::tuple(F->ValvulaEnclavar, F->btnEnclavar->toolTip()),
              std::tuple(v, QStringLiteral("Desenclava el rodillo del cilindro")));
    EXPECT_FALSE(Elegir(c));
    EXPECT_EQ(std::tuple(v->GetCilindro(), F->ValvulaEnclavar, L().Modo),
              std::tuple(c, nullptr, mdSeleccion));
    EXPECT_TRUE(F->pCinta->Caption().isEmpty() && Cinta().empty());
}

} // namespace
