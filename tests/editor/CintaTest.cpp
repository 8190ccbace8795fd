#include "Ventana.h"

#include "circuit/AerTexto.h"

#include <QLineEdit>
#include <QSlider>

using namespace ventix;
using T = TTipoComponente;
using Paneles = std::vector<QFrame*>;

namespace {

TEST_F(Ventana, RetractableRollerValveInComponentView) {
    auto* v = Valvula(TActuador::Escamoteable, true, T::Valvula52);
    ASSERT_TRUE(Elegir(v));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, F->pValvula, F->pIzqDer, F->pActuador,
                                F->pEnclavar, F->pTrack, F->pIdaVuelta}));
    // Laid out from the left with no gap.
    int x = 0;
    for (QFrame* p : Cinta()) {
        EXPECT_EQ(p->x(), x);
        EXPECT_EQ(p->y(), 1);
        x += p->width();
    }
    EXPECT_TRUE(F->btnValvula52->Down());
    EXPECT_FALSE(F->btnValvula32NC->Down());
    EXPECT_TRUE(F->btnEscamoteable->Down());
    EXPECT_FALSE(F->btnSeta->Down());
    EXPECT_EQ(F->TrackBar->toolTip(), "Posición en la que está enclavado respecto al cilindro");
    EXPECT_FALSE(F->btnEnclavar->Down());
    EXPECT_EQ(F->btnEnclavar->toolTip(), "Enclava el rodillo a un cilindro");
    EXPECT_EQ(L().Modo, mdSeleccion);
    EXPECT_EQ(L().Seleccionado, v);
}

TEST_F(Ventana, PilotValveShowsTheSpringButNoRollerTools) {
    auto* v = Valvula(TActuador::Pilotado, false);
    v->SetParametro(1.0);
    ASSERT_TRUE(Elegir(v));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, F->pValvula, F->pIzqDer, F->pActuador,
                                F->pMuelle}));
    EXPECT_FALSE(F->btnMuelle->Down());
    EXPECT_TRUE(F->btnValvulaPosicion1->Down());
    EXPECT_TRUE(F->btnPilotado->Down());
}

TEST_F(Ventana, AlternateViewOfValvesAndLogicValves) {
    auto* v = Valvula(TActuador::Seta);
    v->SetNombre("V1");
    F->btnAlternar->SetDown(true);
    ASSERT_TRUE(Elegir(v));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, F->pCoordenadas, F->pRotar90,
                                F->pSimetrico, F->pNombre, F->pLinkTexto}));
    EXPECT_EQ(F->edNombre->text(), "V1");

    auto* y = TAerComponente::Crear(L(), T::ValvulaOr);
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
        auto* e = TAerComponente::Crear(L(), t);
        ASSERT_TRUE(Elegir(e));
        EXPECT_EQ(Cinta(),
                  (Paneles{F->pBorrar, F->pCoordenadas, F->pRotar90, F->pNombre, F->pLinkTexto}))
            << int(t);
    }
}

TEST_F(Ventana, CylindersRegulatorsAndTimers) {
    auto* c = TAerComponente::Crear(L(), T::CilindroSimple);
    c->SetParametro(0.37);
    c->Simetrico = true;
    ASSERT_TRUE(Elegir(c));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, F->pCilindro, F->pTrack}));
    EXPECT_EQ(F->TrackBar->value(), 37);
    EXPECT_EQ(F->TrackBar->toolTip(), "Posición de avance del cilindro");
    EXPECT_TRUE(F->btnSimetrico->Down());
    EXPECT_TRUE(F->btnCilindroSimple->Down());

    auto* r = TAerComponente::Crear(L(), T::Regulador1);
    r->Valor = 0.125; // half to even
    ASSERT_TRUE(Elegir(r));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, F->pRegulador, F->pTrack}));
    EXPECT_EQ(F->TrackBar->value(), 12);
    EXPECT_FALSE(F->btnSimetrico->Down());
    EXPECT_DOUBLE_EQ(r->Valor, 0.125) << "filling the ribbon writes nothing back";

    auto* t = TAerComponente::Crear(L(), T::TemporizadorNA);
    t->Valor = 0.375;
    ASSERT_TRUE(Elegir(t));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, F->pTemporizador, F->pTrack}));
    EXPECT_EQ(F->TrackBar->value(), 38);
    EXPECT_TRUE(F->btnTemporizadorNA->Down());
    EXPECT_TRUE(F->TrackBar->toolTip().startsWith("Posición del Temporizador"));
}

