#include "Ventana.h"

#include "circuit/AerTexto.h"

#include <QColorDialog>
#include <QMessageBox>
#include <QTimer>

using namespace ventix;
using T = TTipoComponente;

namespace {

// Runs Accion on the next modal dialog, of type D, once it is open.
template <class D, class F> void AlAbrirse(F Accion) {
    QTimer::singleShot(0, [Accion] {
        auto* d = qobject_cast<D*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        Accion(*d);
    });
}

TEST_F(Ventana, RibbonButtonsEditTheSelection) {
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    c->Alfa = 30.0;
    ASSERT_TRUE(Elegir(c));
    for (int i = 0; i < 4; ++i)
        F->btnRotar90->click();
    EXPECT_DOUBLE_EQ(c->Alfa, 390.0) << "no reduction to a turn";
    for (bool Simetrico : {true, false}) {
        F->btnSimetrico->click();
        EXPECT_EQ(c->Simetrico, Simetrico);
    }
    // The track bar sets a cylinder's stroke and the value of the rest.
    F->TrackBar->setValue(30);
    EXPECT_EQ(std::tuple(c->GetParametro(), c->Valor), std::tuple(0.3, 0.0));
    auto* r = TAerComponente::Crear(L(), T::Regulador2);
    ASSERT_TRUE(Elegir(r));
    F->TrackBar->setValue(30);
    EXPECT_DOUBLE_EQ(r->Valor, 0.3);
    // Nothing selected: nothing to turn, no crash.
    L().Deseleccionar();
    F->btnRotar90->click();
    EXPECT_DOUBLE_EQ(c->Alfa, 390.0);

    auto* v = Valvula(TActuador::Escamoteable);
    ASSERT_TRUE(Elegir(v));
    for (auto [Boton, Posicion, Sentido] : {std::tuple(F->btnValvulaPosicion1, 1.0, v->Sentido),
                                            {F->btnValvulaPosicion0, 0.0, v->Sentido},
                                            {F->btnAvance, 0.0, TSentido::Avance},
                                            {F->btnRetroceso, 0.0, TSentido::Retroceso}}) {
        Boton->click();
        EXPECT_EQ(std::tuple(v->GetParametro(), v->Sentido), std::tuple(Posicion, Sentido));
    }
}

TEST_F(Ventana, NamesAndLinkedTexts) {
    auto* v = Valvula(TActuador::Seta);
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    v->SetNombre("V1");
    std::tie(v->X, v->Y) = std::pair(10.0, 20.0);
    c->SetNombre("C2");
    ASSERT_TRUE(Elegir(c));
    F->edNombre->setText("V1");
    QString Titulo = "sin cuadro", Texto;
    AlAbrirse<QMessageBox>([&](QMessageBox& m) {
        Titulo = m.windowTitle();
        Texto = m.text();
        m.accept();
    });
    F->btnNameOk->click();
    EXPECT_EQ(Texto, "El nombre \"V1\" ya existe, pruebe otro");
    EXPECT_TRUE(Titulo.isEmpty());
    EXPECT_EQ(F->edNombre->text().toStdString() + " " + c->GetNombre(), "C2 C2");
    F->edNombre->setText("C3");
    F->btnNameOk->click();
    EXPECT_EQ(c->GetNombre(), "C3");

    // A linked text reads the name, 15 left of and 6 above the element.
    ASSERT_TRUE(Elegir(v));
    F->btnLinkText->click();
    ASSERT_EQ(L().Textos.Count(), 1);
    auto* t = L().Textos.ItemComo<TAerTexto>(0);
    EXPECT_EQ(t->Cadena, "V1");
    EXPECT_EQ(std::tuple(t->GetAsociado(), t->X, t->Y, L().Seleccionado),
              std::tuple(v, -5.0, 26.0, v));
    // An unnamed element gets the default string.
    ASSERT_TRUE(Elegir(TAerComponente::Crear(L(), T::CilindroSimple)));
    F->btnLinkText->click();
    EXPECT_EQ(L().Textos.ItemComo<TAerTexto>(1)->Cadena, "Texto");
}

TEST_F(Ventana, TextPanelShowsAndEditsStringStyleHeightAndColour) {
    auto* t = TAerTexto::Crear(L());
    t->Cadena = "Hola";
    t->SetEstilo(etNegrita | etTachada);
    t->SetTamano(2.5);
    ASSERT_TRUE(Elegir(t));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pCoordenadas, F->pRotar90, F->pTexto}));
    EXPECT_EQ(F->edTexto->text(), "Hola");
    EXPECT_TRUE(F->btnNegrita->Down() && F->btnTachada->Down());
    EXPECT_FALSE(F->btnItalica->Down() || F->btnSubrayada->Down());
    EXPECT_EQ(F->edSize->text(), "2.5");

    F->edTexto->setText("Adiós");
    F->btnNegrita->click();
    F->btnItalica->click();
    EXPECT_EQ(t->Cadena, "Adiós");
    EXPECT_EQ(t->GetEstilo(), etTachada | etItalica);

    // Only digits and points reach the height; Enter sets it.
    F->edSize->clear();
    F->edSize->setFocus();
    QTest::keyClicks(F->edSize, "-7a.5");
    EXPECT_EQ(F->edSize->text(), "7.5");
    QTest::keyClick(F->edSize, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(t->GetTamano(), 7.5);
    F->edSize->setText("7..5");
    F->btnOk->click();
    EXPECT_DOUBLE_EQ(t->GetTamano(), 7.5);
    EXPECT_EQ(Mensajes.size(), 1);

    // The colour dialog: OK sets an opaque colour, Cancel changes nothing.
    for (bool Aceptar : {true, false}) {
        AlAbrirse<QColorDialog>([Aceptar](QColorDialog& d) {
            d.setCurrentColor(Aceptar ? QColor(200, 10, 20) : QColor(0, 200, 0));
            Aceptar ? d.accept() : d.reject();
        });
        F->btnColor->click();
        EXPECT_EQ(t->ColorTexto, QColor(200, 10, 20)); // opaque: the alpha is compared too
    }
}

