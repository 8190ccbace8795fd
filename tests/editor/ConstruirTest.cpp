#include "Ventana.h"

#include "circuit/AerTexto.h"
#include "editor/FormErrores.h"
#include "editor/PanelSimulacion.h"
#include "sim/SimCircuito.h"

using namespace ventix;
using T = TTipoComponente;

namespace {

// A student's first circuit, built only with the window's buttons, the mouse
// and the keyboard on the shipped catalogue: a source feeds a push-button 3/2
// valve whose work port drives a single-acting cylinder; the valve exhausts
// through a silencer. Checked, run, and the push-button pressed from the panel.
class Construir : public Ventana {
protected:
    void SetUp() override { Abrir(VENTIX_RAIZ "/data/Librerías/LIBRERÍA.txt", {1000, 700}); }
    // Takes an element from the side bar, carries it to (x, y), drops it.
    TAerComponente* Poner(TBotonRapido* Boton, double x, double y) {
        Boton->click();
        TAerComponente* e = L().Seleccionado;
        QTest::mouseMove(F->PB, L().MundoAPantalla({x, y}).toPoint());
        Clic(x, y);
        return e;
    }
    // A click in the middle of an element's body.
    void ClicEn(const TAerComponente* e) {
        Clic(e->Bounds.X + e->Bounds.Width / 2, e->Bounds.Y + e->Bounds.Height / 2);
    }
    void ClicEn(const TAerConexion* c) { Clic(c->XMundo, c->YMundo); }
    // A tube from one port to another through the given bends.
    TAerTubo* Tubo(const TAerConexion* Desde, std::initializer_list<TCADCoordenada> Codos,
                   const TAerConexion* Hasta) {
        ClicEn(Desde);
        EXPECT_EQ(L().Seleccionado, Desde);
        EXPECT_FALSE(F->pCrearTubo->isHidden());
        F->btnCrearTubo->click();
        TAerTubo* t = L().TuboNuevo;
        EXPECT_NE(t, nullptr);
        for (const TCADCoordenada& c : Codos)
            Clic(c.X, c.Y);
        ClicEn(Hasta);
        EXPECT_EQ(L().TuboNuevo, nullptr);
        EXPECT_EQ(L().Modo, mdEdicion);
        return t;
    }
};

TEST_F(Construir, DirectControlOfASingleActingCylinder) {
    // Close enough to hit ports, with room for the whole circuit.
    while (L().Zoom < 4)
        F->btnZoomMas->click();
    L().Repintar();

    auto* Valvula = dynamic_cast<TAerValvula*>(Poner(F->btnValvula, 0, 0));
    ASSERT_NE(Valvula, nullptr);
    EXPECT_EQ(std::tuple(Valvula->X, Valvula->Y, Valvula->GetTipo()),
              std::tuple(0.0, 0.0, T::Valvula32NC));
    auto* Fuente = Poner(F->btnPresion, -20, -30);
    auto* Escape = Poner(F->btnEscape, 25, -30);
    auto* Cilindro = Poner(F->btnCilindro, 30, 35);
    ASSERT_EQ(L().Componentes.Count(), 4);

    // The cylinder becomes single-acting from its panel.
    ClicEn(Cilindro);
    ASSERT_EQ(L().Seleccionado, Cilindro);
    ASSERT_FALSE(F->pCilindro->isHidden());
    F->btnCilindroSimple->click();
    Cilindro = L().Seleccionado;
    ASSERT_EQ(Cilindro->GetTipo(), T::CilindroSimple);
    EXPECT_EQ(L().Componentes.Count(), 4);

    // The valve gets a name, typed into its box.
    ClicEn(Valvula);
    ASSERT_EQ(L().Seleccionado, Valvula);
    F->edNombre->setFocus();
    F->edNombre->selectAll();
    QTest::keyClicks(F->edNombre, "1V1");
    QTest::keyClick(F->edNombre, Qt::Key_Return);
    EXPECT_EQ(Valvula->GetNombre(), "1V1");
    Clic(-45, 20); // empty ground
    EXPECT_EQ(L().Modo, mdEdicion);

    // Three tubes, with bends placed by clicking on empty ground.
    L().Repintar();
    auto* P = Valvula->Conexion(0);
    auto* R = Valvula->Conexion(1);
    auto* A = Valvula->Conexion(2);
    auto* Entrada = Cilindro->Conexion(0);
    auto* t1 = Tubo(Fuente->Conexion(0), {{-20, -16}, {P->XMundo, -16}}, P);
    auto* t2 = Tubo(Escape->Conexion(0), {{Escape->X, -16}}, R);
    auto* t3 = Tubo(A, {{A->XMundo, 18}, {Entrada->XMundo, 18}}, Entrada);
    ASSERT_EQ(L().Tubos.Count(), 3);
    EXPECT_EQ(std::tuple(t1->Vertices.Count(), t2->Vertices.Count(), t3->Vertices.Count()),
              std::tuple(3, 2, 3));
    EXPECT_EQ(std::tuple(P->Tubo, R->Tubo, Entrada->Tubo), std::tuple(t1, t2, t3));

    // A label: a text from the side bar, dropped and typed.
    auto* Rotulo = dynamic_cast<TAerTexto*>(Poner(F->btnTexto, -30, 45));
    ASSERT_NE(Rotulo, nullptr);
    ASSERT_EQ(L().Seleccionado, Rotulo);
    ASSERT_FALSE(F->pTexto->isHidden());
    F->edTexto->selectAll();
    QTest::keyClicks(F->edTexto, "Mando directo");
    EXPECT_EQ(Rotulo->Cadena, "Mando directo");

    // Checked: no errors, and the run panel offers the push-button. The check
    // button waits until nothing is selected.
    EXPECT_FALSE(F->btnCheck->isEnabled());
    Clic(-45, 20);
    ASSERT_TRUE(F->btnCheck->isEnabled());
    F->btnCheck->click();
    ASSERT_EQ(L().Modo, mdParado) << F->frmErrores->Texto().toStdString();
    ASSERT_NE(F->PanelSimulacion, nullptr);
    ASSERT_EQ(F->PanelSimulacion->Botones.size(), 1u);

    // Running, the cylinder stays in until the button goes down.
    F->btnPlay->click();
    ASSERT_EQ(L().Modo, mdEjecutar);
    for (int i = 0; i < 4; ++i)
        F->Simulacion->Tic();
    EXPECT_EQ(Cilindro->GetParametro(), 0.0);
    QTest::mouseClick(F->PanelSimulacion->Botones[0], Qt::LeftButton);
    EXPECT_EQ(Valvula->GetParametro(), 1.0);
    double Antes = Cilindro->GetParametro();
    for (int i = 0; i < 16; ++i) {
        F->Simulacion->Tic();
        EXPECT_GE(Cilindro->GetParametro(), Antes);
        Antes = Cilindro->GetParametro();
    }
    EXPECT_EQ(Cilindro->GetParametro(), 1.0);
    // Released, the spring brings it back.
    QTest::mouseClick(F->PanelSimulacion->Botones[0], Qt::LeftButton);
    for (int i = 0; i < 16; ++i)
        F->Simulacion->Tic();
    EXPECT_NEAR(Cilindro->GetParametro(), 0.0, 1e-9);

    F->btnStop->click();
    F->btnEditCom->click();
    EXPECT_EQ(L().Modo, mdEdicion);
    EXPECT_TRUE(Mensajes.isEmpty()) << Mensajes.join('\n').toStdString();

    // What the student sees, for whoever runs this by hand.
    if (const char* Ruta = std::getenv("VENTIX_CAPTURA"))
        F->grab().save(QString::fromLocal8Bit(Ruta));
}

} // namespace
