#include "editor/PanelCinta.h"

#include <QPainter>

namespace ventix {

TPanelCinta::TPanelCinta(QWidget* Padre) : QFrame(Padre) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
}

void TPanelCinta::SetCaption(const QString& C) {
    Texto = C;
    update();
}

void TPanelCinta::paintEvent(QPaintEvent* e) {
    QFrame::paintEvent(e);
    if (Texto.isEmpty())
        return;
    QPainter p(this);
    p.drawText(contentsRect(), Qt::AlignCenter, Texto);
}

} // namespace ventix
