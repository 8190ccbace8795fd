#pragma once

#include <QFrame>

#include <functional>
#include <string>
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
    // One row of the panel.
    struct TFila {
        std::string Nombre; // the valve's name, may be empty
        std::string Hint;   // its component-type name
        bool Rele = false;  // relay (else push-button)
        bool Monoestable = true;
        bool Abajo = false; // a monostable button starting down
    };
    // Builds the panel hidden inside Padre; shown only when it has buttons.
    TPanelSimulacion(QWidget* Padre, const std::vector<TFila>& Filas);

    QLabel* Etiqueta;
    std::vector<TBotonRapido*> Botones; // by button number
    std::vector<int> FilaDe;            // the row of each button
    // A button went down (true) or up (false).
    std::function<void(int Boton, bool Abajo)> OnPulsar;

protected:
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    std::vector<TFila> Filas;
};

} // namespace ventix
