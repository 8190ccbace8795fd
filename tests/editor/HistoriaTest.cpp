#include "Ventana.h"

#include "circuit/AerTexto.h"
#include "editor/FormErrores.h"
#include "editor/Recuperacion.h"
#include "files/ArchivoAer.h"

#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QMimeData>
#include <QTemporaryDir>

#include <functional>

// The undo history, keys, several elements with the clipboard, the ribbon's
// rows and the recovery file.

using namespace ventix;
using T = TTipoComponente;
namespace A = ArchivoAer;

namespace {

// A small circuit whose every element has a name, so that a test finds it
// again after the circuit has been rebuilt by an undo.
class Historia : public Ventana {
protected:
    void SetUp() override {
        Ventana::SetUp();
        F->Preguntar = [](const QString&) { return true; };
        auto* c = Nuevo(T::CilindroDoble, 20);
        c->SetNombre("A");
        auto* v = Valvula(TActuador::Rodillo);
        v->SetNombre("V1");
        v->SetCilindro(c);
        auto* p = Valvula(TActuador::Seta, true, T::Valvula52);
        p->SetNombre("V2");
        p->Y = -20;
        auto* t = TAerTexto::Crear(L());
        std::tie(t->X, t->Y) = std::pair(25.0, 10.0);
        t->SetAsociado(c);
        auto* f = Nuevo(T::Presion, -20);
        f->SetNombre("P");
        L().ActualizarGeometria();
        Unir(p->Conexion(1), c->Conexion(0));
        Unir(f->Conexion(0), p->Conexion(0));
        Unir(v->Conexion(1), c->Conexion(1));
        F->ReiniciarHistoria();
    }
    TAerComponente* E(const char* Nombre) {
        return static_cast<TAerComponente*>(L().Componentes.Buscar(Nombre));
    }
    std::vector<std::string> Lineas() { return A::Instantanea(L()); }
    // A pixel where a click finds the element itself (not one of its points).
    QPoint Sobre(TAerComponente* e) {
        L().Paint();
        const TCADRectF& b = e->Bounds;
        for (int i = 1; i < 10; ++i)
            for (int j = 1; j < 10; ++j) {
                const QPoint p =
                    L().MundoAPantalla({b.X + b.Width * i / 10, b.Y + b.Height * j / 10}).toPoint();
                if (L().ElementoEn(L().PantallaAMundo(p)) == e)
                    return p;
            }
        ADD_FAILURE() << "no pixel finds the element";
        return {};
    }
};

TEST_F(Historia, EveryKindOfChangeIsUndoneAndRedoneExactly) {
    using Paso = std::pair<const char*, std::function<void()>>;
    const Paso Pasos[] = {
        {"girar V1", [&] { Elegir(E("V1")), F->btnRotar90->click(); }},
        {"reflejar V1", [&] { Elegir(E("V1")), F->btnSimetrico->click(); }},
        {"cambiar la posición inicial de V1",
         [&] { Elegir(E("V1")), F->btnValvulaPosicion1->click(); }},
        {"cambiar V2", [&] { Elegir(E("V2")), F->btnValvula32NA->click(); }},
        {"cambiar el accionamiento de V1", [&] { Elegir(E("V1")), F->btnPilotado->click(); }},
        {"cambiar el accionamiento de V2", [&] { Elegir(E("V2")), F->btnMuelle->click(); }},
        {"ajustar V1", [&] { Elegir(E("V1")), F->TrackBar->setValue(40); }},
        {"desenclavar V1", [&] { Elegir(E("V1")), F->btnEnclavar->click(); }},
        {"nombrar V3", [&] { Elegir(E("V2")), F->edNombre->setText("V3"), F->btnNameOk->click(); }},
        {"enlazar un texto a V2", [&] { Elegir(E("V2")), F->btnLinkText->click(); }},
        {"borrar A", [&] { Elegir(E("A")), F->btnBorrar->click(); }},
        {"borrar una unión",
         [&] { Elegir(L().Tubos.ItemComo<TAerTubo>(0)->Vertice(0)), F->btnBorrar->click(); }},
        {"mover P",
         [&] {
             Elegir(E("P"));
             F->edX->setText("-12.5");
             F->edXKeyPress(13);
         }},
    };
    for (const auto& [Nombre, Hacer] : Pasos) {
        SCOPED_TRACE(Nombre);
        const auto Antes = Lineas();
        Hacer();
        const auto Despues = Lineas();
        ASSERT_NE(Despues, Antes);
        EXPECT_TRUE(F->btnDeshacer->isEnabled());
        EXPECT_EQ(F->btnDeshacer->toolTip(), QStringLiteral("Deshacer: %1 (Ctrl+Z)").arg(Nombre));
        F->Deshacer();
        EXPECT_EQ(Lineas(), Antes);
        EXPECT_TRUE(F->btnRehacer->isEnabled());
        F->Rehacer();
        EXPECT_EQ(Lineas(), Despues);
        F->Deshacer();
    }
    // Every step undone: the circuit as it was loaded, clean, nothing to undo.
    while (F->Historia.canUndo())
        F->Deshacer();
    EXPECT_FALSE(F->btnDeshacer->isEnabled());
    EXPECT_FALSE(F->Modificado());
}

TEST_F(Historia, TextsAndTheMouseMakeOneStepPerCommittedValue) {
    auto* t = L().Textos.ItemComo<TAerTexto>(0);
    const auto Antes = Lineas();
    ASSERT_TRUE(Elegir(t));
    for (const char* s : {"C", "Ci", "Cil"})
        F->edTexto->setText(s);
    F->btnNegrita->click();
    F->edSize->setText("7");
    F->btnOk->click();
    EXPECT_EQ(F->Historia.count(), 3) << "typing joins into one step";
    while (F->Historia.canUndo())
        F->Deshacer();
    EXPECT_EQ(Lineas(), Antes);

    // A drag is one step; inserting is one more, and undoing it takes the
    // element away again.
    F->VistaInicial();
    L().Paint();
    const QPoint Desde = Sobre(E("A"));
    QTest::mousePress(F->PB, Qt::LeftButton, {}, Desde);
    for (int i = 1; i <= 5; ++i)
        QTest::mouseMove(F->PB, Desde + QPoint(8 * i, 0));
    QTest::mouseRelease(F->PB, Qt::LeftButton, {}, Desde + QPoint(40, 0));
    EXPECT_GT(E("A")->X, 20.0);
    EXPECT_EQ(F->Historia.undoText(), "mover A");
    const int Pasos = F->Historia.index();
    const int Componentes = L().Componentes.Count();
    F->btnCilindro->click();
    QTest::mouseMove(F->PB, {30, 30});
    QTest::mouseClick(F->PB, Qt::LeftButton, {}, {30, 30});
    EXPECT_EQ(std::tuple(L().Componentes.Count(), F->Historia.index(), F->Historia.undoText()),
              std::tuple(Componentes + 1, Pasos + 1, QStringLiteral("insertar el cilindro")));
    F->Deshacer();
    EXPECT_EQ(L().Componentes.Count(), Componentes);
    // Escape while placing takes the new element away: nothing to undo.
    F->btnValvula->click();
    QTest::keyClick(F.get(), Qt::Key_Escape);
    EXPECT_EQ(std::tuple(L().Componentes.Count(), F->Historia.index()),
              std::tuple(Componentes, Pasos));
}

TEST_F(Historia, SelectionAfterUndoIsTheElementTouchedAndNeverAFreedOne) {
    ASSERT_TRUE(Elegir(E("V2")));
    F->btnBorrar->click();
    EXPECT_EQ(L().Seleccionado, nullptr);
    F->Deshacer();
    // The deleted valve is back with its tubes, selected, its ribbon shown.
    ASSERT_NE(L().Seleccionado, nullptr);
    EXPECT_EQ(std::tuple(L().Seleccionado, L().Tubos.Count(), L().Modo, F->pValvula->isHidden()),
              std::tuple(E("V2"), 3, mdSeleccion, false));
    F->Rehacer();
    EXPECT_EQ(std::tuple(L().Seleccionado, E("V2")), std::tuple(nullptr, nullptr));
    // A selection kept across an undo that frees it: the rebuilt circuit has
    // no trace of the old element (ASan watches the rest).
    F->Deshacer();
    ASSERT_TRUE(Elegir(E("A")));
    F->Rehacer();
    EXPECT_EQ(L().Seleccionado, nullptr);
    L().Paint();
}

TEST_F(Historia, TheRunStopsBeforeAnUndoAndIsNotUndone) {
    // A circuit that checks clean: a source, a push-button valve, a cylinder.
    QTest::keyClick(F.get(), Qt::Key_N, Qt::ControlModifier);
    auto* p = Nuevo(T::Presion);
    auto* v = Valvula(TActuador::Seta);
    v->SetNombre("V1");
    auto* c = Nuevo(T::CilindroDoble);
    L().ActualizarGeometria();
    Unir(p->Conexion(0), v->Conexion(0));
    Unir(v->Conexion(2), c->Conexion(0));
    F->ReiniciarHistoria();
    ASSERT_TRUE(Elegir(v));
    F->btnRotar90->click();
    QTest::keyClick(F.get(), Qt::Key_F5);
    ASSERT_EQ(L().Modo, mdParado) << F->frmErrores->Texto().toStdString();
    QTest::keyClick(F.get(), Qt::Key_F6);
    EXPECT_EQ(L().Modo, mdEjecutar);
    F->btnStepClick();
    QTest::keyClick(F.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(F->Simulacion, nullptr);
    EXPECT_FALSE(F->Historia.canUndo()) << "the run itself was no step";
    ASSERT_NE(E("V1"), nullptr);
    EXPECT_EQ(std::tuple(E("V1")->Alfa, L().Seleccionado, L().Modo),
              std::tuple(0.0, E("V1"), mdSeleccion));
}

TEST_F(Historia, KeysReachTheCommandsButNotWhileATextBoxHasTheFocus) {
    ASSERT_TRUE(Elegir(E("P")));
    // A step, a long step, undo, redo, and nothing left to redo.
    const std::tuple<Qt::Key, Qt::KeyboardModifiers, double, double> Teclas[] = {
        {Qt::Key_Right, {}, -19.5, 0.0},
        {Qt::Key_Up, Qt::ShiftModifier, -19.5, 5.0},
        {Qt::Key_Z, Qt::ControlModifier, -19.5, 0.0},
        {Qt::Key_Y, Qt::ControlModifier, -19.5, 5.0},
        {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, -19.5, 5.0}};
    for (const auto& [Tecla, Mod, X, Y] : Teclas) {
        QTest::keyClick(F.get(), Tecla, Mod);
        EXPECT_EQ(std::pair(E("P")->X, E("P")->Y), std::pair(X, Y)) << Tecla;
    }

    // In the name box Delete and the arrows edit the name.
    ASSERT_TRUE(Elegir(E("V2")));
    F->btnAlternar->click();
    ASSERT_FALSE(F->pNombre->isHidden());
    F->edNombre->setFocus();
    QTest::keyClick(F->edNombre, Qt::Key_End);
    QTest::keyClick(F->edNombre, Qt::Key_Backspace);
    QTest::keyClick(F->edNombre, Qt::Key_Left);
    QTest::keyClick(F->edNombre, Qt::Key_Delete);
    ASSERT_NE(E("V2"), nullptr);
    EXPECT_EQ(std::tuple(F->edNombre->text(), E("V2")->X), std::tuple(QString(), 0.0));
    F->btnAlternar->click();
    F->edNombre->clearFocus();
    ASSERT_TRUE(Elegir(E("V2")));
    QTest::keyClick(F.get(), Qt::Key_Delete);
    EXPECT_EQ(E("V2"), nullptr);
    QTest::keyClick(F.get(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_NE(E("V2"), nullptr);
    ASSERT_TRUE(Elegir(E("V2")));
    QTest::keyClick(F.get(), Qt::Key_Backspace);
    EXPECT_EQ(E("V2"), nullptr);

    // Every toolbar button with a key names it.
    for (auto* b : {F->btnNew, F->btnOpen, F->btnSave, F->btnImagen, F->btnZoomMas, F->btnZoomMenos,
                    F->btnZoomExtension, F->btnCheck, F->btnPlay, F->btnStep, F->btnStop,
                    F->btnDeshacer, F->btnRehacer})
        EXPECT_TRUE(b->toolTip().contains(QRegularExpression(R"(\((Ctrl|F\d|Mayús))")))
            << b->toolTip().toStdString();
}

TEST_F(Historia, AGroupMovesTurnsAndGoesTogether) {
    // A band from corner to corner takes the elements whose centres it holds.
    F->VistaInicial();
    L().Paint();
    const QPoint a = L().MundoAPantalla({-40, 15}).toPoint();
    const QPoint b = L().MundoAPantalla({10, -35}).toPoint();
    QTest::mousePress(F->PB, Qt::LeftButton, {}, a);
    QTest::mouseMove(F->PB, (a + b) / 2);
    QTest::mouseMove(F->PB, b);
    QTest::mouseRelease(F->PB, Qt::LeftButton, {}, b);
    ASSERT_EQ(L().Grupo.size(), 3u) << "P, V1 and V2";
    EXPECT_EQ(L().Seleccionado, nullptr);
    EXPECT_EQ(Cinta(), (Paneles{F->pBorrar, F->pRotar90, F->pSimetrico}))
        << "no single element's tools";
    // Ctrl+click takes one out, and a group of one is a plain selection.
    QTest::mouseClick(F->PB, Qt::LeftButton, Qt::ControlModifier, Sobre(E("V1")));
    ASSERT_EQ(L().Grupo.size(), 2u);
    const double Recodo[2] = {L().Tubos.ItemComo<TAerTubo>(0)->Vertice(0)->X,
                              L().Tubos.ItemComo<TAerTubo>(1)->Vertice(0)->X};
    QTest::keyClick(F.get(), Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(std::tuple(E("P")->X, E("V2")->X, E("V1")->X), std::tuple(-25.0, -5.0, 0.0));
    // The tube between P and V2 moved with them, bends and all; the one from
    // V2 to A, outside the group, keeps its bends.
    EXPECT_DOUBLE_EQ(L().Tubos.ItemComo<TAerTubo>(1)->Vertice(0)->X, Recodo[1] - 5.0);
    EXPECT_DOUBLE_EQ(L().Tubos.ItemComo<TAerTubo>(0)->Vertice(0)->X, Recodo[0]);
    F->btnRotar90->click();
    EXPECT_EQ(std::tuple(E("P")->Alfa, E("V2")->Alfa), std::tuple(90.0, 90.0));
    // Mirrored about the group's centre: the two swap sides and turn back.
    const double xP = E("P")->X, xV2 = E("V2")->X;
    const double c = TAerPaintBox::CentroGrupo({E("P"), E("V2")}).X;
    F->btnSimetrico->click();
    EXPECT_DOUBLE_EQ(E("P")->X, 2 * c - xP);
    EXPECT_DOUBLE_EQ(E("V2")->X, 2 * c - xV2);
    EXPECT_TRUE(E("P")->Simetrico && E("V2")->Simetrico && E("V2")->Alfa == -90.0);
    EXPECT_EQ(F->Historia.undoText(), "reflejar 2 elementos");
    QTest::keyClick(F.get(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(L().Grupo.size(), 5u);
    QTest::keyClick(F.get(), Qt::Key_Delete);
    EXPECT_EQ(L().Componentes.Count() + L().Textos.Count() + L().Tubos.Count(), 0);
    EXPECT_EQ(F->Historia.undoText(), "borrar 5 elementos");
    F->Deshacer();
    EXPECT_EQ(L().Componentes.Count(), 4);
}

TEST_F(Historia, CopiedGroupPastesIntoASecondWindowAndBesideItself) {
    ASSERT_TRUE(Elegir(E("A")));
    L().AlternarEnSeleccion(E("V1"));
    ASSERT_EQ(L().Grupo.size(), 2u);
    const auto Copia = A::EscribirGrupo(L(), L().Grupo);
    QTest::keyClick(F.get(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* m = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(m->hasFormat(TfrmMain::MimeCircuito));
    EXPECT_TRUE(m->text().startsWith("<?xml")) << "plain text for a text editor";

    TfrmMain Otra(std::filesystem::u8path(VENTIX_TEST_DATA "/catalogo-simbolos/LIBRERÍA.txt"));
    Otra.Pegar();
    // The text linked to A comes along; the tube from V1 to A, not the one from V2.
    EXPECT_EQ(std::tuple(Otra.Lienzo->Componentes.Count(), Otra.Lienzo->Textos.Count(),
                         Otra.Lienzo->Tubos.Count()),
              std::tuple(2, 1, 1));
    // Moved back onto the originals' place, the copy is the same circuit.
    auto Nuevos = Otra.Lienzo->Seleccion();
    const TCADCoordenada c = TAerPaintBox::CentroGrupo(Nuevos);
    const TCADCoordenada o =
        TAerPaintBox::CentroGrupo({E("A"), E("V1"), L().Textos.ItemComo<TAerComponente>(0)});
    Otra.Lienzo->MoverGrupo(Nuevos, o.X - c.X, o.Y - c.Y);
    EXPECT_EQ(A::EscribirGrupo(*Otra.Lienzo, Nuevos), Copia);
    EXPECT_EQ(Otra.Historia.undoText(), "pegar");

    // Pasted beside itself: new names, the interlock inside the copy, one step.
    const int Pasos = F->Historia.index();
    QTest::keyClick(F.get(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_NE(E("A_2"), nullptr);
    EXPECT_EQ(static_cast<TAerValvula*>(E("V1_2"))->GetCilindro(), E("A_2"));
    EXPECT_EQ(F->Historia.index(), Pasos + 1);
    QTest::keyClick(F.get(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_NE(E("A_3"), nullptr);
    QTest::keyClick(F.get(), Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(E("A_3"), nullptr);
    for (int i = 0; i < 3; ++i)
        F->Deshacer();
    EXPECT_EQ(E("A_2"), nullptr);
    // Text that is not a circuit is not pasted.
    QApplication::clipboard()->setText("hola");
    F->Pegar();
    EXPECT_EQ(L().Componentes.Count(), 4);
}

TEST_F(Historia, RecoveryFileIsWrittenOfferedAndRemoved) {
    QTemporaryDir Dir;
    F->Recuperacion = std::make_unique<TRecuperacion>(Dir.path());
    ASSERT_TRUE(Elegir(E("V1")));
    F->btnRotar90->click();
    const QString Propio = F->Recuperacion->Archivo();
    ASSERT_FALSE(Propio.isEmpty());
    EXPECT_EQ(A::CargarLineas(std::filesystem::u8path(Propio.toStdString())), A::Escribir(L()));
    // Another window on the same folder, whose questions get the answer given.
    QStringList Preguntas;
    const auto Abrir = [&](bool Respuesta) {
        auto V = std::make_unique<TfrmMain>(
            std::filesystem::u8path(VENTIX_TEST_DATA "/catalogo-simbolos/LIBRERÍA.txt"));
        V->Preguntar = [&Preguntas, Respuesta](const QString& t) {
            Preguntas << t;
            return Respuesta;
        };
        V->Recuperacion = std::make_unique<TRecuperacion>(Dir.path());
        return V;
    };
    // A second window keeps its own file.
    const auto Otra = Abrir(true);
    EXPECT_TRUE(Otra->Recuperacion->Abandonados().isEmpty()) << "the first window is alive";
    TAerComponente::Crear(*Otra->Lienzo, T::Presion);
    Otra->Registrar("insertar");
    EXPECT_NE(Otra->Recuperacion->Archivo(), Propio);

    // A window that died left a file and no lock: the next start offers it.
    const QString Huerfano = Dir.path() + "/recuperacion-9.aer";
    ASSERT_TRUE(QFile::copy(Propio, Huerfano));
    const auto Nueva = Abrir(true);
    Nueva->Carpeta = "/circuitos";
    Nueva->OfrecerRecuperacion();
    EXPECT_EQ(Nueva->Carpeta, "/circuitos") << "the dialogs keep the user's folder";
    ASSERT_EQ(Preguntas.size(), 1);
    EXPECT_EQ(Preguntas[0], "Se ha encontrado un circuito que no se guardó al cerrar Ventix. "
                            "¿Desea recuperarlo?");
    EXPECT_EQ(A::Escribir(*Nueva->Lienzo), A::Escribir(L()));
    EXPECT_TRUE(Nueva->Modificado()) << "recovered, not saved";
    EXPECT_TRUE(!QFile::exists(Huerfano) && QFile::exists(Nueva->Recuperacion->Archivo()));

    // No removes what was left; undoing to the saved state removes the file;
    // a clean exit too.
    ASSERT_TRUE(QFile::copy(Propio, Huerfano));
    const auto Cuarta = Abrir(false);
    Cuarta->OfrecerRecuperacion();
    EXPECT_FALSE(QFile::exists(Huerfano));
    EXPECT_EQ(Cuarta->Lienzo->Componentes.Count(), 0);
    F->Deshacer();
    EXPECT_FALSE(QFile::exists(Propio));
    F->btnRotar90->click();
    F->Autoguardar();
    ASSERT_TRUE(QFile::exists(F->Recuperacion->Archivo()));
    F->close();
    EXPECT_FALSE(QFile::exists(F->Recuperacion->Archivo()));
    F->Recuperacion.reset();
}

TEST_F(Historia, FirstViewIsReadableAndTheRibbonWrapsInANarrowWindow) {
    F->VistaInicial();
    auto* v = Valvula(TActuador::Seta);
    L().Paint();
    const double Ancho = v->Bounds.Width * L().Zoom;
    EXPECT_NEAR(Ancho, 80.0, 30.0);
    EXPECT_NEAR(L().MundoAPantalla({0, 0}).x(), F->PB->width() / 2.0, 1.0);

    auto* r = Valvula(TActuador::Escamoteable, true, T::Valvula52);
    F->resize(500, 500);
    QApplication::processEvents();
    ASSERT_TRUE(Elegir(r));
    const auto P = Cinta();
    ASSERT_EQ(P.size(), 8u);
    for (auto* p : P)
        EXPECT_LE(p->x() + p->width(), F->pCinta->width()) << p->objectName().toStdString();
    EXPECT_GT(F->pCinta->height(), 37) << "a second row";
    F->resize(1400, 600);
    QApplication::processEvents();
    EXPECT_EQ(F->pCinta->height(), 37) << "one row again once it fits";
}

} // namespace
