#include "editor/FormMain.h"

#include "editor/FormErrores.h"
#include "editor/PanelDiagrama.h"
#include "editor/PanelSimulacion.h"
#include "files/ArchivoAer.h"
#include "sim/SimCircuito.h"

// Verification and run control: the network and its button panel live from a
// clean check until the window returns to editing.

namespace ventix {

void TfrmMain::EntrarVerificar() {
    NumErrores = Lienzo->Verificar();
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
    Simulacion = std::make_unique<TSimCircuito>(*Lienzo);
    Simulacion->OnRepintar = [this] {
        Repintar();
        pDiagrama->Actualizar();
    };
    TSimCircuito* Red = Simulacion.get();
    pDiagrama->SetRed(Red);
    PanelSimulacion = new TPanelSimulacion(pCintaLateral, Red->BotonesPanel(),
                                           [Red](int n) { return Red->BotonAbajo(n); });
    PanelSimulacion->OnPulsar = [this, Red](int n, bool Abajo) {
        VolverAlPresente();
        Red->PulsarBoton(n, Abajo);
    };
    Red->PanelManual = PanelSimulacion;
    SetModo(mdParado);
}

void TfrmMain::EntrarEjecutar() {
    VolverAlPresente();
    pDiagrama->show();
    if (Simulacion)
        Simulacion->Arrancar();
}

void TfrmMain::EntrarParado() {
    VolverAlPresente();
    if (Simulacion)
        Simulacion->Restablecer();
    pDiagrama->Actualizar();
    Repintar();
}

void TfrmMain::LiberarSimulacion() {
    // The elements keep the latest simulated states, not a step shown.
    VolverAlPresente();
    pDiagrama->SetRed(nullptr);
    delete PanelSimulacion;
    PanelSimulacion = nullptr;
    // The states a run leaves are not an edit: the next step starts from them.
    if (Simulacion)
        Ultimo = Instantaneas.Escribir(*Lienzo);
    Simulacion.reset();
}

void TfrmMain::btnCheckClick() {
    if (Lienzo->Modo == mdEdicion)
        SetModo(mdVerificar);
}

void TfrmMain::btnStepClick() {
    VolverAlPresente();
    if (Simulacion)
        Simulacion->Paso();
    pDiagrama->Actualizar();
    Repintar();
}

void TfrmMain::btnErroresClick() {
    frmErrores->show();
    frmErrores->raise();
}

} // namespace ventix