TEST_F(Ventana, ChangingTypeKeepsTheElementButAValveLosesItsInterlock) {
    auto* c = TAerComponente::Crear(L(), T::CilindroDoble);
    auto* v = Valvula(TActuador::Rodillo);
    v->SetCilindro(c);
    ASSERT_EQ(v->GetCilindro(), c);
    v->SetNombre("V1");
    std::tie(v->X, v->Y, v->Alfa, v->Simetrico, v->Valor, v->Sentido) =
        std::tuple(12.0, -4.0, 90.0, true, 0.4, TSentido::Avance);
    v->SetParametro(1.0);
    auto* t = TAerTexto::Crear(L());
    t->X = 2;
    t->SetAsociado(v);
    const int n = L().Componentes.Count();
    ASSERT_TRUE(Elegir(v));

    F->btnValvula52->click();
    auto* w = dynamic_cast<TAerValvula*>(L().Seleccionado);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->GetTipo(), T::Valvula52);
    EXPECT_EQ(std::tuple(w->GetActuador(), w->GetMonoestable(), w->Sentido, w->GetNombre()),
              std::tuple(TActuador::Rodillo, true, TSentido::Avance, std::string("V1")));
    EXPECT_EQ(std::tuple(w->X, w->Y, w->Alfa, w->Simetrico, w->GetParametro(), w->Valor),
              std::tuple(12.0, -4.0, 90.0, true, 1.0, 0.4));
    EXPECT_EQ(std::tuple(w->GetCilindro(), t->GetAsociado(), L().Componentes.Buscar("V1")),
              std::tuple(nullptr, w, w));
    EXPECT_EQ(std::tuple(t->DX, t->DY, L().Componentes.Count()), std::tuple(-10.0, 4.0, n));

    // A cylinder keeps its stroke.
    c->SetParametro(0.6);
    ASSERT_TRUE(Elegir(c));
    F->btnCilindroSimple->click();
    ASSERT_NE(L().Seleccionado, nullptr);
    EXPECT_EQ(std::tuple(L().Seleccionado->GetTipo(), L().Seleccionado->GetParametro(),
                         L().Componentes.Count()),
              std::tuple(T::CilindroSimple, 0.6, n));
}

TEST_F(Ventana, RollerForABistablePilotValveMakesItSpringReturn) {
    auto* v = Valvula(TActuador::Pilotado, false);
    v->SetNombre("V1");
    v->SetParametro(1.0);
    ASSERT_TRUE(Elegir(v));
    // A pilot valve has the spring button but no roller tools.
    const Paneles Valvula{F->pBorrar, F->pAlternar, F->pValvula, F->pIzqDer, F->pActuador};
    const auto Con = [](Paneles A, const Paneles& B) {
        A.insert(A.end(), B.begin(), B.end());
        return A;
    };
    const Paneles Piloto = Con(Valvula, {F->pMuelle});
    EXPECT_EQ(Cinta(), Piloto);
    EXPECT_FALSE(F->btnMuelle->Down());
    EXPECT_TRUE(F->btnValvulaPosicion1->Down() && F->btnPilotado->Down());
    // The valve the ribbon shows now: the selected one.
    const auto Actual = [this] {
        auto* w = dynamic_cast<TAerValvula*>(L().Seleccionado);
        EXPECT_NE(w, nullptr);
        return w ? std::tuple(w->GetMonoestable(), w->GetActuador(), w->GetNombre())
                 : std::tuple(false, TActuador{}, std::string());
    };

    F->btnRodillo->click();
    EXPECT_TRUE(F->btnMuelle->Down());
    EXPECT_EQ(Actual(), std::tuple(true, TActuador::Rodillo, std::string("V1")));
    EXPECT_EQ(Cinta(), Con(Valvula, {F->pEnclavar, F->pTrack}));

    // Back to a pilot: the spring button shows again, at the end, and alone
    // toggles the spring.
    F->btnPilotado->click();
    EXPECT_EQ(Cinta(), Piloto);
    F->btnMuelle->click();
    EXPECT_EQ(Actual(), std::tuple(false, TActuador::Pilotado, std::string("V1")));
    EXPECT_EQ(Cinta().back(), F->pMuelle);
}

