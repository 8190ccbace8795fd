#include "Ventana.h"

#include "files/ArchivoAer.h"
#include "foundation/Archivo.h"

#include <QFileDialog>
#include <QTemporaryDir>

#include <fstream>

using namespace ventix;
using T = TTipoComponente;

namespace {

// The window with its questions and file dialogs answered by the test.
class Archivo : public Ventana {
protected:
    void SetUp() override {
        Ventana::SetUp();
        ASSERT_TRUE(Dir.isValid());
        F->Preguntar = [this](const QString& t) {
            Preguntas << t;
            return Respuesta;
        };
        F->EjecutarDialogo = [this](QFileDialog& d) {
            Titulos << d.windowTitle();
            Filtros << d.nameFilters().join(QStringLiteral(";;"));
            Propuestos << d.selectedFiles().value(0);
            Confirma << !d.testOption(QFileDialog::DontConfirmOverwrite);
            return Eleccion;
        };
    }
    void Circuito() {
        auto* p = Nuevo(T::Presion, 100);
        auto* v = Valvula(TActuador::Seta);
        std::tie(v->X, v->Y) = std::pair(400.0, 300.0);
        v->SetNombre("V1");
        L().ActualizarGeometria();
        Unir(p->Conexion(0), v->Conexion(0));
    }
    std::string Lineas() { return ArchivoAer::Bytes(ArchivoAer::Escribir(L())); }
    QString En(const char* Nombre) const { return Dir.filePath(QString::fromUtf8(Nombre)); }

