#include "Ventana.h"

#include "circuit/AerTexto.h"

#include <QApplication>
#include <QColorDialog>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

using namespace ventix;
using T = TTipoComponente;

namespace {

// Runs Accion on the next modal dialog once it is open.
template <class F> void AlAbrirseDialogo(F Accion) {
    QTimer::singleShot(0, [Accion] {
        if (QWidget* w = QApplication::activeModalWidget())
            Accion(w);
    });
}

TEST_F(Ventana, PlacementRotatesWithoutReductionAndMirrors) {
    auto* e = TAerComponente::Crear(L(), T::CilindroDoble);
    e->Alfa = 30.0;
    ASSERT_TRUE(Elegir(e));
    for (int i = 0; i < 4; ++i)
        F->btnRotar90->click();
    EXPECT_DOUBLE_EQ(e->Alfa, 390.0);
    F->btnSimetrico->click();
    EXPECT_TRUE(e->Simetrico);
    F->btnSimetrico->click();
    EXPECT_FALSE(e->Simetrico);
    // Nothing selected: nothing to turn, no crash.
    L().Deseleccionar();
    F->btnRotar90->click();
    EXPECT_DOUBLE_EQ(e->Alfa, 390.0);
}

TEST_F(Ventana, TrackBarSetsStrokeOfCylindersAndValueOfTheRest) {
    auto* r = TAerComponente::Crear(L(), T::Regulador2);
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    ASSERT_TRUE(Elegir(r));
    F->TrackBar->setValue(30);
    EXPECT_DOUBLE_EQ(r->Valor, 0.3);
    ASSERT_TRUE(Elegir(c));
    F->TrackBar->setValue(30);
    EXPECT_DOUBLE_EQ(c->GetParametro(), 0.3);
    EXPECT_DOUBLE_EQ(c->Valor, 0.0);
    // Filling the ribbon for another element writes nothing back.
    r->Valor = 0.8;
    ASSERT_TRUE(Elegir(r));
    EXPECT_DOUBLE_EQ(r->Valor, 0.8);
    EXPECT_DOUBLE_EQ(c->GetParametro(), 0.3);
}

TEST_F(Ventana, ValvePositionAndRollerDirection) {
    auto* v = Valvula(TActuador::Escamoteable);
    ASSERT_TRUE(Elegir(v));
    F->btnValvulaPosicion1->click();
    EXPECT_DOUBLE_EQ(v->GetParametro(), 1.0);
    F->btnValvulaPosicion0->click();
    EXPECT_DOUBLE_EQ(v->GetParametro(), 0.0);
    F->btnAvance->click();
    EXPECT_EQ(v->Sentido, TSentido::Avance);
    F->btnRetroceso->click();
    EXPECT_EQ(v->Sentido, TSentido::Retroceso);
}

TEST_F(Ventana, DuplicateNameIsRefusedWithTheMessageAndTheOldNameComesBack) {
    auto* a = TAerComponente::Crear(L(), T::CilindroDoble);
    auto* b = TAerComponente::Crear(L(), T::CilindroDoble);
    a->SetNombre("V1");
    b->SetNombre("C2");
    ASSERT_TRUE(Elegir(b));
    F->edNombre->setText("V1");
    QString Titulo = "sin cuadro", Texto;
    AlAbrirseDialogo([&](QWidget* w) {
        auto* m = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(m, nullptr);
        Titulo = m->windowTitle();
        Texto = m->text();
        m->accept();
    });
    F->btnNameOk->click();
    EXPECT_EQ(Texto, "El nombre \"V1\" ya existe, pruebe otro");
    EXPECT_TRUE(Titulo.isEmpty());
    EXPECT_EQ(F->edNombre->text(), "C2");
    EXPECT_EQ(b->GetNombre(), "C2");

    F->edNombre->setText("C3");
    F->btnNameOk->click();
    EXPECT_EQ(b->GetNombre(), "C3");
}

TEST_F(Ventana, LinkedTextReadsTheNameLeftAndAboveTheElement) {
    auto* v = Valvula(TActuador::Seta);
    v->SetNombre("V1");
    v->X = 10;
    v->Y = 20;
    ASSERT_TRUE(Elegir(v));
    F->btnLinkText->click();
    ASSERT_EQ(L().Textos.Count(), 1);
    auto* t = L().Textos.ItemComo<TAerTexto>(0);
    EXPECT_EQ(t->Cadena, "V1");
    EXPECT_EQ(t->GetAsociado(), v);
    EXPECT_DOUBLE_EQ(t->X, -5.0);
    EXPECT_DOUBLE_EQ(t->Y, 26.0);
    EXPECT_EQ(L().Seleccionado, v);
    // An unnamed element gets the default string.
    auto* c = TAerComponente::Crear(L(), T::CilindroSimple);
    ASSERT_TRUE(Elegir(c));
    F->btnLinkText->click();
    EXPECT_EQ(L().Textos.ItemComo<TAerTexto>(1)->Cadena, "Texto");
}

TEST_F(Ventana, TextPanelEditsStringStyleHeightAndColour) {
    auto* t = TAerTexto::Crear(L());
    ASSERT_TRUE(Elegir(t));
    F->edTexto->setText("Hola");
    EXPECT_EQ(t->Cadena, "Hola");
    F->btnNegrita->click();
    F->btnTachada->click();
    EXPECT_EQ(t->GetEstilo(), etNegrita | etTachada);
    F->btnNegrita->click();
    EXPECT_EQ(t->GetEstilo(), etTachada);

    // Only digits and points reach the height; Enter sets it.
    F->edSize->clear();
    F->edSize->setFocus();
    for (QChar k : QStringLiteral("-7a.5")) {
        QKeyEvent e(QEvent::KeyPress, 0, Qt::NoModifier, QString(k));
        QApplication::sendEvent(F->edSize, &e);
    }
    EXPECT_EQ(F->edSize->text(), "7.5");
    {
        QKeyEvent e(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(F->edSize, &e);
    }
    EXPECT_DOUBLE_EQ(t->GetTamano(), 7.5);
    F->edSize->setText("7..5");
    F->btnOk->click();
    EXPECT_DOUBLE_EQ(t->GetTamano(), 7.5);
    EXPECT_EQ(Mensajes.size(), 1);

    AlAbrirseDialogo([](QWidget* w) {
        auto* d = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(d, nullptr);
        d->setCurrentColor(QColor(200, 10, 20));
        d->accept();
    });
    F->btnColor->click();
    EXPECT_EQ(t->ColorTexto, QColor(200, 10, 20));
    EXPECT_EQ(t->ColorTexto.alpha(), 255);
    // Cancel changes nothing.
    AlAbrirseDialogo([](QWidget* w) {
        auto* d = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(d, nullptr);
        d->setCurrentColor(QColor(0, 200, 0));
        d->reject();
    });
    F->btnColor->click();
    EXPECT_EQ(t->ColorTexto, QColor(200, 10, 20));
}

TEST_F(Ventana, ChangingTypeKeepsTheValveButLosesTheInterlock) {
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    auto* v = Valvula(TActuador::Rodillo);
    v->SetCilindro(c);
    ASSERT_EQ(v->GetCilindro(), c);
    v->SetNombre("V1");
    v->X = 12;
    v->Y = -4;
    v->Alfa = 90;
    v->Simetrico = true;
    v->SetParametro(1.0);
    v->Valor = 0.4;
    v->Sentido = TSentido::Avance;
    auto* t = TAerTexto::Crear(L());
    t->X = 2;
    t->Y = 0;
    t->SetAsociado(v);
    const int n = L().Componentes.Count();
    ASSERT_TRUE(Elegir(v));

    F->btnValvula52->click();
    auto* w = dynamic_cast<TAerValvula*>(L().Seleccionado);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetTipo(), T::Valvula52);
    EXPECT_EQ(w->GetActuador(), TActuador::Rodillo);
    EXPECT_TRUE(w->GetMonoestable());
    EXPECT_EQ(w->Sentido, TSentido::Avance);
    EXPECT_DOUBLE_EQ(w->X, 12);
    EXPECT_DOUBLE_EQ(w->Y, -4);
    EXPECT_DOUBLE_EQ(w->Alfa, 90);
    EXPECT_TRUE(w->Simetrico);
    EXPECT_DOUBLE_EQ(w->GetParametro(), 1.0);
    EXPECT_DOUBLE_EQ(w->Valor, 0.4);
    EXPECT_EQ(w->GetNombre(), "V1");
    EXPECT_EQ(w->GetCilindro(), nullptr);
    EXPECT_EQ(t->GetAsociado(), w);
    EXPECT_DOUBLE_EQ(t->DX, -10);
    EXPECT_DOUBLE_EQ(t->DY, 4);
    EXPECT_EQ(L().Componentes.Count(), n);
    EXPECT_EQ(L().Componentes.Buscar("V1"), w);
}

TEST_F(Ventana, ChangingACylinderOrRegulatorKeepsItsState) {
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    c->SetParametro(0.6);
    ASSERT_TRUE(Elegir(c));
    F->btnCilindroSimple->click();
    ASSERT_NE(L().Seleccionado, nullptr);
    EXPECT_EQ(L().Seleccionado->GetTipo(), T::CilindroSimple);
    EXPECT_DOUBLE_EQ(L().Seleccionado->GetParametro(), 0.6);
    EXPECT_EQ(L().Componentes.Count(), 1);
}

TEST_F(Ventana, RollerForABistablePilotValveMakesItSpringReturn) {
    auto* v = Valvula(TActuador::Pilotado, false);
    v->SetNombre("V1");
    ASSERT_TRUE(Elegir(v));
    EXPECT_FALSE(F->btnMuelle->Down());
    F->btnRodillo->click();
    EXPECT_TRUE(F->btnMuelle->Down());
    auto* w = dynamic_cast<TAerValvula*>(L().Seleccionado);
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->GetMonoestable());
    EXPECT_EQ(w->GetActuador(), TActuador::Rodillo);
    EXPECT_EQ(w->GetNombre(), "V1");
    const auto p = Cinta();
    ASSERT_GE(p.size(), 2u);
    EXPECT_EQ(p[p.size() - 2], F->pEnclavar);
    EXPECT_EQ(p.back(), F->pTrack);
    EXPECT_TRUE(F->pMuelle->isHidden());