TEST_F(Ventana, NextAndPreviousWalkATubeAndStopAtItsEnds) {
    Valvula(TActuador::Seta)->X = -20;
    L().Repintar();
    auto* t = TAerTubo::Crear(L());
    t->SetInicio(L().Componentes.ItemComo<TAerComponente>(0)->Conexion(0));
    auto* v0 = t->AnadirVertice({-10, 5});
    t->SetLinea(4);
    auto* v1 = t->AnadirVertice({0, 5});
    t->SetLinea(1);
    auto* v2 = t->AnadirVertice({10, 5});
    ASSERT_TRUE(Elegir(v1));
    // Each step shows the vertex's own joint kind.
    for (auto [Boton, Vertice, Linea] : {std::tuple(F->btnPrev, v0, 2),
                                         {F->btnPrev, v0, 2},
                                         {F->btnNext, v1, 4},
                                         {F->btnNext, v2, 1},
                                         {F->btnNext, v2, 1}}) {
        Boton->click();
        EXPECT_EQ(L().Seleccionado, Vertice);
        EXPECT_TRUE(F->btnLinea[Linea]->Down());
    }
    EXPECT_EQ(std::tuple(v2->Marcado, v1->Marcado), std::tuple(true, false));
}

// A coordinate edit takes only what a number needs; Enter moves the element.
// A number that cannot be read is shown and leaves the element in place.
TEST_F(Ventana, CoordinateEdits) {
    auto* p = Nuevo(T::Presion, 4);
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
    EXPECT_EQ(std::tuple(p->X, L().Arrastre, QApplication::focusWidget()),
              std::tuple(-12.5, arLibre, nullptr));
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

    // The parser's message is shown, in Spanish.
    F->edY->setFocus();
    F->edY->setText("1..5");
    L().Arrastre = arSeleccion;
    QTest::keyClick(F->edY, Qt::Key_Return);
    EXPECT_EQ(Mensajes, QStringList{"'1..5' no es un número válido"});
    EXPECT_EQ(F->edY->text(), "-3");
    EXPECT_EQ(std::tuple(p->Y, L().Arrastre, L().Modo), std::tuple(-3.0, arLibre, mdSeleccion));
}

// A number longer than its edit shows its beginning ("36.56..."), wherever the
// window writes it: on selection, at every paint, after Enter; the height too.
TEST_F(Ventana, LongNumbersShowTheirBeginning) {
    auto* p = Nuevo(T::Presion, 36.5623927904767, -0.000123456789012345);
    auto* t = TAerTexto::Crear(L());
    t->SetTamano(2.34567890123456);
    auto alPrincipio = [](QLineEdit* Ed) {
        EXPECT_GT(Ed->fontMetrics().horizontalAdvance(Ed->text()), Ed->width()) << "too short";
        return Ed->cursorPosition() == 0;
    };
    ASSERT_TRUE(Elegir(t));
    EXPECT_TRUE(alPrincipio(F->edSize));
    ASSERT_TRUE(Elegir(p));
    L().Paint(); // as after the click that selects
    EXPECT_EQ(F->edX->text(), "36.5623927904767");
    EXPECT_TRUE(alPrincipio(F->edX));
    EXPECT_TRUE(alPrincipio(F->edY));
    F->edX->end(false);
    L().Paint();
    EXPECT_TRUE(alPrincipio(F->edX));

    F->activateWindow();
    F->edX->setFocus();
    F->edX->end(false);
    QTest::keyClick(F->edX, Qt::Key_Return);
    EXPECT_EQ(p->X, 36.5623927904767);
    EXPECT_TRUE(alPrincipio(F->edX));
}

