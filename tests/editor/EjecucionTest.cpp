#include "Ventana.h"

#include "editor/BotonRapido.h"
#include "editor/FormErrores.h"
#include "editor/PanelSimulacion.h"
#include "sim/SimCircuito.h"

#include <QEnterEvent>
#include <QTimer>

#include <stdexcept>

using namespace ventix;
using T = TTipoComponente;

namespace {

TEST_F(Ventana, AFaultyCircuitStaysInVerification) {
    auto* p = Nuevo(T::Presion);
    p->SetNombre("P1");
    F->btnCheck->click();
    EXPECT_EQ(std::tuple(L().Modo, F->NumErrores, p->Marcado), std::tuple(mdVerificar, 1, true));
    EXPECT_FALSE(F->btnPlay->isEnabled() || F->btnStep->isEnabled() || F->btnPause->isEnabled() ||
                 F->btnStop->isEnabled());
    EXPECT_TRUE(F->frmErrores->isVisible());
    EXPECT_TRUE(F->frmErrores->Texto().contains(
        "El Componente \"P1\" del tipo \"Presión\" tiene 1 error:"));
    EXPECT_EQ(F->StatusBar1[3]->text(), " 1 Error detectado");
    EXPECT_EQ(F->PanelSimulacion, nullptr);
    // The check button may not be raised while verifying.
    F->btnCheck->click();
    EXPECT_TRUE(F->btnCheck->Down());
    F->btnEditCom->click();
    EXPECT_EQ(std::tuple(L().Modo, F->StatusBar1[3]->text(), p->Marcado),
              std::tuple(mdEdicion, QString(), false));

    // Without it, and without hand valves, the run panel is there but hidden.
    ASSERT_TRUE(Elegir(p));
    F->btnBorrar->click();
    F->btnCheck->click();
    ASSERT_EQ(L().Modo, mdParado);
    EXPECT_TRUE(F->PanelSimulacion && F->PanelSimulacion->isHidden());
}

// A source feeding a push-button valve that drives a cylinder, plus a bistable
// relay valve whose outputs are tubed: a circuit with no errors.
TEST_F(Ventana, ACleanCircuitRunsPausesStopsAndGoesBackToEditing) {
    auto* p = Nuevo(T::Presion);
    auto* Seta = Valvula(TActuador::Seta);
    Seta->SetNombre("V1");
    auto* C1 = Nuevo(T::CilindroDoble);
    auto* Rele = Valvula(TActuador::Rele, false);
    auto* c2 = Nuevo(T::CilindroDoble);
    L().ActualizarGeometria();
    Unir(p->Conexion(0), Seta->Conexion(0));
    Unir(Seta->Conexion(2), C1->Conexion(0));
    Unir(Rele->Conexion(2), c2->Conexion(0));
    F->btnErrores->click();
    ASSERT_TRUE(F->frmErrores->isVisible());
    F->btnCheck->click();
    ASSERT_EQ(L().Modo, mdParado) << F->frmErrores->Texto().toStdString();
    ASSERT_NE(F->Simulacion, nullptr);
    ASSERT_NE(F->PanelSimulacion, nullptr);
    EXPECT_FALSE(F->PanelSimulacion->isHidden() || F->btnPause->isEnabled());
    EXPECT_EQ(F->PanelSimulacion->parentWidget(), F->pCintaLateral);
    EXPECT_TRUE(F->btnPlay->isEnabled() && F->btnStep->isEnabled() && F->btnStop->isEnabled() &&
                F->btnStop->Down() && F->btnShowPresiones->isEnabled() &&
                F->pHerramientas->isHidden());

    // One full-width button for the push-button valve, two halves for the
    // bistable relay valve.
    const auto& B = F->PanelSimulacion->Botones;
    ASSERT_EQ(B.size(), 3u);
    EXPECT_EQ(std::tuple(B[0]->geometry(), B[1]->geometry(), B[2]->geometry()),
              std::tuple(QRect(5, 30, 74, 25), QRect(5, 55, 37, 25), QRect(42, 55, 37, 25)));
    EXPECT_TRUE(B[1]->Grupo == B[2]->Grupo && B[0]->Grupo != B[1]->Grupo);
    EXPECT_EQ(B[0]->toolTip(), "Válvula32NC");
    EXPECT_EQ(F->PanelSimulacion->geometry(), QRect(1, 1, 84, 85));
    QEnterEvent Entra(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(B[0], &Entra);
    EXPECT_EQ(F->PanelSimulacion->Etiqueta->text(), "V1");
    QApplication::sendEvent(B[2], &Entra);
    EXPECT_EQ(F->PanelSimulacion->Etiqueta->text(), "(sin nombre)");

    // The push-button switches its valve at once, even while stopped.
    for (bool Abajo : {true, false}) {
        B[0]->click();
        EXPECT_EQ(std::tuple(F->Simulacion->BotonAbajo(0), Seta->GetParametro()),
                  std::tuple(Abajo, Abajo ? 1.0 : 0.0));
    }

    // The halves of a bistable valve release each other.
    B[1]->click();
    EXPECT_TRUE(B[1]->Down());
    const double Izquierda = Rele->GetParametro();
    B[2]->click();
    EXPECT_TRUE(B[2]->Down() && !B[1]->Down() && !F->Simulacion->BotonAbajo(1));
    EXPECT_NE(Rele->GetParametro(), Izquierda);
    B[1]->click();
    EXPECT_EQ(Rele->GetParametro(), Izquierda);

    // Running hides the error window; with the push-button held, every tick
    // moves the cylinder.
    B[0]->click();
    F->btnPlay->click();
    EXPECT_EQ(L().Modo, mdEjecutar);
    const double Carrera = C1->GetParametro();
    F->Simulacion->Tic();
    EXPECT_GT(C1->GetParametro(), Carrera);
    EXPECT_TRUE(F->Simulacion->GetReloj().isActive());
    EXPECT_FALSE(F->btnEditCom->isEnabled() || F->btnErrores->isEnabled() ||
                 F->btnStep->isEnabled() || F->btnImagen->isEnabled());
    EXPECT_TRUE(F->btnPlay->Down() && !F->frmErrores->isVisible());
    F->FormKeyDown(27);
    EXPECT_EQ(L().Modo, mdEjecutar) << "Escape does nothing while running";

    F->btnPause->click();
    EXPECT_EQ(L().Modo, mdPausa);
    EXPECT_TRUE(F->btnStep->isEnabled() && F->btnPlay->isEnabled());
    // The next tick finds the pause and only stops the timer.
    const double Parada = C1->GetParametro();
    F->Simulacion->Tic();
    EXPECT_FALSE(F->Simulacion->GetReloj().isActive());
    EXPECT_EQ(C1->GetParametro(), Parada);
    // Single steps alternate between propagating and advancing.
    const auto Fase = F->Simulacion->Fase;
    F->btnStep->click();
    EXPECT_NE(F->Simulacion->Fase, Fase);

    // Stop resets the network; the cylinder stays where it got to.
    const double Antes = C1->GetParametro();
    F->btnStop->click();
    EXPECT_EQ(std::tuple(L().Modo, C1->GetParametro()), std::tuple(mdParado, Antes));

    F->btnEditCom->click();
    EXPECT_EQ(
        std::tuple(L().Modo, F->Simulacion.get(), F->PanelSimulacion, F->pHerramientas->isHidden()),
        std::tuple(mdEdicion, nullptr, nullptr, false));
}

// Handlers that throw: their messages reach the error box, except
// floating-point failures.
class Lanzador : public QObject {
public:
    std::string Mensaje;
    bool event(QEvent* e) override {
        if (e->type() == QEvent::User && Mensaje.empty())
            throw std::bad_alloc();
        if (e->type() == QEvent::User)
            throw std::runtime_error(Mensaje);
        return QObject::event(e);
    }
};

TEST_F(ConMensajes, ExceptionsAreShownAtTheEventLoopExceptFloatingPointOnes) {
    Lanzador l;
    QEvent e(QEvent::User);
    for (const char* m : {"Floating point overflow", "fLoAtInG point division by zero",
                          "List index out of bounds (3)"}) {
        l.Mensaje = m;
        QApplication::sendEvent(&l, &e);
    }
    EXPECT_EQ(Mensajes, QStringList{"List index out of bounds (3)"});
    l.Mensaje.clear(); // a lack of memory, in Spanish
    QApplication::sendEvent(&l, &e);
    EXPECT_EQ(Mensajes.back(), "No hay memoria suficiente para completar la operación");
}

} // namespace
