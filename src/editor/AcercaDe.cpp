#include "editor/AcercaDe.h"

#include "editor/Glifos.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace ventix {

TfrmAcercaDe::TfrmAcercaDe(QWidget* Padre) : QDialog(Padre) {
    setWindowTitle(QStringLiteral("Acerca de Ventix"));
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(18, 14, 18, 12);
    auto* Titulo = new QLabel(QStringLiteral("<b style='font-size:15pt'>Ventix</b>&nbsp;&nbsp;"
                                             "versión " VENTIX_VERSION),
                              this);
    auto* Texto = new QLabel(
        QStringLiteral("Editor y simulador de circuitos neumáticos para la enseñanza.<br><br>"
                       "Licencia: la que se distribuye con su código fuente.<br>"
                       "Hecho con Qt 6, libjpeg, libinih y nlohmann-json."),
        this);
    Texto->setWordWrap(true);
    auto* Botones = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(Botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    l->addWidget(Titulo);
    l->addSpacing(6);
    l->addWidget(Texto);
    l->addWidget(Botones);
    setFixedWidth(360);
}

} // namespace ventix
