#include "editor/Lienzo.h"

#include "circuit/AerPaintBox.h"
#include "editor/Aplicacion.h"

#include <QMouseEvent>
#include <QPainter>

namespace ventix {

TLienzo::TLienzo(QWidget* Padre, TAerPaintBox& C) : QWidget(Padre), Canvas(C) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Canvas.OnRepintar = [this] { update(); };
    Canvas.OnCursor = [this](Qt::CursorShape Cursor) { setCursor(Cursor); };
}

void TLienzo::paintEvent(QPaintEvent*) {
    Proteger([this] { Canvas.Paint(); });
    QPainter p(this);
    if (Canvas.DibujoActivo)
        p.drawImage(QPoint(0, 0), Canvas.Bitmap, QRect(0, 0, width(), height()));
    else
        p.fillRect(rect(), Qt::white);
    if (OnSobrepintar)
        OnSobrepintar(p);
}

void TLienzo::resizeEvent(QResizeEvent*) {
    Canvas.SetCliente(width(), height());
    if (OnRedimensionar)
        OnRedimensionar();
}

// The pointer left the canvas: nothing is under it any more.
void TLienzo::leaveEvent(QEvent*) {
    if (Canvas.Resaltado) {
        Canvas.Resaltado = nullptr;
        update();
    }
}

void TLienzo::mousePressEvent(QMouseEvent* e) {
    Pulsado = true;
    const QPoint p = e->position().toPoint();
    Proteger([&] { Canvas.MouseDown(e->button(), e->modifiers(), p.x(), p.y()); });
}

void TLienzo::mouseMoveEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    Proteger([&] { Canvas.MouseMove(e->modifiers(), p.x(), p.y()); });
}

void TLienzo::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    Proteger([&] { Canvas.MouseUp(e->button(), e->modifiers(), p.x(), p.y()); });
    const bool Clic = Pulsado && rect().contains(p);
    Pulsado = false;
    if (Clic && e->button() == Qt::LeftButton && OnClick)
        Proteger(OnClick);
}

} // namespace ventix
