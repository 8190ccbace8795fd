#pragma once

#include "sim/Secuencia.h"

#include <QDockWidget>

#include <functional>
#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

namespace ventix {

class TDiagrama;
class TSimCircuito;
class TVistaDiagrama;

// The dockable panel "Diagrama espacio-fase" under the canvas: the diagram of
// the run so far, following the latest step; the expected sequence typed by
// the user, parsed as it is typed, with the verdict once the run has shown
// enough; a click on a column, while the run is not going, shows the circuit
// as it was after that step; the diagram's export to PNG, SVG or CSV.
class TPanelDiagrama : public QDockWidget {
    Q_OBJECT
public:
    explicit TPanelDiagrama(QWidget* Padre);
    ~TPanelDiagrama() override;

    // The network whose recording is shown; null when there is none. Must be
    // cleared before the network goes.
    void SetRed(TSimCircuito* Red);
    // After a step, a reset or a button: new columns, the run followed, the
    // verdict again.
    void Actualizar();
    // While the run is not going, the document shows the circuit as it was
    // after step Paso (from 0); the highlighted column follows.
    void MostrarPaso(int Paso);
    // The document shows the latest state again, as the run goes on from it.
    void VolverAlUltimo();
    // Writes the diagram; the file's extension chooses PNG, SVG or CSV.
    void Exportar(const QString& Ruta);
    void btnExportarClick();

    // The step shown instead of the latest one, or -1.
    int PasoMostrado() const { return Mostrado; }
    const std::optional<TSecuencia>& Esperada() const { return VEsperada; }
    TDiagrama* Diagrama() const { return VDiagrama.get(); }

    QLineEdit* edSecuencia;
    QLabel* lblError;     // the expected sequence's fault or warnings
    QLabel* lblObservada; // what the run has done so far
    QLabel* lblVeredicto; // green match or red first difference
    QLabel* lblPaso;
    QToolButton* btnExportar;
    QWidget* Vista; // the picture; a click on a column shows that step

    // The canvas is repainted; a step may be shown (the run is not going).
    std::function<void()> OnMostrar;
    std::function<bool()> PuedeMostrar;
    // The save dialog's answer; tests replace it.
    std::function<QString()> PedirArchivo;

private:
    void edSecuenciaChange();
    void ActualizarVeredicto();
    void Seguir();

    TSimCircuito* Red = nullptr;
    std::unique_ptr<TDiagrama> VDiagrama;
    std::optional<TSecuencia> VEsperada;
    QScrollArea* Desplazamiento;
    TVistaDiagrama* VVista;
    int Mostrado = -1;
};

} // namespace ventix