// What each insert button of the side bar creates: valves are spring-return
// push-button ones; the new element follows the pointer.
TEST_F(Ventana, TheSideBarInsertsItsDefaults) {
    const std::pair<TBotonRapido*, T> Casos[] = {
        {F->btnPresion, T::Presion},        {F->btnEscape, T::Escape},
        {F->btnConector, T::ConectorT},     {F->btnValvula, T::Valvula32NC},
        {F->btnCilindro, T::CilindroDoble}, {F->btnLogica, T::ValvulaAnd},
        {F->btnRegulador, T::Regulador2},   {F->btnTemporizador, T::TemporizadorNC},
        {F->btnTexto, T::TextBox}};
    for (const auto& [Boton, Tipo] : Casos) {
        SCOPED_TRACE(Boton->toolTip().toStdString());
        Boton->click();
        TAerComponente* e = L().Seleccionado;
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->GetTipo(), Tipo);
        EXPECT_EQ(e->Valor, Tipo == T::Regulador2 ? 1.0 : 0.0);
        const auto* v = dynamic_cast<TAerValvula*>(e);
        EXPECT_TRUE(!v || (v->GetActuador() == TActuador::Seta && v->GetMonoestable()));
        EXPECT_EQ(L().Arrastre, arSeleccion);
    }
    EXPECT_EQ(L().Componentes.Count() + L().Textos.Count(), 9);
}

// The mouse as a person uses it: insert from the side bar, drop on the
// canvas, select. (A click on empty ground: the end-to-end test.)
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
    EXPECT_LE(std::max(std::abs(c->X - p.X), std::abs(c->Y - p.Y)), 0.25);
    EXPECT_EQ(std::fmod(c->X * 2, 1.0), 0.0);
    EXPECT_EQ(F->StatusBar1[0]->text(), QString::asprintf(" (%.2f, %.2f)", p.X, p.Y));

    // The click that drops it selects it and fills the ribbon.
    L().ActualizarGeometria();
    const QPointF Centro = L().MundoAPantalla({c->X + 20, c->Y + 12});
    QTest::mouseClick(F->PB, Qt::LeftButton, Qt::NoModifier, Centro.toPoint());
    EXPECT_EQ(std::tuple(L().Seleccionado, L().Modo), std::tuple(c, mdSeleccion));
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pAlternar, F->pCilindro, F->pTrack}));
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
TEST_F(Ventana, DrawingATubeWithTheMouseAndEscape) {
    L().Paint();
    L().SetZoom(8);
    L().Centrar(0, 0);
    auto* p = TAerComponente::Crear(L(), T::Presion);
    auto* v = Valvula(TActuador::Seta);
    std::tie(v->X, v->Y) = std::pair(20.0, 20.0);
    L().Repintar();
    auto* Salida = p->Conexion(0);
    Clic(Salida->XMundo, Salida->YMundo);
    ASSERT_EQ(L().Seleccionado, Salida);
    EXPECT_EQ(Cinta(), Paneles{F->pCrearTubo});
    F->btnCrearTubo->click();
    auto* t = L().TuboNuevo;
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pLineas}));
    EXPECT_TRUE(F->btnLinea[2]->Down());
    F->btnLinea[4]->click();
    Clic(0, 12);
    Clic(20, 20); // the valve's body
    Clic(-10, 25);
    EXPECT_EQ(std::tuple(L().TuboNuevo, L().Modo, L().Seleccionado),
              std::tuple(t, mdTubo, nullptr));
    ASSERT_EQ(t->Vertices.Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(t->Vertices.ItemComo<TAerVertice>(i)->GetLinea(), 4);
    const auto* Medio = t->Vertices.ItemComo<TAerVertice>(1);
    EXPECT_LE(std::max(std::abs(Medio->X - 20), std::abs(Medio->Y - 20)), 0.2);

    QTest::keyClick(F.get(), Qt::Key_Escape);
    EXPECT_EQ(std::tuple(L().Modo, L().TuboNuevo, Salida->Tubo),
              std::tuple(mdEdicion, nullptr, nullptr));
    EXPECT_EQ(std::tuple(L().Tubos.Count(), L().Componentes.Count()), std::tuple(0, 2));
    EXPECT_TRUE(Cinta().empty());

    // Escape, even from a focused edit, ends a selection too, but not an
    // interlock; other keys do nothing.
    ASSERT_TRUE(Elegir(p));
    F->FormKeyDown(46);
    EXPECT_EQ(L().Modo, mdSeleccion);
    F->activateWindow();
    F->edNombre->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), F->edNombre);
    QTest::keyClick(F->edNombre, Qt::Key_Escape);
    EXPECT_EQ(std::tuple(L().Modo, L().Seleccionado, L().Componentes.Count()),
              std::tuple(mdEdicion, nullptr, 2));
    F->SetModo(mdEnclavar);
    F->FormKeyDown(27);
    EXPECT_EQ(L().Modo, mdEnclavar);
}

} // namespace
