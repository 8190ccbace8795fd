#include "editor/BotonRapido.h"

namespace ventix {

TBotonRapido::TBotonRapido(QWidget* Padre, int Left, int Top, int Width, int Height,
                           const QString& Hint)
    : QToolButton(Padre) {
    setGeometry(Left, Top, Width, Height);
    setToolTip(Hint);
    setAutoRaise(true);
    setFocusPolicy(Qt::NoFocus);
    setIconSize(QSize(24, 18));
}

void TBotonRapido::SetGrupo(int G, bool AllUp) {
    Grupo = G;
    PermitirArriba = AllUp;
    setCheckable(G != 0);
}

void TBotonRapido::SetDown(bool D) {
    if (!isCheckable())
        return;
    if (D && Grupo != 0 && parentWidget())
        for (auto* b : parentWidget()->findChildren<TBotonRapido*>(Qt::FindDirectChildrenOnly))
            if (b != this && b->Grupo == Grupo)
                b->setChecked(false);
    setChecked(D);
}

// A click presses an up button; the down one goes up only when allowed.
void TBotonRapido::nextCheckState() {
    if (!isCheckable())
        return;
    if (!isChecked())
        SetDown(true);
    else if (PermitirArriba)
        setChecked(false);
}

} // namespace ventix
