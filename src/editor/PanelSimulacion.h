#pragma once

#include "sim/SimCircuito.h"

#include <QFrame>

#include <functional>
#include <vector>

class QLabel;

namespace ventix {

class TBotonRapido;

// The button panel of a running circuit: one row per relay or push-button
// valve, split in two half buttons for a bistable valve; the label on top
// names the valve under the pointer.
class TPanelSimulacion : public QFrame {
    Q_OBJECT
public:
    // Builds the panel hidden inside Padre, with the buttons the network
    // lists (Abajo tells which start down); shown only when it has buttons.
    TPanelSimulacion(QWidget* Padre, const std::vector<TBotonPanel>& Botones,
                     const std::function<bool(int)>& Abajo);

    QLabel* Etiqueta;
    std::vector<TBotonRapido*> Botones; // by button number
    // A button went down (true) or up (false).
    std::function<void(int Boton, bool Abajo)> OnPulsar;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    std::vector<TBotonPanel> Datos;
};

} // namespace ventix
