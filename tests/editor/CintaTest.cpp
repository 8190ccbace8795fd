#include "Ventana.h"

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
        EXPECT_EQ(p->pos(), QPoint(x, 1));
        x += p->width();
    }
    EXPECT_TRUE(F->btnValvula52->Down() && F->btnEscamoteable->Down());
    EXPECT_FALSE(F->btnValvula32NC->Down() || F->btnSeta->Down());
    EXPECT_EQ(F->TrackBar->toolTip(), "Posición en la que está enclavado respecto al cilindro");
    EXPECT_FALSE(F->btnEnclavar->Down());
    EXPECT_EQ(F->btnEnclavar->toolTip(), "Enclava el rodillo a un cilindro");
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
        ASSERT_TRUE(Elegir(TAerComponente::Crear(L(), t)));
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
    EXPECT_TRUE(F->btnSimetrico->Down() && F->btnCilindroSimple->Down());

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

// A connection that has its tube selects nothing; vertices are selectable
// only while shown.
TEST_F(Ventana, TubedConnectionsAndVertices) {
    auto* p = TAerComponente::Crear(L(), T::Presion);
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    L().ActualizarGeometria();
    auto* v = Unir(p->Conexion(0), c->Conexion(0))->Vertice(0);
    F->SetModo(mdSeleccion);
    EXPECT_FALSE(Elegir(p->Conexion(0)));
    EXPECT_TRUE(Cinta().empty());
    EXPECT_EQ(L().Modo, mdSeleccion);

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
