#pragma once

#include <QToolButton>

namespace ventix {

// A flat tool button that behaves like a speed button: buttons of one parent
// sharing a non-zero group are mutually exclusive, and the one that is down
// goes up on a click only when its group allows all buttons up. Group 0 is a
// plain push button. The tag carries the value its command applies.
class TBotonRapido : public QToolButton {
    Q_OBJECT
public:
    TBotonRapido(QWidget* Padre, int Left, int Top, int Width, int Height, const QString& Hint);

    int Grupo = 0;
    bool PermitirArriba = false;
    int Tag = 0;

    // Puts the button in a group; with AllUp the down button may be raised.
    void SetGrupo(int G, bool AllUp);
    bool Down() const { return isChecked(); }
    // Presses or raises the button; pressing raises the others of its group.
    void SetDown(bool D);

protected:
    void nextCheckState() override;
};

} // namespace ventix
