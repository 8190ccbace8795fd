#include "Ventana.h"

#include "editor/FormGuardarImagen.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGroupBox>
#include <QImageReader>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

using namespace ventix;

namespace {

// The dialog on a canvas of its own, with the file dialog answered here.
class GuardarImagen : public ConMensajes {
protected:
    void SetUp() override {
        Lienzo.SetCliente(600, 400);
        Lienzo.Activar();
        D.Lienzo = &Lienzo;
        D.EjecutarDialogo = [this](QFileDialog& d) {
            Titulo = d.windowTitle();
            Filtro = d.selectedNameFilter();
            return Eleccion;
        };
    }
    void Escala(const char* t) { D.edEscala->setText(QString::fromUtf8(t)); }
    bool Rojo() const { return D.edEscala->palette().color(QPalette::Text) == QColor(Qt::red); }
    // OK as the user presses it, the dialog open.
    void Ok() {
        D.show();
        D.btnOk->click();
    }

    TAerPaintBox Lienzo;
    TfrmSaveImage D;
    QTemporaryDir Dir;
    QString Eleccion, Titulo, Filtro;
};

TEST_F(GuardarImagen, StartsWithItsTextsAndSizes) {
    D.show();
    EXPECT_EQ(D.windowTitle(), "Guardar un archivo de Ventix como imagen");
    EXPECT_TRUE(D.rbPortapapeles->isChecked() && D.rbJpeg->isChecked() && D.rbVista->isChecked());
    EXPECT_EQ(D.edEscala->text() + "|" + D.lblTamInicial->text() + "|" + D.lblTamFinal->text(),
              "1.0|Tamaño original: 600 x 400|600 x 400");
    EXPECT_EQ(D.imMiniatura->size(), QSize(200, 133));

    for (auto [t, Tamano] : {std::pair("2", "1200 x 800"), {"0.5", "300 x 200"}}) {
        Escala(t);
        EXPECT_EQ(D.lblTamFinal->text(), Tamano);
        EXPECT_FALSE(Rojo()) << t;
    }
    for (const char* t : {"1,5", "0", "-1", "", "abc"}) {
        Escala(t);
        EXPECT_TRUE(Rojo()) << t;
        EXPECT_EQ(D.lblTamFinal->text(), "??? x ???") << t;
        EXPECT_FALSE(D.btnOk->isEnabled()) << t;
    }
    Escala("1.5");
    EXPECT_TRUE(!Rojo() && D.btnOk->isEnabled());
    EXPECT_EQ(D.lblTamFinal->text(), "900 x 600");

    // An upright canvas gives an upright thumbnail.
    D.hide();
    Lienzo.SetCliente(300, 600);
    D.show();
    EXPECT_EQ(D.imMiniatura->size(), QSize(100, 200));
}

// The format follows the final name; the area, until the user chooses one,
// follows the format: vector files get the whole circuit.
TEST_F(GuardarImagen, FilesFollowTheirExtension) {
    D.rbArchivo->setChecked(true);
    Escala("0.5");
    const std::pair<const char*, const char*> Casos[] = {
        {"dibujo.JPG", "jpeg"}, {"dibujo.bmp", "bmp"}, {"dibujo.png", "png"}};
    for (const auto& [Nombre, Formato] : Casos) {
        Eleccion = Dir.filePath(Nombre);
        Ok();
        QImageReader r(Eleccion);
        EXPECT_EQ(r.format(), QByteArray(Formato)) << Nombre;
        EXPECT_EQ(r.read().size(), QSize(300, 200)) << Nombre;
        EXPECT_TRUE(D.rbVista->isChecked()) << Nombre;
    }
    EXPECT_EQ(Titulo + Filtro, "Guardar un archivo de Ventix como imagenArchivos Jpeg (*.jpg)");
    EXPECT_TRUE(Mensajes.isEmpty());
    for (const auto& [Nombre, Inicio] :
         {std::pair{"dibujo.svg", "<?xml"}, {"dibujo.PDF", "%PDF-"}}) {
        Eleccion = Dir.filePath(Nombre);
        Ok();
        QFile f(Eleccion);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << Nombre;
        EXPECT_TRUE(f.readAll().startsWith(Inicio)) << Nombre;
        EXPECT_TRUE(D.rbTodo->isChecked()) << Nombre;
    }
    // Once chosen, the area stays whatever the format.
    D.show();
    D.rbVista->click();
    Eleccion = Dir.filePath("vista.svg");
    Ok();
    EXPECT_TRUE(D.rbVista->isChecked());
    QDir(Dir.path()).removeRecursively();
    QDir().mkpath(Dir.path());

    Eleccion = Dir.filePath("dibujo.gif");
    Ok();
    EXPECT_FALSE(QFile::exists(Eleccion));
    ASSERT_EQ(Mensajes.size(), 1);
    EXPECT_TRUE(Mensajes[0].contains(".bmp") && !D.isVisible()) << Mensajes[0].toStdString();

    // Cancelling the file dialog writes nothing.
    Eleccion.clear();
    Ok();
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files).size(), 0);
}