    // Back to a pilot: the spring button shows again, at the end.
    F->btnPilotado->click();
    w = dynamic_cast<TAerValvula*>(L().Seleccionado);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetActuador(), TActuador::Pilotado);
    EXPECT_EQ(Cinta().back(), F->pMuelle);
    EXPECT_TRUE(F->pTrack->isHidden());
    // The spring button alone toggles the spring.
    F->btnMuelle->click();
    w = dynamic_cast<TAerValvula*>(L().Seleccionado);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->GetMonoestable());
    EXPECT_EQ(w->GetActuador(), TActuador::Pilotado);
    EXPECT_EQ(Cinta().back(), F->pMuelle);
}

TEST_F(Ventana, NextAndPreviousWalkATubeAndStopAtItsEnds) {
    auto* a = Valvula(TActuador::Seta);
    a->X = -20;
    L().Repintar();
    auto* t = TAerTubo::Crear(L());
    t->SetInicio(a->Conexion(0));
    auto* v0 = t->AnadirVertice({-10, 5});
    t->SetLinea(4);
    auto* v1 = t->AnadirVertice({0, 5});
    t->SetLinea(1);
    auto* v2 = t->AnadirVertice({10, 5});
    ASSERT_TRUE(Elegir(v1));
    F->btnPrev->click();
    EXPECT_EQ(L().Seleccionado, v0);
    F->btnPrev->click();
    EXPECT_EQ(L().Seleccionado, v0);
    F->btnNext->click();
    EXPECT_EQ(L().Seleccionado, v1);
    EXPECT_TRUE(F->btnLinea[4]->Down());
    F->btnNext->click();
    EXPECT_EQ(L().Seleccionado, v2);
    EXPECT_TRUE(F->btnLinea[1]->Down());
    // On the last vertex btnNext keeps the selection.
    F->btnNext->click();
    EXPECT_EQ(L().Seleccionado, v2);
    EXPECT_TRUE(v2->Marcado);
    EXPECT_FALSE(v1->Marcado);
}

