#include "editor/FormMain.h"

#include "circuit/AerValvula.h"
#include "editor/Aplicacion.h"
#include "editor/FormErrores.h"
#include "editor/PanelSimulacion.h"
#include "editor/Simulacion.h"

#include <QApplication>

// Verification and run control: the network and its button panel live from a
// clean check until the window returns to editing.

namespace ventix {

void TfrmMain::EntrarVerificar() {
    NumErrores = VerificarCircuito(*Lienzo);
    frmErrores->SetLineas(Lienzo->Errores);
    ActualizarEstado();
    if (NumErrores != 0) {
        frmErrores->show();
        return;
    }
    btnPlay->setEnabled(true);
    btnStep->setEnabled(true);
    btnPause->setEnabled(false);
    btnStop->setEnabled(true);
    btnStop->SetDown(true);
    Simulacion = std::make_unique<TSimulacionEditor>(*Lienzo);
    connect(Simulacion.get(), &TSimulacionEditor::Tick, this,
            [this] { Proteger([this] { RelojTimer(); }); });
    std::vector<TPanelSimulacion::TFila> Filas;
    for (auto* v : Simulacion->Manuales)
        Filas.push_back({v->GetNombre(), std::string(NombreTipo(v->GetTipo())),
                         v->GetActuador() == TActuador::Rele, v->GetMonoestable(),
                         v->GetMonoestable() && Simulacion->Estado(v) == 1.0});
    PanelSimulacion = new TPanelSimulacion(pCintaLateral, Filas);
    PanelSimulacion->OnPulsar = [this](int n, bool Abajo) {
        Simulacion->Pulsar(n, Abajo);
        Repintar();
    };
    SetModo(mdParado);
}

void TfrmMain::EntrarEjecutar() {
    if (Simulacion)
        Simulacion->Reloj.start();
}

void TfrmMain::EntrarParado() {
    if (Simulacion)
        Simulacion->Restablecer();
    Repintar();
}

void TfrmMain::RelojTimer() {
    if (Lienzo->Modo != mdEjecutar) {
        Simulacion->Reloj.stop();
        return;
    }
    Simulacion->Paso();
    Simulacion->Paso();
    Repintar();
}

void TfrmMain::LiberarSimulacion() {
    delete PanelSimulacion;
    PanelSimulacion = nullptr;
    Simulacion.reset();
}

void TfrmMain::btnCheckClick() {
    if (Lienzo->Modo == mdEdicion)
        SetModo(mdVerificar);
}

void TfrmMain::btnStepClick() {
    if (Simulacion)
        Simulacion->Paso();
    Repintar();
}

void TfrmMain::btnErroresClick() {
    frmErrores->show();
    frmErrores->raise();
}

} // namespace ventix
