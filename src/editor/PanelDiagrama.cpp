#include "editor/PanelDiagrama.h"

#include "editor/Aplicacion.h"
#include "files/ArchivoDiagrama.h"
#include "sim/Diagrama.h"
#include "sim/SimCircuito.h"

#include <QBoxLayout>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

namespace ventix {

// The diagram itself: its picture, and a click that names a step.
class TVistaDiagrama : public QWidget {
public:
    explicit TVistaDiagrama(QWidget* Padre) : QWidget(Padre) {}
    TDiagrama* Diagrama = nullptr;
    std::function<void(int Paso)> OnPaso;

    void Ajustar() {
        resize(Diagrama ? Diagrama->Tamano() : QSize(1, 1));
        update();
    }

protected:
    void paintEvent(QPaintEvent* e) override {
        QPainter p(this);
        p.fillRect(rect(), palette().base());
        if (!Diagrama)
            return;
        // A run of a large circuit has thousands of rows: only those in
        // sight are painted.
        Diagrama->Pintar(p, e->rect());
        // The names stay at the left edge of what is in sight.
        if (x() < 0)
            Diagrama->PintarEtiquetas(p, -x(), e->rect());
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (!Diagrama || e->button() != Qt::LeftButton)
            return;
        // A click on the frozen names names no step.
        const int x = static_cast<int>(e->position().x());
        if (this->x() < 0 && x < -this->x() + Diagrama->AnchoEtiquetas)
            return;
        const int paso = Diagrama->PasoEn(x);
        if (paso > 0 && OnPaso)
            Proteger([&] { OnPaso(paso); });
    }
};

TPanelDiagrama::TPanelDiagrama(QWidget* Padre)
    : QDockWidget(QStringLiteral("Diagrama espacio-fase"), Padre) {
    setObjectName(QStringLiteral("pDiagrama"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    auto* cuerpo = new QWidget(this);
    auto* vertical = new QVBoxLayout(cuerpo);
    vertical->setContentsMargins(4, 2, 4, 2);
    vertical->setSpacing(2);
    auto* fila = new QHBoxLayout;
    fila->addWidget(new QLabel(QStringLiteral("Secuencia esperada:"), cuerpo));
    edSecuencia = new QLineEdit(cuerpo);
    edSecuencia->setPlaceholderText(QStringLiteral("por ejemplo A+ B+ B- A-"));
    edSecuencia->setToolTip(
        QStringLiteral("Fases separadas por blancos, comas, punto y coma, / o ->; los "
                       "movimientos simultáneos, entre paréntesis: (A+ B+)"));
    edSecuencia->setMinimumWidth(180);
    fila->addWidget(edSecuencia, 1);
    lblError = new QLabel(cuerpo);
    fila->addWidget(lblError, 1);
    lblPaso = new QLabel(cuerpo);
    fila->addWidget(lblPaso);
    btnExportar = new QToolButton(cuerpo);
    btnExportar->setText(QStringLiteral("Exportar..."));
    btnExportar->setToolTip(
        QStringLiteral("Guarda el diagrama como imagen PNG, dibujo SVG o tabla CSV"));
    fila->addWidget(btnExportar);
    vertical->addLayout(fila);
    auto* fila2 = new QHBoxLayout;
    lblObservada = new QLabel(cuerpo);
    lblObservada->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fila2->addWidget(lblObservada, 1);
    lblVeredicto = new QLabel(cuerpo);
    fila2->addWidget(lblVeredicto, 1);
    vertical->addLayout(fila2);
    Desplazamiento = new QScrollArea(cuerpo);
    VVista = new TVistaDiagrama(Desplazamiento);
    Vista = VVista;
    Desplazamiento->setWidget(VVista);
    Desplazamiento->setBackgroundRole(QPalette::Base);
    // Scrolling moves the picture: the frozen names are painted again.
    connect(Desplazamiento->horizontalScrollBar(), &QScrollBar::valueChanged, VVista,
            [v = VVista] { v->update(); });
    // Room for two cylinders and a few valves without scrolling.
    Desplazamiento->setMinimumHeight(200);
    vertical->addWidget(Desplazamiento, 1);
    setWidget(cuerpo);

    connect(edSecuencia, &QLineEdit::textChanged, this, [this] { edSecuenciaChange(); });
    connect(btnExportar, &QToolButton::clicked, this,
            [this] { Proteger([this] { btnExportarClick(); }); });
    VVista->OnPaso = [this](int Paso) { MostrarPaso(Paso); };
    edSecuenciaChange();
    Actualizar();
}

TPanelDiagrama::~TPanelDiagrama() = default;

void TPanelDiagrama::SetRed(TSimCircuito* R) {
    VVista->Diagrama = nullptr;
    VDiagrama.reset();
    Red = R;
    Mostrado = -1;
    if (Red && Red->Registro)
        VDiagrama = std::make_unique<TDiagrama>(*Red->Registro);
    VVista->Diagrama = VDiagrama.get();
    Actualizar();
}

void TPanelDiagrama::Actualizar() {
    if (VDiagrama) {
        const int ultimo = VDiagrama->NumPasos();
        if (Mostrado > ultimo)
            Mostrado = -1;
        VDiagrama->Resaltado = Mostrado >= 0 ? Mostrado : ultimo;
        lblPaso->setText(Mostrado >= 0 ? QStringLiteral("Paso %1 de %2").arg(Mostrado).arg(ultimo)
                                       : QStringLiteral("Paso %1").arg(ultimo));
    } else {
        lblPaso->clear();
    }
    btnExportar->setEnabled(VDiagrama != nullptr);
    VVista->Ajustar();
    Seguir();
    ActualizarVeredicto();
}

void TPanelDiagrama::Seguir() {
    if (!VDiagrama)
        return;
    const int paso = VDiagrama->Resaltado;
    if (paso >= 1)
        Desplazamiento->ensureVisible(VDiagrama->XPaso(paso) + VDiagrama->AnchoColumna / 2, 0,
                                      VDiagrama->AnchoColumna * 2, 0);
}

void TPanelDiagrama::edSecuenciaChange() {
    VEsperada.reset();
    lblError->clear();
    lblError->setToolTip(QString());
    const std::string texto = edSecuencia->text().trimmed().toStdString();
    if (!texto.empty()) {
        try {
            auto leida = LeerSecuencia(texto);
            VEsperada = std::move(leida.Secuencia);
            QStringList avisos;
            for (const auto& a : leida.Avisos)
                avisos << QString::fromStdString(a);
            lblError->setStyleSheet(QStringLiteral("color: #a05a00"));
            lblError->setText(avisos.join(QStringLiteral("; ")));
        } catch (const ESecuencia& e) {
            lblError->setStyleSheet(QStringLiteral("color: #c00000"));
            lblError->setText(QString::fromStdString(e.what()));
        }
    }
    ActualizarVeredicto();
}

void TPanelDiagrama::ActualizarVeredicto() {
    lblObservada->clear();
    lblVeredicto->clear();
    if (!Red || !Red->Registro)
        return;
    const TSecuencia obs = SecuenciaObservada(*Red->Registro);
    lblObservada->setText(QStringLiteral("Observada: ") +
                          (obs.Fases.empty() ? QStringLiteral("(sin movimientos)")
                                             : QString::fromStdString(obs.Texto())));
    if (!VEsperada)
        return;
    const TComparacion c = Comparar(obs, *VEsperada);
    if (c.Coincide) {
        lblVeredicto->setStyleSheet(QStringLiteral("color: #007000; font-weight: bold"));
        lblVeredicto->setText(c.Ciclos > 1 ? QStringLiteral("Coincide (%1 ciclos)").arg(c.Ciclos)
                                           : QStringLiteral("Coincide"));
    } else if (c.Concluyente) {
        lblVeredicto->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
        lblVeredicto->setText(QString::fromStdString(c.Diferencia));
    }
}

void TPanelDiagrama::MostrarPaso(int Paso) {
    if (!VDiagrama || (PuedeMostrar && !PuedeMostrar()))
        return;
    const auto instantes = Red->Registro->InstantesDePaso();
    if (Paso < 0 || Paso >= static_cast<int>(instantes.size()))
        return;
    const bool ultimo = Paso == static_cast<int>(instantes.size()) - 1;
    // The latest step is what the network holds: nothing is shown in its place.
    Red->Registro->Mostrar(ultimo ? Red->Registro->NumInstantes() - 1
                                  : instantes[static_cast<std::size_t>(Paso)]);
    Mostrado = ultimo ? -1 : Paso;
    Actualizar();
    if (OnMostrar)
        OnMostrar();
}

void TPanelDiagrama::VolverAlUltimo() {
    if (Mostrado < 0 || !Red || !Red->Registro)
        return;
    Red->Registro->Mostrar(Red->Registro->NumInstantes() - 1);
    Mostrado = -1;
    Actualizar();
}

void TPanelDiagrama::Exportar(const QString& Ruta) {
    if (!VDiagrama)
        return;
    // The whole run, no column highlighted.
    TDiagrama d(*Red->Registro);
    d.Resaltado = 0;
    ArchivoDiagrama::Guardar(d, std::filesystem::path(Ruta.toStdString()));
}

void TPanelDiagrama::btnExportarClick() {
    QString ruta;
    if (PedirArchivo) {
        ruta = PedirArchivo();
    } else {
        QString filtro;
        ruta = QFileDialog::getSaveFileName(
            this, QStringLiteral("Exportar el diagrama espacio-fase"),
            QStringLiteral("diagrama.png"),
            QStringLiteral("Imagen PNG (*.png);;Dibujo SVG (*.svg);;Tabla CSV (*.csv)"), &filtro);
        // A name typed without extension takes the chosen filter's.
        if (!ruta.isEmpty() && QFileInfo(ruta).suffix().isEmpty())
            ruta += filtro.contains(QStringLiteral("svg"))   ? QStringLiteral(".svg")
                    : filtro.contains(QStringLiteral("csv")) ? QStringLiteral(".csv")
                                                             : QStringLiteral(".png");
    }
    if (!ruta.isEmpty())
        Exportar(ruta);
}

} // namespace ventix
