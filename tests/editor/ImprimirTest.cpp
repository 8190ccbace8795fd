// Printing and pictures of the whole circuit from the window, on an example
// circuit with the shipped catalogue.

#include "Ventana.h"

#include "editor/FormGuardarImagen.h"
#include "foundation/Archivo.h"

#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdlib>

using namespace ventix;

namespace {

const std::filesystem::path kEjemplo =
    std::filesystem::u8path(VENTIX_RAIZ "/examples/09_secuencia_dos_cilindros.aer");

class Imprimir : public Ventana {
protected:
    void SetUp() override {
        Abrir(VENTIX_RAIZ "/data/Librerías/LIBRERÍA.txt", QSize(900, 600));
        F->AbrirArchivo(kEjemplo);
    }
    std::string Texto(const QString& Pdf) {
        const std::string txt = (Dir.filePath("texto.txt")).toStdString();
        const std::string orden = "pdftotext -enc UTF-8 '" + Pdf.toStdString() + "' '" + txt + "'";
        EXPECT_EQ(std::system(orden.c_str()), 0);
        return LeerArchivo(txt);
    }
    QTemporaryDir Dir;
};

} // namespace

TEST_F(Imprimir, CtrlPPrintsTheWholeCircuitWithItsFooterExceptWhileRunning) {
    int Veces = 0;
    QString Titulo;
    QPageLayout::Orientation Orientacion = QPageLayout::Portrait;
    F->EjecutarImpresion = [&](QPrintPreviewDialog& d) {
        ++Veces;
        Titulo = d.windowTitle();
        Orientacion = d.printer()->pageLayout().orientation();
        // The page the preview shows, printed to a file instead.
        d.printer()->setOutputFormat(QPrinter::PdfFormat);
        d.printer()->setOutputFileName(Dir.filePath("pagina.pdf"));
        F->ImprimirEn(*d.printer());
    };
    // Zoomed far into one corner: the page still gets everything.
    L().SetZoom(40);
    L().Centrar(-500, -500);
    QTest::keyClick(F.get(), Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(Veces, 1);
    EXPECT_EQ(std::tuple(Titulo, Orientacion),
              std::tuple(QStringLiteral("Imprimir el circuito"), QPageLayout::Landscape));
    const std::string t = Texto(Dir.filePath("pagina.pdf"));
    for (const char* n : {"Cilindro A", "Cilindro B", "Marcha", "09_secuencia_dos_cilindros.aer"})
        EXPECT_NE(t.find(n), std::string::npos) << n;
    EXPECT_TRUE(Mensajes.isEmpty());

    // Running, neither the button nor the shortcut prints.
    F->btnCheckClick();
    F->btnPlayClick();
    QTest::keyClick(F.get(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(std::tuple(F->btnImprimir->isEnabled(), Veces), std::tuple(false, 1));
    F->btnPauseClick();
    EXPECT_TRUE(F->btnImprimir->isEnabled());
    F->btnImprimir->click();
    EXPECT_EQ(Veces, 2);
}

// With the view far from the circuit, "Vista actual" is a blank picture and
// "Todo el circuito" shows the circuit; the PDF's footer names the circuit.
TEST_F(Imprimir, ThePictureDialogDrawsTheWholeCircuitOrTheView) {
    L().Centrar(5000, 5000);
    TfrmSaveImage& D = F->SaveImage();
    D.rbArchivo->setChecked(true);
    QString Eleccion;
    D.EjecutarDialogo = [&](QFileDialog&) { return Eleccion; };
    auto Guardar = [&](QRadioButton* Area, const char* Nombre) {
        QTimer::singleShot(0, &D, [&] {
            Area->click();
            Eleccion = Dir.filePath(Nombre);
            D.btnOk->click();
        });
        F->btnImagenClick();
        return QImage(Eleccion);
    };
    auto Blanca = [](const QImage& i) {
        for (int y = 0; y < i.height(); ++y)
            for (int x = 0; x < i.width(); ++x)
                if (i.pixel(x, y) != qRgb(255, 255, 255))
                    return false;
        return true;
    };
    const QImage Vista = Guardar(D.rbVista, "vista.png");
    const QImage Todo = Guardar(D.rbTodo, "todo.png");
    ASSERT_FALSE(Vista.isNull());
    EXPECT_EQ(Todo.size(), Vista.size());
    EXPECT_TRUE(Blanca(Vista) && !Blanca(Todo));
    Guardar(D.rbTodo, "todo.pdf");
    EXPECT_NE(Texto(Dir.filePath("todo.pdf")).find("09_secuencia_dos_cilindros.aer"),
              std::string::npos);
    EXPECT_TRUE(Mensajes.isEmpty());
}
