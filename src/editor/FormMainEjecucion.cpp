#include "editor/FormMain.h"

#include "editor/FormErrores.h"
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
    Simulacion->OnRepintar = [this] { Repintar(); };
    TSimCircuito* Red = Simulacion.get();
    PanelSimulacion = new TPanelSimulacion(pCintaLateral, Red->BotonesPanel(),
                                           [Red](int n) { return Red->BotonAbajo(n); });
    PanelSimulacion->OnPulsar = [Red](int n, bool Abajo) { Red->PulsarBoton(n, Abajo); };
    Red->PanelManual = PanelSimulacion;
    SetModo(mdParado);
}

void TfrmMain::EntrarEjecutar() {
    if (Simulacion)
        Simulacion->Arrancar();
}

void TfrmMain::EntrarParado() {
    if (Simulacion)
        Simulacion->Restablecer();
    Repintar();
}

void TfrmMain::LiberarSimulacion() {
    delete PanelSimulacion;
    PanelSimulacion = nullptr;
    // The states a run leaves are not an edit: the next step starts from them.
    if (Simulacion)
        Ultimo = ArchivoAer::Instantanea(*Lienzo);
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
