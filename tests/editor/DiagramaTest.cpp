// The displacement-step diagram panel: shown from its button and while
// running, the expected sequence parsed as typed and judged, a past step
// shown on the canvas while paused, and the export.

#include "Ventana.h"

#include "editor/PanelDiagrama.h"
#include "editor/PanelSimulacion.h"
#include "foundation/Archivo.h"
#include "sim/Diagrama.h"
#include "sim/SimCircuito.h"

#include <QImage>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

using namespace ventix;

namespace {

class Diagrama : public Ventana {
protected:
    void SetUp() override {
        Abrir(VENTIX_RAIZ "/data/Librerías/LIBRERÍA.txt", QSize(1100, 750));
        F->AbrirArchivo(
            std::filesystem::u8path(VENTIX_RAIZ "/examples/09_secuencia_dos_cilindros.aer"));
    }
    TPanelDiagrama& D() { return *F->pDiagrama; }
    TAerComponente* Componente(const char* Nombre) {
        return static_cast<TAerComponente*>(L().Componentes.Buscar(Nombre));
    }
    // The user clicks the middle of a step's column.
    void ClicPaso(int Paso) {
        const TDiagrama& d = *D().Diagrama();
        QTest::mouseClick(D().Vista, Qt::LeftButton, Qt::NoModifier,
                          QPoint(d.XPaso(Paso) + d.AnchoColumna / 2, d.AltoCabecera + 10));
    }
};

} // namespace

TEST_F(Diagrama, ARunJudgedAgainstTheTypedSequence) {
    EXPECT_TRUE(D().isHidden());
    F->btnDiagrama->click();
    EXPECT_TRUE(!D().isHidden() && F->btnDiagrama->Down());
    F->btnDiagrama->click();
    EXPECT_TRUE(D().isHidden());

    // Parsed as typed: the fault with its position, then the warnings.
    D().edSecuencia->setText("A+ (B+");
    EXPECT_EQ(D().lblError->text(), "Posición 4: falta cerrar el paréntesis");
    EXPECT_FALSE(D().Esperada().has_value());
    D().edSecuencia->setText("A+ B+");
    EXPECT_TRUE(D().lblError->text().startsWith("Ciclo abierto: A"));
    D().edSecuencia->setText("a+ b+ a- b-");
    EXPECT_EQ(D().lblError->text(), "");
    ASSERT_TRUE(D().Esperada().has_value());

    F->btnCheck->click();
    ASSERT_EQ(L().Modo, mdParado);
    F->btnPlay->click();
    EXPECT_FALSE(D().isHidden());            // running shows the panel
    F->PanelSimulacion->Botones[0]->click(); // Marcha
    F->Simulacion->Tic();
    F->PanelSimulacion->Botones[0]->click();
    for (int i = 0; i < 8; ++i)
        F->Simulacion->Tic();
    EXPECT_EQ(D().lblObservada->text() + "|" + D().lblVeredicto->text(), "Observada: A+ B+|")
        << "not enough phases yet";
    EXPECT_EQ(D().Diagrama()->Resaltado, 9);
    for (int i = 0; i < 30; ++i)
        F->Simulacion->Tic();
    EXPECT_EQ(D().lblObservada->text() + "|" + D().lblVeredicto->text() + "|" + D().lblPaso->text(),
              "Observada: A+ B+ A- B-|Coincide|Paso 39");

    // While running a click shows nothing; paused, the circuit as it was.
    auto* A = Componente("A");
    auto* VA = Componente("VA");
    ClicPaso(3);
    EXPECT_EQ(D().PasoMostrado(), -1);
    F->btnPause->click();
    // The view follows the run: step 3 lies under the names, which stay in
    // sight, until the user scrolls back.
    ClicPaso(3);
    EXPECT_EQ(D().PasoMostrado(), -1);
    D().findChild<QScrollArea*>()->horizontalScrollBar()->setValue(0);
    ClicPaso(3);
    EXPECT_EQ(std::tuple(D().PasoMostrado(), D().lblPaso->text(), D().Diagrama()->Resaltado),
              std::tuple(3, QStringLiteral("Paso 3 de 39"), 3));
    EXPECT_NEAR(A->GetParametro(), 0.4, 1e-9);
    EXPECT_EQ(VA->GetParametro(), 1.0);
    EXPECT_EQ(F->Simulacion->NodoDe(A)->GetEstado(), 0.0); // the network is where it was
    // Typing another sequence judges the same run again.
    D().edSecuencia->setText("A+ B+ B- A-");
    EXPECT_EQ(D().lblVeredicto->text(), "Fase 3: se esperaba B-, se observó A-");

    // A step goes on from the latest state, not from the one shown.
    F->btnStep->click();
    EXPECT_EQ(std::tuple(D().PasoMostrado(), A->GetParametro(), VA->GetParametro()),
              std::tuple(-1, 0.0, 0.0));

    // Export in the three forms, through the dialog's answer.
    const auto dir = std::filesystem::temp_directory_path() /
                     ("ventix_diagrama_" + std::to_string(QCoreApplication::applicationPid()));
    std::filesystem::create_directories(dir);
    for (const char* nombre : {"d.png", "d.svg", "d.csv"}) {
        D().PedirArchivo = [&] { return QString::fromStdString((dir / nombre).string()); };
        D().btnExportar->click();
    }
    EXPECT_EQ(QImage(QString::fromStdString((dir / "d.png").string())).size(),
              D().Diagrama()->Tamano());
    EXPECT_NE(LeerArchivo(dir / "d.svg").find("<svg"), std::string::npos);
    EXPECT_EQ(LeerArchivo(dir / "d.csv").substr(0, 14), "paso,A,B,VA,VB");
    D().PedirArchivo = [&] { return QString::fromStdString((dir / "d.bmp").string()); };
    D().btnExportar->click();
    ASSERT_EQ(Mensajes.size(), 1);
    EXPECT_TRUE(Mensajes[0].contains("se admiten .png, .svg y .csv"));
    std::filesystem::remove_all(dir);

    // Stop starts the recording again; editing lets the network go.
    ClicPaso(5);
    F->btnStop->click();
    EXPECT_EQ(std::tuple(A->GetParametro(), D().Diagrama()->NumPasos(), D().lblObservada->text()),
              std::tuple(0.0, 0, QStringLiteral("Observada: (sin movimientos)")));
    F->btnEditCom->click();
    EXPECT_EQ(std::tuple(D().Diagrama(), D().btnExportar->isEnabled()), std::tuple(nullptr, false));
}