// A name without extension takes the chosen filter's, in the dialog as the
// user changes the filter and after it; the next opening offers that filter.
TEST_F(GuardarImagen, TheSuffixFollowsTheChosenFilter) {
    D.rbArchivo->setChecked(true);
    QString Sufijo;
    D.EjecutarDialogo = [&](QFileDialog& d) {
        EXPECT_EQ(d.defaultSuffix(), "jpg");
        d.selectNameFilter("Archivos SVG (*.svg)");
        emit d.filterSelected("Archivos SVG (*.svg)");
        d.selectNameFilter("Archivos PNG (*.png)");
        emit d.filterSelected("Archivos PNG (*.png)");
        Sufijo = d.defaultSuffix();
        return Dir.filePath("sin_extension");
    };
    Ok();
    EXPECT_EQ(Sufijo, "png");
    EXPECT_EQ(QImageReader(Dir.filePath("sin_extension.png")).format(), "png");
    EXPECT_FALSE(QFile::exists(Dir.filePath("sin_extension.jpg")));
    D.EjecutarDialogo = [&](QFileDialog& d) {
        Filtro = d.selectedNameFilter();
        Sufijo = d.defaultSuffix();
        return QString();
    };
    Ok();
    EXPECT_EQ(Filtro + " " + Sufijo, "Archivos PNG (*.png) png");
}

// The file dialog asks, in Spanish and with No as the default, before a
// picture replaces a file; No keeps the file and writes nothing.
TEST_F(GuardarImagen, ReplacingAFileIsAskedFirst) {
    D.rbArchivo->setChecked(true);
    const QString Otro = Dir.filePath("circuito.png");
    {
        QFile f(Otro);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("no es una imagen");
    }
    QString Pregunta;
    for (const bool Si : {false, true}) {
        D.EjecutarDialogo = [&](QFileDialog& d) {
            d.setOption(QFileDialog::DontUseNativeDialog);
            d.selectFile(Otro);
            QTimer::singleShot(0, [&] {
                auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                ASSERT_NE(m, nullptr);
                Pregunta = m->text();
                EXPECT_EQ(m->defaultButton(), m->button(QMessageBox::No));
                m->button(Si ? QMessageBox::Yes : QMessageBox::No)->click();
            });
            static_cast<QDialog&>(d).accept(); // the dialog's own OK
            return d.result() == QDialog::Accepted ? d.selectedFiles().value(0) : QString();
        };
        Ok();
        QFile f(Otro);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll().startsWith("no es"), !Si) << Si;
    }
    EXPECT_TRUE(Pregunta.contains("ya existe")) << Pregunta.toStdString();
}

// The format group is only for the clipboard, which gets the scaled picture.
TEST_F(GuardarImagen, TheClipboardGetsTheScaledPictureInItsFormat) {
    D.rbArchivo->setChecked(true);
    EXPECT_TRUE(D.GetADisco() && !D.rgFormato->isEnabled());
    D.rbPortapapeles->setChecked(true);
    EXPECT_TRUE(D.rgFormato->isEnabled());
    D.rbBitmap->setChecked(true);
    EXPECT_TRUE(D.GetEsBitmap());
    Escala("2");
    QGuiApplication::clipboard()->clear();
    Ok();
    EXPECT_EQ(QGuiApplication::clipboard()->image().size(), QSize(1200, 800));
}

// The main window keeps one dialog: the scale and the choices come back.
TEST_F(Ventana, TheImageDialogKeepsItsChoices) {
    auto Abrir = [this](const std::function<void(TfrmSaveImage&)>& Hacer) {
        QTimer::singleShot(0, F.get(), [this, Hacer] {
            Hacer(*F->frmSaveImage);
            F->frmSaveImage->reject();
        });
        F->btnImagenClick();
    };
    Abrir([](TfrmSaveImage& d) {
        d.edEscala->setText("3");
        d.rbArchivo->setChecked(true);
    });
    L().SetZoom(2.5);
    Abrir([this](TfrmSaveImage& d) {
        EXPECT_EQ(std::tuple(d.edEscala->text(), d.GetEscala(), d.GetADisco()),
                  std::tuple(QStringLiteral("3"), 3.0, true));
        EXPECT_EQ(d.lblTamFinal->text(),
                  QStringLiteral("%1 x %2").arg(3 * F->PB->width()).arg(3 * F->PB->height()));
    });
    // The canvas's own view is left as it was.
    EXPECT_DOUBLE_EQ(L().Zoom, 2.5);
}

} // namespace
