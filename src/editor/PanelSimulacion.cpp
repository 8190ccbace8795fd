#include "editor/PanelSimulacion.h"

#include "editor/Aplicacion.h"
#include "editor/BotonRapido.h"
#include "editor/Glifos.h"

#include <QEvent>
#include <QLabel>

namespace ventix {

TPanelSimulacion::TPanelSimulacion(QWidget* Padre, const std::vector<TFila>& F)
    : QFrame(Padre), Filas(F) {
    hide();
    Etiqueta = new QLabel(this);
    Etiqueta->setGeometry(2, 5, 80, 15);
    Etiqueta->setAlignment(Qt::AlignCenter);
    int Abajo = 0;
    auto Boton = [&](int i, int Left, int Width, const QString& Glif) {
        const int n = static_cast<int>(Botones.size());
        auto* b = new TBotonRapido(this, Left, 30 + 25 * i, Width, 25,
                                   QString::fromStdString(Filas[i].Hint));
        b->SetGrupo(i + 1, true);
        b->Tag = n;
        b->setIcon(Glifo(Glif));
        b->setMouseTracking(true);
        b->installEventFilter(this);
        connect(b, &QToolButton::clicked, this, [this, b] {
            if (OnPulsar)
                Proteger([&] { OnPulsar(b->Tag, b->Down()); });
        });
        Botones.push_back(b);
        FilaDe.push_back(i);
        Abajo = 30 + 25 * i + 25;
        return b;
    };
    for (int i = 0; i < static_cast<int>(Filas.size()); ++i) {
        const TFila& f = Filas[i];
        const QString g = f.Rele ? QStringLiteral("rele") : QStringLiteral("seta");
        if (f.Monoestable) {
            Boton(i, 5, 74, g)->SetDown(f.Abajo);
        } else {
            Boton(i, 5, 37, g);
            Boton(i, 42, 37, QStringLiteral("derecha"));
        }
    }
    if (Botones.empty())
        return;
    setGeometry(1, 1, 84, Abajo + 5);
    show();
}

bool TPanelSimulacion::eventFilter(QObject* o, QEvent* e) {
    if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove) {
        if (auto* b = qobject_cast<TBotonRapido*>(o)) {
            const std::string& n = Filas[FilaDe[b->Tag]].Nombre;
            Etiqueta->setText(n.empty() ? QStringLiteral("(sin nombre)")
                                        : QString::fromStdString(n));
        }
    }
    return QFrame::eventFilter(o, e);
}

} // namespace ventix