// A view paints only the rows in its rectangle, and what it paints there is
// what painting the whole diagram gives.
TEST_F(Diagrama, APartOfTheDiagramPaintsAsTheWhole) {
    F->btnCheck->click();
    F->btnPlay->click();
    F->PanelSimulacion->Botones[0]->click();
    for (int i = 0; i < 12; ++i)
        F->Simulacion->Tic();
    const TDiagrama& d = *D().Diagrama();
    const int filas = static_cast<int>(F->Simulacion->Registro->Filas().size());
    ASSERT_GE(filas, 4);
    // Rows lie one under the other from the header down.
    EXPECT_EQ(d.Fila(0).top(), d.AltoCabecera);
    for (int f = 1; f < filas; ++f)
        EXPECT_EQ(d.Fila(f).top(), d.Fila(f - 1).bottom() + 1) << f;

    auto pintar = [&](const QRect& Vista) {
        QImage imagen(d.Tamano(), QImage::Format_ARGB32);
        imagen.fill(Qt::white);
        QPainter p(&imagen);
        d.Pintar(p, Vista);
        d.PintarEtiquetas(p, 30, Vista);
        return imagen;
    };
    const QImage todo = pintar({});
    // From the middle of the second row to the middle of the fourth.
    const QRect vista(0, d.Fila(1).center().y(), d.Tamano().width(),
                      d.Fila(3).center().y() - d.Fila(1).center().y());
    const QImage parte = pintar(vista);
    EXPECT_EQ(parte.copy(vista), todo.copy(vista));
    EXPECT_NE(parte, todo); // the rest was left out
}
