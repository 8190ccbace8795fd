#include "editor/FormMain.h"

#include "circuit/AerComponente.h"
#include "editor/Lienzo.h"
#include "editor/PanelDiagrama.h"
#include "sim/Diagrama.h"
#include "sim/SimCircuito.h"

#include <QMainWindow>
#include <QPainter>
#include <QPixmap>

// The displacement-step diagram: its dockable panel under the canvas, its
// toolbar button, and the marks that give each cylinder its colour on the
// canvas.

namespace ventix {

namespace {

// The button's glyph: a cylinder's line going up, along, and down again.
QIcon GlifoDiagrama() {
    QPixmap p(24, 18);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(70, 70, 70), 1));
    g.drawRect(1, 1, 21, 15);
    g.setPen(QPen(QColor(0, 90, 200), 2));
    const QPointF linea[] = {{2, 13}, {6, 13}, {10, 4}, {15, 4}, {19, 13}, {22, 13}};
    g.drawPolyline(linea, 6);
    return QIcon(p);
}

} // namespace

QWidget* TfrmMain::CrearAreaLienzo() {
    // A window of its own around the canvas, so that the panel can dock
    // under it, float, and dock again.
    AreaLienzo = new QMainWindow(this);
    AreaLienzo->setWindowFlags(Qt::Widget);
    AreaLienzo->setCentralWidget(PB);
    pDiagrama = new TPanelDiagrama(AreaLienzo);
    AreaLienzo->addDockWidget(Qt::BottomDockWidgetArea, pDiagrama);
    pDiagrama->hide();
    pDiagrama->OnMostrar = [this] { Repintar(); };
    pDiagrama->PuedeMostrar = [this] { return Lienzo->Modo != mdEjecutar; };
    PB->OnSobrepintar = [this](QPainter& P) { PintarMarcasCilindros(P); };
    // The area lays the canvas out after the window's own resize: the
    // status bar reads the canvas's size once it is final.
    PB->OnRedimensionar = [this] { FormResize(); };

    btnDiagrama = new TBotonRapido(pMenu, 715, 5, 25, 25, QStringLiteral("Diagrama espacio-fase"));
    btnDiagrama->setIcon(GlifoDiagrama());
    btnDiagrama->setCheckable(true);
    btnDiagrama->PermitirArriba = true;
    QObject::connect(btnDiagrama, &QAbstractButton::clicked, this,
                     [this] { pDiagrama->setVisible(btnDiagrama->isChecked()); });
    // Each connection ends with the widget it touches, which the window's
    // destruction may free before the panel; they capture no part of the
    // window, which is no longer whole by then.
    QObject::connect(pDiagrama, &QDockWidget::visibilityChanged, btnDiagrama,
                     [b = btnDiagrama, d = pDiagrama](bool) { b->setChecked(!d->isHidden()); });
    QObject::connect(pDiagrama, &QDockWidget::visibilityChanged, PB,
                     [pb = PB](bool) { pb->update(); });
    return AreaLienzo;
}

void TfrmMain::btnDiagramaClick() {
    btnDiagrama->click();
}

void TfrmMain::VolverAlPresente() {
    pDiagrama->VolverAlUltimo();
}

void TfrmMain::PintarMarcasCilindros(QPainter& P) {
    if (!Simulacion || !Simulacion->Registro || pDiagrama->isHidden())
        return;
    const auto& filas = Simulacion->Registro->Filas();
    P.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < Simulacion->Registro->NumCilindros(); ++i) {
        const TAerComponente* c = filas[static_cast<std::size_t>(i)].Nodo->Componente;
        const QPointF centro(Lienzo->OffsetX + Lienzo->Zoom * c->X,
                             Lienzo->OffsetY - Lienzo->Zoom * c->Y);
        P.setPen(QPen(Qt::white, 1.5));
        P.setBrush(TDiagrama::ColorCilindro(i));
        P.drawEllipse(centro + QPointF(-6, -18) * 1.0, 6, 6);
    }
}

} // namespace ventix