// A coordinate edit takes only what a number needs; Enter moves the element.
TEST_F(Ventana, CoordinateEditsTakeOnlyNumbers) {
    auto* p = TAerComponente::Crear(L(), T::Presion);
    p->X = 4;
    ASSERT_TRUE(Elegir(p));
    F->activateWindow();
    F->edX->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), F->edX);
    F->edX->selectAll();
    QTest::keyClicks(F->edX, "a-1x2.5Z");
    EXPECT_EQ(F->edX->text(), "-12.5");
    EXPECT_EQ(p->X, 4) << "nothing moves before Enter";
    L().Arrastre = arSeleccion;
    QTest::keyClick(F->edX, Qt::Key_Return);
    EXPECT_EQ(p->X, -12.5);
    EXPECT_EQ(F->edX->text(), "-12.5");
    EXPECT_EQ(L().Arrastre, arLibre);
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
    // Editing keys keep working: Backspace, and the arrows.
    F->edY->setFocus();
    F->edY->setText("37");
    F->edY->end(false);
    QTest::keyClick(F->edY, Qt::Key_Backspace);
    QTest::keyClick(F->edY, Qt::Key_Left);
    QTest::keyClicks(F->edY, "-");
    QTest::keyClick(F->edY, Qt::Key_Enter);
    EXPECT_EQ(p->Y, -3);
    EXPECT_TRUE(Mensajes.isEmpty()) << Mensajes.join('\n').toStdString();
}