TEST_F(Ventana, TextsFillTheirPanel) {
    auto* t = TAerTexto::Crear(L());
    t->Cadena = "Hola";
    t->SetEstilo(etNegrita | etTachada);
    t->SetTamano(2.5);
    ASSERT_TRUE(Elegir(t));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pCoordenadas, F->pRotar90, F->pTexto}));
    EXPECT_EQ(F->edTexto->text(), "Hola");
    EXPECT_TRUE(F->btnNegrita->Down());
    EXPECT_FALSE(F->btnItalica->Down());
    EXPECT_FALSE(F->btnSubrayada->Down());
    EXPECT_TRUE(F->btnTachada->Down());
    EXPECT_EQ(F->edSize->text(), "2.5");
}

TEST_F(Ventana, ConnectionWithATubeSelectsNothing) {
    auto* p = TAerComponente::Crear(L(), T::Presion);
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    L().ActualizarGeometria();
    Unir(p->Conexion(0), c->Conexion(0));
    F->SetModo(mdSeleccion);
    EXPECT_FALSE(Elegir(p->Conexion(0)));
    EXPECT_TRUE(Cinta().empty());
    EXPECT_EQ(L().Modo, mdSeleccion);
}

TEST_F(Ventana, VerticesOnlyWhileShown) {
    auto* p = TAerComponente::Crear(L(), T::Presion);
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    L().ActualizarGeometria();
    auto* t = Unir(p->Conexion(0), c->Conexion(0));
    auto* v = t->Vertice(0);
    v->SetLinea(4);
    ASSERT_TRUE(Elegir(v));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pCoordenadas, F->pLineas, F->pVertices}));
    EXPECT_TRUE(F->btnLinea[4]->Down());
    EXPECT_FALSE(F->btnLinea[2]->Down());

    F->btnShowVertices->click();
    F->SetModo(mdSeleccion);
    EXPECT_FALSE(Elegir(v));
    EXPECT_TRUE(Cinta().empty());
    EXPECT_EQ(L().Modo, mdEdicion);
}

TEST_F(Ventana, HighlightingFollowsTheMode) {
    auto* p = TAerComponente::Crear(L(), T::Presion);
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    L().ActualizarGeometria();
    bool a = true;
    F->AlResaltar(p, a);
    EXPECT_TRUE(a);
    F->AlResaltar(p->Conexion(0), a);
    EXPECT_TRUE(a) << "an output may start a tube";
    F->AlResaltar(c->Conexion(0), a);
    EXPECT_FALSE(a) << "an input may not";
    F->SetModo(mdEnclavar);
    F->AlResaltar(p, a);
    EXPECT_FALSE(a);
    F->AlResaltar(c, a);
    EXPECT_TRUE(a);
    F->SetModo(mdEdicion);
    F->SetModo(mdVerificar);
    F->AlResaltar(p, a);
    EXPECT_FALSE(a);
}

TEST_F(Ventana, ATubeEndsOnAnAvailableConnectionOfAnotherElement) {
    auto* p = TAerComponente::Crear(L(), T::Presion);
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    c->X = 30;
    L().ActualizarGeometria();
    ASSERT_TRUE(Elegir(p->Conexion(0)));
    F->btnCrearTuboClick();
    auto* t = L().TuboNuevo;
    // A click on an element's body adds a vertex instead of selecting it.
    EXPECT_FALSE(Elegir(c));
    EXPECT_EQ(L().Modo, mdTubo);
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pLineas}));
    EXPECT_FALSE(Elegir(c->Conexion(1)));
    EXPECT_EQ(L().Modo, mdEdicion);
    EXPECT_EQ(L().TuboNuevo, nullptr);
    EXPECT_EQ(t->Fin, c->Conexion(1));
    EXPECT_EQ(c->Conexion(1)->Tubo, t);
}

TEST_F(Ventana, InterlockingARollerWithACylinder) {
    auto* v = Valvula(TActuador::Rodillo);
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    ASSERT_TRUE(Elegir(v));
    F->btnEnclavar->click();
    ASSERT_EQ(L().Modo, mdEnclavar);
    EXPECT_EQ(F->ValvulaEnclavar, v);
    EXPECT_EQ(F->btnEnclavar->toolTip(), "Desenclava el rodillo del cilindro");
    EXPECT_FALSE(Elegir(c));
    EXPECT_EQ(v->GetCilindro(), c);
    EXPECT_EQ(F->ValvulaEnclavar, nullptr);
    EXPECT_EQ(L().Modo, mdSeleccion);
    EXPECT_TRUE(F->pCinta->Caption().isEmpty());
    EXPECT_TRUE(Cinta().empty());
}

} // namespace
