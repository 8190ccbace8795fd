#include "editor/PanelSimulacion.h"

#include "editor/Aplicacion.h"
#include "editor/BotonRapido.h"
#include "editor/Glifos.h"

#include <QEvent>
#include <QLabel>

namespace ventix {

TPanelSimulacion::TPanelSimulacion(QWidget* Padre, const std::vector<TBotonPanel>& B,
                                   const std::function<bool(int)>& Abajo)
    : QFrame(Padre), Datos(B) {
    hide();
    Etiqueta = new QLabel(this);
    Etiqueta->setGeometry(2, 5, 80, 15);
    Etiqueta->setAlignment(Qt::AlignCenter);
    static const char* Glifos[3] = {"seta", "rele", "derecha"};
    int Fondo = 0;
    for (const TBotonPanel& d : Datos) {
        const int Top = 30 + 25 * d.Fila;
        const int Left = d.Columna == 0 ? 5 : 42;
        auto* b = new TBotonRapido(this, Left, Top, d.Mitad ? 37 : 74, 25,
                                   QString::fromStdString(d.Pista));
        b->SetGrupo(d.Fila + 1, true);
        b->Tag = d.Numero;
        b->setIcon(Glifo(QString::fromLatin1(Glifos[d.Imagen < 0 || d.Imagen > 2 ? 0 : d.Imagen])));
        b->SetDown(Abajo(d.Numero));
        b->installEventFilter(this);
        connect(b, &QToolButton::clicked, this, [this, b] {
            if (OnPulsar)
                Proteger([&] { OnPulsar(b->Tag, b->Down()); });
        });
        Botones.push_back(b);
        Fondo = Top + 25;
    }
    if (Botones.empty())
        return;
    setGeometry(1, 1, 84, Fondo + 5);
    show();
}

bool TPanelSimulacion::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove) {
        if (auto* b = qobject_cast<TBotonRapido*>(o))
            Etiqueta->setText(QString::fromStdString(Datos[b->Tag].Etiqueta));
    }
    return QFrame::eventFilter(o, e);
}

} // namespace ventix