// What each insert button of the side bar creates.
TEST_F(Ventana, TheSideBarInsertsItsDefaults) {
    struct Caso {
        TBotonRapido* Boton;
        T Tipo;
    };
    for (const Caso& c :
         {Caso{F->btnPresion, T::Presion}, Caso{F->btnEscape, T::Escape},
          Caso{F->btnConector, T::ConectorT}, Caso{F->btnValvula, T::Valvula32NC},
          Caso{F->btnCilindro, T::CilindroDoble}, Caso{F->btnLogica, T::ValvulaAnd},
          Caso{F->btnRegulador, T::Regulador2}, Caso{F->btnTemporizador, T::TemporizadorNC},
          Caso{F->btnTexto, T::TextBox}}) {
        c.Boton->click();
        TAerComponente* e = L().Seleccionado;
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->GetTipo(), c.Tipo) << c.Boton->toolTip().toStdString();
        EXPECT_EQ(e->Valor, c.Tipo == T::Regulador2 ? 1.0 : 0.0);
        if (auto* v = dynamic_cast<TAerValvula*>(e)) {
            EXPECT_EQ(v->GetActuador(), TActuador::Seta);
            EXPECT_TRUE(v->GetMonoestable());
        }
        EXPECT_EQ(L().Arrastre, arSeleccion) << "the new element follows the pointer";
    }
    EXPECT_EQ(L().Componentes.Count() + L().Textos.Count(), 9);
}

// A tube drawn with the mouse: the joint kind chosen first applies to every
// vertex, and a click on a component's body adds a vertex there.
TEST_F(Ventana, DrawingATubeWithTheMouse) {
    L().Paint();
    L().SetZoom(8);
    L().Centrar(0, 0);
    auto* p = TAerComponente::Crear(L(), T::Presion);
    auto* v = Valvula(TActuador::Seta);
    v->X = 20;
    v->Y = 20;
    L().Repintar();
    auto Clic = [&](double x, double y) {
        const QPoint s = L().MundoAPantalla({x, y}).toPoint();
        QTest::mouseMove(F->PB, s);
        QTest::mouseClick(F->PB, Qt::LeftButton, Qt::NoModifier, s);
    };
    auto* Salida = p->Conexion(0);
    Clic(Salida->XMundo, Salida->YMundo);
    ASSERT_EQ(L().Seleccionado, Salida);
    F->btnCrearTubo->click();
    auto* t = L().TuboNuevo;
    ASSERT_NE(t, nullptr);
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
    // Escape throws the unfinished tube away.
    QTest::keyClick(F.get(), Qt::Key_Escape);
    EXPECT_EQ(L().TuboNuevo, nullptr);
    EXPECT_EQ(L().Tubos.Count(), 0);
    EXPECT_EQ(Salida->Tubo, nullptr);
}

} // namespace