    QTemporaryDir Dir;
    bool Respuesta = true;
    QString Eleccion;
    QStringList Preguntas, Titulos, Filtros, Propuestos;
    QList<bool> Confirma;
};

// No to New, Open or closing changes nothing; Yes to Open, then Cancel in the
// file dialog, neither.
TEST_F(Archivo, NoOrCancelChangesNothing) {
    Circuito();
    const std::string Antes = Lineas();
    Respuesta = false;
    F->btnNewClick();
    F->btnOpenClick();
    bool CanClose = true;
    F->FormCloseQuery(CanClose);
    EXPECT_TRUE(!CanClose && Titulos.isEmpty());
    EXPECT_EQ(Lineas(), Antes);
    ASSERT_EQ(Preguntas.size(), 3);
    EXPECT_EQ(Preguntas[0],
              QStringLiteral("Los cambios que no haya guardado se perderán.\r\n¿Desea "
                             "descartar el circuito y crear uno nuevo de todas maneras?"));
    EXPECT_TRUE(Preguntas[1].contains("descartar el circuito y abrir uno nuevo"));
    EXPECT_TRUE(Preguntas[2].contains("salir del programa"));
    // Closing the window itself asks the same, and stays open on No.
    F->close();
    EXPECT_TRUE(F->isVisible());

    Respuesta = true;
    F->btnOpenClick();
    ASSERT_EQ(Titulos.size(), 1);
    EXPECT_EQ(Titulos[0] + "|" + Filtros[0],
              "Abrir un nuevo archivo de Ventix|Archivos Ventix (*.aer);;Todos (*.*)");
    EXPECT_EQ(Lineas(), Antes);
    F->close();
    EXPECT_FALSE(F->isVisible());
}

// A save asks before replacing a file, adds the extension, marks the circuit
// clean and is proposed by the next save; New still asks, even right after a
// save, keeps the view and clears the history; Open fits the view and the
// dialogs go on from its folder.
TEST_F(Archivo, SaveNewAndOpen) {
    Circuito();
    ASSERT_TRUE(Elegir(L().Componentes.ItemComo<TAerComponente>(1)));
    F->edNombre->setText("V2");
    F->btnNameOk->click();
    EXPECT_TRUE(F->Modificado());
    const std::string Guardado = Lineas();
    Eleccion = En("práctica 1");
    QTest::keyClick(F.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(LeerArchivo(std::filesystem::u8path(En("práctica 1.aer").toStdString())), Guardado);
    EXPECT_NE(Guardado.find("\r\n"), std::string::npos); // ISO-8859-1, CR LF
    EXPECT_EQ(Titulos[0], "Guardar un archivo de Ventix");
    EXPECT_TRUE(Confirma[0] && !F->Modificado());
    F->Deshacer();
    EXPECT_TRUE(F->Modificado());
    F->Rehacer();
    EXPECT_EQ(F->windowTitle(), "Ventix");
    EXPECT_EQ(F->Carpeta, Dir.path());
    Eleccion.clear();
    F->btnSaveClick();
    EXPECT_EQ(Propuestos.back(), En("práctica 1.aer"));

    L().SetZoom(0.05);
    F->btnNewClick();
    EXPECT_EQ(Preguntas.size(), 1); // even right after a save
    EXPECT_EQ(std::tuple(L().Componentes.Count(), F->Historia.canUndo(), L().Zoom, L().Modo),
              std::tuple(0, false, 0.05, mdEdicion));
    EXPECT_TRUE(L().DibujoActivo && F->btnSeta->Down());

    F->Carpeta.clear();
    Eleccion = En("práctica 1.aer");
    F->btnOpenClick();
    EXPECT_EQ(Lineas(), Guardado);
    EXPECT_EQ(std::tuple(F->Carpeta, L().Zoom != 0.05), std::tuple(Dir.path(), true));
    // The whole circuit lies inside the canvas.
    const auto& x = L().Extension;
    EXPECT_GT(x.Width, 0);
    const QRectF Vista(0, 0, F->PB->width(), F->PB->height());
    EXPECT_TRUE(Vista.contains(L().MundoAPantalla({x.X, x.Y})) &&
                Vista.contains(L().MundoAPantalla({x.X + x.Width, x.Y + x.Height})));
    EXPECT_EQ(std::tuple(L().Modo, L().Seleccionado), std::tuple(mdEdicion, nullptr));
}

// A circuit handed out and opened is not what Save proposes to overwrite.
TEST_F(Archivo, SaveDoesNotProposeTheOpenedFile) {
    Circuito();
    EscribirArchivo(std::filesystem::u8path(En("plantilla.aer").toStdString()), Lineas());
    Eleccion = En("plantilla.aer");
    F->btnOpenClick();
    ASSERT_EQ(L().Componentes.Count(), 2);
    Eleccion.clear();
    F->btnSaveClick();
    EXPECT_FALSE(Propuestos.back().endsWith("plantilla.aer")) << Propuestos.back().toStdString();
}

// A failed save leaves the circuit and the saved file as they were, with no
// temporary behind; a failed Open brings the previous circuit back.
TEST_F(Archivo, FailuresKeepTheCircuitAndTheFile) {
    Circuito();
    Eleccion = En("roto.aer");
    F->btnSaveClick();
    const auto Ruta = std::filesystem::u8path(Eleccion.toStdString());
    std::string b = LeerArchivo(Ruta);
    std::string Antes = Lineas();
    Eleccion = En("falta/b.aer");
    EXPECT_THROW(F->btnSaveClick(), std::exception);
    EXPECT_EQ(Lineas(), Antes);
    EXPECT_EQ(LeerArchivo(Ruta), b);
    EXPECT_EQ(QDir(Dir.path()).entryList(QDir::Files), QStringList{"roto.aer"});

    // A number spoilt near the end: the first elements would read well.
    const auto i = b.rfind("X=\"");
    ASSERT_NE(i, std::string::npos);
    b.insert(i + 3, "z");
    std::ofstream(Ruta, std::ios::binary) << b;
    TAerComponente::Crear(L(), T::Escape)->X = -200;
    Antes = Lineas();
    Eleccion = En("roto.aer");
    try {
        F->btnOpenClick();
        ADD_FAILURE() << "no error";
    } catch (const std::exception& e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).startsWith("roto.aer, línea ")) << e.what();
    }
    EXPECT_EQ(Lineas(), Antes);
    EXPECT_TRUE(L().DibujoActivo && L().Modo == mdEdicion && F->btnNew->isEnabled());
    Eleccion = En("no-existe.aer");
    EXPECT_THROW(F->btnOpenClick(), std::exception);
    EXPECT_EQ(Lineas(), Antes);
}

} // namespace
