#include "editor/FormGuardarImagen.h"

#include "circuit/AerPaintBox.h"
#include "editor/Aplicacion.h"
#include "files/Exportar.h"
#include "foundation/Numeros.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cmath>

namespace ventix {

namespace {

// "W x H" rounded half to even, or "??? x ???" unless both are positive.
QString Tamano(double w, double h) {
    const double a = std::nearbyint(w), b = std::nearbyint(h);
    if (!(a > 0 && b > 0))
        return QStringLiteral("??? x ???");
    return QStringLiteral("%1 x %2").arg(static_cast<long long>(a)).arg(static_cast<long long>(b));
}

const QString FiltrosImagen =
    QStringLiteral("Archivos Bitmap (*.bmp);;Archivos Jpeg (*.jpg);;Archivos PNG (*.png);;"
                   "Archivos SVG (*.svg);;Archivos PDF (*.pdf)");

// The extension a filter such as "Archivos PNG (*.png)" stands for.
QString SufijoDe(const QString& Filtro) {
    const int i = Filtro.lastIndexOf(QStringLiteral("*."));
    return i < 0 ? QString() : Filtro.mid(i + 2).chopped(1);
}

} // namespace

TfrmSaveImage::TfrmSaveImage(QWidget* Parent) : QDialog(Parent) {
    setWindowTitle(QStringLiteral("Guardar un archivo de Ventix como imagen"));
    setFixedSize(368, 292);

    rgDestino = new QGroupBox(QStringLiteral(" Destino de la imagen "), this);
    rgDestino->setGeometry(5, 0, 140, 60);
    rbArchivo = new QRadioButton(QStringLiteral("&Archivo en disco"), rgDestino);
    rbArchivo->setGeometry(8, 16, 128, 20);
    rbPortapapeles = new QRadioButton(QStringLiteral("&Portapapeles"), rgDestino);
    rbPortapapeles->setGeometry(8, 36, 128, 20);
    rbPortapapeles->setChecked(true);

    rgFormato = new QGroupBox(QStringLiteral(" Formato de la imagen "), this);
    rgFormato->setGeometry(5, 65, 140, 60);
    rbBitmap = new QRadioButton(QStringLiteral("&Bitmap (bmp)"), rgFormato);
    rbBitmap->setGeometry(8, 16, 128, 20);
    rbJpeg = new QRadioButton(QStringLiteral("&JPEG (jpg)"), rgFormato);
    rbJpeg->setGeometry(8, 36, 128, 20);
    rbJpeg->setChecked(true);

    rgEscala = new QGroupBox(QStringLiteral(" Factor de Escala "), this);
    rgEscala->setGeometry(5, 130, 140, 55);
    edEscala = new QLineEdit(QStringLiteral("1.0"), rgEscala);
    edEscala->setGeometry(10, 20, 40, 21);
    edEscala->setToolTip(QStringLiteral("Introduzca un número positivo con o sin decimales"));
    auto* l = new QLabel(QStringLiteral("Tamaño final:"), rgEscala);
    l->move(60, 17);
    lblTamFinal = new QLabel(rgEscala);
    lblTamFinal->setGeometry(60, 32, 78, 16);

    rgArea = new QGroupBox(QStringLiteral(" Área de la imagen "), this);
    rgArea->setGeometry(5, 190, 140, 60);
    rgArea->setToolTip(QStringLiteral("Mientras no elija, los archivos SVG y PDF llevan todo el "
                                      "circuito y los demás, la vista actual"));
    rbTodo = new QRadioButton(QStringLiteral("&Todo el circuito"), rgArea);
    rbTodo->setGeometry(8, 16, 128, 20);
    rbVista = new QRadioButton(QStringLiteral("&Vista actual"), rgArea);
    rbVista->setGeometry(8, 36, 128, 20);
    rbVista->setChecked(true);

    btnOk = new QPushButton(QStringLiteral("&OK"), this);
    btnOk->setGeometry(5, 260, 65, 25);
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setGeometry(75, 260, 70, 25);

    lblTamInicial = new QLabel(this);
    lblTamInicial->setGeometry(155, 2, 210, 16);
    imMiniatura = new QLabel(this);
    imMiniatura->move(155, 20);

    connect(edEscala, &QLineEdit::textChanged, this, [this] { edEscalaChange(); });
    connect(rbArchivo, &QRadioButton::toggled, this, [this] { rgDestinoClick(); });
    connect(rbBitmap, &QRadioButton::toggled, this, [this] { rgFormatoClick(); });
    // Only the user's own click makes the area a choice that stays.
    connect(rbTodo, &QRadioButton::clicked, this, [this] { rgAreaClick(); });
    connect(rbVista, &QRadioButton::clicked, this, [this] { rgAreaClick(); });
    connect(btnOk, &QPushButton::clicked, this, [this] {
        if (Escala <= 0)
            return;
        Proteger([this] { btnOkClick(); });
        accept();
    });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    rgDestinoClick();
    rgFormatoClick();
}

void TfrmSaveImage::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

void TfrmSaveImage::FormShow() {
    const int w = Lienzo ? Lienzo->GetCliente().width() : 0;
    const int h = Lienzo ? Lienzo->GetCliente().height() : 0;
    if (w > 0 && h > 0) {
        const QImage Miniatura = Dibujar(std::min(200.0 / w, 200.0 / h));
        imMiniatura->setPixmap(QPixmap::fromImage(Miniatura));
        imMiniatura->resize(Miniatura.size());
    } else {
        imMiniatura->clear();
        imMiniatura->resize(0, 0);
    }
    ActualizarTamFinal();
    lblTamInicial->setText(QStringLiteral("Tamaño original: ") + Tamano(w, h));
}

void TfrmSaveImage::ActualizarTamFinal() {
    const int w = Lienzo ? Lienzo->GetCliente().width() : 0;
    const int h = Lienzo ? Lienzo->GetCliente().height() : 0;
    lblTamFinal->setText(Tamano(w * Escala, h * Escala));
}

void TfrmSaveImage::edEscalaChange() {
    // A point is the only decimal separator here.
    const std::string Texto = edEscala->text().toStdString();
    double v = 0;
    if (Texto.find(',') == std::string::npos) {
        try {
            v = TextoANumero(Texto);
        } catch (const EConversionError&) {
            v = 0;
        }
    }
    Escala = v > 0 && std::isfinite(v) ? v : 0;
    QPalette p = edEscala->palette();
    p.setColor(QPalette::Text, Escala > 0 ? Qt::black : Qt::red);
    edEscala->setPalette(p);
    // An invalid scale would give an empty picture: OK waits for a valid one.
    btnOk->setEnabled(Escala > 0);
    ActualizarTamFinal();
}

void TfrmSaveImage::rgDestinoClick() {
    ADisco = rbArchivo->isChecked();
    rgFormato->setEnabled(!ADisco);
}

void TfrmSaveImage::rgFormatoClick() {
    EsBitmap = rbBitmap->isChecked();
}

bool TfrmSaveImage::GetTodo() const {
    return rbTodo->isChecked();
}

void TfrmSaveImage::rgAreaClick() {
    AreaElegida = true;
    if (isVisible())
        FormShow();
}

void TfrmSaveImage::AreaPorOmision(bool Vectorial) {
    if (!AreaElegida)
        (Vectorial ? rbTodo : rbVista)->setChecked(true);
}

QImage TfrmSaveImage::Dibujar(double Factor) {
    QImage Imagen;
    if (!Lienzo)
        return Imagen;
    if (GetTodo()) {
        const QSize t(static_cast<int>(std::nearbyint(Lienzo->GetCliente().width() * Factor)),
                      static_cast<int>(std::nearbyint(Lienzo->GetCliente().height() * Factor)));
        if (t.width() >= 1 && t.height() >= 1 && t.width() <= 1 << 15 && t.height() <= 1 << 15) {
            Imagen = QImage(t, QImage::Format_RGB32);
            if (!Imagen.isNull())
                Lienzo->DibujarEn(Imagen, t, Lienzo->ExtensionCircuito(), kMargenDibujo);
        }
    } else {
        Lienzo->RenderizarEn(Imagen, Factor);
    }
    return Imagen;
}

void TfrmSaveImage::btnOkClick() {
    if (!Lienzo || Escala <= 0)
        return;
    if (ADisco) {
        QFileDialog d(this, QStringLiteral("Guardar un archivo de Ventix como imagen"), {},
                      FiltrosImagen);
        d.setAcceptMode(QFileDialog::AcceptSave);
        // A name typed without extension takes the chosen filter's, and the
        // dialog asks before replacing a file (No by default).
        if (Filtro.isEmpty())
            Filtro = QStringLiteral("Archivos Jpeg (*.jpg)");
        d.selectNameFilter(Filtro);
        d.setDefaultSuffix(SufijoDe(Filtro));
        connect(&d, &QFileDialog::filterSelected, &d,
                [&d](const QString& f) { d.setDefaultSuffix(SufijoDe(f)); });
        QString Nombre;
        if (EjecutarDialogo)
            Nombre = EjecutarDialogo(d);
        else if (d.exec() == QDialog::Accepted)
            Nombre = d.selectedFiles().value(0);
        Filtro = d.selectedNameFilter();
        if (Nombre.isEmpty())
            return;
        if (QFileInfo(Nombre).suffix().isEmpty() && !SufijoDe(Filtro).isEmpty())
            Nombre += QLatin1Char('.') + SufijoDe(Filtro);
        // The format follows the final name: .bmp, .jpg or .jpeg, .png, .svg,
        // .pdf; others are refused with a message.
        const auto Ruta = std::filesystem::u8path(Nombre.toStdString());
        AreaPorOmision(EsVectorial(Ruta));
        const QSize Tamano(
            static_cast<int>(std::nearbyint(Lienzo->GetCliente().width() * Escala)),
            static_cast<int>(std::nearbyint(Lienzo->GetCliente().height() * Escala)));
        const QString Pie =
            NombreCircuito.isEmpty() ? QFileInfo(Nombre).fileName() : NombreCircuito;
        if (GetTodo())
            GuardarDibujo(*Lienzo, Ruta, Tamano, Lienzo->ExtensionCircuito(), kMargenDibujo, Pie);
        else
            GuardarDibujo(*Lienzo, Ruta, Tamano, Lienzo->AreaVisible(), 0, Pie);
        return;
    }
    AreaPorOmision(false);
    // A JPEG on the clipboard would be handed over as its bitmap anyway.
    QGuiApplication::clipboard()->setImage(Dibujar(Escala));
}

} // namespace ventix
